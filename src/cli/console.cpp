#include "console.h"
#include "platform/consolestreams.h"
#include "text/errortext.h"

#include <cstdio>

namespace qm::cli {
namespace {

void writeTo(std::FILE* stream, const QString& text) {
    platform::writeUtf8(stream, QByteArray(text.toUtf8() + '\n'));
}

} // namespace

Failure usageFailure(const QString& message) {
    return {kExitUsage, message};
}

Failure fileFailure(const QString& message) {
    return {kExitFile, message};
}

Failure valueFailure(const QString& message) {
    return {kExitValue, message};
}

Failure failureFrom(const Error& error, const QString& subject) {
    const bool valueError = error.kind == ErrorKind::Check || error.kind == ErrorKind::Conversion;
    const QString line = text::fullText(error);
    return {valueError ? kExitValue : kExitFile,
            subject.isEmpty() ? line : subject + QStringLiteral(": ") + line};
}

void printLine(const QString& line) {
    writeTo(stdout, line);
}

void note(const QString& message) {
    writeTo(stderr, QStringLiteral("quillmark-cli: ") + message);
}

int report(const Failure& failure) {
    note(failure.message);
    if (failure.exitCode == kExitUsage)
        writeTo(stderr, QStringLiteral("Try 'quillmark-cli --help' for more information."));
    return failure.exitCode;
}

int reportAll(const QList<Failure>& failures) {
    int code = kExitOk;
    for (const Failure& f : failures) {
        note(f.message);
        if (code == kExitOk || f.exitCode == kExitUsage)
            code = f.exitCode;
    }
    if (code == kExitUsage)
        writeTo(stderr, QStringLiteral("Try 'quillmark-cli --help' for more information."));
    return code;
}

} // namespace qm::cli
