// The checks of a packed module, one broken module per rule.

#include "compression/check.h"
#include "prx/header.h"
#include "qt_printers.h"
#include "support/bytes.h"
#include "support/fixtures.h"

#include <QtEndian>

#include <gtest/gtest.h>

#include <zlib.h>

#include <functional>
#include <optional>
#include <set>

using namespace qm;
using namespace qm::compression;
using qm::test::gzip;
using qm::test::makePacked;
using qm::test::packedCheckNames;

namespace {

// The checks that fall with a broken stream: nothing behind it can be judged.
const std::set<QString> kBehindTheStream{QStringLiteral("stream"), QStringLiteral("crc32"),
                                         QStringLiteral("isize"), QStringLiteral("padding"),
                                         QStringLiteral("plain_size")};

const QByteArray& vshModule() {
    static const QByteArray module = test::makeVsh(12).bytes; // VSHMain.prx - 3.71
    return module;
}

const QByteArray& vshStream() {
    static const QByteArray stream = gzip(vshModule());
    return stream;
}

// A packed module whose header agrees with `stream` in every size, key 0.
QByteArray packedOf(const QByteArray& stream, qint32 plainSize, const QByteArray& name = "vshmain") {
    return test::withModuleKey(makePacked(stream, plainSize, name), 0);
}

QByteArray goodPacked() {
    return packedOf(vshStream(), static_cast<qint32>(vshModule().size()));
}

// What the firmware ships: data behind the header that is no gzip stream.
QByteArray encryptedPacked() {
    return packedOf(test::noise(40000, 77).replace(0, 1, "\x05"), 311434);
}

// The stream with every optional part in its gzip header: extra field,
// name, comment and header CRC (or `headerCrc` in its place).
QByteArray withFullHeader(const QByteArray& stream, std::optional<quint16> headerCrc = {}) {
    QByteArray header = stream.first(10);
    header[3] = 0x1E;
    header += QByteArray("\x03\x00"
                         "abc"
                         "name\0"
                         "comment",
                         17);
    header += '\0';
    const auto crc = static_cast<quint16>(
        crc32(0, reinterpret_cast<const Bytef*>(header.constData()), static_cast<uInt>(header.size())));
    header += QByteArray(2, '\0');
    qToLittleEndian<quint16>(headerCrc.value_or(crc), header.data() + header.size() - 2);
    return header + stream.sliced(10);
}

void put32(QByteArray& bytes, qint64 at, quint32 value) {
    qToLittleEndian<quint32>(value, bytes.data() + at);
}

struct Case {
    const char* name;
    std::function<QByteArray()> make;
    std::set<QString> failing; // every check that does not hold, notes too
    QString check;             // the check whose detail is looked at
    QString detail;            // a part of that detail
};

// Only the module name is a note: no loader goes by it.
const std::set<QString> kNotes{QStringLiteral("module_name")};

std::set<QString> allChecksBut(const QString& name) {
    std::set<QString> names(packedCheckNames().begin(), packedCheckNames().end());
    names.erase(name);
    return names;
}

std::set<QString> withoutNotes(const std::set<QString>& names) {
    std::set<QString> out;
    for (const QString& n : names)
        if (!kNotes.count(n))
            out.insert(n);
    return out;
}

std::set<QString> with(std::set<QString> names, std::initializer_list<QString> more) {
    names.insert(more);
    return names;
}

const std::vector<Case>& cases() {
    static const std::vector<Case> all = {
        {"good", goodPacked, {}, QStringLiteral("release"), QStringLiteral("VSHMain.prx - 3.71")},
        {"good, stored name in the gzip header",
         [] { return packedOf(gzip(vshModule(), "vshmain.prx"), 311434); },
         {},
         QStringLiteral("stream"),
         QStringLiteral("inflates to 311434 bytes")},
        {"good, every optional gzip header part",
         [] { return packedOf(withFullHeader(vshStream()), 311434); },
         {},
         QStringLiteral("stream"),
         QStringLiteral("inflates to 311434 bytes")},
        {"gzip header CRC mismatch", [] { return packedOf(withFullHeader(vshStream(), 0x1234), 311434); },
         kBehindTheStream, QStringLiteral("stream"), QStringLiteral("the gzip header's CRC is 0x1234")},
        {"gzip header cut short", [] { return packedOf(withFullHeader(vshStream()).first(20), 311434); },
         kBehindTheStream, QStringLiteral("stream"), QStringLiteral("the gzip header ends early")},
        {"good, zero padding after the stream",
         [] { return packedOf(vshStream() + QByteArray(16, '\0'), 311434); },
         {},
         QStringLiteral("padding"),
         QStringLiteral("16 zero bytes")},
        {"good, the last key",
         [] { return test::withModuleKey(goodPacked(), 5); },
         {},
         QStringLiteral("key"),
         QStringLiteral("3.51 Kernel Module")},
        {"short file", [] { return goodPacked().first(300); },
         with(kBehindTheStream,
              {QStringLiteral("length"), QStringLiteral("packed_size"), QStringLiteral("gzip_size"),
               QStringLiteral("gzip_magic"), QStringLiteral("key")}),
         QStringLiteral("length"), QStringLiteral("300 bytes; a packed module has at least 356")},
        {"empty file", [] { return QByteArray(); },
         std::set<QString>(packedCheckNames().begin(), packedCheckNames().end()), QStringLiteral("key"),
         QStringLiteral("the file ends before the module key (0x130)")},
        {"no ~PSP",
         [] {
             QByteArray p = goodPacked();
             p[1] = 'Q';
             return p;
         },
         {QStringLiteral("signature")},
         QStringLiteral("signature"),
         QStringLiteral("\"~QSP\"")},
        {"PackedSize lies",
         [] {
             QByteArray p = goodPacked();
             put32(p, prx::kOffPackedSize, static_cast<quint32>(p.size() + 1));
             return p;
         },
         {QStringLiteral("packed_size")},
         QStringLiteral("packed_size"),
         QStringLiteral("PackedSize (0x02C) is %1").arg(goodPacked().size() + 1)},
        {"GzipSize lies",
         [] {
             QByteArray p = goodPacked();
             put32(p, prx::kOffGzipSize, static_cast<quint32>(vshStream().size() - 1));
             return p;
         },
         {QStringLiteral("gzip_size")},
         QStringLiteral("gzip_size"),
         QStringLiteral("GzipSize (0x0B0) is %1").arg(vshStream().size() - 1)},
        {"method other than deflate",
         [] {
             QByteArray p = goodPacked();
             p[0x152] = 7;
             return p;
         },
         with(kBehindTheStream, {QStringLiteral("gzip_magic")}), QStringLiteral("gzip_magic"),
         QStringLiteral("starts with 1F 8B 07")},
        {"encrypted, as the firmware ships it", encryptedPacked,
         with(kBehindTheStream, {QStringLiteral("gzip_magic")}), QStringLiteral("gzip_magic"),
         QStringLiteral("starts with 05 ")},
        {"encrypted, named so", encryptedPacked, with(kBehindTheStream, {QStringLiteral("gzip_magic")}),
         QStringLiteral("gzip_magic"), QStringLiteral("the module is encrypted")},
        {"encrypted, the stream not looked at", encryptedPacked,
         with(kBehindTheStream, {QStringLiteral("gzip_magic")}), QStringLiteral("crc32"),
         QStringLiteral("not checked: no gzip stream at 0x150")},
        {"behind a ~SCE header",
         [] { return test::sceHeader() + goodPacked(); },
         {},
         QStringLiteral("signature"),
         QStringLiteral("~PSP behind a 64-byte ~SCE header")},
        {"behind a ~SCE header, its packed size",
         [] { return test::sceHeader() + goodPacked(); },
         {},
         QStringLiteral("packed_size"),
         QStringLiteral("%1 bytes, the file's length less its ~SCE header").arg(goodPacked().size())},
        {"behind a ~SCE header, packed size counting it",
         [] {
             QByteArray p = goodPacked();
             put32(p, prx::kOffPackedSize, static_cast<quint32>(p.size() + 64));
             return test::sceHeader() + p;
         },
         {QStringLiteral("packed_size")},
         QStringLiteral("packed_size"),
         QStringLiteral("PackedSize (0x02C) is %1, the file's length less its ~SCE header is %2")
             .arg(goodPacked().size() + 64)
             .arg(goodPacked().size())},
        {"behind a ~SCE header, trailing garbage at file offsets",
         [] { return test::sceHeader() + packedOf(vshStream() + QByteArray("\0garbage", 8), 311434); },
         {QStringLiteral("padding")},
         QStringLiteral("padding"),
         QStringLiteral("(67 at 0x%1)")
             .arg(QString::number(64 + 336 + vshStream().size() + 1, 16).toUpper())},
        {"behind a ~SCE header, encrypted",
         [] { return test::sceHeader() + packedOf(test::noise(4000, 78).replace(0, 1, "\x05"), 311434); },
         with(kBehindTheStream, {QStringLiteral("gzip_magic")}), QStringLiteral("gzip_magic"),
         QStringLiteral("the stream at 0x190 starts with 05")},
        {"a ~SCE header with no ~PSP behind it",
         [] {
             QByteArray p = QByteArray("~SCE") + QByteArray(60, '\0') + goodPacked();
             p[64 + 3] = 'Q';
             return p;
         },
         allChecksBut(QStringLiteral("length")), QStringLiteral("signature"),
         QStringLiteral("the file starts with \"~SCE\"")},
        {"reserved gzip flags",
         [] {
             QByteArray p = goodPacked();
             p[0x153] = static_cast<char>(0x20);
             return p;
         },
         kBehindTheStream, QStringLiteral("stream"), QStringLiteral("reserved flags")},
        {"truncated stream", [] { return packedOf(vshStream().chopped(1000), 311434); }, kBehindTheStream,
         QStringLiteral("stream"), QStringLiteral("ends early")},
        {"stream inflating past the bound",
         [] { return packedOf(gzip(QByteArray(1024 * 1024, '\0'), {}, 65), 311434); }, kBehindTheStream,
         QStringLiteral("stream"), QStringLiteral("past 64 MiB")},
        {"CRC-32 mismatch",
         [] {
             QByteArray p = goodPacked();
             p[p.size() - 8] = static_cast<char>(p.at(p.size() - 8) ^ 1);
             return p;
         },
         {QStringLiteral("crc32")},
         QStringLiteral("crc32"),
         QStringLiteral("the trailer's CRC-32 is")},
        {"ISIZE mismatch",
         [] {
             QByteArray p = goodPacked();
             put32(p, p.size() - 4, 311435);
             return p;
         },
         {QStringLiteral("isize")},
         QStringLiteral("isize"),
         QStringLiteral("ISIZE is 311435, the data has 311434 bytes")},
        {"trailer cut short",
         [] { return packedOf(vshStream().chopped(3), 311434); },
         {QStringLiteral("crc32"), QStringLiteral("isize"), QStringLiteral("padding")},
         QStringLiteral("crc32"),
         QStringLiteral("5 of its 8 bytes")},
        {"trailing garbage",
         [] { return packedOf(vshStream() + QByteArray("\0\0garbage", 9), 311434); },
         {QStringLiteral("padding")},
         QStringLiteral("padding"),
         QStringLiteral("(67 at ")},
        {"a second gzip member",
         [] { return packedOf(vshStream() + gzip("more"), 311434); },
         {QStringLiteral("padding")},
         QStringLiteral("padding"),
         QStringLiteral("not only zeros")},
        {"PlainSize of no release",
         [] {
             const QByteArray module = vshModule() + 'x';
             return packedOf(gzip(module), static_cast<qint32>(module.size()));
         },
         {QStringLiteral("release")},
         QStringLiteral("release"),
         QStringLiteral("PlainSize 311435 is the size of no known release")},
        {"PlainSize other than the inflated length",
         [] { return packedOf(vshStream(), 311528); }, // VSHMain.prx - 3.7x
         {QStringLiteral("plain_size")},
         QStringLiteral("plain_size"),
         QStringLiteral("PlainSize (0x028) is 311528, the stream inflates to 311434 bytes")},
        {"unknown key",
         [] {
             QByteArray p = goodPacked();
             p.replace(prx::kOffModuleKey, 4, QByteArray("\x01\x02\x03\x04", 4));
             return p;
         },
         {QStringLiteral("key")},
         QStringLiteral("key"),
         QStringLiteral("unknown key (01 02 03 04)")},
        {"a key that shares only its first byte",
         [] {
             QByteArray p = goodPacked();
             p[prx::kOffModuleKey + 3] = 0;
             return p;
         },
         {QStringLiteral("key")},
         QStringLiteral("key"),
         QStringLiteral("unknown key (AA 6D 79 00)")},
        {"ModuleName empty, a note",
         [] { return packedOf(vshStream(), 311434, ""); },
         {QStringLiteral("module_name")},
         QStringLiteral("module_name"),
         QStringLiteral("is empty")},
        {"ModuleName not terminated, a note",
         [] { return packedOf(vshStream(), 311434, QByteArray(28, 'n')); },
         {QStringLiteral("module_name")},
         QStringLiteral("module_name"),
         QStringLiteral("not ended inside its 28 bytes")},
        {"ModuleName of 27 characters",
         [] { return packedOf(vshStream(), 311434, QByteArray(27, 'n')); },
         {},
         QStringLiteral("module_name"),
         QLatin1Char('"') + QString(27, u'n') + QLatin1Char('"')},
    };
    return all;
}

class PackedChecks : public ::testing::TestWithParam<Case> {};

} // namespace

