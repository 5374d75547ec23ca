#pragma once

// The editor window of a paf.prx module: 25 numeric values on three tabs.

#include "prx/paf.h"
#include "widgets/editorform.h"

#include <QLocale>

#include <array>

class QGroupBox;
class QLabel;
class QLineEdit;
class QTabWidget;

namespace qm::ui {

class NumberKeyFilter;

class frmPaf final : public EditorForm {
    Q_OBJECT
public:
    explicit frmPaf(QWidget* parent = nullptr);

    inline static const QString kCaption = QStringLiteral("Paf.rad Ededid");

    // Public status texts: the release label and the path, each followed by one blank.
    QString PRXVersionPAF;
    QString PRXFilePAF;

    bool OpenPAFPRX(const QString& strFile, int intCurPRXType);
    bool SavePAFPRX(const QString& strFile, int intCurPRXType);
    void SetValueControlsEnabled(bool enabled);
    void DisableMainIconYUnfocused();

    QString statusVersion() const override { return PRXVersionPAF; }
    QString statusFile() const override { return PRXFilePAF; }
    int versionIndex() const override { return m_version; }
    bool load(const QString& path, int version) override { return OpenPAFPRX(path, version); }
    bool save(const QString& path, int version) override { return SavePAFPRX(path, version); }
    prx::ModuleKind moduleKind() const override { return prx::ModuleKind::Paf; }
    Result<looks::ModuleValues> lookValues() const override;
    void showLook(const looks::ModuleValues& values) override;

    QLineEdit* valueBox(int index) const { return m_boxes[static_cast<std::size_t>(index)]; }
    QLabel* valueLabel(int index) const { return m_labels[static_cast<std::size_t>(index)]; }
    const NumberKeyFilter* keyFilter() const { return m_keyFilter; }
    // The locale numbers are shown and read in; the user's by default.
    void setLocale(const QLocale& locale);

private:
    prx::PafValues currentValues() const;

    QTabWidget* m_tabs = nullptr;
    std::array<QGroupBox*, 12> m_frames{};
    std::array<QLineEdit*, prx::kPafBoxCount> m_boxes{};
    std::array<QLabel*, prx::kPafBoxCount> m_labels{};
    NumberKeyFilter* m_keyFilter = nullptr;
    prx::PafValues m_loaded; // what the last load showed, to tell edited values
    int m_version = -1;
    QLocale m_locale;
};

} // namespace qm::ui
