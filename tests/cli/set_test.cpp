#include "cli_harness.h"
#include "prx/catalogue.h"
#include "support/known_offsets.h"

#include <QJsonArray>
#include <QtEndian>

using namespace qm;
using namespace qm::prx;
using namespace qm::test;

namespace {

class Set : public CliTest {};

QByteArray colourBytes(int r, int g, int b) {
    return singleBytes(static_cast<float>(r / 255.0)) + singleBytes(static_cast<float>(g / 255.0)) +
           singleBytes(static_cast<float>(b / 255.0));
}

QByteArray int16Bytes(qint16 v) {
    QByteArray b(2, '\0');
    qToLittleEndian<qint16>(v, b.data());
    return b;
}

qint64 entry(int version, int k) {
    return known::vshOffset(version, VshMember::MenuEntries) + 16 * k;
}

} // namespace

TEST_F(Set, ChangesExactlyTheBytesOfTheValue) {
    struct Change {
        qint64 offset;
        QByteArray bytes; // what the file holds there afterwards
    };
    struct Case {
        ModuleKind kind;
        int version;
        QString assignment;
        QList<Change> changes;
    };
    const auto at = [](int v, VshMember m) { return static_cast<qint64>(known::vshOffset(v, m)); };
    const QList<Case> cases{
        {ModuleKind::Vsh, 1, QStringLiteral("XmbX=1,5"), {{at(1, VshMember::XmbX), singleBytes(1.5f)}}},
        {ModuleKind::Vsh,
         6,
         QStringLiteral("ClockY=-2.75e1"),
         {{at(6, VshMember::ClockY), singleBytes(-27.5f)}}},
        {ModuleKind::Vsh,
         11,
         QStringLiteral("NetworkIconYUnfocused=5"),
         {{at(11, VshMember::NetworkIconYUnfocused), singleBytes(5.0f)}}},
        {ModuleKind::Vsh,
         12,
         QStringLiteral("MainIconYUnfocused=40"),
         {{at(12, VshMember::MainIconYUnfocused), singleBytes(40.0f)},
          {at(12, VshMember::NetworkIconYUnfocused), singleBytes(41.0f)}}},
        {ModuleKind::Vsh,
         2,
         QStringLiteral("TextColors[3]=#FF8000"),
         {{at(2, VshMember::TextColors) + 36, colourBytes(255, 128, 0)}}},
        {ModuleKind::Vsh,
         14,
         QStringLiteral("ContextColorsSlim[14]=#102030"),
         {{at(14, VshMember::ContextColorsSlim) + 14 * 12, colourBytes(0x10, 0x20, 0x30)}}},
        {ModuleKind::Vsh,
         5,
         QStringLiteral("MSIconPhoto=tex_x"),
         {{at(5, VshMember::MSIconPhoto), QByteArray("tex_x\0\0\0\0", 9)}}},
        {ModuleKind::Vsh,
         9,
         QStringLiteral("UpdatePath2=ms0:/a b"),
         // the old text, 17 characters, is zeroed behind the new one
         {{at(9, VshMember::UpdatePath2), QByteArray("ms0:/ab") + QByteArray(11, '\0')}}},
        {ModuleKind::Vsh,
         7,
         QStringLiteral("BmpSize=20000"),
         {{at(7, VshMember::BmpSize), int16Bytes(20000)}}},
        {ModuleKind::Vsh,
         10,
         QStringLiteral("BmpSize=32767"),
         {{at(10, VshMember::BmpSize), int16Bytes(32767)}}},
        {ModuleKind::Vsh,
         14,
         QStringLiteral("MenuEntries[2].category=Photo"),
         {{entry(14, 2), QByteArray(1, 1)}}},
        {ModuleKind::Vsh,
         8,
         QStringLiteral("MenuEntries[0].category=Game"),
         {{entry(8, 0), QByteArray(1, 5)}}},
        {ModuleKind::Vsh,
         13,
         QStringLiteral("MenuEntries[1].icon=Camera"),
         {{entry(13, 1) + 4, QByteArray(1, 27)}}},
        // Row 5 holds an unreadable icon code (shown as ERROR, order 0): the
        // new icon is written although its order text is the same.
        {ModuleKind::Vsh,
         12,
         QStringLiteral("MenuEntries[5].icon=network update"),
         {{entry(12, 5) + 4, QByteArray(1, 0)}}},
        {ModuleKind::Vsh,
         11,
         QStringLiteral("MenuEntries[0].region=Japan"),
         {{entry(11, 0) + 12, QByteArray("\x08\0\0\0", 4)}}},
        {ModuleKind::Vsh,
         14,
         QStringLiteral("MenuEntries[0].enabled=SLIM ON"),
         {{entry(14, 0) + 8, QByteArray(1, 6)}}},
        {ModuleKind::Paf,
         3,
         QStringLiteral("MainIconSpacing=7,25"),
         {{known::pafOffset(3, PafMember::MainIconSpacing), singleBytes(7.25f)}}},
        {ModuleKind::Paf,
         12,
         QStringLiteral("XmbOverallSize=0.1"),
         {{known::pafOffset(12, PafMember::XmbOverallSize), singleBytes(0.1f)}}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.assignment.toStdString() + " in release " + std::to_string(c.version));
        const QString file = writeModule(c.kind, c.version, 5, QStringLiteral("m.prx"));
        const QByteArray before = readFile(file);
        const CliRun r = run({QStringLiteral("set"), file, c.assignment});
        ASSERT_EQ(r.exitCode, 0) << r.err.toStdString();
        const QByteArray after = readFile(file);
        std::set<qint64> allowed;
        for (const Change& change : c.changes) {
            EXPECT_EQ(after.mid(change.offset, change.bytes.size()).toHex(), change.bytes.toHex());
            const auto range = byteRange(change.offset, change.bytes.size());
            allowed.insert(range.begin(), range.end());
        }
        for (qint64 off : changedOffsets(before, after))
            EXPECT_TRUE(allowed.count(off)) << "unexpected change at 0x" << std::hex << off;
    }
}

