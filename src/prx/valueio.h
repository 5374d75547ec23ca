#pragma once

// Reading every value of a module by its release's offsets, and writing the
// values that changed back into the module's bytes.

#include "moduleimage.h"
#include "values.h"

#include <QString>

namespace qm::prx {

// Every value the release has. The first value that can't be read (a text
// with no end) stops the load, naming its member.
Result<ModuleValues> loadValues(const ModuleImage& image, ReleaseId release);

// Checks `edited` (rules.h) and writes into `image` every value that differs
// from `loaded`, after the values that follow others have been put in place.
// Values equal to the loaded ones keep their bytes; formats are never
// written. The image is taken as a copy, so an error leaves the caller's
// bytes as they were.
Result<ModuleImage> applyValues(ModuleImage image, const ModuleValues& loaded, ModuleValues edited);
// The same on `image` itself. An error can come after some values have been
// written: a caller that must keep its bytes journals the image first
// (ModuleImage::startJournal) and rolls it back.
Status patchValues(ModuleImage& image, const ModuleValues& loaded, ModuleValues edited);

// The same on files: the module at `path` must still be of the release's size.
Result<ModuleValues> readValuesFile(const QString& path, ReleaseId release);
// Reads `source`, applies the edits and writes the result to `dest` in one
// piece (dest may be source). Nothing is written when any value fails.
// keepOriginal: dest, when it exists, is first kept as dest.orig (see writeFileAtomically).
Status saveValuesFile(const QString& source, const QString& dest, const ModuleValues& loaded,
                      const ModuleValues& edited, bool keepOriginal = false);

} // namespace qm::prx
