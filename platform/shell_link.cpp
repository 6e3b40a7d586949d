#include "platform/shell_link.h"

#include "platform/file_services.h"

#include <QtEndian>


namespace platform {

namespace {

constexpr uint32_t kHasLinkInfo = 0x02;
constexpr uint32_t kHasArguments = 0x20;
constexpr uint32_t kIsUnicode = 0x80;
constexpr uint32_t kVolumeIdAndLocalBasePath = 0x01;
constexpr uint32_t kDriveFixed = 3;
constexpr uint32_t kShowNormal = 1;
constexpr uint32_t kArchive = 0x20;

void U16(QByteArray& b, uint16_t v) {
    char d[2];
    qToLittleEndian(v, d);
    b.append(d, 2);
}
void U32(QByteArray& b, uint32_t v) {
    char d[4];
    qToLittleEndian(v, d);
    b.append(d, 4);
}
void Put32(QByteArray& b, int at, uint32_t v) { qToLittleEndian(v, b.data() + at); }
void Utf16z(QByteArray& b, const QString& s) {
    for (QChar c : s) U16(b, c.unicode());
    U16(b, 0);
}

QByteArray LinkInfo(const QString& target) {
    // Header of 0x24 bytes: the optional Unicode offsets follow the five mandatory ones.
    constexpr int kHeader = 0x24;
    QByteArray volume;
    U32(volume, 0x11);         // VolumeIDSize
    U32(volume, kDriveFixed);  // DriveType
    U32(volume, 0);            // DriveSerialNumber
    U32(volume, 0x10);         // VolumeLabelOffset
    volume.append('\0');       // empty label
    const QByteArray ansi = target.toUtf8() + '\0';
    QByteArray info(kHeader, '\0');
    const int volumeAt = kHeader;
    const int baseAt = volumeAt + volume.size();
    const int suffixAt = baseAt + ansi.size();
    const int baseUnicodeAt = suffixAt + 1;
    info += volume;
    info += ansi;
    info += '\0';  // CommonPathSuffix: empty
    QByteArray wide;
    Utf16z(wide, target);
    const int suffixUnicodeAt = baseUnicodeAt + wide.size();
    info += wide;
    U16(info, 0);  // CommonPathSuffixUnicode: empty
    Put32(info, 0, uint32_t(info.size()));
    Put32(info, 4, kHeader);
    Put32(info, 8, kVolumeIdAndLocalBasePath);
    Put32(info, 12, volumeAt);
    Put32(info, 16, baseAt);
    Put32(info, 20, 0);  // no network path
    Put32(info, 24, suffixAt);
    Put32(info, 28, baseUnicodeAt);
    Put32(info, 32, suffixUnicodeAt);
    return info;
}

}  // namespace

QByteArray ShellLinkBytes(const QString& target, const QString& arguments) {
    QByteArray b;
    U32(b, 0x4C);  // HeaderSize
    // LinkCLSID 00021401-0000-0000-C000-000000000046
    static const unsigned char clsid[16] = {0x01, 0x14, 0x02, 0x00, 0x00, 0x00, 0x00, 0x00,
                                            0xC0, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x46};
    b.append(reinterpret_cast<const char*>(clsid), 16);
    U32(b, kHasLinkInfo | kHasArguments | kIsUnicode);
    U32(b, kArchive);                 // FileAttributes
    b.append(QByteArray(24, '\0'));   // creation, access and write times
    U32(b, 0);                        // FileSize
    U32(b, 0);                        // IconIndex
    U32(b, kShowNormal);              // ShowCommand
    U16(b, 0);                        // HotKey
    b.append(QByteArray(10, '\0'));   // Reserved1..3
    b += LinkInfo(target);
    // COMMAND_LINE_ARGUMENTS: a count of UTF-16 code units, then the units, no terminator.
    U16(b, uint16_t(std::min<qsizetype>(arguments.size(), 0xFFFF)));
    for (qsizetype i = 0; i < std::min<qsizetype>(arguments.size(), 0xFFFF); ++i) U16(b, arguments[i].unicode());
    U32(b, 0);  // no extra data blocks
    return b;
}

void WriteShellLink(const QString& linkPath, const QString& target, const QString& arguments) {
    WriteWholeFile(linkPath, ShellLinkBytes(target, arguments));
}

}  // namespace platform