TEST_F(Set, AppliesAllAssignmentsInOneSaveAndCanWriteACopy) {
    const QString file = writeVsh(14, 1);
    const QByteArray before = readFile(file);
    const QString out = path(QStringLiteral("copy.prx"));
    const CliRun r = run({QStringLiteral("set"), file, QStringLiteral("XmbX=2"), QStringLiteral("-o"), out,
                          QStringLiteral("TextColors[0]=#000000"), QStringLiteral("MSIconMusic=abc")});
    ASSERT_EQ(r.exitCode, 0) << r.err.toStdString();
    EXPECT_TRUE(readFile(file) == before);
    const QJsonObject values = dumpJson(out)[u"values"].toObject();
    EXPECT_EQ(values[u"XmbX"].toDouble(), 2.0);
    EXPECT_EQ(values[u"TextColors"].toArray().at(0).toString(), QStringLiteral("#000000"));
    EXPECT_EQ(values[u"MSIconMusic"].toString(), QStringLiteral("abc"));

    // Setting what a module already holds writes nothing.
    const CliRun same = run(
        {QStringLiteral("set"), file,
         QStringLiteral("XmbX=") +
             QString::number(static_cast<double>(makeVsh(14, 1).expected.single(VshMember::XmbX).toFloat()),
                             'g', 12)});
    EXPECT_EQ(same.exitCode, 0);
    EXPECT_TRUE(readFile(file) == before);
}

// What `set` tells about a value: the network icon that follows the main
// icon (releases 12 to 14 only), and a value set to what it already is.
TEST_F(Set, NotesWhatFollowsAndWhatStaysTheSame) {
    struct Case {
        int version;
        QString assignment;
        bool changes;
        QString note;   // in what the tool prints
        QString absent; // never in what it prints
    };
    const QString follows = QStringLiteral("NetworkIconYUnfocused follows MainIconYUnfocused");
    const QString unchanged = QStringLiteral("no value changed;");
    const Case cases[] = {
        {12, QStringLiteral("MainIconYUnfocused=40"), true, follows + QStringLiteral(": written as 41"),
         unchanged},
        {14, QStringLiteral("MainIconYUnfocused=-0.5"), true, follows + QStringLiteral(": written as 0.5"),
         unchanged},
        // Before release 12 the network icon is a value of its own.
        {11, QStringLiteral("NetworkIconYUnfocused=5"), true, QStringLiteral("1 value written"), follows},
        {2, QStringLiteral("NetworkIconYUnfocused=5"), true, QStringLiteral("1 value written"), follows},
        // Entry 0 holds code 3, on: in 3.71 and 3.73 SLIM ON is stored as that same 3.
        {12, QStringLiteral("MenuEntries[0].enabled=SLIM ON"), false, unchanged, follows},
        {13, QStringLiteral("MenuEntries[0].enabled=slim on"), false, unchanged, follows},
        {14, QStringLiteral("MenuEntries[0].enabled=SLIM ON"), true, QStringLiteral("1 value written"),
         unchanged},
        {12, QStringLiteral("MenuEntries[0].enabled=FAT ON"), false, unchanged, follows},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.assignment.toStdString() + " in release " + std::to_string(c.version));
        const QString file = writeVsh(c.version, 1, QStringLiteral("m.prx"));
        const QByteArray before = readFile(file);
        const CliRun r = run({QStringLiteral("set"), file, c.assignment});
        ASSERT_EQ(r.exitCode, 0) << r.err.toStdString();
        const QString printed = r.outText() + r.errText();
        EXPECT_TRUE(printed.contains(c.note)) << printed.toStdString();
        EXPECT_FALSE(printed.contains(c.absent)) << printed.toStdString();
        EXPECT_EQ(readFile(file) != before, c.changes);
    }
}

