// Options every command shares: the version, and "--" before operands that
// start with "-".

#include "cli_harness.h"

using namespace qm::test;

namespace {

class Options : public CliTest {};

TEST_F(Options, VersionIsTheProjectVersion) {
    const CliRun r = run({QStringLiteral("--version")});
    EXPECT_EQ(r.exitCode, 0);
    EXPECT_EQ(r.outText(), QStringLiteral("quillmark-cli " QUILLMARK_PROJECT_VERSION "\n"));
    EXPECT_TRUE(r.err.isEmpty());
}

TEST_F(Options, OperandsStartingWithADash) {
    const QString vsh = writeVsh(12, 1, QStringLiteral("-x.prx"));
    struct Case {
        QStringList args;
        int exitCode;
        QString outStart; // empty: nothing on standard output
        QString errPart;
    };
    const Case cases[] = {
        {{QStringLiteral("identify"), QStringLiteral("--"), QStringLiteral("-x.prx")},
         0,
         QStringLiteral("-x.prx: VSHMain.prx - 3.71 (vsh, version 12, 311434 bytes)"),
         {}},
        {{QStringLiteral("identify"), QStringLiteral("--json"), QStringLiteral("--"),
          QStringLiteral("-x.prx")},
         0,
         QStringLiteral("{\"path\":\"-x.prx\",\"size\":311434,\"kind\":\"vsh\""),
         {}},
        {{QStringLiteral("identify"), QStringLiteral("-x.prx")},
         1,
         {},
         QStringLiteral("unknown option -x.prx")},
        {{QStringLiteral("--bogus")}, 1, {}, QStringLiteral("unknown option --bogus")},
        {{QStringLiteral("bogus")}, 1, {}, QStringLiteral("unknown command bogus")},
        // After "--" even --help is an operand.
        {{QStringLiteral("identify"), QStringLiteral("--"), QStringLiteral("--help")},
         2,
         {},
         QStringLiteral("--help")},
    };
    for (const Case& c : cases) {
        const CliRun r = run(c.args);
        const std::string what = c.args.join(u' ').toStdString();
        EXPECT_EQ(r.exitCode, c.exitCode) << what << "\n" << r.err.toStdString();
        if (c.outStart.isEmpty())
            EXPECT_TRUE(r.out.isEmpty()) << what;
        else
            EXPECT_TRUE(r.outText().startsWith(c.outStart)) << what << "\n" << r.out.toStdString();
        EXPECT_TRUE(r.errText().contains(c.errPart)) << what << "\n" << r.err.toStdString();
    }
    EXPECT_TRUE(QFile::exists(vsh));
}

} // namespace
