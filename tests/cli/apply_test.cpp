#include "cli_harness.h"
#include "prx/catalogue.h"
#include "support/known_offsets.h"

#include <QJsonArray>
#include <QJsonDocument>
#include <QRegularExpression>
#include <QtEndian>

#include <limits>

using namespace qm;
using namespace qm::prx;
using namespace qm::test;

namespace {

struct ReleaseCase {
    ModuleKind kind;
    int version;
};

std::vector<ReleaseCase> allReleases() {
    std::vector<ReleaseCase> all;
    for (int v = 1; v <= kVshRows; ++v)
        all.push_back({ModuleKind::Vsh, v});
    for (int v = 1; v <= kPafRows; ++v)
        all.push_back({ModuleKind::Paf, v});
    return all;
}

class ApplyOwnDump : public CliTest, public ::testing::WithParamInterface<ReleaseCase> {};
class Apply : public CliTest {
protected:
    QString writeJson(const QString& name, const QJsonObject& object) {
        const QString file = path(name);
        writeFile(file, QJsonDocument(object).toJson());
        return file;
    }
    // Writes the dump of `source` to a file, optionally edited first.
    QString dumpTo(const QString& source, const std::function<void(QJsonObject&)>& edit = {}) {
        QJsonObject doc = dumpJson(source);
        if (edit)
            edit(doc);
        return writeJson(QStringLiteral("values.json"), doc);
    }
};

} // namespace

TEST_P(ApplyOwnDump, KeepsEveryByte) {
    const ReleaseCase rel = GetParam();
    const QString file = writeModule(rel.kind, rel.version, 4);
    const QByteArray before = readFile(file);
    const CliRun dump = run({QStringLiteral("dump"), QStringLiteral("--json"), file});
    ASSERT_EQ(dump.exitCode, 0);
    const QString values = path(QStringLiteral("own.json"));
    writeFile(values, dump.out);

    const CliRun r = run({QStringLiteral("apply"), file, values});
    EXPECT_EQ(r.exitCode, 0) << r.err.toStdString();
    EXPECT_TRUE(readFile(file) == before);
}

INSTANTIATE_TEST_SUITE_P(AllReleases, ApplyOwnDump, ::testing::ValuesIn(allReleases()), [](const auto& info) {
    return std::string(info.param.kind == ModuleKind::Vsh ? "vsh" : "paf") +
           std::to_string(info.param.version);
});

TEST_F(Apply, CarriesAwkwardValuesBitForBit) {
    auto f = makeVsh(13);
    const auto put = [&](VshMember m, quint32 bits) {
        qToLittleEndian<quint32>(bits, f.bytes.data() + known::vshOffset(13, m));
    };
    const auto bitsOf = [](float x) { return std::bit_cast<quint32>(x); };
    put(VshMember::XmbX, 0x7FC12345);                                            // NaN with a payload
    put(VshMember::XmbXInfobar, bitsOf(std::numeric_limits<float>::infinity())); // "Infinity"
    put(VshMember::XmbXSubmenu, bitsOf(-std::numeric_limits<float>::infinity()));
    put(VshMember::XmbXGameSubmenu, bitsOf(0.1f));
    put(VshMember::ClockY, bitsOf(std::numeric_limits<float>::max()));
    put(VshMember::ClockX, bitsOf(1e-7f));
    put(VshMember::ClockXNoBattery, 0x80000000u); // -0
    put(VshMember::HoldX, bitsOf(std::numeric_limits<float>::denorm_min()));
    put(VshMember::HoldY, bitsOf(16777216.0f));
    // "7.038531e-26" read as a double rounds to the float next to this one.
    put(VshMember::HoldXShadow, 0x15AE43FDu);
    const QByteArray latin1("a\x01\"\\\xE9~", 6);
    f.bytes.replace(known::vshOffset(13, VshMember::MSIconPhoto), latin1.size() + 1, latin1 + '\0');
    const QString file = path(QStringLiteral("awkward.prx"));
    writeFile(file, f.bytes);

    const QJsonObject values = dumpJson(file)[u"values"].toObject();
    EXPECT_EQ(values[u"XmbX"].toString(), QStringLiteral("NaN"));
    EXPECT_EQ(values[u"XmbXInfobar"].toString(), QStringLiteral("Infinity"));
    EXPECT_EQ(values[u"XmbXSubmenu"].toString(), QStringLiteral("-Infinity"));
    EXPECT_EQ(values[u"XmbXGameSubmenu"].toDouble(), 0.1);
    EXPECT_EQ(values[u"HoldXShadow"].toDouble(), 7.038531e-26);
    EXPECT_EQ(values[u"MSIconPhoto"].toString(), QString::fromLatin1(latin1));

    // The dump as printed: re-serialising it with QJsonDocument would print -0.0 as "-0" and lose the sign.
    const CliRun dump = run({QStringLiteral("dump"), QStringLiteral("--json"), file});
    const QString json = path(QStringLiteral("awkward.json"));
    writeFile(json, dump.out);
    const CliRun r = run({QStringLiteral("apply"), file, json});
    EXPECT_EQ(r.exitCode, 0) << r.err.toStdString();
    EXPECT_TRUE(readFile(file) == f.bytes);

    // Onto another module each lands with the same bits; a negative zero
    // comes back as a zero, as QJsonDocument drops the sign.
    const QString other = writeVsh(13, 9);
    ASSERT_EQ(run({QStringLiteral("apply"), other, json}).exitCode, 0);
    const QByteArray written = readFile(other);
    for (VshMember m :
         {VshMember::XmbXInfobar, VshMember::XmbXSubmenu, VshMember::XmbXGameSubmenu, VshMember::ClockY,
          VshMember::ClockX, VshMember::HoldX, VshMember::HoldY, VshMember::HoldXShadow})
        EXPECT_EQ(written.mid(known::vshOffset(13, m), 4), f.bytes.mid(known::vshOffset(13, m), 4))
            << memberName(m).data();
    EXPECT_EQ(written.mid(known::vshOffset(13, VshMember::MSIconPhoto), 7), latin1 + '\0');
    EXPECT_EQ(written.mid(known::vshOffset(13, VshMember::ClockXNoBattery), 3), QByteArray(3, '\0'));
}

