// Reading and writing REGEDIT4 hive text and hive files.
#include "platform/hive.h"
#include "tests/host_tree.h"
#include "platform/vb_error.h"

#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QFileInfo>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <sys/stat.h>

using namespace platform;

namespace {

// The texts below are written with "\n"; a hive written by this code has CRLF.
QByteArray Crlf(const char* text) { return QByteArray(text).replace("\n", "\r\n"); }

QString Fixture(const char* name) { return QStringLiteral(VALDRINE_FIXTURES "/registry/") + QLatin1String(name); }

std::string CaseName(const char* name) { return name; }

// ---------------------------------------------------------------------------------------------------

struct RoundTripCase {
    const char* name;
    HKEY root;
    const char* text;  // as this code writes it, "\n" for CRLF
};
void PrintTo(const RoundTripCase& c, std::ostream* os) { *os << c.name; }

class HiveRoundTrip : public ::testing::TestWithParam<RoundTripCase> {};

TEST_P(HiveRoundTrip, WritesBackWhatItRead) {
    const QByteArray text = Crlf(GetParam().text);
    EXPECT_EQ(Hive::Parse(GetParam().root, text, QStringLiteral("test.reg")).Serialize(), text);
}

const RoundTripCase kRoundTrips[] = {
    {"EmptyHive", HKEY_CURRENT_USER, "REGEDIT4\n"},
    {"EscapesAndDefault", HKEY_CURRENT_USER,
     "REGEDIT4\n"
     "\n"
     "[HKEY_CURRENT_USER\\Software\\Valdrine]\n"
     "@=\"default\"\n"
     "\"Path\"=\"C:\\\\Program Files\\\\Valdrine\\\\\"\n"
     "\"Say \\\"it\\\"\"=\"\\\"quoted\\\"\"\n"
     "\"Empty\"=\"\"\n"},
    {"EveryValueForm", HKEY_LOCAL_MACHINE,
     "REGEDIT4\n"
     "\n"
     "[HKEY_LOCAL_MACHINE\\Software\\Valdrine]\n"
     "\"Version\"=dword:0004000a\n"
     "\"Max\"=dword:ffffffff\n"
     "\"Blob\"=hex:00,01,7f,80,ff\n"
     "\"NoBytes\"=hex:\n"
     "\"Temp\"=hex(2):25,00,54,00,45,00,4d,00,50,00,25,00,00,00\n"
     "\"List\"=hex(7):61,00,00,00,62,00,00,00,00,00\n"
     "\"None\"=hex(0):\n"
     "\"Quad\"=hex(b):01,00,00,00,00,00,00,00\n"
     "\"ShortDword\"=hex(4):01,02\n"},
    // Not sorted, a section with no values, a parent that has no section, and the root key.
    {"SectionsKeepFileOrder", HKEY_CURRENT_USER,
     "REGEDIT4\n"
     "\n"
     "[HKEY_CURRENT_USER\\Zeta]\n"
     "\"z\"=\"1\"\n"
     "\n"
     "[HKEY_CURRENT_USER]\n"
     "\"AtRoot\"=\"2\"\n"
     "\n"
     "[HKEY_CURRENT_USER\\Alpha\\Beta\\Gamma]\n"
     "\n"
     "[HKEY_CURRENT_USER\\Alpha]\n"
     "\"b\"=\"3\"\n"
     "\"a\"=\"4\"\n"},
    {"NonAsciiNames", HKEY_CURRENT_USER,
     "REGEDIT4\n"
     "\n"
     "[HKEY_CURRENT_USER\\Software\\Müller & Söhne]\n"
     "\"Größe\"=\"Äpfel ✓\"\n"},
    {"LineBreakInText", HKEY_CURRENT_USER,
     "REGEDIT4\n"
     "\n"
     "[HKEY_CURRENT_USER\\Software\\Valdrine]\n"
     "\"Note\"=hex(1):61,00,0d,00,0a,00,62,00,00,00\n"},
};

INSTANTIATE_TEST_SUITE_P(Hive, HiveRoundTrip, ::testing::ValuesIn(kRoundTrips),
                         [](const auto& info) { return CaseName(info.param.name); });

class HiveFixtureRoundTrip : public ::testing::TestWithParam<std::pair<const char*, HKEY>> {};

// The fixtures hold long hex lists wrapped over several lines.
TEST_P(HiveFixtureRoundTrip, WritesBackWhatItRead) {
    const QString path = Fixture(GetParam().first);
    const QByteArray text = Contents(path);
    ASSERT_TRUE(text.startsWith("REGEDIT4\r\n")) << path.toStdString();
    EXPECT_EQ(ReadHiveFile(GetParam().second, QFile::encodeName(path)).Serialize(), text);
}

INSTANTIATE_TEST_SUITE_P(Hive, HiveFixtureRoundTrip,
                         ::testing::Values(std::make_pair("user.reg", HKEY_CURRENT_USER),
                                           std::make_pair("system.reg", HKEY_LOCAL_MACHINE)),
                         [](const auto& info) {
                             return std::string(info.param.second == HKEY_CURRENT_USER ? "User" : "System");
                         });

// ---------------------------------------------------------------------------------------------------

struct ReadCase {
    const char* name;
    QByteArray text;  // exactly the file's bytes
    const char* key;
    const char* value;
    uint32_t type;
    QByteArray expected;  // REG_SZ: the text in UTF-8; otherwise the value's bytes
};
void PrintTo(const ReadCase& c, std::ostream* os) { *os << c.name; }

class HiveRead : public ::testing::TestWithParam<ReadCase> {};

TEST_P(HiveRead, FindsTheValue) {
    const ReadCase& c = GetParam();
    const Hive hive = Hive::Parse(HKEY_CURRENT_USER, c.text, QStringLiteral("test.reg"));
    const HiveValue* value = hive.FindValue(QString::fromUtf8(c.key), QString::fromUtf8(c.value));
    ASSERT_NE(value, nullptr);
    EXPECT_EQ(value->type, c.type);
    if (c.type == REG_SZ)
        EXPECT_EQ(value->text, QString::fromUtf8(c.expected));
    else
        EXPECT_EQ(value->data.toHex(), c.expected.toHex());
}

QByteArray Section(const char* values) {
    return "REGEDIT4\r\n\r\n[HKEY_CURRENT_USER\\Software\\Valdrine]\r\n" + QByteArray(values);
}

const ReadCase kReads[] = {
    {"LfOnlyFile", "REGEDIT4\n\n[HKEY_CURRENT_USER\\A]\n\"x\"=\"lf\"\n", "A", "x", REG_SZ, "lf"},
    {"NoLineEndAtEnd", "REGEDIT4\r\n[HKEY_CURRENT_USER\\A]\r\n\"x\"=\"last\"", "A", "x", REG_SZ, "last"},
    {"Utf8ByteOrderMark", "\xEF\xBB\xBFREGEDIT4\r\n[HKEY_CURRENT_USER\\A]\r\n\"x\"=\"bom\"\r\n", "A", "x", REG_SZ,
     "bom"},
    {"EscapedBackslashes", Section("\"p\"=\"C:\\\\Windows\\\\\"\r\n"), "Software\\Valdrine", "p", REG_SZ,
     "C:\\Windows\\"},
    {"EscapedQuoteInName", Section("\"a \\\"b\\\"\"=\"1\"\r\n"), "Software\\Valdrine", "a \"b\"", REG_SZ, "1"},
    {"EqualsSignInName", Section("\"a=b\"=\"2\"\r\n"), "Software\\Valdrine", "a=b", REG_SZ, "2"},
    {"DefaultByAt", Section("@=\"def\"\r\n"), "Software\\Valdrine", "", REG_SZ, "def"},
    {"DefaultByEmptyName", Section("\"\"=\"def\"\r\n"), "Software\\Valdrine", "", REG_SZ, "def"},
    {"CommentsAndBlankLines",
     "REGEDIT4\r\n; made by hand\r\n\r\n[HKEY_CURRENT_USER\\A]\r\n  ; indented\r\n\r\n\"x\"=\"kept\"\r\n", "A", "x",
     REG_SZ, "kept"},
    {"LaterValueReplacesEarlier", Section("\"x\"=\"1\"\r\n\"X\"=\"2\"\r\n"), "Software\\Valdrine", "x", REG_SZ, "2"},
    {"RepeatedSectionAddsToIt",
     "REGEDIT4\r\n[HKEY_CURRENT_USER\\A]\r\n\"x\"=\"1\"\r\n[HKEY_CURRENT_USER\\B]\r\n[HKEY_CURRENT_USER\\a]\r\n"
     "\"y\"=\"2\"\r\n",
     "A", "y", REG_SZ, "2"},
    {"DwordIsLittleEndian", Section("\"n\"=dword:12345678\r\n"), "Software\\Valdrine", "n", REG_DWORD,
     QByteArray::fromHex("78563412")},
    {"DwordWithFewDigits", Section("\"n\"=DWORD:1A\r\n"), "Software\\Valdrine", "n", REG_DWORD,
     QByteArray::fromHex("1a000000")},
    {"HexContinuedOnIndentedLines", Section("\"b\"=hex:01,02,\\\r\n    03,04,\\\r\n  05\r\n\"c\"=\"after\"\r\n"),
     "Software\\Valdrine", "b", REG_BINARY, QByteArray::fromHex("0102030405")},
    {"HexContinuedInLfFile", "REGEDIT4\n[HKEY_CURRENT_USER\\A]\n\"b\"=hex:0a,\\\n  0b\n", "A", "b", REG_BINARY,
     QByteArray::fromHex("0a0b")},
    {"ValueAfterContinuation", Section("\"b\"=hex:01,\\\r\n  02\r\n\"c\"=\"after\"\r\n"), "Software\\Valdrine",
     "c", REG_SZ, "after"},
    {"HexUpperCase", Section("\"e\"=HEX(2):4A,00,00,00\r\n"), "Software\\Valdrine", "e", REG_EXPAND_SZ,
     QByteArray::fromHex("4a000000")},
    {"HexTypeIsHexNumber", Section("\"q\"=hex(b):01,00,00,00,00,00,00,00\r\n"), "Software\\Valdrine", "q", 11,
     QByteArray::fromHex("0100000000000000")},
    {"Hex1IsAString", Section("\"s\"=hex(1):41,00,e4,00,00,00\r\n"), "Software\\Valdrine", "s", REG_SZ, "Aä"},
    {"MultiSzKeepsItsNuls", Section("\"m\"=hex(7):61,00,00,00,00,00\r\n"), "Software\\Valdrine", "m",
     REG_MULTI_SZ, QByteArray::fromHex("610000000000")},
};

INSTANTIATE_TEST_SUITE_P(Hive, HiveRead, ::testing::ValuesIn(kReads),
                         [](const auto& info) { return CaseName(info.param.name); });

// ---------------------------------------------------------------------------------------------------

struct ErrorCase {
    const char* name;
    HKEY root;
    QByteArray text;
    int line;
    QByteArray lineText;  // UTF-8
};
void PrintTo(const ErrorCase& c, std::ostream* os) { *os << c.name; }

class HiveParseError : public ::testing::TestWithParam<ErrorCase> {};

TEST_P(HiveParseError, NamesTheLine) {
    const ErrorCase& c = GetParam();
    try {
        Hive::Parse(c.root, c.text, QStringLiteral("/prefix/users/ann.reg"));
        FAIL() << "parsed";
    } catch (const HiveError& e) {
        EXPECT_EQ(e.File(), QStringLiteral("/prefix/users/ann.reg"));
        EXPECT_EQ(e.Line(), c.line);
        EXPECT_EQ(e.Text(), QString::fromUtf8(c.lineText));
    }
}

const ErrorCase kErrors[] = {
    {"EmptyFile", HKEY_CURRENT_USER, "", 1, ""},
    {"OtherHeader", HKEY_CURRENT_USER, "Windows Registry Editor Version 5.00\r\n", 1,
     "Windows Registry Editor Version 5.00"},
    {"ValueBeforeAnySection", HKEY_CURRENT_USER, "REGEDIT4\r\n\r\n\"x\"=\"1\"\r\n", 3, "\"x\"=\"1\""},
    {"UnknownEscape", HKEY_CURRENT_USER, Section("\"ok\"=\"1\"\r\n\"p\"=\"C:\\Windows\"\r\n"), 5,
     "\"p\"=\"C:\\Windows\""},
    {"UnterminatedString", HKEY_CURRENT_USER, Section("\"p\"=\"open\r\n"), 4, "\"p\"=\"open"},
    {"TextAfterString", HKEY_CURRENT_USER, Section("\"p\"=\"a\" b\r\n"), 4, "\"p\"=\"a\" b"},
    {"NoEqualsSign", HKEY_CURRENT_USER, Section("\"p\" \"a\"\r\n"), 4, "\"p\" \"a\""},
    {"UnknownDataForm", HKEY_CURRENT_USER, Section("\"p\"=qword:1\r\n"), 4, "\"p\"=qword:1"},
    {"DeletedValue", HKEY_CURRENT_USER, Section("\"p\"=-\r\n"), 4, "\"p\"=-"},
    {"DeletedKey", HKEY_CURRENT_USER, "REGEDIT4\r\n\r\n[-HKEY_CURRENT_USER\\Software]\r\n", 3,
     "[-HKEY_CURRENT_USER\\Software]"},
    {"MachineKeyInUserHive", HKEY_CURRENT_USER, "REGEDIT4\r\n\r\n[HKEY_LOCAL_MACHINE\\Software]\r\n", 3,
     "[HKEY_LOCAL_MACHINE\\Software]"},
    {"UserKeyInSystemHive", HKEY_LOCAL_MACHINE, "REGEDIT4\r\n\r\n[HKEY_CURRENT_USER\\Software]\r\n", 3,
     "[HKEY_CURRENT_USER\\Software]"},
    {"OtherRoot", HKEY_CURRENT_USER, "REGEDIT4\r\n\r\n[HKEY_CLASSES_ROOT\\.txt]\r\n", 3, "[HKEY_CLASSES_ROOT\\.txt]"},
    {"EmptyKeyName", HKEY_CURRENT_USER, "REGEDIT4\r\n\r\n[HKEY_CURRENT_USER\\A\\\\B]\r\n", 3,
     "[HKEY_CURRENT_USER\\A\\\\B]"},
    {"TrailingBackslashInKey", HKEY_CURRENT_USER, "REGEDIT4\r\n\r\n[HKEY_CURRENT_USER\\A\\]\r\n", 3,
     "[HKEY_CURRENT_USER\\A\\]"},
    {"UnclosedSection", HKEY_CURRENT_USER, "REGEDIT4\n\n[HKEY_CURRENT_USER\\A\n", 3, "[HKEY_CURRENT_USER\\A"},
    {"DwordTooLong", HKEY_CURRENT_USER, Section("\"n\"=dword:123456789\r\n"), 4, "\"n\"=dword:123456789"},
    {"DwordNotHex", HKEY_CURRENT_USER, Section("\"n\"=dword:12g4\r\n"), 4, "\"n\"=dword:12g4"},
    {"BadByteOnContinuationLine", HKEY_CURRENT_USER, Section("\"b\"=hex:01,02,\\\r\n  03,zz\r\n\"c\"=\"1\"\r\n"), 5,
     "  03,zz"},
    {"ContinuationAtEndOfFile", HKEY_CURRENT_USER, Section("\"b\"=hex:01,02,\\\r\n"), 4, "\"b\"=hex:01,02,\\"},
    {"ByteTooWide", HKEY_CURRENT_USER, Section("\"b\"=hex:01,123\r\n"), 4, "\"b\"=hex:01,123"},
    {"EmptyByte", HKEY_CURRENT_USER, Section("\"b\"=hex:01,,02\r\n"), 4, "\"b\"=hex:01,,02"},
    {"TrailingCommaWithoutContinuation", HKEY_CURRENT_USER, Section("\"b\"=hex:01,\r\n"), 4, "\"b\"=hex:01,"},
    {"BadHexType", HKEY_CURRENT_USER, Section("\"b\"=hex(x):01\r\n"), 4, "\"b\"=hex(x):01"},
    {"StrayText", HKEY_CURRENT_USER, Section("\"a\"=\"1\"\r\nhello\r\n"), 5, "hello"},
    {"NotUtf8", HKEY_CURRENT_USER, Section("\"a\"=\"caf\xe9\"\r\n"), 4, "\"a\"=\"caf\xef\xbf\xbd\""},
};

INSTANTIATE_TEST_SUITE_P(Hive, HiveParseError, ::testing::ValuesIn(kErrors),
                         [](const auto& info) { return CaseName(info.param.name); });

// ---------------------------------------------------------------------------------------------------

const char kSpelledHive[] =
    "REGEDIT4\n"
    "\n"
    "[HKEY_CURRENT_USER\\Software\\Müller]\n"
    "\"ShowLogo\"=\"1\"\n"
    "\"Λόγος\"=\"2\"\n";

struct LookUpCase {
    const char* name;
    const char* key;
    const char* value;
    const char* spelled;  // the name found; nullptr when none is
};
void PrintTo(const LookUpCase& c, std::ostream* os) { *os << c.name; }

class HiveLookUp : public ::testing::TestWithParam<LookUpCase> {};

TEST_P(HiveLookUp, MatchesNamesWithoutRegardToCase) {
    const Hive hive = Hive::Parse(HKEY_CURRENT_USER, Crlf(kSpelledHive), QStringLiteral("test.reg"));
    const HiveValue* value = hive.FindValue(QString::fromUtf8(GetParam().key), QString::fromUtf8(GetParam().value));
    if (!GetParam().spelled) {
        EXPECT_EQ(value, nullptr);
        return;
    }
    ASSERT_NE(value, nullptr);
    EXPECT_EQ(value->name, QString::fromUtf8(GetParam().spelled));
}

const LookUpCase kLookUps[] = {
    {"AsSpelled", "Software\\Müller", "ShowLogo", "ShowLogo"},
    {"UpperCase", "SOFTWARE\\MÜLLER", "SHOWLOGO", "ShowLogo"},
    {"LowerCase", "software\\müller", "showlogo", "ShowLogo"},
    // Final sigma: "ς" and "Σ" fold to the same letter, though "Σ" in lower case is "σ".
    {"CaseFoldingNotLowerCase", "Software\\Müller", "ΛΌΓΟΣ", "Λόγος"},
    {"OtherLetter", "Software\\Muller", "ShowLogo", nullptr},
    {"ValueOfParentKey", "Software", "ShowLogo", nullptr},
    {"BeginningOfTheName", "Software\\Müller", "ShowLog", nullptr},
};

INSTANTIATE_TEST_SUITE_P(Hive, HiveLookUp, ::testing::ValuesIn(kLookUps),
                         [](const auto& info) { return CaseName(info.param.name); });

TEST(HiveKeys, ParentsOfSectionsExist) {
    const Hive hive = Hive::Parse(HKEY_CURRENT_USER, Crlf(kSpelledHive), QStringLiteral("test.reg"));
    EXPECT_TRUE(hive.HasKey(QString()));
    EXPECT_TRUE(hive.HasKey(QStringLiteral("SOFTWARE")));
    EXPECT_TRUE(hive.HasKey(QStringLiteral("software\\MÜLLER")));
    EXPECT_FALSE(hive.HasKey(QStringLiteral("Soft")));
    EXPECT_FALSE(hive.HasKey(QStringLiteral("Software\\Müller\\Sub")));
}

TEST(HiveKeys, SetValueKeepsTheSpellingOfKeysAndValues) {
    Hive hive = Hive::Parse(HKEY_CURRENT_USER, Crlf(kSpelledHive), QStringLiteral("test.reg"));
    hive.SetValue(QStringLiteral("SOFTWARE\\MÜLLER"), HiveValue{QStringLiteral("showlogo"), REG_SZ, "0", {}});
    hive.SetValue(QStringLiteral("software\\New\\Deeper"), HiveValue{QStringLiteral("Name"), REG_SZ, "x", {}});
    hive.SetValue(QStringLiteral("SOFTWARE\\NEW"), HiveValue{QStringLiteral("Other"), REG_SZ, "y", {}});
    EXPECT_EQ(hive.Serialize(), Crlf("REGEDIT4\n"
                                     "\n"
                                     "[HKEY_CURRENT_USER\\Software\\Müller]\n"
                                     "\"ShowLogo\"=\"0\"\n"
                                     "\"Λόγος\"=\"2\"\n"
                                     "\n"
                                     "[HKEY_CURRENT_USER\\Software\\New\\Deeper]\n"
                                     "\"Name\"=\"x\"\n"
                                     "\n"
                                     "[HKEY_CURRENT_USER\\Software\\New]\n"
                                     "\"Other\"=\"y\"\n"));
}

TEST(HiveKeys, StringReplacesAValueOfAnotherTypeWhereItStands) {
    Hive hive = Hive::Parse(HKEY_CURRENT_USER,
                            Crlf("REGEDIT4\n\n[HKEY_CURRENT_USER\\A]\n\"n\"=dword:00000001\n\"z\"=\"last\"\n"),
                            QStringLiteral("test.reg"));
    hive.SetValue(QStringLiteral("a"), HiveValue{QStringLiteral("N"), REG_SZ, "one", {}});
    EXPECT_EQ(hive.Serialize(), Crlf("REGEDIT4\n\n[HKEY_CURRENT_USER\\A]\n\"n\"=\"one\"\n\"z\"=\"last\"\n"));
}

TEST(HiveKeys, TextWithLineBreaksComesBackUnchanged) {
    const QString text = QStringLiteral("line 1\r\nline 2\nwith \"quotes\" and \\");
    Hive hive(HKEY_CURRENT_USER);
    hive.SetValue(QStringLiteral("A"), HiveValue{QStringLiteral("Note"), REG_SZ, text, {}});
    const Hive back = Hive::Parse(HKEY_CURRENT_USER, hive.Serialize(), QStringLiteral("test.reg"));
    const HiveValue* value = back.FindValue(QStringLiteral("A"), QStringLiteral("Note"));
    ASSERT_NE(value, nullptr);
    EXPECT_EQ(value->type, REG_SZ);
    EXPECT_EQ(value->text, text);
}

// 4 MB with 40000 values in one key and 40000 sections: a look-up by scanning, or a copy of the
// rest of the file per line, takes minutes here rather than well under a second.
TEST(HiveSize, LargeHiveParsesInLinearTime) {
    QByteArray text = "REGEDIT4\r\n\r\n[HKEY_CURRENT_USER\\Software\\Big]\r\n";
    for (int i = 0; i < 40000; ++i) text += "\"Value " + QByteArray::number(i) + "\"=\"" + QByteArray(40, 'x') + "\"\r\n";
    for (int i = 0; i < 40000; ++i)
        text += "\r\n[HKEY_CURRENT_USER\\Software\\Big\\Key " + QByteArray::number(i) + "]\r\n\"v\"=hex:01,02,03\r\n";
    ASSERT_GT(text.size(), 4000000);
    QElapsedTimer timer;
    timer.start();
    const Hive hive = Hive::Parse(HKEY_CURRENT_USER, text, QStringLiteral("big.reg"));
    EXPECT_LT(timer.elapsed(), 10000);
    EXPECT_NE(hive.FindValue(QStringLiteral("software\\big"), QStringLiteral("value 39999")), nullptr);
    EXPECT_EQ(hive.Serialize(), text);
}

// ---------------------------------------------------------------------------------------------------

TEST(HiveFile, MissingFileIsAnEmptyHiveAndIsNotCreated) {
    QTemporaryDir dir;
    ASSERT_TRUE(dir.isValid());
    const Hive hive = ReadHiveFile(HKEY_CURRENT_USER, QFile::encodeName(dir.filePath("users/ann.reg")));
    EXPECT_EQ(hive.Serialize(), "REGEDIT4\r\n");
    EXPECT_FALSE(QFileInfo::exists(dir.filePath("users")));
}

TEST(HiveFile, WriteCreatesTheFolderAndLeavesNoTemporaryFile) {
    QTemporaryDir dir;
    ASSERT_TRUE(dir.isValid());
    Hive hive(HKEY_CURRENT_USER);
    hive.SetValue(QStringLiteral("Software\\Valdrine"), HiveValue{QStringLiteral("Owner"), REG_SZ, "ann", {}});
    WriteHiveFile(hive, QFile::encodeName(dir.filePath("users/ann.reg")));
    EXPECT_EQ(QDir(dir.filePath("users")).entryList(QDir::AllEntries | QDir::Hidden | QDir::NoDotAndDotDot),
              QStringList{"ann.reg"});
    EXPECT_EQ(Contents(dir.filePath("users/ann.reg")),
              Crlf("REGEDIT4\n\n[HKEY_CURRENT_USER\\Software\\Valdrine]\n\"Owner\"=\"ann\"\n"));
}

TEST(HiveFile, RewriteKeepsThePermissionsOfTheHive) {
    QTemporaryDir dir;
    ASSERT_TRUE(dir.isValid());
    const QByteArray path = QFile::encodeName(dir.filePath("system.reg"));
    Put(dir.filePath("system.reg"), "REGEDIT4\r\n");
    ASSERT_EQ(::chmod(path.constData(), 0640), 0);
    Hive hive(HKEY_LOCAL_MACHINE);
    hive.SetValue(QStringLiteral("Software"), HiveValue{QStringLiteral("x"), REG_SZ, "1", {}});
    WriteHiveFile(hive, path);
    struct stat st;
    ASSERT_EQ(::stat(path.constData(), &st), 0);
    EXPECT_EQ(st.st_mode & 07777, 0640u);
    EXPECT_EQ(Contents(dir.filePath("system.reg")), hive.Serialize());
}

TEST(HiveFile, FolderThatIsAFileGivesPathNotFound) {
    QTemporaryDir dir;
    ASSERT_TRUE(dir.isValid());
    Put(dir.filePath("users"), "not a folder");
    try {
        WriteHiveFile(Hive(HKEY_CURRENT_USER), QFile::encodeName(dir.filePath("users/ann.reg")));
        FAIL() << "written";
    } catch (const VbError& e) {
        EXPECT_EQ(e.Number(), kPathNotFound);
        EXPECT_EQ(e.Detail(), dir.filePath("users/ann.reg"));
    }
}

// A reader that has the old hive open keeps reading the old hive: the new one is another file.
TEST(HiveFile, NewHiveIsRenamedOverTheOldOne) {
    QTemporaryDir dir;
    ASSERT_TRUE(dir.isValid());
    const QByteArray before = "REGEDIT4\r\n\r\n[HKEY_CURRENT_USER\\A]\r\n\"x\"=\"old\"\r\n";
    Put(dir.filePath("ann.reg"), before);
    QFile old(dir.filePath("ann.reg"));
    ASSERT_TRUE(old.open(QIODevice::ReadOnly));
    Hive hive = ReadHiveFile(HKEY_CURRENT_USER, QFile::encodeName(dir.filePath("ann.reg")));
    hive.SetValue(QStringLiteral("A"), HiveValue{QStringLiteral("x"), REG_SZ, "new", {}});
    WriteHiveFile(hive, QFile::encodeName(dir.filePath("ann.reg")));
    EXPECT_EQ(old.readAll(), before);
    EXPECT_EQ(Contents(dir.filePath("ann.reg")), hive.Serialize());
    EXPECT_EQ(QDir(dir.path()).entryList(QDir::AllEntries | QDir::Hidden | QDir::NoDotAndDotDot),
              QStringList{"ann.reg"});
}

// The rename fails (the hive's name is taken by a folder) after the temporary file was written.
TEST(HiveFile, FailedRenameRemovesTheTemporaryFile) {
    QTemporaryDir dir;
    ASSERT_TRUE(dir.isValid());
    ASSERT_TRUE(QDir(dir.path()).mkpath("system.reg/inside"));
    EXPECT_THROW(WriteHiveFile(Hive(HKEY_LOCAL_MACHINE), QFile::encodeName(dir.filePath("system.reg"))), VbError);
    EXPECT_EQ(QDir(dir.path()).entryList(QDir::AllEntries | QDir::Hidden | QDir::NoDotAndDotDot),
              QStringList{"system.reg"});
}

TEST(HiveFile, BrokenFileNamesItsPath) {
    QTemporaryDir dir;
    ASSERT_TRUE(dir.isValid());
    Put(dir.filePath("ann.reg"), "REGEDIT4\r\n\r\n[HKEY_CURRENT_USER\\A]\r\nbroken\r\n");
    try {
        ReadHiveFile(HKEY_CURRENT_USER, QFile::encodeName(dir.filePath("ann.reg")));
        FAIL() << "parsed";
    } catch (const HiveError& e) {
        EXPECT_EQ(e.File(), dir.filePath("ann.reg"));
        EXPECT_EQ(e.Line(), 4);
        EXPECT_EQ(e.Text(), QStringLiteral("broken"));
        EXPECT_NE(std::string(e.what()).find("ann.reg:4"), std::string::npos) << e.what();
    }
}

}  // namespace
