#pragma once

// The surroundings a test changes for a while: environment variables and
// a program that stands in for the archiver (and any other child process).

#include <QByteArray>
#include <QString>

namespace qm::test {

// Sets an environment variable for the guard's lifetime, then puts back the
// old value (or unsets the variable when it was not set).
class EnvGuard {
public:
    EnvGuard(const char* name, const QByteArray& value);
    ~EnvGuard();
    EnvGuard(const EnvGuard&) = delete;
    EnvGuard& operator=(const EnvGuard&) = delete;

private:
    const char* m_name;
    bool m_wasSet;
    QByteArray m_old;
};

// NAME.exe on Windows, NAME elsewhere.
QString programFile(const QString& base);

// Puts the stand-in program (tests/support/standin.cpp, built beside the
// test programs) at programFile(base), creating folders, with `steps` as its
// steps file base + ".steps" (none when empty: it then acts as a gzip-only
// 7za). With `executable` false it writes a file at `base` that can't be
// started instead (no execute permission; on Windows no ".exe"). Returns the
// file written. Aborts the test run on failure.
QString writeStandIn(const QString& base, const QByteArray& steps, bool executable = true);

// Removes what writeStandIn put at `base`.
void removeStandIn(const QString& base);

// "7za exited with code 2" (7za.exe on Windows), as a failed run is told.
QString archiverExit2();
// What the message about a missing archiver says where to get it:
// "p7zip-full", on Windows the 7-Zip site.
QString missingArchiverHint();

// Whether the test runs under Wine, whose stand-in fonts are wider than
// Windows's own: tests of how text fits a window don't hold there.
bool underWine();
inline const char* const kWineFonts =
    "Wine's substitutes for the Windows fonts are wider; the fit is checked on Linux (and Windows)";

} // namespace qm::test