TEST_F(Apply, CarriesALookToOtherReleases) {
    const QString source = writeVsh(14, 2);
    const QString json = dumpTo(source, [](QJsonObject& doc) {
        QJsonObject values = doc[u"values"].toObject();
        QJsonArray menu = values[u"MenuEntries"].toArray();
        QJsonObject row2 = menu[2].toObject();
        row2[u"category"] = QStringLiteral("TV");
        menu[2] = row2;
        QJsonObject row4 = menu[4].toObject();
        row4[u"icon"] = QStringLiteral("Camera"); // its old order is left in: the icon decides
        menu[4] = row4;
        values[u"MenuEntries"] = menu;
        QJsonArray colours = values[u"TextColors"].toArray();
        colours[0] = QStringLiteral("#123456");
        values[u"TextColors"] = colours;
        doc[u"values"] = values;
    });
    const QJsonObject sourceValues = QJsonDocument::fromJson(readFile(json)).object()[u"values"].toObject();

    struct Case {
        int version;
        QStringList lacking;
    };
    const Case cases[] = {
        {12, {}},
        {1,
         {QStringLiteral("TextColorsSlim"), QStringLiteral("ContextColorsSlim"),
          QStringLiteral("MSOptionIconX"), QStringLiteral("MSOptionIconY"),
          QStringLiteral("NetworkIconYUnfocused"), QStringLiteral("MainIconYFocused"),
          QStringLiteral("MainIconYUnfocused"), QStringLiteral("AlphaMSOptionIcon"),
          QStringLiteral("BmpSize"), QStringLiteral("FocusedIconFadeOut"), QStringLiteral("MenuEntries")}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.version);
        const QString target = writeVsh(c.version, 1);
        const QJsonObject targetBefore = dumpJson(target)[u"values"].toObject();
        const CliRun r = run({QStringLiteral("apply"), target, json});
        ASSERT_EQ(r.exitCode, 0) << r.err.toStdString();
        const QStringList errLines = r.errText().split(u'\n', Qt::SkipEmptyParts);
        if (c.lacking.isEmpty()) {
            EXPECT_FALSE(r.errText().contains(QStringLiteral("has no"))) << r.err.toStdString();
        }
        for (const QString& name : c.lacking)
            EXPECT_EQ(
                errLines.filter(QRegularExpression(QStringLiteral("\\b%1\\b.*skipped").arg(name))).size(), 1)
                << name.toStdString() << "\n"
                << r.err.toStdString();

        const QJsonObject after = dumpJson(target)[u"values"].toObject();
        EXPECT_EQ(after.size(), targetBefore.size());
        for (auto it = after.begin(); it != after.end(); ++it) {
            const QString& name = it.key();
            if (name.startsWith(QStringLiteral("Formats"))) {
                EXPECT_EQ(it.value(), targetBefore[name]) << "formats are never written";
            } else if (name == u"MenuEntries") {
                const QJsonArray rows = it.value().toArray();
                const QJsonArray given = sourceValues[name].toArray();
                ASSERT_EQ(rows.size(), 23);
                for (qsizetype k = 0; k < rows.size(); ++k) {
                    QJsonObject expected = given[k].toObject();
                    if (k == 4)
                        expected[u"order"] = QStringLiteral("27"); // the new icon's index
                    EXPECT_EQ(rows[k].toObject(), expected) << "row " << k;
                }
                EXPECT_EQ(rows[4].toObject()[u"order"].toString(), QStringLiteral("27"));
                EXPECT_EQ(rows[2].toObject()[u"category"].toString(), QStringLiteral("TV"));
            } else {
                EXPECT_EQ(it.value(), sourceValues[name]) << name.toStdString();
            }
        }
    }
}

