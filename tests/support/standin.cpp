// quillmark-standin: a program the tests start where Quillmark starts the
// archiver (or any child process), built for Linux and for Windows alike.
//
// What it does comes from a steps file beside it: its own path without
// ".exe", plus ".steps". Without one it behaves as 7-Zip's console archiver
// does for Quillmark: "a ... -si -so" gzips standard input to standard
// output, "e ... -si -so" unpacks it. One step per line, a word and its
// argument:
//
//   cat | drain | gzip | gunzip     stdin to stdout / nowhere / gzipped / unpacked
//   gzip N                          the first N bytes of the gzipped stdin
//   7za                             gzip or gunzip as the arguments ask
//   head N | read N | readline      copy N bytes / skip N bytes / skip one line
//   out TEXT | err TEXT             TEXT (\n, \\ and \t decoded) to stdout / stderr
//   zeros N                         N zero bytes to stdout, -1: without end
//   flood TEXT                      TEXT to stdout without end
//   errfill N C                     N bytes C to stderr
//   args                            "[argument]\n" for each argument
//   closeout | sleep MS             close stdout / wait
//   log FILE | waitfor FILE         append "run\n" to FILE / wait (10 s at most) until it exists
//   exit N | crash                  end with code N / die as a crashed program

#include <zlib.h>

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <fstream>
#include <sstream>
#include <string>
#include <thread>
#include <vector>

#ifdef _WIN32
#include <fcntl.h>
#include <io.h>
#include <windows.h>
#else
#include <csignal>
#include <unistd.h>
#endif

