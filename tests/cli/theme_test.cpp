// theme, and themes in identify, check and apply. The theme files are read
// here from the format alone: a magic at 0x10, the SHA-1 prefix at 0x14, the
// count at 0x18, the PTF length at 0x1C, 72-byte index records at the end,
// and runs (u32 offset, u32 length, bytes) written at offset + the u32 at 0x38.

#include "cli_harness.h"
#include "support/known_offsets.h"

#include <QCryptographicHash>
#include <QFile>
#include <QJsonArray>
#include <QJsonDocument>
#include <QtEndian>

#include <functional>

using namespace qm;
using namespace qm::test;

namespace {

constexpr quint32 kPartsEnd = 0x2000;
constexpr qint64 kLaterLength = 400000; // no release of either kind is this long
const QString kVshPath = QStringLiteral("/vsh/module/vshmain.prx");
const QString kPafPath = QStringLiteral("/vsh/module/paf.prx");

quint32 u32(const QByteArray& b, qint64 at) {
    return qFromLittleEndian<quint32>(b.constData() + at);
}
void put32(QByteArray& b, qint64 at, quint32 v) {
    qToLittleEndian<quint32>(v, b.data() + at);
}

struct Record {
    QString name;
    quint32 start;
    quint32 size;
};

// The index, read from the end of the file as the loader reads it.
QList<Record> indexOf(const QByteArray& ctf) {
    QList<Record> records;
    const quint32 count = u32(ctf, 0x18);
    const qint64 index = ctf.size() - qint64(count) * 72;
    for (quint32 i = 0; i < count; ++i) {
        const QByteArray r = ctf.mid(index + i * 72, 72);
        records.append({QString::fromUtf8(r.left(64).constData()), u32(r, 64), u32(r, 68)});
    }
    return records;
}

void resign(QByteArray& ctf) {
    const QByteArray index = ctf.right(qint64(u32(ctf, 0x18)) * 72);
    ctf.replace(0x14, 4, QCryptographicHash::hash(index, QCryptographicHash::Sha1).left(4));
}

// The module as the loader leaves it: each run of the entry at offset + the u32 at 0x38.
QByteArray loaderView(const QByteArray& ctf, const Record& entry, QByteArray module) {
    qint64 at = entry.start;
    for (quint32 i = 0; i < entry.size; ++i) {
        const quint32 offset = u32(ctf, at), length = u32(ctf, at + 4);
        module.replace(u32(module, 0x38) + offset, length, ctf.mid(at + 8, length));
        at += 8 + length;
    }
    return module;
}

class Theme : public CliTest {
protected:
    void SetUp() override {
        CliTest::SetUp();
        m_ptf = makePtf("Blue Night", kPartsEnd, 0x3000);
        writeFile(path(QStringLiteral("base.ptf")), m_ptf);
    }

