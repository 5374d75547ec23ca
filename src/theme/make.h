#pragma once

// Making a theme (.ctf) from a PTF theme file, module pairs and whole files.
// Everything comes in as bytes, so a window can hand in an editor's current
// module (unsaved edits included) as well as files read from disk.

#include "format.h"
#include "runs.h"

#include <QByteArray>
#include <QList>
#include <QString>
#include <QStringList>

#include <optional>

namespace qm::theme {

// The PTF theme file a theme starts with: its first P bytes (P the u32 at
// 0x108, the whole file when that is 0).
struct PtfBase {
    QByteArray part;
    QString title;
};
Result<PtfBase> readPtfBase(QByteArrayView ptf);

// A module's stock bytes and its edited ones, plain or packed (gzip; packed
// ones are unpacked in memory). The names only go into messages.
struct ModulePair {
    Slot slot = Slot::Vsh;
    QByteArray stock;
    QByteArray edited;
    QString stockName;
    QString editedName;
};

// A file stored whole under a flash path, e.g. "/vsh/resource/01-12.bmp".
struct WholeFile {
    QString flashPath;
    QByteArray bytes;
};

struct ThemeRequest {
    QByteArray ptf;
    QString firmware; // empty: from the modules' releases
    QList<ModulePair> modules;
    QList<WholeFile> files;
};

// What went into the theme for one module.
struct ModuleSummary {
    Slot slot = Slot::Vsh;
    std::optional<prx::ReleaseId> release; // when Quillmark knows it
    qsizetype runs = 0;
    qint64 changedBytes = 0;
    QStringList values;            // values changed (known releases), as valueSpans names them
    qint64 bytesOutsideValues = 0; // changed bytes no value holds (known releases)
};

struct MadeTheme {
    QByteArray bytes;
    QString firmware;
    QString title;
    QList<ModuleSummary> modules;
    QList<WholeFile> files;
    int entryCount() const { return int(modules.size() + files.size()); }
};

// Refused, with nothing made: a base that isn't a PTF; stock and edited of
// different lengths or releases; a module that isn't an ELF PRX or is
// encrypted; no difference; a change the loader can't place; a firmware that
// doesn't pair with a module's release, or none to be found; more than 64
// entries; a name of 64 bytes or more, outside the plugin's folders and
// extensions, or of a module the loader changes run by run; a file of 2 MiB
// or more; a name twice.
Result<MadeTheme> makeTheme(const ThemeRequest& request);

// The release of a module of a slot, by its length: none for common_gui.prx.
std::optional<prx::ReleaseId> releaseOf(Slot slot, qint64 length);
// Refused when a plain module of `length` bytes, named `name` in the message,
// is of a release of another slot's module (a paf.prx given as vshmain.prx);
// the error's `other` then names that module ("paf.prx").
Status checkSlot(Slot slot, qint64 length, const QString& name);

} // namespace qm::theme
