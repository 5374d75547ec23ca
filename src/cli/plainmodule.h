#pragma once

// A plain VSH or PAF module as the commands see it: its release and every
// value the editors show, in the C locale.

#include "console.h"
#include "document/moduledocument.h"
#include "looks/members.h"

#include <QString>
#include <QStringList>

#include <memory>

namespace qm::cli {

// The look library's names, values and conversions are the tool's.
using namespace qm::looks;

// Every number text the tool reads or writes uses the C locale (numberLocale()).
struct PlainModule : ModuleValues {
    QString path;
    QString label;
    qint64 size = 0;
    // The open module, read once; a save writes its bytes.
    std::shared_ptr<doc::ModuleDocument> document;
};

// Reads the file once, identifies it and loads its values; anything but a
// readable plain module of a known release is a file failure.
Outcome<PlainModule> openPlainModule(const QString& path);

// Writes the values of `edited` that differ from `loaded` into `dest`, which
// is loaded.path itself or becomes a copy of it. With nothing changed the
// module is left alone (or just copied to dest). `notes` about how values
// are stored are printed once the save has succeeded. With `backup`, a save
// over loaded.path first keeps it as NAME.orig (see prx::writeFileAtomically).
Problem saveEdits(const PlainModule& loaded, const ModuleValues& edited, const QString& dest,
                  QStringList notes = {}, bool backup = false);

} // namespace qm::cli
