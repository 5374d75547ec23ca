#include "menunames.h"

#include <array>

namespace qm::looks {
namespace {

const QStringList kClassicIcons{
    QStringLiteral("Network Update"),
    QStringLiteral("USB Connection"),
    QStringLiteral("Video Settings"),
    QStringLiteral("Photo Settings"),
    QStringLiteral("System Settings"),
    QStringLiteral("Theme Settings"),
    QStringLiteral("Date & Time Settings"),
    QStringLiteral("Power Save Settings"),
    QStringLiteral("???"),
    QStringLiteral("Sound Settings"),
    QStringLiteral("Security Settings"),
    QStringLiteral("RSS Settings"),
    QStringLiteral("Network Settings"),
    QStringLiteral("Memory Stick Photo"),
    QStringLiteral("UMD Photo"),
    QStringLiteral("Memory Stick Music"),
    QStringLiteral("UMD Music"),
    QStringLiteral("UMD Video"),
    QStringLiteral("Memory Stick Video"),
    QStringLiteral("Game Sharing"),
    QStringLiteral("Saved Data Utility"),
    QStringLiteral("UMD Game"),
    QStringLiteral("Memory Stick Game"),
    QStringLiteral("UMD Update"),
    QStringLiteral("Internet Browser"),
    QStringLiteral("LocationFree TV"),
    QStringLiteral("RSS Channel"),
    QStringLiteral("Camera"),
    QStringLiteral("P-TV"),
    QStringLiteral("Remote Play"),
    QStringLiteral("Online Instructions"),
    QStringLiteral("Playstation Spot"),
};

// The slim list differs at 8 and from 28 on.
QStringList slimIcons() {
    QStringList icons = kClassicIcons.first(28);
    icons[8] = QStringLiteral("Connected Display Settings");
    icons << QStringLiteral("Remote Play") << QStringLiteral("Online Instructions") << QStringLiteral("1-Seg")
          << QStringLiteral("Playstation Spot") << QStringLiteral("Internet Radio");
    return icons;
}
const QStringList kSlimIcons = slimIcons();

template <typename T> QString orError(const std::optional<T>& meaning, QString (*name)(T)) {
    return meaning ? name(*meaning) : kMenuError;
}

} // namespace

// By the order of MenuCategory, MenuState and MenuRegion.
constexpr std::array<const char*, 7> kCategoryNames{"Settings", "Photo", "Music",  "Video",
                                                    "TV",       "Game",  "Network"};
constexpr std::array<const char*, 4> kStateNames{"FAT ON", "FAT OFF", "SLIM ON", "SLIM OFF"};
constexpr std::array<const char*, 2> kRegionNames{"All", "Japan"};

template <std::size_t N, typename E> QString nameIn(const std::array<const char*, N>& names, E meaning) {
    const auto at = static_cast<std::size_t>(meaning);
    return at < N ? QString::fromLatin1(names[at]) : kMenuError;
}

QString categoryName(prx::MenuCategory category) {
    return nameIn(kCategoryNames, category);
}

QString stateName(prx::MenuState state) {
    return nameIn(kStateNames, state);
}

QString regionName(prx::MenuRegion region) {
    return nameIn(kRegionNames, region);
}

QStringList categoryNames(prx::MenuFormat format) {
    QStringList names;
    for (prx::MenuCategory c : prx::menuCategories(format))
        names.append(categoryName(c));
    return names;
}

QStringList stateNames(prx::MenuFormat format) {
    QStringList names;
    for (prx::MenuState s : prx::menuStates(format))
        names.append(stateName(s));
    return names;
}

QStringList regionNames() {
    QStringList names;
    for (prx::MenuRegion r : prx::kMenuRegions)
        names.append(regionName(r));
    return names;
}

const QStringList& iconNames(prx::MenuFormat format) {
    return format == prx::MenuFormat::Slim ? kSlimIcons : kClassicIcons;
}

MenuTexts menuTexts(const prx::MenuEntry& entry, prx::ReleaseId release) {
    MenuTexts t;
    const auto format = prx::menuFormat(release).value_or(prx::MenuFormat::Classic);
    const std::optional<int> icon = prx::iconOf(entry.icon);
    t.order = QString::number(icon.value_or(0));
    t.icon = icon ? iconNames(format).value(*icon) : kMenuError;
    t.category = orError(prx::categoryOf(entry.category, release), &categoryName);
    t.region = orError(prx::regionOf(entry.region), &regionName);
    t.enabled = orError(prx::stateOf(entry.state, release), &stateName);
    return t;
}

} // namespace qm::looks
