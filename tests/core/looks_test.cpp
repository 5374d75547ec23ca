// The look library: a module's values to a look document and back, onto
// the same module, another module and another release.

#include "looks/diff.h"
#include "looks/look.h"
#include "looks/menunames.h"
#include "qt_printers.h"
#include "support/fixtures.h"
#include "support/known_offsets.h"

#include <QJsonArray>
#include <QJsonDocument>

#include <gtest/gtest.h>

using namespace qm;
using qm::test::vshRow;
using namespace qm::looks;
using prx::ModuleKind;

namespace {

ModuleValues fixtureValues(ModuleKind kind, int version, quint32 seed) {
    return kind == ModuleKind::Vsh ? test::makeVsh(version, seed).expected
                                   : test::makePaf(version, seed).expected;
}

QJsonObject lookValuesOf(const ModuleValues& values) {
    const LookValues look = readLook(lookFile(values, QStringLiteral("m.prx")), values.kind());
    EXPECT_FALSE(look.error.has_value());
    return look.values;
}

class LookRoundTrip : public ::testing::TestWithParam<test::ModuleRelease> {};

} // namespace

TEST_P(LookRoundTrip, LeavesTheValuesAsTheyWereAndCarriesThemToAnotherModule) {
    const test::ModuleRelease r = GetParam();
    const ModuleValues source = fixtureValues(r.kind, r.version, 1);
    const QJsonObject look = lookValuesOf(source);

    const LookApplied same = applyLook(look, source);
    EXPECT_TRUE(same.refused.isEmpty()) << same.refused.join(u'\n').toStdString();
    EXPECT_TRUE(same.skipped.isEmpty()) << same.skipped.join(u'\n').toStdString();
    EXPECT_TRUE(same.values == source);

    // Onto another module of the release every value arrives, but the one
    // that follows the main icon, which the save sets.
    const ModuleValues other = fixtureValues(r.kind, r.version, 7);
    const LookApplied carried = applyLook(look, other);
    EXPECT_TRUE(carried.refused.isEmpty()) << carried.refused.join(u'\n').toStdString();
    const LookDiff left = diffLooks(source, carried.values);
    for (const ValueDifference& d : left.differences)
        EXPECT_EQ(d.name, QStringLiteral("NetworkIconYUnfocused")) << d.name.toStdString();
    EXPECT_TRUE(left.onlyInA.isEmpty() && left.onlyInB.isEmpty());
}

INSTANTIATE_TEST_SUITE_P(EveryRelease, LookRoundTrip, ::testing::ValuesIn(test::everyRelease()),
                         [](const auto& info) { return test::releaseName(info.param); });

TEST(Look, DocumentNamesTheModuleAndOnlyTheMembersOfItsRelease) {
    const ModuleValues v = fixtureValues(ModuleKind::Vsh, 1, 1);
    const QByteArray file = lookFile(v, QStringLiteral("dir/vsh.prx"));
    ASSERT_TRUE(file.endsWith('\n'));
    EXPECT_EQ(file.count('\n'), 1);
    const QJsonObject doc = QJsonDocument::fromJson(file).object();
    EXPECT_EQ(doc[u"path"].toString(), QStringLiteral("dir/vsh.prx"));
    EXPECT_EQ(doc[u"kind"].toString(), QStringLiteral("vsh"));
    EXPECT_EQ(doc[u"version"].toInt(), 1);
    EXPECT_EQ(doc[u"label"].toString(), QStringLiteral("VSHMain.prx - 1.5x"));
    const QJsonObject values = doc[u"values"].toObject();
    EXPECT_FALSE(values.contains(u"MenuEntries"));
    EXPECT_FALSE(values.contains(u"BmpSize"));
    EXPECT_EQ(values[u"TextColors"].toArray().size(), 12);
}

