#pragma once

// Shared by the editor tests: a VSH module of one release in a fresh folder
// and an editor that shows it, the releases as test rows, and user actions.

#include "scripteddialogs.h"
#include "support/fixtures.h"
#include "vsh/frmvshmain.h"

#include <QLocale>
#include <QString>
#include <QStringList>
#include <QTemporaryDir>

#include <initializer_list>
#include <memory>

class QComboBox;

namespace qm::test {

inline const QLocale kEnglish(QLocale::English, QLocale::UnitedStates);
inline const QLocale kFrench(QLocale::French, QLocale::France);

struct OpenedVsh {
    std::unique_ptr<QTemporaryDir> dir;
    QString path;
    VshFixture fixture;
    std::unique_ptr<ui::frmVSHMain> form;
};

// Writes a fixture of `version` and loads it into a new window.
OpenedVsh openVsh(int version, const QLocale& locale = kEnglish, quint32 seed = 3);

// A "version" column with one row per VSH release.
void addVshReleaseRows();

// The user picks entry `index` of a combo box.
void pick(QComboBox* combo, int index);

// The fixture's texts are in the C locale; this is how a window in `locale` shows them.
QString shownIn(QString cText, const QLocale& locale);

// Texts written as plain ASCII literals.
QStringList latin1(std::initializer_list<const char*> texts);

// "en" or "fr".
QLocale localeNamed(const QString& name);

// The titles and texts of message boxes, for failure output.
QString messageSummary(const QList<DialogCall>& calls);

QString accessibleName(QWidget* widget);
QString accessibleDescription(QWidget* widget);

} // namespace qm::test
