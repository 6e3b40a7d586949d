#include "platform/hive.h"

#include "platform/vb_error.h"

#include <QFile>
#include <QStringDecoder>

#include <cerrno>
#include <cstdlib>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace platform {

HiveError::HiveError(QString file, int line, QString text)
    : file_(std::move(file)), line_(line), text_(std::move(text)) {
    what_ = QStringLiteral("%1:%2: cannot read this line of the registry: %3").arg(file_).arg(line_).arg(text_).toUtf8();
}

const char* HiveError::what() const noexcept { return what_.constData(); }

namespace {

// QString::compare(a, b, Qt::CaseInsensitive) compares the simple case foldings code unit by code
// unit, so two names are the same name exactly when their foldings are equal: the folding is the
// hash key.
QString Fold(const QString& name) { return name.toCaseFolded(); }

const char* RootName(HKEY root) { return root == HKEY_LOCAL_MACHINE ? "HKEY_LOCAL_MACHINE" : "HKEY_CURRENT_USER"; }

// One physical line at a time, without its LF or CRLF. A hive is UTF-8 text (the ANSI code page of
// this personality); a line that is not is refused, since writing it back would change it.
class LineReader {
public:
    LineReader(const QByteArray& text, const QString& file) : text_(text), file_(file) {
        if (text_.startsWith("\xEF\xBB\xBF")) pos_ = 3;
    }

    // false at the end of the file, keeping the last line as the current one.
    bool Next() {
        if (pos_ >= text_.size()) return false;
        qsizetype end = text_.indexOf('\n', pos_);
        if (end < 0) end = text_.size();
        qsizetype stop = end;
        if (stop > pos_ && text_[stop - 1] == '\r') --stop;
        QStringDecoder decoder(QStringDecoder::Utf8, QStringDecoder::Flag::ConvertInitialBom);
        line_ = decoder.decode(QByteArrayView(text_.constData() + pos_, stop - pos_));
        pos_ = end + 1;
        ++number_;
        if (decoder.hasError()) Fail();
        return true;
    }
    const QString& Text() const { return line_; }
    // An empty file fails on its first line, which it lacks.
    [[noreturn]] void Fail() const { throw HiveError(file_, number_ == 0 ? 1 : number_, line_); }

private:
    const QByteArray& text_;
    const QString& file_;
    qsizetype pos_ = 0;
    int number_ = 0;
    QString line_;
};

// A REGEDIT4 string from the '"' at pos; on return pos is past the closing '"'. The only escapes
// are \\ and \" ("C:\\Windows"); anything else after a backslash is an error.
std::optional<QString> ReadQuoted(const QString& line, qsizetype& pos) {
    if (pos >= line.size() || line[pos] != u'"') return std::nullopt;
    QString out;
    for (++pos; pos < line.size(); ++pos) {
        const QChar c = line[pos];
        if (c == u'"') {
            ++pos;
            return out;
        }
        if (c == u'\\') {
            if (++pos >= line.size() || (line[pos] != u'\\' && line[pos] != u'"')) return std::nullopt;
        }
        out += line[pos];
    }
    return std::nullopt;
}

void SkipSpaces(const QString& line, qsizetype& pos) {
    while (pos < line.size() && (line[pos] == u' ' || line[pos] == u'\t')) ++pos;
}

enum class Continues { No, Yes };

// One line's share of "01,02,ff": bytes between commas; a trailing backslash (regedit's, after a
// comma) carries the list on to the next line, which may be indented.
bool ReadHexBytes(QStringView segment, QByteArray& out, Continues& continues) {
    segment = segment.trimmed();
    continues = segment.endsWith(u'\\') ? Continues::Yes : Continues::No;
    if (continues == Continues::Yes) segment = segment.chopped(1).trimmed();
    if (segment.isEmpty()) return true;
    if (segment.endsWith(u',')) {
        if (continues == Continues::No) return false;
        segment.chop(1);
    }
    for (QStringView token : segment.split(u',')) {
        token = token.trimmed();
        bool ok = false;
        const uint byte = token.toUInt(&ok, 16);
        if (!ok || token.size() > 2 || token.startsWith(u'+') || token.startsWith(u'-')) return false;
        out += char(byte);
    }
    return true;
}

bool HasLineBreak(const QString& text) { return text.contains(u'\r') || text.contains(u'\n'); }

bool NeedsHexForm(const QString& text) {
    for (QChar c : text)
        if (c == u'\r' || c == u'\n' || c == QChar(0)) return true;
    return false;
}

QByteArray EncodeUtf16Le(const QString& text) {
    QByteArray out;
    out.reserve(text.size() * 2);
    for (QChar c : text) {
        out += char(c.unicode() & 0xff);
        out += char(c.unicode() >> 8);
    }
    return out;
}

QByteArray Quoted(const QString& text) {
    QByteArray out = "\"";
    for (char c : text.toUtf8()) {
        if (c == '\\' || c == '"') out += '\\';
        out += c;
    }
    out += '"';
    return out;
}

// Lines stay within 80 columns like regedit's, each continuation indented by two spaces; a line
// holds at least one byte however long the value's name is.
void AppendHexList(QByteArray& line, const QByteArray& bytes) {
    static const char digits[] = "0123456789abcdef";
    qsizetype column = line.size();  // line holds this value's text so far
    bool lineHasByte = false;
    for (qsizetype i = 0; i < bytes.size(); ++i) {
        const bool last = i + 1 == bytes.size();
        const int width = last ? 2 : 4;  // "ff" or "ff,\"
        if (lineHasByte && column + width > 80) {
            line += "\\\r\n  ";
            column = 2;
        }
        const uchar b = uchar(bytes[i]);
        line += digits[b >> 4];
        line += digits[b & 15];
        column += 2;
        if (!last) {
            line += ',';
            ++column;
        }
        lineHasByte = true;
    }
}

void AppendValue(QByteArray& out, const HiveValue& value) {
    QByteArray line = value.name.isEmpty() ? QByteArray("@") : Quoted(value.name);
    line += '=';
    if (value.type == REG_SZ && !NeedsHexForm(value.text)) {
        line += Quoted(value.text);
    } else if (value.type == REG_SZ) {
        // A line break cannot stand inside a quoted REGEDIT4 string, so such a text is written the
        // way the registry holds it: UTF-16LE with its terminating NUL.
        line += "hex(1):";
        AppendHexList(line, EncodeUtf16Le(value.text) + QByteArray(2, '\0'));
    } else if (value.type == REG_DWORD && value.data.size() == 4) {
        const auto* b = reinterpret_cast<const uchar*>(value.data.constData());
        const uint32_t number = b[0] | b[1] << 8 | b[2] << 16 | uint32_t(b[3]) << 24;
        line += "dword:" + QByteArray::number(number, 16).rightJustified(8, '0');
    } else {
        line += value.type == REG_BINARY ? QByteArray("hex:") : "hex(" + QByteArray::number(value.type, 16) + "):";
        AppendHexList(line, value.data);
    }
    out += line;
    out += "\r\n";
}

}  // namespace

