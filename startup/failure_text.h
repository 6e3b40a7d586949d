#pragma once
// The user's text for a failure the program cannot go on from, built here and nowhere else.
#include "platform/vb_error.h"

#include <QString>

// "Cannot make the folder C:\WINDOWS\VALDRINE\Tmp." CR LF "Path/File access error (error 75)."
QString FailureText(const QString& whatFailed, const platform::VbError& error);
// For a failure no command trapped: names the failure and what it happened on.
QString UntrappedFailureText(const platform::VbError& error);
