#pragma once

// One open module: its path and release, the bytes read from it, the values
// as they were read and as they are now, and the stamp of the file. A save
// puts the current values into the bytes held here and writes them once;
// the document then holds the file just written. The windows show a
// document and the command-line tool edits one; neither does byte work.

#include "prx/catalogue.h"
#include "prx/header.h"
#include "prx/moduleimage.h"
#include "prx/result.h"
#include "prx/values.h"

#include <QDateTime>
#include <QObject>
#include <QString>

#include <optional>

namespace qm::doc {

// What a file looked like when it was read or written: its length and time
// (the document keeps its bytes). A file that is gone has no stamp.
struct FileStamp {
    qint64 size = -1;
    QDateTime modified;
    bool operator==(const FileStamp&) const = default;

    static FileStamp of(const QString& path);
};

class ModuleDocument : public QObject {
    Q_OBJECT
public:
    explicit ModuleDocument(QObject* parent = nullptr);
    ~ModuleDocument() override;

    // Reads the module at `path` once, as a plain module of `release`. A
    // failure leaves the document as it was.
    Status open(const QString& path, prx::ReleaseId release);
    // Reads the file at `path` once and identifies it by what was read; a
    // plain module of a known release is then open. Anything else comes
    // back as identified, the document left as it was; so does a module
    // whose values can't be read, with the reason in `loadError`.
    struct Opened {
        prx::Identification id;
        std::optional<Error> loadError;
    };
    Result<Opened> open(const QString& path);
    // Back to no module.
    void close();

    bool isOpen() const { return !m_path.isEmpty(); }
    QString path() const { return m_path; }
    prx::ReleaseId release() const { return m_release; }
    // The bytes of the file as read, or as last written.
    const prx::ModuleImage& image() const { return m_image; }

    // The values as the file holds them, and as they are now.
    const prx::ModuleValues& loadedValues() const { return m_loaded; }
    const prx::ModuleValues& values() const { return m_values; }
    // Whether the values differ from the file's.
    virtual bool isModified() const;

    // Puts one member's value, or every value, in place; values that follow
    // another follow. valueChanged comes for every member that changed.
    void setValue(int member, const prx::Value& value);
    void setValues(const prx::ModuleValues& values);

    // Writes the values into `dest` (the open file or another) in one piece.
    // Afterwards the document holds `dest` as written, its values as the
    // file now stores them. keepOriginal keeps the stock module beside it
    // as dest.orig (prx::originalPath): the module as it was before any of
    // Quillmark's edits, whatever name the edits went under.
    // - Over the open file an existing .orig is never replaced; a missing one
    //   is written before the file, and nothing is written when it fails.
    // - Save As (another file) carries the stock along: it replaces a
    //   dest.orig that holds other bytes, once dest is written; a failure
    //   then comes back with dest written and held.
    Status save(const QString& dest, bool keepOriginal = false);
    Status saveAs(const QString& dest, bool keepOriginal = false) { return save(dest, keepOriginal); }
    // The stock module the .orig of a save holds: the open file's own .orig
    // when it has one of the module's length, else the bytes first read.
    QByteArray stockBytes() const;

    // Whether the file changed on disk (length, time or contents) since the
    // document read or wrote it. A file that is gone has changed.
    bool changedOnDisk() const;

Q_SIGNALS:
    void valueChanged(int member);
    // Every value was replaced: by an open, a save or close.
    void valuesReplaced();
    void modifiedChanged(bool modified);

protected:
    // A new file was taken in (open or save).
    virtual void fileReplaced() {}
    // Whether the values can be written as they stand; a refusal stops a save before it writes.
    virtual Status savable() const { return {}; }
    void noteModified();

private:
    void adopt(const QString& path, prx::ReleaseId release, prx::ModuleImage image, prx::ModuleValues values);
    void openedAs(const QString& path);

    QString m_path;
    prx::ReleaseId m_release;
    prx::ModuleImage m_image;
    prx::ModuleValues m_loaded;
    prx::ModuleValues m_values;
    FileStamp m_stamp;
    // The stock module: the .orig beside the file as opened, else its bytes then.
    QString m_openedOriginal;
    QByteArray m_firstRead;
    bool m_modified = false;
};

} // namespace qm::doc
