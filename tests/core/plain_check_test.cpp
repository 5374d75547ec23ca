// Plain modules: the ELF head of a PRX and the name in its module info, and
// the checks `check` makes of a plain module.

#include "compression/check.h"
#include "prx/elf.h"
#include "qt_printers.h"
#include "support/fixtures.h"
#include "text/elftext.h"

#include <QtEndian>

#include <gtest/gtest.h>

#include <functional>

using namespace qm;
using namespace qm::prx;
using qm::test::ElfSpec;
using qm::test::makeElf;

namespace {

QByteArray withWord(QByteArray bytes, qint64 at, quint32 value) {
    qToLittleEndian<quint32>(value, bytes.data() + at);
    return bytes;
}

// A second module info at 0x140, for files whose section and program header disagree.
QByteArray withSecondInfo(QByteArray elf, const QByteArray& name) {
    elf.replace(0x140 + 4, 28, name + QByteArray(28 - name.size(), '\0'));
    return elf;
}

ElfSpec elfWith(const std::function<void(ElfSpec&)>& change) {
    ElfSpec s;
    change(s);
    return s;
}

TEST(ElfPrx, NamesTheModuleFromItsModuleInfo) {
    const struct {
        const char* name;
        QByteArray file;
        qint64 moduleInfo; // -1: none found
        QString moduleName;
    } cases[] = {
        {"section and program header agree", makeElf({}), 0x100, QStringLiteral("sceVshMain_Module")},
        {"the section wins over the program header",
         withSecondInfo(makeElf(elfWith([](ElfSpec& s) { s.paddr = 0x80000140; })), "other"), 0x100,
         QStringLiteral("sceVshMain_Module")},
        {"no sections: p_paddr without its high bit",
         makeElf(elfWith([](ElfSpec& s) { s.sections = false; })), 0x100,
         QStringLiteral("sceVshMain_Module")},
        {"no sections: p_paddr as it is",
         withSecondInfo(makeElf(elfWith([](ElfSpec& s) {
                            s.sections = false;
                            s.paddr = 0x140;
                        })),
                        "paf_module"),
         0x140, QStringLiteral("paf_module")},
        {"no section of that name: the program header",
         withSecondInfo(makeElf(elfWith([](ElfSpec& s) {
                            s.sectionName = ".rodata";
                            s.paddr = 0x80000140;
                        })),
                        "by_paddr"),
         0x140, QStringLiteral("by_paddr")},
        {"a section header table past the end: the program header",
         withWord(makeElf(elfWith([](ElfSpec& s) { s.size = 0x300; })), 32, 0x2F0), 0x100,
         QStringLiteral("sceVshMain_Module")},
        {"a name table index out of range: the program header",
         [] {
             QByteArray e = withSecondInfo(makeElf(elfWith([](ElfSpec& s) { s.paddr = 0x140; })), "fallback");
             e[50] = 3; // e_shstrndx = e_shnum
             return e;
         }(),
         0x140, QStringLiteral("fallback")},
        {"a name that fills its 28 bytes", makeElf(elfWith([](ElfSpec& s) { s.name = QByteArray(28, 'n'); })),
         -1, QString()},
        {"an empty name", makeElf(elfWith([](ElfSpec& s) { s.name = ""; })), -1, QString()},
        {"a name with a control character", makeElf(elfWith([](ElfSpec& s) { s.name = "vsh\x01main"; })), -1,
         QString()},
        {"27 characters", makeElf(elfWith([](ElfSpec& s) { s.name = QByteArray(27, 'k'); })), 0x100,
         QString(27, u'k')},
        {"p_paddr past the end, no sections", makeElf(elfWith([](ElfSpec& s) {
             s.sections = false;
             s.paddr = 0x8FFFFFF0;
         })),
         -1, QString()},
        {"no program header, no sections",
         withWord(makeElf(elfWith([](ElfSpec& s) { s.sections = false; })), 44, 0), -1, QString()},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        const ElfPrx elf = inspectElfPrx(c.file);
        EXPECT_TRUE(elf.prx) << text::elfDetail(elf).toStdString();
        EXPECT_EQ(elf.moduleInfo, c.moduleInfo);
        EXPECT_EQ(elf.moduleName, c.moduleName);
        EXPECT_TRUE(text::elfDetail(elf).startsWith(
            QStringLiteral("ELF PRX (32-bit, little-endian, MIPS, type 0xFFA0)")))
            << text::elfDetail(elf).toStdString();
        EXPECT_TRUE(text::elfDetail(elf).contains(c.moduleName.isEmpty()
                                                      ? QStringLiteral("no module info found")
                                                      : QLatin1Char('"') + c.moduleName + QLatin1Char('"')))
            << text::elfDetail(elf).toStdString();
    }
}

TEST(ElfPrx, TellsWhyAFileIsNoPrx) {
    const struct {
        const char* name;
        QByteArray file;
        QString detail;
    } cases[] = {
        {"noise", test::noise(311434, 3).replace(0, 4, "abcd"),
         QStringLiteral("no ELF header: the file starts with 61 62 63 64")},
        {"empty", QByteArray(), QStringLiteral("no ELF header: the file is empty")},
        {"cut header", makeElf({}).first(40),
         QStringLiteral("the ELF header is cut short: 40 of its 52 bytes")},
        {"64-bit", makeElf(elfWith([](ElfSpec& s) { s.elfClass = 2; })),
         QStringLiteral("ELF class 2, not 32-bit (1)")},
        {"big-endian", makeElf(elfWith([](ElfSpec& s) { s.data = 2; })),
         QStringLiteral("ELF data encoding 2, not little-endian (1)")},
        {"not MIPS", makeElf(elfWith([](ElfSpec& s) { s.machine = 3; })),
         QStringLiteral("ELF machine 3, not MIPS (8)")},
        {"an executable", makeElf(elfWith([](ElfSpec& s) { s.type = 2; })),
         QStringLiteral("ELF type 0x0002, not a PSP module (0xFFA0)")},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        const ElfPrx elf = inspectElfPrx(c.file);
        EXPECT_FALSE(elf.prx);
        EXPECT_TRUE(elf.moduleName.isEmpty());
        EXPECT_TRUE(text::elfDetail(elf).startsWith(c.detail)) << text::elfDetail(elf).toStdString();
    }
}

TEST(PlainChecks, ReleaseAndElf) {
    const struct {
        const char* name;
        QByteArray file;
        bool release;
        bool elf;
        QString releaseDetail;
        QString elfDetail;
    } cases[] = {
        {"a 3.71 module with its ELF head", makeElf({}), true, true,
         QStringLiteral("VSHMain.prx - 3.71 (311434 bytes)"), QStringLiteral("module \"sceVshMain_Module\"")},
        {"a PAF 3.8x module", makeElf(elfWith([](ElfSpec& s) {
             s.size = 1896458;
             s.name = "scePaf_Module";
         })),
         true, true, QStringLiteral("Paf.prx - 3.8x (1896458 bytes)"), QStringLiteral("\"scePaf_Module\"")},
        {"a release's length without an ELF head", test::makeVsh(12).bytes, true, false,
         QStringLiteral("VSHMain.prx - 3.71"), QStringLiteral("no ELF header")},
        {"an ELF PRX of no release's length", makeElf(elfWith([](ElfSpec& s) { s.size = 4096; })), false,
         true, QStringLiteral("4096 bytes is the length of no known release"),
         QStringLiteral("sceVshMain_Module")},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        const QList<compression::PackedCheck> checks = compression::checkPlain(c.file);
        ASSERT_EQ(checks.size(), 2);
        EXPECT_EQ(checks[0].name, QStringLiteral("release"));
        EXPECT_EQ(checks[1].name, QStringLiteral("elf"));
        EXPECT_EQ(checks[0].ok, c.release);
        EXPECT_EQ(checks[1].ok, c.elf);
        EXPECT_FALSE(checks[0].note || checks[1].note);
        EXPECT_TRUE(checks[0].detail.contains(c.releaseDetail)) << checks[0].detail.toStdString();
        EXPECT_TRUE(checks[1].detail.contains(c.elfDetail)) << checks[1].detail.toStdString();
        EXPECT_EQ(compression::allHold(checks), c.release && c.elf);
    }
}

TEST(PlainChecks, WhichFilesAreCheckedAsPlain) {
    EXPECT_TRUE(compression::checkedAsPlain("abcd", 311434));
    EXPECT_TRUE(compression::checkedAsPlain("\x7F"
                                            "ELF",
                                            4096));
    EXPECT_FALSE(compression::checkedAsPlain("~PSP", 4096));
    EXPECT_FALSE(compression::checkedAsPlain("\x7F"
                                             "ELG",
                                             311435));
}

} // namespace
