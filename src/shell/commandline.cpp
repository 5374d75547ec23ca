#include "commandline.h"

#include <quillmark/version.h>

#include <optional>

namespace qm::ui {
namespace {

struct QtOption {
    const char* name; // with one dash, as Qt spells it
    bool takesValue;
};

// The options QGuiApplication, QApplication and the xcb platform take for
// themselves (also with two dashes).
constexpr QtOption kQtOptions[] = {
    {"-platform", true},
    {"-platformpluginpath", true},
    {"-platformtheme", true},
    {"-plugin", true},
    {"-qwindowgeometry", true},
    {"-qwindowicon", true},
    {"-qwindowtitle", true},
    {"-session", true},
    {"-style", true},
    {"-stylesheet", true},
    {"-display", true},
    {"-geometry", true},
    {"-title", true},
    {"-icon", true},
    {"-name", true},
    {"-visual", true},
    {"-reverse", false},
    {"-widgetcount", false},
    {"-nograb", false},
    {"-dograb", false},
    {"-sync", false},
    {"-testability", false},
};

// Qt's options that also take their value after "=".
constexpr const char* kQtInlineOptions[] = {"-style=", "-stylesheet=", "-qmljsdebugger="};

const QtOption* qtOption(const QString& spelling) {
    for (const QtOption& option : kQtOptions)
        if (spelling == QLatin1StringView(option.name))
            return &option;
    return nullptr;
}

bool isQtInlineOption(const QString& spelling) {
    for (const char* prefix : kQtInlineOptions)
        if (spelling.startsWith(QLatin1StringView(prefix)) && spelling.size() > qsizetype(qstrlen(prefix)))
            return true;
    return false;
}

ShellCommandLine usageError(const QString& message) {
    ShellCommandLine line;
    line.action = ShellCommandLine::Action::UsageError;
    line.error = message;
    return line;
}

} // namespace

ShellCommandLine parseShellCommandLine(const QStringList& args) {
    ShellCommandLine line;
    bool optionsEnded = false;
    std::optional<ShellCommandLine> failure;
    for (qsizetype i = 0; i < args.size(); ++i) {
        const QString& arg = args.at(i);
        if (optionsEnded || arg == u"-" || !arg.startsWith(u'-')) {
            line.files.append(arg);
            continue;
        }
        if (arg == u"--") {
            optionsEnded = true;
            continue;
        }
        if (arg == u"-h" || arg == u"--help") {
            line.action = ShellCommandLine::Action::Help;
            return line;
        }
        if (arg == u"--version") {
            line.action = ShellCommandLine::Action::Version;
            return line;
        }
        // Qt reads "--platform" as "-platform".
        const QString spelling = arg.startsWith(u"--") ? arg.mid(1) : arg;
        if (isQtInlineOption(spelling)) {
            line.qtOptions.append(spelling);
            continue;
        }
        const QtOption* option = qtOption(spelling);
        // A later --help or --version still wins over an earlier mistake.
        if (!option) {
            if (!failure)
                failure = usageError(QStringLiteral("unknown option %1").arg(arg));
            continue;
        }
        line.qtOptions.append(spelling);
        if (!option->takesValue)
            continue;
        if (i + 1 >= args.size()) {
            if (!failure)
                failure = usageError(QStringLiteral("option %1 needs a value").arg(arg));
            continue;
        }
        line.qtOptions.append(args.at(++i));
    }
    return failure ? *failure : line;
}

QString shellUsageText() {
    return QStringLiteral("Usage: quillmark [OPTION]... [--] [FILE]...\n"
                          "\n"
                          "Edits the PSP home menu modules vshmain.prx and paf.prx. Each FILE is\n"
                          "opened as File > Open opens it: a plain module in a new editor window, a\n"
                          "packed (~PSP) module with the offer to unpack it.\n"
                          "\n"
                          "Options:\n"
                          "  -h, --help     print this text and exit\n"
                          "      --version  print the version and exit\n"
                          "  --             end the options; the arguments that follow are files, also\n"
                          "                 ones whose names start with \"-\"\n"
                          "\n"
                          "Qt's own options, such as -platform NAME, -style NAME, -display DISPLAY,\n"
                          "-geometry WxH+X+Y and -reverse, are passed on to Qt.\n"
                          "\n"
                          "Exit status: 0 when the program ended normally or printed its help or\n"
                          "version, 1 for a usage error.\n");
}

QString shellVersionText() {
    return QStringLiteral("quillmark " QUILLMARK_VERSION);
}

} // namespace qm::ui
