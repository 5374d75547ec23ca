#include "menunames.h"

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
const QStringList kSlimIcons{
    QStringLiteral("Network Update"),
    QStringLiteral("USB Connection"),
    QStringLiteral("Video Settings"),
    QStringLiteral("Photo Settings"),
    QStringLiteral("System Settings"),
    QStringLiteral("Theme Settings"),
    QStringLiteral("Date & Time Settings"),
    QStringLiteral("Power Save Settings"),
    QStringLiteral("Connected Display Settings"),
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
    QStringLiteral("Remote Play"),
    QStringLiteral("Online Instructions"),
    QStringLiteral("1-Seg"),
    QStringLiteral("Playstation Spot"),
    QStringLiteral("Internet Radio"),
};

template <typename T> QString orError(const std::optional<T>& meaning, QString (*name)(T)) {
    return meaning ? name(*meaning) : kMenuError;
}

} // namespace

QString categoryName(prx::MenuCategory category) {
    using C = prx::MenuCategory;
    switch (category) {
    case C::Settings:
        return QStringLiteral("Settings");
    case C::Photo:
        return QStringLiteral("Photo");
    case C::Music:
        return QStringLiteral("Music");
    case C::Video:
        return QStringLiteral("Video");
    case C::TV:
        return QStringLiteral("TV");
    case C::Game:
        return QStringLiteral("Game");
    case C::Network:
        return QStringLiteral("Network");
    }
    return kMenuError;
}

QString stateName(prx::MenuState state) {
    using S = prx::MenuState;
    switch (state) {
    case S::FatOn:
        return QStringLiteral("FAT ON");
    case S::FatOff:
        return QStringLiteral("FAT OFF");
    case S::SlimOn:
        return QStringLiteral("SLIM ON");
    case S::SlimOff:
        return QStringLiteral("SLIM OFF");
    }
    return kMenuError;
}

QString regionName(prx::MenuRegion region) {
    return region == prx::MenuRegion::All ? QStringLiteral("All") : QStringLiteral("Japan");
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

MenuTexts menuTexts(const prx::MenuEntry& entry, int version) {
    MenuTexts t;
    const auto format = prx::menuFormat(version).value_or(prx::MenuFormat::Classic);
    const std::optional<int> icon = prx::iconOf(entry.icon);
    t.order = QString::number(icon.value_or(0));
    t.icon = icon ? iconNames(format).value(*icon) : kMenuError;
    t.category = orError(prx::categoryOf(entry.category, version), &categoryName);
    t.region = orError(prx::regionOf(entry.region), &regionName);
    t.enabled = orError(prx::stateOf(entry.state, version), &stateName);
    return t;
}

} // namespace qm::looks
