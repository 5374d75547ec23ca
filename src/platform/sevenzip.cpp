#include "sevenzip.h"

#include <QDir>
#include <QFileInfo>
#include <QSettings>

namespace qm::platform {

QStringList sevenZipFolders() {
    QStringList folders;
#ifdef Q_OS_WIN
    const auto add = [&folders](const QString& folder) {
        if (folder.isEmpty() || !QFileInfo(folder).isDir())
            return;
        const QString clean = QDir::cleanPath(QDir::fromNativeSeparators(folder));
        if (!folders.contains(clean, Qt::CaseInsensitive))
            folders.append(clean);
    };
    for (const char* root : {"HKEY_CURRENT_USER", "HKEY_LOCAL_MACHINE"}) {
        const QSettings key(QLatin1StringView(root) + QStringLiteral("\\Software\\7-Zip"),
                            QSettings::NativeFormat);
        for (const char* value : {"Path64", "Path"})
            add(key.value(QLatin1StringView(value)).toString());
    }
    for (const char* variable : {"ProgramFiles", "ProgramW6432", "ProgramFiles(x86)"}) {
        const QString base = qEnvironmentVariable(variable);
        if (!base.isEmpty())
            add(base + QStringLiteral("/7-Zip"));
    }
#endif
    return folders;
}

} // namespace qm::platform
