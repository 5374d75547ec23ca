#include "elftext.h"

#include "numbers.h"

namespace qm::text {
QString elfDetail(const prx::ElfPrx& elf) {
    using prx::ElfFault;
    switch (elf.fault) {
    case ElfFault::Empty:
        return QStringLiteral("no ELF header: the file is empty");
    case ElfFault::NoMagic:
        return QStringLiteral("no ELF header: the file starts with %1, not 7F 45 4C 46 (\"\\x7FELF\")")
            .arg(QString::fromLatin1(elf.start.toHex(' ').toUpper()));
    case ElfFault::ShortHeader:
        return QStringLiteral("the ELF header is cut short: %1 of its %2 bytes")
            .arg(elf.size)
            .arg(prx::kElfHeaderSize);
    case ElfFault::Class:
        return QStringLiteral("ELF class %1, not 32-bit (1)").arg(elf.found);
    case ElfFault::Encoding:
        return QStringLiteral("ELF data encoding %1, not little-endian (1)").arg(elf.found);
    case ElfFault::Machine:
        return QStringLiteral("ELF machine %1, not MIPS (%2)").arg(elf.found).arg(prx::kElfMachineMips);
    case ElfFault::Type:
        return QStringLiteral("ELF type %1, not a PSP module (%2)")
            .arg(hex(elf.found, 4), hex(prx::kElfTypePrx, 4));
    case ElfFault::None:
        break;
    }
    QString detail =
        QStringLiteral("ELF PRX (32-bit, little-endian, MIPS, type %1)").arg(hex(prx::kElfTypePrx, 4));
    if (elf.moduleName.isEmpty())
        return detail + QStringLiteral(", no module info found");
    return detail +
           QStringLiteral(", module \"%1\" (module info at %2)").arg(elf.moduleName, hex(elf.moduleInfo, 0));
}

} // namespace qm::text
