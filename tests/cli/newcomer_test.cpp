// What a newcomer meets first: each command's own --help, identify and check
// of files of other kinds, and the messages of theme about the modules given.

#include "cli_harness.h"
#include "support/known_offsets.h"

#include <QFile>
#include <QJsonDocument>
#include <QJsonObject>
#include <QRegularExpression>

using namespace qm;
using namespace qm::test;

namespace {

class Newcomer : public CliTest {
protected:
    QString firstLine(const QByteArray& bytes) const { return QString::fromUtf8(bytes).section(u'\n', 0, 0); }
};

const char* const kCommandNames[] = {"identify", "dump", "set",   "apply", "unpack",
                                     "pack",     "keys", "check", "diff",  "theme"};

TEST_F(Newcomer, EachCommandHasItsOwnHelp) {
    for (const char* name : kCommandNames) {
        const QString command = QLatin1StringView(name);
        for (const QStringList& args :
             {QStringList{command, QStringLiteral("--help")},
              QStringList{command, QStringLiteral("x.prx"), QStringLiteral("-h")}}) {
            const CliRun r = run(args);
            const std::string what = args.join(u' ').toStdString();
            EXPECT_EQ(r.exitCode, 0) << what;
            EXPECT_TRUE(r.err.isEmpty()) << what;
            EXPECT_TRUE(firstLine(r.out).startsWith(QStringLiteral("Usage: quillmark-cli %1").arg(command)))
                << what << "\n"
                << r.out.toStdString();
            EXPECT_FALSE(r.outText().contains(QStringLiteral("Commands:"))) << what; // not the general text
            EXPECT_TRUE(r.outText().contains(QStringLiteral("\nOptions:\n"))) << what;
            EXPECT_TRUE(r.outText().contains(
                QRegularExpression(QStringLiteral("\nExamples?:\n  quillmark-cli %1[ \n]").arg(command))))
                << what << "\n"
                << r.out.toStdString();
        }
    }
    // Without a command the general text, with every command.
    const CliRun general = run({QStringLiteral("--help")});
    EXPECT_EQ(general.exitCode, 0);
    EXPECT_EQ(firstLine(general.out), QStringLiteral("Usage: quillmark-cli COMMAND [ARGUMENTS]"));
    for (const char* name : kCommandNames)
        EXPECT_TRUE(general.outText().contains(QStringLiteral("\n  %1 ").arg(QLatin1StringView(name))))
            << name;
}

TEST_F(Newcomer, EveryOptionACommandsHelpNamesIsOneItTakes) {
    const QRegularExpression option(QStringLiteral("^  (-[a-z-]+)(?:[ ,]|$)"),
                                    QRegularExpression::MultilineOption);
    for (const char* name : kCommandNames) {
        const QString command = QLatin1StringView(name);
        const QString help = run({command, QStringLiteral("--help")}).outText();
        const QString options =
            help.section(QStringLiteral("\nOptions:\n"), 1).section(QStringLiteral("\n\n"), 0, 0);
        int named = 0;
        for (auto it = option.globalMatch(options); it.hasNext();) {
            const QString o = it.next().captured(1);
            if (o == u"-h" || o == u"--")
                continue;
            ++named;
            const CliRun r = run({command, o, QStringLiteral("x")});
            EXPECT_FALSE(r.errText().contains(QStringLiteral("unknown option")))
                << name << " " << o.toStdString() << ": " << r.err.toStdString();
        }
        const bool takesOptions = command != u"unpack" && command != u"keys";
        EXPECT_EQ(named > 0, takesOptions) << name;
    }
}

TEST_F(Newcomer, IdentifyFailsForAFileOfNoKindItKnows) {
    const QString vsh = writeVsh(12);
    const QString junk = path(QStringLiteral("junk.bin"));
    writeFile(junk, QByteArray(1000, 'x'));
    const struct {
        QStringList files;
        int exitCode;
        QString firstLine;
    } rows[] = {
        {{junk}, 2, junk + QStringLiteral(": invalid, no module of a known release (1000 bytes)")},
        {{vsh, junk}, 2, vsh + QStringLiteral(": VSHMain.prx - 3.71 (vsh, version 12, 311434 bytes)")},
        {{vsh}, 0, vsh + QStringLiteral(": VSHMain.prx - 3.71 (vsh, version 12, 311434 bytes)")},
    };
    for (const auto& row : rows) {
        const CliRun r = run(QStringList{QStringLiteral("identify")} + row.files);
        EXPECT_EQ(r.exitCode, row.exitCode) << row.files.join(u' ').toStdString();
        EXPECT_EQ(firstLine(r.out), row.firstLine);
        EXPECT_EQ(r.outText().count(u'\n'), row.files.size()); // a line for each file, the invalid too
    }
    const CliRun json = run({QStringLiteral("identify"), QStringLiteral("--json"), junk});
    EXPECT_EQ(json.exitCode, 2);
    EXPECT_EQ(QJsonDocument::fromJson(json.out).object()[u"kind"].toString(), QStringLiteral("invalid"));
}

TEST_F(Newcomer, APtfThemeFileIsCalledOneWithTheCommandThatTakesIt) {
    const QString ptf = path(QStringLiteral("base.ptf"));
    writeFile(ptf, makePtf("Blue Night", 0x2000, 0x3000));

    const CliRun id = run({QStringLiteral("identify"), ptf});
    EXPECT_EQ(id.exitCode, 0);
    EXPECT_EQ(
        firstLine(id.out),
        QStringLiteral("%1: PTF theme file \"Blue Night\" (12288 bytes), a theme base: make a CXMB theme "
                       "of it with quillmark-cli theme OUT.ctf --ptf %1")
            .arg(ptf));
    const QJsonObject o =
        QJsonDocument::fromJson(run({QStringLiteral("identify"), QStringLiteral("--json"), ptf}).out)
            .object();
    EXPECT_EQ(o[u"kind"].toString(), QStringLiteral("ptf"));
    EXPECT_EQ(o[u"title"].toString(), QStringLiteral("Blue Night"));
    EXPECT_EQ(o[u"size"].toInteger(), 0x3000);

    const CliRun check = run({QStringLiteral("check"), ptf});
    EXPECT_EQ(check.exitCode, 2);
    EXPECT_TRUE(check.out.isEmpty()) << check.out.toStdString(); // no packed-module checks
    EXPECT_EQ(firstLine(check.err),
              QStringLiteral("quillmark-cli: %1 is a PTF theme file \"Blue Night\", not a module or a CXMB "
                             "theme: check has no checks for it; make a CXMB theme of it with quillmark-cli "
                             "theme OUT.ctf --ptf %1")
                  .arg(ptf));
    EXPECT_FALSE(check.errText().contains(QStringLiteral("encrypted")));

    // Named as a theme, it is checked as the broken theme it was meant to be.
    const QString ctf = path(QStringLiteral("meant.ctf"));
    QFile::copy(ptf, ctf);
    const CliRun broken = run({QStringLiteral("check"), ctf});
    EXPECT_EQ(broken.exitCode, 3);
    EXPECT_TRUE(broken.outText().contains(QStringLiteral("\n  magic        FAILED")))
        << broken.out.toStdString();
}

TEST_F(Newcomer, ThemeMessagesNameTheModuleAndTheOption) {
    writeFile(path(QStringLiteral("base.ptf")), makePtf("Blue", 0x2000, 0x3000));
    const QByteArray vshStock = withElfHead(makeVsh(12).bytes);
    const QByteArray pafStock = withElfHead(makePaf(11).bytes);
    writeFile(path(QStringLiteral("vsh.prx.orig")), vshStock);
    writeFile(path(QStringLiteral("paf.prx.orig")), pafStock);
    QByteArray one = vshStock; // one byte of ClockX
    const qint64 clockX = known::vshOffset(12, "ClockX");
    one[clockX] = static_cast<char>(one.at(clockX) ^ 1);
    writeFile(path(QStringLiteral("vsh.prx")), one);
    QByteArray pafEdited = pafStock;
    pafEdited[0x1000] = static_cast<char>(pafEdited.at(0x1000) ^ 1);
    writeFile(path(QStringLiteral("paf.prx")), pafEdited);
    writeFile(path(QStringLiteral("lone.prx")), pafEdited); // no stock beside it

    const QString base = path(QStringLiteral("base.ptf"));
    const QString out = path(QStringLiteral("out.ctf"));
    const auto theme = [&](const QStringList& more) {
        return run(QStringList{QStringLiteral("theme"), out, QStringLiteral("--ptf"), base} + more);
    };
    const struct {
        const char* what;
        QStringList args;
        QString firstLine;
    } refused[] = {
        {"a PAF module as VSH",
         {QStringLiteral("--vsh"), path(QStringLiteral("paf.prx"))},
         QStringLiteral(
             "quillmark-cli: %1 is a PAF module, not vshmain.prx: Paf.prx - 3.7x (1893896 bytes); give "
             "it with --paf")
             .arg(path(QStringLiteral("paf.prx")))},
        {"a PAF module as VSH, before its stock is looked for",
         {QStringLiteral("--vsh"), path(QStringLiteral("lone.prx"))},
         QStringLiteral("quillmark-cli: %1 is a PAF module, not vshmain.prx: Paf.prx - 3.7x (1893896 bytes); "
                        "give it with --paf")
             .arg(path(QStringLiteral("lone.prx")))},
        {"a VSH module as PAF",
         {QStringLiteral("--paf"), path(QStringLiteral("vsh.prx"))},
         QStringLiteral("quillmark-cli: %1 is a VSH module, not paf.prx: VSHMain.prx - 3.71 (311434 bytes); "
                        "give it with --vsh")
             .arg(path(QStringLiteral("vsh.prx")))},
        {"a missing stock",
         {QStringLiteral("--vsh"), path(QStringLiteral("vsh.prx")), QStringLiteral("--vsh-stock"),
          QStringLiteral("/x.prx")},
         QStringLiteral("quillmark-cli: --vsh-stock: File not found: /x.prx")},
        {"a missing edited",
         {QStringLiteral("--paf"), path(QStringLiteral("none.prx")), QStringLiteral("--paf-stock"),
          path(QStringLiteral("paf.prx.orig"))},
         QStringLiteral("quillmark-cli: --paf: File not found: %1").arg(path(QStringLiteral("none.prx")))},
        {"a missing base",
         {QStringLiteral("--ptf"), QStringLiteral("/x.ptf"), QStringLiteral("--vsh"),
          path(QStringLiteral("vsh.prx"))},
         QStringLiteral("quillmark-cli: --ptf: File not found: /x.ptf")},
    };
    for (const auto& row : refused) {
        const CliRun r = theme(row.args);
        EXPECT_EQ(r.exitCode, 2) << row.what;
        EXPECT_EQ(firstLine(r.err), row.firstLine) << row.what;
        EXPECT_FALSE(QFile::exists(out)) << row.what;
    }

    // One byte of one value: every count in the singular.
    const CliRun made = theme({QStringLiteral("--vsh"), path(QStringLiteral("vsh.prx"))});
    ASSERT_EQ(made.exitCode, 0) << made.err.toStdString();
    EXPECT_EQ(made.outText().section(u'\n', 1, 1),
              QStringLiteral("  /vsh/module/vshmain.prx: 1 run, 1 byte changed (VSHMain.prx - 3.71); 1 value "
                             "changed, 0 changed bytes outside them"));
    // One byte outside any value.
    const CliRun outside = theme({QStringLiteral("--paf"), path(QStringLiteral("paf.prx"))});
    ASSERT_EQ(outside.exitCode, 0) << outside.err.toStdString();
    EXPECT_EQ(outside.outText().section(u'\n', 1, 1),
              QStringLiteral("  /vsh/module/paf.prx: 1 run, 1 byte changed (Paf.prx - 3.7x); 0 values "
                             "changed, 1 changed byte outside them"));
}

} // namespace
