#pragma once

// --backup: the commands that overwrite a module keep its original beside
// it as NAME.orig, once (prx::writeFileAtomically), and say so.

#include "args.h"

#include <QString>

namespace qm::cli {

inline const Option kBackupOption{QStringLiteral("--backup"), {}, false};

// Whether two paths name one file (an existing one by its canonical path).
bool samePath(const QString& a, const QString& b);

// Made before a write to `path`; print() then notes the NAME.orig that the
// write made, and nothing when one was there already.
class BackupNote {
public:
    explicit BackupNote(const QString& path);
    void print() const;

private:
    QString m_original;
    bool m_existed = false;
};

} // namespace qm::cli