    // A stock module of the release with an ELF head, kept as NAME.orig,
    // and NAME with every value edited and its last byte changed.
    QString writePair(prx::ModuleKind kind, int version, const QString& name) {
        const QByteArray stock = withElfHead(makeModule({kind, version}, 1).bytes);
        QByteArray edited = withValuesOf(stock, makeModule({kind, version}, 2));
        edited[edited.size() - 1] = static_cast<char>(~edited.at(edited.size() - 1));
        writeFile(path(name + QStringLiteral(".orig")), stock);
        writeFile(path(name), edited);
        return path(name);
    }
    // A module of no release's length: 16 bytes edited at 0x30000 and the last byte.
    QString writeLaterPair(const QString& name, qint64 length) {
        const QByteArray stock = withElfHead(noise(length, 99));
        QByteArray edited = stock;
        for (int i = 0; i < 16; ++i)
            edited[0x30000 + i] = static_cast<char>(edited.at(0x30000 + i) ^ 0x5A);
        edited[length - 1] = static_cast<char>(~edited.at(length - 1));
        writeFile(path(name + QStringLiteral(".orig")), stock);
        writeFile(path(name), edited);
        return path(name);
    }
    QStringList themeArgs(const QStringList& more) const {
        return QStringList{QStringLiteral("theme"), path(QStringLiteral("out.ctf")), QStringLiteral("--ptf"),
                           path(QStringLiteral("base.ptf"))} +
               more;
    }
    QByteArray m_ptf;
};

struct Pairing {
    const char* firmware;
    int vsh; // release rows; 0: modules of a later firmware, of lengths no release has
    int paf;
    quint32 magic;
};

class ThemeRoundTrip : public Theme, public ::testing::WithParamInterface<Pairing> {};

TEST_P(ThemeRoundTrip, TheLoaderGetsTheEditedModulesBack) {
    const Pairing p = GetParam();
    QStringList args;
    QString vsh, paf;
    if (p.vsh) {
        vsh = writePair(prx::ModuleKind::Vsh, p.vsh, QStringLiteral("vshmain.prx"));
        paf = writePair(prx::ModuleKind::Paf, p.paf, QStringLiteral("paf.prx"));
        args = {QStringLiteral("--vsh"), vsh, QStringLiteral("--paf"), paf};
    } else {
        vsh = writeLaterPair(QStringLiteral("vshmain.prx"), kLaterLength);
        paf = writeLaterPair(QStringLiteral("common_gui.prx"), kLaterLength + 1);
        args = {QStringLiteral("--vsh"),        vsh,
                QStringLiteral("--common-gui"), paf,
                QStringLiteral("--firmware"),   QString::fromLatin1(p.firmware)};
    }
    const QByteArray wall = noise(5000, 3);
    writeFile(path(QStringLiteral("wall.bmp")), wall);
    args << QStringLiteral("--add")
         << QStringLiteral("/vsh/resource/01-12.bmp=") + path(QStringLiteral("wall.bmp"));
    const CliRun made = run(themeArgs(args));
    ASSERT_EQ(made.exitCode, 0) << made.errText().toStdString();

    const QByteArray ctf = readFile(path(QStringLiteral("out.ctf")));
    EXPECT_EQ(ctf.left(0x10), m_ptf.left(0x10));
    EXPECT_EQ(u32(ctf, 0x10), p.magic);
    EXPECT_EQ(u32(ctf, 0x1C), kPartsEnd);
    EXPECT_EQ(ctf.mid(0x20, 0xE8), m_ptf.mid(0x20, 0xE8));
    EXPECT_EQ(ctf.mid(0x108, 12), QByteArray(12, '\0'));
    EXPECT_EQ(ctf.mid(0x114, kPartsEnd - 0x114), m_ptf.mid(0x114, kPartsEnd - 0x114));
    const QList<Record> records = indexOf(ctf);
    ASSERT_EQ(records.size(), 3);
    const QByteArray index = ctf.right(3 * 72);
    EXPECT_EQ(ctf.mid(0x14, 4), QCryptographicHash::hash(index, QCryptographicHash::Sha1).left(4));

    const QString second = p.vsh ? kPafPath : QStringLiteral("/vsh/module/common_gui.prx");
    EXPECT_EQ(records[0].name, kVshPath);
    EXPECT_EQ(records[1].name, second);
    EXPECT_EQ(records[2].name, QStringLiteral("/vsh/resource/01-12.bmp"));
    EXPECT_EQ(records[0].start, kPartsEnd);
    for (int i = 0; i < 2; ++i) {
        const QString edited = i == 0 ? vsh : paf;
        EXPECT_EQ(loaderView(ctf, records[i], readFile(edited + QStringLiteral(".orig"))), readFile(edited))
            << records[i].name.toStdString();
    }
    EXPECT_EQ(records[2].size, wall.size());
    EXPECT_EQ(ctf.mid(records[2].start, records[2].size), wall);

    const CliRun id =
        run({QStringLiteral("identify"), QStringLiteral("--json"), path(QStringLiteral("out.ctf"))});
    ASSERT_EQ(id.exitCode, 0);
    const QJsonObject o = QJsonDocument::fromJson(id.out).object();
    EXPECT_EQ(o[u"kind"].toString(), QStringLiteral("theme"));
    EXPECT_EQ(o[u"firmware"].toString(), QString::fromLatin1(p.firmware));
    EXPECT_EQ(o[u"title"].toString(), QStringLiteral("Blue Nig")); // 0x10 on holds the magic
    const QJsonArray entries = o[u"entries"].toArray();
    ASSERT_EQ(entries.size(), 3);
    for (int i = 0; i < 3; ++i) {
        EXPECT_EQ(entries[i][u"name"].toString(), records[i].name);
        EXPECT_EQ(entries[i][u"form"].toString(), i < 2 ? QStringLiteral("runs") : QStringLiteral("file"));
        EXPECT_EQ(entries[i][i < 2 ? u"runs" : u"bytes"].toInteger(), records[i].size);
    }
    EXPECT_EQ(run({QStringLiteral("check"), path(QStringLiteral("out.ctf"))}).exitCode, 0);

    // apply: the stock module as the loader leaves it.
    const CliRun applied =
        run({QStringLiteral("apply"), vsh + QStringLiteral(".orig"), path(QStringLiteral("out.ctf")),
             QStringLiteral("-o"), path(QStringLiteral("applied.prx"))});
    ASSERT_EQ(applied.exitCode, 0) << applied.errText().toStdString();
    EXPECT_EQ(readFile(path(QStringLiteral("applied.prx"))), readFile(vsh));
    if (p.vsh) { // only the last byte lies outside the values
        const qint64 last = known::vshRelease(p.vsh).fileSize - 1;
        EXPECT_EQ(applied.outText().count(QStringLiteral("touches no value")), 1)
            << applied.out.toStdString();
        EXPECT_TRUE(applied.outText().contains(
            QStringLiteral("file offset 0x%1,").arg(QString::number(last, 16).toUpper())))
            << applied.out.toStdString();
        EXPECT_TRUE(made.outText().contains(QStringLiteral("1 changed byte outside them")));
    }
}

INSTANTIATE_TEST_SUITE_P(Firmware, ThemeRoundTrip,
                         ::testing::Values(Pairing{"3.71", 12, 11, 0xDEAD0371},
                                           Pairing{"3.80", 14, 12, 0xDEAD0380},
                                           Pairing{"6.61", 0, 0, 0xDEAD0661}),
                         [](const auto& info) { return "fw" + std::to_string(info.index); });

TEST_F(Theme, RefusesAndWritesNothing) {
    const QString vsh371 = writePair(prx::ModuleKind::Vsh, 12, QStringLiteral("vshmain.prx"));
    writePair(prx::ModuleKind::Paf, 12, QStringLiteral("paf38.prx"));
    writePair(prx::ModuleKind::Vsh, 13, QStringLiteral("vsh37x.prx"));
    writeLaterPair(QStringLiteral("later.prx"), kLaterLength);
    writeFile(path(QStringLiteral("plain.prx")), makeVsh(12, 1).bytes); // no ELF head
    writeFile(path(QStringLiteral("plain2.prx")), makeVsh(12, 2).bytes);
    writeFile(path(QStringLiteral("small.bin")), QByteArray(10, 'x'));
    writeFile(path(QStringLiteral("big.rco")), QByteArray(2 * 1024 * 1024, 'x'));
    // ClockX in a second segment shifted 0x100 further in memory than the first.
    const qint64 clockX = known::vshOffset(12, "ClockX");
    const quint32 split = static_cast<quint32>(clockX - 0x40);
    const QByteArray stock = withElfHead(
        makeVsh(12).bytes, {{0xA0, 0, split - 0xA0}, {split, split - 0xA0 + 0x100, 311434 - split}});
    QByteArray edited = stock;
    putSingle(edited, clockX, 123.5f);
    writeFile(path(QStringLiteral("shifted.prx.orig")), stock);
    writeFile(path(QStringLiteral("shifted.prx")), edited);
    edited = readFile(vsh371 + QStringLiteral(".orig"));
    edited[0x98] = 1; // between the program headers and the first segment
    writeFile(path(QStringLiteral("head.prx")), edited);

    QStringList many;
    for (int i = 0; i < 65; ++i)
        many << QStringLiteral("--add")
             << QStringLiteral("/vsh/resource/f%1.bmp=%2").arg(i).arg(path(QStringLiteral("small.bin")));
    const auto p = [this](const char* name) { return path(QLatin1StringView(name)); };
    const struct {
        const char* what;
        QStringList args;
        const char* message;
    } rows[] = {
        {"base",
         {QStringLiteral("--ptf"), p("small.bin"), QStringLiteral("--vsh"), vsh371},
         "The base is no PTF theme file"},
        {"lengths",
         {QStringLiteral("--vsh"), vsh371, QStringLiteral("--vsh-stock"), p("vsh37x.prx")},
         "are not one module stock and edited"},
        {"elf",
         {QStringLiteral("--vsh"), p("plain2.prx"), QStringLiteral("--vsh-stock"), p("plain.prx")},
         "is no ELF PRX"},
        {"same",
         {QStringLiteral("--vsh"), vsh371 + QStringLiteral(".orig"), QStringLiteral("--vsh-stock"),
          vsh371 + QStringLiteral(".orig")},
         "are the same"},
        {"shifted",
         {QStringLiteral("--vsh"), p("shifted.prx")},
         "ClockX lies where the theme loader can't write it"},
        {"head",
         {QStringLiteral("--vsh"), p("head.prx"), QStringLiteral("--vsh-stock"),
          vsh371 + QStringLiteral(".orig")},
         "The changed bytes at 0x98 lie where"},
        {"3.7x",
         {QStringLiteral("--vsh"), p("vsh37x.prx")},
         "themes exist for 3.71 (VSH 3.71 with PAF 3.7x) and 3.80 (VSH 3.8x with PAF 3.8x)"},
        {"pairing",
         {QStringLiteral("--vsh"), vsh371, QStringLiteral("--paf"), p("paf38.prx")},
         "a theme is for one firmware"},
        {"firmware",
         {QStringLiteral("--vsh"), vsh371, QStringLiteral("--firmware"), QStringLiteral("6.61")},
         "a module of firmware 3.71, not 6.61"},
        {"unknown", {QStringLiteral("--vsh"), p("later.prx")}, "--firmware"},
        {"stock", {QStringLiteral("--vsh"), p("plain.prx")}, "name the stock module with --vsh-stock STOCK"},
        {"entries", many, "it takes at most 64"},
        {"name",
         {QStringLiteral("--add"),
          QStringLiteral("/vsh/resource/%1.bmp=%2").arg(QString(50, u'n'), p("small.bin"))},
         "the index holds names of at most 63"},
        {"folder",
         {QStringLiteral("--add"), QStringLiteral("/vsh/theme/a.bmp=") + p("small.bin")},
         "none of the plugin's folders"},
        {"size",
         {QStringLiteral("--add"), QStringLiteral("/vsh/resource/a.rco=") + p("big.rco")},
         "2 MiB or more"},
        {"module",
         {QStringLiteral("--add"), kPafPath + u'=' + p("small.bin")},
         "reads an entry of paf.prx as runs"},
    };
    for (const auto& row : rows) {
        const CliRun r = run(themeArgs(row.args));
        EXPECT_EQ(r.exitCode, 2) << row.what;
        EXPECT_TRUE(r.errText().contains(QLatin1StringView(row.message)))
            << row.what << ": " << r.err.toStdString();
        EXPECT_FALSE(QFile::exists(path(QStringLiteral("out.ctf")))) << row.what;
    }
}

TEST_F(Theme, CheckNamesTheBrokenField) {
    const QString vsh = writePair(prx::ModuleKind::Vsh, 12, QStringLiteral("vshmain.prx"));
    writeFile(path(QStringLiteral("wall.bmp")), noise(100, 4));
    ASSERT_EQ(run(themeArgs({QStringLiteral("--vsh"), vsh, QStringLiteral("--add"),
                             QStringLiteral("/vsh/resource/01-12.bmp=") + path(QStringLiteral("wall.bmp"))}))
                  .exitCode,
              0);
    const QByteArray good = readFile(path(QStringLiteral("out.ctf")));
    const qint64 index = good.size() - 2 * 72;
    const QStringList names{
        QStringLiteral("ptf_signature"), QStringLiteral("magic"), QStringLiteral("ptf_part"),
        QStringLiteral("count"),         QStringLiteral("index"), QStringLiteral("entries"),
        QStringLiteral("names"),         QStringLiteral("sha1"),  QStringLiteral("runs")};
    const struct {
        const char* fails;
        std::function<void(QByteArray&)> breakIt;
    } rows[] = {
        {"ptf_signature", [](QByteArray& b) { b[1] = 'X'; }},
        {"magic", [](QByteArray& b) { put32(b, 0x10, 0xDEAD0372); }},
        {"ptf_part", [](QByteArray& b) { put32(b, 0x1C, 0x20); }},
        {"count", [](QByteArray& b) { put32(b, 0x18, 0); }},
        {"count", [](QByteArray& b) { put32(b, 0x18, 65); }},
        {"index", [index](QByteArray& b) { put32(b, 0x1C, static_cast<quint32>(index + 1)); }},
        {"entries",
         [index](QByteArray& b) {
             put32(b, index + 72 + 64, static_cast<quint32>(index));
             resign(b);
         }},
        {"names",
         [index](QByteArray& b) {
             b.replace(index + 72, 5, "/vsx/");
             resign(b);
         }},
        {"names",
         [index](QByteArray& b) {
             b.replace(index + 72, 64, QByteArray(64, 'a'));
             resign(b);
         }},
        {"sha1", [](QByteArray& b) { b[0x14] = static_cast<char>(b.at(0x14) ^ 1); }},
        {"runs", [](QByteArray& b) { put32(b, kPartsEnd + 4, 0x7FFFFFFF); }},
        {"runs", [](QByteArray& b) { put32(b, kPartsEnd, 311434); }}, // past VSH 3.71's length
    };
    for (const auto& row : rows) {
        QByteArray broken = good;
        row.breakIt(broken);
        const QString file = path(QStringLiteral("broken.ctf"));
        writeFile(file, broken);
        const CliRun r = run({QStringLiteral("check"), QStringLiteral("--json"), file});
        EXPECT_EQ(r.exitCode, 3) << row.fails;
        const QJsonArray checks = QJsonDocument::fromJson(r.out).object()[u"checks"].toArray();
        ASSERT_EQ(checks.size(), names.size()) << row.fails;
        for (qsizetype i = 0; i < checks.size(); ++i) {
            EXPECT_EQ(checks[i][u"name"].toString(), names[i]);
            if (names.indexOf(QLatin1StringView(row.fails)) > i) { // every check before the broken one holds
                EXPECT_TRUE(checks[i][u"ok"].toBool()) << row.fails << " " << names[i].toStdString();
            }
        }
        EXPECT_FALSE(checks[names.indexOf(QLatin1StringView(row.fails))][u"ok"].toBool()) << row.fails;
        EXPECT_EQ(readFile(file), broken);
    }
}

TEST_F(Theme, ApplyRefusesAndWritesNothing) {
    const QString vsh = writePair(prx::ModuleKind::Vsh, 12, QStringLiteral("vshmain.prx"));
    ASSERT_EQ(run(themeArgs({QStringLiteral("--vsh"), vsh})).exitCode, 0);
    writeFile(path(QStringLiteral("vsh38.prx")), withElfHead(makeVsh(14).bytes));
    writeFile(path(QStringLiteral("paf.prx")), withElfHead(makePaf(11).bytes));
    writeFile(path(QStringLiteral("short/vshmain.prx")), withElfHead(noise(0x20000, 5)));
    const struct {
        const char* module;
        const char* message;
    } rows[] = {
        {"vsh38.prx", "not a module of firmware 3.71"},
        {"paf.prx", "has no entry for /vsh/module/paf.prx"},
        {"short/vshmain.prx", "A run falls outside the module"},
    };
    for (const auto& row : rows) {
        const QString module = path(QLatin1StringView(row.module));
        const QByteArray before = readFile(module);
        const CliRun r = run(
            {QStringLiteral("apply"), module, path(QStringLiteral("out.ctf")), QStringLiteral("--backup")});
        EXPECT_EQ(r.exitCode, 2) << row.module;
        EXPECT_TRUE(r.errText().contains(QLatin1StringView(row.message))) << r.err.toStdString();
        EXPECT_EQ(readFile(module), before) << row.module;
        EXPECT_FALSE(QFile::exists(module + QStringLiteral(".orig"))) << row.module;
    }
}

} // namespace
