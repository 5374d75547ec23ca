#include "result.h"

namespace qm {

QString Error::userText() const {
    if (kind == ErrorKind::Check)
        return description;
    return QStringLiteral("Error %1 occurred! (%2)").arg(number).arg(description);
}

QString Error::fullText() const {
    if (detail.isEmpty())
        return description;
    return description + QStringLiteral(": ") + detail;
}

Error Error::io(int number, const QString& description, const QString& detail) {
    return {ErrorKind::Io, number, description, detail};
}

Error Error::notModule(const QString& description, const QString& detail) {
    return {ErrorKind::NotModule, errnum::PathFileAccess, description, detail};
}

Error Error::check(const QString& message, const QString& detail) {
    return {ErrorKind::Check, 0, message, detail};
}

Error Error::typeMismatch(const QString& detail) {
    return {ErrorKind::Conversion, errnum::TypeMismatch, QStringLiteral("Type mismatch"), detail};
}

Error Error::overflow(const QString& detail) {
    return {ErrorKind::Conversion, errnum::Overflow, QStringLiteral("Overflow"), detail};
}

Error Error::invalidArgument(const QString& detail) {
    return {ErrorKind::Conversion, errnum::InvalidArgument,
            QStringLiteral("Invalid procedure call or argument"), detail};
}

Error Error::archiver(const QString& description, const QString& detail) {
    return {ErrorKind::Archiver, errnum::ArchiverFailed, description, detail};
}

} // namespace qm
