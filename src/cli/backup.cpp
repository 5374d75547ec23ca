#include "backup.h"

#include "console.h"
#include "prx/fileio.h"

#include <QFileInfo>

namespace qm::cli {

bool samePath(const QString& a, const QString& b) {
    const QFileInfo fa(a), fb(b);
    if (fa.exists() && fb.exists())
        return fa.canonicalFilePath() == fb.canonicalFilePath();
    return fa.absoluteFilePath() == fb.absoluteFilePath();
}

BackupNote::BackupNote(const QString& path)
    : m_original(prx::originalPath(path)), m_existed(QFileInfo::exists(m_original)) {}

void BackupNote::print() const {
    if (!m_existed && QFileInfo::exists(m_original))
        note(QStringLiteral("the original is kept as %1").arg(m_original));
}

} // namespace qm::cli
