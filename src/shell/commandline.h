#pragma once

// The command line of the quillmark program: its own options, Qt's options
// (passed on to QApplication) and the files to open.

#include <QString>
#include <QStringList>

namespace qm::ui {

struct ShellCommandLine {
    enum class Action { Run, Help, Version, UsageError };
    Action action = Action::Run;
    QStringList files;     // in the order given, also names starting with "-" after "--"
    QStringList qtOptions; // Qt's own options with their values, for QApplication
    QString error;         // for UsageError
};

// Reads the arguments that follow the program's name. "-h"/"--help" and
// "--version" win over everything before "--"; an option that is neither
// ours nor Qt's is a usage error.
ShellCommandLine parseShellCommandLine(const QStringList& args);

QString shellUsageText();
// "quillmark 0.4"
QString shellVersionText();

} // namespace qm::ui
