#include "errortext.h"

namespace qm::text {
namespace {

QString quoted(const QString& text) {
    return QLatin1Char('"') + text + QLatin1Char('"');
}

QString hexOffset(qint64 offset) {
    return QStringLiteral("0x%1").arg(offset, 0, 16);
}

// The words of each error number.
struct NumberName {
    int number;
    const char* name;
};
constexpr NumberName kNumberNames[] = {
    {errnum::InvalidArgument, "Invalid procedure call or argument"},
    {errnum::Overflow, "Overflow"},
    {errnum::SubscriptOutOfRange, "Subscript out of range"},
    {errnum::TypeMismatch, "Type mismatch"},
    {errnum::FileNotFound, "File not found"},
    {errnum::BadFileLength, "Bad file length"},
    {errnum::PermissionDenied, "Permission denied"},
    {errnum::PathFileAccess, "Path/File access error"},
};

QString numberName(int number) {
    for (const NumberName& n : kNumberNames)
        if (n.number == number)
            return QString::fromLatin1(n.name);
    return QStringLiteral("Application-defined or object-defined error");
}

// The detail of the failure itself, before the value it concerns.
QString factDetail(const Error& e) {
    switch (e.reason) {
    case Reason::Worded:
        return e.detail;
    case Reason::NoFileNamed:
        return QStringLiteral("no file named");
    case Reason::FileMissing:
        return e.path;
    case Reason::IsFolder:
        return e.path + QStringLiteral(" is a folder");
    case Reason::NoAccess:
        return e.path + QStringLiteral(": ") + e.text;
    case Reason::KeepOriginal:
        return QStringLiteral("can't keep the original of %1 as %2 (%3); nothing written")
            .arg(e.path, e.other, e.text);
    case Reason::FileTooLarge:
        return QStringLiteral("%1 is larger than %2 bytes").arg(e.path).arg(e.limit);
    case Reason::IniUnreadable:
        return e.path + QStringLiteral(": can't be read");
    case Reason::NoWorkFolder:
        return QStringLiteral("can't create the working folder ") + e.path;
    case Reason::IniUnwritable:
        return QStringLiteral("can't write ") + e.path;
    case Reason::NotRelease:
        return QStringLiteral("%1 is not a %2 module").arg(e.path, e.other);
    case Reason::WrongLength:
        return QStringLiteral("%1 holds %2 bytes, a %3 module holds %4")
            .arg(e.path)
            .arg(e.count)
            .arg(e.other)
            .arg(e.limit);
    case Reason::BeyondEnd:
        return QStringLiteral("%1 bytes at offset %2 lie beyond the end of a %3-byte module")
            .arg(e.count)
            .arg(hexOffset(e.offset))
            .arg(e.limit);
    case Reason::NoReleaseRow:
        return QStringLiteral("no release row %1").arg(e.count);
    case Reason::OtherRelease:
        return QStringLiteral("the values are of another release than the module");
    case Reason::NoTerminator:
        return QStringLiteral("no terminating zero byte within %1 bytes at offset %2")
            .arg(e.count)
            .arg(hexOffset(e.offset));
    case Reason::Unstorable:
        return QStringLiteral("the character U+%1 can't be stored in a module text")
            .arg(static_cast<uint>(e.character), 4, 16, QLatin1Char('0'));
    case Reason::NotNumber:
        return quoted(e.text) + QStringLiteral(" is not a number");
    case Reason::NaNSize:
        return QStringLiteral("NaN is not a size");
    case Reason::TextTooLarge:
        return quoted(e.text) + QStringLiteral(" is too large");
    case Reason::TextBeyondSingle:
        return quoted(e.text) + QStringLiteral(" is beyond the range of a Single");
    case Reason::NumberBeyondSingle:
        return (e.text.isEmpty() ? QStringLiteral("the number") : e.text) +
               QStringLiteral(" is beyond the range of a Single");
    case Reason::TextOutside:
        return quoted(e.text) + QStringLiteral(" is outside %1 to %2").arg(e.low).arg(e.high);
    case Reason::NumberOutside:
        return QStringLiteral("%1 is outside %2 to %3").arg(e.value).arg(e.low).arg(e.high);
    case Reason::ValueEmpty:
    case Reason::BmpMax:
        return {};
    case Reason::NothingOpen:
        return QStringLiteral("nothing to save");
    case Reason::TypedCharacter:
        return QStringLiteral("the character U+%1 can't be stored in a module text (one byte each, U+0001 to "
                              "U+00FF)")
            .arg(static_cast<uint>(e.character), 4, 16, QLatin1Char('0'));
    case Reason::NotColour:
        return quoted(e.text) + QStringLiteral(" is not a colour of the form #RRGGBB");
    case Reason::NotChoice:
        return quoted(e.text) + QStringLiteral(" is not one of: ") + e.other;
    case Reason::NotIconCode:
        return quoted(e.text) + QStringLiteral(" is not an icon code from 0 to %1").arg(e.limit);
    }
    return e.detail;
}

QString occurred(int number, const QString& description) {
    return QStringLiteral("Error %1 occurred! (%2)").arg(number).arg(description);
}

} // namespace

QString errorDescription(const Error& error) {
    switch (error.reason) {
    case Reason::ValueEmpty:
        return kMsgValueEmpty;
    case Reason::BmpMax:
        return kMsgBmpMax;
    case Reason::NothingOpen:
        return QStringLiteral("No module is open");
    case Reason::NotRelease: // told with the number 75 it has always had
        return numberName(errnum::BadFileLength);
    default:
        break;
    }
    if (!error.description.isEmpty() || error.kind == ErrorKind::Check)
        return error.description;
    return numberName(error.number);
}

QString errorDetail(const Error& error) {
    const QString fact = factDetail(error);
    if (error.member.isEmpty())
        return fact;
    return fact.isEmpty() ? error.member : error.member + QStringLiteral(": ") + fact;
}

QString userText(const Error& error) {
    if (error.kind == ErrorKind::Check)
        return errorDescription(error);
    return occurred(error.number, errorDescription(error));
}

QString userText(const Error& error, const QString& fileName) {
    if (error.kind == ErrorKind::Check || fileName.isEmpty())
        return userText(error);
    const QString detail = errorDetail(error);
    return occurred(error.number,
                    errorDescription(error) + QStringLiteral(": ") +
                        (detail.isEmpty() ? fileName : detail + QStringLiteral(" in ") + fileName));
}

QString refusalText(const Error& error) {
    const QString fact = factDetail(error);
    const QString description = errorDescription(error);
    const QString words = fact.isEmpty()          ? description
                          : description.isEmpty() ? fact
                                                  : description + QStringLiteral(": ") + fact;
    return error.member.isEmpty() ? words : error.member + QStringLiteral(": ") + words;
}

QString storedTextNote(const QString& name, const QString& stored, int maxLength) {
    return QStringLiteral("%1: written as \"%2\" (no blanks, at most %3 characters)")
        .arg(name, stored)
        .arg(maxLength);
}

QString fullText(const Error& error) {
    const QString detail = errorDetail(error);
    if (detail.isEmpty())
        return errorDescription(error);
    return errorDescription(error) + QStringLiteral(": ") + detail;
}

} // namespace qm::text