TEST_P(PackedChecks, FailExactlyTheBrokenRule) {
    const Case& c = GetParam();
    const QList<PackedCheck> checks = checkPacked(c.make());
    QStringList names;
    std::set<QString> failing;
    QString detail;
    for (const PackedCheck& check : checks) {
        names.append(check.name);
        if (!check.ok)
            failing.insert(check.name);
        if (check.name == c.check)
            detail = check.detail;
        EXPECT_FALSE(check.detail.isEmpty()) << check.name.toStdString();
        EXPECT_EQ(check.note, kNotes.count(check.name) == 1) << check.name.toStdString();
    }
    EXPECT_EQ(names, packedCheckNames());
    EXPECT_EQ(failing, c.failing);
    EXPECT_TRUE(detail.contains(c.detail)) << detail.toStdString();
    const bool passes = withoutNotes(c.failing).empty();
    EXPECT_EQ(allHold(checks), passes);
    EXPECT_EQ(requirePackedChecks(c.make()).ok(), passes);
    QStringList raised;
    for (const QString& n : c.failing)
        if (kNotes.count(n))
            raised.append(n);
    QStringList notes = notesRaised(checks);
    for (QString& n : notes)
        n = n.section(u':', 0, 0);
    EXPECT_EQ(notes, raised);
}

