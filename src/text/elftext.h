#pragma once

// What prx::inspectElfPrx found, in words.

#include "prx/elf.h"

#include <QString>

namespace qm::text {

// "ELF PRX (32-bit, little-endian, MIPS, type 0xFFA0), module "…" (module
// info at 0x…)", or why the bytes are no ELF PRX: "ELF machine 3, not MIPS (8)".
QString elfDetail(const prx::ElfPrx& elf);

} // namespace qm::text
