#pragma once

// Reading a plain module of a known release from disk.

#include "catalogue.h"
#include "moduleimage.h"

#include <QString>

namespace qm::prx {

// Reads the module and checks that its length is still the release's size,
// so values are never read from or written into a file of another kind.
Result<ModuleImage> readModule(const QString& path, ReleaseId release);

// A release row that doesn't exist.
Error noReleaseRow(int row);

// Writes the image to `dest` as one piece; keepOriginal: see writeFileAtomically.
Status writeModule(const QString& dest, const ModuleImage& image, bool keepOriginal = false);

} // namespace qm::prx
