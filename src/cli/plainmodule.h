#pragma once

// A plain VSH or PAF module open for a command: the module document the
// editor windows edit. The commands that change values put them into the
// document (setValue) and save it; numbers read and shown in the C locale.

#include "console.h"
#include "document/moduledocument.h"
#include "looks/members.h"

#include <QString>
#include <QStringList>

#include <memory>

namespace qm::cli {

// The look library's names, values and conversions are the tool's.
using namespace qm::looks;

struct PlainModule {
    std::unique_ptr<doc::ModuleDocument> document;
    QString path;  // as given
    QString label; // the release's
    qint64 size = 0;

    const ModuleValues& values() const { return document->values(); }
    prx::ModuleKind kind() const { return document->release().kind; }
    prx::ReleaseId release() const { return document->release(); }
};

// Reads the file once, identifies it and opens it; anything but a readable
// plain module of a known release is a file failure.
Outcome<PlainModule> openPlainModule(const QString& path);

// Saves the values set in the module's document to `dest`, which is its
// own path or becomes a copy of it. With nothing changed the module is left
// alone (or just copied to dest). `notes` about how values are stored are
// printed once the save has succeeded. With `backup`, a save over the
// module's path first keeps it as NAME.orig (see prx::writeFileAtomically).
Problem saveEdits(PlainModule& module, const QString& dest, QStringList notes = {}, bool backup = false);

} // namespace qm::cli