// The parser is a friend of Hive so that it adds values to the section at hand without looking the
// section up again for every value.
class HiveParser {
public:
    HiveParser(HKEY root, const QByteArray& text, const QString& file) : lines_(text, file), hive_(root) {}

    Hive Run() {
        if (!lines_.Next() || lines_.Text().trimmed() != QLatin1String("REGEDIT4")) lines_.Fail();
        while (lines_.Next()) {
            const QString line = lines_.Text().trimmed();
            if (line.isEmpty() || line.startsWith(u';')) continue;
            if (line.startsWith(u'['))
                Section(line);
            else if (section_ >= 0 && (line.startsWith(u'"') || line.startsWith(u'@')))
                Value(line);
            else
                lines_.Fail();
        }
        return std::move(hive_);
    }

private:
    // "[-HKEY_...]" (delete the key) is refused: a hive never holds one, and reading it either as a
    // key or as nothing would change what the file says.
    void Section(const QString& line) {
        if (!line.endsWith(u']')) lines_.Fail();
        const QString inside = line.mid(1, line.size() - 2);
        const qsizetype slash = inside.indexOf(u'\\');
        const QString root = slash < 0 ? inside : inside.left(slash);
        const QString path = slash < 0 ? QString() : inside.mid(slash + 1);
        if (root.compare(QLatin1String(RootName(hive_.root_)), Qt::CaseInsensitive) != 0) lines_.Fail();
        if (slash >= 0 && (path.isEmpty() || !IsValidKeyPath(path))) lines_.Fail();
        section_ = hive_.SectionFor(path);
    }

    // "name"=- (delete the value) is refused for the same reason as a deleted key.
    void Value(const QString& line) {
        qsizetype pos = 0;
        HiveValue value;
        if (line[0] == u'@') {
            pos = 1;
        } else {
            auto name = ReadQuoted(line, pos);
            if (!name) lines_.Fail();
            value.name = *name;  // "" names the default value, as @ does
        }
        SkipSpaces(line, pos);
        if (pos >= line.size() || line[pos] != u'=') lines_.Fail();
        ++pos;
        SkipSpaces(line, pos);
        const QStringView data = QStringView(line).mid(pos);
        if (data.startsWith(u'"')) {
            auto text = ReadQuoted(line, pos);
            if (!text || pos != line.size()) lines_.Fail();
            value.type = REG_SZ;
            value.text = *text;
        } else if (data.startsWith(QLatin1String("dword:"), Qt::CaseInsensitive)) {
            const QStringView digits = data.mid(6);
            bool ok = false;
            const uint number = digits.toUInt(&ok, 16);
            if (!ok || digits.size() > 8 || digits.startsWith(u'+') || digits.startsWith(u'-')) lines_.Fail();
            value.type = REG_DWORD;
            for (int shift = 0; shift < 32; shift += 8) value.data += char(number >> shift & 0xff);
        } else if (data.startsWith(QLatin1String("hex"), Qt::CaseInsensitive)) {
            ReadHexValue(data.mid(3), value);
        } else {
            lines_.Fail();
        }
        hive_.SetValueIn(section_, value);
    }

