#include "module.h"

#include "fileio.h"

namespace qm::prx {

Result<ModuleImage> readModule(const QString& path, ReleaseId release) {
    if (!release.isValid())
        return noReleaseRow(release.row);
    const Release& r = release.info();
    auto bytes = readWholeFile(path, qint64(r.fileSize) + 1);
    if (!bytes) {
        // Longer than the release's module.
        if (bytes.error().number == errnum::BadFileLength) {
            Error e = Error::of(ErrorKind::NotModule, errnum::PathFileAccess, Reason::NotRelease).in(path);
            e.other = QString::fromLatin1(r.label);
            return e;
        }
        return bytes.error();
    }
    if (bytes->size() != r.fileSize) {
        Error e = Error::of(ErrorKind::NotModule, errnum::BadFileLength, Reason::WrongLength).in(path);
        e.count = bytes->size();
        e.limit = r.fileSize;
        e.other = QString::fromLatin1(r.label);
        return e;
    }
    return ModuleImage(std::move(*bytes));
}

Error noReleaseRow(int row) {
    Error e = Error::of(ErrorKind::NotModule, errnum::SubscriptOutOfRange, Reason::NoReleaseRow);
    e.count = row;
    return e;
}

Status writeModule(const QString& dest, const ModuleImage& image, bool keepOriginal) {
    return writeFileAtomically(dest, image.bytes(), keepOriginal);
}

} // namespace qm::prx