INSTANTIATE_TEST_SUITE_P(Rules, PackedChecks, ::testing::ValuesIn(cases()), [](const auto& info) {
    std::string name;
    for (const char* p = info.param.name; *p; ++p)
        name += std::isalnum(static_cast<unsigned char>(*p)) ? *p : '_';
    return name;
});

// A file handed in pieces is judged as the whole of it, also when the
// feeding stops as soon as the rest does not matter.
TEST_P(PackedChecks, InPiecesAsWhole) {
    const QByteArray file = GetParam().make();
    const auto flat = [](const QList<PackedCheck>& checks) {
        QStringList out;
        for (const PackedCheck& c : checks)
            out.append(QStringLiteral("%1 %2 %3").arg(c.name).arg(c.ok).arg(c.detail));
        return out;
    };
    const QStringList whole = flat(checkPacked(file));
    for (qsizetype piece : {1, 13, 65536}) {
        for (bool stopEarly : {false, true}) {
            PackedChecker checker;
            for (qsizetype at = 0; at < file.size() && (!stopEarly || checker.needsMore()); at += piece)
                checker.feed(QByteArrayView(file).sliced(at, std::min(piece, file.size() - at)));
            EXPECT_EQ(flat(checker.finish(file.size())), whole)
                << "pieces of " << piece << (stopEarly ? ", stopped" : "");
        }
    }
}

TEST(PackedChecks, RefusalNamesEveryFailedCheck) {
    QByteArray p = goodPacked();
    p[0] = 'X';
    p.replace(prx::kOffModuleKey, 4, QByteArray(4, '\0'));
    const Status s = requirePackedChecks(p);
    ASSERT_FALSE(s.ok());
    EXPECT_EQ(s.error().kind, ErrorKind::Check);
    EXPECT_TRUE(s.error().detail.contains(QStringLiteral("signature: ")));
    EXPECT_TRUE(s.error().detail.contains(QStringLiteral("key: unknown key (00 00 00 00)")));
}
