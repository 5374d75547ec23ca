// Reading and checking themes over arbitrary bytes: the same named checks
// every time, each saying what it found; a theme loads exactly when every
// check holds; one that loads has 1 to 64 entries under names the plugin
// takes, reads every run its index counts, and, for firmware whose module
// lengths are known, its runs apply to a module of that length.
//
// Input: the theme's bytes.

#include "harness.h"
#include "theme/read.h"

#include <map>

using namespace qm;
using namespace qm::theme;

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const QByteArrayView file(reinterpret_cast<const char*>(data), static_cast<qsizetype>(size));
    static const ThemeReading empty = readTheme({});
    const ThemeReading reading = readTheme(file);
    fuzz::require(reading.checks.size() == empty.checks.size(), "the same checks every time");
    for (qsizetype i = 0; i < reading.checks.size(); ++i) {
        fuzz::require(reading.checks[i].name == empty.checks[i].name, "the checks in their order",
                      reading.checks[i].name);
        fuzz::require(!reading.checks[i].detail.isEmpty(), "every check says what it found",
                      reading.checks[i].name);
    }
    fuzz::require(looksLikeTheme(file) == (reading.checks[0].ok && reading.checks[1].ok),
                  "a theme is told by its signature and magic");

    const auto loaded = loadTheme(file);
    fuzz::require(loaded.ok() == compression::allHold(reading.checks), "a theme loads when every check holds",
                  fuzz::errorText(loaded));
    if (!loaded) {
        fuzz::require(loaded.error().kind == ErrorKind::NotModule, "a theme that fails is no theme");
        return 0;
    }
    fuzz::require(!loaded->entries.isEmpty() && loaded->entries.size() <= kMaxEntries, "1 to 64 entries");
    static std::map<qint64, QByteArray> zeros; // modules whose first segment is at 0
    for (const ThemeEntry& e : loaded->entries) {
        fuzz::require(nameProblem(e.name.toUtf8()).isEmpty(), "names the plugin takes", e.name);
        if (!e.runForm) {
            fuzz::require(e.data.size() == e.size, "a whole file is all there", e.name);
            continue;
        }
        fuzz::require(e.runs.size() == qsizetype(e.size), "every run the index counts is read", e.name);
        const qint64 length = knownModuleLength(loaded->firmware, *slotOfName(e.name));
        if (length == 0)
            continue;
        auto& module = zeros[length];
        if (module.isEmpty())
            module = QByteArray(length, '\0');
        const auto applied = applyRuns(module, e.runs);
        fuzz::require(applied.ok(), "checked runs fit the firmware's module", fuzz::errorText(applied));
    }
    return 0;
}
