#include "ui/help_viewer.h"

#include <QFile>
#include <QFileInfo>
#include <QHBoxLayout>
#include <QPointer>
#include <QPushButton>
#include <QTextBrowser>
#include <QVBoxLayout>

#include "platform/drives.h"

namespace {

const QString kContentsAnchor = QStringLiteral("contents");

QPointer<HelpViewer>& OpenViewer() {
    static QPointer<HelpViewer> open;
    return open;
}

QString Notice(const QString& text) {
    return QStringLiteral("<p>%1</p><p>Valdrine Manager goes on working without it.</p>").arg(text.toHtmlEscaped());
}

}  // namespace

void HelpViewer::ShowContents(const QString& winHelpFile) {
    ShowContentsOfHostFile(platform::LookUp(winHelpFile).host, winHelpFile);
}

void HelpViewer::ShowContentsOfHostFile(const QByteArray& host, const QString& winName) {
    QPointer<HelpViewer>& open = OpenViewer();
    const bool fresh = !open;
    if (fresh) open = new HelpViewer;
    open->Load(host, winName);
    if (fresh) {
        open->show();
        return;
    }
    open->showNormal();
    open->raise();
    open->activateWindow();
}

HelpViewer* HelpViewer::Current() {
    return OpenViewer();
}

HelpViewer::HelpViewer() : QWidget(nullptr, Qt::Window) {
    setAttribute(Qt::WA_DeleteOnClose);
    setWindowTitle(QStringLiteral("Valdrine Manager Help"));
    resize(560, 460);

    browser_ = new QTextBrowser(this);
    browser_->setObjectName("HelpText");
    // Links inside the help move within the document; it has none that lead elsewhere.
    browser_->setOpenExternalLinks(false);

    auto* contents = new QPushButton(QStringLiteral("&Contents"), this);
    auto* back = new QPushButton(QStringLiteral("&Back"), this);
    back->setEnabled(false);
    connect(contents, &QPushButton::clicked, browser_, [this] { browser_->setSource(QUrl("#" + kContentsAnchor)); });
    connect(back, &QPushButton::clicked, browser_, &QTextBrowser::backward);
    connect(browser_, &QTextBrowser::backwardAvailable, back, &QPushButton::setEnabled);

    auto* buttons = new QHBoxLayout;
    buttons->addWidget(contents);
    buttons->addWidget(back);
    buttons->addStretch();
    auto* layout = new QVBoxLayout(this);
    layout->addLayout(buttons);
    layout->addWidget(browser_);
}

void HelpViewer::Load(const QByteArray& host, const QString& winName) {
    const QString path = QFile::decodeName(host);
    QFile file(path);
    if (host.isEmpty() || !QFileInfo::exists(path)) {
        browser_->setHtml(Notice(QStringLiteral("Cannot find the help file %1.").arg(winName)));
    } else if (!QFileInfo(path).isFile() || !file.open(QIODevice::ReadOnly)) {
        browser_->setHtml(Notice(QStringLiteral("Cannot read the help file %1.").arg(winName)));
    } else {
        browser_->setHtml(QString::fromUtf8(file.readAll()));
        // Going to the contents through the source makes them the first step of Back's history.
        // When the browser already stood at the contents it does not move again, hence the scroll.
        // Both wait for the window to be on the screen when it is not yet.
        browser_->setSource(QUrl("#" + kContentsAnchor));
        browser_->scrollToAnchor(kContentsAnchor);
    }
    // Back never leads into an earlier load.
    browser_->clearHistory();
}
