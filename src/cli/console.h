#pragma once

// Exit codes, failures and the two output streams of the command-line tool:
// results go to standard output, messages to standard error.

#include "prx/result.h"

#include <QList>
#include <QString>

#include <optional>

namespace qm::cli {

inline constexpr int kExitOk = 0;
inline constexpr int kExitUsage = 1;
inline constexpr int kExitFile = 2;  // unreadable or unwritable file, wrong kind of file, archiver failure
inline constexpr int kExitValue = 3; // a value refused by a check or a conversion; nothing written
inline constexpr int kExitDifferent = 4; // diff: some value differs

struct Failure {
    int exitCode = kExitFile;
    QString message;
};

Failure usageFailure(const QString& message);
Failure fileFailure(const QString& message);
Failure valueFailure(const QString& message);
// A core error: value checks and conversions exit 3, everything else 2.
Failure failureFrom(const Error& error, const QString& subject = {});

using Problem = std::optional<Failure>;

// A value, or the failure that left none (read with error()).
template <typename T> using Outcome = Expected<T, Failure>;

// Standard output, UTF-8, one line each.
void printLine(const QString& line);
// Standard error, prefixed with the program's name.
void note(const QString& message);
// Prints the failure (with a hint for usage errors) and returns its exit code.
int report(const Failure& failure);
// Prints every failure, with one hint when there are usage errors among
// them, and returns the highest-priority exit code (usage before the rest).
int reportAll(const QList<Failure>& failures);

} // namespace qm::cli
