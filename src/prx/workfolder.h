#pragma once

// The working folder: where the configuration file lives and where the
// archiver may be placed next to the program.

#include "result.h"

#include <QString>

namespace qm::prx {

inline const char* const kDataDirVariable = "QUILLMARK_DATA_DIR";

// The program's folder + "Data/" when that can be written, else the user's
// application data folder + "Data/"; QUILLMARK_DATA_DIR overrides both.
// Always absolute and ending with '/'.
QString workFolder();

// Start-up: creates the working folder and, when missing, the default
// configuration file. Files that exist are not touched.
Status prepareWorkFolder();

} // namespace qm::prx
