#pragma once

// File > Export Theme...: the choices a theme is made from. The window only
// gathers paths and the firmware; the flow reads and writes the files.

#include <QDialog>

#include <functional>

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

    // Every field as it stands, to be put back in a later dialog of the same module.
    struct Fields {
        QString ptf;
        QString output;
        QString firmware;
        QString stock;
        bool includeOther = false;
    };
    Fields fields() const;
    void setFields(const Fields& fields);
    // OK asks `check` first: the dialog closes only when it says yes.
    void setAcceptCheck(std::function<bool(const ThemeDialog&)> check) { m_check = std::move(check); }
    void accept() override;

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
    std::function<bool(const ThemeDialog&)> m_check;
};

} // namespace qm::ui
