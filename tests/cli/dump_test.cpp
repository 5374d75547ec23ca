#include "cli_harness.h"
#include "looks/menunames.h"
#include "prx/catalogue.h"
#include "support/known_offsets.h"

#include <QJsonArray>
#include <QJsonDocument>

using namespace qm;
using namespace qm::prx;
using namespace qm::test;

namespace {

// How many members each VSH release has, counted from the offset table by hand.
int vshMemberCount(int version) {
    if (version == 1)
        return 37;
    if (version <= 6)
        return 39; // + NetworkIconYUnfocused, FocusedIconFadeOut
    if (version == 7)
        return 40; // + BmpSize
    if (version <= 10)
        return 41; // + MenuEntries
    if (version == 11)
        return 43; // + the two slim colour blocks
    return 48;     // + MSOptionIconX/Y, MainIconYFocused/Unfocused, AlphaMSOptionIcon
}

class DumpVsh : public CliTest, public ::testing::WithParamInterface<int> {};
class DumpStated : public CliTest, public ::testing::WithParamInterface<ModuleRelease> {};
class DumpPaf : public CliTest, public ::testing::WithParamInterface<int> {};
class Dump : public CliTest {};

void expectColours(const QJsonValue& v, const ColourBlock& expected) {
    const QJsonArray a = v.toArray();
    ASSERT_EQ(a.size(), expected.size());
    for (qsizetype i = 0; i < expected.size(); ++i)
        EXPECT_EQ(a.at(i).toString(), hexColour(expected[i].rgb())) << i;
}

} // namespace

TEST_P(DumpVsh, ShowsEveryValueOfTheReleaseInTableOrder) {
    const int v = GetParam();
    const auto f = makeVsh(v, 2);
    const QString file = path(QStringLiteral("vsh.prx"));
    writeFile(file, f.bytes);
    const CliRun r = run({QStringLiteral("dump"), QStringLiteral("--json"), file});
    ASSERT_EQ(r.exitCode, 0) << r.err.toStdString();
    const QJsonObject doc = QJsonDocument::fromJson(r.out).object();
    EXPECT_EQ(doc[u"path"].toString(), file);
    EXPECT_EQ(doc[u"kind"].toString(), QStringLiteral("vsh"));
    EXPECT_EQ(doc[u"version"].toInt(), v);
    EXPECT_EQ(doc[u"label"].toString(), QString::fromLatin1(known::vshRelease(v).label));
    const QJsonObject values = doc[u"values"].toObject();
    EXPECT_EQ(values.size(), vshMemberCount(v));

    qsizetype lastPosition = -1;
    for (int i = 0; i < kVshMemberCount; ++i) {
        const auto m = static_cast<VshMember>(i);
        const QString name = QString(memberName(m));
        if (!values.contains(name))
            continue;
        const qsizetype at = r.outText().indexOf(QLatin1Char('"') + name + QStringLiteral("\":"));
        EXPECT_GT(at, lastPosition) << name.toStdString() << " out of table order";
        lastPosition = at;

        const QJsonValue value = values[name];
        EXPECT_TRUE(f.expected.has(m)) << name.toStdString();
        if (shapeOf(m) == Shape::Single) {
            const QString text = numberText(f.expected.single(m));
            EXPECT_TRUE(value.isDouble()) << name.toStdString();
            // The number is printed exactly as the editor shows it.
            EXPECT_TRUE(r.outText().contains(QLatin1Char('"') + name + QStringLiteral("\":") + text +
                                             QLatin1Char(',')))
                << name.toStdString() << " = " << text.toStdString();
        } else if (shapeOf(m) == Shape::Text) {
            EXPECT_EQ(value.toString(), f.expected.text(m));
        }
    }
    expectColours(values[u"TextColors"], f.expected.colours(VshMember::TextColors));
    expectColours(values[u"ContextColors"], f.expected.colours(VshMember::ContextColors));
    if (v >= 11) {
        expectColours(values[u"TextColorsSlim"], f.expected.colours(VshMember::TextColorsSlim));
        expectColours(values[u"ContextColorsSlim"], f.expected.colours(VshMember::ContextColorsSlim));
    }
    for (const VshMember m : {VshMember::FormatsEurope, VshMember::FormatsUSJapan}) {
        const QJsonArray formats = values[QString(memberName(m))].toArray();
        ASSERT_EQ(formats.size(), 5);
        for (int i = 0; i < 5; ++i)
            EXPECT_EQ(formats.at(i).toString(), f.expected.formats(m)[static_cast<std::size_t>(i)]);
    }
    if (v >= 7) {
        EXPECT_EQ(values[u"BmpSize"].toInteger(), f.expected.integer(VshMember::BmpSize));
    }
    const QJsonArray menu = values[u"MenuEntries"].toArray();
    ASSERT_EQ(menu.size(), v >= 8 ? f.expected.menu().size() : 0);
    for (qsizetype k = 0; k < menu.size(); ++k) {
        const QJsonObject row = menu.at(k).toObject();
        const looks::MenuTexts e = looks::menuTexts(f.expected.menu().at(k), vshRow(v));
        EXPECT_EQ(row.size(), 5);
        EXPECT_EQ(row[u"order"].toString(), e.order) << k;
        EXPECT_EQ(row[u"category"].toString(), e.category) << k;
        EXPECT_EQ(row[u"icon"].toString(), e.icon) << k;
        EXPECT_EQ(row[u"region"].toString(), e.region) << k;
        EXPECT_EQ(row[u"enabled"].toString(), e.enabled) << k;
    }
}

