#include "onmodule.h"

namespace qm::theme {

Result<ThemeOnModule> themeOnModule(const Theme& theme, QByteArrayView module, Slot slot,
                                    std::optional<prx::ReleaseId> release) {
    if (kindOfSlot(slot) != (release ? std::optional(release->kind) : std::nullopt))
        release.reset();
    if (release && firmwareOfRelease(*release) != theme.firmware)
        return Error::notModule(
            QStringLiteral("The module is %1, not a module of firmware %2")
                .arg(release->label(), theme.firmware),
            QStringLiteral("themes of Quillmark's releases: %1").arg(pairedReleasesText()));
    ThemeOnModule on{{}, theme.entryFor(slot), {}, {}, {}};
    if (!on.entry)
        return Error::notModule(QStringLiteral("The theme has no entry for %1").arg(flashPath(slot)));
    auto applied = applyRuns(module, on.entry->runs);
    if (!applied)
        return applied.error();
    on.module = std::move(*applied);
    if (!release)
        return on;
    on.runs = runsOnValues(module, on.entry->runs, *release);
    for (const RunOnValues& r : std::as_const(on.runs)) {
        if (r.values.isEmpty())
            on.outside.append(r);
        for (const ValueSpan& v : r.values)
            if (std::none_of(on.values.begin(), on.values.end(),
                             [&](const ValueSpan& s) { return s.offset == v.offset; }))
                on.values.append(v);
    }
    std::sort(on.values.begin(), on.values.end(),
              [](const ValueSpan& a, const ValueSpan& b) { return a.offset < b.offset; });
    return on;
}

} // namespace qm::theme
