#include "cli_harness.h"
#include "looks/menunames.h"
#include "prx/menu.h"
#include "support/known_offsets.h"

#include <QJsonArray>
#include <QJsonDocument>

using namespace qm;
using namespace qm::prx;
using namespace qm::test;

namespace {

class DiffSame : public CliTest, public ::testing::WithParamInterface<ModuleRelease> {};
class Diff : public CliTest {
protected:
    QJsonObject diffJson(const QString& a, const QString& b, int exitCode) const {
        const CliRun r = run({QStringLiteral("diff"), QStringLiteral("--json"), a, b});
        EXPECT_EQ(r.exitCode, exitCode) << r.err.toStdString();
        return QJsonDocument::fromJson(r.out).object();
    }
};

QStringList texts(const QJsonValue& array) {
    QStringList out;
    for (const QJsonValue& v : array.toArray())
        out.append(v.toString());
    return out;
}

} // namespace

TEST_P(DiffSame, AModuleWithItselfAndWithItsAppliedCopyShowsNoDifference) {
    const ModuleRelease rel = GetParam();
    const QString a = writeModule(rel.kind, rel.version, 1);
    const CliRun self = run({QStringLiteral("diff"), a, a});
    EXPECT_EQ(self.exitCode, 0) << self.err.toStdString();
    EXPECT_TRUE(self.out.isEmpty()) << self.out.toStdString();

    // Another module of the release with the dump of the first applied.
    const QString json = path(QStringLiteral("a.json"));
    writeFile(json, run({QStringLiteral("dump"), QStringLiteral("--json"), a}).out);
    const QString copy = path(QStringLiteral("copy.prx"));
    ASSERT_EQ(run({QStringLiteral("apply"), writeModule(rel.kind, rel.version, 3), json, QStringLiteral("-o"),
                   copy})
                  .exitCode,
              0);
    const CliRun applied = run({QStringLiteral("diff"), a, copy});
    EXPECT_EQ(applied.exitCode, 0) << applied.out.toStdString();
    EXPECT_TRUE(applied.out.isEmpty()) << applied.out.toStdString();
}

INSTANTIATE_TEST_SUITE_P(EveryRelease, DiffSame, ::testing::ValuesIn(everyRelease()),
                         [](const auto& info) { return releaseName(info.param); });

TEST_F(Diff, OneEditedValueIsExactlyItsLine) {
    const auto vsh = makeVsh(12).expected;
    const QString camera = QStringLiteral("Camera");
    const qsizetype cameraCode = looks::iconNames(MenuFormat::Slim).indexOf(camera);
    const looks::MenuTexts row2 = looks::menuTexts(vsh.menu()[2], vshRow(12));
    struct Case {
        ModuleKind kind;
        QString assignment;
        QStringList lines;
    };
    const Case cases[] = {
        {ModuleKind::Vsh,
         QStringLiteral("XmbX=2.5"),
         {QStringLiteral("XmbX: %1 -> 2.5").arg(numberText(vsh.single(VshMember::XmbX)))}},
        {ModuleKind::Vsh,
         QStringLiteral("TextColors[3]=#00C0FF"),
         {QStringLiteral("TextColors[3]: %1 -> #00C0FF")
              .arg(hexColour(vsh.colours(VshMember::TextColors)[3].rgb()))}},
        {ModuleKind::Vsh,
         QStringLiteral("ContextColorsSlim[14]=#FF8000"),
         {QStringLiteral("ContextColorsSlim[14]: %1 -> #FF8000")
              .arg(hexColour(vsh.colours(VshMember::ContextColorsSlim)[14].rgb()))}},
        {ModuleKind::Vsh,
         QStringLiteral("MenuEntries[5].enabled=FAT OFF"),
         {QStringLiteral("MenuEntries[5].enabled: FAT ON -> FAT OFF")}},
        {ModuleKind::Vsh,
         QStringLiteral("MenuEntries[2].icon=Camera"), // the icon sets the order too
         {QStringLiteral("MenuEntries[2].order: %1 -> %2").arg(row2.order).arg(cameraCode),
          QStringLiteral("MenuEntries[2].icon: %1 -> Camera").arg(row2.icon)}},
        {ModuleKind::Vsh,
         QStringLiteral("MSIconPhoto=tex_new"),
         {QStringLiteral("MSIconPhoto: %1 -> tex_new").arg(vsh.text(VshMember::MSIconPhoto))}},
        {ModuleKind::Paf,
         QStringLiteral("XmbOverallSize=9.5"),
         {QStringLiteral("XmbOverallSize: %1 -> 9.5")
              .arg(numberText(makePaf(12).expected.single(PafMember::XmbOverallSize)))}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.assignment.toStdString());
        const QString a = writeModule(c.kind, 12, 1, QStringLiteral("a.prx"));
        const QString b = path(QStringLiteral("b.prx"));
        ASSERT_EQ(run({QStringLiteral("set"), a, c.assignment, QStringLiteral("-o"), b}).exitCode, 0);
        const CliRun r = run({QStringLiteral("diff"), a, b});
        EXPECT_EQ(r.exitCode, 4) << r.err.toStdString();
        EXPECT_EQ(r.outText().split(u'\n', Qt::SkipEmptyParts), c.lines);
    }

    // In JSON the numbers stay numbers.
    const QString a = writeVsh(12, 1, QStringLiteral("a.prx"));
    const QString b = path(QStringLiteral("b.prx"));
    ASSERT_EQ(run({QStringLiteral("set"), a, QStringLiteral("XmbX=2.5"), QStringLiteral("-o"), b}).exitCode,
              0);
    const QJsonObject doc = diffJson(a, b, 4);
    EXPECT_EQ(doc[u"a"].toObject(),
              QJsonObject({{QStringLiteral("path"), a},
                           {QStringLiteral("label"), QStringLiteral("VSHMain.prx - 3.71")}}));
    EXPECT_EQ(doc[u"b"][u"path"].toString(), b);
    const QJsonArray differences = doc[u"differences"].toArray();
    ASSERT_EQ(differences.size(), 1);
    EXPECT_EQ(differences[0].toObject(),
              QJsonObject({{QStringLiteral("member"), QStringLiteral("XmbX")},
                           {QStringLiteral("a"), static_cast<double>(vsh.single(VshMember::XmbX).toFloat())},
                           {QStringLiteral("b"), 2.5}}));
    EXPECT_TRUE(doc[u"only_in_a"].toArray().isEmpty());
    EXPECT_TRUE(doc[u"only_in_b"].toArray().isEmpty());
}