// A module whose network icon is out of step with the main icon: a set that
// changes nothing leaves it so; any other set counts only what was given
// and puts the network icon in step, saying so.
TEST_F(Set, CountsOnlyTheValuesGivenWhenAFollowingValueIsOutOfStep) {
    for (int version : {12, 13, 14}) {
        SCOPED_TRACE(version);
        const QString file = writeVsh(version, 1, QStringLiteral("m.prx"));
        QByteArray bytes = readFile(file);
        const qint64 network = known::vshOffset(version, VshMember::NetworkIconYUnfocused);
        const float main = singleAt(bytes, known::vshOffset(version, VshMember::MainIconYUnfocused));
        bytes.replace(network, 4, singleBytes(-7.0f));
        writeFile(file, bytes);
        const QString xmbX =
            QStringLiteral("XmbX=%1").arg(singleAt(bytes, known::vshOffset(version, VshMember::XmbX)));

        const CliRun same = run({QStringLiteral("set"), file, xmbX});
        ASSERT_EQ(same.exitCode, 0) << same.err.toStdString();
        EXPECT_TRUE(same.errText().contains(QStringLiteral("no value changed;"))) << same.err.toStdString();
        EXPECT_EQ(readFile(file), bytes);

        const CliRun changed = run({QStringLiteral("set"), file, QStringLiteral("XmbX=1234.5")});
        ASSERT_EQ(changed.exitCode, 0) << changed.err.toStdString();
        EXPECT_TRUE(changed.errText().contains(QStringLiteral("1 value written")))
            << changed.err.toStdString();
        EXPECT_TRUE(changed.errText().contains(
            QStringLiteral("NetworkIconYUnfocused follows MainIconYUnfocused: written as %1")
                .arg(main + 1.0f)))
            << changed.err.toStdString();
        const QByteArray after = readFile(file);
        EXPECT_EQ(singleAt(after, network), main + 1.0f);
        EXPECT_EQ(singleAt(after, known::vshOffset(version, VshMember::XmbX)), 1234.5f);
    }
}

