// Command-line benchmarks: dump and set of a PAF module, diff of two VSH
// modules, themes of a VSH and a PAF module next to a plain C maker, unpack
// and pack of a 2 MB module next to bare 7za on the same input, and check of
// it next to gzip -t on its stream.

#include "bench_common.h"
#include "compression/archiver.h"
#include "compression/pack.h"
#include "support/fixtures.h"
#include "text/errortext.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QStandardPaths>
#include <QTemporaryDir>

#include <cstdio>
#include <tuple>

using namespace qm;
using namespace qm::bench;

namespace {

// A byte in every 16 changed, from the first segment on: about 138,000 runs
// over VSH 3.71 and PAF 3.7x.
QByteArray changedAllOver(QByteArray module) {
    for (qint64 i = test::kFirstSegment; i < module.size(); i += 16)
        module[i] = static_cast<char>(module.at(i) ^ 0x5A);
    return module;
}

// 3.71 themes of VSH 3.71 and PAF 3.7x, with every value of both edited and
// with both changed all over, next to a plain C maker on the same files. The
// files lie on tmpfs when there is one, so that the disk's sync and rename
// times (quillmark-cli writes the theme in one piece and syncs it; the
// plain maker does neither) stay out of the comparison.
QList<Row> themeRows(const QString& fallbackFolder, int runs) {
    const QString shm = QStringLiteral("/dev/shm");
    QTemporaryDir dir(QFileInfo(shm).isDir() && QFileInfo(shm).isWritable()
                          ? shm + QStringLiteral("/quillmark-bench-XXXXXX")
                          : fallbackFolder + QStringLiteral("/theme-XXXXXX"));
    const auto path = [&](const QString& name) { return dir.path() + QLatin1Char('/') + name; };
    test::writeFile(path(QStringLiteral("base.ptf")), test::makePtf("Bench", 0x8000, 0x9000));
    struct Case {
        QString what;
        double most; // ratio to the plain maker
        QByteArray (*edit)(const QByteArray& stock, const test::ModuleFixture& other);
    };
    const Case cases[] = {
        {QStringLiteral("every value of both edited"), 2.5,
         [](const QByteArray& stock, const test::ModuleFixture& other) {
             return test::withValuesOf(stock, other);
         }},
        {QStringLiteral("a byte in every 16 changed"), 2.0,
         [](const QByteArray& stock, const test::ModuleFixture&) { return changedAllOver(stock); }},
    };
    QList<Row> rows;
    for (const Case& c : cases) {
        QStringList ours{QStringLiteral("theme"), path(QStringLiteral("ours.ctf")), QStringLiteral("--ptf"),
                         path(QStringLiteral("base.ptf"))};
        QStringList plain{path(QStringLiteral("plain.ctf")), path(QStringLiteral("base.ptf"))};
        for (const auto& [name, kind, version] : {std::tuple{"vshmain.prx", prx::ModuleKind::Vsh, 12},
                                                  std::tuple{"paf.prx", prx::ModuleKind::Paf, 11}}) {
            const QString edited = path(QLatin1StringView(name));
            const QByteArray stock = test::withElfHead(test::makeModule({kind, version}, 1).bytes);
            test::writeFile(edited + QStringLiteral(".orig"), stock);
            test::writeFile(edited, c.edit(stock, test::makeModule({kind, version}, 2)));
            ours << (kind == prx::ModuleKind::Vsh ? QStringLiteral("--vsh") : QStringLiteral("--paf"))
                 << edited;
            plain << edited + QStringLiteral(".orig") << edited;
        }
        QList<double> oursMs, plainMs;
        for (int i = 0; i < runs; ++i) {
            oursMs.append(runMs(QStringLiteral(QUILLMARK_CLI_PATH), ours));
            plainMs.append(runMs(QStringLiteral(QUILLMARK_THEME_BASELINE_PATH), plain));
        }
        const double ratio = median(oursMs) / median(plainMs);
        // Every value edited is what an editor's theme holds: it also has a time of its own to keep.
        const bool values = c.most > 2.0;
        rows.append({QStringLiteral("theme, %1 (median)").arg(c.what), median(oursMs), QStringLiteral("ms"),
                     values ? QStringLiteral("< 50 ms") : QString(), !values || median(oursMs) < 50});
        rows.append({QStringLiteral("  a plain C maker on the same files (median)"), median(plainMs),
                     QStringLiteral("ms"), QString(), true});
        rows.append({QStringLiteral("  theme ratio"), ratio, QStringLiteral("x"),
                     QStringLiteral("<= %1x").arg(c.most), ratio <= c.most});
    }
    return rows;
}

} // namespace

