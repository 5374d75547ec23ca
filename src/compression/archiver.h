#pragma once

// Finding and running the 7-Zip console archiver. It is always started with
// an argument list, never through a command interpreter.

#include "prx/result.h"

#include <QByteArray>
#include <QString>
#include <QStringList>

#include <atomic>
#include <functional>

namespace qm::compression {

// The working folder's own 7za first, then (Windows) 7za.exe beside the
// program, then 7za and 7z on PATH, then (Windows) the 7z.exe of an
// installed 7-Zip. A missing archiver is an error that says where to get it.
Result<QString> findArchiver(const QString& workFolder);

struct RunRequest {
    QString program;
    QStringList arguments;
    QByteArray input;           // fed to standard input, which is then closed
    qint64 outputLimit = -1;    // stop the run once standard output exceeds this; -1: no limit
    qint64 expectedOutput = -1; // room to make for standard output up front, when known
    std::function<void(qint64 inputFed, qint64 outputRead)> progress; // may be empty
};

struct RunOutcome {
    int exitCode = -1;
    bool crashed = false;       // the process died of a signal
    bool limitExceeded = false; // the output grew past the limit and the run was stopped
    QByteArray output;          // standard output, up to the limit
    QByteArray errors;          // the tail of standard error, for messages
};

// Runs the program to its end on the calling thread (any thread; no event
// loop needed). Fails only when the program can't be started.
Result<RunOutcome> runArchiver(const RunRequest& request);

// "7za exited with code 2: <the end of its standard error>", for the detail
// of an error about a failed run.
QString describeFailure(const QString& program, const RunOutcome& outcome);

} // namespace qm::compression
