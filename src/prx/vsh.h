#pragma once

// Load and save rules of vshmain.prx: which values a release has, what each
// editor control shows for them, the checks, and how edits reach the bytes.

#include "catalogue.h"
#include "codecs.h"
#include "menu.h"

#include <QList>
#include <QLocale>
#include <QString>

#include <array>
#include <optional>

namespace qm::prx {

inline constexpr int kVshNumberBoxCount = 28; // txtPRXValue(0..27)
inline constexpr int kVshTextBoxCount = 23;   // txtPRXValue2(0..22); 13..22 are the format strings
inline constexpr int kVshEditableTextCount = 13;
inline constexpr int kVshFormatFirstEurope = 13;
inline constexpr int kVshFormatFirstUSJapan = 18;
inline constexpr int kMonthCount = 12;
inline constexpr int kSlimItemCount = 15;
// Number boxes the editor treats apart.
inline constexpr int kVshBoxNetworkIcon = 12; // follows the main icon box in releases 12 to 14
inline constexpr int kVshBoxMainIconUnfocused = 14;

// The member each number box holds.
extern const std::array<VshMember, kVshNumberBoxCount> kVshNumberBoxMember;
// The member and longest written text of each editable text box.
extern const std::array<VshMember, kVshEditableTextCount> kVshTextBoxMember;
extern const std::array<int, kVshEditableTextCount> kVshTextMaxLength;
// The number box that holds a member, or -1.
int vshNumberBoxOf(VshMember member);
int vshTextBoxOf(VshMember member);

// Version groups: 1 (1.5x), 2 (2.0x-2.8x), 3 (3.0x), 4 (3.1x-3.40),
// 5 (3.5x/3.60), 6 (3.71-3.8x).
int vshGroup(int version);
// Whether a number box holds a value of the release (read and written).
bool vshNumberBoxRead(int version, int box);
// Whether a number box is open for editing after a load. The network icon
// box of group 6 is read but follows the main icon box instead.
bool vshNumberBoxEnabled(int version, int box);
bool vshHasSlimColors(int version);

// Everything the VSH editor shows, as its controls hold it.
struct VshValues {
    std::array<QString, kVshNumberBoxCount> numbers;
    std::array<QString, kVshTextBoxCount> texts;
    std::array<Rgb, kMonthCount> textColors{};
    std::array<Rgb, kMonthCount> contextColors{};
    std::array<Rgb, kSlimItemCount> textColorsSlim{};
    std::array<Rgb, kSlimItemCount> contextColorsSlim{};
    QList<MenuRow> menu;
    bool operator==(const VshValues&) const = default;
};

inline const QString kMsgValueEmpty = QStringLiteral("One of the value is empty");
inline const QString kMsgBmpMax = QStringLiteral("BMP Max Size it's 32767 bytes");

Result<VshValues> loadVsh(const ModuleImage& image, int version, const QLocale& locale);

// The text of the network icon box that follows a main icon text: main + 1,
// or nothing while the main text is not a number.
std::optional<QString> networkIconFollowing(const QString& mainIconText, const QLocale& locale);
// The network icon box of group 6 follows the main icon box: main + 1.
// Leaves the values alone for other releases or when the main text is not a number.
void followNetworkIcon(VshValues& values, int version, const QLocale& locale);

// Checks `edited` and writes into `image` every value that differs from
// `loaded`. On any error the image is left as it was given.
Result<ModuleImage> applyVsh(ModuleImage image, int version, const VshValues& loaded, VshValues edited,
                             const QLocale& locale);

Result<VshValues> readVshFile(const QString& path, int version, const QLocale& locale);
// Reads `source`, applies the edits and writes the result to `dest` in one
// piece (dest may be source). Nothing is written when any value fails.
// keepOriginal keeps dest's old content as dest.orig (see writeFileAtomically).
Status saveVshFile(const QString& source, const QString& dest, int version, const VshValues& loaded,
                   const VshValues& edited, const QLocale& locale, bool keepOriginal = false);

} // namespace qm::prx
