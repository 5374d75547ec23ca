#include "consolestreams.h"

#include <QString>

#include <algorithm>
#include <string>

#ifdef Q_OS_WIN
#include <fcntl.h>
#include <io.h>
#include <windows.h>
#endif

namespace qm::platform {

#ifdef Q_OS_WIN
namespace {

HANDLE handleOf(std::FILE* stream) {
    return reinterpret_cast<HANDLE>(_get_osfhandle(_fileno(stream)));
}

bool isConsole(std::FILE* stream) {
    DWORD mode = 0;
    return GetConsoleMode(handleOf(stream), &mode) != 0;
}

} // namespace

QStringList commandLineArguments(int, char**) {
    int count = 0;
    wchar_t** wide = CommandLineToArgvW(GetCommandLineW(), &count);
    QStringList args;
    for (int i = 1; wide && i < count; ++i)
        args.append(QString::fromWCharArray(wide[i]));
    LocalFree(wide);
    return args;
}

void prepareStandardStreams() {
    for (std::FILE* stream : {stdout, stderr}) {
        if (!isConsole(stream))
            _setmode(_fileno(stream), _O_BINARY);
    }
}

void writeUtf8(std::FILE* stream, QByteArrayView text) {
    if (!isConsole(stream)) {
        std::fwrite(text.data(), 1, static_cast<std::size_t>(text.size()), stream);
        return;
    }
    std::fflush(stream);
    const std::wstring wide = QString::fromUtf8(text).toStdWString();
    const HANDLE handle = handleOf(stream);
    for (std::size_t done = 0; done < wide.size();) {
        DWORD written = 0;
        const DWORD chunk = static_cast<DWORD>(std::min<std::size_t>(wide.size() - done, 16384));
        if (!WriteConsoleW(handle, wide.data() + done, chunk, &written, nullptr) || written == 0)
            break;
        done += written;
    }
}

bool attachParentConsole() {
    const HANDLE out = GetStdHandle(STD_OUTPUT_HANDLE);
    if (out != nullptr && out != INVALID_HANDLE_VALUE)
        return true; // redirected to a file or a pipe
    if (!AttachConsole(ATTACH_PARENT_PROCESS))
        return false;
    return std::freopen("CONOUT$", "w", stdout) != nullptr && std::freopen("CONOUT$", "w", stderr) != nullptr;
}

void writeText(std::FILE* stream, const QString& text) {
    writeUtf8(stream, text.toUtf8());
}

#else

QStringList commandLineArguments(int argc, char** argv) {
    QStringList args;
    for (int i = 1; i < argc; ++i)
        args.append(QString::fromLocal8Bit(argv[i]));
    return args;
}

void prepareStandardStreams() {}

void writeUtf8(std::FILE* stream, QByteArrayView text) {
    std::fwrite(text.data(), 1, static_cast<std::size_t>(text.size()), stream);
}

bool attachParentConsole() {
    return true;
}

void writeText(std::FILE* stream, const QString& text) {
    writeUtf8(stream, text.toLocal8Bit());
}

#endif

} // namespace qm::platform
