#pragma once

// What the codes of a main-menu entry mean in each release. Releases 8 to
// 11 use the classic codes, 12 to 14 the slim ones; release 8 numbers two
// of its categories one higher than the other classic releases.

#include "values.h"

#include <optional>
#include <vector>

namespace qm::prx {

enum class MenuFormat { Classic, Slim };

enum class MenuCategory { Settings, Photo, Music, Video, TV, Game, Network };
enum class MenuState { FatOn, FatOff, SlimOn, SlimOff };
enum class MenuRegion { All, Japan };

// Which format a release uses, and how many entries it has (0 for releases
// without a menu, PAF releases among them).
std::optional<MenuFormat> menuFormat(ReleaseId release);
int menuEntryCount(ReleaseId release);

// The categories and states a format offers, in list order.
const std::vector<MenuCategory>& menuCategories(MenuFormat format);
const std::vector<MenuState>& menuStates(MenuFormat format);
inline constexpr std::array<MenuRegion, 2> kMenuRegions{MenuRegion::All, MenuRegion::Japan};
// Icons of a format: codes 0 to 31 (classic) or 0 to 32 (slim) name one.
int menuIconCount(MenuFormat format);
// The highest icon code a module may hold and still be read.
inline constexpr int kMaxMenuIconCode = 32;

// What a code means; nothing for a code the release doesn't know.
std::optional<MenuCategory> categoryOf(quint8 code, ReleaseId release);
std::optional<MenuState> stateOf(quint8 code, ReleaseId release);
std::optional<MenuRegion> regionOf(quint32 code);
// The icon code's position in the icon list, 0 to 32, or nothing.
std::optional<int> iconOf(quint8 code);

// The code a release stores for a meaning.
quint8 categoryCode(MenuCategory category, ReleaseId release);
quint8 stateCode(MenuState state, ReleaseId release);
quint32 regionCode(MenuRegion region);

// Setting a field to what it already means keeps its code, so that a code
// of two meanings (7 and 3 are both "on" in the slim format) stays as it is.
void setCategory(MenuEntry& entry, MenuCategory category, ReleaseId release);
void setState(MenuEntry& entry, MenuState state, ReleaseId release);
void setRegion(MenuEntry& entry, MenuRegion region);
void setIcon(MenuEntry& entry, int icon);

} // namespace qm::prx
