// Writes that keep the original: NAME.orig is made once, never replaced, and
// never left behind by a write that failed.

#include "prx/fileio.h"
#include "qt_printers.h"
#include "support/fixtures.h"
#include "text/errortext.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#ifdef Q_OS_WIN
#include <windows.h>
#endif

using namespace qm;
using namespace qm::prx;
using qm::test::readFile;
using qm::test::writeFile;

namespace {

class KeepOriginal : public ::testing::Test {
protected:
    QString path(const QString& name) const { return dir.filePath(name); }
    QStringList entries() const {
        return QDir(dir.path()).entryList(QDir::AllEntries | QDir::NoDotAndDotDot | QDir::System);
    }
    QTemporaryDir dir;
};

TEST_F(KeepOriginal, MadeOnceAndNeverReplaced) {
    const struct {
        const char* name;
        std::optional<QByteArray> before;     // the file before the write; none: no file
        std::optional<QByteArray> origBefore; // NAME.orig before the write
        bool keep;
        std::optional<QByteArray> origAfter;
    } cases[] = {
        {"first write keeps the original", QByteArray("old"), std::nullopt, true, QByteArray("old")},
        {"an existing original stays", QByteArray("second"), QByteArray("first"), true, QByteArray("first")},
        {"an empty original stays", QByteArray("second"), QByteArray(), true, QByteArray()},
        {"a new file has no original", std::nullopt, std::nullopt, true, std::nullopt},
        {"not asked for", QByteArray("old"), std::nullopt, false, std::nullopt},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        const QString file = path(QStringLiteral("vshmain.prx"));
        const QString orig = path(QStringLiteral("vshmain.prx.orig"));
        QFile::remove(file);
        QFile::remove(orig);
        if (c.before)
            writeFile(file, *c.before);
        if (c.origBefore)
            writeFile(orig, *c.origBefore);
        ASSERT_TRUE(writeFileAtomically(file, "new", c.keep));
        EXPECT_EQ(readFile(file), QByteArray("new"));
        EXPECT_EQ(QFileInfo::exists(orig), c.origAfter.has_value());
        if (c.origAfter) {
            EXPECT_EQ(readFile(orig), *c.origAfter);
        }
    }
    EXPECT_EQ(originalPath(QStringLiteral("/a/paf.prx")), QStringLiteral("/a/paf.prx.orig"));
}

TEST_F(KeepOriginal, ASecondWriteKeepsTheFirstOriginal) {
    const QString file = path(QStringLiteral("paf.prx"));
    writeFile(file, "original");
    for (const char* content : {"edit 1", "edit 2", "edit 3"})
        ASSERT_TRUE(writeFileAtomically(file, content, true));
    EXPECT_EQ(readFile(file), QByteArray("edit 3"));
    EXPECT_EQ(readFile(originalPath(file)), QByteArray("original"));
    EXPECT_EQ(entries(), QStringList({QStringLiteral("paf.prx"), QStringLiteral("paf.prx.orig")}));
}

// A write that fails after the original was copied takes the copy back. The
// module is a link to a file in a folder nobody can write, not even root:
// the copy lands beside the link, the write goes to the link's target.
TEST_F(KeepOriginal, AFailedWriteLeavesNoOriginal) {
#ifdef Q_OS_WIN
    // QFile::link makes a shortcut (.lnk), a file of its own that a write
    // replaces, and symbolic links need rights a user lacks; the Windows
    // way a write fails after the copy is HeldOpenElsewhere below.
    GTEST_SKIP() << "Windows has no link a write goes through to a file nobody may write";
#endif
    const QString target = QStringLiteral("/proc/self/status");
    if (!QFileInfo(target).isReadable())
        GTEST_SKIP() << "no /proc on this system";
    const QString link = path(QStringLiteral("vshmain.prx"));
    ASSERT_TRUE(QFile::link(target, link));
    const Status s = writeFileAtomically(link, "new", true);
    ASSERT_FALSE(s);
    EXPECT_EQ(s.error().kind, ErrorKind::Io);
    EXPECT_FALSE(QFileInfo::exists(originalPath(link)));
    EXPECT_EQ(entries(), QStringList({QStringLiteral("vshmain.prx")}));
}

// An original that can't be made stops the write: nothing is written.
TEST_F(KeepOriginal, AnUnwritableFolderWritesNothing) {
    const struct {
        const char* name;
        QString file;
    } cases[] = {
        // Permissions stop everyone but root; /proc stops root too.
        {"a folder without write permission", path(QStringLiteral("ro/vshmain.prx"))},
        {"a folder on a read-only file system", QStringLiteral("/proc/self/status")},
    };
    writeFile(path(QStringLiteral("ro/vshmain.prx")), "old");
    ASSERT_TRUE(QFile::setPermissions(path(QStringLiteral("ro")), QFile::ReadOwner | QFile::ExeOwner));
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        const QFileInfo probe(QFileInfo(c.file).path() + QStringLiteral("/probe"));
        QFile test(probe.filePath());
        if (test.open(QIODevice::WriteOnly)) {
            test.remove();
            continue; // this user may write there after all (root)
        }
        if (!QFileInfo::exists(c.file))
            continue;
        const QByteArray before = readFile(c.file);
        const Status s = writeFileAtomically(c.file, "new", true);
        ASSERT_FALSE(s);
        EXPECT_TRUE(text::errorDetail(s.error()).contains(
            QStringLiteral("can't keep the original of %1 as %1.orig").arg(c.file)))
            << text::errorDetail(s.error()).toStdString();
        EXPECT_TRUE(text::errorDetail(s.error()).endsWith(QStringLiteral("nothing written")));
        EXPECT_FALSE(QFileInfo::exists(originalPath(c.file)));
        if (c.file.startsWith(dir.path())) {
            EXPECT_EQ(readFile(c.file), before);
        }
    }
    QFile::setPermissions(path(QStringLiteral("ro")), QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
}

} // namespace

#ifdef Q_OS_WIN
// Another program holds the module open: a reader that lets others read
// (the copy works, the replace can't), and one that lets nobody in (not even
// the copy). Either way the write is refused and says why, the module keeps
// its bytes and no .orig or temporary file is left.
TEST_F(KeepOriginal, HeldOpenElsewhere) {
    const struct {
        const char* name;
        DWORD share;
    } cases[] = {{"shared for reading", FILE_SHARE_READ}, {"not shared", 0}};
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        const QString file = path(QStringLiteral("vshmain.prx"));
        writeFile(file, "old");
        const HANDLE held = CreateFileW(QDir::toNativeSeparators(file).toStdWString().c_str(), GENERIC_READ,
                                        c.share, nullptr, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
        ASSERT_NE(held, INVALID_HANDLE_VALUE);
        const Status s = writeFileAtomically(file, "new", true);
        CloseHandle(held);
        ASSERT_FALSE(s);
        EXPECT_TRUE(
            text::errorDetail(s.error()).contains(QStringLiteral("another program holds the file open")))
            << text::errorDetail(s.error()).toStdString();
        EXPECT_EQ(readFile(file), QByteArray("old"));
        EXPECT_EQ(entries(), QStringList({QStringLiteral("vshmain.prx")}));
    }
}
#endif
