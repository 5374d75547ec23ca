// Writes the seed corpora of the fuzz targets: quillmark_fuzz_seeds DIR TARGET...
// Every target gets a folder DIR/TARGET, empty when this program has no seeds
// for it. The seeds come from the synthetic modules of the tests.

#include "compression/modulekeys.h"
#include "harness.h"
#include "looks/look.h"
#include "prx/header.h"
#include "prx/menu.h"
#include "prx/valueio.h"
#include "support/bytes.h"
#include "support/fixtures.h"
#include "support/known_offsets.h"
#include "text/errortext.h"
#include "theme/make.h"

#include <QDir>
#include <QFile>

#include <bit>
#include <cstdio>
#include <cstdlib>
#include <functional>
#include <map>

using namespace qm;
using qm::fuzz::Edit;

namespace {

using Seeds = std::map<QString, QByteArray>; // file name, bytes
namespace known = qm::test::known;

QString name(const char* prefix, int n) {
    return QStringLiteral("%1-%2").arg(QLatin1StringView(prefix)).arg(n, 2, 10, QLatin1Char('0'));
}

QByteArray window(prx::ModuleKind kind, int version, const QByteArray& module) {
    const fuzz::Window w = fuzz::valueWindow(kind, version);
    return module.mid(w.begin, w.end - w.begin);
}

quint32 bitsOf(float v) {
    return std::bit_cast<quint32>(v);
}

Seeds identifySeeds() {
    Seeds s;
    const auto head = [](const QByteArray& module) { return module.left(prx::kIdentifyReadLength); };
    for (int v = 1; v <= prx::kVshRows; ++v)
        s[name("vsh", v)] = QByteArray("\x01") + char(v - 1) + head(test::makeVsh(v).bytes);
    for (int v = 1; v <= prx::kPafRows; ++v)
        s[name("paf", v)] = QByteArray("\x02") + char(v - 1) + head(test::makePaf(v).bytes);
    const QByteArray payload = test::noise(600, 5);
    for (int v = 1; v <= prx::kVshRows; v += 4)
        s[name("packed-vsh", v)] =
            QByteArray(2, '\0') + test::makePacked(payload, known::vshRelease(v).fileSize);
    s[name("packed-paf", 12)] =
        QByteArray("\x03\x00", 2) + test::makePacked(payload, known::pafRelease(12).fileSize, "paf");
    s[QStringLiteral("packed-lying-size")] =
        QByteArray(2, '\0') + test::makePacked(payload, 12345, "vshmain", 0xAA, 99);
    s[QStringLiteral("packed-blank-name")] = QByteArray(2, '\0') + test::makePacked(payload, 0, " x");
    s[QStringLiteral("signature-only")] = QByteArray(2, '\0') + QByteArray("~PSP\0", 5);
    return s;
}

// Edits of every kind the VSH target knows: a number, a text, a colour, and
// a menu row in place of the text for the releases with a menu.
const Edit kNumberEdit{0, 0, bitsOf(2.5f)};
const Edit kTextEdit{1, 8, 0x2F3A6630u | 30u};
const Edit kColorEdit{2, 3, 0x00FF8000u};
const Edit kMenuEdit{3, 2, 0x01020304u};

// The image a seed's fill makes must show the values of the module it was cut from.
void requireSameValues(const Result<prx::ModuleValues>& shown, const prx::ModuleValues& expected,
                       const QString& seed) {
    fuzz::require(shown && *shown == expected, "a seed's image holds its module's values", seed);
}

Seeds vshSeeds() {
    Seeds s;
    for (int v = 1; v <= prx::kVshRows; ++v) {
        const test::VshFixture f = test::makeVsh(v);
        const QByteArray fill = window(prx::ModuleKind::Vsh, v, f.bytes);
        requireSameValues(prx::loadValues(fuzz::releaseImage(prx::ModuleKind::Vsh, v, fill),
                                          prx::ReleaseId{prx::ModuleKind::Vsh, v}),
                          f.expected, name("vsh", v));
        s[name("vsh", v)] = fuzz::moduleInput(v, 0, {}, fill);
        s[name("vsh-edits", v)] = fuzz::moduleInput(
            v, 1,
            {kNumberEdit, prx::menuFormat(prx::ReleaseId{prx::ModuleKind::Vsh, v}) ? kMenuEdit : kTextEdit,
             kColorEdit},
            fill);
    }
    const QList<Edit> edits{kNumberEdit, kTextEdit, kColorEdit};
    s[QStringLiteral("short-zeros")] = fuzz::moduleInput(12, 0, edits, QByteArray(64, '\0'));
    s[QStringLiteral("short-text")] = fuzz::moduleInput(14, 1, edits, QByteArray("abc\0", 4));
    return s;
}

Seeds pafSeeds() {
    Seeds s;
    const QList<Edit> edits{{0, 0, bitsOf(-1.25f)}, {0, 8, bitsOf(1e-40f)}, {0, 24, 0x7FC00001u}};
    for (int v = 1; v <= prx::kPafRows; ++v) {
        const test::PafFixture f = test::makePaf(v);
        const QByteArray fill = window(prx::ModuleKind::Paf, v, f.bytes);
        requireSameValues(prx::loadValues(fuzz::releaseImage(prx::ModuleKind::Paf, v, fill),
                                          prx::ReleaseId{prx::ModuleKind::Paf, v}),
                          f.expected, name("paf", v));
        s[name("paf", v)] = fuzz::moduleInput(v, 0, {}, fill);
        s[name("paf-edits", v)] = fuzz::moduleInput(v, 1, edits, fill);
    }
    s[QStringLiteral("short")] = fuzz::moduleInput(1, 0, edits, test::singleBytes(3.0f));
    return s;
}

Seeds numberSeeds() {
    Seeds s;
    const char* const texts[] = {
        "1.5",
        "1,5",
        "-0",
        "NaN",
        "-Infinity",
        "inf",
        "1e-45",
        "1.4e-45",
        "1e-46",
        "3.4028235e38",
        "3.4028236e+38",
        "1e39",
        "1e400",
        "32767.5",
        "-32768.5",
        "255.5",
        "-0.5",
        "  12  ",
        "1,5e3",
        "+-1",
        "",
        "#FF8000",
        "#ff80zz",
        "0x10",
        "1..2",
        "1e",
        "12e9999999999999999999",
    };
    // The mode byte: bit 0 the locale, then the mode (0 UTF-8, 1 UTF-16, 2 Latin-1, 3 Single, 4 text).
    const auto modeByte = [](int mode, int localeIndex) { return char((mode << 1) | localeIndex); };
    int n = 0;
    for (const char* t : texts) {
        const QString text = QString::fromLatin1(t);
        for (int localeIndex : {0, 1}) {
            s[name("utf8", n)] = modeByte(0, localeIndex) + QByteArray(t);
            s[name("utf16", n)] = modeByte(1, localeIndex) +
                                  QByteArray(reinterpret_cast<const char*>(text.utf16()), text.size() * 2);
            s[name("latin1", n)] = modeByte(2, localeIndex) + QByteArray(t);
            ++n;
        }
    }
    const quint32 bits[] = {0,           0x80000000u, 1,           0x007FFFFFu, 0x00800000u,
                            0x3DCCCCCDu, 0x4B800001u, 0x7F7FFFFFu, 0x7F800000u, 0xFFC00001u};
    for (quint32 b : bits) {
        QByteArray seed(1, modeByte(3, 0));
        for (int i = 0; i < 4; ++i)
            seed.append(char((b >> (8 * i)) & 0xFF));
        s[name("single", n++)] = seed;
    }
    // Offset and length bytes, then module bytes and a text of the same length.
    s[QStringLiteral("text-shorter")] =
        modeByte(4, 0) + QByteArray("\x02\x05") + QByteArray("ab\0cdefgh\0", 10) + "new text  x";
    s[QStringLiteral("text-longer")] =
        modeByte(4, 1) + QByteArray("\x00\x20", 2) + QByteArray("abcdef\0gh\0x", 11) + "123 456 789";
    return s;
}

// Packed modules: good ones of a release (a module of zeros packs small) and
// one broken per check.
Seeds checkSeeds() {
    Seeds s;
    const auto packed = [](const QByteArray& module, int key, const QByteArray& name = "vshmain") {
        QByteArray file = test::makePacked(test::gzip(module), static_cast<qint32>(module.size()), name);
        const auto& bytes = compression::kModuleKeys[static_cast<std::size_t>(key)].bytes;
        for (int i = 0; i < 4; ++i)
            file[0x130 + i] = static_cast<char>(bytes[static_cast<std::size_t>(i)]);
        return QByteArray(1, '\x10') + file;
    };
    const QByteArray vsh(known::vshRelease(1).fileSize, '\0');
    const QByteArray good = packed(vsh, 0);
    s[QStringLiteral("good-vsh")] = good;
    s[QStringLiteral("good-paf")] = packed(QByteArray(known::pafRelease(3).fileSize, '\x01'), 2, "paf");
    s[QStringLiteral("not-a-release")] = packed(QByteArray(4000, 'x'), 4);
    s[QStringLiteral("trailing-zeros")] = good + QByteArray(16, '\0');
    s[QStringLiteral("trailing-garbage")] = good + "junk";
    QByteArray crc = good;
    crc[crc.size() - 8] = static_cast<char>(crc.at(crc.size() - 8) ^ 1);
    s[QStringLiteral("bad-crc")] = crc;
    s[QStringLiteral("truncated")] = good.left(good.size() - 5);
    QByteArray key = good;
    key[1 + 0x131] = 0;
    s[QStringLiteral("unknown-key")] = key;
    s[QStringLiteral("not-gzip")] = QByteArray(1, '\0') + test::makePacked(test::noise(300, 3), 300);
    return s;
}

// Look documents: dumps of every release's fixture, and a few odd ones.
Seeds lookSeeds() {
    Seeds s;
    for (prx::ModuleKind kind : {prx::ModuleKind::Vsh, prx::ModuleKind::Paf}) {
        const bool vsh = kind == prx::ModuleKind::Vsh;
        for (int v = 1; v <= prx::rowCount(kind); v += 3) {
            const looks::ModuleValues values =
                vsh ? test::makeVsh(v, 2).expected : test::makePaf(v, 2).expected;
            // The pick byte: bit 0 the kind, the rest a release (another than the look's, often).
            const char pick = static_cast<char>((vsh ? 0 : 1) | ((v * 5) << 1));
            s[name(vsh ? "vsh" : "paf", v)] = pick + looks::lookFile(values, QStringLiteral("m.prx"));
        }
    }
    const char* const odd[] = {
        R"({"values": {"XmbX": 1e300, "TextColors": ["#GG0000"], "BmpSize": 40000}})",
        R"({"kind": "paf", "values": {}})",
        R"({"XmbX": "NaN", "MSIconPhoto": "a very long name with blanks in it", "MenuEntries": [{"category": 3}]})",
        R"([1, 2, 3])",
        R"({"values": {"MenuEntries": [{"order": 99, "enabled": "SLIM ON"}]}})",
    };
    int n = 0;
    for (const char* t : odd)
        s[name("odd", n++)] = QByteArray(1, static_cast<char>(n * 2)) + t;
    return s;
}

// Themes made from the synthetic modules: 3.71 and 3.80 with every value
// edited, a later firmware's plain diff, and one with whole files.
Seeds themeSeeds() {
    Seeds s;
    const QByteArray ptf = test::makePtf("Seed", 0x200, 0x280);
    const auto pair = [](prx::ModuleKind kind, int version, theme::Slot slot) {
        const QByteArray stock = test::withElfHead(test::makeModule({kind, version}, 1).bytes);
        return theme::ModulePair{slot, stock, test::withValuesOf(stock, test::makeModule({kind, version}, 2)),
                                 QStringLiteral("stock"), QStringLiteral("edited")};
    };
    const auto add = [&s](const char* name, const theme::ThemeRequest& request) {
        auto made = theme::makeTheme(request);
        if (!made) {
            std::fprintf(stderr, "theme seed %s: %s\n", name, qPrintable(text::fullText(made.error())));
            std::exit(1);
        }
        s[QString::fromLatin1(name)] = made->bytes;
    };
    add("fw371", {ptf, {}, {pair(prx::ModuleKind::Vsh, 12, theme::Slot::Vsh)}, {}});
    add("fw380", {ptf, {}, {pair(prx::ModuleKind::Paf, 12, theme::Slot::Paf)}, {}});
    QByteArray later = test::withElfHead(test::noise(5000, 7));
    QByteArray edited = later;
    edited[4000] = static_cast<char>(~edited.at(4000));
    add("fw661",
        {ptf,
         QStringLiteral("6.61"),
         {{theme::Slot::CommonGui, later, edited, QStringLiteral("stock"), QStringLiteral("edited")}},
         {{QStringLiteral("/vsh/resource/01-12.bmp"), test::noise(300, 8)}}});
    return s;
}

bool writeSeeds(const QString& folder, const Seeds& seeds) {
    if (!QDir().mkpath(folder))
        return false;
    for (const auto& [file, bytes] : seeds) {
        QFile f(folder + QLatin1Char('/') + file);
        if (!f.open(QIODevice::WriteOnly | QIODevice::Truncate) || f.write(bytes) != bytes.size())
            return false;
    }
    return true;
}

} // namespace

int main(int argc, char** argv) {
    if (argc < 2) {
        std::fprintf(stderr, "usage: quillmark_fuzz_seeds DIR TARGET...\n");
        return 1;
    }
    const std::map<QString, std::function<Seeds()>> makers{
        {QStringLiteral("identify"), identifySeeds}, {QStringLiteral("vsh"), vshSeeds},
        {QStringLiteral("paf"), pafSeeds},           {QStringLiteral("numbers"), numberSeeds},
        {QStringLiteral("check"), checkSeeds},       {QStringLiteral("look"), lookSeeds},
        {QStringLiteral("theme"), themeSeeds},
    };
    const QString dir = QString::fromLocal8Bit(argv[1]);
    for (int i = 2; i < argc; ++i) {
        const QString target = QString::fromLocal8Bit(argv[i]);
        const auto maker = makers.find(target);
        if (!writeSeeds(dir + QLatin1Char('/') + target, maker == makers.end() ? Seeds{} : maker->second())) {
            std::fprintf(stderr, "cannot write the seeds of %s\n", qPrintable(target));
            return 1;
        }
    }
    return 0;
}
