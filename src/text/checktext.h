#pragma once

// What a check of a module found (compression/findings.h), in words.

#include "compression/findings.h"

#include <QString>

namespace qm::text {

// "336 bytes behind a 64-byte ~SCE header", "the trailer's CRC-32 is
// 0x12345678, the data's is 0x9ABCDEF0", ...
QString checkDetail(const compression::Finding& finding);

} // namespace qm::text
