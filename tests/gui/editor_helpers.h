#pragma once

// Shared by the editor tests: a VSH module of one release in a fresh folder
// and an editor that shows it, the releases as test rows, and user actions.

#include "scripteddialogs.h"
#include "shell/editorwindow.h"
#include "support/fixtures.h"
#include "support/known_offsets.h"
#include "vsh/menutab.h"
#include "vsh/vsheditor.h"

#include <QLocale>
#include <QString>
#include <QStringList>
#include <QTemporaryDir>

#include <initializer_list>
#include <memory>

class QComboBox;

namespace qm::ui {
class ColorBox;
}

namespace qm::test {

inline const QLocale kEnglish(QLocale::English, QLocale::UnitedStates);
inline const QLocale kFrench(QLocale::French, QLocale::France);

struct OpenedVsh {
    std::unique_ptr<QTemporaryDir> dir;
    QString path;
    VshFixture fixture;
    std::unique_ptr<ui::EditorWindow> window;
    ui::VshEditor* form = nullptr; // the window's
};

// A new editor window of `kind` holding no module, and its form.
struct BareEditor {
    explicit BareEditor(prx::ModuleKind kind) : window(kind) {}
    ui::EditorWindow window;
};
template <typename Form> Form& formOf(ui::EditorWindow& window) {
    return *qobject_cast<Form*>(window.editor());
}
// The editor window around a form of a window.
ui::EditorWindow* windowOf(const ui::EditorForm* form);

// The VSH members shown in number boxes (Singles and the BmpSize), and in text boxes.
QList<prx::VshMember> vshNumberMembers();
QList<prx::VshMember> vshTextMembers();
QString nameOf(prx::VshMember member);
QString nameOf(prx::PafMember member);

// What a VSH number box shows for the fixture's values in `locale` (empty
// for a member the release lacks), and what a text box shows.
QString expectedNumber(const prx::ModuleValues& values, prx::VshMember member,
                       const QLocale& locale = kEnglish);
QString expectedText(const prx::ModuleValues& values, prx::VshMember member);
QString expectedFormat(const prx::ModuleValues& values, prx::VshMember block, int element);
// The colours of a colour member as 24-bit values.
QList<prx::Rgb> expectedColours(const prx::ModuleValues& values, prx::VshMember member);
// A row of the menu list as it shows it.
struct MenuRow {
    QString order;
    QString category; // "Main Menu"
    QString icon;
    QString region;
    QString enabled;
    bool operator==(const MenuRow&) const = default;
};
// The menu list's rows, and the rows values give.
QList<MenuRow> menuRows(const ui::VshMenuTab& tab);
QList<MenuRow> expectedMenuRows(const prx::ModuleValues& values);
// What the box of a PAF member shows for the values.
QString expectedPaf(const prx::ModuleValues& values, prx::PafMember member, const QLocale& locale = kEnglish);

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
// A colour box by its name: "TextColors[0]".
ui::ColorBox* colourBox(const QWidget& form, const char* name);
QString accessibleDescription(QWidget* widget);

} // namespace qm::test
