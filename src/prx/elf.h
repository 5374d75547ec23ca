#pragma once

// What a plain module's own bytes say about it: whether it is an ELF file of
// the PSP's relocatable module kind (a PRX), and the module's name from its
// module info.

#include <QByteArray>
#include <QByteArrayView>
#include <QString>

namespace qm::prx {

inline constexpr quint16 kElfTypePrx = 0xFFA0;
inline constexpr quint16 kElfMachineMips = 8;
inline constexpr qint64 kModuleInfoNameOffset = 4;
inline constexpr qint64 kModuleInfoNameLength = 28;
inline constexpr const char* kModuleInfoSection = ".rodata.sceModuleInfo";

inline constexpr qint64 kElfHeaderSize = 52;

// The first thing that makes the bytes no ELF PRX; None for a PRX.
enum class ElfFault { None, Empty, NoMagic, ShortHeader, Class, Encoding, Machine, Type };

// What the bytes are; text::elfDetail puts it in words.
struct ElfPrx {
    bool prx = false; // 32-bit, little-endian, MIPS, type 0xFFA0
    ElfFault fault = ElfFault::Empty;
    QByteArray start;       // NoMagic: the first bytes, up to 4
    qint64 size = 0;        // the length of the bytes
    quint32 found = 0;      // Class, Encoding, Machine, Type: the value of that field
    qint64 moduleInfo = -1; // file offset of the module info, when one was found
    QString moduleName;     // the name it holds; empty when none was found
};

// The module info is looked for first in the section named
// ".rodata.sceModuleInfo" (when the file has section headers), then at the
// file offset in the low 31 bits of the first program header's p_paddr. It
// counts only when its 28-byte name field holds a non-empty printable text
// ended inside the field; otherwise no name is given.
ElfPrx inspectElfPrx(QByteArrayView file);

} // namespace qm::prx
