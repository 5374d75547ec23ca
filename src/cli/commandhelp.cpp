// The text of `quillmark-cli COMMAND --help`: one command's usage, what it
// does, its options and an example.

#include "commandhelp.h"

#include <QStringList>

namespace qm::cli {
namespace {

struct CommandHelp {
    const char* name;
    const char* usage;   // after "Usage: quillmark-cli "
    const char* what;    // what the command does, a few lines
    const char* options; // "  --opt  text" lines, without -h
    const char* example; // one or more command lines
};

constexpr CommandHelp kHelp[] = {
    {"identify", "identify [--json] FILE...",
     "Prints the kind and firmware release of each file, one line each: a plain\n"
     "module, a packed (~PSP) module or a CXMB theme (.ctf). Exits 2 when a file\n"
     "is none of them or can't be read, after going through every file.\n",
     "  --json                           one JSON object per file\n",
     "quillmark-cli identify vshmain.prx paf.prx\n"
     "quillmark-cli identify --json vshmain.prx\n"},
    {"dump", "dump [--json] FILE",
     "Prints every value of a plain module, one NAME = VALUE line each, under a\n"
     "line that identifies the module.\n",
     "  --json                           the look file that apply and the editor's\n"
     "                                   File > Import Look... read\n",
     "quillmark-cli dump vshmain.prx\n"
     "quillmark-cli dump --json vshmain.prx > look.json\n"},
    {"set", "set FILE [-o OUT] [--backup] NAME=VALUE...",
     "Changes the named values of a plain module, all in one save. Values are\n"
     "named as dump names them; every value is checked before anything is\n"
     "written. Menu fields: category, icon (sets the order too), region, enabled.\n",
     "  -o OUT, --output OUT             write a copy OUT instead of changing FILE\n"
     "  --backup                         keep FILE as FILE.orig first, once\n",
     "quillmark-cli set vshmain.prx XmbX=1.5 'TextColors[3]=#FF8000'\n"
     "quillmark-cli set vshmain.prx 'MenuEntries[2].category=Photo' -o new.prx\n"},
    {"apply",
     "apply FILE VALUES.json [-o OUT] [--backup]\n"
     "       quillmark-cli apply MODULE THEME.ctf [-o OUT] [--backup]",
     "Applies the values of a look file (dump --json), also one of another\n"
     "firmware release of the same kind; values the release lacks are listed.\n"
     "With a CXMB theme, writes the module as the theme plugin leaves it.\n",
     "  -o OUT, --output OUT             write a copy OUT instead of changing FILE\n"
     "  --backup                         keep FILE as FILE.orig first, once\n",
     "quillmark-cli apply other/vshmain.prx look.json -o new/vshmain.prx\n"
     "quillmark-cli apply vshmain.prx blue.ctf -o themed.prx\n"},
    {"unpack", "unpack PACKED OUT",
     "Unpacks a gzip-packed (~PSP) module, also one behind a ~SCE header, into\n"
     "the plain module OUT. An encrypted module is refused.\n",
     "", "quillmark-cli unpack packed.prx plain.prx\n"},
    {"pack", "pack PLAIN --header HEADER [--key N] [-o OUT] [--backup]",
     "Packs a plain module behind the ~PSP header (and the ~SCE header, if any)\n"
     "of the packed module HEADER. PLAIN is replaced unless -o is given; the\n"
     "result must pass every check of check first.\n",
     "  --header HEADER                  the packed module whose header is copied\n"
     "  --key N                          the module key, as keys lists it\n"
     "  -o OUT, --output OUT             write OUT instead of replacing PLAIN\n"
     "  --backup                         keep PLAIN as PLAIN.orig first, once\n",
     "quillmark-cli pack plain.prx --header packed.prx --key 0 -o repacked.prx\n"},
    {"keys", "keys", "Lists the module keys that pack --key takes: number, name and bytes.\n", "",
     "quillmark-cli keys\n"},
    {"check", "check [--json] MODULE...",
     "Checks packed modules as a console's loader meets them (sizes, stream,\n"
     "release, key, and the name as a note), plain modules for their release and\n"
     "ELF head, and CXMB themes (.ctf) for what the theme plugin needs. Never\n"
     "writes. Exits 3 when a check fails.\n",
     "  --json                           one JSON object per file\n",
     "quillmark-cli check repacked.prx\n"
     "quillmark-cli check blue.ctf\n"},
    {"diff", "diff [--json] A B",
     "Prints the values two modules of one kind differ in, also of two releases,\n"
     "then the values only one of them has. Exits 4 when a value differs.\n",
     "  --json                           one JSON object\n",
     "quillmark-cli diff vshmain.prx other/vshmain.prx\n"},
    {"theme", "theme OUT.ctf --ptf BASE.ptf [MODULE]... [--firmware F] [--add PATH=FILE]...",
     "Makes a CXMB theme (.ctf) for the theme plugin: the PTF theme file, the\n"
     "bytes where each edited module differs from its stock one, and files\n"
     "stored whole under a flash PATH. A MODULE is --vsh EDITED, --paf EDITED or\n"
     "--common-gui EDITED; its stock defaults to EDITED.orig, the module as it\n"
     "was before Quillmark's first save over it.\n",
     "  --ptf BASE.ptf                   the PTF theme file the theme starts with\n"
     "  --vsh EDITED                     the edited vshmain.prx\n"
     "  --vsh-stock STOCK                the stock vshmain.prx (default EDITED.orig)\n"
     "  --paf EDITED                     the edited paf.prx\n"
     "  --paf-stock STOCK                the stock paf.prx (default EDITED.orig)\n"
     "  --common-gui EDITED              the edited common_gui.prx\n"
     "  --common-gui-stock STOCK         the stock common_gui.prx (default EDITED.orig)\n"
     "  --firmware F                     the firmware the theme is for, when no module\n"
     "                                   is of a release Quillmark knows\n"
     "  --add PATH=FILE                  store FILE whole under the flash PATH; may be\n"
     "                                   given more than once\n",
     "quillmark-cli theme blue.ctf --ptf blue.ptf --vsh vshmain.prx --paf paf.prx\n"
     "quillmark-cli theme blue.ctf --ptf blue.ptf --vsh vshmain.prx --vsh-stock stock/vshmain.prx\n"},
};

} // namespace

std::optional<QString> commandHelpText(QStringView command) {
    for (const CommandHelp& h : kHelp) {
        if (command != QLatin1StringView(h.name))
            continue;
        QString text =
            QStringLiteral("Usage: quillmark-cli %1\n\n%2\nOptions:\n%3")
                .arg(QLatin1StringView(h.usage), QLatin1StringView(h.what), QLatin1StringView(h.options));
        text += QStringLiteral("  -h, --help                       this text\n"
                               "  --                               ends the options: what follows are "
                               "operands\n\n");
        const QStringList examples = QLatin1StringView(h.example).toString().split(u'\n', Qt::SkipEmptyParts);
        text += examples.size() == 1 ? QStringLiteral("Example:\n") : QStringLiteral("Examples:\n");
        for (const QString& line : examples)
            text += QStringLiteral("  ") + line + u'\n';
        text += QStringLiteral("\nquillmark-cli --help lists every command.\n");
        return text;
    }
    return std::nullopt;
}

} // namespace qm::cli
