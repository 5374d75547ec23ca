#pragma once

// The editor window of a vshmain.prx module: colours, alpha values, icon
// names, positions, other values and formats, paths and the main menu, on
// seven tabs.

#include "prx/vsh.h"
#include "vshlayout.h"
#include "widgets/editorform.h"

#include <QList>
#include <QLocale>

#include <array>
#include <vector>

class QGroupBox;
class QLabel;
class QLineEdit;
class QTabWidget;

namespace qm::ui {

class ColorBox;
class NumberKeyFilter;
class VshColorGrid;
class VshMenuTab;

class frmVSHMain final : public EditorForm {
    Q_OBJECT
public:
    explicit frmVSHMain(QWidget* parent = nullptr);

    inline static const QString kCaption = QStringLiteral("VSHMain.rad Ededid");

    // Public status texts: the release label and the path, each followed by one blank.
    QString PRXVersionVSH;
    QString PRXFileVSH;
    // The loaded release, and whether the handlers may change values: false
    // while the window fills its controls.
    int intVersion = -1;
    bool blnReady = false;

    bool OpenVSHPRX(const QString& strFile, int intCurPRXType);
    bool SaveVSHPRX(const QString& strFile, int intCurPRXType);
    void SetControlsEnabled(bool enabled);
    // Disables, empties or hides what the loaded release lacks.
    void ApplyVersionLimits();

    QString statusVersion() const override { return PRXVersionVSH; }
    QString statusFile() const override { return PRXFileVSH; }
    int versionIndex() const override { return intVersion; }
    bool load(const QString& path, int version) override { return OpenVSHPRX(path, version); }
    bool save(const QString& path, int version) override { return SaveVSHPRX(path, version); }
    prx::ModuleKind moduleKind() const override { return prx::ModuleKind::Vsh; }
    Result<looks::ModuleValues> lookValues() const override;
    void showLook(const looks::ModuleValues& values) override;

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
    QLabel* lblNoUpdateInfo() const { return m_hints[0]; }
    QLabel* lblRedirRCO() const { return m_hints[1]; }
    QGroupBox* frameFormat() const { return m_frameFormat; }
    const NumberKeyFilter* keyFilter() const { return m_keyFilter; }

    // The locale numbers and month names are shown in; the user's by default.
    void setLocale(const QLocale& locale);
    // The values as the controls hold them now.
    prx::VshValues currentValues() const;

private:
    std::vector<std::vector<QWidget*>> makeNumberFrames(vsh::Tab tab);
    QWidget* makeIconsPage();
    QWidget* makePathPage();
    QGroupBox* makeFormatFrame();
    QLineEdit* makeNumberBox(int box);
    void showValues(const prx::VshValues& values);
    void followNetworkIcon();
    void pickColor(ColorBox* box);

    QTabWidget* m_tabs = nullptr;
    VshColorGrid* m_grid = nullptr;
    VshMenuTab* m_menu = nullptr;
    QGroupBox* m_frameFormat = nullptr;
    std::array<QLineEdit*, prx::kVshNumberBoxCount> m_numbers{};
    std::array<QLineEdit*, prx::kVshTextBoxCount> m_texts{};
    std::array<QLabel*, vsh::kCaptionCount> m_captions{};
    std::array<QLabel*, 8> m_iconLabels{}; // lblMultMSIcons(0..3), lblMultUMDIcon(0..3)
    std::array<QLabel*, 2> m_hints{};
    QLabel* m_notWritten = nullptr;
    NumberKeyFilter* m_keyFilter = nullptr;
    prx::VshValues m_loaded; // what the last load showed, to tell edited values
    QLocale m_locale;
};

} // namespace qm::ui
