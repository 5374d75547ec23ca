#pragma once

// Looks: the values of a module as a JSON document, the document `dump
// --json` prints and `apply` reads, and which carries a look from one
// module to another (also of another release of the same kind).
//
// Nothing here reads or writes files or prints: callers bring the bytes and
// show the messages.

#include "members.h"

#include <QByteArray>
#include <QJsonObject>
#include <QList>
#include <QString>
#include <QStringList>

#include <optional>

namespace qm::looks {

// One value as a dump shows it: a member, or one element of a colour or
// format block ("TextColors[3]"), or one field of a menu row ("MenuEntries[5].enabled").
struct ShownValue {
    QString name;
    QString text;
    bool number = false; // a Single or BmpSize, written as a JSON number
    int element = -1;    // block element or menu row; -1 for single values
};

// Every value of one member, in the order a dump shows them; nothing when
// the module's release lacks the member.
QList<ShownValue> shownValues(const ModuleValues& values, const MemberInfo& member);

// The look document on one line: {"path", "kind", "version", "label",
// "values": {member: value, ...}} with the members the release has, in table order.
QString lookJson(const ModuleValues& values, const QString& path);
// The bytes `dump --json` writes: the document in UTF-8 and a newline.
QByteArray lookFile(const ModuleValues& values, const QString& path);

// Why a look document can't be read at all.
struct LookError {
    enum class Kind {
        NotJson,   // the text does not parse: parserMessage, offset
        NotObject, // the document is no object
        OtherKind, // the look is of another module kind: lookKind as the document names it
    };
    Kind kind = Kind::NotJson;
    QString parserMessage;
    qint64 offset = 0;
    QString lookKind; // empty when the document's "kind" is no text
};

// The values of a look for a module of `kind`: the "values" object of a dump
// document, or the document itself when it holds only values.
struct LookValues {
    std::optional<LookError> error;
    QJsonObject values;
};
LookValues readLook(const QByteArray& json, prx::ModuleKind kind);

// The largest look file that is read.
inline constexpr qint64 kMaxLookFile = qint64(16) * 1024 * 1024;

// Why the look at `lookPath` can't be carried onto `target`, a module of `targetKind`.
QString lookErrorText(const LookError& error, const QString& lookPath, prx::ModuleKind targetKind,
                      const QString& target);

// A look carried onto a module's values, as `apply` maps its members.
struct LookApplied {
    ModuleValues values; // the target's values with the look's in place; the target's own when
                         // anything is refused
    QStringList skipped; // members passed over, in order: the release lacks them, unknown names,
                         // format strings, values that follow another, blocks of another length
    QStringList notes;   // how values will be stored (blanks dropped, texts cut to their slot)
    QStringList refused; // values no box can hold: when any, nothing may be changed
};
// Values equal to the target's are left as they are, so their bytes stay.
LookApplied applyLook(const QJsonObject& values, const ModuleValues& target);

} // namespace qm::looks
