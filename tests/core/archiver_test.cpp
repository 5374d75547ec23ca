// Finding the archiver and running a child process through both pipes.

#include "compression/archiver.h"
#include "qt_printers.h"
#include "support/bytes.h"
#include "support/environment.h"
#include "support/fixtures.h"
#include "text/errortext.h"

#include <QDir>
#include <QFile>
#include <QSettings>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <optional>
#include <thread>
#include <vector>

using namespace qm;
using namespace qm::compression;
using qm::test::EnvGuard;
using qm::test::noise;
using qm::test::programFile;
using qm::test::writeStandIn;

namespace {

// A child that runs `steps` (see tests/support/standin.cpp), from a folder
// of its own that lives as long as the test program.
RunRequest child(const QByteArray& steps, const QByteArray& input = {}, qint64 limit = -1) {
    static QTemporaryDir folder;
    static int made = 0;
    RunRequest r;
    r.program = writeStandIn(folder.filePath(QStringLiteral("child%1").arg(++made)), steps);
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
        QString own = programFile(QDir(work).filePath(QStringLiteral("7za")));
        if (row.local == Local::Executable || row.local == Local::PlainFile)
            own = writeStandIn(QDir(work).filePath(QStringLiteral("7za")), "exit 0",
                               row.local == Local::Executable);
        if (row.local == Local::Folder) {
            ASSERT_TRUE(QDir().mkpath(own));
        }
        for (const char* name : row.onPath)
            writeStandIn(QDir(bin).filePath(QString::fromLatin1(name)), "exit 0");
        EnvGuard path("PATH", QFile::encodeName(bin));

        const QString folder = row.emptyWorkFolder ? QString() : work;
        auto found = findArchiver(folder);
        if (!row.expected) {
            ASSERT_FALSE(found);
            EXPECT_EQ(found.error().kind, ErrorKind::Archiver);
#ifdef Q_OS_WIN
            EXPECT_TRUE(text::fullText(found.error()).contains(QStringLiteral("https://www.7-zip.org/")));
            EXPECT_TRUE(text::fullText(found.error()).contains(QDir::toNativeSeparators(work)));
#else
            EXPECT_TRUE(text::userText(found.error()).contains(QStringLiteral("p7zip-full")));
            EXPECT_TRUE(text::fullText(found.error()).contains(work));
#endif
            continue;
        }
        ASSERT_TRUE(found) << text::fullText(found.error()).toStdString();
        const QString expected = QLatin1StringView(row.expected) == QLatin1StringView("local")
                                     ? own
                                     : programFile(QDir(bin).filePath(QString::fromLatin1(row.expected)));
        EXPECT_EQ(QDir::cleanPath(*found).toLower(), QDir::cleanPath(expected).toLower());
    }
}

TEST(ArchiverLookup, StartsTheProgramBehindADistributionWrapperScript) {
#ifdef Q_OS_WIN
    GTEST_SKIP() << "Windows has no wrapper scripts for 7za to see through";
#endif
    QTemporaryDir root;
    ASSERT_TRUE(root.isValid());
    const QString bin = root.filePath(QStringLiteral("bin"));
    const QString lib = root.filePath(QStringLiteral("lib"));
    ASSERT_TRUE(QDir().mkpath(bin) && QDir().mkpath(lib));
    const QString real = QDir(lib).filePath(QStringLiteral("7za"));
    writeStandIn(real, "exit 0");
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
        test::writeFile(wrapper, "#!/bin/sh\n" + row.wrapper + "\n");
        ASSERT_TRUE(QFile::setPermissions(wrapper, QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner));
        EnvGuard path("PATH", QFile::encodeName(bin));
        auto found = findArchiver(QString());
        ASSERT_TRUE(found);
        EXPECT_EQ(*found, row.bypassed ? real : wrapper);
    }
}

