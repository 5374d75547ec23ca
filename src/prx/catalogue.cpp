#include "catalogue.h"

#include <QString>

#include <array>
#include <cstdlib>

namespace qm::prx {
namespace {

// A dash in the tables: the release doesn't have the member.
constexpr qint32 NA = 0;

// clang-format off

constexpr std::array<Release, kVshRows> kVshReleases{{
    // row  label                        file size
    {1, "VSHMain.prx - 1.5x", 201704},
    {2, "VSHMain.prx - 2.0x", 292888},
    {3, "VSHMain.prx - 2.50", 298304},
    {4, "VSHMain.prx - 2.60", 300916},
    {5, "VSHMain.prx - 2.7x", 306392},
    {6, "VSHMain.prx - 2.8x", 313100},
    {7, "VSHMain.prx - 3.0x", 345152},
    {8, "VSHMain.prx - 3.1x", 344956},
    {9, "VSHMain.prx - 3.30", 345044},
    {10, "VSHMain.prx - 3.40", 344436},
    {11, "VSHMain.prx - 3.5x / 3.60", 353328},
    {12, "VSHMain.prx - 3.71", 311434},
    {13, "VSHMain.prx - 3.7x", 311528},
    {14, "VSHMain.prx - 3.8x", 312062},
}};

constexpr std::array<Release, kPafRows> kPafReleases{{
    {1, "Paf.prx - 1.5x", 1569342},
    {2, "Paf.prx - 2.0x", 2133318},
    {3, "Paf.prx - 2.50", 2156930},
    {4, "Paf.prx - 2.60", 2165918},
    {5, "Paf.prx - 2.7x", 2174932},
    {6, "Paf.prx - 2.8x", 2178924},
    {7, "Paf.prx - 3.0x", 2247124},
    {8, "Paf.prx - 3.1x", 2259492},
    {9, "Paf.prx - 3.30 / 3.40", 2256412},
    {10, "Paf.prx - 3.5x / 3.60", 2213888},
    {11, "Paf.prx - 3.7x", 1893896},
    {12, "Paf.prx - 3.8x", 1896458},
}};

// One row per member: what it is called, what lies at its offset, how
// many elements or characters, the member it follows, and its offset in
// every release row (a dash where the release lacks it).
#define MEMBER(KIND, NAME) KIND::NAME, #NAME

using V = VshMember;
using P = PafMember;
using S = Shape;
constexpr int kNone = -1;
constexpr int follows(VshMember m) {
    return static_cast<int>(m);
}

template <typename Member> struct Row {
    Member member;
    const char* name;
    Shape shape;
    int count; // colour records, format strings or the longest text; 1 otherwise
    int follows;
    std::array<qint32, kVshRows> rows; // rows 1 to 14 (12 for PAF), hexadecimal file offsets
};

constexpr std::array<Row<VshMember>, kVshMemberCount> kVshMembers{{
    {MEMBER(V, TextColors),             S::Colours,  kMonthCount,    kNone, { 0x1E904,  0x2B090,  0x2F720,  0x2FF48,  0x312E0,  0x32780,  0x370D0,  0x376E8,  0x378B8,  0x37780,  0x39B3C,  0x40EB0,  0x40EF0,  0x40E88}},
    {MEMBER(V, TextColorsSlim),         S::Colours,  kSlimItemCount, kNone, {      NA,       NA,       NA,       NA,       NA,       NA,       NA,       NA,       NA,       NA,  0x39BCC,  0x40F40,  0x40F80,  0x40F18}},
    {MEMBER(V, ContextColors),          S::Colours,  kMonthCount,    kNone, { 0x1E868,  0x2AFF4,  0x2F684,  0x2FEAC,  0x31244,  0x326E4,  0x37034,  0x3764C,  0x3781C,  0x376E4,  0x399EC,  0x40D60,  0x40DA0,  0x40D38}},
    {MEMBER(V, ContextColorsSlim),      S::Colours,  kSlimItemCount, kNone, {      NA,       NA,       NA,       NA,       NA,       NA,       NA,       NA,       NA,       NA,  0x39A7C,  0x40DF0,  0x40E30,  0x40DC8}},
    {MEMBER(V, XmbX),                   S::Single,   1,              kNone, { 0x1D668,  0x29CC0,  0x2DD6C,  0x2E568,  0x2F868,  0x30D08,  0x35414,  0x354A8,  0x35640,  0x35578,  0x36EE8,  0x3CF6C,  0x3CFAC,  0x3D0D4}},
    {MEMBER(V, XmbXInfobar),            S::Single,   1,              kNone, { 0x1D69C,  0x29CF4,  0x2DDA0,  0x2E59C,  0x2F89C,  0x30D3C,  0x35448,  0x354DC,  0x35674,  0x355AC,  0x36F1C,  0x3CFA0,  0x3CFE0,  0x3D108}},
    {MEMBER(V, XmbXSubmenu),            S::Single,   1,              kNone, { 0x1D670,  0x29CCC,  0x2DD78,  0x2E574,  0x2F874,  0x30D14,  0x35420,  0x354B4,  0x3564C,  0x35584,  0x36EF4,  0x3CF78,  0x3CFB8,  0x3D0E0}},
    {MEMBER(V, XmbXGameSubmenu),        S::Single,   1,              kNone, { 0x1D678,  0x29CD4,  0x2DD80,  0x2E57C,  0x2F87C,  0x30D1C,  0x35428,  0x354BC,  0x35654,  0x3558C,  0x36EFC,  0x3CF80,  0x3CFC0,  0x3D0E8}},
    {MEMBER(V, ClockY),                 S::Single,   1,              kNone, { 0x1EEEC,  0x2B68C,  0x2FD1C,  0x30544,  0x31920,  0x32DC0,  0x37710,  0x37D9C,  0x37F40,  0x37E08,  0x3A180,  0x41534,  0x41574,  0x4150C}},
    {MEMBER(V, ClockX),                 S::Single,   1,              kNone, { 0x1EEF8,  0x2B698,  0x2FD28,  0x30550,  0x3192C,  0x32DCC,  0x3771C,  0x37DA8,  0x37F4C,  0x37E14,  0x3A18C,  0x41540,  0x41580,  0x41518}},
    {MEMBER(V, ClockXNoBattery),        S::Single,   1,              kNone, { 0x1EEFC,  0x2B69C,  0x2FD2C,  0x30554,  0x31930,  0x32DD0,  0x37720,  0x37DAC,  0x37F50,  0x37E18,  0x3A190,  0x41544,  0x41584,  0x4151C}},
    {MEMBER(V, HoldXShadow),            S::Single,   1,              kNone, { 0x1EED0,  0x2B670,  0x2FD00,  0x30528,  0x31904,  0x32DA4,  0x376F4,  0x37D80,  0x37F24,  0x37DEC,  0x3A164,  0x41518,  0x41558,  0x414F0}},
    {MEMBER(V, HoldYShadow),            S::Single,   1,              kNone, { 0x1EED4,  0x2B674,  0x2FD04,  0x3052C,  0x31908,  0x32DA8,  0x376F8,  0x37D84,  0x37F28,  0x37DF0,  0x3A168,  0x4151C,  0x4155C,  0x414F4}},
    {MEMBER(V, HoldX),                  S::Single,   1,              kNone, { 0x1EEE8,  0x2B688,  0x2FD18,  0x30540,  0x3191C,  0x32DBC,  0x3770C,  0x37D98,  0x37F3C,  0x37E04,  0x3A17C,  0x41530,  0x41570,  0x41508}},
    {MEMBER(V, HoldY),                  S::Single,   1,              kNone, { 0x1EEC8,  0x2B668,  0x2FCF8,  0x30520,  0x318FC,  0x32D9C,  0x376EC,  0x37D78,  0x37F1C,  0x37DE4,  0x3A15C,  0x41510,  0x41550,  0x414E8}},
    {MEMBER(V, MuteX),                  S::Single,   1,              kNone, { 0x1EEF4,  0x2B694,  0x2FD24,  0x3054C,  0x31928,  0x32DC8,  0x37718,  0x37DA4,  0x37F48,  0x37E10,  0x3A188,  0x4153C,  0x4157C,  0x41514}},
    {MEMBER(V, MuteY),                  S::Single,   1,              kNone, { 0x1EED8,  0x2B678,  0x2FD08,  0x30530,  0x3190C,  0x32DAC,  0x376FC,  0x37D88,  0x37F2C,  0x37DF4,  0x3A16C,  0x41520,  0x41560,  0x414F8}},
    {MEMBER(V, MuteXShadow),            S::Single,   1,              kNone, { 0x1EEE0,  0x2B680,  0x2FD10,  0x30538,  0x31914,  0x32DB4,  0x37704,  0x37D90,  0x37F34,  0x37DFC,  0x3A174,  0x41528,  0x41568,  0x41500}},
    {MEMBER(V, MuteYShadow),            S::Single,   1,              kNone, { 0x1EEE4,  0x2B684,  0x2FD14,  0x3053C,  0x31918,  0x32DB8,  0x37708,  0x37D94,  0x37F38,  0x37E00,  0x3A178,  0x4152C,  0x4156C,  0x41504}},
    {MEMBER(V, MSOptionIconX),          S::Single,   1,              kNone, {      NA,       NA,       NA,       NA,       NA,       NA,       NA,       NA,       NA,       NA,       NA,  0x40A34,  0x40A74,  0x40A0C}},
    {MEMBER(V, MSOptionIconY),          S::Single,   1,              kNone, {      NA,       NA,       NA,       NA,       NA,       NA,       NA,       NA,       NA,       NA,       NA,  0x40A38,  0x40A78,  0x40A10}},
    {MEMBER(V, NetworkIconYUnfocused),  S::Single,   1,              follows(V::MainIconYUnfocused), {      NA,  0x2AC00,  0x2F29C,  0x2FAB0,  0x30E48,  0x322E8,  0x36BBC,  0x371D0,  0x373A0,  0x37268,  0x39564,  0x4093C,  0x4097C,  0x40914}},
    {MEMBER(V, MainIconYFocused),       S::Single,   1,              kNone, {      NA,       NA,       NA,       NA,       NA,       NA,       NA,       NA,       NA,       NA,       NA,  0x4092C,  0x4096C,  0x40904}},
    {MEMBER(V, MainIconYUnfocused),     S::Single,   1,              kNone, {      NA,       NA,       NA,       NA,       NA,       NA,       NA,       NA,       NA,       NA,       NA,  0x40938,  0x40978,  0x40910}},
    {MEMBER(V, AlphaAllMainIcons),      S::Single,   1,              kNone, { 0x1D618,  0x29C70,  0x2DD28,  0x2E540,  0x2F840,  0x30CE0,  0x353EC,  0x3547C,  0x35614,  0x35544,  0x36EC0,  0x3CF24,  0x3CF64,  0x3D08C}},
    {MEMBER(V, AlphaHighlightedText),   S::Single,   1,              kNone, { 0x1D664,  0x29CBC,  0x2DD68,  0x2E564,  0x2F864,  0x30D04,  0x35410,  0x354A4,  0x3563C,  0x35574,  0x36EE4,  0x3CF68,  0x3CFA8,  0x3D0D0}},
    {MEMBER(V, AlphaInfobarIcons),      S::Single,   1,              kNone, { 0x1D66C,  0x29CC4,  0x2DD70,  0x2E56C,  0x2F86C,  0x30D0C,  0x35418,  0x354AC,  0x35644,  0x3557C,  0x36EEC,  0x3CF70,  0x3CFB0,  0x3D0D8}},
    {MEMBER(V, AlphaFocusedMainIcon),   S::Single,   1,              kNone, { 0x1D660,  0x29CB8,  0x2DD64,  0x2E560,  0x2F860,  0x30D00,  0x3540C,  0x354A0,  0x35638,  0x35570,  0x36EE0,  0x3CF60,  0x3CFA0,  0x3D0C8}},
    {MEMBER(V, AlphaMSOptionIcon),      S::Single,   1,              kNone, {      NA,       NA,       NA,       NA,       NA,       NA,       NA,       NA,       NA,       NA,       NA,  0x40A3C,  0x40A7C,  0x40A14}},
    {MEMBER(V, BusyIconSpeed),          S::Single,   1,              kNone, { 0x1EF40,  0x2B6DC,  0x2FD6C,  0x3058C,  0x31968,  0x32E08,  0x37758,  0x37DE4,  0x37F88,  0x37E50,  0x3A1C8,  0x4157C,  0x415BC,  0x41554}},
    {MEMBER(V, BmpSize),                S::Integer,  1,              kNone, {      NA,       NA,       NA,       NA,       NA,       NA,  0x22608,  0x22D2C,  0x22FEC,  0x22F2C,  0x23580,  0x289D0,  0x28A10,  0x26F50}},
    {MEMBER(V, FocusedIconFadeOut),     S::Single,   1,              kNone, {      NA,  0x29CB4,  0x2DD60,  0x2E55C,  0x2F85C,  0x30CFC,  0x35408,  0x3549C,  0x35634,  0x3556C,  0x36EDC,  0x3CF50,  0x3CF90,  0x3D0B8}},
    {MEMBER(V, MSIconPhoto),            S::Text,     15,             kNone, { 0x2026F,  0x2FBEF,  0x30CEF,  0x3150F,  0x3296F,  0x33E7F,  0x390F3,  0x392A3,  0x39483,  0x39353,  0x3BC4B,  0x428D7,  0x42917,  0x428C7}},
    {MEMBER(V, MSIconMusic),            S::Text,     15,             kNone, { 0x2037F,  0x2FD07,  0x30E07,  0x31627,  0x32A87,  0x33F97,  0x3920B,  0x393BB,  0x3959B,  0x3946B,  0x3BD63,  0x429EF,  0x42A2F,  0x429DF}},
    {MEMBER(V, MSIconVideo),            S::Text,     15,             kNone, { 0x20517,  0x2FEAB,  0x30FAB,  0x317CB,  0x32C2B,  0x3413B,  0x393AF,  0x3955F,  0x3973F,  0x3960F,  0x3BF07,  0x42B93,  0x42BD3,  0x42B83}},
    {MEMBER(V, MSIconGame),             S::Text,     15,             kNone, { 0x20737,  0x300DB,  0x311DB,  0x319FB,  0x32E5B,  0x3436B,  0x395DF,  0x3978F,  0x3996F,  0x3983F,  0x3C137,  0x42DC3,  0x42E03,  0x42DB3}},
    {MEMBER(V, UMDIconPhoto),           S::Text,     15,             kNone, { 0x202F7,  0x2FC7B,  0x30D7B,  0x3159B,  0x329FB,  0x33F0B,  0x3917F,  0x3932F,  0x3950F,  0x393DF,  0x3BCD7,  0x42963,  0x429A3,  0x42953}},
    {MEMBER(V, UMDIconMusic),           S::Text,     15,             kNone, { 0x20407,  0x2FD93,  0x30E93,  0x316B3,  0x32B13,  0x34023,  0x39297,  0x39447,  0x39627,  0x394F7,  0x3BDEF,  0x42A7B,  0x42ABB,  0x42A6B}},
    {MEMBER(V, UMDIconVideo),           S::Text,     15,             kNone, { 0x2048F,  0x2FE1F,  0x30F1F,  0x3173F,  0x32B9F,  0x340AF,  0x39323,  0x394D3,  0x396B3,  0x39583,  0x3BE7B,  0x42B07,  0x42B47,  0x42AF7}},
    {MEMBER(V, UMDIconGame),            S::Text,     15,             kNone, { 0x206AF,  0x3004F,  0x3114F,  0x3196F,  0x32DCF,  0x342DF,  0x39553,  0x39703,  0x398E3,  0x397B3,  0x3C0AB,  0x42D37,  0x42D77,  0x42D27}},
    {MEMBER(V, UpdatePath1),            S::Text,     39,             kNone, { 0x1CA18,  0x28E30,  0x2CEF8,  0x2D710,  0x2E9D0,  0x2FE60,  0x343B0,  0x3438C,  0x34548,  0x34480,  0x36560,  0x3C5B8,  0x3C5F8,  0x3C5C8}},
    {MEMBER(V, UpdatePath2),            S::Text,     30,             kNone, { 0x1E350,  0x2AA40,  0x2EB48,  0x2F34C,  0x306E4,  0x31B84,  0x36440,  0x3680C,  0x36A1C,  0x368F4,  0x38A20,  0x3EBD8,  0x3EC18,  0x3EB08}},
    {MEMBER(V, UpdatePath3),            S::Text,     39,             kNone, { 0x1F460,  0x2BAD8,  0x30230,  0x30A50,  0x31E28,  0x332C8,  0x37D30,  0x383C0,  0x385A0,  0x38468,  0x3A800,  0x41910,  0x41950,  0x418E8}},
    {MEMBER(V, RCOPath1),               S::Text,     39,             kNone, { 0x1C6D8,  0x2886C,  0x2C984,  0x2D18C,  0x2E4BC,  0x2F94C,  0x33E7C,  0x33E50,  0x3400C,  0x33F44,  0x36020,  0x3BFD0,  0x3C010,  0x3BFE0}},
    {MEMBER(V, RCOPath2),               S::Text,     39,             kNone, { 0x1C5BC,  0x28670,  0x2C788,  0x2CF90,  0x2E2C0,  0x2F750,  0x33C80,  0x33C54,  0x33E10,  0x33D48,  0x35E68,  0x3BE18,  0x3BE58,  0x3BE28}},
    {MEMBER(V, MenuEntries),            S::Menu,     1,              kNone, {      NA,       NA,       NA,       NA,       NA,       NA,       NA,  0x36F98,  0x37168,  0x37040,  0x393C4,  0x3F5BC,  0x3F5FC,  0x3F4EC}},
    {MEMBER(V, FormatsEurope),          S::Formats,  5,              kNone, { 0x1E674,  0x2AE04,  0x2F494,  0x2FCBC,  0x31054,  0x324F4,  0x36E44,  0x3745C,  0x3762C,  0x374F4,  0x397FC,  0x40B68,  0x40BA8,  0x40B40}},
    {MEMBER(V, FormatsUSJapan),         S::Formats,  5,              kNone, { 0x1E6A8,  0x2AE3C,  0x2F4CC,  0x2FCF4,  0x3108C,  0x3252C,  0x36E7C,  0x37494,  0x37664,  0x3752C,  0x39834,  0x40BA0,  0x40BE0,  0x40B78}},
}};

constexpr std::array<Row<PafMember>, kPafMemberCount> kPafMembers{{
    {MEMBER(P, MainIconSpacing),          S::Single, 1, kNone, {0x11D424, 0x18EF9C, 0x19397C, 0x19549C, 0x19A014, 0x19B1C4, 0x1A5674, 0x1A7904, 0x1A66E4, 0x19F38C, 0x1A287C, 0x1A303C}},
    {MEMBER(P, MainIconYFocused),         S::Single, 1, kNone, {0x11EC24, 0x190774, 0x19515C, 0x196C7C, 0x19B75C, 0x19C924, 0x1A6E24, 0x1A90E4, 0x1A7F54, 0x1A0DE4, 0x1A42F4, 0x1A4AB4}},
    {MEMBER(P, MainMenuTextY),            S::Single, 1, kNone, {0x11EC50, 0x1907A4, 0x19518C, 0x196CAC, 0x19B78C, 0x19C954, 0x1A6E54, 0x1A9114, 0x1A7F84, 0x1A0E14, 0x1A4324, 0x1A4AE4}},
    {MEMBER(P, MainIconYUnfocused),       S::Single, 1, kNone, {      NA, 0x190778, 0x195160, 0x196C80, 0x19B760, 0x19C928, 0x1A6E28, 0x1A90E8, 0x1A7F58, 0x1A0DE8, 0x1A42F8, 0x1A4AB8}},
    {MEMBER(P, MainIconSizeUnfocused),    S::Single, 1, kNone, {0x11ECB4, 0x1907D0, 0x1951B8, 0x196CD8, 0x19B7B8, 0x19C980, 0x1A6E80, 0x1A9140, 0x1A7FB0, 0x1A0E40, 0x1A4350, 0x1A4B10}},
    {MEMBER(P, MainMenuTextSize),         S::Single, 1, kNone, {0x11EC80, 0x1907A0, 0x195188, 0x196CA8, 0x19B788, 0x19C950, 0x1A6E50, 0x1A9110, 0x1A7F80, 0x1A0E10, 0x1A4320, 0x1A4AE0}},
    {MEMBER(P, MainMenuIconFontColor),    S::Single, 1, kNone, {0x11D454, 0x18EFCC, 0x1939B0, 0x1954D0, 0x19A048, 0x19B1F8, 0x1A56A8, 0x1A7938, 0x1A6718, 0x19F3C0, 0x1A28B0, 0x1A3070}},
    {MEMBER(P, MainMenuFontColor),        S::Single, 1, kNone, {0x11D860, 0x18F3F8, 0x193DDC, 0x195900, 0x19A478, 0x19B630, 0x1A5AF4, 0x1A7D88, 0x1A6B74, 0x19F82C, 0x1A2D20, 0x1A34E0}},
    {MEMBER(P, MainIconAlphaUnfocused),   S::Single, 1, kNone, {0x11ECAC, 0x1907C8, 0x1951B0, 0x196CD0, 0x19B7B0, 0x19C978, 0x1A6E78, 0x1A9138, 0x1A7FA8, 0x1A0E38, 0x1A4348, 0x1A4B08}},
    {MEMBER(P, MainIconAlphaFocused),     S::Single, 1, kNone, {0x11D44C, 0x18EFC4, 0x1939A8, 0x1954C8, 0x19A040, 0x19B1F0, 0x1A56A0, 0x1A7930, 0x1A6710, 0x19F3B8, 0x1A28A8, 0x1A3068}},
    {MEMBER(P, SubiconSpacing),           S::Single, 1, kNone, {0x11D798, 0x18F330, 0x193D18, 0x195838, 0x19A3B0, 0x19B568, 0x1A5A28, 0x1A7CBC, 0x1A6AA8, 0x19F760, 0x1A2C54, 0x1A3414}},
    {MEMBER(P, MainSubiconSpacing),       S::Single, 1, kNone, {0x11D79C, 0x18F334, 0x193D1C, 0x19583C, 0x19A3B4, 0x19B56C, 0x1A5A2C, 0x1A7CC0, 0x1A6AAC, 0x19F764, 0x1A2C58, 0x1A3418}},
    {MEMBER(P, SubmenuFontLineColor),     S::Single, 1, kNone, {0x11D580, 0x18F0F8, 0x193AE0, 0x195600, 0x19A178, 0x19B328, 0x1A57D8, 0x1A7A68, 0x1A6848, 0x19F4F8, 0x1A29E8, 0x1A31A8}},
    {MEMBER(P, SubiconColorUnfocused),    S::Single, 1, kNone, {0x11D850, 0x18F3E8, 0x193DCC, 0x1958F0, 0x19A468, 0x19B620, 0x1A5AE4, 0x1A7D78, 0x1A6B64, 0x19F81C, 0x1A2D10, 0x1A34D0}},
    {MEMBER(P, SubiconAlphaUnfocused),    S::Single, 1, kNone, {0x11D814, 0x18F3AC, 0x193D90, 0x1958B4, 0x19A42C, 0x19B5E4, 0x1A5AA8, 0x1A7D3C, 0x1A6B28, 0x19F7E0, 0x1A2CD4, 0x1A3494}},
    {MEMBER(P, SubmenuTextAlpha),         S::Single, 1, kNone, {0x11D834, 0x18F3CC, 0x193DB0, 0x1958D4, 0x19A44C, 0x19B604, 0x1A5AC8, 0x1A7D5C, 0x1A6B48, 0x19F800, 0x1A2CF4, 0x1A34B4}},
    {MEMBER(P, OtherSubmenuIconSize),     S::Single, 1, kNone, {0x11E3C0, 0x18FED0, 0x1948B8, 0x1963D8, 0x19AEB8, 0x19C078, 0x1A6548, 0x1A87D8, 0x1A75C8, 0x1A03F8, 0x1A38E8, 0x1A40A8}},
    {MEMBER(P, SettingsSubmenuIconSize),  S::Single, 1, kNone, {0x11E3E0, 0x18FEF0, 0x1948D8, 0x1963F8, 0x19AED8, 0x19C098, 0x1A6568, 0x1A87F8, 0x1A75E8, 0x1A0418, 0x1A3908, 0x1A40C8}},
    {MEMBER(P, SubiconShadowWidth),       S::Single, 1, kNone, {0x11AFF0, 0x18CA80, 0x19141C, 0x192F24, 0x197B68, 0x198D1C, 0x1A31D4, 0x1A537C, 0x1A414C, 0x19CDF4, 0x1A0244, 0x1A0A04}},
    {MEMBER(P, SubiconShadowHeight),      S::Single, 1, kNone, {0x11B03C, 0x18CACC, 0x191468, 0x192F70, 0x197BB4, 0x198D68, 0x1A3220, 0x1A53C8, 0x1A4198, 0x19CE40, 0x1A0290, 0x1A0A50}},
    {MEMBER(P, VerticalScrollSpeed),      S::Single, 1, kNone, {0x11D794, 0x18F32C, 0x193D14, 0x195834, 0x19A3AC, 0x19B564, 0x1A5A24, 0x1A7CB8, 0x1A6AA4, 0x19F75C, 0x1A2C50, 0x1A3410}},
    {MEMBER(P, HorizontalScrollSpeed),    S::Single, 1, kNone, {0x11D42C, 0x18EFA4, 0x193984, 0x1954A4, 0x19A01C, 0x19B1CC, 0x1A567C, 0x1A790C, 0x1A66EC, 0x19F394, 0x1A2884, 0x1A3044}},
    {MEMBER(P, MSContentsSizeUnfocused),  S::Single, 1, kNone, {0x11E4A8, 0x18FFB8, 0x1949A0, 0x1964C0, 0x19AFA0, 0x19C160, 0x1A6644, 0x1A88D4, 0x1A76C4, 0x1A04F4, 0x1A39E4, 0x1A41A4}},
    {MEMBER(P, GlowBlinkSpeed),           S::Single, 1, kNone, {0x11B02C, 0x18CABC, 0x191458, 0x192F60, 0x197BA4, 0x198D58, 0x1A3210, 0x1A53B8, 0x1A4188, 0x19CE30, 0x1A0280, 0x1A0A40}},
    {MEMBER(P, XmbOverallSize),           S::Single, 1, kNone, {0x11BA84, 0x18D544, 0x191EE4, 0x1939FC, 0x19865C, 0x199814, 0x1A3CC4, 0x1A5F34, 0x1A4D14, 0x19D9BC, 0x1A0EAC, 0x1A166C}},
}};

#undef MEMBER

// clang-format on

// The lines must stand in member order so that a member indexes its line.
template <typename Table> constexpr bool inMemberOrder(const Table& table) {
    for (std::size_t i = 0; i < table.size(); ++i)
        if (static_cast<std::size_t>(table[i].member) != i)
            return false;
    return true;
}
static_assert(inMemberOrder(kVshMembers));
static_assert(inMemberOrder(kPafMembers));

void checkRow(int row, int rows) {
    if (row < 1 || row > rows)
        std::abort(); // callers only pass rows that came from this catalogue
}

} // namespace

const Release& vshRelease(int row) {
    checkRow(row, kVshRows);
    return kVshReleases[static_cast<std::size_t>(row - 1)];
}

const Release& pafRelease(int row) {
    checkRow(row, kPafRows);
    return kPafReleases[static_cast<std::size_t>(row - 1)];
}

const Release& release(ModuleKind kind, int row) {
    return kind == ModuleKind::Vsh ? vshRelease(row) : pafRelease(row);
}

int rowCount(ModuleKind kind) {
    return kind == ModuleKind::Vsh ? kVshRows : kPafRows;
}

bool ReleaseId::isValid() const {
    return row >= 1 && row <= rowCount(kind);
}

const Release& ReleaseId::info() const {
    return release(kind, row);
}

QString ReleaseId::label() const {
    return QString::fromLatin1(info().label);
}

std::optional<int> matchSize(ModuleKind kind, qint64 size) {
    for (int row = 1; row <= rowCount(kind); ++row)
        if (release(kind, row).fileSize == size)
            return row;
    return std::nullopt;
}

std::optional<int> matchVshSize(qint64 size) {
    return matchSize(ModuleKind::Vsh, size);
}

std::optional<int> matchPafSize(qint64 size) {
    return matchSize(ModuleKind::Paf, size);
}

int memberCount(ModuleKind kind) {
    return kind == ModuleKind::Vsh ? kVshMemberCount : kPafMemberCount;
}

MemberInfo memberInfo(ModuleKind kind, int member) {
    if (member < 0 || member >= memberCount(kind))
        std::abort(); // members come from the enums above
    const auto at = static_cast<std::size_t>(member);
    const auto info = [&](const auto& row) {
        return MemberInfo{kind, member, QLatin1StringView(row.name), row.shape, row.count, row.follows};
    };
    return kind == ModuleKind::Vsh ? info(kVshMembers[at]) : info(kPafMembers[at]);
}

qint32 offsetOf(ModuleKind kind, int row, int member) {
    checkRow(row, rowCount(kind));
    if (member < 0 || member >= memberCount(kind))
        std::abort();
    const auto at = static_cast<std::size_t>(member);
    const auto r = static_cast<std::size_t>(row - 1);
    return kind == ModuleKind::Vsh ? kVshMembers[at].rows[r] : kPafMembers[at].rows[r];
}

const QList<MemberInfo>& members(ModuleKind kind) {
    const auto build = [](ModuleKind k) {
        QList<MemberInfo> list;
        for (int m = 0; m < memberCount(k); ++m)
            list.append(memberInfo(k, m));
        return list;
    };
    static const QList<MemberInfo> vsh = build(ModuleKind::Vsh);
    static const QList<MemberInfo> paf = build(ModuleKind::Paf);
    return kind == ModuleKind::Vsh ? vsh : paf;
}

std::optional<MemberInfo> findMember(ModuleKind kind, QStringView name) {
    for (const MemberInfo& m : members(kind))
        if (name == m.name)
            return m;
    return std::nullopt;
}

std::optional<int> memberByName(ModuleKind kind, QStringView name) {
    const auto m = findMember(kind, name);
    return m ? std::optional(m->index) : std::nullopt;
}

qint32 vshOffset(int row, VshMember member) {
    return offsetOf(ModuleKind::Vsh, row, static_cast<int>(member));
}

qint32 pafOffset(int row, PafMember member) {
    return offsetOf(ModuleKind::Paf, row, static_cast<int>(member));
}

Shape shapeOf(VshMember member) {
    return memberInfo(ModuleKind::Vsh, static_cast<int>(member)).shape;
}

int elementCount(VshMember member) {
    return memberInfo(ModuleKind::Vsh, static_cast<int>(member)).elements();
}

int textMaxLength(VshMember member) {
    return memberInfo(ModuleKind::Vsh, static_cast<int>(member)).textLimit();
}

QLatin1StringView memberName(VshMember member) {
    return memberInfo(ModuleKind::Vsh, static_cast<int>(member)).name;
}

QLatin1StringView memberName(PafMember member) {
    return memberInfo(ModuleKind::Paf, static_cast<int>(member)).name;
}

std::optional<VshMember> vshMemberByName(QStringView name) {
    const auto m = memberByName(ModuleKind::Vsh, name);
    return m ? std::optional(static_cast<VshMember>(*m)) : std::nullopt;
}

std::optional<PafMember> pafMemberByName(QStringView name) {
    const auto m = memberByName(ModuleKind::Paf, name);
    return m ? std::optional(static_cast<PafMember>(*m)) : std::nullopt;
}

} // namespace qm::prx
