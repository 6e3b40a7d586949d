#include "ui/about_orv.h"

#include <QLabel>
#include <QPainter>
#include <QPointer>

#include "platform/twips.h"
#include "startup/shared_state.h"
#include "ui/logo.h"
#include "ui/maker.h"

namespace {

// Line1: an upright etched rule, dark grey beside white, as Windows 95 parts a dialog.
class EtchedLine : public QWidget {
public:
    explicit EtchedLine(QWidget* parent) : QWidget(parent) {
        setAttribute(Qt::WA_TransparentForMouseEvents);
    }

protected:
    void paintEvent(QPaintEvent*) override {
        QPainter p(this);
        const int half = width() / 2;
        p.fillRect(0, 0, half, height(), QColor(0x80, 0x80, 0x80));
        p.fillRect(half, 0, width() - half, height(), Qt::white);
    }
};

QPointer<AboutORV>& OpenAbout() {
    static QPointer<AboutORV> open;
    return open;
}

}  // namespace

AboutORV* AboutORV::ShowAbout() {
    QPointer<AboutORV>& open = OpenAbout();
    if (!open) {
        open = new AboutORV;
        open->show();
        return open;
    }
    open->showNormal();
    open->raise();
    open->activateWindow();
    return open;
}

AboutORV::AboutORV(QWidget* parent)
    : QWidget(parent, Qt::Window | Qt::WindowTitleHint | Qt::WindowSystemMenuHint | Qt::WindowCloseButtonHint) {
    setAttribute(Qt::WA_DeleteOnClose);
    setWindowTitle(QStringLiteral("ABOUT US"));
    setFixedSize(platform::Px(5400), platform::Px(2910));
    QPalette palette = this->palette();
    palette.setColor(QPalette::Window, QColor(0xc0, 0xc0, 0xc0));
    palette.setColor(QPalette::WindowText, Qt::black);
    setPalette(palette);
    setAutoFillBackground(true);

    // Left: the emblem over the motto; right of the rule: the seven lines of the address.
    auto* picture = new LogoPicture(QSize(130, 52), this);
    picture->setObjectName("Image1");
    picture->setGeometry(platform::TwipRect(180, 420, 1950, 780));

    QFont motto(QStringLiteral("DejaVu Serif"));
    motto.setItalic(true);
    motto.setPixelSize(13);
    mandate_ = new QLabel(this);
    mandate_->setObjectName("mandate0");
    mandate_->setGeometry(platform::TwipRect(120, 1500, 2070, 1020));
    mandate_->setAlignment(Qt::AlignHCenter | Qt::AlignTop);
    mandate_->setFont(motto);
    QPalette navy = mandate_->palette();
    navy.setColor(QPalette::WindowText, QColor(0x00, 0x00, 0x80));
    mandate_->setPalette(navy);

    auto* rule = new EtchedLine(this);
    rule->setObjectName("Line1");
    rule->setGeometry(platform::TwipRect(2250, 180, 30, 2550));

    const char* lines[LineCount] = {maker::kName,      maker::kStreet, maker::kTownAndCountry,
                                    maker::kPostalCode, maker::kTelephone, maker::kFax,
                                    maker::kEMail};
    QFont plain(QStringLiteral("DejaVu Sans"));
    plain.setPixelSize(12);
    QFont bold = plain;
    bold.setBold(true);
    bold.setPixelSize(13);
    for (int i = 0; i < LineCount; ++i) {
        auto* label = new QLabel(QString::fromLatin1(lines[i]), this);
        label->setObjectName(QStringLiteral("Label1_%1").arg(i));
        label->setGeometry(platform::TwipRect(2460, 210 + i * 360, 2820, 330));
        label->setFont(i == 0 ? bold : plain);
        label->setAlignment(Qt::AlignLeft | Qt::AlignVCenter);
        // The address can be copied out, the mail address above all.
        label->setTextInteractionFlags(Qt::TextSelectableByMouse);
    }

    Load();
}

void AboutORV::Load() {
    CentreOnScreen(this);
    CrLf = QStringLiteral("\r\n");
    mandate_->setText(maker::MottoText(CrLf));
}
