#include "moduledocument.h"

#include "prx/fileio.h"
#include "prx/module.h"
#include "prx/rules.h"
#include "prx/valueio.h"

#include <QFile>
#include <QFileInfo>

namespace qm::doc {
namespace {

// The longest plain module of any release: a longer file is none.
qint64 largestModule() {
    qint64 most = 0;
    for (const auto kind : {prx::ModuleKind::Vsh, prx::ModuleKind::Paf})
        for (int row = 1; row <= prx::rowCount(kind); ++row)
            most = std::max<qint64>(most, prx::release(kind, row).fileSize);
    return most;
}

// Whether two paths name one file (an existing one by its canonical path).
bool sameFile(const QString& a, const QString& b) {
    const QFileInfo fa(a), fb(b);
    if (fa.exists() && fb.exists())
        return fa.canonicalFilePath() == fb.canonicalFilePath();
    return fa.absoluteFilePath() == fb.absoluteFilePath();
}

// The stock module written as the original of `path` before `path` is.
Status keptBefore(const QString& path, const QByteArray& stock) {
    const QString original = prx::originalPath(path);
    if (Status s = prx::writeFileAtomically(original, stock); !s) {
        Error e = Error::of(ErrorKind::Io, errnum::PathFileAccess, Reason::KeepOriginal).in(path);
        e.other = original;
        e.text = s.error().text;
        return e;
    }
    return {};
}

} // namespace

FileStamp FileStamp::of(const QString& path) {
    FileStamp stamp;
    const QFileInfo info(path);
    if (!info.isFile())
        return stamp;
    stamp.size = info.size();
    stamp.modified = info.lastModified();
    return stamp;
}

ModuleDocument::ModuleDocument(QObject* parent) : QObject(parent) {}

ModuleDocument::~ModuleDocument() = default;

Status ModuleDocument::open(const QString& path, prx::ReleaseId release) {
    auto image = prx::readModule(path, release);
    if (!image)
        return image.error();
    auto values = prx::loadValues(*image, release);
    if (!values)
        return values.error();
    adopt(path, release, std::move(*image), std::move(*values));
    openedAs(path);
    return {};
}

Result<ModuleDocument::Opened> ModuleDocument::open(const QString& path) {
    auto bytes = prx::readWholeFile(path, largestModule());
    if (!bytes) {
        // Longer than any plain module: what it is takes only its head.
        if (bytes.error().number != errnum::BadFileLength)
            return bytes.error();
        auto id = prx::identifyFile(path);
        if (!id)
            return id.error();
        return Opened{*id, std::nullopt};
    }
    const qint64 size = bytes->size();
    const prx::Identification id =
        prx::identify(QByteArrayView(*bytes).first(std::min(size, prx::kIdentifyReadLength)), size);
    if (id.kind != prx::FileKind::Vsh && id.kind != prx::FileKind::Paf)
        return Opened{id, std::nullopt};
    const prx::ReleaseId release{id.kind == prx::FileKind::Vsh ? prx::ModuleKind::Vsh : prx::ModuleKind::Paf,
                                 id.version};
    prx::ModuleImage image(std::move(*bytes));
    auto values = prx::loadValues(image, release);
    if (!values)
        return Opened{id, values.error()};
    adopt(path, release, std::move(image), std::move(*values));
    openedAs(path);
    return Opened{id, std::nullopt};
}

void ModuleDocument::openedAs(const QString& path) {
    m_openedOriginal = prx::originalPath(path);
    m_firstRead = m_image.bytes(); // shared until the first save changes the image
}

QByteArray ModuleDocument::stockBytes() const {
    if (QFileInfo(m_openedOriginal).size() == m_firstRead.size())
        if (auto kept = prx::readWholeFile(m_openedOriginal, m_firstRead.size()))
            return *kept;
    return m_firstRead;
}

void ModuleDocument::close() {
    m_path.clear();
    m_openedOriginal.clear();
    m_firstRead.clear();
    m_image = prx::ModuleImage();
    m_stamp = FileStamp();
    fileReplaced();
    Q_EMIT valuesReplaced();
    noteModified();
}

void ModuleDocument::adopt(const QString& path, prx::ReleaseId release, prx::ModuleImage image,
                           prx::ModuleValues values) {
    m_stamp = FileStamp::of(path);
    m_path = path;
    m_release = release;
    m_image = std::move(image);
    m_loaded = values;
    m_values = std::move(values);
    prx::applyFollowing(m_values);
    fileReplaced();
    Q_EMIT valuesReplaced();
    noteModified();
}

bool ModuleDocument::isModified() const {
    return isOpen() && m_values != m_loaded;
}

void ModuleDocument::noteModified() {
    const bool modified = isModified();
    if (modified == m_modified)
        return;
    m_modified = modified;
    Q_EMIT modifiedChanged(modified);
}

void ModuleDocument::setValue(int member, const prx::Value& value) {
    if (!m_values.has(member) || m_values.value(member) == value)
        return;
    prx::ModuleValues after = m_values;
    after.setValue(member, value);
    prx::applyFollowing(after);
    setValues(after);
}

void ModuleDocument::setValues(const prx::ModuleValues& values) {
    if (values.release() != m_values.release())
        return;
    const prx::ModuleValues before = std::exchange(m_values, values);
    prx::applyFollowing(m_values);
    for (int m = 0; m < m_values.memberCount(); ++m)
        if (m_values.value(m) != before.value(m))
            Q_EMIT valueChanged(m);
    noteModified();
}

Status ModuleDocument::save(const QString& dest, bool keepOriginal) {
    if (!isOpen())
        return Error::of(ErrorKind::NotModule, errnum::PathFileAccess, Reason::NothingOpen);
    if (auto s = savable(); !s)
        return s;
    const QString original = prx::originalPath(dest);
    const bool saveAs = !sameFile(dest, m_path);
    const bool keepFirst = keepOriginal && !QFileInfo::exists(original) && !QFileInfo(original).isSymLink();
    const QByteArray stock = keepFirst || (keepOriginal && saveAs) ? stockBytes() : QByteArray();
    // The values go into the bytes held here rather than a copy of the whole
    // module; until the file is written and read back, any failure puts every
    // byte they changed back.
    m_image.startJournal();
    Status saved = prx::patchValues(m_image, m_loaded, m_values);
    if (saved && keepFirst)
        saved = keptBefore(dest, stock);
    if (saved) {
        saved = prx::writeFileAtomically(dest, m_image.bytes());
        if (!saved && keepFirst)
            QFile::remove(original);
    }
    // What the file now stores (texts as cut to their slots), read from the bytes just written.
    Result<prx::ModuleValues> stored =
        saved ? prx::loadValues(m_image, m_release) : Result<prx::ModuleValues>(saved.error());
    if (!stored) {
        m_image.rollBack();
        return stored.error();
    }
    m_image.keepWrites();
    adopt(dest, m_release, std::move(m_image), std::move(*stored));
    // Save As over a file with an .orig of its own: the stock replaces it.
    if (keepOriginal && saveAs && !keepFirst) {
        const auto kept = prx::readWholeFile(original, stock.size());
        if (!kept || *kept != stock)
            return prx::writeFileAtomically(original, stock);
    }
    return {};
}

bool ModuleDocument::changedOnDisk() const {
    if (!isOpen())
        return false;
    if (!(FileStamp::of(m_path) == m_stamp))
        return true;
    QFile file(m_path);
    return !file.open(QIODevice::ReadOnly) || file.readAll() != m_image.bytes();
}

} // namespace qm::doc
