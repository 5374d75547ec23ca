#pragma once

// Number entry of the value boxes: digits, one minus sign and one decimal
// mark. Typing, pasting and dropping go through one validator, which judges
// the text they would give. A refused character brings up a balloon tip on
// the box; a second minus sign or decimal mark typed alone is dropped
// silently.

#include <QLocale>
#include <QValidator>

class QLineEdit;

namespace qm::ui {

inline const QString kBalloonTitle = QStringLiteral("Information :");
inline const QString kBalloonText = QStringLiteral("Just negative, decimale\r\nand entire numeric key !");

enum class EntryDecision { Accept, Drop, Refuse };

// What the box does when its text `before` would become `after`. The comma
// is always a decimal mark; the period is one too where it is the locale's
// own. Removing text is always accepted, so a value shown in another form
// (an exponent, say) can still be shortened.
EntryDecision judgeEntry(const QString& before, const QString& after, const QLocale& locale);

class NumberValidator final : public QValidator {
    Q_OBJECT
public:
    // Validates `box`, and shows the balloon on it for a refused key or text.
    explicit NumberValidator(QLineEdit* box);

    State validate(QString& input, int& pos) const override;
    void setNumberLocale(const QLocale& locale) { m_locale = locale; }

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void refuse() const;

    QLineEdit* m_box;
    QString m_before;
    QLocale m_locale;
};

} // namespace qm::ui
