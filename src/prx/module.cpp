#include "module.h"

#include "fileio.h"

namespace qm::prx {

QString releaseLabel(ModuleKind kind, int version) {
    return QString::fromLatin1(release(kind, version).label);
}

Result<ModuleImage> readModule(const QString& path, ModuleKind kind, int version) {
    if (version < 1 || version > rowCount(kind))
        return Error{ErrorKind::NotModule, errnum::SubscriptOutOfRange,
                     QStringLiteral("Subscript out of range"),
                     QStringLiteral("no release row %1").arg(version)};
    const Release& r = release(kind, version);
    auto bytes = readWholeFile(path, qint64(r.fileSize) + 1);
    if (!bytes) {
        if (bytes.error().number == errnum::BadFileLength)
            return Error::notModule(
                QStringLiteral("Bad file length"),
                QStringLiteral("%1 is not a %2 module").arg(path, QLatin1StringView(r.label)));
        return bytes.error();
    }
    if (bytes->size() != r.fileSize)
        return Error{ErrorKind::NotModule, errnum::BadFileLength, QStringLiteral("Bad file length"),
                     QStringLiteral("%1 holds %2 bytes, a %3 module holds %4")
                         .arg(path)
                         .arg(bytes->size())
                         .arg(QLatin1StringView(r.label))
                         .arg(r.fileSize)};
    return ModuleImage(std::move(*bytes));
}

Status writeModule(const QString& dest, const ModuleImage& image, bool keepOriginal) {
    return writeFileAtomically(dest, image.bytes(), keepOriginal);
}

} // namespace qm::prx
