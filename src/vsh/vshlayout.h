#pragma once

// What the VSH editor shows where: every value box with its caption, the
// frames that hold them, the path groups and the texts of the format grid.

#include "prx/catalogue.h"
#include "widgets/valueboxes.h"

#include <QString>

#include <array>
#include <vector>

namespace qm::ui::vsh {

// Tabs, in order.
enum Tab { TabColors, TabAlpha, TabIcons, TabPosition, TabOther, TabPath, TabMenu, TabCount };
extern const std::array<QString, TabCount> kTabTitles;

// Every captioned box: numbers, icon names, paths, in the order a save
// checks them. A path's caption is shared by its group, so the box is
// named by the caption and its place in the group.
extern const std::vector<BoxCaption> kCaptions;
// The frames of number and icon-name boxes, in the order the Tab key walks them.
extern const std::vector<FrameSpec> kFrames;
inline constexpr int kIconNameTypingLimit = 20;

// The path groups of the Path tab: a caption above its boxes and a hint beside them.
struct PathGroup {
    QString name;
    QString caption;
    std::vector<prx::VshMember> members;
    QString hintName;
    QString hint;
};
extern const std::array<PathGroup, 2> kPathGroups;

// The format grid: column headings (Europe, US / Japan), row captions, legend.
extern const std::array<prx::VshMember, 2> kFormatMembers;
extern const std::array<QString, 2> kFormatColumns;
extern const std::array<QString, 5> kFormatRows;
extern const std::array<int, 5> kFormatTypingLimits;
extern const std::array<QString, 6> kFormatLegend;
inline const QString kFormatNotWritten = QStringLiteral("Write Function Not Coded");

// The accessible name of a format box: "Unknow : Europe".
QString formatCaption(int row, int column);
// The caption of a value of the window's member (element of a block, row
// of the menu), as the box or list names it: "Clock X", "January Text",
// "Menu Entry 3". Month names are the default locale's.
QString valueCaption(prx::VshMember member, int element = 0);
// The name of an edit of menu row `row` (from 0): "Menu Entry 1" for the first, as the list counts.
QString menuStepName(int row);

} // namespace qm::ui::vsh
