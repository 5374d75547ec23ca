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
