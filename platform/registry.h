#pragma once
// The registry: HKEY_LOCAL_MACHINE in <prefix>/system.reg, HKEY_CURRENT_USER in
// <prefix>/users/<login>.reg, both REGEDIT4 text files. Key and value names are matched without
// regard to case and keep the spelling they were created with.
//
// The A functions take and give text in the machine's ANSI code page, which on this personality is
// UTF-8, so no path that the host can spell is lost on the way through them.
#include <QByteArray>
#include <QString>

#include <cstdint>
#include <exception>
#include <optional>

namespace platform {

using HKEY = uint32_t;
inline constexpr HKEY HKEY_CURRENT_USER = 0x80000001u;
inline constexpr HKEY HKEY_LOCAL_MACHINE = 0x80000002u;

inline constexpr int32_t ERROR_SUCCESS = 0;
inline constexpr int32_t ERROR_FILE_NOT_FOUND = 2;
inline constexpr int32_t ERROR_INVALID_HANDLE = 6;
inline constexpr int32_t ERROR_INVALID_PARAMETER = 87;
inline constexpr int32_t ERROR_MORE_DATA = 234;

inline constexpr uint32_t REG_NONE = 0;
inline constexpr uint32_t REG_SZ = 1;
inline constexpr uint32_t REG_EXPAND_SZ = 2;
inline constexpr uint32_t REG_BINARY = 3;
inline constexpr uint32_t REG_DWORD = 4;
inline constexpr uint32_t REG_MULTI_SZ = 7;

// Opens root\subKey (subKey may end in a NUL, as the Windows call receives it). 0 on success, else
// ERROR_FILE_NOT_FOUND; *result is valid until RegCloseKey.
// root may also be a key opened here; a subKey of "" or nullptr gives a new handle to root itself.
// An unknown root is ERROR_INVALID_HANDLE. Handles die with UnloadRegistry and LoadRegistry.
int32_t RegOpenKeyA(HKEY root, const char* subKey, HKEY* result);
// The two-call protocol: with data == nullptr it reports *type and *size (bytes, the terminating NUL
// of a string included); with a buffer of *size bytes it fills it. A buffer too small gives
// ERROR_MORE_DATA and the size needed. reserved must be nullptr/0.
int32_t RegQueryValueExA(HKEY key, const char* valueName, uint32_t* reserved, uint32_t* type, unsigned char* data,
                         uint32_t* size);
int32_t RegCloseKey(HKEY key);

// A hive file that cannot be read. The hive on disk is left exactly as it is.
class HiveError : public std::exception {
public:
    HiveError(QString file, int line, QString text);
    const QString& File() const { return file_; }
    int Line() const { return line_; }  // 1-based
    const QString& Text() const { return text_; }  // the line that could not be read
    const char* what() const noexcept override;

private:
    QString file_;
    int line_;
    QString text_;
    QByteArray what_;
};

// Loads both hives; a file that does not exist is an empty hive (written when first changed).
// Throws HiveError and loads nothing when either file cannot be parsed.
// What was loaded before a failed load stays loaded. A file that exists but cannot be read throws
// VbError.
void LoadRegistry(const QByteArray& systemHiveFile, const QByteArray& userHiveFile);
void UnloadRegistry();

// The personality's own access, for the machine set-up, the settings store and the version.
// RegistryGetString answers only REG_SZ values.
std::optional<QString> RegistryGetString(HKEY root, const QString& keyPath, const QString& valueName);
// Creates the missing keys and writes the hive at once: to a temporary file renamed over the hive.
// Throws VbError when the hive cannot be written.
// The hive in memory then stays as it was. Before LoadRegistry, and for a name the file cannot hold
// (an empty key name as in A\\B or A\, a line break in a key or value name), the error is
// kInvalidProcedureCall.
void RegistrySetString(HKEY root, const QString& keyPath, const QString& valueName, const QString& value);

}  // namespace platform
