#pragma once

#include <QString>

#include <optional>
#include <utility>
#include <variant>

namespace qm {

// What went wrong, coarsely: callers map it to a message box or an exit code.
enum class ErrorKind {
    Io,         // a file can't be read, written, found or measured
    NotModule,  // the file is not the kind the operation needs
    Check,      // a value check refused the values (nothing was written)
    Conversion, // a text doesn't convert (type mismatch, overflow, no terminator)
    Archiver,   // the archiver is missing or failed
};

// Stable error numbers shown in "Error N occurred! (...)" messages.
namespace errnum {
enum : int {
    InvalidArgument = 5,
    Overflow = 6,
    SubscriptOutOfRange = 9,
    TypeMismatch = 13,
    FileNotFound = 53,
    BadFileLength = 59,
    PermissionDenied = 70,
    PathFileAccess = 75,
    ArchiverFailed = 440,
};
} // namespace errnum

// What exactly failed. The core reports the reason and its facts; the words
// for it are made where the error is shown (text/errortext.h).
enum class Reason {
    Worded,             // description and detail hold finished words
    NoFileNamed,        // no path given
    FileMissing,        // path doesn't exist
    IsFolder,           // path is a folder
    NoAccess,           // path can't be opened, read or written; text: the system's reason
    KeepOriginal,       // path's original can't be kept as other; text: the system's reason
    FileTooLarge,       // path holds more than limit bytes
    IniUnreadable,      // the settings file path can't be read
    NoWorkFolder,       // the working folder path can't be made
    IniUnwritable,      // the settings file path can't be written
    NotRelease,         // path is longer than a module of release other
    WrongLength,        // path holds count bytes, a module of release other limit
    BeyondEnd,          // count bytes at offset lie beyond a limit-byte module
    NoReleaseRow,       // no release row count
    OtherRelease,       // the values are of another release than the module
    NoTerminator,       // no zero byte within count bytes at offset
    Unstorable,         // character can't be stored in a module text
    NotNumber,          // text is no number
    NaNSize,            // NaN given for a size
    TextTooLarge,       // text is too large for a number
    TextBeyondSingle,   // text is beyond the range of a Single
    NumberBeyondSingle, // the number (text, or none when infinite) is beyond a Single
    TextOutside,        // text rounds outside low to high
    NumberOutside,      // number rounds outside low to high
    ValueEmpty,         // check: a text value is empty
    BmpMax,             // check: BmpSize above 32767
    NothingOpen,        // saving with no module open
    TypedCharacter,     // check: character of a typed text can't be stored in a module text
    NotColour,          // check: text is no colour #RRGGBB
    NotChoice,          // check: text is none of the choices, listed in other
    NotIconCode,        // check: text is no icon code from 0 to limit
};

struct Error {
    ErrorKind kind = ErrorKind::Io;
    int number = 0; // see errnum; 0 for check failures
    Reason reason = Reason::Worded;
    QString member;     // the value concerned, by name ("outer: inner" when nested)
    qint64 offset = -1; // the file offset concerned; -1 for none
    QString path;       // the file concerned
    QString text;       // the text that didn't convert, or the system's reason
    QString other;      // a second name: a release label, the kept original's path
    qint64 count = -1;  // a length or a row
    qint64 limit = -1;  // the length or size it was held against
    double value = 0;   // the number refused (NumberOutside)
    double low = 0;
    double high = 0;
    char16_t character = 0;
    QString description; // Worded only; empty: the words of `number`
    QString detail;      // Worded only

    // A failure of `kind` with error number `number` for `reason`.
    static Error of(ErrorKind kind, int number, Reason reason);
    // Errors told by words alone, for the packers and the theme readers; an
    // empty description takes the words of the number.
    static Error io(int number, const QString& description, const QString& detail = {});
    static Error notModule(const QString& description, const QString& detail = {});
    static Error check(const QString& message, const QString& detail = {});
    static Error invalidArgument(const QString& detail = {});
    static Error archiver(const QString& description, const QString& detail = {});

    // The same error about the value `name`; an error already about a value
    // nests it: "name: inner".
    Error named(const QString& name) const;
    Error at(qint64 fileOffset) const;
    Error in(const QString& file) const;
};

// A value, or the error `E` that left none.
template <typename T, typename E> class [[nodiscard]] Expected {
public:
    Expected(T value) : m_v(std::move(value)) {}
    Expected(E error) : m_v(std::move(error)) {}

    bool ok() const { return m_v.index() == 0; }
    explicit operator bool() const { return ok(); }

    T& value() & { return std::get<0>(m_v); }
    const T& value() const& { return std::get<0>(m_v); }
    T&& value() && { return std::get<0>(std::move(m_v)); }
    T* operator->() { return &value(); }
    const T* operator->() const { return &value(); }
    T& operator*() & { return value(); }
    const T& operator*() const& { return value(); }

    const E& error() const { return std::get<1>(m_v); }

private:
    std::variant<T, E> m_v;
};

// Done, or the error that stopped it.
template <typename E> class [[nodiscard]] Expected<void, E> {
public:
    Expected() = default;
    Expected(E error) : m_error(std::move(error)) {}

    bool ok() const { return !m_error.has_value(); }
    explicit operator bool() const { return ok(); }
    const E& error() const { return *m_error; }

private:
    std::optional<E> m_error;
};

template <typename T> using Result = Expected<T, Error>;
using Status = Result<void>;

} // namespace qm