#ifdef Q_OS_WIN
// An installed 7-Zip is found through its registry key (HKCU or HKLM
// \Software\7-Zip, "Path"), else in Program Files, when nothing is on PATH.
TEST(ArchiverLookup, FindsTheSevenZOfAnInstalledSevenZip) {
    QTemporaryDir root;
    ASSERT_TRUE(root.isValid());
    const QString bin = root.filePath(QStringLiteral("bin"));
    const QString programs = root.filePath(QStringLiteral("programs"));
    const QString registered = root.filePath(QStringLiteral("elsewhere/7-Zip"));
    ASSERT_TRUE(QDir().mkpath(bin) && QDir().mkpath(programs));
    const QByteArray programsNative = QDir::toNativeSeparators(programs).toLocal8Bit();
    EnvGuard path("PATH", QFile::encodeName(QDir::toNativeSeparators(bin)));
    EnvGuard pf("ProgramFiles", programsNative), pf64("ProgramW6432", programsNative),
        pf32("ProgramFiles(x86)", programsNative);
    QSettings key(QStringLiteral("HKEY_CURRENT_USER\\Software\\7-Zip"), QSettings::NativeFormat);
    const QVariant before = key.value(QStringLiteral("Path"));
    key.remove(QStringLiteral("Path"));

    EXPECT_FALSE(findArchiver(QString())) << "no 7-Zip anywhere";
    const QString inProgramFiles = writeStandIn(programs + QStringLiteral("/7-Zip/7z"), "exit 0");
    auto found = findArchiver(QString());
    ASSERT_TRUE(found);
    EXPECT_EQ(QDir::cleanPath(*found).toLower(), QDir::cleanPath(inProgramFiles).toLower());

    const QString inRegistry = writeStandIn(registered + QStringLiteral("/7z"), "exit 0");
    key.setValue(QStringLiteral("Path"), QDir::toNativeSeparators(registered) + QLatin1Char('\\'));
    key.sync();
    found = findArchiver(QString());
    if (before.isValid())
        key.setValue(QStringLiteral("Path"), before);
    else
        key.remove(QStringLiteral("Path"));
    ASSERT_TRUE(found);
    EXPECT_EQ(QDir::cleanPath(*found).toLower(), QDir::cleanPath(inRegistry).toLower());
}
#endif

TEST(ArchiverRun, PassesLargeInputAndOutputThroughBothPipes) {
    // Far more than a pipe holds in either direction: a runner that writes
    // all input before reading any output would hang here.
    const QByteArray input = noise(3 * 1024 * 1024 + 17, 1);
    RunRequest request = child("cat", input);
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
        {"drain\nexit 7", 7, false},
        {"read 10\nexit 3", 3, false},
        {"closeout\nsleep 200\nexit 5", 5, false}, // output closed long before the end
        {"crash", 0, true},
        {"read 10\ncrash", 0, true},
    };
    // An unread megabyte of input must not hang the run or kill the caller
    // with a broken pipe.
    const QByteArray inputs[] = {QByteArray(), noise(1024 * 1024, 2)};
    for (const Row& row : rows) {
        for (const QByteArray& input : inputs) {
            SCOPED_TRACE(std::string(row.script) + " with input " + std::to_string(input.size()));
            const RunOutcome out = mustRun(child(row.script, input));
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
        {"zeros 1000", 1000, false, 1000},
        {"zeros 1001", 1000, true, 1000},
        {"exit 0", 0, false, 0},
        {"out x", 0, true, 0},
        {"zeros 5000000", -1, false, 5000000},
        {"zeros 5000000", 200000, true, 200000},
        {"zeros -1", 100000, true, 100000}, // never ends by itself
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(std::string(row.script) + " limit " + std::to_string(row.limit));
        const RunOutcome out = mustRun(child(row.script, {}, row.limit));
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
    const RunOutcome out = mustRun(child("readline\nflood zzzzzzzzzzzzzzz\\n", input, 500000));
    EXPECT_TRUE(out.limitExceeded);
    EXPECT_EQ(out.output.size(), 500000);
}

TEST(ArchiverRun, KeepsOnlyTheTailOfStandardError) {
    const RunOutcome out = mustRun(child("errfill 200000 e\nout out\nerr THE END\\n\nexit 1"));
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
    const QStringList hostile = {QStringLiteral("a \"quoted\" b"),
                                 QStringLiteral("&& echo injected"),
                                 QStringLiteral("%PATH% $HOME ; `id`"),
                                 QStringLiteral("*"),
                                 QString(),
                                 QStringLiteral("Тема テーマ"),
                                 QStringLiteral("ends with \\"),
                                 QStringLiteral("\\\"q\\\" \\\\ x")};
    RunRequest request = child("args");
    request.arguments = hostile;
    const RunOutcome out = mustRun(request);
    QByteArray expected;
    for (const QString& arg : hostile)
        expected += "[" + arg.toUtf8() + "]\n";
    EXPECT_EQ(out.output, expected);
}

TEST(ArchiverRun, FailsOnlyWhenTheProgramCannotStart) {
    QTemporaryDir root;
    ASSERT_TRUE(root.isValid());
    const QString notExecutable = writeStandIn(root.filePath(QStringLiteral("7za")), "exit 0", false);
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
        auto run = runArchiver(child("cat\nexit 4", input));
        if (run)
            out = *run;
    });
    worker.join();
    ASSERT_TRUE(out.has_value());
    EXPECT_EQ(out->exitCode, 4);
    EXPECT_TRUE(out->output == input);
}
