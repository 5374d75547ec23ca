#pragma once

// The editor window of a vshmain.prx module: colours, alpha values, icon
// names, positions, other values and formats, paths and the main menu, on
// seven tabs.

#include "vshlayout.h"
#include "widgets/editorform.h"

#include <array>
#include <vector>

class QGroupBox;
class QLabel;
class QLineEdit;
class QTabWidget;

namespace qm::ui {

class ColorBox;
class NumberKeyFilter;
class ValueBinding;
class VshColorGrid;
class VshMenuTab;

class VshEditor final : public EditorForm {
    Q_OBJECT
public:
    explicit VshEditor(QWidget* parent = nullptr);

    inline static const QString kCaption = QStringLiteral("VSHMain.rad Ededid");

    void setControlsEnabled(bool enabled);
    // Disables, empties or hides what the loaded release lacks.
    void applyReleaseLimits();

    Status checkEntries() const override;

    // The controls, by their arrays.
    QLineEdit* txtPRXValue(int i) const { return m_numbers[static_cast<std::size_t>(i)]; }
    QLineEdit* txtPRXValue2(int i) const { return m_texts[static_cast<std::size_t>(i)]; }
    QLabel* lblPRXValue(int i) const { return m_captions[static_cast<std::size_t>(i)]; }
    // The caption label of number box i.
    QLabel* numberLabel(int i) const {
        return lblPRXValue(vsh::kNumberBoxes[static_cast<std::size_t>(i)].label);
    }
    QLabel* textLabel(int i) const; // of txtPRXValue2(0..7)
    QTabWidget* tabs() const { return m_tabs; }
    VshColorGrid* colorGrid() const { return m_grid; }
    VshMenuTab* menuTab() const { return m_menu; }
    QLabel* updatePathHint() const { return m_hints[0]; }
    QLabel* rcoPathHint() const { return m_hints[1]; }
    QGroupBox* formatFrame() const { return m_frameFormat; }
    const NumberKeyFilter* keyFilter() const { return m_keyFilter; }

protected:
    void showModule() override;
    void showNoModule() override;
    void localeChanged() override;

private:
    std::vector<std::vector<QWidget*>> makeNumberFrames(vsh::Tab tab);
    QWidget* makeIconsPage();
    QWidget* makePathPage();
    QGroupBox* makeFormatFrame();
    QLineEdit* makeNumberBox(int box);
    void showColours(int member);
    void showTexts();
    void pickColor(ColorBox* box);
    void valueChanged(int member);
    // The colour boxes of a colour member, in element order.
    std::vector<ColorBox*> colourBoxes(prx::VshMember member) const;

    QTabWidget* m_tabs = nullptr;
    VshColorGrid* m_grid = nullptr;
    VshMenuTab* m_menu = nullptr;
    QGroupBox* m_frameFormat = nullptr;
    std::array<QLineEdit*, vsh::kNumberBoxCount> m_numbers{};
    std::array<ValueBinding*, vsh::kNumberBoxCount> m_numberBindings{};
    std::array<QLineEdit*, vsh::kTextBoxCount> m_texts{};
    std::array<QLabel*, vsh::kCaptionCount> m_captions{};
    std::array<QLabel*, 8> m_iconLabels{}; // lblMultMSIcons(0..3), lblMultUMDIcon(0..3)
    std::array<QLabel*, 2> m_hints{};
    QLabel* m_notWritten = nullptr;
    NumberKeyFilter* m_keyFilter = nullptr;
};

} // namespace qm::ui
