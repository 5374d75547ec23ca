#pragma once

// The two switches of the configuration file, kept in memory and refreshed
// when the file changes, so nothing polls the disk.

#include "prx/result.h"

#include <QFileSystemWatcher>
#include <QObject>
#include <QString>

namespace qm::ui {

// The configuration file in the working folder.
QString configFilePath();
// Whether saves keep the module they overwrite as NAME.orig, read afresh
// from the file at `iniPath`: on unless the key says 0.
bool keepOriginalIn(const QString& iniPath);

class ConfigStore final : public QObject {
    Q_OBJECT
public:
    explicit ConfigStore(const QString& iniPath, QObject* parent = nullptr);

    QString path() const { return m_path; }
    // The key's text as last read from the file.
    QString value(const QString& key) const;
    // A switch is on only when its value reads as the integer 1.
    bool checkPrx() const;
    // Read afresh from the file, as every save does.
    bool compPrxNow() const;
    // Whether saves keep the module they overwrite as NAME.orig: on unless the key says 0.
    bool keepOriginalNow() const;

    // Writes a key and refreshes the cache.
    Status setValue(const QString& key, const QString& value);

    void reload();

Q_SIGNALS:
    void changed();

private:
    void watch();

    QString m_path;
    QString m_checkPrx;
    QString m_compPrx;
    QFileSystemWatcher m_watcher;
};

} // namespace qm::ui
