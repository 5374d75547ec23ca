// Writes the tests' synthetic files into a folder, for runs of the
// command-line tool outside the test programs (scripts/compare-cli):
//   quillmark_write_fixtures DIR
// DIR/modules: every release of both kinds with two seeds
//   (vsh-01-s1.prx ... paf-12-s2.prx), a stock module with an ELF head
//   per release (stock-vsh-12.prx) and a PTF theme base (base.ptf);
// DIR/packed: packed modules, good ones and one broken per check;
// DIR/other: files that are no module;
// DIR/pairs: for each release NAME.prx with every value edited and
//   NAME.prx.orig, its stock module (both with an ELF head, as a theme needs
//   them), NAME being vsh1 to vsh14 and paf1 to paf12, and base.ptf
//   (scripts/compare-windows-cli).

#include "prx/header.h"
#include "support/bytes.h"
#include "support/fixtures.h"
#include "support/known_offsets.h"

#include <QCoreApplication>
#include <QDir>
#include <QtEndian>

#include <cstdio>
#include <functional>

using namespace qm;

namespace {

// "vsh-01", "paf-12"
QString fileStem(const test::ModuleRelease& r) {
    return QStringLiteral("%1-%2")
        .arg(r.kind == prx::ModuleKind::Vsh ? QStringLiteral("vsh") : QStringLiteral("paf"))
        .arg(r.version, 2, 10, QLatin1Char('0'));
}

void put32(QByteArray& bytes, qint64 offset, quint32 value) {
    qToLittleEndian(value, bytes.data() + offset);
}

void writeModules(const QString& dir) {
    for (const test::ModuleRelease& r : test::everyRelease()) {
        for (int seed : {1, 2})
            test::writeFile(QStringLiteral("%1/%2-s%3.prx").arg(dir, fileStem(r)).arg(seed),
                            test::makeModule(r, seed).bytes);
        test::writeFile(QStringLiteral("%1/stock-%2.prx").arg(dir, fileStem(r)),
                        test::withElfHead(test::makeModule(r, 1).bytes));
    }
    test::writeFile(dir + QStringLiteral("/base.ptf"), test::makePtf("Blue Night", 0x2000, 0x3000));
}

QByteArray packedOf(const QByteArray& module, int key, const QByteArray& name = "vshmain") {
    return test::withModuleKey(test::makePacked(test::gzip(module), static_cast<qint32>(module.size()), name),
                               key);
}

void writePacked(const QString& dir) {
    namespace known = test::known;
    const QByteArray vsh(known::vshRelease(1).fileSize, '\0');
    const QByteArray good = packedOf(vsh, 0);
    std::map<QString, QByteArray> files;
    files[QStringLiteral("good-vsh")] = good;
    files[QStringLiteral("good-paf")] = packedOf(QByteArray(known::pafRelease(3).fileSize, '\x01'), 2, "paf");
    files[QStringLiteral("good-sce")] = test::sceHeader() + good;
    files[QStringLiteral("not-a-release")] = packedOf(QByteArray(4000, 'x'), 4);
    files[QStringLiteral("trailing-zeros")] = good + QByteArray(16, '\0');
    files[QStringLiteral("trailing-garbage")] = good + "junk";
    QByteArray crc = good;
    crc[crc.size() - 8] = static_cast<char>(crc.at(crc.size() - 8) ^ 1);
    files[QStringLiteral("bad-crc")] = crc;
    QByteArray isize = good;
    isize[isize.size() - 1] = static_cast<char>(isize.at(isize.size() - 1) ^ 1);
    files[QStringLiteral("bad-isize")] = isize;
    files[QStringLiteral("truncated")] = good.left(good.size() - 5);
    files[QStringLiteral("truncated-data")] = good.left(prx::kPspHeaderSize + 40);
    files[QStringLiteral("header-only")] = good.left(prx::kPspHeaderSize);
    files[QStringLiteral("short")] = good.left(100);
    files[QStringLiteral("tiny")] = good.left(8);
    QByteArray key = good;
    key[0x131] = 0;
    files[QStringLiteral("unknown-key")] = key;
    QByteArray name = good;
    name[prx::kOffModuleName] = 0;
    files[QStringLiteral("empty-name")] = name;
    QByteArray longName = good;
    longName.replace(prx::kOffModuleName, prx::kModuleNameFieldLength,
                     QByteArray(prx::kModuleNameFieldLength, 'n'));
    files[QStringLiteral("unended-name")] = longName;
    QByteArray signature = good;
    signature[1] = 'Q';
    files[QStringLiteral("bad-signature")] = signature;
    QByteArray sizes = good;
    put32(sizes, prx::kOffPackedSize, 1234);
    put32(sizes, prx::kOffGzipSize, 99);
    put32(sizes, prx::kOffPlainSize, 4321);
    files[QStringLiteral("bad-sizes")] = sizes;
    files[QStringLiteral("bad-sizes-sce")] = test::sceHeader() + sizes;
    QByteArray encrypted = good;
    encrypted.replace(prx::kPspHeaderSize, 3, "\x12\x34\x56");
    files[QStringLiteral("encrypted")] = encrypted;
    QByteArray other = good;
    other[prx::kPspHeaderSize] = 0x1F;
    other[prx::kPspHeaderSize + 1] = 0x00;
    files[QStringLiteral("other-magic")] = other;
    QByteArray flags = good;
    flags[prx::kPspHeaderSize + 3] = static_cast<char>(0xE0);
    files[QStringLiteral("reserved-flags")] = flags;
    QByteArray hcrc = good;
    hcrc[prx::kPspHeaderSize + 3] = 0x02;
    files[QStringLiteral("header-crc")] = hcrc;
    QByteArray deflate = good;
    for (int i = 0; i < 6; ++i)
        deflate[prx::kPspHeaderSize + 10 + i] = static_cast<char>(0xFF);
    files[QStringLiteral("broken-deflate")] = deflate;
    files[QStringLiteral("gzip-header-cut")] = good.left(prx::kPspHeaderSize + 6);
    files[QStringLiteral("named-stream")] = test::withModuleKey(
        test::makePacked(test::gzip(vsh, "vshmain.prx"), static_cast<qint32>(vsh.size())), 1);
    for (const auto& [file, bytes] : files)
        test::writeFile(dir + u'/' + file + QStringLiteral(".prx"), bytes);
}

void writeOther(const QString& dir) {
    test::writeFile(dir + QStringLiteral("/empty.bin"), {});
    test::writeFile(dir + QStringLiteral("/noise.bin"), test::noise(5000, 3));
    test::writeFile(dir + QStringLiteral("/elf.prx"), test::makeElf({}));
    test::ElfSpec notMips;
    notMips.machine = 3;
    test::writeFile(dir + QStringLiteral("/elf-x86.prx"), test::makeElf(notMips));
    test::writeFile(dir + QStringLiteral("/plain-elf-vsh.prx"),
                    test::withElfHead(test::makeModule({prx::ModuleKind::Vsh, 12}, 1).bytes));
}

void writePairs(const QString& dir) {
    for (const test::ModuleRelease& release : test::everyRelease()) {
        const QByteArray stock = test::withElfHead(test::makeModule(release, 1).bytes);
        const QByteArray edited = test::withValuesOf(stock, test::makeModule(release, 2));
        const QString name =
            dir + u'/' + QString::fromStdString(test::releaseName(release)) + QStringLiteral(".prx");
        test::writeFile(name, edited);
        test::writeFile(name + QStringLiteral(".orig"), stock);
    }
    test::writeFile(dir + QStringLiteral("/base.ptf"), test::makePtf("Blue Night", 0x2000, 0x3000));
}

} // namespace

int main(int argc, char** argv) {
    QCoreApplication app(argc, argv);
    if (argc != 2) {
        std::fputs("usage: quillmark_write_fixtures DIR\n", stderr);
        return 1;
    }
    const QString dir = QString::fromLocal8Bit(argv[1]);
    writeModules(dir + QStringLiteral("/modules"));
    writePacked(dir + QStringLiteral("/packed"));
    writeOther(dir + QStringLiteral("/other"));
    writePairs(dir + QStringLiteral("/pairs"));
    return 0;
}
