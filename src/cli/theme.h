#pragma once

// CXMB themes (.ctf) in the commands that take them besides `theme`:
// identify, check and apply tell a theme by its content and hand it here.

#include "args.h"
#include "compression/check.h"

#include <QString>

namespace qm::cli {

// "\0PTF" at 0 and a magic some loader takes at 0x10; for `check` and
// `apply` also any file named *.ctf, so that a broken one is checked as
// the theme it was meant to be.
bool isThemeFile(const QString& path, bool byNameToo);

// identify's line of a theme, as text or JSON.
Outcome<QString> themeIdentifyLine(const QString& path, bool json);

// The named checks of a theme, or those of a module (compression/check.h).
Result<QList<compression::PackedCheck>> checkAnyFile(const QString& path);

// apply MODULE T.ctf [-o OUT] [--backup]: the module as the loader leaves it.
int applyTheme(const CommandLine& line);

} // namespace qm::cli
