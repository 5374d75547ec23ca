#pragma once

// Number entry of the value boxes. Typing, pasting and dropping go through
// one validator, which judges only the text they would give: a number, the
// start of one, or neither (letters, "60-", two decimal marks). A text that
// is neither is refused, and the box shows the balloon tip for it.

#include <QLocale>
#include <QValidator>

class QLineEdit;

namespace qm::ui {

inline const QString kBalloonTitle = QStringLiteral("Information :");
inline const QString kBalloonText = QStringLiteral("Just negative, decimale\r\nand entire numeric key !");

class NumberValidator final : public QValidator {
    Q_OBJECT
public:
    explicit NumberValidator(QObject* parent = nullptr) : QValidator(parent) {}

    // Acceptable: a whole number, in or out of a value's range (the value
    // tells that); Intermediate: "", "-", "1.", "1e"; Invalid: the rest.
    // The comma is always a decimal mark, the period where it is the
    // locale's own.
    State validate(QString& input, int& pos) const override;
    void setNumberLocale(const QLocale& locale) { m_locale = locale; }

private:
    QLocale m_locale;
};

// Makes `box` a number box: the validator, and the balloon whenever the box refuses what was typed,
// pasted or dropped. The box keeps the validator.
NumberValidator* makeNumberEntry(QLineEdit* box);

} // namespace qm::ui
