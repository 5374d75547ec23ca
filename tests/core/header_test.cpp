#include "prx/header.h"
#include "qt_printers.h"
#include "support/fixtures.h"

#include <QDir>
#include <QTemporaryDir>
#include <QtEndian>

#include <gtest/gtest.h>

using namespace qm;
using namespace qm::prx;
using qm::test::makePacked;
using qm::test::writeFile;

namespace {

QByteArray withSize(QByteArray bytes, qint64 size, char fill = '\x5C') {
    if (bytes.size() < size)
        bytes.append(QByteArray(size - bytes.size(), fill));
    else
        bytes.truncate(size);
    return bytes;
}

QByteArray withSizeField(QByteArray bytes, qint64 at, qint32 value) {
    qToLittleEndian<qint32>(value, bytes.data() + at);
    return bytes;
}

// A packed module with a valid header whose payload is `payloadSize` bytes.
QByteArray packed(qint64 payloadSize, qint32 plainSize = 292888, const QByteArray& name = "vshmain") {
    return makePacked(QByteArray(payloadSize, '\x1F'), plainSize, name);
}

// ---------------------------------------------------------------------------
// The signature text.

TEST(PspSignature, MatchesOnlyTheFourBytesFollowedByZeroOrTheEnd) {
    const struct {
        QByteArray head;
        bool psp;
    } cases[] = {
        {QByteArray("~PSP\0\x01\x02", 7), true},
        {QByteArray("~PSP", 4), true}, // the bytes read end right after it
        {QByteArray("~PSP\x08\0", 6), false},
        {QByteArray("~PSPX\0", 6), false},
        {QByteArray("~psp\0", 5), false},
        {QByteArray("~PS\0P", 5), false},
        {QByteArray(" ~PSP\0", 6), false},
        {QByteArray("\0~PSP", 5), false},
        {QByteArray(), false},
        {QByteArray("~PS", 3), false},
        {QByteArray("~PSP") + QByteArray(300, '\x01'), false},
    };
    for (const auto& c : cases)
        EXPECT_EQ(signatureIsPsp(c.head), c.psp) << c.head.left(8).toHex(' ').toStdString();
}

TEST(PspSignature, PackedNeedsBothTestsAndAHeaderSourceEither) {
    const QByteArray good = packed(100);
    const qint64 n = good.size();
    QByteArray badSignature = good;
    badSignature[4] = '\x08';
    const struct {
        const char* name;
        QByteArray head;
        qint64 size;
        bool packed;
        bool header;
    } cases[] = {
        {"signature and size", good, n, true, true},
        {"signature, other size", good, n + 1, false, true},
        {"signature, size field zero", withSizeField(good, kOffPackedSize, 0), n, false, true},
        {"size only", badSignature, n, false, true},
        {"neither", badSignature, n - 1, false, false},
        {"47 bytes with the signature", good.left(47), 47, false, true},
        {"47 bytes without it", badSignature.left(47), 47, false, false},
        {"48 bytes whose size field says 48", withSizeField(badSignature.left(48), kOffPackedSize, 48), 48,
         false, true},
        {"empty", QByteArray(), 0, false, false},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        EXPECT_EQ(isPacked(c.head, c.size), c.packed);
        EXPECT_EQ(isPspHeader(c.head, c.size), c.header);
    }
}

// ---------------------------------------------------------------------------
// Describing a packed module.

TEST(PackedDescription, LabelComesFromThePlainSizeWithUnknowOtherwise) {
    const struct {
        qint32 plainSize;
        const char* label;
    } cases[] = {
        {292888, "VSHMain.prx - 2.0x"},
        {201704, "VSHMain.prx - 1.5x"},
        {311434, "VSHMain.prx - 3.71"},
        {1569342, "Paf.prx - 1.5x"},
        {1896458, "Paf.prx - 3.8x"},
        {123, "Unknow"},
        {0, "Unknow"},
        {-1, "Unknow"},
        {292889, "Unknow"},
    };
    for (const auto& c : cases) {
        const PackedInfo info = describePacked(packed(10, c.plainSize));
        EXPECT_EQ(info.label, QString::fromLatin1(c.label)) << c.plainSize;
        EXPECT_EQ(info.plainSize, c.plainSize);
    }
}

TEST(PackedDescription, ModuleNameEndsAtItsZeroAndBlankLedOrEmptyNamesAreUnknow) {
    QByteArray runOn = packed(10);
    for (int i = 10; i < 10 + 60; ++i)
        runOn[i] = 'N';
    runOn[70] = '\0';
    QByteArray endless = withSize(packed(0), 400, 'M');
    for (qsizetype i = kOffModuleName; i < endless.size(); ++i)
        endless[i] = 'M';
    const struct {
        const char* name;
        QByteArray head;
        QString expected;
    } cases[] = {
        {"plain name", packed(10, 1, "vshmain"), QStringLiteral("vshmain")},
        {"name with a blank inside", packed(10, 1, "vsh main"), QStringLiteral("vsh main")},
        {"blank-led name", packed(10, 1, " vshmain"), QStringLiteral("Unknow")},
        {"empty name", packed(10, 1, ""), QStringLiteral("Unknow")},
        {"name running past its field", runOn, QString(60, QLatin1Char('N'))},
        {"no zero in the bytes read", endless, QString(kHeadReadLength, QLatin1Char('M'))},
        {"header cut inside the name", packed(0, 1, "vshmain").left(14), QStringLiteral("vshm")},
        {"header ending before the name", QByteArray("~PSP\0", 5), QStringLiteral("Unknow")},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        EXPECT_EQ(describePacked(c.head).name, c.expected);
    }
}

TEST(PackedDescription, ShortHeadsReadNoSizes) {
    const PackedInfo info = describePacked(QByteArray("~PSP\0", 5));
    EXPECT_EQ(info.plainSize, 0);
    EXPECT_EQ(info.packedSize, 0);
    EXPECT_EQ(info.label, QStringLiteral("Unknow"));
}

// ---------------------------------------------------------------------------
// Telling files apart, on real files.

class IdentifyFile : public ::testing::Test {
protected:
    QString path(const QString& name) const { return dir.filePath(name); }
    Identification identified(const QString& name, const QByteArray& bytes) {
        writeFile(path(name), bytes);
        auto id = identifyFile(path(name));
        EXPECT_TRUE(id) << name.toStdString();
        return id ? *id : Identification{};
    }
    QTemporaryDir dir;
};

TEST_F(IdentifyFile, PlainModulesAreKnownByTheirLengthAlone) {
    const struct {
        qint64 size;
        FileKind kind;
        int version;
        const char* label;
    } cases[] = {
        {201704, FileKind::Vsh, 1, "VSHMain.prx - 1.5x"},
        {201705, FileKind::Invalid, -1, ""},
        {201703, FileKind::Invalid, -1, ""},
        {311434, FileKind::Vsh, 12, "VSHMain.prx - 3.71"},
        {312062, FileKind::Vsh, 14, "VSHMain.prx - 3.8x"},
        {1569342, FileKind::Paf, 1, "Paf.prx - 1.5x"},
        {2256412, FileKind::Paf, 9, "Paf.prx - 3.30 / 3.40"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.size);
        const Identification id = identified(QStringLiteral("m.prx"), QByteArray(c.size, '\x7E'));
        EXPECT_EQ(id.kind, c.kind);
        EXPECT_EQ(id.version, c.version);
        EXPECT_EQ(id.size, c.size);
        if (c.kind != FileKind::Invalid) {
            EXPECT_EQ(id.label, QString::fromLatin1(c.label));
        }
    }
}

TEST_F(IdentifyFile, AValidHeaderIsPlainWhenTheLengthIsATableSize) {
    const qint64 vshSize = 292888;
    const QByteArray bytes = packed(vshSize - kPspHeaderSize, 311434);
    ASSERT_EQ(bytes.size(), vshSize);
    const Identification id = identified(QStringLiteral("plain.prx"), bytes);
    EXPECT_EQ(id.kind, FileKind::Vsh);
    EXPECT_EQ(id.version, 2);
}

TEST_F(IdentifyFile, PackedModulesNeedTheSignatureAndTheirOwnLength) {
    const QByteArray good = packed(5000, 311434, "vsh_module");
    QByteArray byte4 = good;
    byte4[4] = '\x08';
    const struct {
        const char* name;
        QByteArray bytes;
        FileKind kind;
    } cases[] = {
        {"valid", good, FileKind::Packed},
        {"byte 4 not zero", byte4, FileKind::Invalid},
        {"packed size differs", withSizeField(good, kOffPackedSize, static_cast<qint32>(good.size() + 1)),
         FileKind::Invalid},
        {"header only", makePacked(QByteArray(), 311434), FileKind::Packed},
        {"truncated", good.left(good.size() - 1), FileKind::Invalid},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        const Identification id = identified(QStringLiteral("p.prx"), c.bytes);
        EXPECT_EQ(id.kind, c.kind);
        EXPECT_EQ(id.version, -1);
    }
    const Identification id = identified(QStringLiteral("p.prx"), good);
    EXPECT_EQ(id.packed.name, QStringLiteral("vsh_module"));
    EXPECT_EQ(id.packed.label, QStringLiteral("VSHMain.prx - 3.71"));
    EXPECT_EQ(id.packed.plainSize, 311434);
    EXPECT_EQ(id.packed.packedSize, good.size());
}

TEST_F(IdentifyFile, ShortFilesAreInvalidWithoutReadingPastTheirEnd) {
    const QByteArray head = packed(0);
    for (qint64 n : {0, 1, 4, 5, 10, 20, 40, 44, 47}) {
        SCOPED_TRACE(n);
        const Identification id = identified(QStringLiteral("short.prx"), head.left(n));
        EXPECT_EQ(id.kind, FileKind::Invalid);
        EXPECT_EQ(id.size, n);
    }
    // 48 bytes are enough to be packed when the size field says 48.
    const Identification id =
        identified(QStringLiteral("short.prx"), withSizeField(head.left(48), kOffPackedSize, 48));
    EXPECT_EQ(id.kind, FileKind::Packed);
}

TEST_F(IdentifyFile, MissingFilesAndFoldersAreErrors) {
    auto missing = identifyFile(path(QStringLiteral("none.prx")));
    ASSERT_FALSE(missing);
    EXPECT_EQ(missing.error().kind, ErrorKind::Io);
    EXPECT_EQ(missing.error().number, errnum::FileNotFound);

    ASSERT_TRUE(QDir(dir.path()).mkdir(QStringLiteral("folder.prx")));
    auto folder = identifyFile(path(QStringLiteral("folder.prx")));
    ASSERT_FALSE(folder);
    EXPECT_EQ(folder.error().kind, ErrorKind::Io);

    EXPECT_FALSE(identifyFile(QString()));
    EXPECT_FALSE(isPspHeaderFile(path(QStringLiteral("none.prx"))));
    EXPECT_FALSE(isPspHeaderFile(dir.path()));
}

TEST_F(IdentifyFile, HeaderSourcesPassOnTheSignatureOrTheSizeAlone) {
    const QByteArray good = packed(64);
    QByteArray noSignature = good;
    noSignature[0] = 'X';
    QByteArray sceNoPsp = test::sceHeader() + good;
    sceNoPsp[64] = 'X';
    const struct {
        const char* name;
        QByteArray bytes;
        bool header;
    } cases[] = {
        {"packed module", good, true},
        {"signature with a wrong size", withSizeField(good, kOffPackedSize, 7), true},
        {"size without the signature", noSignature, true},
        {"neither", withSizeField(noSignature, kOffPackedSize, 7), false},
        {"signature alone in a 4-byte file", QByteArray("~PSP", 4), true},
        {"empty file", QByteArray(), false},
        {"a plain module", QByteArray(201704, '\0'), false},
        {"~SCE then ~PSP", test::sceHeader() + good, true},
        {"~SCE then ~PSP, its size counting nothing",
         test::sceHeader() + withSizeField(good, kOffPackedSize, 7), true},
        {"~SCE then no ~PSP", withSizeField(sceNoPsp, kOffPackedSize, 7), false},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        writeFile(path(QStringLiteral("h.bin")), c.bytes);
        auto r = isPspHeaderFile(path(QStringLiteral("h.bin")));
        ASSERT_TRUE(r);
        EXPECT_EQ(*r, c.header);
        EXPECT_EQ(sceHeaderLength(c.bytes), c.bytes.startsWith("~SCE") && c.header ? 64 : 0);
    }
}

} // namespace

