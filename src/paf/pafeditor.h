#pragma once

// The editor window of a paf.prx module: 25 numeric values on three tabs.

#include "prx/catalogue.h"
#include "widgets/editorform.h"

#include <array>

class QGroupBox;
class QLabel;
class QLineEdit;
class QTabWidget;

namespace qm::ui {

class NumberKeyFilter;
class ValueBinding;

class PafEditor final : public EditorForm {
    Q_OBJECT
public:
    explicit PafEditor(QWidget* parent = nullptr);

    inline static const QString kCaption = QStringLiteral("Paf.rad Ededid");
    static constexpr int kBoxCount = 25;             // txtPAFPRXValue(0..24)
    static constexpr int kBoxMainIconYUnfocused = 8; // left out of the empty check
    // The member each box holds.
    static const std::array<prx::PafMember, kBoxCount> kBoxMembers;

    void setControlsEnabled(bool enabled);
    void disableFollowingBox();

    Status checkEntries() const override;

    QLineEdit* valueBox(int index) const { return m_boxes[static_cast<std::size_t>(index)]; }
    QLabel* valueLabel(int index) const { return m_labels[static_cast<std::size_t>(index)]; }
    const NumberKeyFilter* keyFilter() const { return m_keyFilter; }

protected:
    void showModule() override;
    void showNoModule() override;
    void localeChanged() override;

private:
    QTabWidget* m_tabs = nullptr;
    std::array<QGroupBox*, 12> m_frames{};
    std::array<QLineEdit*, kBoxCount> m_boxes{};
    std::array<QLabel*, kBoxCount> m_labels{};
    std::array<ValueBinding*, kBoxCount> m_bindings{};
    NumberKeyFilter* m_keyFilter = nullptr;
};

} // namespace qm::ui
