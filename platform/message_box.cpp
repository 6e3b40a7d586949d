#include "platform/message_box.h"

#include <QApplication>
#include <QMessageBox>

namespace platform {

namespace {

class DialogAnswerer : public Answerer {
public:
    int Answer(const QString& prompt, int style, const QString& title) override {
        QMessageBox box(QApplication::activeWindow());
        box.setWindowTitle(title);
        box.setText(prompt);
        switch (style) {
        case vbCritical:
            box.setIcon(QMessageBox::Critical);
            box.addButton(QMessageBox::Ok);
            break;
        case vbYesNoQuestion:
            box.setIcon(QMessageBox::Question);
            box.addButton(QMessageBox::Yes);
            box.addButton(QMessageBox::No);
            break;
        case vbAbortRetryIgnoreExclamation:
            box.setIcon(QMessageBox::Warning);
            box.addButton(QMessageBox::Abort);
            box.addButton(QMessageBox::Retry);
            box.addButton(QMessageBox::Ignore);
            break;
        default:
            box.addButton(QMessageBox::Ok);
            break;
        }
        switch (box.exec()) {
        case QMessageBox::Yes: return vbYes;
        case QMessageBox::No: return vbNo;
        case QMessageBox::Abort: return vbAbort;
        case QMessageBox::Retry: return vbRetry;
        case QMessageBox::Ignore: return vbIgnore;
        default: return vbOK;
        }
    }
    void Beep() override { QApplication::beep(); }
};

DialogAnswerer g_dialogs;
Answerer* g_answerer = nullptr;

Answerer& Current() { return g_answerer ? *g_answerer : g_dialogs; }

}  // namespace

QString DefaultTitle() { return QStringLiteral("Valdrine Manager"); }

int MsgBox(const QString& prompt, int style, const QString& title) {
    return Current().Answer(prompt, style, title.isEmpty() ? DefaultTitle() : title);
}

void Beep() { Current().Beep(); }

void DoEvents() { QCoreApplication::processEvents(); }

void InstallAnswerer(Answerer* answerer) { g_answerer = answerer; }

}  // namespace platform
