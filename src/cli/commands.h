#pragma once

// The commands of quillmark-cli. Each takes the arguments after its name
// and returns the process exit code.

#include <QString>
#include <QStringList>

namespace qm::cli {

int runIdentify(const QStringList& args);
int runDump(const QStringList& args);
int runSet(const QStringList& args);
int runApply(const QStringList& args);
int runUnpack(const QStringList& args);
int runPack(const QStringList& args);
int runKeys(const QStringList& args);
int runCheck(const QStringList& args);
int runDiff(const QStringList& args);
int runTheme(const QStringList& args);

QString usageText();

} // namespace qm::cli
