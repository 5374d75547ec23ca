#include "args.h"

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

} // namespace qm::cli
