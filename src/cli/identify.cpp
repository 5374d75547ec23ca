// identify: the kind and release of each file, one line per file.

#include "args.h"
#include "commands.h"
#include "console.h"
#include "looks/json.h"
#include "prx/header.h"
#include "ptfbase.h"
#include "text/errortext.h"
#include "theme.h"

namespace qm::cli {
namespace {

using looks::JsonWriter;

QString jsonLine(const QString& path, const prx::Identification& id) {
    JsonWriter w;
    w.beginObject();
    w.key(u"path");
    w.string(path);
    w.key(u"size");
    w.integer(id.size);
    w.key(u"kind");
    w.string(QString(prx::kindName(id.kind)));
    w.key(u"version");
    w.integer(id.version);
    w.key(u"label");
    switch (id.kind) {
    case prx::FileKind::Vsh:
    case prx::FileKind::Paf:
        w.string(id.label);
        break;
    case prx::FileKind::Packed:
        w.string(id.packed.label);
        w.key(u"name");
        w.string(id.packed.name);
        w.key(u"plain_size");
        w.integer(id.packed.plainSize);
        w.key(u"packed_size");
        w.integer(id.packed.packedSize);
        // "gzip" or "encrypted"; plain modules and invalid files have no such key.
        w.key(u"packing");
        w.string(QString(prx::packingName(id.packed.packing)));
        w.key(u"sce_header");
        w.boolean(id.packed.headerOffset > 0);
        break;
    case prx::FileKind::Invalid:
        w.string(u"");
        break;
    }
    w.endObject();
    return w.text();
}

QString textLine(const QString& path, const prx::Identification& id) {
    switch (id.kind) {
    case prx::FileKind::Vsh:
    case prx::FileKind::Paf:
        return QStringLiteral("%1: %2 (%3, version %4, %5 bytes)")
            .arg(path, id.label, prx::kindName(id.kind))
            .arg(id.version)
            .arg(id.size);
    case prx::FileKind::Packed:
        return QStringLiteral("%1: %6packed module %2, %3 (%4 bytes unpacked, %5 bytes packed)%7")
            .arg(path, id.packed.name, id.packed.label)
            .arg(id.packed.plainSize)
            .arg(id.packed.packedSize)
            .arg(id.packed.packing == prx::Packing::Encrypted ? QStringLiteral("encrypted ") : QString(),
                 id.packed.headerOffset > 0
                     ? QStringLiteral(" behind a %1-byte ~SCE header").arg(id.packed.headerOffset)
                     : QString());
    case prx::FileKind::Invalid:
        break;
    }
    return QStringLiteral("%1: invalid, no module of a known release (%2 bytes)").arg(path).arg(id.size);
}

} // namespace

int runIdentify(const QStringList& args) {
    return runOverFiles(args, QStringLiteral("identify needs at least one file"),
                        [](const QString& path, bool json) {
                            if (isThemeFile(path, false)) {
                                auto themeLine = themeIdentifyLine(path, json);
                                if (!themeLine)
                                    return report(themeLine.error());
                                printLine(*themeLine);
                                return kExitOk;
                            }
                            if (const auto ptf = ptfBase(path)) {
                                printLine(ptfIdentifyLine(path, *ptf, json));
                                return kExitOk;
                            }
                            auto id = prx::identifyFile(path);
                            if (!id) {
                                note(text::fullText(id.error()));
                                return kExitFile;
                            }
                            printLine(json ? jsonLine(path, *id) : textLine(path, *id));
                            // Scripts branch on it: a file of no kind known fails as an unreadable one does.
                            return id->kind == prx::FileKind::Invalid ? kExitFile : kExitOk;
                        });
}

} // namespace qm::cli
