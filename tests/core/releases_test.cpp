// What holds for every release of both modules alike: a load gives the
// fixture's values, a save without edits keeps every byte, number edits
// change only their own bytes, and values or files that don't fit the
// release are refused without writing anything. Offsets come from the
// tests' own table (known_offsets.h).

#include "prx/module.h"
#include "prx/rules.h"
#include "prx/valueio.h"
#include "qt_printers.h"
#include "support/fixtures.h"
#include "support/known_offsets.h"
#include "text/errortext.h"
#include "text/numbers.h"

#include <QFileInfo>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <set>

using namespace qm;
using namespace qm::prx;
using namespace qm::text;
using namespace qm::test;

namespace {

// The Singles of a release's kind, with where the fixture put them.
struct KnownSingle {
    int member;
    qint64 offset; // 0 where the release lacks the member
};

QList<KnownSingle> knownSingles(const ModuleRelease& r) {
    QList<KnownSingle> out;
    if (r.kind == ModuleKind::Vsh) {
        for (int i = 0; i < kVshMemberCount; ++i) {
            const QLatin1StringView name = memberName(static_cast<VshMember>(i));
            const known::VshLine& line =
                known::vshLine(std::string_view(name.data(), std::size_t(name.size())));
            if (line.layout == known::Layout::Single)
                out.append({i, line.at(r.version)});
        }
    } else {
        for (int i = 0; i < kPafMemberCount; ++i)
            out.append({i, known::pafOffset(r.version, static_cast<PafMember>(i))});
    }
    return out;
}

int releaseCount(ModuleKind kind) {
    return kind == ModuleKind::Vsh ? known::kVshRows : known::kPafRows;
}

class EveryRelease : public ::testing::TestWithParam<ModuleRelease> {
protected:
    QString path(const char* name) const { return dir.filePath(QString::fromLatin1(name)); }
    // The fixture of the release on disk as module.prx, and its values as read from there.
    ModuleValues onDisk(const ModuleFixture& f) const {
        writeFile(path("module.prx"), f.bytes);
        auto values = readValuesFile(path("module.prx"), ReleaseId{GetParam().kind, GetParam().version});
        EXPECT_TRUE(values) << text::fullText(values.error()).toStdString();
        return values ? *values : ModuleValues();
    }
    QTemporaryDir dir;
};

TEST_P(EveryRelease, LoadGivesTheFixtureValues) {
    const ModuleFixture f = makeModule(GetParam());
    auto loaded = loadValues(ModuleImage(f.bytes), ReleaseId{GetParam().kind, GetParam().version});
    ASSERT_TRUE(loaded) << text::fullText(loaded.error()).toStdString();
    for (int i = 0; i < loaded->memberCount(); ++i) {
        EXPECT_EQ(loaded->has(i), f.expected.has(i)) << "member " << i;
        EXPECT_TRUE(loaded->value(i) == f.expected.value(i)) << "member " << i;
    }
    EXPECT_TRUE(*loaded == f.expected);
}

TEST_P(EveryRelease, SavingWithoutEditsKeepsEveryByte) {
    const ModuleFixture f = makeModule(GetParam(), 2);
    const ModuleValues loaded = onDisk(f);
    ASSERT_TRUE(saveValuesFile(path("module.prx"), path("copy.prx"), loaded, loaded));
    EXPECT_TRUE(readFile(path("copy.prx")) == f.bytes);
    ASSERT_TRUE(saveValuesFile(path("module.prx"), path("module.prx"), loaded, loaded));
    EXPECT_TRUE(readFile(path("module.prx")) == f.bytes);
}

TEST_P(EveryRelease, NumberEditsChangeExactlyTheirOwnBytes) {
    const ModuleRelease r = GetParam();
    const ModuleFixture f = makeModule(r, 3);
    auto loaded = loadValues(ModuleImage(f.bytes), ReleaseId{r.kind, r.version});
    ASSERT_TRUE(loaded);

    // Every number a user may set gets a new one; every fourth is left alone.
    ModuleValues edited = *loaded;
    std::set<qint64> allowed;
    QList<std::pair<qint64, float>> written;
    int n = 0;
    for (const KnownSingle& s : knownSingles(r)) {
        if (!editable(*loaded, s.member) || n++ % 4 == 3)
            continue;
        ASSERT_NE(s.offset, 0) << "member " << s.member;
        const float value = -(static_cast<float>(s.member * 10 + r.version) + 0.25f);
        edited.setValue(s.member, Single::fromFloat(value));
        written.append({s.offset, value});
        for (int k = 0; k < 4; ++k)
            allowed.insert(s.offset + k);
    }
    ASSERT_FALSE(written.isEmpty());
    // The network icon of VSH releases 12 to 14 follows the main icon.
    const ModuleValues followed = [&] {
        ModuleValues v = edited;
        applyFollowing(v);
        return v;
    }();
    for (const KnownSingle& s : knownSingles(r)) {
        if (s.offset != 0 && !editable(*loaded, s.member) &&
            !(followed.value(s.member) == loaded->value(s.member)))
            for (int k = 0; k < 4; ++k)
                allowed.insert(s.offset + k);
    }

    auto saved = applyValues(ModuleImage(f.bytes), *loaded, edited);
    ASSERT_TRUE(saved) << text::fullText(saved.error()).toStdString();
    for (qint64 off : changedOffsets(f.bytes, saved->bytes()))
        EXPECT_TRUE(allowed.count(off)) << "unexpected change at 0x" << std::hex << off;
    for (const auto& [offset, value] : written)
        EXPECT_EQ(singleAt(saved->bytes(), offset), value) << "at 0x" << std::hex << offset;

    auto reloaded = loadValues(*saved, ReleaseId{r.kind, r.version});
    ASSERT_TRUE(reloaded);
    EXPECT_TRUE(*reloaded == followed);
}

// Only the network icon of VSH releases 12 to 14 follows another value, the
// main icon; no other member of any release follows one.
TEST_P(EveryRelease, OnlyTheNetworkIconOfTheLastReleasesFollowsAValue) {
    const ModuleRelease r = GetParam();
    const ReleaseId release{r.kind, r.version};
    const bool rule = r.kind == ModuleKind::Vsh && r.version >= 12;
    for (int m = 0; m < memberCount(r.kind); ++m) {
        const QString name = QString(memberInfo(r.kind, m).name);
        const auto followed = followedMember(release, m);
        if (rule && name == u"NetworkIconYUnfocused") {
            ASSERT_TRUE(followed);
            EXPECT_EQ(memberInfo(r.kind, *followed).name, QLatin1StringView("MainIconYUnfocused"));
        } else {
            EXPECT_FALSE(followed) << name.toStdString();
        }
    }
}

TEST_P(EveryRelease, ValuesOfAnotherReleaseOrKindWriteNothing) {
    const ModuleRelease r = GetParam();
    const ModuleFixture f = makeModule(r);
    const ModuleValues loaded = onDisk(f);
    const int other = r.version == releaseCount(r.kind) ? 1 : r.version + 1;
    const ModuleRelease otherKind{
        r.kind == ModuleKind::Vsh ? ModuleKind::Paf : ModuleKind::Vsh,
        std::min(r.version, releaseCount(r.kind == ModuleKind::Vsh ? ModuleKind::Paf : ModuleKind::Vsh))};
    for (const ModuleValues& foreign :
         {makeModule({r.kind, other}).expected, makeModule(otherKind).expected}) {
        EXPECT_FALSE(applyValues(ModuleImage(f.bytes), loaded, foreign));
        EXPECT_FALSE(applyValues(ModuleImage(f.bytes), foreign, loaded));
        const Status s = saveValuesFile(path("module.prx"), path("new.prx"), loaded, foreign);
        ASSERT_FALSE(s);
        EXPECT_EQ(s.error().number, errnum::SubscriptOutOfRange);
        EXPECT_FALSE(QFileInfo::exists(path("new.prx")));
        EXPECT_FALSE(saveValuesFile(path("module.prx"), path("module.prx"), loaded, foreign));
        EXPECT_TRUE(readFile(path("module.prx")) == f.bytes);
    }
}

TEST_P(EveryRelease, ASourceThatNoLongerFitsItsReleaseIsRefused) {
    const ModuleRelease r = GetParam();
    const ModuleFixture f = makeModule(r);
    const ModuleValues loaded = onDisk(f);
    const int other = r.version == releaseCount(r.kind) ? 1 : r.version + 1;
    const qint32 otherSize =
        r.kind == ModuleKind::Vsh ? known::vshRelease(other).fileSize : known::pafRelease(other).fileSize;
    for (const QByteArray& bytes : {f.bytes + QByteArray(1, '\0'), f.bytes.left(f.bytes.size() - 1),
                                    f.bytes.left(100), QByteArray(otherSize, '\0')}) {
        writeFile(path("module.prx"), bytes);
        EXPECT_FALSE(readValuesFile(path("module.prx"), ReleaseId{r.kind, r.version}));
        const Status s = saveValuesFile(path("module.prx"), path("new.prx"), loaded, loaded);
        ASSERT_FALSE(s);
        EXPECT_EQ(s.error().kind, ErrorKind::NotModule);
        EXPECT_FALSE(QFileInfo::exists(path("new.prx")));
        EXPECT_TRUE(readFile(path("module.prx")) == bytes);
    }
}

TEST_P(EveryRelease, FrenchTextsShowCommasAndWriteTheSameBytes) {
    const ModuleRelease r = GetParam();
    const ModuleFixture f = makeModule(r, 5);
    auto loaded = loadValues(ModuleImage(f.bytes), ReleaseId{r.kind, r.version});
    ASSERT_TRUE(loaded);
    const QLocale french(QLocale::French, QLocale::France);
    // Every number shown as a French window shows it and read back from that text.
    ModuleValues fromFrench = *loaded;
    int withComma = 0;
    for (const KnownSingle& s : knownSingles(r)) {
        if (!loaded->has(s.member))
            continue;
        const float value = std::get<Single>(loaded->value(s.member)).toFloat();
        const QString text = formatSingle(value, french);
        EXPECT_EQ(text, formatSingle(value, QLocale::c()).replace(u'.', u',')) << "member " << s.member;
        withComma += text.contains(u',') ? 1 : 0;
        auto back = parseSingle(text, french);
        ASSERT_TRUE(back) << text.toStdString();
        fromFrench.setValue(s.member, Single::fromFloat(*back));
    }
    EXPECT_GT(withComma, 0);
    EXPECT_TRUE(fromFrench == *loaded);
    auto saved = applyValues(ModuleImage(f.bytes), *loaded, fromFrench);
    ASSERT_TRUE(saved) << text::fullText(saved.error()).toStdString();
    EXPECT_TRUE(saved->bytes() == f.bytes);
}

INSTANTIATE_TEST_SUITE_P(BothKinds, EveryRelease, ::testing::ValuesIn(everyRelease()),
                         [](const auto& info) { return releaseName(info.param); });

} // namespace