TEST_F(Diff, ListsApartWhatOnlyOneReleaseHas) {
    const QStringList newIn371{QStringLiteral("MSOptionIconX"), QStringLiteral("MSOptionIconY"),
                               QStringLiteral("MainIconYFocused"), QStringLiteral("MainIconYUnfocused"),
                               QStringLiteral("AlphaMSOptionIcon")};
    struct Case {
        int a, b;
        QStringList onlyInA, onlyInB;
    };
    const Case cases[] = {
        {11, 12, {}, newIn371}, // 3.5x / 3.60 and 3.71
        {12, 11, newIn371, {}},
        {13, 14, {}, {QStringLiteral("MenuEntries[23]")}}, // 23 and 24 menu entries
        {6, 8, {}, {QStringLiteral("BmpSize"), QStringLiteral("MenuEntries")}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::Message() << c.a << " and " << c.b);
        const QString a = writeVsh(c.a, 1);
        const QString b = writeVsh(c.b, 2);
        const QJsonObject doc = diffJson(a, b, 4);
        EXPECT_EQ(texts(doc[u"only_in_a"]), c.onlyInA);
        EXPECT_EQ(texts(doc[u"only_in_b"]), c.onlyInB);
        for (const QJsonValue& d : doc[u"differences"].toArray())
            EXPECT_FALSE(c.onlyInA.contains(d[u"member"].toString()) ||
                         c.onlyInB.contains(d[u"member"].toString()));
        EXPECT_EQ(doc[u"b"][u"label"].toString(), QString::fromLatin1(known::vshRelease(c.b).label));
    }

    const QString a = writeVsh(11, 1);
    const QString b = writeVsh(12, 1);
    const CliRun r = run({QStringLiteral("diff"), a, b});
    EXPECT_EQ(r.exitCode, 4);
    EXPECT_TRUE(r.outText().endsWith(QStringLiteral("\nonly in %1 (VSHMain.prx - 3.71): %2\n")
                                         .arg(b, newIn371.join(QStringLiteral(", ")))))
        << r.out.toStdString();
}

TEST_F(Diff, RefusesTwoKindsAndWhatIsNoPlainModule) {
    const QString vsh = writeVsh(12);
    const QString paf = writePaf(12);
    const QString packed = path(QStringLiteral("packed.prx"));
    writeFile(packed, makePacked(QByteArray(100, 'p'), 311434));
    struct Case {
        QStringList args;
        int exitCode;
        QString message;
    };
    const Case cases[] = {
        {{vsh, paf}, 2, QStringLiteral("is a VSH module and %1 a PAF module").arg(paf)},
        {{paf, vsh}, 2, QStringLiteral("diff compares two modules of one kind")},
        {{vsh, packed}, 2, QStringLiteral("a packed module")},
        {{vsh, path(QStringLiteral("missing.prx"))}, 2, QStringLiteral("missing.prx")},
        {{vsh}, 1, QStringLiteral("diff takes two plain modules")},
        {{vsh, vsh, vsh}, 1, QStringLiteral("diff takes two plain modules")},
    };
    for (const Case& c : cases) {
        const CliRun r = run(QStringList{QStringLiteral("diff")} + c.args);
        EXPECT_EQ(r.exitCode, c.exitCode) << c.args.join(u' ').toStdString();
        EXPECT_TRUE(r.errText().contains(c.message)) << r.err.toStdString();
        EXPECT_TRUE(r.out.isEmpty());
    }
}