    // After "hex": either ":" (REG_BINARY) or "(N):" with N the type in hex ("hex(2):" REG_EXPAND_SZ,
    // "hex(7):" REG_MULTI_SZ, "hex(b):" a QWORD).
    void ReadHexValue(QStringView rest, HiveValue& value) {
        value.type = REG_BINARY;
        if (rest.startsWith(u'(')) {
            const qsizetype close = rest.indexOf(u')');
            bool ok = false;
            if (close > 1) value.type = rest.mid(1, close - 1).toUInt(&ok, 16);
            if (!ok) lines_.Fail();
            rest = rest.mid(close + 1);
        }
        if (!rest.startsWith(u':')) lines_.Fail();
        QByteArray bytes;
        Continues continues = Continues::No;
        if (!ReadHexBytes(rest.mid(1), bytes, continues)) lines_.Fail();
        while (continues == Continues::Yes) {
            if (!lines_.Next() || !ReadHexBytes(lines_.Text(), bytes, continues)) lines_.Fail();
        }
        // hex(1) is a REG_SZ spelled as its UTF-16LE bytes; it is kept as its text, and written back
        // quoted unless the text holds a line break.
        if (value.type == REG_SZ) {
            value.text = DecodeUtf16Le(bytes);
            if (value.text.endsWith(QChar(0))) value.text.chop(1);
        } else {
            value.data = bytes;
        }
    }

    LineReader lines_;
    Hive hive_;
    int section_ = -1;
};

Hive::Hive(HKEY root) : root_(root) {}

Hive Hive::Parse(HKEY root, const QByteArray& fileText, const QString& fileName) {
    return HiveParser(root, fileText, fileName).Run();
}

QByteArray Hive::Serialize() const {
    QByteArray out = "REGEDIT4\r\n";
    for (const Key& key : sections_) {
        out += "\r\n[";
        out += RootName(root_);
        if (!key.path.isEmpty()) out += '\\' + key.path.toUtf8();
        out += "]\r\n";
        for (const HiveValue& value : key.values) AppendValue(out, value);
    }
    return out;
}

bool Hive::HasKey(const QString& keyPath) const { return keyPath.isEmpty() || spelling_.contains(Fold(keyPath)); }

const HiveValue* Hive::FindValue(const QString& keyPath, const QString& valueName) const {
    const auto section = sectionIndex_.constFind(Fold(keyPath));
    if (section == sectionIndex_.cend()) return nullptr;
    const Key& key = sections_[*section];
    const auto value = key.byName.constFind(Fold(valueName));
    return value == key.byName.cend() ? nullptr : &key.values[*value];
}

void Hive::SetValue(const QString& keyPath, const HiveValue& value) {
    Q_ASSERT(IsValidKeyPath(keyPath));
    SetValueIn(SectionFor(keyPath), value);
}

// Each key on the way keeps the spelling it got first: with "Software\A" in the hive, creating
// "SOFTWARE\B" makes "Software\B".
QString Hive::CreatePath(const QString& keyPath) {
    if (keyPath.isEmpty()) return QString();
    if (auto known = spelling_.constFind(Fold(keyPath)); known != spelling_.cend()) return *known;
    QString spelled;
    qsizetype start = 0;
    for (;;) {
        qsizetype end = keyPath.indexOf(u'\\', start);
        if (end < 0) end = keyPath.size();
        const QString folded = Fold(keyPath.left(end));
        if (auto known = spelling_.constFind(folded); known != spelling_.cend()) {
            spelled = *known;
        } else {
            spelled = start == 0 ? keyPath.left(end) : spelled + u'\\' + keyPath.mid(start, end - start);
            spelling_.insert(folded, spelled);
        }
        if (end == keyPath.size()) return spelled;
        start = end + 1;
    }
}

int Hive::SectionFor(const QString& keyPath) {
    const QString folded = Fold(keyPath);
    if (auto found = sectionIndex_.constFind(folded); found != sectionIndex_.cend()) return *found;
    sections_.push_back(Key{CreatePath(keyPath), {}, {}});
    const int index = int(sections_.size() - 1);
    sectionIndex_.insert(folded, index);
    return index;
}

