#pragma once

// Synthetic modules for every release: the exact size, noise everywhere,
// and known values at every offset of the release's row. Offsets, sizes and
// layouts come from the tests' own tables (known_offsets.h).

#include "bytes.h"
#include "prx/catalogue.h"
#include "prx/values.h"

#include <QByteArray>
#include <QList>
#include <QString>
#include <QStringList>

#include <array>
#include <ostream>
#include <string>
#include <vector>

namespace qm::test {

// One value the fixture wrote, as `quillmark-cli dump` prints it: the
// member name ("XmbX", "TextColors[3]", "MenuEntries[5].icon") and its text
// in the C locale, with the bytes it was written to.
struct StatedValue {
    QString name;
    QString text;
    qint64 offset;
    qint64 length;
};

// `expected` holds every value the fixture put, as it put it: a member the
// release has that the fixture gave no value keeps its zero value.
struct VshFixture {
    QByteArray bytes;
    prx::ModuleValues expected;
    QList<StatedValue> stated; // every value, in the order a dump shows them
};

struct PafFixture {
    QByteArray bytes;
    prx::ModuleValues expected;
    QList<StatedValue> stated;
};

// `seed` varies the values and the noise, so two fixtures of one release differ.
VshFixture makeVsh(int version, quint32 seed = 1);
PafFixture makePaf(int version, quint32 seed = 1);

// The PAF members in the order of the editor's boxes, and where the value of
// box `box` lies in a module of release `version`.
extern const std::array<prx::PafMember, prx::kPafMemberCount> kPafBoxes;
qint64 pafBoxOffset(int version, int box);

// A packed module: a "~PSP" header whose packed size is `packedSize`
// (the final length when 0), followed by `payload`.
QByteArray makePacked(const QByteArray& payload, qint32 plainSize, const QByteArray& moduleName = "vshmain",
                      quint8 keyByte = 0xAA, qint32 packedSize = 0);

// The packed module with all four bytes of module key `key` (0 to 5) at 0x130.
QByteArray withModuleKey(QByteArray packed, int key);

// The 64-byte "~SCE" header a packer puts in front of a packed module:
// "~SCE", its length 0x40, then bytes no reader looks at.
QByteArray sceHeader();

// A synthetic ELF file of `size` bytes (noise after its tables): a 52-byte
// ELF header (32-bit, little-endian, MIPS, type 0xFFA0 unless changed), one
// program header at 0x34 whose p_paddr is `paddr`, a module info at 0x100
// named `name`, and, when `sections` is set, section headers at 0x200 naming
// the section at 0x100 `sectionName` (a ".shstrtab" at 0x180).
struct ElfSpec {
    qint64 size = 311434;
    quint8 elfClass = 1;
    quint8 data = 1;
    quint16 type = 0xFFA0;
    quint16 machine = 8;
    quint32 paddr = 0x80000100;
    QByteArray name = "sceVshMain_Module";
    bool sections = true;
    QByteArray sectionName = ".rodata.sceModuleInfo";
};
inline constexpr qint64 kElfModuleInfo = 0x100;
QByteArray makeElf(const ElfSpec& shape);

// A program header of a synthetic module: a loadable segment (type 1) unless changed.
struct Segment {
    quint32 offset;
    quint32 vaddr;
    quint32 filesz;
    quint32 type = 1;
};
inline constexpr qint64 kFirstSegment = 0xA0;
// The module with an ELF head in its first kFirstSegment bytes: a 52-byte
// header (32-bit, little-endian, MIPS, type 0xFFA0) and the program headers
// at 0x34, zeros up to 0xA0. Without segments: one from 0xA0 to the end,
// vaddr 0. Values of every release lie far behind it.
QByteArray withElfHead(QByteArray module, const std::vector<Segment>& segments = {});

// A PTF theme file of `length` bytes: "\0PTF", format version 1, `title` at
// 8, `partsEnd` at 0x108 and noise elsewhere.
QByteArray makePtf(const QByteArray& title, quint32 partsEnd, qint64 length);

// The names of the checks of a packed module, in the order they are made.
const QStringList& packedCheckNames();

// Every release of both kinds, for tests that run over all of them.
struct ModuleRelease {
    prx::ModuleKind kind;
    int version;
};
std::vector<ModuleRelease> everyRelease();
// "vsh12", "paf3": a name for a parameterised test.
std::string releaseName(const ModuleRelease& release);
inline void PrintTo(const ModuleRelease& release, std::ostream* os) {
    *os << releaseName(release);
}

// Either kind of fixture.
struct ModuleFixture {
    QByteArray bytes;
    prx::ModuleValues expected;
    QList<StatedValue> stated;
};
ModuleFixture makeModule(const ModuleRelease& release, quint32 seed = 1);

// `module` with the bytes of each stated value (but the date and time
// formats, which no editor writes) taken from `from`, a fixture of the same
// release: every value edited, nothing else.
QByteArray withValuesOf(QByteArray module, const ModuleFixture& from);

// The byte ranges [offset, offset + length) a value occupies.
struct ByteRange {
    qint64 offset;
    qint64 length;
};

// Writes bytes to a file, creating folders; aborts the test run on failure.
void writeFile(const QString& path, const QByteArray& bytes);
QByteArray readFile(const QString& path);

} // namespace qm::test