// ---------------------------------------------------------------------------
// What follows the header, and modules behind a "~SCE" header.

namespace {

TEST(Packing, GzipOnlyWhenTheStreamStartsWithItsMagic) {
    const struct {
        const char* name;
        QByteArray stream;
        Packing packing;
    } cases[] = {
        {"gzip", QByteArray("\x1F\x8B\x08\x00rest", 8), Packing::Gzip},
        {"nothing behind the header", QByteArray(), Packing::Gzip},
        {"cut inside the magic", QByteArray("\x1F\x8B", 2), Packing::Gzip},
        {"other method", QByteArray("\x1F\x8B\x07", 3), Packing::Encrypted},
        {"first byte differs", QByteArray("\x1E\x8B\x08", 3), Packing::Encrypted},
        {"one other byte", QByteArray("\x05", 1), Packing::Encrypted},
        {"noise", test::noise(400, 9), Packing::Encrypted},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        EXPECT_EQ(packingOf(c.stream), c.packing);
        EXPECT_EQ(describePacked(makePacked(c.stream, 311434)).packing, c.packing);
    }
    EXPECT_EQ(packingName(Packing::Gzip), QLatin1StringView("gzip"));
    EXPECT_EQ(packingName(Packing::Encrypted), QLatin1StringView("encrypted"));
}

TEST_F(IdentifyFile, ModulesBehindASceHeaderAreThePackedModuleTheyHold) {
    const QByteArray inner =
        makePacked(QByteArray("\x1F\x8B\x08") + QByteArray(5000, 'z'), 311434, "vsh_module");
    const QByteArray encryptedInner = makePacked(test::noise(5000, 3), 2256412, "paf");
    QByteArray countsItself = inner;
    qToLittleEndian<qint32>(static_cast<qint32>(inner.size() + 64), countsItself.data() + kOffPackedSize);
    QByteArray notSce = test::sceHeader() + inner;
    notSce[1] = 'X';
    QByteArray noPspBehind = test::sceHeader() + inner;
    noPspBehind[64 + 4] = '\x08';
    const struct {
        const char* name;
        QByteArray bytes;
        FileKind kind;
        qint64 headerOffset;
        Packing packing;
    } cases[] = {
        {"gzip behind ~SCE", test::sceHeader() + inner, FileKind::Packed, 64, Packing::Gzip},
        {"encrypted behind ~SCE", test::sceHeader() + encryptedInner, FileKind::Packed, 64,
         Packing::Encrypted},
        {"encrypted at 0", encryptedInner, FileKind::Packed, 0, Packing::Encrypted},
        {"packed size counting the ~SCE header", test::sceHeader() + countsItself, FileKind::Invalid, 0,
         Packing::Gzip},
        {"no ~SCE signature", notSce, FileKind::Invalid, 0, Packing::Gzip},
        {"no ~PSP signature at 0x40", noPspBehind, FileKind::Invalid, 0, Packing::Gzip},
        {"~SCE and nothing else", test::sceHeader(), FileKind::Invalid, 0, Packing::Gzip},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        const Identification id = identified(QStringLiteral("sce.prx"), c.bytes);
        EXPECT_EQ(id.kind, c.kind);
        EXPECT_EQ(id.size, c.bytes.size());
        if (c.kind != FileKind::Packed)
            continue;
        EXPECT_EQ(id.packed.headerOffset, c.headerOffset);
        EXPECT_EQ(id.packed.packing, c.packing);
    }

    const Identification id = identified(QStringLiteral("sce.prx"), test::sceHeader() + inner);
    EXPECT_EQ(id.packed.name, QStringLiteral("vsh_module"));
    EXPECT_EQ(id.packed.label, QStringLiteral("VSHMain.prx - 3.71"));
    EXPECT_EQ(id.packed.plainSize, 311434);
    EXPECT_EQ(id.packed.packedSize, inner.size()); // the module's own, the file less 64 bytes
}

} // namespace
