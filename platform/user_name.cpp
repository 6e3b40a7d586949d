#include "platform/user_name.h"

#include <pwd.h>
#include <unistd.h>

#include <cstring>

namespace platform {

namespace {
std::optional<QString> g_testLogin;
}

QString HostLogin() {
    if (g_testLogin) return *g_testLogin;
    for (const char* var : {"USER", "LOGNAME"}) {
        const QByteArray value = qgetenv(var);
        if (!value.isEmpty()) return QString::fromUtf8(value);
    }
    if (const passwd* pw = getpwuid(getuid())) return QString::fromUtf8(pw->pw_name);
    return QString();
}

void SetLoginForTesting(std::optional<QString> login) { g_testLogin = std::move(login); }

int32_t GetUserNameA(char* buffer, uint32_t* size) {
    const QByteArray name = HostLogin().toUtf8();
    const uint32_t needed = uint32_t(name.size()) + 1;
    if (!buffer || *size < needed) {
        *size = needed;
        return 0;
    }
    std::memcpy(buffer, name.constData(), needed);
    *size = needed;
    return 1;
}

}  // namespace platform
