#include "args.h"

#include "backup.h"

namespace qm::cli {

Outcome<CommandLine> parseCommandLine(const QStringList& args, const QList<Option>& known) {
    CommandLine line;
    bool optionsEnded = false;
    for (qsizetype i = 0; i < args.size(); ++i) {
        const QString& arg = args.at(i);
        if (optionsEnded || arg == u"-" || !arg.startsWith(u'-')) {
            line.operands.append(arg);
            continue;
        }
        if (arg == u"--") {
            optionsEnded = true;
            continue;
        }
        QString spelling = arg;
        std::optional<QString> inlineValue;
        if (arg.startsWith(u"--")) {
            const qsizetype eq = arg.indexOf(u'=');
            if (eq > 0) {
                spelling = arg.left(eq);
                inlineValue = arg.mid(eq + 1);
            }
        }
        const Option* option = nullptr;
        for (const Option& s : known)
            if (s.name == spelling || s.alias.contains(spelling))
                option = &s;
        if (!option)
            return usageFailure(QStringLiteral("unknown option %1").arg(spelling));
        if (!option->takesValue) {
            if (inlineValue)
                return usageFailure(QStringLiteral("option %1 takes no value").arg(spelling));
            line.options.insert(option->name, QString());
            line.given.append({option->name, QString()});
            continue;
        }
        if (!inlineValue && i + 1 >= args.size())
            return usageFailure(QStringLiteral("option %1 needs a value").arg(spelling));
        const QString value = inlineValue ? *inlineValue : args.at(++i);
        line.options.insert(option->name, value);
        line.given.append({option->name, value});
    }
    return line;
}

QStringList CommandLine::values(const QString& name) const {
    QStringList out;
    for (const auto& [option, value] : given)
        if (option == name)
            out.append(value);
    return out;
}

bool asksForHelp(const QStringList& args) {
    for (const QString& arg : args) {
        if (arg == u"--")
            return false;
        if (arg == u"-h" || arg == u"--help")
            return true;
    }
    return false;
}

Outcome<CommandLine> parseCommand(const QStringList& args, const QList<Option>& known, qsizetype least,
                                  qsizetype most, const QString& countMessage) {
    auto line = parseCommandLine(args, known);
    if (!line)
        return line.error();
    if (line->operands.size() < least || line->operands.size() > most)
        return usageFailure(countMessage);
    return line;
}

int runOverFiles(const QStringList& args, const QString& countMessage,
                 const std::function<int(const QString& path, bool json)>& each) {
    auto line = parseCommand(args, {kJsonOption}, 1, args.size(), countMessage);
    if (!line)
        return report(line.error());
    const bool json = line->has(kJsonOption.name);
    int exitCode = kExitOk;
    for (const QString& path : std::as_const(line->operands)) {
        const int code = each(path, json);
        if (code == kExitFile || exitCode == kExitOk)
            exitCode = code == kExitOk ? exitCode : code;
    }
    return exitCode;
}

Outcome<CommandLine> parseWritingCommand(const QStringList& args, qsizetype least, qsizetype most,
                                         const QString& countMessage) {
    auto line =
        parseCommand(args, {{QStringLiteral("-o"), {QStringLiteral("--output")}, true}, kBackupOption}, least,
                     most, countMessage);
    if (!line)
        return line.error();
    if (line->has(QStringLiteral("-o")) && line->value(QStringLiteral("-o")).isEmpty())
        return usageFailure(QStringLiteral("-o needs a file name"));
    return line;
}

} // namespace qm::cli
