#pragma once
// One hive of the registry and its REGEDIT4 text file, e.g.
//   REGEDIT4
//
//   [HKEY_CURRENT_USER\Software\Valdrine]
//   @="default value"
//   "Path"="C:\\Program Files\\Valdrine"
//   "Count"=dword:0000000a
//   "Blob"=hex:01,02,ff
//   "Where"=hex(2):25,00,54,00,45,00,4d,00,50,00,25,00,00,00
// Keys are stored by their path below the root ("Software\Valdrine"; "" is the root key itself).
// A key exists when it has a section or when a key below it has one, as an import creates every
// key on the way. Sections and values keep file order, so a file this code wrote comes back from a
// read and a write byte for byte. Comment lines are not kept.
#include "platform/registry.h"

#include <QByteArray>
#include <QHash>
#include <QString>

#include <cstdint>
#include <vector>

namespace platform {

struct HiveValue {
    QString name;      // as first spelled; "" is the default value, written "@"
    uint32_t type = REG_SZ;
    QString text;      // REG_SZ only: the string without its terminating NUL
    QByteArray data;   // every other type: the bytes the registry holds (UTF-16LE for hex(2), hex(7))
};

class Hive {
public:
    // root is HKEY_LOCAL_MACHINE or HKEY_CURRENT_USER, the only root the hive's sections may name.
    explicit Hive(HKEY root);

    // Throws HiveError naming fileName, the 1-based line and its text. Lines may end in CRLF or LF.
    static Hive Parse(HKEY root, const QByteArray& fileText, const QString& fileName);
    // Always CRLF.
    QByteArray Serialize() const;

    HKEY Root() const { return root_; }
    bool HasKey(const QString& keyPath) const;
    // nullptr when the key or the value does not exist; valid until the hive changes.
    const HiveValue* FindValue(const QString& keyPath, const QString& valueName) const;
    // Creates the key and those on its way (keyPath must pass IsValidKeyPath). A value that exists
    // is replaced where it stands and keeps its spelling, as do the keys.
    void SetValue(const QString& keyPath, const HiveValue& value);

private:
    friend class HiveParser;
    struct Key {
        QString path;                  // spelled
        std::vector<HiveValue> values;  // file order
        QHash<QString, int> byName;    // folded name -> index into values
    };
    QString CreatePath(const QString& keyPath);
    int SectionFor(const QString& keyPath);  // creates it
    void SetValueIn(int section, const HiveValue& value);

    HKEY root_;
    std::vector<Key> sections_;           // file order
    QHash<QString, int> sectionIndex_;    // folded path -> index into sections_
    QHash<QString, QString> spelling_;    // folded path of every key that exists -> spelled path
};

// "" (the root key) or names joined by single backslashes, none of them empty. Neither a key nor a
// value name may hold a line break: the hive could not be read back.
bool IsValidKeyPath(const QString& keyPath);
bool IsValidValueName(const QString& name);

// All the UTF-16LE code units of regedit's hex(1), hex(2) and hex(7) bytes, NULs included; an odd
// last byte is dropped.
QString DecodeUtf16Le(const QByteArray& bytes);

// A file that does not exist is an empty hive. Throws HiveError when the text cannot be parsed and
// VbError when the file cannot be read.
Hive ReadHiveFile(HKEY root, const QByteArray& file);
// Creates the file's folder when missing, writes a temporary file beside it, syncs it and renames it
// over the hive, so the hive on disk is always either the old one or the new one. Throws VbError.
void WriteHiveFile(const Hive& hive, const QByteArray& file);

}  // namespace platform
