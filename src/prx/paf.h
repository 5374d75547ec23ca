#pragma once

// Load and save rules of paf.prx: 25 Singles, one box each.

#include "catalogue.h"
#include "moduleimage.h"

#include <QLocale>
#include <QString>

#include <array>

namespace qm::prx {

inline constexpr int kPafBoxCount = 25; // txtPAFPRXValue(0..24)
inline constexpr int kPafBoxMainIconYUnfocused = 8;

// The member each box holds.
extern const std::array<PafMember, kPafBoxCount> kPafBoxMember;
int pafBoxOf(PafMember member);

// Box 8 (MainIconYUnfocused) is missing in release 1.
bool pafBoxRead(int version, int box);

struct PafValues {
    std::array<QString, kPafBoxCount> numbers;
    bool operator==(const PafValues&) const = default;
};

Result<PafValues> loadPaf(const ModuleImage& image, int version, const QLocale& locale);
// Checks `edited` and writes every value that differs from `loaded`. On
// error nothing of the given image changes.
Result<ModuleImage> applyPaf(ModuleImage image, int version, const PafValues& loaded, const PafValues& edited,
                             const QLocale& locale);

Result<PafValues> readPafFile(const QString& path, int version, const QLocale& locale);
// keepOriginal: see saveVshFile.
Status savePafFile(const QString& source, const QString& dest, int version, const PafValues& loaded,
                   const PafValues& edited, const QLocale& locale, bool keepOriginal = false);

} // namespace qm::prx
