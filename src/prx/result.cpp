#include "result.h"

namespace qm {

Error Error::of(ErrorKind kind, int number, Reason reason) {
    Error e;
    e.kind = kind;
    e.number = number;
    e.reason = reason;
    return e;
}

Error Error::io(int number, const QString& description, const QString& detail) {
    Error e = of(ErrorKind::Io, number, Reason::Worded);
    e.description = description;
    e.detail = detail;
    return e;
}

Error Error::notModule(const QString& description, const QString& detail) {
    Error e = io(errnum::PathFileAccess, description, detail);
    e.kind = ErrorKind::NotModule;
    return e;
}

Error Error::check(const QString& message, const QString& detail) {
    Error e = io(0, message, detail);
    e.kind = ErrorKind::Check;
    return e;
}

Error Error::invalidArgument(const QString& detail) {
    Error e = io(errnum::InvalidArgument, {}, detail);
    e.kind = ErrorKind::Conversion;
    return e;
}

Error Error::archiver(const QString& description, const QString& detail) {
    Error e = io(errnum::ArchiverFailed, description, detail);
    e.kind = ErrorKind::Archiver;
    return e;
}

Error Error::named(const QString& name) const {
    Error e = *this;
    e.member = member.isEmpty() ? name : name + QStringLiteral(": ") + member;
    return e;
}

Error Error::at(qint64 fileOffset) const {
    Error e = *this;
    e.offset = fileOffset;
    return e;
}

Error Error::in(const QString& file) const {
    Error e = *this;
    e.path = file;
    return e;
}

} // namespace qm
