#include "shell_helpers.h"

#include "shell/editorwindow.h"
#include "shell/mainwindow.h"
#include "support/bytes.h"
#include "support/fixtures.h"

#include <QAction>
#include <QApplication>
#include <QComboBox>
#include <QPushButton>
#include <QSettings>

namespace qm::test {

QList<ui::EditorForm*> editorsOf(const ui::MainWindow& main) {
    QList<ui::EditorForm*> forms;
    for (ui::EditorWindow* child : main.children())
        forms.append(child->editor());
    return forms;
}

void trigger(const ui::MainWindow& main, const char* action) {
    auto* a = main.findChild<QAction*>(QString::fromLatin1(action));
    if (!a)
        qFatal("no action %s", action);
    a->trigger();
}

SettingsFolder::SettingsFolder(const QString& folder) {
    QSettings::setPath(QSettings::NativeFormat, QSettings::UserScope, folder);
    QSettings::setPath(QSettings::IniFormat, QSettings::UserScope, folder);
#ifdef Q_OS_WIN
    // There the program's settings are in the registry, which no path moves:
    // each test starts from none instead.
    QSettings(QStringLiteral("Quillmark"), QStringLiteral("Quillmark")).clear();
#endif
}

QString DataFolder::write(const QString& name, const QByteArray& bytes) const {
    writeFile(file(name), bytes);
    return file(name);
}

QByteArray packedModule(const QByteArray& module, quint8 keyByte) {
    return makePacked(gzip(module), static_cast<qint32>(module.size()), "paf", keyByte);
}

ProgressDriver::ProgressDriver(int keyIndex) : m_key(keyIndex) {
    m_timer.setInterval(20);
    connect(&m_timer, &QTimer::timeout, this, &ProgressDriver::poll);
    m_timer.start();
}

void ProgressDriver::poll() {
    QWidget* modal = QApplication::activeModalWidget();
    if (!modal)
        return;
    auto* compress = modal->findChild<QPushButton*>(QStringLiteral("compressButton"));
    if (compress && compress->isVisible() && compress->isEnabled()) {
        if (m_key >= 0)
            if (auto* keys = modal->findChild<QComboBox*>(QStringLiteral("keyList")))
                keys->setCurrentIndex(m_key);
        compress->click();
        return;
    }
    auto* ok = modal->findChild<QPushButton*>(QStringLiteral("okButton"));
    if (ok && ok->isVisible() && ok->isEnabled()) {
        ++okClicks;
        ok->click();
    }
}

} // namespace qm::test
