// unpack, pack and keys: packed (~PSP) modules through the archiver.

#include "args.h"
#include "backup.h"
#include "commands.h"
#include "compression/check.h"
#include "compression/modulekeys.h"
#include "compression/pack.h"
#include "compression/unpack.h"
#include "console.h"
#include "prx/header.h"
#include "prx/workfolder.h"

#include <QDir>

namespace qm::cli {
namespace {

Outcome<QString> preparedWorkFolder() {
    const QString folder = prx::workFolder();
    if (!QDir().mkpath(folder))
        return fileFailure(QStringLiteral("can't create the working folder %1").arg(folder));
    return folder;
}

QString keyText(int key) {
    return QStringLiteral("%1 (%2)").arg(key).arg(
        QLatin1StringView(compression::kModuleKeys[static_cast<std::size_t>(key)].name));
}

} // namespace

int runUnpack(const QStringList& args) {
    auto line = parseCommandLine(args, {});
    if (!line)
        return report(line.error());
    if (line->operands.size() != 2)
        return report(usageFailure(QStringLiteral("unpack takes a packed module and the file to write")));
    const QString packed = line->operands.at(0);
    const QString out = line->operands.at(1);

    auto id = prx::identifyFile(packed);
    if (!id)
        return report(failureFrom(id.error()));
    if (id->kind != prx::FileKind::Packed)
        return report(
            fileFailure(QStringLiteral("%1: not a packed module (a ~PSP header whose packed size is the "
                                       "file's length)")
                            .arg(packed)));
    if (id->packed.packing == prx::Packing::Encrypted)
        return report(fileFailure(
            QStringLiteral("%1: the module is encrypted (no gzip stream behind its ~PSP header); only a "
                           "console's loader can unpack it, nothing written")
                .arg(packed)));
    auto folder = preparedWorkFolder();
    if (!folder)
        return report(folder.error());
    auto done = compression::unpackModule(packed, out, *folder);
    if (!done)
        return report(failureFrom(done.error(), packed));
    note(QStringLiteral("%1 (%2 bytes, %3) unpacked to %4: %5 bytes")
             .arg(packed)
             .arg(done->packedSize)
             .arg(id->packed.label, out)
             .arg(done->plainSize));
    return kExitOk;
}

int runPack(const QStringList& args) {
    auto line = parseCommandLine(args, {{QStringLiteral("--header"), {}, true},
                                        {QStringLiteral("--key"), {}, true},
                                        {QStringLiteral("-o"), {QStringLiteral("--output")}, true},
                                        kBackupOption});
    if (!line)
        return report(line.error());
    if (line->operands.size() != 1)
        return report(usageFailure(QStringLiteral("pack takes one plain module")));
    const QString header = line->value(QStringLiteral("--header"));
    if (header.isEmpty())
        return report(
            usageFailure(QStringLiteral("pack needs --header HEADER, a packed module whose header to copy")));
    std::optional<int> key;
    if (line->has(QStringLiteral("--key"))) {
        bool ok = false;
        const int k = line->value(QStringLiteral("--key")).toInt(&ok);
        if (!ok || k < 0 || k >= static_cast<int>(compression::kModuleKeys.size()))
            return report(usageFailure(QStringLiteral("--key takes a key number from 0 to %1 (see keys)")
                                           .arg(compression::kModuleKeys.size() - 1)));
        key = k;
    }
    if (line->has(QStringLiteral("-o")) && line->value(QStringLiteral("-o")).isEmpty())
        return report(usageFailure(QStringLiteral("-o needs a file name")));
    const QString plain = line->operands.first();
    const QString out = line->has(QStringLiteral("-o")) ? line->value(QStringLiteral("-o")) : plain;

    auto id = prx::identifyFile(plain);
    if (!id)
        return report(failureFrom(id.error()));
    if (id->kind != prx::FileKind::Vsh && id->kind != prx::FileKind::Paf)
        return report(
            fileFailure(QStringLiteral("%1: not a plain VSH or PAF module of a known release").arg(plain)));
    auto isHeader = prx::isPspHeaderFile(header);
    if (!isHeader)
        return report(failureFrom(isHeader.error()));
    if (!*isHeader)
        return report(fileFailure(QStringLiteral("%1: The header file it isn't a PRX File").arg(header)));
    if (!key) {
        auto preselected = compression::preselectedKeyOfFile(header);
        if (!preselected)
            return report(failureFrom(preselected.error(), header));
        key = *preselected;
    }
    auto folder = preparedWorkFolder();
    if (!folder)
        return report(folder.error());

    // The loader's checks on the result, before anything is replaced; notes
    // are told once it is written.
    QStringList notes;
    const auto loaderChecks = [&notes](QByteArrayView packed) {
        const QList<compression::PackedCheck> checks = compression::checkPacked(packed);
        notes = compression::notesRaised(checks);
        return compression::requireChecks(checks);
    };
    // The original is kept only when the result replaces the plain module.
    const bool keepOriginal = line->has(kBackupOption.name) && samePath(plain, out);
    const BackupNote original(out);
    auto done = compression::packModule(plain, header, *key, out, *folder, {}, loaderChecks, keepOriginal);
    if (!done)
        return report(failureFrom(done.error(), plain));
    if (keepOriginal)
        original.print();
    for (const QString& text : std::as_const(notes))
        note(QStringLiteral("note, ") + text);
    note(QStringLiteral("%1 (%2, %3 bytes) packed to %4: gzip %5 bytes, %6 bytes in all, key %7%8")
             .arg(plain, id->label)
             .arg(done->plainSize)
             .arg(out)
             .arg(done->gzipSize)
             .arg(done->packedSize + done->sceHeaderSize)
             .arg(keyText(done->key))
             .arg(done->sceHeaderSize > 0 ? QStringLiteral(", behind the %1-byte ~SCE header of %2")
                                                .arg(done->sceHeaderSize)
                                                .arg(header)
                                          : QString()));
    return kExitOk;
}

int runKeys(const QStringList& args) {
    auto line = parseCommandLine(args, {});
    if (!line)
        return report(line.error());
    if (!line->operands.isEmpty())
        return report(usageFailure(QStringLiteral("keys takes no arguments")));
    for (std::size_t i = 0; i < compression::kModuleKeys.size(); ++i) {
        const auto& key = compression::kModuleKeys[i];
        QStringList bytes;
        for (quint8 b : key.bytes)
            bytes.append(QStringLiteral("%1").arg(b, 2, 16, QLatin1Char('0')).toUpper());
        printLine(QStringLiteral("%1\t%2\t%3").arg(i).arg(QLatin1StringView(key.name), bytes.join(u' ')));
    }
    return kExitOk;
}

} // namespace qm::cli
