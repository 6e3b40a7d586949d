#pragma once
// The folder-listing utility library: a count, then the names written into the caller's name list
// of 260-character buffers. For a pattern P the count and the list agree:
//   DCount(P)  = 1 + the subfolders matching P; ReadDirT writes "." (the reference entry) into
//                entry 1, then the subfolders, sorted without regard to case. 0 when the folder
//                cannot be read.
//   FCount(P)  = the files matching P (links included); ReadFileT writes them into entries 1..n.
// Each name is followed by NUL characters up to 260. Entries the library has no name for (the
// folder shrank between the count and the list) are left as they were: all NUL, reading "".
#include <QString>

#include <array>
#include <cstdint>
#include <vector>

namespace platform {

inline constexpr int kNameBufferLength = 260;

class NameList {
public:
    explicit NameList(int count);
    QString& operator()(int index);  // 1-based, 1..Count()
    const QString& operator()(int index) const;
    int Count() const { return int(entries_.size()); }

private:
    std::vector<QString> entries_;
};

using ReferenceBlock = std::array<unsigned char, 256>;
using IndexList = std::vector<int32_t>;

int32_t DCount(const QString& pattern);
int32_t FCount(const QString& pattern);
// After the call the reference block designates entry indexList[0] of the name list.
void fnAV(ReferenceBlock& reference, NameList& names, IndexList& indexList);
void ReadDirT(const QString& pattern, ReferenceBlock& reference);
void ReadFileT(const QString& pattern, ReferenceBlock& reference);
// Nonzero when the library's last count or list could not read its folder.
int32_t DOSError();
// "C:\WINDOWS" followed by NUL characters.
QString WinDir();
// Major x 100 + minor, from the machine's VersionNumber ("4.00.950" gives 400).
int32_t WinVer();

}  // namespace platform
