#pragma once

// The command line and the two output streams as the system gives them. On
// Windows the arguments come as UTF-16 from the system (argv holds them in
// the ANSI code page, which loses most names), a console gets text through
// WriteConsoleW, and files and pipes get the UTF-8 bytes unchanged ("\n",
// never "\r\n"). Elsewhere these are plain argv and fwrite.

#include <QByteArrayView>
#include <QStringList>

#include <cstdio>

namespace qm::platform {

// The program's arguments without the program name.
QStringList commandLineArguments(int argc, char** argv);

// Puts standard output and standard error in binary mode where they are not
// a console. Call once, first thing in main().
void prepareStandardStreams();

// Writes UTF-8 text to stdout or stderr.
void writeUtf8(std::FILE* stream, QByteArrayView text);

// A program without a console of its own (the Windows editor) takes that of
// the command prompt that started it, for --help and --version. True when
// the streams lead somewhere.
bool attachParentConsole();

// Writes text in the system's encoding for people: the locale's on Linux,
// UTF-16 to a Windows console and UTF-8 to a Windows file or pipe.
void writeText(std::FILE* stream, const QString& text);

} // namespace qm::platform
