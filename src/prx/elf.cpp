#include "elf.h"

#include <QtEndian>

#include <optional>

namespace qm::prx {
namespace {

constexpr qint64 kSectionHeaderSize = 40;
constexpr qint64 kProgramHeaderSize = 32;

template <typename T> std::optional<T> fieldAt(QByteArrayView file, qint64 offset) {
    if (offset < 0 || file.size() < offset + qint64(sizeof(T)))
        return std::nullopt;
    return qFromLittleEndian<T>(file.data() + offset);
}

// The zero-ended name of a section, read from the section name table.
QByteArrayView sectionName(QByteArrayView file, qint64 tableOffset, qint64 tableSize, quint32 name) {
    if (name >= tableSize || tableOffset + tableSize > file.size())
        return {};
    const QByteArrayView rest = file.sliced(tableOffset + name, tableSize - name);
    const qsizetype end = rest.indexOf('\0');
    return end < 0 ? QByteArrayView() : rest.first(end);
}

std::optional<qint64> moduleInfoSection(QByteArrayView file) {
    const auto shoff = fieldAt<quint32>(file, 32);
    const auto shentsize = fieldAt<quint16>(file, 46);
    const auto shnum = fieldAt<quint16>(file, 48);
    const auto shstrndx = fieldAt<quint16>(file, 50);
    if (!shoff || *shoff == 0 || *shnum == 0 || *shentsize < kSectionHeaderSize || *shstrndx >= *shnum ||
        qint64(*shoff) + qint64(*shnum) * *shentsize > file.size())
        return std::nullopt;
    const auto header = [&](quint16 i) { return qint64(*shoff) + qint64(i) * *shentsize; };
    const qint64 table = *fieldAt<quint32>(file, header(*shstrndx) + 16);
    const qint64 tableSize = *fieldAt<quint32>(file, header(*shstrndx) + 20);
    for (quint16 i = 0; i < *shnum; ++i)
        if (sectionName(file, table, tableSize, *fieldAt<quint32>(file, header(i))) ==
            QByteArrayView(kModuleInfoSection))
            return *fieldAt<quint32>(file, header(i) + 16);
    return std::nullopt;
}

std::optional<qint64> moduleInfoFromProgramHeader(QByteArrayView file) {
    const auto phoff = fieldAt<quint32>(file, 28);
    const auto phentsize = fieldAt<quint16>(file, 42);
    const auto phnum = fieldAt<quint16>(file, 44);
    if (!phoff || *phnum == 0 || *phentsize < kProgramHeaderSize)
        return std::nullopt;
    const auto paddr = fieldAt<quint32>(file, qint64(*phoff) + 12);
    if (!paddr || qint64(*phoff) + kProgramHeaderSize > file.size())
        return std::nullopt;
    return qint64(*paddr & 0x7FFFFFFF);
}

// The name in the module info at `offset`, when it is a proper one.
QString moduleInfoName(QByteArrayView file, qint64 offset) {
    const qint64 at = offset + kModuleInfoNameOffset;
    if (at + kModuleInfoNameLength > file.size())
        return {};
    const QByteArrayView field = file.sliced(at, kModuleInfoNameLength);
    const qsizetype end = field.indexOf('\0');
    if (end <= 0)
        return {};
    for (char c : field.first(end))
        if (c < 0x20 || c > 0x7E)
            return {};
    return QString::fromLatin1(field.first(end));
}

} // namespace

ElfPrx inspectElfPrx(QByteArrayView file) {
    ElfPrx elf;
    elf.size = file.size();
    const QByteArrayView start = file.first(std::min<qsizetype>(file.size(), 4));
    if (file.isEmpty())
        return elf;
    if (start != QByteArrayView("\x7F"
                                "ELF")) {
        elf.fault = ElfFault::NoMagic;
        elf.start = start.toByteArray();
        return elf;
    }
    if (file.size() < kElfHeaderSize) {
        elf.fault = ElfFault::ShortHeader;
        return elf;
    }
    const auto elfClass = static_cast<quint8>(file.at(4));
    const auto data = static_cast<quint8>(file.at(5));
    const quint16 type = *fieldAt<quint16>(file, 16);
    const quint16 machine = *fieldAt<quint16>(file, 18);
    const auto fault = [&elf](ElfFault f, quint32 found) {
        elf.fault = f;
        elf.found = found;
        return elf;
    };
    if (elfClass != 1)
        return fault(ElfFault::Class, elfClass);
    if (data != 1)
        return fault(ElfFault::Encoding, data);
    if (machine != kElfMachineMips)
        return fault(ElfFault::Machine, machine);
    if (type != kElfTypePrx)
        return fault(ElfFault::Type, type);

    elf.prx = true;
    elf.fault = ElfFault::None;
    for (const auto& where : {moduleInfoSection(file), moduleInfoFromProgramHeader(file)}) {
        if (!where)
            continue;
        const QString name = moduleInfoName(file, *where);
        if (!name.isEmpty()) {
            elf.moduleInfo = *where;
            elf.moduleName = name;
            return elf;
        }
    }
    return elf;
}

} // namespace qm::prx
