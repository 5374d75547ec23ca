#pragma once

// The "XMB Colors" tab: text and infobar colours of the twelve months and
// of the slim items 13 to 27. Each colour box is named by its member and
// element ("TextColors[0]"). The boxes show a document's colours and a
// colour picked for a box is an edit of the document.

#include "prx/catalogue.h"

#include <QLocale>
#include <QWidget>

#include <array>
#include <vector>

class QLabel;

namespace qm::doc {
class EditingDocument;
}

namespace qm::ui {

class ColorBox;

class VshColorGrid final : public QWidget {
    Q_OBJECT
public:
    explicit VshColorGrid(doc::EditingDocument& document, QWidget* parent = nullptr);

    // Shows every colour the document's module has; boxes of colours it lacks keep what they show.
    void showColours();

    // Month names in the locale's words, first letter upper-cased.
    void setMonthNames(const QLocale& locale);

    // The colour members the grid shows: months text and infobar, then slim text and infobar.
    static const std::array<prx::VshMember, 4> kMembers;
    // The boxes of a colour member, in element order; none for another member.
    std::vector<ColorBox*> boxes(prx::VshMember member) const;
    // Every colour box, member after member.
    std::vector<ColorBox*> allBoxes() const;
    // The member and element of a box of the grid.
    std::pair<prx::VshMember, int> placeOf(const ColorBox* box) const;

    // The month rows (boxes, names, headings, instructions) and the slim rows on or off.
    void setMonthsEnabled(bool enabled);
    void setSlimEnabled(bool enabled);
    // The group headings and the slim items' names, readable in a window without a module.
    void enableHeadings();

    QLabel* monthLabel(int month) const { return m_months[static_cast<std::size_t>(month)]; }
    QLabel* itemLabel(int item) const { return m_items[static_cast<std::size_t>(item)]; }

private:
    void showColours(prx::VshMember member);
    // The colour chooser for a pressed box; a new colour is one step named by the box.
    void pickColour(ColorBox* box);
    void nameBoxes(const QString& rowName, ColorBox* text, ColorBox* context);

    doc::EditingDocument& m_document;
    std::array<std::vector<ColorBox*>, 4> m_boxes; // by kMembers
    std::array<QLabel*, prx::kMonthCount> m_months{};
    std::array<QLabel*, prx::kSlimItemCount> m_items{};
    std::array<QLabel*, 2> m_monthHeadings{}; // text, infobar
    std::array<QLabel*, 2> m_slimHeadings{};
    QLabel* m_monthGroup = nullptr;
    QLabel* m_slimGroup = nullptr;
    QLabel* m_instructions = nullptr;
};

// The month's name as the grid shows it.
QString monthCaption(const QLocale& locale, int month);

} // namespace qm::ui
