// Finding the archiver and running a child process through both pipes.

#include "compression/archiver.h"
#include "qt_printers.h"
#include "support/bytes.h"
#include "support/environment.h"
#include "text/errortext.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <optional>
#include <thread>
#include <vector>

using namespace qm;
using namespace qm::compression;
using qm::test::EnvGuard;
using qm::test::noise;
using qm::test::writeScript;

namespace {

RunRequest shell(const QByteArray& script, const QByteArray& input = {}, qint64 limit = -1) {
    RunRequest r;
    r.program = QStringLiteral("/bin/sh");
    r.arguments = {QStringLiteral("-c"), QString::fromUtf8(script)};
    r.input = input;
    r.outputLimit = limit;
    return r;
}

RunOutcome mustRun(const RunRequest& request) {
    auto run = runArchiver(request);
    EXPECT_TRUE(run) << (run ? std::string() : text::fullText(run.error()).toStdString());
    return run ? *run : RunOutcome{};
}

} // namespace

TEST(ArchiverLookup, PrefersTheWorkingFolderThenSevenZaThenSevenZ) {
    enum class Local { None, Executable, PlainFile, Folder };
    struct Row {
        const char* what;
        Local local;
        std::vector<const char*> onPath;
        const char* expected; // "local", a name on PATH, or nullptr for an error
        bool emptyWorkFolder = false;
    };
    const Row rows[] = {
        {"own 7za wins", Local::Executable, {"7za", "7z"}, "local"},
        {"own 7za without PATH", Local::Executable, {}, "local"},
        {"own 7za not executable", Local::PlainFile, {"7za", "7z"}, "7za"},
        {"own 7za is a folder", Local::Folder, {"7za"}, "7za"},
        {"7z when PATH lacks 7za", Local::None, {"7z"}, "7z"},
        {"7za before 7z", Local::None, {"7z", "7za"}, "7za"},
        {"no working folder given", Local::None, {"7za"}, "7za", true},
        {"nothing anywhere", Local::None, {}, nullptr},
        {"only a useless own 7za", Local::PlainFile, {}, nullptr},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.what);
        QTemporaryDir root;
        ASSERT_TRUE(root.isValid());
        const QString work = root.filePath(QStringLiteral("work"));
        const QString bin = root.filePath(QStringLiteral("bin"));
        ASSERT_TRUE(QDir().mkpath(work) && QDir().mkpath(bin));
        const QString own = QDir(work).filePath(QStringLiteral("7za"));
        if (row.local == Local::Executable || row.local == Local::PlainFile)
            writeScript(own, "exit 0", row.local == Local::Executable);
        if (row.local == Local::Folder) {
            ASSERT_TRUE(QDir().mkpath(own));
        }
        for (const char* name : row.onPath)
            writeScript(QDir(bin).filePath(QString::fromLatin1(name)), "exit 0");
        EnvGuard path("PATH", QFile::encodeName(bin));

        const QString folder = row.emptyWorkFolder ? QString() : work;
        auto found = findArchiver(folder);
        if (!row.expected) {
            ASSERT_FALSE(found);
            EXPECT_EQ(found.error().kind, ErrorKind::Archiver);
            EXPECT_TRUE(text::userText(found.error()).contains(QStringLiteral("p7zip-full")));
            EXPECT_TRUE(text::fullText(found.error()).contains(work));
            continue;
        }
        ASSERT_TRUE(found) << text::fullText(found.error()).toStdString();
        const QString expected = QLatin1StringView(row.expected) == QLatin1StringView("local")
                                     ? own
                                     : QDir(bin).filePath(QString::fromLatin1(row.expected));
        EXPECT_EQ(QDir::cleanPath(*found), QDir::cleanPath(expected));
    }
}