namespace {

using Args = std::vector<std::string>;

#ifdef _WIN32
std::string utf8(const wchar_t* wide) {
    const int n = WideCharToMultiByte(CP_UTF8, 0, wide, -1, nullptr, 0, nullptr, nullptr);
    std::string out(static_cast<std::size_t>(n > 0 ? n - 1 : 0), '\0');
    if (n > 1)
        WideCharToMultiByte(CP_UTF8, 0, wide, -1, out.data(), n, nullptr, nullptr);
    return out;
}

std::wstring wide(const std::string& text) {
    const int n = MultiByteToWideChar(CP_UTF8, 0, text.c_str(), -1, nullptr, 0);
    std::wstring out(static_cast<std::size_t>(n > 0 ? n - 1 : 0), L'\0');
    if (n > 1)
        MultiByteToWideChar(CP_UTF8, 0, text.c_str(), -1, out.data(), n);
    return out;
}

Args arguments(int, char**) {
    int count = 0;
    wchar_t** list = CommandLineToArgvW(GetCommandLineW(), &count);
    Args args;
    for (int i = 1; i < count; ++i)
        args.push_back(utf8(list[i]));
    LocalFree(list);
    return args;
}

std::string ownPath() {
    std::vector<wchar_t> buffer(32768);
    GetModuleFileNameW(nullptr, buffer.data(), static_cast<DWORD>(buffer.size()));
    return utf8(buffer.data());
}

std::FILE* openFile(const std::string& path, const wchar_t* mode) {
    return _wfopen(wide(path).c_str(), mode);
}

[[noreturn]] void crash() {
    TerminateProcess(GetCurrentProcess(), 0xC0000005); // an access violation's code
    std::abort();
}
#else
Args arguments(int argc, char** argv) {
    return Args(argv + 1, argv + argc);
}

std::string ownPath() {
    std::vector<char> buffer(4096);
    const ssize_t n = readlink("/proc/self/exe", buffer.data(), buffer.size() - 1);
    return n > 0 ? std::string(buffer.data(), static_cast<std::size_t>(n)) : std::string();
}

std::FILE* openFile(const std::string& path, const wchar_t* mode) {
    return std::fopen(path.c_str(), std::wcscmp(mode, L"ab") == 0 ? "ab" : "rb");
}

[[noreturn]] void crash() {
    std::signal(SIGSEGV, SIG_DFL);
    std::raise(SIGSEGV);
    std::abort();
}
#endif

std::string stepsPath() {
    std::string path = ownPath();
    if (path.size() > 4 && (path.ends_with(".exe") || path.ends_with(".EXE")))
        path.resize(path.size() - 4);
    return path + ".steps";
}

void put(std::FILE* stream, const std::string& bytes) {
    std::fwrite(bytes.data(), 1, bytes.size(), stream);
    std::fflush(stream);
}

std::string decoded(const std::string& text) {
    std::string out;
    for (std::size_t i = 0; i < text.size(); ++i) {
        if (text[i] != '\\' || i + 1 == text.size()) {
            out += text[i];
            continue;
        }
        const char c = text[++i];
        out += c == 'n' ? '\n' : c == 't' ? '\t' : c;
    }
    return out;
}

// Copies up to `limit` bytes (-1: all) of stdin to `to` (nullptr: nowhere).
void copyInput(std::FILE* to, long long limit) {
    char buffer[65536];
    while (limit != 0) {
        const std::size_t want = limit < 0 ? sizeof buffer : std::min<std::size_t>(sizeof buffer, limit);
        const std::size_t got = std::fread(buffer, 1, want, stdin);
        if (got == 0)
            return;
        if (to)
            std::fwrite(buffer, 1, got, to);
        if (limit > 0)
            limit -= static_cast<long long>(got);
    }
    if (to)
        std::fflush(to);
}

std::string allInput() {
    std::string data;
    char buffer[65536];
    for (std::size_t got; (got = std::fread(buffer, 1, sizeof buffer, stdin)) > 0;)
        data.append(buffer, got);
    return data;
}

// gzip (windowBits 31) in one go, as 7-Zip's -tgzip -mx9 would; only the
// first `keep` bytes of the stream when keep > 0.
int gzipInput(long long keep = -1) {
    const std::string data = allInput();
    z_stream z{};
    if (deflateInit2(&z, 9, Z_DEFLATED, 31, 9, Z_DEFAULT_STRATEGY) != Z_OK)
        return 2;
    std::string out(deflateBound(&z, static_cast<uLong>(data.size())) + 64, '\0');
    z.next_in = reinterpret_cast<Bytef*>(const_cast<char*>(data.data()));
    z.avail_in = static_cast<uInt>(data.size());
    z.next_out = reinterpret_cast<Bytef*>(out.data());
    z.avail_out = static_cast<uInt>(out.size());
    const int rc = deflate(&z, Z_FINISH);
    out.resize(z.total_out);
    deflateEnd(&z);
    if (rc != Z_STREAM_END)
        return 2;
    if (keep > 0 && static_cast<std::size_t>(keep) < out.size())
        out.resize(static_cast<std::size_t>(keep));
    put(stdout, out);
    return 0;
}

int gunzipInput() {
    const std::string data = allInput();
    z_stream z{};
    if (inflateInit2(&z, 31) != Z_OK)
        return 2;
    z.next_in = reinterpret_cast<Bytef*>(const_cast<char*>(data.data()));
    z.avail_in = static_cast<uInt>(data.size());
    int rc = Z_OK;
    std::string out;
    while (rc == Z_OK) {
        char buffer[65536];
        z.next_out = reinterpret_cast<Bytef*>(buffer);
        z.avail_out = sizeof buffer;
        rc = inflate(&z, Z_NO_FLUSH);
        out.append(buffer, sizeof buffer - z.avail_out);
        if (rc == Z_BUF_ERROR && z.avail_in == 0)
            break;
    }
    inflateEnd(&z);
    put(stdout, out);
    if (rc != Z_STREAM_END) {
        put(stderr, "ERROR: Can not open the file as archive\n");
        return 2;
    }
    return 0;
}

int archiver(const Args& args) {
    if (!args.empty() && args[0] == "a")
        return gzipInput();
    if (!args.empty() && args[0] == "e")
        return gunzipInput();
    put(stderr, "Command Line Error: Unsupported command\n");
    return 7;
}

void waitFor(const std::string& path) {
    for (int i = 0; i < 500; ++i) {
        if (std::FILE* f = openFile(path, L"rb")) {
            std::fclose(f);
            return;
        }
        std::this_thread::sleep_for(std::chrono::milliseconds(20));
    }
}

// Runs one step; returns an exit code to end with, or -1 to go on.
int runStep(const std::string& word, const std::string& rest, const Args& args) {
    const long long number = std::atoll(rest.c_str());
    if (word == "cat" || word == "drain" || word == "head" || word == "read")
        copyInput(word == "cat" || word == "head" ? stdout : nullptr,
                  word == "head" || word == "read" ? number : -1);
    else if (word == "readline")
        for (int c; (c = std::fgetc(stdin)) != EOF && c != '\n';) {
        }
    else if (word == "gzip" || word == "gunzip" || word == "7za") {
        const int rc = word == "gzip" ? gzipInput(number) : word == "gunzip" ? gunzipInput() : archiver(args);
        return rc == 0 ? -1 : rc;
    } else if (word == "out" || word == "err")
        put(word == "out" ? stdout : stderr, decoded(rest));
    else if (word == "zeros" || word == "flood") {
        const std::string chunk = word == "flood" ? decoded(rest) : std::string(65536, '\0');
        for (long long left = word == "flood" ? -1 : number; left != 0;) {
            const std::size_t n = left < 0 ? chunk.size() : std::min<std::size_t>(chunk.size(), left);
            if (std::fwrite(chunk.data(), 1, n, stdout) != n)
                return 1;
            if (left > 0)
                left -= static_cast<long long>(n);
        }
        std::fflush(stdout);
    } else if (word == "errfill")
        put(stderr, std::string(static_cast<std::size_t>(number), rest.empty() ? 'e' : rest.back()));
    else if (word == "args")
        for (const std::string& arg : args)
            put(stdout, "[" + arg + "]\n");
    else if (word == "closeout")
        std::fclose(stdout);
    else if (word == "sleep")
        std::this_thread::sleep_for(std::chrono::milliseconds(number));
    else if (word == "log") {
        if (std::FILE* f = openFile(rest, L"ab")) {
            std::fputs("run\n", f);
            std::fclose(f);
        }
    } else if (word == "waitfor")
        waitFor(rest);
    else if (word == "exit")
        return static_cast<int>(number);
    else if (word == "crash")
        crash();
    else if (!word.empty()) {
        put(stderr, "quillmark-standin: unknown step " + word + "\n");
        return 125;
    }
    return -1;
}

} // namespace

int main(int argc, char** argv) {
#ifdef _WIN32
    _setmode(_fileno(stdin), _O_BINARY);
    _setmode(_fileno(stdout), _O_BINARY);
    _setmode(_fileno(stderr), _O_BINARY);
#endif
    const Args args = arguments(argc, argv);
    std::FILE* file = openFile(stepsPath(), L"rb");
    if (!file)
        return archiver(args);
    std::string text;
    char buffer[4096];
    for (std::size_t got; (got = std::fread(buffer, 1, sizeof buffer, file)) > 0;)
        text.append(buffer, got);
    std::fclose(file);

    std::istringstream lines(text);
    for (std::string line; std::getline(lines, line);) {
        if (!line.empty() && line.back() == '\r')
            line.pop_back();
        const std::size_t blank = line.find(' ');
        const std::string word = line.substr(0, blank);
        const std::string rest = blank == std::string::npos ? std::string() : line.substr(blank + 1);
        if (const int rc = runStep(word, rest, args); rc >= 0)
            return rc;
    }
    return 0;
}
