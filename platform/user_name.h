#pragma once
// The logged-on user: the host login ($USER, else $LOGNAME, else the password database).
#include <QString>
#include <cstdint>
#include <optional>

namespace platform {

QString HostLogin();
// Tests give the machine another login ("" for a user the system cannot name); nullopt undoes it.
void SetLoginForTesting(std::optional<QString> login);

// Writes the name (ANSI, here UTF-8) and a NUL into buffer and sets *size to the bytes written,
// NUL included; returns nonzero. A buffer too small gets nothing, *size is set to the size
// needed, and the result is 0.
int32_t GetUserNameA(char* buffer, uint32_t* size);

}  // namespace platform
