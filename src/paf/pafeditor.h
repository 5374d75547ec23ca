#pragma once

// The editor window of a paf.prx module: 25 numeric values on three tabs.
// Every value box is found by its member.

#include "prx/catalogue.h"
#include "widgets/editorform.h"

class QLabel;
class QLineEdit;

namespace qm::ui {

class PafEditor final : public EditorForm {
    Q_OBJECT
public:
    // The controls over `document`, which outlives the form.
    explicit PafEditor(doc::EditingDocument& document, QWidget* parent = nullptr);

    inline static const QString kCaption = QStringLiteral("Paf.rad Ededid");

    // The caption of a member's box as the name of its edits ("Glow Blinking").
    static QString valueCaption(prx::PafMember member);

protected:
    void showModule() override;
    void showNoModule() override;
};

} // namespace qm::ui
