#include "configstore.h"

#include "prx/config.h"
#include "prx/workfolder.h"

#include <QFileInfo>

namespace qm::ui {

ConfigStore::ConfigStore(const QString& iniPath, QObject* parent) : QObject(parent), m_path(iniPath) {
    connect(&m_watcher, &QFileSystemWatcher::fileChanged, this, &ConfigStore::reload);
    connect(&m_watcher, &QFileSystemWatcher::directoryChanged, this, &ConfigStore::reload);
    reload();
}

void ConfigStore::watch() {
    // Writes replace the file, which ends a watch on it: watch it anew, and
    // its folder so that a file created later is seen too.
    const QString folder = QFileInfo(m_path).absolutePath();
    if (!m_watcher.directories().contains(folder) && QFileInfo(folder).isDir())
        m_watcher.addPath(folder);
    if (!m_watcher.files().contains(m_path) && QFileInfo::exists(m_path))
        m_watcher.addPath(m_path);
}

void ConfigStore::reload() {
    const QString check = prx::readIniValue(m_path, prx::kIniSection, prx::kKeyCheckPrx);
    const QString comp = prx::readIniValue(m_path, prx::kIniSection, prx::kKeyCompPrx);
    watch();
    if (check == m_checkPrx && comp == m_compPrx)
        return;
    m_checkPrx = check;
    m_compPrx = comp;
    Q_EMIT changed();
}

QString ConfigStore::value(const QString& key) const {
    if (key.compare(prx::kKeyCheckPrx, Qt::CaseInsensitive) == 0)
        return m_checkPrx;
    if (key.compare(prx::kKeyCompPrx, Qt::CaseInsensitive) == 0)
        return m_compPrx;
    return prx::readIniValue(m_path, prx::kIniSection, key);
}

bool ConfigStore::checkPrx() const {
    return prx::iniSwitchOn(m_checkPrx);
}

bool ConfigStore::compPrxNow() const {
    return prx::iniSwitchOn(prx::readIniValue(m_path, prx::kIniSection, prx::kKeyCompPrx));
}

QString configFilePath() {
    return prx::workFolder() + prx::kIniFileName;
}

bool keepOriginalIn(const QString& iniPath) {
    const QString value = prx::readIniValue(iniPath, prx::kIniSection, prx::kKeyKeepOriginal);
    return value.trimmed().isEmpty() || prx::iniSwitchOn(value);
}

bool ConfigStore::keepOriginalNow() const {
    return keepOriginalIn(m_path);
}

Status ConfigStore::setValue(const QString& key, const QString& value) {
    Status result = prx::writeIniValue(m_path, prx::kIniSection, key, value);
    reload();
    return result;
}

} // namespace qm::ui
