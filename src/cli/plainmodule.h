#pragma once

// A plain VSH or PAF module as the commands see it: its release and every
// value the editors show, in the C locale.

#include "console.h"
#include "prx/catalogue.h"
#include "prx/paf.h"
#include "prx/vsh.h"

#include <QLocale>
#include <QString>
#include <QStringList>

namespace qm::cli {

struct PlainModule {
    QString path;
    prx::ModuleKind kind = prx::ModuleKind::Vsh;
    int version = 0;
    QString label;
    qint64 size = 0;
    prx::VshValues vsh; // when kind is Vsh
    prx::PafValues paf; // when kind is Paf

    bool sameValues(const PlainModule& other) const { return vsh == other.vsh && paf == other.paf; }
};

// Every number text the tool reads or writes uses the C locale.
inline QLocale numberLocale() {
    return QLocale::c();
}

QLatin1StringView kindName(prx::ModuleKind kind);

// Identifies the file and loads its values; anything but a readable plain
// module of a known release is a file failure.
Outcome<PlainModule> openPlainModule(const QString& path);

// Writes the values of `edited` that differ from `loaded` into `dest`, which
// is loaded.path itself or becomes a copy of it. With nothing changed the
// module is left alone (or just copied to dest). `notes` about how values
// are stored are printed once the save has succeeded.
Problem saveEdits(const PlainModule& loaded, const PlainModule& edited, const QString& dest,
                  QStringList notes = {});

// The note for a text that is stored other than given (blanks dropped, cut
// to its slot), or nothing.
std::optional<QString> textStorageNote(const QString& name, const QString& text, int maxLength);

} // namespace qm::cli
