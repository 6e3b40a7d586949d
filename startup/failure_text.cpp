#include "startup/failure_text.h"

static QString Line(const platform::VbError& error) {
    return QStringLiteral("%1 (error %2).").arg(error.Description()).arg(error.Number());
}

QString FailureText(const QString& whatFailed, const platform::VbError& error) {
    return whatFailed + QStringLiteral("\r\n") + Line(error);
}

QString UntrappedFailureText(const platform::VbError& error) {
    QString text = Line(error);
    if (!error.Detail().isEmpty()) text += QStringLiteral("\r\n") + error.Detail();
    return text + QStringLiteral("\r\nValdrine Manager must close.");
}
