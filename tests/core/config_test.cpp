#include "prx/config.h"
#include "prx/workfolder.h"
#include "qt_printers.h"
#include "support/environment.h"
#include "support/fixtures.h"
#include "text/errortext.h"

#include <QDir>
#include <QFileInfo>
#include <QTemporaryDir>

#include <gtest/gtest.h>

using namespace qm;
using namespace qm::prx;
using qm::test::readFile;
using qm::test::writeFile;

namespace {

const QByteArray kDefaultIni = "=======================================\r\n"
                               "--- Quillmark / Config File ---\r\n"
                               "=======================================\r\n"
                               "[CONFIG]\r\n"
                               "CheckPRX=1\r\n"
                               "CompPRX=1\r\n";

class IniFile : public ::testing::Test {
protected:
    QString path(const char* name = "Quillmark.ini") const { return dir.filePath(QString::fromLatin1(name)); }
    QTemporaryDir dir;
};

TEST_F(IniFile, DefaultFileIsExactlySixLinesWithCrLf) {
    EXPECT_EQ(defaultIniContent(), kDefaultIni);
    ASSERT_TRUE(createDefaultIni(path()));
    EXPECT_EQ(readFile(path()), kDefaultIni);
}

TEST_F(IniFile, CreatingTheDefaultFileTruncatesAnOlderOne) {
    writeFile(path(), QByteArray(5000, 'x'));
    ASSERT_TRUE(createDefaultIni(path()));
    EXPECT_EQ(readFile(path()), kDefaultIni);
}

TEST_F(IniFile, ReadsIgnoreCaseAndTheBannerLines) {
    writeFile(path(), "CheckPRX=7\r\n" + kDefaultIni + "[Other]\r\nCheckPRX=5\r\n  compprx = 0 \r\n");
    const struct {
        const char* section;
        const char* key;
        const char* value;
    } cases[] = {
        {"CONFIG", "CheckPRX", "1"}, {"config", "checkprx", "1"}, {"Config", "COMPPRX", "1"},
        {"CONFIG", "Missing", ""},   {"Missing", "CheckPRX", ""}, {"other", "CheckPRX", "5"},
        {"OTHER", "CompPRX", "0"},   {"CONFIG", "", ""},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(readIniValue(path(), QString::fromLatin1(c.section), QString::fromLatin1(c.key)),
                  QString::fromLatin1(c.value))
            << c.section << "." << c.key;
    }
}

TEST_F(IniFile, LongValuesAreCutTo254Characters) {
    const QByteArray value(300, 'v');
    writeFile(path(), "[CONFIG]\r\nPath=" + value + "\r\n");
    EXPECT_EQ(readIniValue(path(), kIniSection, QStringLiteral("Path")), QString(254, QLatin1Char('v')));
}

TEST_F(IniFile, AMissingFileReadsEmpty) {
    EXPECT_EQ(readIniValue(path("none.ini"), kIniSection, kKeyCheckPrx), QString());
    EXPECT_FALSE(QFileInfo::exists(path("none.ini")));
}

struct IniWrite {
    const char* name;
    QByteArray before; // empty: no file
    const char* section;
    const char* key;
    const char* value;
    QByteArray after;
};

const IniWrite kIniWrites[] = {
    {"ExistingKeyKeepsEveryOtherLine", kDefaultIni, "CONFIG", "CheckPRX", "0",
     "=======================================\r\n--- Quillmark / Config File ---\r\n"
     "=======================================\r\n[CONFIG]\r\nCheckPRX=0\r\nCompPRX=1\r\n"},
    {"KeyInAnotherCaseIsReplacedNotAdded", kDefaultIni, "config", "COMPPRX", "0",
     "=======================================\r\n--- Quillmark / Config File ---\r\n"
     "=======================================\r\n[CONFIG]\r\nCheckPRX=1\r\nCOMPPRX=0\r\n"},
    {"MissingKeyJoinsTheEndOfItsSection", kDefaultIni, "CONFIG", "Extra", "x y",
     "=======================================\r\n--- Quillmark / Config File ---\r\n"
     "=======================================\r\n[CONFIG]\r\nCheckPRX=1\r\nCompPRX=1\r\nExtra=x y\r\n"},
    {"MissingSectionIsAddedAtTheEnd", kDefaultIni, "NEW", "Key", "2",
     "=======================================\r\n--- Quillmark / Config File ---\r\n"
     "=======================================\r\n[CONFIG]\r\nCheckPRX=1\r\nCompPRX=1\r\n[NEW]\r\nKey=2\r\n"},
    {"KeyGoesBeforeTheNextSection", "[A]\r\nx=1\r\n\r\n[B]\r\ny=2\r\n", "A", "z", "3",
     "[A]\r\nx=1\r\nz=3\r\n\r\n[B]\r\ny=2\r\n"},
    {"OnlyTheKeyOfTheRightSectionChanges", "[A]\r\nk=1\r\n[B]\r\nk=2\r\n", "b", "K", "9",
     "[A]\r\nk=1\r\n[B]\r\nK=9\r\n"},
    {"MissingFileIsCreated", QByteArray(), "CONFIG", "CompPRX", "0", "[CONFIG]\r\nCompPRX=0\r\n"},
};

class IniWriteCase : public ::testing::TestWithParam<IniWrite> {
protected:
    QTemporaryDir dir;
};

TEST_P(IniWriteCase, RewritesTheFileAsExpected) {
    const IniWrite& c = GetParam();
    const QString path = dir.filePath(QStringLiteral("Quillmark.ini"));
    if (!c.before.isEmpty())
        writeFile(path, c.before);
    const QString section = QString::fromLatin1(c.section);
    const QString key = QString::fromLatin1(c.key);
    const Status written = writeIniValue(path, section, key, QString::fromLatin1(c.value));
    EXPECT_TRUE(written) << text::fullText(written.error()).toStdString();
    EXPECT_EQ(readFile(path), c.after);
    EXPECT_EQ(readIniValue(path, section, key), QString::fromLatin1(c.value));
}

INSTANTIATE_TEST_SUITE_P(Cases, IniWriteCase, ::testing::ValuesIn(kIniWrites),
                         [](const auto& info) { return std::string(info.param.name); });

TEST_F(IniFile, AWriteThatCannotHappenIsAnIoErrorNamingTheFile) {
    const QString inMissingFolder = dir.filePath(QStringLiteral("missing/Quillmark.ini"));
    const QString unreadable = dir.filePath(QStringLiteral("locked.ini"));
    writeFile(unreadable, "[CONFIG]\r\nCheckPRX=1\r\n");
    QFile::setPermissions(unreadable, QFileDevice::Permissions());
    const bool canRead = QFile(unreadable).open(QIODevice::ReadOnly); // root reads anything
    for (const QString& path : {inMissingFolder, dir.path(), unreadable}) {
        if (path == unreadable && canRead)
            continue;
        const Status written = writeIniValue(path, kIniSection, kKeyCheckPrx, QStringLiteral("0"));
        ASSERT_FALSE(written) << path.toStdString();
        EXPECT_EQ(written.error().kind, ErrorKind::Io) << path.toStdString();
        EXPECT_TRUE(text::errorDetail(written.error()).contains(path))
            << text::errorDetail(written.error()).toStdString();
    }
    EXPECT_FALSE(QFileInfo::exists(dir.filePath(QStringLiteral("missing"))));
    EXPECT_TRUE(QFileInfo(dir.path()).isDir());
    QFile::setPermissions(unreadable, QFileDevice::ReadOwner | QFileDevice::WriteOwner);
    EXPECT_EQ(readFile(unreadable), QByteArray("[CONFIG]\r\nCheckPRX=1\r\n"));
}

TEST(IniSwitch, OnlyTheValueOneIsOn) {
    const struct {
        const char* value;
        bool on;
    } cases[] = {
        {"1", true}, {" 1 ", true},  {"0", false},   {"2", false},  {"-1", false},
        {"", false}, {"abc", false}, {"1,5", false}, {"11", false},
    };
    for (const auto& c : cases)
        EXPECT_EQ(iniSwitchOn(QString::fromLatin1(c.value)), c.on) << '"' << c.value << '"';
}

// ---------------------------------------------------------------------------
// The working folder.

// Points the working folder somewhere else for one test and puts the old
// setting back afterwards.
class WorkFolder : public ::testing::Test {
protected:
    QTemporaryDir dir;
    QString data = dir.filePath(QStringLiteral("nested/Data"));
    test::EnvGuard dataDir{kDataDirVariable, data.toLocal8Bit()};
};

TEST_F(WorkFolder, IsTheOverrideAsAnAbsoluteFolderPath) {
    const QString folder = workFolder();
    EXPECT_TRUE(folder.endsWith(QLatin1Char('/')));
    EXPECT_TRUE(QDir::isAbsolutePath(folder));
    EXPECT_EQ(QDir(folder).absolutePath(), QDir(data).absolutePath());
    EXPECT_EQ(iniPath(), folder + QStringLiteral("Quillmark.ini"));
}

TEST_F(WorkFolder, PreparingCreatesTheFolderAndTheDefaultFileOnce) {
    ASSERT_FALSE(QFileInfo::exists(data));
    ASSERT_TRUE(prepareWorkFolder());
    EXPECT_TRUE(QFileInfo(data).isDir());
    EXPECT_EQ(readFile(iniPath()), kDefaultIni);

    const QByteArray edited = "[CONFIG]\r\nCheckPRX=0\r\n";
    writeFile(iniPath(), edited);
    ASSERT_TRUE(prepareWorkFolder());
    EXPECT_EQ(readFile(iniPath()), edited);
    EXPECT_EQ(QDir(data).entryList(QDir::Files | QDir::Hidden), QStringList{QStringLiteral("Quillmark.ini")});
}

TEST_F(WorkFolder, TheOneArgumentFormsUseTheFileInTheWorkingFolder) {
    ASSERT_TRUE(prepareWorkFolder());
    EXPECT_EQ(readIniValue(kIniSection, kKeyCompPrx), QStringLiteral("1"));
    EXPECT_TRUE(writeIniValue(kIniSection, kKeyCompPrx, QStringLiteral("0")));
    EXPECT_EQ(readIniValue(iniPath(), kIniSection, kKeyCompPrx), QStringLiteral("0"));
    EXPECT_FALSE(iniSwitchOn(readIniValue(kIniSection, kKeyCompPrx)));
    EXPECT_TRUE(iniSwitchOn(readIniValue(kIniSection, kKeyCheckPrx)));
}

TEST_F(WorkFolder, AFolderThatCannotBeCreatedIsAnError) {
    const QString blocker = dir.filePath(QStringLiteral("file"));
    writeFile(blocker, "x");
    qputenv(kDataDirVariable, (blocker + QStringLiteral("/Data")).toLocal8Bit());
    const Status s = prepareWorkFolder();
    ASSERT_FALSE(s);
    EXPECT_EQ(s.error().kind, ErrorKind::Io);
}

} // namespace
