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
inline constexpr int InvalidArgument = 5;
inline constexpr int Overflow = 6;
inline constexpr int SubscriptOutOfRange = 9;
inline constexpr int TypeMismatch = 13;
inline constexpr int FileNotFound = 53;
inline constexpr int PermissionDenied = 70;
inline constexpr int PathFileAccess = 75;
inline constexpr int BadFileLength = 59;
inline constexpr int ArchiverFailed = 440;
} // namespace errnum

struct Error {
    ErrorKind kind = ErrorKind::Io;
    int number = 0;      // see errnum; 0 for check failures
    QString description; // stable wording per kind of failure
    QString detail;      // what exactly: the value, the file, the field

    // The text the windows show: the check message itself, or
    // "Error N occurred! (description)".
    QString userText() const;
    // Description and detail on one line, for logs and the command-line tool.
    QString fullText() const;

    static Error io(int number, const QString& description, const QString& detail = {});
    static Error notModule(const QString& description, const QString& detail = {});
    static Error check(const QString& message, const QString& detail = {});
    static Error typeMismatch(const QString& detail = {});
    static Error overflow(const QString& detail = {});
    static Error invalidArgument(const QString& detail = {});
    static Error archiver(const QString& description, const QString& detail = {});
};

template <typename T> class [[nodiscard]] Result {
public:
    Result(T value) : m_v(std::move(value)) {}
    Result(Error error) : m_v(std::move(error)) {}

    bool ok() const { return m_v.index() == 0; }
    explicit operator bool() const { return ok(); }

    T& value() & { return std::get<0>(m_v); }
    const T& value() const& { return std::get<0>(m_v); }
    T&& value() && { return std::get<0>(std::move(m_v)); }
    T* operator->() { return &value(); }
    const T* operator->() const { return &value(); }
    T& operator*() & { return value(); }
    const T& operator*() const& { return value(); }

    const Error& error() const { return std::get<1>(m_v); }

private:
    std::variant<T, Error> m_v;
};

template <> class [[nodiscard]] Result<void> {
public:
    Result() = default;
    Result(Error error) : m_error(std::move(error)) {}

    bool ok() const { return !m_error.has_value(); }
    explicit operator bool() const { return ok(); }
    const Error& error() const { return *m_error; }

private:
    std::optional<Error> m_error;
};

using Status = Result<void>;

} // namespace qm
