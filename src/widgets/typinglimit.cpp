#include "typinglimit.h"

#include <QLineEdit>
#include <QValidator>

#include "balloontip.h"
#include "numberentry.h"

namespace qm::ui {
namespace {

// Typed and pasted text goes through the validator; text set by the program
// does not. A change is refused when it would make the text longer than the
// limit and longer than it was.
class LengthLimit final : public QValidator {
public:
    LengthLimit(QLineEdit* box, int max) : QValidator(box), m_max(max), m_length(box->text().size()) {
        connect(box, &QLineEdit::textChanged, this, [this](const QString& text) { m_length = text.size(); });
    }

    State validate(QString& input, int&) const override {
        return input.size() > m_max && input.size() > m_length ? Invalid : Acceptable;
    }

    int max() const { return m_max; }

private:
    int m_max;
    qsizetype m_length;
};

} // namespace

void setTypingLimit(QLineEdit* box, int maxLength) {
    box->setValidator(new LengthLimit(box, maxLength));
}

int typingLimit(const QLineEdit* box) {
    const auto* limit = dynamic_cast<const LengthLimit*>(box->validator());
    return limit ? limit->max() : -1;
}

} // namespace qm::ui

namespace qm::ui {

QString writtenLengthNote(int written) {
    return QStringLiteral("Only the first %1 characters are written.").arg(written);
}

void noteWrittenLength(QLineEdit* box, int written) {
    QObject::connect(box, &QLineEdit::textEdited, box, [box, written](const QString& text) {
        if (text.size() > written)
            showBalloon(box, kBalloonTitle, writtenLengthNote(written), BalloonIcon::Information);
        else if (QWidget* shown = visibleBalloon();
                 shown && shown->accessibleDescription() == writtenLengthNote(written))
            hideBalloon();
    });
}

} // namespace qm::ui
