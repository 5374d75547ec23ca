#pragma once

// The caption beside a value box. It wraps onto more lines where its column
// is narrow and asks its layout for the height that takes; a closing " :"
// stays with the word before it on screen (the text itself, and so the
// box's accessible name, is unchanged).

#include <QLabel>

class QFontMetrics;

namespace qm::ui {

class CaptionLabel final : public QLabel {
public:
    CaptionLabel(const QString& text, QWidget* parent);

    int heightForWidth(int width) const override;

protected:
    void resizeEvent(QResizeEvent* event) override;
    void paintEvent(QPaintEvent* event) override;

private:
    QString shownText() const;
};

// The width at which a caption breaks only at its runs of blanks: that of
// its widest blank-separated part.
int widestPart(const QFontMetrics& metrics, const QString& caption);

} // namespace qm::ui
