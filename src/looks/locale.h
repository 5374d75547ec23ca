#pragma once

// Looks carry their numbers in the C locale; the editors show them in the
// user's. These turn the number texts of a module's values from one to the
// other.

#include "members.h"
#include "prx/result.h"

#include <QLocale>

namespace qm::looks {

// The values with every number text read in `shownIn` and written in the C
// locale. A text that isn't a number (or a BmpSize out of its range) fails,
// naming its member.
Result<ModuleValues> numbersToLook(ModuleValues values, const QLocale& shownIn);
// The values with every number text as the editors show it in `locale`.
ModuleValues numbersFromLook(ModuleValues values, const QLocale& locale);

} // namespace qm::looks