TEST(ArchiverLookup, StartsTheProgramBehindADistributionWrapperScript) {
    QTemporaryDir root;
    ASSERT_TRUE(root.isValid());
    const QString bin = root.filePath(QStringLiteral("bin"));
    const QString lib = root.filePath(QStringLiteral("lib"));
    ASSERT_TRUE(QDir().mkpath(bin) && QDir().mkpath(lib));
    const QString real = QDir(lib).filePath(QStringLiteral("7za"));
    writeScript(real, "exit 0");
    struct Row {
        const char* what;
        QByteArray wrapper; // second line of bin/7za
        bool bypassed;
    };
    const Row rows[] = {
        {"exec of an absolute program", "exec " + QFile::encodeName(real) + " \"$@\"", true},
        {"relative program", "exec lib/7za \"$@\"", false},
        {"arguments changed", "exec " + QFile::encodeName(real) + " -y \"$@\"", false},
        {"more than one command", "cd /tmp; exec " + QFile::encodeName(real) + " \"$@\"", false},
        {"missing program", "exec " + QFile::encodeName(real) + "x \"$@\"", false},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.what);
        const QString wrapper = QDir(bin).filePath(QStringLiteral("7za"));
        writeScript(wrapper, row.wrapper);
        EnvGuard path("PATH", QFile::encodeName(bin));
        auto found = findArchiver(QString());
        ASSERT_TRUE(found);
        EXPECT_EQ(*found, row.bypassed ? real : wrapper);
    }
}

TEST(ArchiverRun, PassesLargeInputAndOutputThroughBothPipes) {
    // Far more than a pipe holds in either direction: a runner that writes
    // all input before reading any output would hang here.
    const QByteArray input = noise(3 * 1024 * 1024 + 17, 1);
    RunRequest request = shell("cat", input);
    qint64 lastFed = 0, lastRead = 0;
    bool monotonic = true;
    request.progress = [&](qint64 fed, qint64 read) {
        monotonic = monotonic && fed >= lastFed && read >= lastRead;
        lastFed = fed;
        lastRead = read;
    };
    const RunOutcome out = mustRun(request);
    EXPECT_EQ(out.exitCode, 0);
    EXPECT_FALSE(out.crashed);
    EXPECT_FALSE(out.limitExceeded);
    EXPECT_TRUE(out.output == input);
    EXPECT_TRUE(monotonic);
    EXPECT_EQ(lastFed, input.size());
    EXPECT_EQ(lastRead, input.size());
}

TEST(ArchiverRun, ReportsExitCodesAndCrashes) {
    struct Row {
        const char* script;
        int exitCode; // checked unless the child crashed
        bool crashed;
    };
    const Row rows[] = {
        {"exit 0", 0, false},
        {"exit 2", 2, false},
        {"exit 255", 255, false},
        {"cat >/dev/null; exit 7", 7, false},
        {"head -c 10 >/dev/null; exit 3", 3, false},
        {"exec >&-; sleep 0.2; exit 5", 5, false}, // output closed long before the end
        {"kill -SEGV $$", 0, true},
        {"kill -KILL $$", 0, true},
    };
    // An unread megabyte of input must not hang the run or kill the caller
    // with a broken pipe.
    const QByteArray inputs[] = {QByteArray(), noise(1024 * 1024, 2)};
    for (const Row& row : rows) {
        for (const QByteArray& input : inputs) {
            SCOPED_TRACE(std::string(row.script) + " with input " + std::to_string(input.size()));
            const RunOutcome out = mustRun(shell(row.script, input));
            EXPECT_EQ(out.crashed, row.crashed);
            if (!row.crashed) {
                EXPECT_EQ(out.exitCode, row.exitCode);
            }
            EXPECT_FALSE(out.limitExceeded);
        }
    }
}

