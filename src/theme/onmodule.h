#pragma once

// A theme's runs on a module someone holds: `apply` writes the result, and
// an editor's Import Look takes the values the runs touch and lists the runs
// that touch none.

#include "read.h"

#include <optional>

namespace qm::theme {

struct ThemeOnModule {
    QByteArray module;          // the module as the loader leaves it
    const ThemeEntry* entry;    // the theme's entry for the module (points into the theme)
    QList<RunOnValues> runs;    // every run and the values it touches (known releases)
    QList<ValueSpan> values;    // the values the runs touch, by offset, each once
    QList<RunOnValues> outside; // runs that touch no value an editor shows
};

// The theme's runs for `slot` written into `module` (a plain module; the
// first segment is found at 0x38). `release` is the module's release when
// Quillmark knows it: then it must pair with the theme's firmware, and the
// runs are mapped onto its values. Refused, with nothing made, when the
// release doesn't pair, the theme has no entry for the module, or a run
// falls outside it.
Result<ThemeOnModule> themeOnModule(const Theme& theme, QByteArrayView module, Slot slot,
                                    std::optional<prx::ReleaseId> release);

} // namespace qm::theme
