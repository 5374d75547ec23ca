#pragma once

// File > Export Theme...: the choices a theme is made from. The window only
// gathers paths and the firmware; the flow reads and writes the files.

#include <QDialog>

class QCheckBox;
class QComboBox;
class QLineEdit;
class QPushButton;

namespace qm::ui {

class ThemeDialog final : public QDialog {
    Q_OBJECT
public:
    // `module` is the editor's file; its stock defaults to module.orig.
    // `other` is an open editor's file of the other kind whose release
    // pairs, empty when there is none.
    ThemeDialog(const QString& module, const QString& firmware, const QString& other,
                QWidget* parent = nullptr);

    QString ptfPath() const;
    QString outputPath() const;
    QString firmware() const;
    QString stockPath() const;
    bool includeOther() const;

private:
    // A line with its edit box and a "..." button asking for a file.
    QLineEdit* fileLine(const char* name, const QString& filterName, const QString& filterPattern,
                        const QString& title, bool save);
    void updateOk();

    QLineEdit* m_ptf = nullptr;
    QLineEdit* m_output = nullptr;
    QLineEdit* m_stock = nullptr;
    QComboBox* m_firmware = nullptr;
    QCheckBox* m_other = nullptr;
    QPushButton* m_ok = nullptr;
};

} // namespace qm::ui
