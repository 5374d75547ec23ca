#pragma once

// The "XMB Colors" tab: text and infobar colours of the twelve months and
// of the slim items 13 to 27.

#include "prx/catalogue.h"

#include <QLocale>
#include <QWidget>

#include <array>
#include <vector>

class QFrame;
class QLabel;

namespace qm::ui {

class ColorBox;

class VshColorGrid final : public QWidget {
    Q_OBJECT
public:
    explicit VshColorGrid(QWidget* parent = nullptr);

    // Month names in the locale's words, first letter upper-cased.
    void setMonthNames(const QLocale& locale);
    // Every colour box: months text and infobar, then slim text and infobar.
    std::vector<ColorBox*> allBoxes() const;

    std::array<ColorBox*, prx::kMonthCount> picText{};
    std::array<ColorBox*, prx::kMonthCount> picContext{};
    std::array<ColorBox*, prx::kSlimItemCount> picTextSlim{};
    std::array<ColorBox*, prx::kSlimItemCount> picContextSlim{};
    std::array<QLabel*, prx::kMonthCount> lblMonth{};
    std::array<QLabel*, prx::kSlimItemCount> lblSlimItem{};
    std::array<QLabel*, 2> lblTextDes{};
    std::array<QLabel*, 2> lblContextDes{};
    QLabel* lblMonthDes = nullptr;
    QLabel* lblSlimExtra = nullptr;
    QLabel* lblInstructions = nullptr;
    QFrame* Line1 = nullptr;

Q_SIGNALS:
    // A colour box was pressed.
    void colorClicked(qm::ui::ColorBox* box);

private:
    void nameBoxes(const QString& rowName, ColorBox* text, ColorBox* context);
};

// The month's name as the grid shows it.
QString monthCaption(const QLocale& locale, int month);

} // namespace qm::ui