TEST_F(Apply, RefusesWholeFilesAndValues) {
    const QString vsh = writeVsh(10, 1);
    const QString pafDump = dumpTo(writePaf(4));
    const QString notJson = path(QStringLiteral("garbage.json"));
    writeFile(notJson, "{ this is not json");

    const auto withValue = [&](const QString& name, const QJsonValue& value) {
        QJsonObject values;
        values[name] = value;
        return writeJson(name + QStringLiteral(".json"), values); // just the values, no dump around them
    };
    const auto withMenu = [&](const QString& field, const QString& text) {
        QJsonObject row;
        row[field] = text;
        QJsonObject values;
        values[u"MenuEntries"] = QJsonArray{row};
        return writeJson(QStringLiteral("menu-%1.json").arg(field), values);
    };
    struct Case {
        QString values;
        int exitCode;
        QString message;
    };
    const Case cases[] = {
        {pafDump, 2, QStringLiteral("PAF")},
        {notJson, 2, QStringLiteral("not a JSON")},
        {path(QStringLiteral("missing.json")), 2, QStringLiteral("missing.json")},
        {withValue(QStringLiteral("BmpSize"), 40000), 3, QStringLiteral("BMP Max Size it's 32767 bytes")},
        {withValue(QStringLiteral("XmbX"), QStringLiteral("wide")), 3, QStringLiteral("XmbX")},
        {withValue(QStringLiteral("XmbX"), 1e300), 3, QStringLiteral("XmbX")},
        {withValue(QStringLiteral("MSIconGame"), QStringLiteral("\u20AC")), 3, QStringLiteral("MSIconGame")},
        {withValue(QStringLiteral("ContextColors"), QJsonArray{QStringLiteral("red")}), 3,
         QStringLiteral("ContextColors[0]")},
        {withMenu(QStringLiteral("enabled"), QStringLiteral("SLIM ON")), 3,
         QStringLiteral("MenuEntries[0].enabled")},
        {withMenu(QStringLiteral("category"), QStringLiteral("TV")), 3,
         QStringLiteral("MenuEntries[0].category")},
        {withMenu(QStringLiteral("order"), QStringLiteral("33")), 3, QStringLiteral("MenuEntries[0].order")},
    };
    const QByteArray before = readFile(vsh);
    for (const Case& c : cases) {
        const CliRun r = run({QStringLiteral("apply"), vsh, c.values});
        EXPECT_EQ(r.exitCode, c.exitCode) << c.values.toStdString() << "\n" << r.err.toStdString();
        EXPECT_TRUE(r.errText().contains(c.message)) << r.err.toStdString();
        EXPECT_TRUE(readFile(vsh) == before) << c.values.toStdString();
    }
}

TEST_F(Apply, LeavesTheFollowingNetworkIconAndWritesACopy) {
    const QString source = writeVsh(13, 1);
    const QByteArray before = readFile(source);
    const QString json = dumpTo(source, [](QJsonObject& doc) {
        QJsonObject values = doc[u"values"].toObject();
        values[u"NetworkIconYUnfocused"] = 99.5;
        values[u"XmbX"] = 12.25;
        values[u"NoSuchValue"] = 1;
        doc[u"values"] = values;
    });
    const QString out = path(QStringLiteral("out.prx"));
    const CliRun r = run({QStringLiteral("apply"), source, json, QStringLiteral("-o"), out});
    ASSERT_EQ(r.exitCode, 0) << r.err.toStdString();
    EXPECT_TRUE(r.errText().contains(QStringLiteral("NetworkIconYUnfocused: skipped")));
    EXPECT_TRUE(r.errText().contains(QStringLiteral("NoSuchValue")));
    EXPECT_TRUE(readFile(source) == before);
    const QByteArray written = readFile(out);
    EXPECT_EQ(written.mid(known::vshOffset(13, VshMember::XmbX), 4), singleBytes(12.25f));
    for (qint64 off : changedOffsets(before, written))
        EXPECT_TRUE(byteRange(known::vshOffset(13, VshMember::XmbX), 4).count(off)) << off;
}
