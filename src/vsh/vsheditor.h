#pragma once

// The editor window of a vshmain.prx module: colours, alpha values, icon
// names, positions, other values and formats, paths and the main menu, on
// seven tabs. Every value box is found by its member.

#include "vshlayout.h"
#include "widgets/editorform.h"

#include <array>

class QGroupBox;
class QLabel;
class QLineEdit;

namespace qm::ui {

class VshColorGrid;
class VshMenuTab;

class VshEditor final : public EditorForm {
    Q_OBJECT
public:
    // The controls over `document`, which outlives the form.
    explicit VshEditor(doc::EditingDocument& document, QWidget* parent = nullptr);

    inline static const QString kCaption = QStringLiteral("VSHMain.rad Ededid");

    // box() and label() find number, icon-name and path boxes; a path has
    // no caption of its own (its group shares one).
    // Format `element` (0 to 4) of FormatsEurope or FormatsUSJapan.
    QLineEdit* formatBox(prx::VshMember member, int element) const;
    VshColorGrid* colorGrid() const { return m_grid; }
    VshMenuTab* menuTab() const { return m_menu; }
    QGroupBox* formatFrame() const { return m_formatFrame; }

protected:
    void showModule() override;
    void showNoModule() override;
    void localeChanged() override;

private:
    std::vector<std::vector<QWidget*>> makeFrames(vsh::Tab tab);
    QWidget* makePathPage();
    QGroupBox* makeFormatFrame();
    void setControlsEnabled(bool enabled);
    // Disables, empties or hides what the loaded release lacks.
    void applyReleaseLimits();
    void showFormats();

    VshColorGrid* m_grid = nullptr;
    VshMenuTab* m_menu = nullptr;
    QGroupBox* m_formatFrame = nullptr;
    std::array<std::array<QLineEdit*, 5>, 2> m_formats{};
    std::vector<QLabel*> m_pathLabels; // captions and hints
};

} // namespace qm::ui
