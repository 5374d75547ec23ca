#pragma once

// What the VSH editor shows where: the caption of every value box, the
// frames that hold them, and the texts of the format grid.

#include "prx/catalogue.h"

#include <QString>

#include <array>
#include <vector>

namespace qm::ui::vsh {

// Tabs, in order.
enum Tab { TabColors, TabAlpha, TabIcons, TabPosition, TabOther, TabPath, TabMenu, TabCount };
extern const std::array<QString, TabCount> kTabTitles;

inline constexpr int kCaptionCount = 43; // lblPRXValue(0..42)

inline constexpr int kNumberBoxCount = 28; // txtPRXValue(0..27)
inline constexpr int kTextBoxCount = 23;   // txtPRXValue2(0..22): 0..12 texts, 13..22 the formats
inline constexpr int kEditableTextCount = 13;
inline constexpr int kFormatFirstEurope = 13;
inline constexpr int kFormatFirstUSJapan = 18;
// The number boxes 0 to 17 refuse a save while they are empty; the others
// fail only when their text is converted.
inline constexpr int kEmptyCheckedNumberBoxes = 18;

// Each number box: the member it holds, its caption label (lblPRXValue
// index) and the caption's text, blanks kept as they stand.
struct NumberBox {
    prx::VshMember member;
    int label;
    QString caption;
};
extern const std::array<NumberBox, kNumberBoxCount> kNumberBoxes;
// The member of each text box txtPRXValue2(0..12).
extern const std::array<prx::VshMember, kEditableTextCount> kTextBoxMembers;

// A frame of number boxes (or of icon-name boxes), top to bottom.
struct Frame {
    QString name;
    QString title;
    Tab tab;
    int column; // 0 left, 1 right; frames of a tab with one column use 0
    std::vector<int> boxes;
};
extern const std::vector<Frame> kNumberFrames;

// The icon-name frames: txtPRXValue2(0..3) and (4..7) with their labels.
struct IconFrame {
    QString name;
    QString title;
    QString labelName; // control array of the captions
    int firstBox;
    std::array<QString, 4> captions;
};
extern const std::array<IconFrame, 2> kIconFrames;
inline constexpr int kIconNameTypingLimit = 20;

// The path groups of the Path tab: a caption above its boxes and a hint beside them.
struct PathGroup {
    int label;
    QString caption;
    std::vector<int> boxes;
    QString hintName;
    QString hint;
};
extern const std::array<PathGroup, 2> kPathGroups;

// The format grid: column headings, row captions, legend.
inline constexpr int kFormatColumnLabel = 30; // and 31
inline constexpr int kFormatRowLabel = 32;    // 32..36
inline constexpr int kFormatLegendLabel = 37; // 37..42
extern const std::array<QString, 2> kFormatColumns;
extern const std::array<QString, 5> kFormatRows;
extern const std::array<int, 5> kFormatTypingLimits;
extern const std::array<QString, 6> kFormatLegend;
inline const QString kFormatNotWritten = QStringLiteral("Write Function Not Coded");

// The accessible name of a box whose caption it shares with others.
QString sharedCaptionName(const QString& caption, int position);

} // namespace qm::ui::vsh