TEST_F(Set, RefusesAndWritesNothing) {
    const QString packed = path(QStringLiteral("packed.prx"));
    writeFile(packed, makePacked(QByteArray(64, 'p'), 201704));
    struct Case {
        ModuleKind kind;
        int version;
        QStringList args; // after the file
        int exitCode;
        QString message;
    };
    const QList<Case> cases{
        // usage errors
        {ModuleKind::Vsh, 14, {QStringLiteral("Bogus=1")}, 1, QStringLiteral("Bogus")},
        {ModuleKind::Vsh, 14, {QStringLiteral("MainIconSpacing=1")}, 1, QStringLiteral("MainIconSpacing")},
        {ModuleKind::Vsh, 14, {QStringLiteral("XmbX")}, 1, QStringLiteral("NAME=VALUE")},
        {ModuleKind::Vsh, 14, {QStringLiteral("=5")}, 1, QStringLiteral("NAME=VALUE")},
        {ModuleKind::Vsh, 14, {QStringLiteral("XmbX[0]=1")}, 1, QStringLiteral("XmbX")},
        {ModuleKind::Vsh,
         14,
         {QStringLiteral("TextColors[12]=#000000")},
         1,
         QStringLiteral("TextColors[11]")},
        {ModuleKind::Vsh, 14, {QStringLiteral("TextColors=#000000")}, 1, QStringLiteral("TextColors")},
        {ModuleKind::Vsh, 14, {QStringLiteral("TextColors[x]=#000000")}, 1, QStringLiteral("index")},
        {ModuleKind::Vsh,
         12,
         {QStringLiteral("MenuEntries[23].category=Photo")},
         1,
         QStringLiteral("MenuEntries[22]")},
        {ModuleKind::Vsh, 12, {QStringLiteral("MenuEntries[0].colour=Photo")}, 1, QStringLiteral("colour")},
        {ModuleKind::Vsh, 12, {QStringLiteral("MenuEntries[0].order=4")}, 1, QStringLiteral("icon")},
        {ModuleKind::Vsh,
         12,
         {QStringLiteral("--frob"), QStringLiteral("XmbX=1")},
         1,
         QStringLiteral("--frob")},
        {ModuleKind::Vsh, 12, {}, 1, QStringLiteral("NAME=VALUE")},
        // refused values
        {ModuleKind::Vsh, 14, {QStringLiteral("FormatsEurope[0]=%d")}, 3, QStringLiteral("never written")},
        {ModuleKind::Vsh,
         14,
         {QStringLiteral("XmbX=2"), QStringLiteral("FormatsUSJapan[1]=x")},
         3,
         QStringLiteral("nothing written")},
        {ModuleKind::Vsh, 14, {QStringLiteral("XmbX=abc")}, 3, QStringLiteral("XmbX")},
        {ModuleKind::Vsh, 14, {QStringLiteral("XmbX=1.5.1")}, 3, QStringLiteral("XmbX")},
        {ModuleKind::Vsh, 14, {QStringLiteral("XmbX=1e39")}, 3, QStringLiteral("Overflow")},
        {ModuleKind::Vsh, 14, {QStringLiteral("XmbX=")}, 3, QStringLiteral("One of the value is empty")},
        {ModuleKind::Vsh,
         14,
         {QStringLiteral("MSIconPhoto=")},
         3,
         QStringLiteral("One of the value is empty")},
        {ModuleKind::Vsh,
         7,
         {QStringLiteral("BmpSize=32768")},
         3,
         QStringLiteral("BMP Max Size it's 32767 bytes")},
        {ModuleKind::Vsh, 7, {QStringLiteral("BmpSize=-40000")}, 3, QStringLiteral("Overflow")},
        {ModuleKind::Vsh,
         11,
         {QStringLiteral("MSOptionIconX=1")},
         3,
         QStringLiteral("3.5x / 3.60 has no MSOptionIconX")},
        {ModuleKind::Vsh, 1, {QStringLiteral("NetworkIconYUnfocused=1")}, 3, QStringLiteral("has no")},
        {ModuleKind::Vsh, 7, {QStringLiteral("MenuEntries[0].category=Photo")}, 3, QStringLiteral("has no")},
        {ModuleKind::Vsh,
         12,
         {QStringLiteral("NetworkIconYUnfocused=5")},
         3,
         QStringLiteral("MainIconYUnfocused")},
        {ModuleKind::Vsh,
         14,
         {QStringLiteral("NetworkIconYUnfocused=5")},
         3,
         QStringLiteral("MainIconYUnfocused")},
        {ModuleKind::Vsh, 14, {QStringLiteral("TextColors[0]=FF8000")}, 3, QStringLiteral("#RRGGBB")},
        {ModuleKind::Vsh, 14, {QStringLiteral("TextColors[0]=#FF80")}, 3, QStringLiteral("#RRGGBB")},
        {ModuleKind::Vsh, 14, {QStringLiteral("MSIconPhoto=\u03A9")}, 3, QStringLiteral("U+03a9")},
        {ModuleKind::Vsh, 10, {QStringLiteral("MenuEntries[0].category=TV")}, 3, QStringLiteral("TV")},
        {ModuleKind::Vsh,
         9,
         {QStringLiteral("MenuEntries[0].enabled=SLIM ON")},
         3,
         QStringLiteral("FAT OFF")},
        {ModuleKind::Vsh, 14, {QStringLiteral("MenuEntries[0].region=ERROR")}, 3, QStringLiteral("Japan")},
        {ModuleKind::Vsh, 14, {QStringLiteral("MenuEntries[0].icon=Pong")}, 3, QStringLiteral("Pong")},
        {ModuleKind::Vsh, 14, {QStringLiteral("MenuEntries[0].category=ERROR")}, 3, QStringLiteral("ERROR")},
        {ModuleKind::Paf,
         1,
         {QStringLiteral("MainIconYUnfocused=1")},
         3,
         QStringLiteral("Paf.prx - 1.5x has no")},
        {ModuleKind::Paf, 5, {QStringLiteral("XmbX=1")}, 1, QStringLiteral("XmbX")},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.args.join(u' ').toStdString() + " in release " + std::to_string(c.version));
        const QString file = writeModule(c.kind, c.version, 1, QStringLiteral("m.prx"));
        const QByteArray before = readFile(file);
        const CliRun r = run(QStringList{QStringLiteral("set"), file} + c.args);
        EXPECT_EQ(r.exitCode, c.exitCode) << r.err.toStdString();
        EXPECT_TRUE(r.errText().contains(c.message)) << r.err.toStdString();
        EXPECT_TRUE(readFile(file) == before);
    }

    for (const QString& file : {packed, path(QStringLiteral("missing.prx"))}) {
        const CliRun r = run({QStringLiteral("set"), file, QStringLiteral("XmbX=1")});
        EXPECT_EQ(r.exitCode, 2) << file.toStdString();
    }
    EXPECT_EQ(readFile(packed).size(), 336 + 64);
}
