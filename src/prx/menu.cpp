#include "menu.h"

#include "numbers.h"

namespace qm::prx {
namespace {

const QStringList kClassicCategories{
    QStringLiteral("Settings"), QStringLiteral("Photo"), QStringLiteral("Music"),
    QStringLiteral("Video"),    QStringLiteral("Game"),  QStringLiteral("Network"),
};

const QStringList kSlimCategories{
    QStringLiteral("Settings"), QStringLiteral("Photo"), QStringLiteral("Music"),   QStringLiteral("Video"),
    QStringLiteral("TV"),       QStringLiteral("Game"),  QStringLiteral("Network"),
};

// Icon names by list index; the two lists differ at 8 and from 28 on.
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

const QStringList kRegions{QStringLiteral("All"), QStringLiteral("Japan")};

const QString kFatOn = QStringLiteral("FAT ON");
const QString kFatOff = QStringLiteral("FAT OFF");
const QString kSlimOn = QStringLiteral("SLIM ON");
const QString kSlimOff = QStringLiteral("SLIM OFF");

const QStringList kClassicStates{kFatOn, kFatOff};
const QStringList kSlimStates{kFatOn, kFatOff, kSlimOn, kSlimOff};

QString entryOf(const QStringList& list, int index) {
    return index >= 0 && index < list.size() ? list.at(index) : QString();
}

QString categoryText(quint8 c, MenuFormat format, int version) {
    if (format == MenuFormat::Slim)
        return c <= 6 ? kSlimCategories.at(c) : kMenuError;
    if (version == 8 && c == 5)
        return kClassicCategories.at(4);
    if (version == 8 && c == 6)
        return kClassicCategories.at(5);
    return c <= 5 ? kClassicCategories.at(c) : kMenuError;
}

QString modeText(quint8 m, MenuFormat format) {
    if (format == MenuFormat::Slim) {
        switch (m) {
        case 7:
        case 3:
            return kFatOn;
        case 2:
            return kFatOff;
        case 0:
            return kSlimOff;
        case 6:
            return kSlimOn;
        default:
            return kMenuError;
        }
    }
    switch (m) {
    case 3:
        return kFatOn;
    case 2:
        return kFatOff;
    default:
        return kMenuError;
    }
}

quint8 categoryCode(const QString& text, MenuFormat format, int version) {
    if (format == MenuFormat::Slim) {
        const qsizetype i = kSlimCategories.indexOf(text);
        return i < 0 ? 0 : static_cast<quint8>(i);
    }
    const qsizetype i = kClassicCategories.indexOf(text);
    if (i < 0)
        return 0;
    if (version == 8 && i >= 4)
        return static_cast<quint8>(i + 1); // Game 5, Network 6 in this release
    return static_cast<quint8>(i);
}

quint8 modeCode(const QString& text, MenuFormat format, int version) {
    if (format == MenuFormat::Classic) {
        if (text == kMenuError || text == kFatOn)
            return 3;
        if (text == kFatOff)
            return 2;
        return 0;
    }
    if (text == kMenuError || text == kFatOn)
        return version == 14 ? 7 : 3;
    if (text == kFatOff)
        return 2;
    if (text == kSlimOn)
        return version == 14 ? 6 : 3;
    return 0; // "SLIM OFF" and anything else
}

} // namespace

std::optional<MenuFormat> menuFormat(int version) {
    if (version >= 8 && version <= 11)
        return MenuFormat::Classic;
    if (version >= 12 && version <= 14)
        return MenuFormat::Slim;
    return std::nullopt;
}

int menuEntryCount(int version) {
    if (version == 8 || version == 9 || version == 14)
        return 24;
    if (version >= 10 && version <= 13)
        return 23;
    return 0;
}

const QStringList& menuCategories(MenuFormat format) {
    return format == MenuFormat::Slim ? kSlimCategories : kClassicCategories;
}

const QStringList& menuIcons(MenuFormat format) {
    return format == MenuFormat::Slim ? kSlimIcons : kClassicIcons;
}

const QStringList& menuRegions() {
    return kRegions;
}

const QStringList& menuEnabledStates(MenuFormat format) {
    return format == MenuFormat::Slim ? kSlimStates : kClassicStates;
}

Result<MenuRow> readMenuEntry(const ModuleImage& image, qint64 offset, MenuFormat format, int version) {
    auto entry = image.span(offset, kMenuEntryLength);
    if (!entry)
        return entry.error();
    const auto byte = [&](int at) { return static_cast<quint8>(entry->at(at)); };

    MenuRow row;
    row.category = categoryText(byte(0), format, version);
    int icon = byte(4);
    if (icon <= 32) {
        row.icon = entryOf(menuIcons(format), icon);
    } else {
        row.icon = kMenuError;
        icon = 0;
    }
    row.order = QString::number(icon);
    row.enabled = modeText(byte(8), format);
    switch (byte(12)) {
    case 255:
        row.region = kRegions.at(0);
        break;
    case 8:
        row.region = kRegions.at(1);
        break;
    default:
        row.region = kMenuError;
        break;
    }
    return row;
}

Status writeMenuEntry(ModuleImage& image, qint64 offset, const MenuRow& row, const MenuRow* loaded,
                      MenuFormat format, int version) {
    if (!image.contains(offset, kMenuEntryLength))
        return image.span(offset, kMenuEntryLength).error();
    const auto changed = [&](QString MenuRow::*field) { return !loaded || row.*field != loaded->*field; };

    // Convert everything first so that a bad row changes no byte.
    // A picked icon writes its code even when the order text stays the same:
    // an unreadable code shows order "0" too.
    const bool iconChanged = changed(&MenuRow::order) || changed(&MenuRow::icon);
    quint8 icon = 0;
    if (iconChanged) {
        auto code = parseByte(row.order, QLocale::c());
        if (!code)
            return code.error();
        icon = *code;
    }
    if (changed(&MenuRow::category))
        (void)image.putU8(offset + 0, categoryCode(row.category, format, version));
    if (iconChanged)
        (void)image.putU8(offset + 4, icon);
    if (changed(&MenuRow::enabled))
        (void)image.putU8(offset + 8, modeCode(row.enabled, format, version));
    if (changed(&MenuRow::region)) {
        if (row.region == kMenuError || row.region == kRegions.at(0))
            (void)image.putI32(offset + 12, -1);
        else if (row.region == kRegions.at(1))
            (void)image.putI32(offset + 12, 8);
        // any other text leaves the four bytes as they are
    }
    return {};
}

} // namespace qm::prx
