#pragma once

// The editor window of a paf.prx module: 25 numeric values on three tabs.
// Every value box is found by its member.

#include "prx/catalogue.h"
#include "widgets/editorform.h"

class QLabel;
class QLineEdit;
class QTabWidget;

namespace qm::ui {

class ValueBoxes;

class PafEditor final : public EditorForm {
    Q_OBJECT
public:
    explicit PafEditor(QWidget* parent = nullptr);
    ~PafEditor() override;

    inline static const QString kCaption = QStringLiteral("Paf.rad Ededid");

    Status checkEntries() const override;

    QLineEdit* box(prx::PafMember member) const;
    QLabel* label(prx::PafMember member) const;
    QTabWidget* tabs() const { return m_tabs; }

    // The caption of a member's box as the name of its edits ("Glow Blinking").
    static QString valueCaption(prx::PafMember member);

protected:
    void showModule() override;
    void showNoModule() override;
    void localeChanged() override;

private:
    ValueBoxes* m_boxes = nullptr;
    QTabWidget* m_tabs = nullptr;
};

} // namespace qm::ui