TEST(Look, ReadingRefusesWholeDocuments) {
    const QByteArray pafDump = lookFile(fixtureValues(ModuleKind::Paf, 3, 1), QStringLiteral("paf.prx"));
    struct Case {
        QByteArray json;
        LookError::Kind kind;
        QString lookKind;
    };
    const Case cases[] = {
        {"{ this is not json", LookError::Kind::NotJson, {}},
        {"", LookError::Kind::NotJson, {}},
        {"[1, 2]", LookError::Kind::NotObject, {}},
        {R"([{"values": {}}])", LookError::Kind::NotObject, {}},
        {pafDump, LookError::Kind::OtherKind, QStringLiteral("paf")},
        {R"({"kind": 5, "values": {}})", LookError::Kind::OtherKind, {}},
    };
    for (const Case& c : cases) {
        const LookValues look = readLook(c.json, ModuleKind::Vsh);
        ASSERT_TRUE(look.error.has_value()) << c.json.toStdString();
        EXPECT_EQ(look.error->kind, c.kind) << c.json.toStdString();
        EXPECT_EQ(look.error->lookKind, c.lookKind);
    }
    const LookValues notJson = readLook("{\"a\": }", ModuleKind::Vsh);
    ASSERT_TRUE(notJson.error.has_value());
    EXPECT_GT(notJson.error->offset, 0);
    EXPECT_FALSE(notJson.error->parserMessage.isEmpty());

    // The values alone, and a PAF dump for a PAF module, are looks.
    EXPECT_FALSE(readLook(R"({"XmbX": 1.5})", ModuleKind::Vsh).error.has_value());
    EXPECT_EQ(readLook(pafDump, ModuleKind::Paf).values.size(), 25);
}

TEST(Look, ARefusedValueChangesNothing) {
    const ModuleValues target = fixtureValues(ModuleKind::Vsh, 12, 1);
    const QJsonObject look = QJsonDocument::fromJson(R"({"TextColors": ["#010203"], "XmbX": "wide",
        "BmpSize": 40000, "MSIconGame": "€", "MenuEntries": [{"order": "33"}]})")
                                 .object();
    const LookApplied applied = applyLook(look, target);
    EXPECT_EQ(applied.refused.size(), 4) << applied.refused.join(u'\n').toStdString();
    for (const char* name : {"XmbX:", "BmpSize:", "MSIconGame:", "MenuEntries[0].order:"})
        EXPECT_EQ(applied.refused.filter(QLatin1StringView(name)).size(), 1) << name;
    EXPECT_TRUE(applied.values == target);
}

TEST(Look, ALookOfAnotherReleaseSkipsWhatTheReleaseLacks) {
    const ModuleValues source = fixtureValues(ModuleKind::Vsh, 14, 2); // 3.8x into 3.5x / 3.60
    QJsonObject look = lookValuesOf(source);
    look.remove(QStringLiteral("MenuEntries")); // slim menu rows don't fit a classic menu
    QJsonArray formats = look[u"FormatsEurope"].toArray();
    formats[0] = QStringLiteral("%Y");
    look[u"FormatsEurope"] = formats;
    look[u"Unknown"] = 1;

    const ModuleValues target = fixtureValues(ModuleKind::Vsh, 11, 1);
    const LookApplied applied = applyLook(look, target);
    EXPECT_TRUE(applied.refused.isEmpty()) << applied.refused.join(u'\n').toStdString();
    const QStringList expected{
        QStringLiteral("MSOptionIconX: VSHMain.prx - 3.5x / 3.60 has no MSOptionIconX, skipped"),
        QStringLiteral("MSOptionIconY: VSHMain.prx - 3.5x / 3.60 has no MSOptionIconY, skipped"),
        QStringLiteral("MainIconYFocused: VSHMain.prx - 3.5x / 3.60 has no MainIconYFocused, skipped"),
        QStringLiteral("MainIconYUnfocused: VSHMain.prx - 3.5x / 3.60 has no MainIconYUnfocused, skipped"),
        QStringLiteral("AlphaMSOptionIcon: VSHMain.prx - 3.5x / 3.60 has no AlphaMSOptionIcon, skipped"),
        QStringLiteral("FormatsEurope: passed over, the date and time formats are never written"),
        QStringLiteral("Unknown: no value of that name in a VSH module, skipped"),
    };
    EXPECT_EQ(applied.skipped, expected);
    EXPECT_EQ(applied.values.menu(), target.menu());
    const LookDiff left = diffLooks(source, applied.values);
    QStringList differing;
    for (const ValueDifference& d : left.differences)
        differing.append(d.name);
    EXPECT_TRUE(differing.filter(QStringLiteral("Formats")).isEmpty()) << "formats are never compared away";
    for (const QString& name : differing)
        EXPECT_TRUE(name.startsWith(u"MenuEntries[")) << name.toStdString();
}