INSTANTIATE_TEST_SUITE_P(AllReleases, DumpVsh, ::testing::Range(1, kVshRows + 1),
                         [](const auto& info) { return "v" + std::to_string(info.param); });

TEST_P(DumpPaf, ShowsEveryValueOfTheRelease) {
    const int v = GetParam();
    const auto f = makePaf(v, 3);
    const QString file = path(QStringLiteral("paf.prx"));
    writeFile(file, f.bytes);
    const CliRun r = run({QStringLiteral("dump"), QStringLiteral("--json"), file});
    ASSERT_EQ(r.exitCode, 0) << r.err.toStdString();
    const QJsonObject doc = QJsonDocument::fromJson(r.out).object();
    EXPECT_EQ(doc[u"kind"].toString(), QStringLiteral("paf"));
    EXPECT_EQ(doc[u"label"].toString(), QString::fromLatin1(known::pafRelease(v).label));
    const QJsonObject values = doc[u"values"].toObject();
    EXPECT_EQ(values.size(), v == 1 ? 24 : 25);
    EXPECT_EQ(values.contains(u"MainIconYUnfocused"), v != 1);
    for (const PafMember m : kPafBoxes) {
        if (!f.expected.has(m))
            continue;
        const QString name = QString(memberName(m));
        const QString text = numberText(f.expected.single(m));
        EXPECT_DOUBLE_EQ(values[name].toDouble(), text.toDouble()) << name.toStdString();
        EXPECT_TRUE(r.outText().contains(QLatin1Char('"') + name + QStringLiteral("\":") + text))
            << name.toStdString();
    }
}

INSTANTIATE_TEST_SUITE_P(AllReleases, DumpPaf, ::testing::Range(1, kPafRows + 1),
                         [](const auto& info) { return "v" + std::to_string(info.param); });

// Every line after the first is one value the fixture wrote at the tests'
// own offsets, in the order it states them.
TEST_P(DumpStated, PrintsEveryStatedValueInOrder) {
    const auto [bytes, expected, stated] = makeModule(GetParam(), 4);
    const QString file = path(QStringLiteral("module.prx"));
    writeFile(file, bytes);
    const CliRun r = run({QStringLiteral("dump"), file});
    ASSERT_EQ(r.exitCode, 0) << r.err.toStdString();
    QStringList lines = r.outText().split(u'\n');
    ASSERT_GE(lines.size(), 2);
    EXPECT_TRUE(lines.takeFirst().startsWith(file + QStringLiteral(": ")));
    EXPECT_EQ(lines.takeLast(), QString()); // the output ends with a newline
    const qsizetype n = std::min(lines.size(), stated.size());
    for (qsizetype i = 0; i < n; ++i) {
        const StatedValue& v = stated[i];
        EXPECT_EQ(lines[i].toStdString(), (v.name + QStringLiteral(" = ") + v.text).toStdString())
            << v.name.toStdString() << " at 0x" << QString::number(v.offset, 16).toUpper().toStdString();
    }
    EXPECT_EQ(lines.size(), stated.size());
    for (qsizetype i = n; i < stated.size(); ++i)
        ADD_FAILURE() << "not printed: " << stated[i].name.toStdString();
}

INSTANTIATE_TEST_SUITE_P(AllReleases, DumpStated, ::testing::ValuesIn(everyRelease()),
                         [](const auto& info) { return releaseName(info.param); });

TEST_F(Dump, ReadableLinesUseTheNamesSetTakes) {
    const auto f = makeVsh(14);
    const QString file = path(QStringLiteral("vsh.prx"));
    writeFile(file, f.bytes);
    const CliRun r = run({QStringLiteral("dump"), file});
    ASSERT_EQ(r.exitCode, 0) << r.err.toStdString();
    const QStringList lines = r.outText().split(u'\n', Qt::SkipEmptyParts);
    ASSERT_FALSE(lines.isEmpty());
    EXPECT_EQ(lines.first(), file + QStringLiteral(": VSHMain.prx - 3.8x (vsh, version 14, 312062 bytes)"));
    const QStringList expected{
        QStringLiteral("XmbX = ") + numberText(f.expected.single(VshMember::XmbX)),
        QStringLiteral("MSIconPhoto = ") + f.expected.text(VshMember::MSIconPhoto),
        QStringLiteral("TextColors[3] = ") + hexColour(f.expected.colours(VshMember::TextColors)[3].rgb()),
        QStringLiteral("ContextColorsSlim[14] = ") +
            hexColour(f.expected.colours(VshMember::ContextColorsSlim)[14].rgb()),
        QStringLiteral("MenuEntries[23].icon = ") + looks::menuTexts(f.expected.menu()[23], vshRow(14)).icon,
        QStringLiteral("FormatsUSJapan[4] = ") + f.expected.formats(VshMember::FormatsUSJapan)[4],
        QStringLiteral("BmpSize = ") + QString::number(f.expected.integer(VshMember::BmpSize)),
    };
    for (const QString& line : expected)
        EXPECT_TRUE(lines.contains(line)) << line.toStdString();
}

TEST_F(Dump, RefusesFilesThatAreNoPlainModule) {
    const QString packed = path(QStringLiteral("packed.prx"));
    writeFile(packed, makePacked(QByteArray(100, 'z'), 201704));
    const QString odd = path(QStringLiteral("odd.prx"));
    writeFile(odd, QByteArray(201705, '\0'));
    for (const QString& file : {packed, odd, path(QStringLiteral("missing.prx"))}) {
        const CliRun r = run({QStringLiteral("dump"), QStringLiteral("--json"), file});
        EXPECT_EQ(r.exitCode, 2) << file.toStdString();
        EXPECT_TRUE(r.out.isEmpty());
    }
}
