#include "cli_harness.h"
#include "prx/catalogue.h"
#include "support/known_offsets.h"

#include <QDir>
#include <QJsonDocument>

using namespace qm;
using namespace qm::test;

namespace {

QList<QJsonObject> jsonLines(const QByteArray& out) {
    QList<QJsonObject> objects;
    for (const QByteArray& line : out.split('\n')) {
        if (line.isEmpty())
            continue;
        QJsonParseError error;
        const QJsonDocument doc = QJsonDocument::fromJson(line, &error);
        EXPECT_EQ(error.error, QJsonParseError::NoError) << line.toStdString();
        objects.append(doc.object());
    }
    return objects;
}

class Identify : public CliTest {};

} // namespace

TEST_F(Identify, TellsEveryReleaseOfBothModules) {
    struct Expect {
        QString file, kind, label;
        int version;
        qint64 size;
    };
    QList<Expect> expected;
    QStringList args{QStringLiteral("identify"), QStringLiteral("--json")};
    for (int v = 1; v <= prx::kVshRows; ++v) {
        expected.append({writeVsh(v), QStringLiteral("vsh"), QString::fromLatin1(known::vshRelease(v).label),
                         v, known::vshRelease(v).fileSize});
        args.append(expected.last().file);
    }
    for (int v = 1; v <= prx::kPafRows; ++v) {
        expected.append({writePaf(v), QStringLiteral("paf"), QString::fromLatin1(known::pafRelease(v).label),
                         v, known::pafRelease(v).fileSize});
        args.append(expected.last().file);
    }
    const CliRun r = run(args);
    ASSERT_EQ(r.exitCode, 0) << r.err.toStdString();
    const auto lines = jsonLines(r.out);
    ASSERT_EQ(lines.size(), expected.size());
    for (qsizetype i = 0; i < lines.size(); ++i) {
        const QJsonObject& o = lines[i];
        const Expect& e = expected[i];
        EXPECT_EQ(o[u"path"].toString(), e.file);
        EXPECT_EQ(o[u"kind"].toString(), e.kind) << e.file.toStdString();
        EXPECT_EQ(o[u"version"].toInt(), e.version) << e.file.toStdString();
        EXPECT_EQ(o[u"label"].toString(), e.label);
        EXPECT_EQ(o[u"size"].toInteger(), e.size);
        EXPECT_FALSE(o.contains(u"name"));
    }
}

TEST_F(Identify, DescribesPackedInvalidAndShortFiles) {
    const QString packed = path(QStringLiteral("packed.prx"));
    const QByteArray packedBytes = makePacked(QByteArray(500, 'x'), 311434, "vshmain");
    writeFile(packed, packedBytes);
    const QString unknown = path(QStringLiteral("unknown.prx"));
    writeFile(unknown, makePacked(QByteArray(10, 'y'), 123, " blank"));
    const QString invalid = path(QStringLiteral("invalid.prx"));
    writeFile(invalid, QByteArray(4000, '\1'));
    const QString tiny = path(QStringLiteral("tiny.prx"));
    writeFile(tiny, QByteArray("~PS"));

    const CliRun r =
        run({QStringLiteral("identify"), QStringLiteral("--json"), packed, unknown, invalid, tiny});
    EXPECT_EQ(r.exitCode, 2) << r.err.toStdString(); // two files of no kind known
    const auto lines = jsonLines(r.out);
    ASSERT_EQ(lines.size(), 4);

    EXPECT_EQ(lines[0][u"kind"].toString(), QStringLiteral("packed"));
    EXPECT_EQ(lines[0][u"version"].toInt(), -1);
    EXPECT_EQ(lines[0][u"label"].toString(), QStringLiteral("VSHMain.prx - 3.71"));
    EXPECT_EQ(lines[0][u"name"].toString(), QStringLiteral("vshmain"));
    EXPECT_EQ(lines[0][u"plain_size"].toInteger(), 311434);
    EXPECT_EQ(lines[0][u"packed_size"].toInteger(), packedBytes.size());
    EXPECT_EQ(lines[0][u"size"].toInteger(), packedBytes.size());

    EXPECT_EQ(lines[1][u"label"].toString(), QStringLiteral("Unknow"));
    EXPECT_EQ(lines[1][u"name"].toString(), QStringLiteral("Unknow"));

    for (int i : {2, 3}) {
        EXPECT_EQ(lines[i][u"kind"].toString(), QStringLiteral("invalid"));
        EXPECT_EQ(lines[i][u"version"].toInt(), -1);
        EXPECT_EQ(lines[i][u"label"].toString(), QString());
        EXPECT_FALSE(lines[i].contains(u"name"));
    }
    EXPECT_EQ(lines[3][u"size"].toInteger(), 3);
}