TEST(Look, A35xLookIntoA371Module) {
    const ModuleValues source = fixtureValues(ModuleKind::Vsh, 11, 2);
    const ModuleValues target = fixtureValues(ModuleKind::Vsh, 12, 1);
    const LookApplied applied = applyLook(lookValuesOf(source), target);
    EXPECT_TRUE(applied.refused.isEmpty()) << applied.refused.join(u'\n').toStdString();
    EXPECT_EQ(applied.skipped,
              QStringList{QStringLiteral("NetworkIconYUnfocused: skipped, in VSHMain.prx - 3.71 it follows "
                                         "MainIconYUnfocused (saved as MainIconYUnfocused + 1)")});
    const LookDiff left = diffLooks(source, applied.values);
    for (const ValueDifference& d : left.differences)
        EXPECT_TRUE(d.name == u"NetworkIconYUnfocused" || d.name.startsWith(u"MenuEntries["))
            << d.name.toStdString(); // icons are named differently in the two menu formats
    EXPECT_TRUE(left.onlyInA.isEmpty());
    EXPECT_EQ(left.onlyInB.size(), 5);
    // What the 3.5x look lacks keeps the target's values.
    for (const char* name : {"MSOptionIconX", "MainIconYFocused", "AlphaMSOptionIcon"}) {
        const MemberInfo m = *prx::findMember(ModuleKind::Vsh, QString::fromLatin1(name));
        EXPECT_EQ(numberText(applied.values, m), numberText(target, m)) << name;
    }
}

// A menu row whose order and icon name different icons (a look edited by
// hand): the icon, when it is one of the module's, decides, so carrying the
// look a second time changes nothing. Found by the look fuzz target.
TEST(Look, AMenuRowWhoseOrderAndIconDisagreeCarriesOverOnce) {
    struct Case {
        int version;
        const char* order;
        const char* icon;
        const char* wantOrder;
        const char* wantIcon;
    };
    const Case cases[] = {
        {9, "20", "UMD Game", "21", "UMD Game"},       // classic: the icon's index wins
        {12, "5", "Remote Play", "28", "Remote Play"}, // slim list: Remote Play is 28
        {13, "28", "P-TV", "28", "Remote Play"},       // a classic name the slim list lacks: the order
        {10, "3", "ERROR", "3", "Photo Settings"},     // no icon name: the order
        {14, "32", "internet radio ", "32", "Internet Radio"}, // names match as the combos do
    };
    for (const Case& c : cases) {
        ModuleValues target = fixtureValues(ModuleKind::Vsh, c.version, 1);
        const QJsonObject row{{QStringLiteral("order"), QLatin1StringView(c.order)},
                              {QStringLiteral("icon"), QLatin1StringView(c.icon)}};
        QJsonArray rows;
        for (qsizetype k = 0; k < target.menu().size(); ++k)
            rows.append(k == 17 ? row : QJsonObject{});
        const QJsonObject look{{QStringLiteral("MenuEntries"), rows}};
        const LookApplied once = applyLook(look, target);
        ASSERT_TRUE(once.refused.isEmpty()) << once.refused.join(u'\n').toStdString();
        const MenuTexts shown = menuTexts(once.values.menu().at(17), vshRow(c.version));
        EXPECT_EQ(shown.order, QLatin1StringView(c.wantOrder)) << c.version;
        EXPECT_EQ(shown.icon, QLatin1StringView(c.wantIcon)) << c.version;
        const LookApplied twice = applyLook(look, once.values);
        EXPECT_TRUE(twice.values == once.values) << c.version;
    }
}
