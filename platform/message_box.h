#pragma once
// Message boxes, the beep and the pending-message pump. Every box the user answers goes through
// the installed Answerer, so tests script the answers.
#include <QString>

namespace platform {

// VB answer codes.
enum MsgBoxAnswer { vbOK = 1, vbCancel = 2, vbAbort = 3, vbRetry = 4, vbIgnore = 5, vbYes = 6, vbNo = 7 };
// The styles the program uses: buttons plus icon.
enum MsgBoxStyle { vbOKOnly = 0, vbCritical = 16, vbYesNoQuestion = 36, vbAbortRetryIgnoreExclamation = 50 };

class Answerer {
public:
    virtual ~Answerer() = default;
    virtual int Answer(const QString& prompt, int style, const QString& title) = 0;
    virtual void Beep() = 0;
};

// An empty title shows "Valdrine Manager".
int MsgBox(const QString& prompt, int style = vbOKOnly, const QString& title = QString());
void Beep();
// Lets the pending window messages run once.
void DoEvents();

// nullptr puts back the real boxes. The caller keeps ownership.
void InstallAnswerer(Answerer* answerer);

QString DefaultTitle();

}  // namespace platform