int main(int argc, char** argv) {
    QCoreApplication app(argc, argv);
    const QString cli = QStringLiteral(QUILLMARK_CLI_PATH);
    const int runs = qEnvironmentVariableIntValue("QM_BENCH_RUNS") > 0
                         ? qEnvironmentVariableIntValue("QM_BENCH_RUNS")
                         : 15;
    QTemporaryDir dir;
    qputenv("QUILLMARK_DATA_DIR", (dir.path() + QStringLiteral("/Data")).toLocal8Bit());
    const auto path = [&](const char* name) { return dir.path() + QLatin1Char('/') + QLatin1String(name); };

    // PAF 3.1x: 2,259,492 bytes.
    const QByteArray module = test::makePaf(8).bytes;
    test::writeFile(path("paf.prx"), module);

    QList<Row> rows;
    QList<double> dump, set;
    for (int i = 0; i < runs; ++i) {
        dump.append(runMs(cli, {QStringLiteral("dump"), QStringLiteral("--json"), path("paf.prx")}));
        set.append(runMs(cli, {QStringLiteral("set"), path("paf.prx"),
                               QStringLiteral("XmbOverallSize=%1").arg(i % 2 ? 1.5 : 2.5)}));
    }
    rows.append({QStringLiteral("dump --json, PAF 2.2 MB (median wall time)"), median(dump),
                 QStringLiteral("ms"), QStringLiteral("< 20 ms"), median(dump) < 20});
    rows.append({QStringLiteral("set of one value, PAF 2.2 MB (median wall time)"), median(set),
                 QStringLiteral("ms"), QString(), true});

    // Two 3.71 modules that differ in most of their values.
    test::writeFile(path("vsh-a.prx"), test::makeVsh(12, 1).bytes);
    test::writeFile(path("vsh-b.prx"), test::makeVsh(12, 2).bytes);
    QList<double> diff;
    for (int i = 0; i < runs; ++i)
        diff.append(runMs(cli, {QStringLiteral("diff"), path("vsh-a.prx"), path("vsh-b.prx")}, {}, {}, 4));
    rows.append({QStringLiteral("diff of two VSH modules (median wall time)"), median(diff),
                 QStringLiteral("ms"), QStringLiteral("< 20 ms"), median(diff) < 20});

    rows += themeRows(dir.path(), runs);

    // Packed input for both unpackers: a header made by pack, and the bare gzip stream.
    auto archiver = compression::findArchiver(dir.path() + QStringLiteral("/Data/"));
    if (!archiver) {
        std::fprintf(stderr, "%s\n", qPrintable(text::fullText(archiver.error())));
        return 1;
    }
    test::writeFile(path("header.prx"), test::makePacked(QByteArray(64, 'x'), 5));
    auto packed =
        compression::packModule(path("paf.prx"), path("header.prx"), 0, path("packed.prx"), dir.path());
    if (!packed) {
        std::fprintf(stderr, "%s\n", qPrintable(text::fullText(packed.error())));
        return 1;
    }
    test::writeFile(path("stream.gz"), test::readFile(path("packed.prx")).mid(336));
    QDir().mkpath(path("bare"));

    QList<double> ours, bare;
    for (int i = 0; i < runs; ++i) {
        ours.append(runMs(cli, {QStringLiteral("unpack"), path("packed.prx"), path("unpacked.prx")}));
        bare.append(runMs(*archiver, {QStringLiteral("e"), path("stream.gz"),
                                      QStringLiteral("-o") + path("bare"), QStringLiteral("-y")}));
    }
    // Where the tool's time goes: its own start-up, and 7za streaming the
    // module through pipes as the tool runs it.
    QList<double> startup, streamed;
    for (int i = 0; i < runs; ++i) {
        startup.append(runMs(cli, {QStringLiteral("keys")}));
        streamed.append(runMs(*archiver,
                              {QStringLiteral("e"), QStringLiteral("-si"), QStringLiteral("-so"),
                               QStringLiteral("-tgzip"), QStringLiteral("-y")},
                              path("stream.gz"), path("streamed.prx")));
    }
    const double unpackRatio = median(ours) / median(bare);
    rows.append({QStringLiteral("unpack, quillmark-cli (median)"), median(ours), QStringLiteral("ms"),
                 QString(), true});
    rows.append({QStringLiteral("  of which: quillmark-cli start-up (keys)"), median(startup),
                 QStringLiteral("ms"), QString(), true});
    rows.append({QStringLiteral("  of which: 7za e -si -so through pipes"), median(streamed),
                 QStringLiteral("ms"), QString(), true});
    rows.append(
        {QStringLiteral("unpack, bare 7za e (median)"), median(bare), QStringLiteral("ms"), QString(), true});
    rows.append({QStringLiteral("unpack ratio"), unpackRatio, QStringLiteral("x"), QStringLiteral("<= 1.2x"),
                 unpackRatio <= 1.2});

    const QString gzipTool = QStandardPaths::findExecutable(QStringLiteral("gzip"));
    if (!gzipTool.isEmpty()) {
        QList<double> check, gzipTest;
        for (int i = 0; i < runs; ++i) {
            check.append(runMs(cli, {QStringLiteral("check"), path("packed.prx")}));
            gzipTest.append(runMs(gzipTool, {QStringLiteral("-t"), path("stream.gz")}));
        }
        const double checkRatio = median(check) / median(gzipTest);
        rows.append({QStringLiteral("check, packed PAF %1 MB (median)")
                         .arg(static_cast<double>(packed->packedSize) / 1e6, 0, 'f', 1),
                     median(check), QStringLiteral("ms"), QString(), true});
        rows.append({QStringLiteral("gzip -t on its stream (median)"), median(gzipTest), QStringLiteral("ms"),
                     QString(), true});
        rows.append({QStringLiteral("check ratio"), checkRatio, QStringLiteral("x"),
                     QStringLiteral("<= 1.5x"), checkRatio <= 1.5});
    }

    const int packRuns = std::max(3, runs / 5);
    QList<double> oursPack, barePack;
    for (int i = 0; i < packRuns; ++i) {
        oursPack.append(runMs(cli, {QStringLiteral("pack"), path("paf.prx"), QStringLiteral("--header"),
                                    path("header.prx"), QStringLiteral("-o"), path("repacked.prx")}));
        QFile::remove(path("bare.gz"));
        barePack.append(runMs(*archiver,
                              {QStringLiteral("a"), QStringLiteral("-tgzip"), QStringLiteral("-mpass15"),
                               QStringLiteral("-mfb258"), QStringLiteral("-mx9"), path("bare.gz"),
                               QStringLiteral("-si"), QStringLiteral("-y")},
                              path("paf.prx")));
    }
    const double packRatio = median(oursPack) / median(barePack);
    rows.append({QStringLiteral("pack, quillmark-cli (median)"), median(oursPack), QStringLiteral("ms"),
                 QString(), true});
    rows.append({QStringLiteral("pack, bare 7za a -tgzip -mx9 (median)"), median(barePack),
                 QStringLiteral("ms"), QString(), true});
    rows.append({QStringLiteral("pack ratio"), packRatio, QStringLiteral("x"), QStringLiteral("<= 1.1x"),
                 packRatio <= 1.1});

    printRows(QStringLiteral("Command line (%1 runs, pack %2 runs)").arg(runs).arg(packRuns), rows);
    return 0;
}
