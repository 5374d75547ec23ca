#pragma once

// The supported firmware releases of vshmain.prx and paf.prx, and for each
// release the byte offsets of every value the editors change.

#include <QLatin1StringView>
#include <QList>
#include <QString>
#include <QtGlobal>

#include <optional>

namespace qm::prx {

enum class ModuleKind { Vsh, Paf };

struct Release {
    int row;           // 1-based version index
    const char* label; // display text, e.g. "VSHMain.prx - 3.71"
    qint32 fileSize;   // exact length of the plain module
};

inline constexpr int kVshRows = 14;
inline constexpr int kPafRows = 12;

// A release of one module kind: its kind and its row in the catalogue.
struct ReleaseId {
    ModuleKind kind = ModuleKind::Vsh;
    int row = 0; // 1-based; 0 for none

    bool isValid() const;
    // The catalogue's line of a valid release.
    const Release& info() const;
    QString label() const;
    bool operator==(const ReleaseId&) const = default;
};

// Members of a VSH offset row, in table order.
enum class VshMember {
    TextColors,
    TextColorsSlim,
    ContextColors,
    ContextColorsSlim,
    XmbX,
    XmbXInfobar,
    XmbXSubmenu,
    XmbXGameSubmenu,
    ClockY,
    ClockX,
    ClockXNoBattery,
    HoldXShadow,
    HoldYShadow,
    HoldX,
    HoldY,
    MuteX,
    MuteY,
    MuteXShadow,
    MuteYShadow,
    MSOptionIconX,
    MSOptionIconY,
    NetworkIconYUnfocused,
    MainIconYFocused,
    MainIconYUnfocused,
    AlphaAllMainIcons,
    AlphaHighlightedText,
    AlphaInfobarIcons,
    AlphaFocusedMainIcon,
    AlphaMSOptionIcon,
    BusyIconSpeed,
    BmpSize,
    FocusedIconFadeOut,
    MSIconPhoto,
    MSIconMusic,
    MSIconVideo,
    MSIconGame,
    UMDIconPhoto,
    UMDIconMusic,
    UMDIconVideo,
    UMDIconGame,
    UpdatePath1,
    UpdatePath2,
    UpdatePath3,
    RCOPath1,
    RCOPath2,
    MenuEntries,
    FormatsEurope,
    FormatsUSJapan,
    Count
};
inline constexpr int kVshMemberCount = static_cast<int>(VshMember::Count);

// Members of a PAF offset row, in table order. Every one is a 4-byte Single.
enum class PafMember {
    MainIconSpacing,
    MainIconYFocused,
    MainMenuTextY,
    MainIconYUnfocused,
    MainIconSizeUnfocused,
    MainMenuTextSize,
    MainMenuIconFontColor,
    MainMenuFontColor,
    MainIconAlphaUnfocused,
    MainIconAlphaFocused,
    SubiconSpacing,
    MainSubiconSpacing,
    SubmenuFontLineColor,
    SubiconColorUnfocused,
    SubiconAlphaUnfocused,
    SubmenuTextAlpha,
    OtherSubmenuIconSize,
    SettingsSubmenuIconSize,
    SubiconShadowWidth,
    SubiconShadowHeight,
    VerticalScrollSpeed,
    HorizontalScrollSpeed,
    MSContentsSizeUnfocused,
    GlowBlinkSpeed,
    XmbOverallSize,
    Count
};
inline constexpr int kPafMemberCount = static_cast<int>(PafMember::Count);

// What lies at a member's offset.
enum class Shape {
    Single,  // a 4-byte IEEE single
    Integer, // a 16-bit signed integer (BmpSize)
    Text,    // a zero-terminated single-byte text
    Colours, // a block of colour records, three Singles each
    Menu,    // the main-menu entries, 16 bytes each
    Formats, // a block of date and time format strings (never written)
};

// Everything the catalogue says of one member, from its one row.
struct MemberInfo {
    ModuleKind kind = ModuleKind::Vsh;
    int index = 0; // the member's place in its kind's row
    QLatin1StringView name;
    Shape shape = Shape::Single;
    int count = 1;    // colour records, format strings, or the longest text written
    int follows = -1; // the member whose value it follows where the release has both; -1 for none

    // Records of a colour block or strings of a format block; 1 otherwise.
    int elements() const { return shape == Shape::Colours || shape == Shape::Formats ? count : 1; }
    // The longest text written for a text member; 0 for other members.
    int textLimit() const { return shape == Shape::Text ? count : 0; }
    VshMember vsh() const { return static_cast<VshMember>(index); }
};
int memberCount(ModuleKind kind);
MemberInfo memberInfo(ModuleKind kind, int member);
// Every member of a kind, in table order.
const QList<MemberInfo>& members(ModuleKind kind);
// The member of that name, if the kind has one.
std::optional<MemberInfo> findMember(ModuleKind kind, QStringView name);
// Offset of a member in a release row; 0 when the release lacks the member.
qint32 offsetOf(ModuleKind kind, int row, int member);
std::optional<int> memberByName(ModuleKind kind, QStringView name);

Shape shapeOf(VshMember member);
constexpr Shape shapeOf(PafMember) {
    return Shape::Single;
}
// Records of a colour block (12 months, 15 slim items) or strings of a format block (5); 1 otherwise.
// The number of menu entries depends on the release (menuEntryCount).
int elementCount(VshMember member);
// The longest text written for a text member; 0 for other members.
int textMaxLength(VshMember member);

inline constexpr int kMonthCount = 12;    // colour records of TextColors and ContextColors
inline constexpr int kSlimItemCount = 15; // of TextColorsSlim and ContextColorsSlim (items 13 to 27)
inline constexpr qint64 kColourRecordLength = 12;
inline constexpr qint64 kMenuEntryLength = 16;

// Release catalogue. Rows outside the table are a programming error.
const Release& vshRelease(int row);
const Release& pafRelease(int row);
const Release& release(ModuleKind kind, int row);
int rowCount(ModuleKind kind);

// First row whose file size equals the given length.
std::optional<int> matchSize(ModuleKind kind, qint64 size);
std::optional<int> matchVshSize(qint64 size);
std::optional<int> matchPafSize(qint64 size);

// Offset of a member in a row; 0 when the release lacks the member.
qint32 vshOffset(int row, VshMember member);
qint32 pafOffset(int row, PafMember member);
inline bool vshHas(int row, VshMember member) {
    return vshOffset(row, member) != 0;
}
inline bool pafHas(int row, PafMember member) {
    return pafOffset(row, member) != 0;
}

QLatin1StringView memberName(VshMember member);
QLatin1StringView memberName(PafMember member);
std::optional<VshMember> vshMemberByName(QStringView name);
std::optional<PafMember> pafMemberByName(QStringView name);

} // namespace qm::prx
