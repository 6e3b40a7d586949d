#include "startup/shell_folder.h"

#include "toolkit/path_helpers.h"

using namespace platform;

namespace {
constexpr int kBufferLength = 255;
const QString kFourSpaces = QStringLiteral("    ");
}  // namespace

bool QueryStringValue(HKEY key, const QString& valueName, QString& value) {
    const QByteArray name = valueName.toUtf8();
    uint32_t type = 0, size = 0;
    if (RegQueryValueExA(key, name.constData(), nullptr, &type, nullptr, &size) != ERROR_SUCCESS || type != REG_SZ)
        return false;
    QByteArray text(int(size), ' ');
    if (RegQueryValueExA(key, name.constData(), nullptr, &type, reinterpret_cast<unsigned char*>(text.data()), &size) !=
        ERROR_SUCCESS)
        return false;
    value = TrimAtNul(QString::fromUtf8(text));
    return true;
}

QString ShellFolder(const QString& name) {
    QString answer;
    HKEY key = 0;
    const QByteArray subKey = QByteArrayLiteral("Software\\Microsoft\\Windows\\CurrentVersion\\Explorer\\Shell Folders") + '\0';
    if (RegOpenKeyA(HKEY_CURRENT_USER, subKey.constData(), &key) != ERROR_SUCCESS) return answer;
    QString text;
    if (QueryStringValue(key, name, text)) {
        // A fixed 255-character buffer filled with spaces, cut at the first four of them. A value
        // of 255 characters or more has no filling to cut at and is taken whole.
        if (text.size() < kBufferLength) text += QString(kBufferLength - text.size(), u' ');
        const int cut = text.indexOf(kFourSpaces);
        answer = cut < 0 ? text : text.left(cut);
    }
    RegCloseKey(key);
    return answer;
}