void Hive::SetValueIn(int section, const HiveValue& value) {
    Key& key = sections_[section];
    const QString folded = Fold(value.name);
    if (auto found = key.byName.constFind(folded); found != key.byName.cend()) {
        HiveValue& old = key.values[*found];
        const QString spelling = old.name;
        old = value;
        old.name = spelling;
        return;
    }
    key.byName.insert(folded, int(key.values.size()));
    key.values.push_back(value);
}

bool IsValidKeyPath(const QString& keyPath) {
    if (keyPath.isEmpty()) return true;
    qsizetype start = 0;
    for (;;) {
        qsizetype end = keyPath.indexOf(u'\\', start);
        if (end < 0) end = keyPath.size();
        if (end == start) return false;
        if (end == keyPath.size()) break;
        start = end + 1;
    }
    return !HasLineBreak(keyPath);
}

bool IsValidValueName(const QString& name) { return !HasLineBreak(name); }

QString DecodeUtf16Le(const QByteArray& bytes) {
    QString out(bytes.size() / 2, Qt::Uninitialized);
    const auto* b = reinterpret_cast<const uchar*>(bytes.constData());
    for (qsizetype i = 0; i < out.size(); ++i) out[i] = QChar(char16_t(b[2 * i] | b[2 * i + 1] << 8));
    return out;
}

namespace {

// mkdir -p. A path that exists but is no folder is left for the caller's next call to report.
void MakeFolders(const QByteArray& folder) {
    struct stat st;
    if (folder.isEmpty() || ::stat(folder.constData(), &st) == 0) return;
    if (errno != ENOENT) throw FromErrno(errno, Missing::Path, QFile::decodeName(folder));
    const qsizetype slash = folder.lastIndexOf('/');
    if (slash > 0) MakeFolders(folder.left(slash));
    if (::mkdir(folder.constData(), 0777) != 0 && errno != EEXIST)
        throw FromErrno(errno, Missing::Path, QFile::decodeName(folder));
}

int WriteAll(int fd, const QByteArray& text) {
    qsizetype done = 0;
    while (done < text.size()) {
        const ssize_t n = ::write(fd, text.constData() + done, size_t(text.size() - done));
        if (n < 0 && errno == EINTR) continue;
        if (n < 0) return errno;
        done += n;
    }
    return 0;
}

// The rename is only durable once the folder's entry is; the new hive is already in place, so a
// failure here is not reported as a failed write.
void SyncFolder(const QByteArray& folder) {
    const int fd = ::open(folder.constData(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (fd < 0) return;
    ::fsync(fd);
    ::close(fd);
}

}  // namespace

Hive ReadHiveFile(HKEY root, const QByteArray& file) {
    const QString name = QFile::decodeName(file);
    const int fd = ::open(file.constData(), O_RDONLY | O_CLOEXEC);
    if (fd < 0) {
        if (errno == ENOENT) return Hive(root);
        throw FromErrno(errno, Missing::File, name);
    }
    QByteArray text;
    char buffer[65536];
    for (;;) {
        const ssize_t n = ::read(fd, buffer, sizeof buffer);
        if (n < 0 && errno == EINTR) continue;
        if (n < 0) {
            const int err = errno;
            ::close(fd);
            throw FromErrno(err, Missing::File, name);
        }
        if (n == 0) break;
        text.append(buffer, n);
    }
    ::close(fd);
    return Hive::Parse(root, text, name);
}

void WriteHiveFile(const Hive& hive, const QByteArray& file) {
    const QString name = QFile::decodeName(file);
    const QByteArray text = hive.Serialize();
    const qsizetype slash = file.lastIndexOf('/');
    const QByteArray folder = slash < 0 ? QByteArray(".") : slash == 0 ? QByteArray("/") : file.left(slash);
    MakeFolders(folder);
    QByteArray temp = file + ".XXXXXX";
    const int fd = ::mkostemp(temp.data(), O_CLOEXEC);
    if (fd < 0) throw FromErrno(errno, Missing::Path, name);
    // mkostemp makes the file 0600; a hive that exists keeps its own permissions.
    struct stat st;
    if (::stat(file.constData(), &st) == 0) ::fchmod(fd, st.st_mode & 07777);
    int err = WriteAll(fd, text);
    if (err == 0 && ::fsync(fd) != 0) err = errno;
    if (::close(fd) != 0 && err == 0) err = errno;
    if (err == 0 && ::rename(temp.constData(), file.constData()) != 0) err = errno;
    if (err != 0) {
        ::unlink(temp.constData());
        throw FromErrno(err, Missing::Path, name);
    }
    SyncFolder(folder);
}

}  // namespace platform
