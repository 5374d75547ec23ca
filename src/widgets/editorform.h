#pragma once

// What the main window needs of an editor window: the status texts, the
// version index it was loaded with, and its load and save operations.

#include "looks/members.h"
#include "prx/result.h"

#include <QWidget>

class QTabWidget;

namespace qm::ui {

class EditorForm : public QWidget {
    Q_OBJECT
public:
    // A fixed-size editor window with its name, caption, the editors' icon and font.
    EditorForm(const QString& name, const QString& caption, QSize size, QWidget* parent);

    // The release label followed by one blank, as the status bar shows it.
    virtual QString statusVersion() const = 0;
    // The module's path followed by one blank; empty when no file is loaded.
    virtual QString statusFile() const = 0;
    virtual int versionIndex() const = 0;

    // Loads the module; reports failures itself and returns false then.
    virtual bool load(const QString& path, int version) = 0;
    // Writes the shown values into the module at `path` (a copy of the open
    // module when it is another file) and shows that file afterwards. Reports
    // failures itself; true only when the file holds the values.
    virtual bool save(const QString& path, int version) = 0;

    // Looks: the kind of module, the values the window shows now with their
    // numbers in the C locale (failing for a box that holds no number), and
    // values put into the controls without saving.
    virtual prx::ModuleKind moduleKind() const = 0;
    virtual Result<looks::ModuleValues> lookValues() const = 0;
    virtual void showLook(const looks::ModuleValues& values) = 0;

    // The open file: the status file text without its trailing blank.
    QString openFile() const;

protected:
    // A failed load or save, in a message box: a refused check as the plain
    // message, any other failure as "Error N occurred! (...)" with the critical icon.
    void reportError(const Error& error);

    // The tab control that fills the window, `margin` pixels from its edges.
    QTabWidget* addTabs(const QString& name, int margin);

Q_SIGNALS:
    // The status texts changed (after a load).
    void statusChanged();
};

} // namespace qm::ui