TEST(ArchiverRun, StopsAtTheOutputLimit) {
    struct Row {
        const char* script;
        qint64 limit;
        bool exceeded;
        qint64 kept;
    };
    const Row rows[] = {
        {"head -c 1000 /dev/zero", 1000, false, 1000},
        {"head -c 1001 /dev/zero", 1000, true, 1000},
        {"true", 0, false, 0},
        {"printf x", 0, true, 0},
        {"head -c 5000000 /dev/zero", -1, false, 5000000},
        {"head -c 5000000 /dev/zero", 200000, true, 200000},
        {"cat /dev/zero", 100000, true, 100000}, // never ends by itself
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(std::string(row.script) + " limit " + std::to_string(row.limit));
        const RunOutcome out = mustRun(shell(row.script, {}, row.limit));
        EXPECT_EQ(out.limitExceeded, row.exceeded);
        EXPECT_EQ(out.output.size(), row.kept);
        if (!row.exceeded) {
            EXPECT_EQ(out.exitCode, 0);
        }
    }
}

TEST(ArchiverRun, StopsAtTheOutputLimitWhileInputIsStillFed) {
    // The child stops reading after the first line and floods its output, so
    // the limit must be noticed while most of the input is still unsent.
    const QByteArray input = QByteArray("a\n").repeated(1024 * 1024);
    const RunOutcome out =
        mustRun(shell("while read -r line; do while :; do echo zzzzzzzzzzzzzzz; done; done", input, 500000));
    EXPECT_TRUE(out.limitExceeded);
    EXPECT_EQ(out.output.size(), 500000);
}

TEST(ArchiverRun, KeepsOnlyTheTailOfStandardError) {
    const RunOutcome out =
        mustRun(shell("head -c 200000 /dev/zero | tr '\\0' e >&2; printf out; echo 'THE END' >&2; exit 1"));
    EXPECT_EQ(out.exitCode, 1);
    EXPECT_EQ(out.output, QByteArray("out"));
    EXPECT_TRUE(out.errors.endsWith("eTHE END\n"));
    EXPECT_LE(out.errors.size(), 8192);

    const QString detail = describeFailure(QStringLiteral("/usr/bin/7za"), out);
    EXPECT_TRUE(detail.startsWith(QStringLiteral("7za exited with code 1: ")));
    EXPECT_TRUE(detail.endsWith(QStringLiteral("THE END")));
    EXPECT_LT(detail.size(), 1000);
}

TEST(ArchiverRun, PassesArgumentsWithoutAShell) {
    const QStringList hostile = {QStringLiteral("a \"quoted\" b"), QStringLiteral("&& echo injected"),
                                 QStringLiteral("%PATH% $HOME ; `id`"), QStringLiteral("*"), QString()};
    RunRequest request;
    request.program = QStringLiteral("/bin/sh");
    request.arguments =
        QStringList{QStringLiteral("-c"), QStringLiteral("printf '[%s]\\n' \"$@\""), QStringLiteral("sh")} +
        hostile;
    const RunOutcome out = mustRun(request);
    QByteArray expected;
    for (const QString& arg : hostile)
        expected += "[" + arg.toUtf8() + "]\n";
    EXPECT_EQ(out.output, expected);
}

TEST(ArchiverRun, FailsOnlyWhenTheProgramCannotStart) {
    QTemporaryDir root;
    ASSERT_TRUE(root.isValid());
    const QString notExecutable = root.filePath(QStringLiteral("7za"));
    writeScript(notExecutable, "exit 0", false);
    for (const QString& program :
         {root.filePath(QStringLiteral("missing/7za")), notExecutable, root.path()}) {
        SCOPED_TRACE(program.toStdString());
        RunRequest request;
        request.program = program;
        request.input = "data";
        auto run = runArchiver(request);
        ASSERT_FALSE(run);
        EXPECT_EQ(run.error().kind, ErrorKind::Archiver);
    }
}

TEST(ArchiverRun, RunsOnAThreadWithoutAnEventLoop) {
    const QByteArray input = noise(1024 * 1024, 3);
    std::optional<RunOutcome> out;
    std::thread worker([&] {
        auto run = runArchiver(shell("cat; exit 4", input));
        if (run)
            out = *run;
    });
    worker.join();
    ASSERT_TRUE(out.has_value());
    EXPECT_EQ(out->exitCode, 4);
    EXPECT_TRUE(out->output == input);
}
