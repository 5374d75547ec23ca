// quillmark-cli: identify, dump, change and (un)pack PSP vshmain.prx and
// paf.prx modules from the command line.

#include "args.h"
#include "commandhelp.h"
#include "commands.h"
#include "console.h"
#include "platform/consolestreams.h"

#include <quillmark/version.h>

#include <QCoreApplication>

#include <cstdio>

using namespace qm::cli;

namespace qm::cli {

QString usageText() {
    return QStringLiteral("Usage: quillmark-cli COMMAND [ARGUMENTS]\n"
                          "\n"
                          "Reads and changes the values of the PSP modules vshmain.prx and paf.prx.\n"
                          "\n"
                          "Commands:\n"
                          "  identify [--json] FILE...        the kind and firmware release of each file\n"
                          "  dump [--json] FILE               every value of a plain module\n"
                          "  set FILE [-o OUT] [--backup] NAME=VALUE...\n"
                          "                                   change values, in FILE or in a copy OUT\n"
                          "  apply FILE VALUES.json [-o OUT] [--backup]\n"
                          "                                   apply the values of a dump, also one of\n"
                          "                                   another firmware release\n"
                          "  unpack PACKED OUT                unpack a gzip-packed (~PSP) module, also one\n"
                          "                                   behind a ~SCE header (not an encrypted one)\n"
                          "  pack PLAIN --header HEADER [--key N] [-o OUT] [--backup]\n"
                          "                                   pack a plain module behind the header of\n"
                          "                                   HEADER (and its ~SCE header, if it has one);\n"
                          "                                   PLAIN is replaced unless -o is given\n"
                          "  keys                             the module keys --key takes\n"
                          "  check [--json] MODULE...         check packed modules as a console's loader\n"
                          "                                   meets them (sizes, stream, release, key, and\n"
                          "                                   the name as a note), plain ones for their\n"
                          "                                   release and ELF head\n"
                          "  diff [--json] A B                the values two modules of one kind differ in\n"
                          "  theme OUT.ctf --ptf BASE.ptf [MODULE]... [--firmware F] [--add PATH=FILE]...\n"
                          "                                   make a CXMB theme (.ctf) for the plugin:\n"
                          "                                   the PTF theme file, each MODULE's changes\n"
                          "                                   and files stored whole under a flash PATH;\n"
                          "                                   a MODULE is --vsh EDITED [--vsh-stock\n"
                          "                                   STOCK], --paf EDITED [--paf-stock STOCK]\n"
                          "                                   or --common-gui EDITED [--common-gui-stock\n"
                          "                                   STOCK]; STOCK defaults to EDITED.orig\n"
                          "  help                             this text\n"
                          "\n"
                          "Options:\n"
                          "  -h, --help                       this text; after a command, its own help\n"
                          "  --version                        the version of quillmark-cli\n"
                          "  --                               ends a command's options: what follows are\n"
                          "                                   operands, also names starting with \"-\"\n"
                          "\n"
                          "Values are named as dump names them:\n"
                          "  XmbX=1.5  XmbX=1,5  BmpSize=20000  MSIconPhoto=tex_x\n"
                          "  TextColors[3]=#FF8000  'MenuEntries[2].category=Photo'\n"
                          "Menu fields: category, icon (sets the order too), region, enabled.\n"
                          "The date and time formats are shown but never written.\n"
                          "--backup keeps the module that set, apply or pack overwrites as NAME.orig,\n"
                          "once; an existing NAME.orig is never replaced. Restore with: cp NAME.orig NAME\n"
                          "identify, check and apply (apply MODULE T.ctf) also take a CXMB theme (.ctf).\n"
                          "\n"
                          "Exit status: 0 success, 1 usage error, 2 a file that can't be read or written,\n"
                          "is not the kind the command needs, or an archiver failure, 3 a value refused\n"
                          "by a check or a conversion (nothing written) or a failed check of check,\n"
                          "4 a difference found by diff.\n");
}

} // namespace qm::cli

namespace {

struct Command {
    const char* name;
    int (*run)(const QStringList&);
};

constexpr Command kCommands[] = {
    {"identify", runIdentify}, {"dump", runDump},   {"set", runSet},   {"apply", runApply},
    {"unpack", runUnpack},     {"pack", runPack},   {"keys", runKeys}, {"check", runCheck},
    {"diff", runDiff},         {"theme", runTheme},
};

void printUsage(std::FILE* stream) {
    qm::platform::writeUtf8(stream, usageText().toUtf8());
}

} // namespace

int main(int argc, char** argv) {
    qm::platform::prepareStandardStreams();
    QCoreApplication app(argc, argv);
    QCoreApplication::setApplicationName(QStringLiteral("quillmark-cli"));

    QStringList args = QCoreApplication::arguments().mid(1);
    if (args.isEmpty()) {
        printUsage(stderr);
        return kExitUsage;
    }
    const QString name = args.takeFirst();
    if (name == u"help" || name == u"--help" || name == u"-h") {
        printUsage(stdout);
        return kExitOk;
    }
    if (name == u"--version") {
        printLine(QStringLiteral("quillmark-cli " QUILLMARK_VERSION));
        return kExitOk;
    }
    for (const Command& command : kCommands) {
        if (name != QLatin1StringView(command.name))
            continue;
        if (asksForHelp(args)) {
            printLine(commandHelpText(name).value_or(usageText()).chopped(1));
            return kExitOk;
        }
        return command.run(args);
    }
    if (name.startsWith(u'-'))
        return report(usageFailure(QStringLiteral("unknown option %1").arg(name)));
    return report(usageFailure(QStringLiteral("unknown command %1").arg(name)));
}
