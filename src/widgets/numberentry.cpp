#include "numberentry.h"

#include "balloontip.h"
#include "text/numbers.h"

#include <QLineEdit>

namespace qm::ui {

QValidator::State NumberValidator::validate(QString& input, int&) const {
    switch (text::numberForm(input, m_locale)) {
    case text::NumberForm::Whole:
        return Acceptable;
    case text::NumberForm::Start:
        return Intermediate;
    case text::NumberForm::None:
        break;
    }
    return Invalid;
}

NumberValidator* makeNumberEntry(QLineEdit* box) {
    auto* validator = new NumberValidator(box);
    box->setValidator(validator);
    // Input methods would compose text past the validator.
    box->setAttribute(Qt::WA_InputMethodEnabled, false);
    QObject::connect(box, &QLineEdit::inputRejected, box,
                     [box] { showBalloon(box, kBalloonTitle, kBalloonText, BalloonIcon::Information); });
    return validator;
}

} // namespace qm::ui
