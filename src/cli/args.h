#pragma once

// Options and operands of one command.

#include "console.h"

#include <QHash>
#include <QList>
#include <QString>
#include <QStringList>

#include <functional>
#include <utility>

namespace qm::cli {

struct Option {
    QString name;      // as reported and looked up, e.g. "-o"
    QStringList alias; // other spellings, e.g. "--output"
    bool takesValue = false;
};

struct CommandLine {
    QStringList operands;
    QHash<QString, QString> options; // by Option::name; flags hold an empty text; the last value given
    QList<std::pair<QString, QString>> given; // every option in the order given, by Option::name

    bool has(const QString& name) const { return options.contains(name); }
    QString value(const QString& name) const { return options.value(name); }
    // Every value of an option that may be given more than once.
    QStringList values(const QString& name) const;
};

// Options may come anywhere; "--" ends them. A long option also takes its
// value as "--name=value". Unknown options and missing values are usage failures.
Outcome<CommandLine> parseCommandLine(const QStringList& args, const QList<Option>& known);

inline const Option kJsonOption{QStringLiteral("--json"), {}, false};

// The command line with `least` to `most` operands (usage `countMessage` otherwise).
Outcome<CommandLine> parseCommand(const QStringList& args, const QList<Option>& known, qsizetype least,
                                  qsizetype most, const QString& countMessage);

// A command over one file or more with --json: `each` handles one file and
// returns its exit code. The command's code is kExitFile when any file
// failed so, otherwise the first other failure's.
int runOverFiles(const QStringList& args, const QString& countMessage,
                 const std::function<int(const QString& path, bool json)>& each);

// The command line of a command that writes a module: -o FILE (--output)
// and --backup, with `least` to `most` operands (usage `countMessage` otherwise).
Outcome<CommandLine> parseWritingCommand(const QStringList& args, qsizetype least, qsizetype most,
                                         const QString& countMessage);

// Whether the arguments ask for help ("-h" or "--help" before any "--").
bool asksForHelp(const QStringList& args);

} // namespace qm::cli
