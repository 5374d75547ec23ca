#include "menu.h"

#include <algorithm>

namespace qm::prx {
namespace {

using C = MenuCategory;
using MS = MenuState;

const std::vector<MenuCategory> kClassicCategories{C::Settings, C::Photo, C::Music,
                                                   C::Video,    C::Game,  C::Network};
const std::vector<MenuCategory> kSlimCategories{C::Settings, C::Photo, C::Music,  C::Video,
                                                C::TV,       C::Game,  C::Network};
const std::vector<MenuState> kClassicStates{MS::FatOn, MS::FatOff};
const std::vector<MenuState> kSlimStates{MS::FatOn, MS::FatOff, MS::SlimOn, MS::SlimOff};

constexpr quint32 kRegionAll = 0xFFFFFFFFu;
constexpr quint32 kRegionJapan = 8;

// The VSH row of a release; 0, a row without a menu, for a PAF release.
int menuRow(ReleaseId release) {
    return release.kind == ModuleKind::Vsh ? release.row : 0;
}

bool slim(ReleaseId release) {
    return menuFormat(release) == MenuFormat::Slim;
}

} // namespace

std::optional<MenuFormat> menuFormat(ReleaseId release) {
    const int row = menuRow(release);
    if (row >= 8 && row <= 11)
        return MenuFormat::Classic;
    if (row >= 12 && row <= 14)
        return MenuFormat::Slim;
    return std::nullopt;
}

int menuEntryCount(ReleaseId release) {
    const int row = menuRow(release);
    if (row == 8 || row == 9 || row == 14)
        return 24;
    if (row >= 10 && row <= 13)
        return 23;
    return 0;
}

const std::vector<MenuCategory>& menuCategories(MenuFormat format) {
    return format == MenuFormat::Slim ? kSlimCategories : kClassicCategories;
}

const std::vector<MenuState>& menuStates(MenuFormat format) {
    return format == MenuFormat::Slim ? kSlimStates : kClassicStates;
}

int menuIconCount(MenuFormat format) {
    return format == MenuFormat::Slim ? 33 : 32;
}

std::optional<MenuCategory> categoryOf(quint8 code, ReleaseId release) {
    if (slim(release))
        return code < kSlimCategories.size() ? std::optional(kSlimCategories[code]) : std::nullopt;
    // Release 8 keeps Game at 5 and Network at 6; 4 still reads as Game.
    if (menuRow(release) == 8 && (code == 5 || code == 6))
        return kClassicCategories[code - 1u];
    return code < kClassicCategories.size() ? std::optional(kClassicCategories[code]) : std::nullopt;
}

quint8 categoryCode(MenuCategory category, ReleaseId release) {
    const std::vector<MenuCategory>& list = slim(release) ? kSlimCategories : kClassicCategories;
    const auto it = std::find(list.begin(), list.end(), category);
    if (it == list.end())
        return 0;
    const auto index = static_cast<quint8>(it - list.begin());
    return !slim(release) && menuRow(release) == 8 && index >= 4 ? static_cast<quint8>(index + 1) : index;
}

std::optional<MenuState> stateOf(quint8 code, ReleaseId release) {
    // The codes that read as a state; a classic release reads only the first two.
    struct StateCode {
        quint8 code;
        MenuState state;
        bool slimOnly;
    };
    static constexpr StateCode kStateCodes[] = {
        {3, MS::FatOn, false}, {2, MS::FatOff, false}, {7, MS::FatOn, true},
        {6, MS::SlimOn, true}, {0, MS::SlimOff, true},
    };
    for (const StateCode& s : kStateCodes)
        if (s.code == code && (!s.slimOnly || slim(release)))
            return s.state;
    return std::nullopt;
}

quint8 stateCode(MenuState state, ReleaseId release) {
    const int row = menuRow(release);
    // Releases 12 and 13 have no code of their own for a slim entry that is
    // on: it is stored as 3, which reads back as on.
    switch (state) {
    case MS::FatOn:
        return slim(release) && row == 14 ? 7 : 3;
    case MS::FatOff:
        return 2;
    case MS::SlimOn:
        if (!slim(release))
            return 0;
        return row == 14 ? 6 : 3;
    case MS::SlimOff:
        return 0;
    }
    return 0;
}

std::optional<MenuRegion> regionOf(quint32 code) {
    // Only the first byte tells the region.
    switch (code & 0xFFu) {
    case 0xFF:
        return MenuRegion::All;
    case kRegionJapan:
        return MenuRegion::Japan;
    default:
        return std::nullopt;
    }
}

std::optional<int> iconOf(quint8 code) {
    return code <= kMaxMenuIconCode ? std::optional<int>(code) : std::nullopt;
}

quint32 regionCode(MenuRegion region) {
    return region == MenuRegion::All ? kRegionAll : kRegionJapan;
}

void setCategory(MenuEntry& entry, MenuCategory category, ReleaseId release) {
    if (categoryOf(entry.category, release) != category)
        entry.category = categoryCode(category, release);
}

void setState(MenuEntry& entry, MenuState state, ReleaseId release) {
    if (stateOf(entry.state, release) != state)
        entry.state = stateCode(state, release);
}

void setRegion(MenuEntry& entry, MenuRegion region) {
    if (regionOf(entry.region) != region)
        entry.region = regionCode(region);
}

void setIcon(MenuEntry& entry, int icon) {
    entry.icon = static_cast<quint8>(std::clamp(icon, 0, kMaxMenuIconCode));
}

} // namespace qm::prx