TEST_F(Identify, GoesOnAfterAnUnreadableFileAndExitsTwo) {
    const QString folder = path(QStringLiteral("folder"));
    ASSERT_TRUE(QDir().mkpath(folder));
    const QString missing = path(QStringLiteral("missing.prx"));
    const QString vsh = writeVsh(12);
    const QString paf = writePaf(1);

    const CliRun r = run({QStringLiteral("identify"), folder, vsh, missing, paf});
    EXPECT_EQ(r.exitCode, 2);
    const QStringList lines = r.outText().split(u'\n', Qt::SkipEmptyParts);
    ASSERT_EQ(lines.size(), 2);
    EXPECT_EQ(lines[0], vsh + QStringLiteral(": VSHMain.prx - 3.71 (vsh, version 12, 311434 bytes)"));
    EXPECT_TRUE(lines[1].startsWith(paf + QStringLiteral(": Paf.prx - 1.5x (paf, version 1,")));
    EXPECT_TRUE(r.errText().contains(folder));
    EXPECT_TRUE(r.errText().contains(missing));
}

TEST_F(Identify, UsageAndHelp) {
    struct Case {
        QStringList args;
        int exitCode;
        bool usageOnStdout;
    };
    const Case cases[] = {
        {{}, 1, false},
        {{QStringLiteral("--help")}, 0, true},
        {{QStringLiteral("help")}, 0, true},
        {{QStringLiteral("dump"), QStringLiteral("--help")}, 0, true},
        {{QStringLiteral("frobnicate")}, 1, false},
        {{QStringLiteral("identify")}, 1, false},
        {{QStringLiteral("identify"), QStringLiteral("--jsn"), QStringLiteral("x")}, 1, false},
        {{QStringLiteral("dump"), QStringLiteral("a"), QStringLiteral("b")}, 1, false},
        {{QStringLiteral("keys"), QStringLiteral("extra")}, 1, false},
    };
    for (const Case& c : cases) {
        const CliRun r = run(c.args);
        const std::string what = c.args.join(u' ').toStdString();
        EXPECT_EQ(r.exitCode, c.exitCode) << what;
        EXPECT_EQ(r.outText().contains(QStringLiteral("Usage: quillmark-cli")), c.usageOnStdout) << what;
        if (c.exitCode != 0) {
            EXPECT_FALSE(r.err.isEmpty()) << what;
        }
    }
}

// Names beyond ASCII (and beyond the ANSI code page, on Windows) reach the
// tool whole and come back as UTF-8 with "\n" line ends, in the text and
// the JSON lines, in a folder named so too; a file the tool writes (set -o)
// lands under the name given.
TEST_F(Identify, NamesBeyondAsciiPassThroughWhole) {
    const QString folder = path(QStringLiteral("Тема テーマ ü"));
    ASSERT_TRUE(QDir().mkpath(folder));
    const QString vsh = writeVsh(12, 1, QStringLiteral("Тема テーマ ü/vshmain ✓.prx"));
    const QString copy = folder + QStringLiteral("/копия コピー.prx");

    const CliRun text = run({QStringLiteral("identify"), vsh});
    ASSERT_EQ(text.exitCode, 0) << text.err.toStdString();
    EXPECT_EQ(text.out,
              (vsh + QStringLiteral(": VSHMain.prx - 3.71 (vsh, version 12, 311434 bytes)\n")).toUtf8());

    const CliRun json = run({QStringLiteral("identify"), QStringLiteral("--json"), vsh});
    ASSERT_EQ(json.exitCode, 0);
    EXPECT_FALSE(json.out.contains('\r'));
    const auto lines = jsonLines(json.out);
    ASSERT_EQ(lines.size(), 1);
    EXPECT_EQ(lines[0][u"path"].toString(), vsh);

    const CliRun set =
        run({QStringLiteral("set"), vsh, QStringLiteral("-o"), copy, QStringLiteral("XmbX=2")});
    ASSERT_EQ(set.exitCode, 0) << set.err.toStdString();
    EXPECT_TRUE(set.errText().contains(copy)) << set.err.toStdString();
    EXPECT_EQ(readFile(copy).size(), 311434);
}
