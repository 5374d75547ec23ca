#include "prx/module.h"
#include "prx/numbers.h"
#include "prx/rules.h"
#include "prx/valueio.h"
#include "qt_printers.h"
#include "support/fixtures.h"
#include "support/known_offsets.h"

#include <QFileInfo>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <set>

using namespace qm;
using namespace qm::prx;
using qm::test::changedOffsets;
using qm::test::kPafBoxes;
using qm::test::makePaf;
using qm::test::makeVsh;
using qm::test::pafBoxOffset;
using qm::test::readFile;
using qm::test::singleAt;
using qm::test::writeFile;

namespace {

const QLocale kC = QLocale::c();
const QLocale kFrench(QLocale::French, QLocale::France);
constexpr int kBoxCount = static_cast<int>(kPafBoxes.size());

PafMember boxMember(int box) {
    return kPafBoxes[static_cast<std::size_t>(box)];
}

class PafRelease : public ::testing::TestWithParam<int> {
protected:
    QString path(const char* name) const { return dir.filePath(QString::fromLatin1(name)); }
    // Writes `bytes` to paf.prx and reads the file as release `version`.
    Result<ModuleValues> writeAndRead(const QByteArray& bytes, int version) const {
        writeFile(path("paf.prx"), bytes);
        return readValuesFile(path("paf.prx"), ModuleKind::Paf, version);
    }
    QTemporaryDir dir;
};

TEST_P(PafRelease, LoadShowsTheFixtureValues) {
    const int v = GetParam();
    const auto f = makePaf(v);
    auto loaded = loadValues(ModuleImage(f.bytes), ModuleKind::Paf, v);
    ASSERT_TRUE(loaded) << loaded.error().fullText().toStdString();
    EXPECT_TRUE(*loaded == f.expected);
    for (int box = 0; box < kBoxCount; ++box) {
        const PafMember m = boxMember(box);
        EXPECT_EQ(loaded->has(m), !(v == 1 && box == 8)) << box;
        if (loaded->has(m)) {
            EXPECT_EQ(loaded->single(m).toFloat(), singleAt(f.bytes, pafBoxOffset(v, box))) << box;
            EXPECT_EQ(loaded->single(m), f.expected.single(m)) << box;
        }
    }
}

TEST_P(PafRelease, SavingWithoutEditsKeepsEveryByte) {
    const int v = GetParam();
    const auto f = makePaf(v, 2);
    auto loaded = writeAndRead(f.bytes, v);
    ASSERT_TRUE(loaded);
    ASSERT_TRUE(saveValuesFile(path("paf.prx"), path("copy.prx"), *loaded, *loaded));
    EXPECT_TRUE(readFile(path("copy.prx")) == f.bytes);
    ASSERT_TRUE(saveValuesFile(path("paf.prx"), path("paf.prx"), *loaded, *loaded));
    EXPECT_TRUE(readFile(path("paf.prx")) == f.bytes);
}

TEST_P(PafRelease, EditsChangeExactlyTheEditedValues) {
    const int v = GetParam();
    const auto f = makePaf(v, 3);
    auto loaded = loadValues(ModuleImage(f.bytes), ModuleKind::Paf, v);
    ASSERT_TRUE(loaded);

    // Every value the release has gets a new one; every fourth is left alone.
    ModuleValues edited = *loaded;
    std::set<qint64> allowed;
    QList<int> editedBoxes;
    for (int box = 0; box < kBoxCount; ++box) {
        if (!loaded->has(boxMember(box)) || box % 4 == 3)
            continue;
        EXPECT_TRUE(editable(*loaded, boxMember(box))) << box;
        edited.setValue(boxMember(box), Single::fromFloat(-(static_cast<float>(box * 10 + v) + 0.25f)));
        editedBoxes.append(box);
        for (int k = 0; k < 4; ++k)
            allowed.insert(pafBoxOffset(v, box) + k);
    }
    auto saved = applyValues(ModuleImage(f.bytes), *loaded, edited);
    ASSERT_TRUE(saved) << saved.error().fullText().toStdString();
    for (qint64 off : changedOffsets(f.bytes, saved->bytes()))
        EXPECT_TRUE(allowed.count(off)) << "unexpected change at 0x" << std::hex << off;
    for (int box : editedBoxes) {
        EXPECT_EQ(singleAt(saved->bytes(), pafBoxOffset(v, box)), -(box * 10 + v + 0.25f)) << box;
    }

    auto reloaded = loadValues(*saved, ModuleKind::Paf, v);
    ASSERT_TRUE(reloaded);
    EXPECT_TRUE(*reloaded == edited);
}

TEST_P(PafRelease, ValuesOfAnotherReleaseOrKindWriteNothing) {
    const int v = GetParam();
    const auto f = makePaf(v);
    auto loaded = writeAndRead(f.bytes, v);
    ASSERT_TRUE(loaded);
    const int other = v == kPafRows ? 1 : v + 1;
    ModuleValues foreign = makePaf(other).expected;
    foreign.setValue(PafMember::MainIconSpacing, Single::fromFloat(99.0f)); // an edit
    for (const ModuleValues& edited : {foreign, makeVsh(v).expected}) {
        const Status s = saveValuesFile(path("paf.prx"), path("new.prx"), *loaded, edited);
        ASSERT_FALSE(s);
        EXPECT_EQ(s.error().number, errnum::SubscriptOutOfRange);
        EXPECT_FALSE(QFileInfo::exists(path("new.prx")));
        EXPECT_FALSE(saveValuesFile(path("paf.prx"), path("paf.prx"), *loaded, edited));
        EXPECT_TRUE(readFile(path("paf.prx")) == f.bytes);
    }
}

TEST_P(PafRelease, MainIconYUnfocusedFollowsTheRelease) {
    const int v = GetParam();
    const auto f = makePaf(v);
    auto loaded = writeAndRead(f.bytes, v);
    ASSERT_TRUE(loaded);

    ModuleValues edited = *loaded;
    edited.setValue(boxMember(1), Single::fromFloat(5.0f)); // a value written before MainIconYUnfocused
    if (v == 1) {
        // The release has no such value: it is neither set nor written.
        EXPECT_FALSE(loaded->has(PafMember::MainIconYUnfocused));
        EXPECT_FALSE(editable(*loaded, PafMember::MainIconYUnfocused));
        const Status s = saveValuesFile(path("paf.prx"), path("new.prx"), *loaded, edited);
        ASSERT_TRUE(s) << s.error().fullText().toStdString();
        const auto changed = changedOffsets(f.bytes, readFile(path("new.prx")));
        EXPECT_FALSE(changed.empty());
        for (qint64 off : changed) {
            EXPECT_GE(off, pafBoxOffset(v, 1));
            EXPECT_LT(off, pafBoxOffset(v, 1) + 4);
        }
    } else {
        EXPECT_TRUE(editable(*loaded, PafMember::MainIconYUnfocused));
        edited.setValue(PafMember::MainIconYUnfocused, Single::fromFloat(7.0f));
        const Status s = saveValuesFile(path("paf.prx"), path("new.prx"), *loaded, edited);
        ASSERT_TRUE(s) << s.error().fullText().toStdString();
        EXPECT_EQ(
            singleAt(readFile(path("new.prx")), test::known::pafOffset(v, PafMember::MainIconYUnfocused)),
            7.0f);
    }
    EXPECT_TRUE(readFile(path("paf.prx")) == f.bytes);
}

TEST_P(PafRelease, FrenchTextsShowCommasAndWriteTheSameBytes) {
    const int v = GetParam();
    const auto f = makePaf(v);
    auto loaded = loadValues(ModuleImage(f.bytes), ModuleKind::Paf, v);
    ASSERT_TRUE(loaded);
    ModuleValues fromFrench = *loaded;
    int withComma = 0;
    for (int box = 0; box < kBoxCount; ++box) {
        const PafMember m = boxMember(box);
        if (!loaded->has(m))
            continue;
        const float value = loaded->single(m).toFloat();
        const QString french = formatSingle(value, kFrench);
        EXPECT_EQ(french, formatSingle(value, kC).replace(u'.', u',')) << box;
        withComma += french.contains(u',') ? 1 : 0;
        auto back = parseSingle(french, kFrench);
        ASSERT_TRUE(back) << french.toStdString();
        fromFrench.setValue(m, Single::fromFloat(*back));
    }
    EXPECT_GT(withComma, 0);
    auto saved = applyValues(ModuleImage(f.bytes), *loaded, fromFrench);
    ASSERT_TRUE(saved) << saved.error().fullText().toStdString();
    EXPECT_TRUE(saved->bytes() == f.bytes);
}

TEST_P(PafRelease, ASourceOfAnotherLengthIsRefused) {
    const int v = GetParam();
    const auto f = makePaf(v);
    auto loaded = loadValues(ModuleImage(f.bytes), ModuleKind::Paf, v);
    ASSERT_TRUE(loaded);
    for (const QByteArray& bytes : {f.bytes + QByteArray(1, '\0'), f.bytes.left(f.bytes.size() - 1)}) {
        writeFile(path("paf.prx"), bytes);
        EXPECT_FALSE(readValuesFile(path("paf.prx"), ModuleKind::Paf, v));
        const Status s = saveValuesFile(path("paf.prx"), path("new.prx"), *loaded, *loaded);
        ASSERT_FALSE(s);
        EXPECT_EQ(s.error().kind, ErrorKind::NotModule);
        EXPECT_FALSE(QFileInfo::exists(path("new.prx")));
        EXPECT_TRUE(readFile(path("paf.prx")) == bytes);
    }
}

INSTANTIATE_TEST_SUITE_P(AllReleases, PafRelease, ::testing::Range(1, kPafRows + 1),
                         [](const auto& info) { return "v" + std::to_string(info.param); });

TEST(PafFiles, MissingSourceAndUnwritableDestinationAreErrors) {
    QTemporaryDir dir;
    const auto f = makePaf(4);
    auto loaded = loadValues(ModuleImage(f.bytes), ModuleKind::Paf, 4);
    ASSERT_TRUE(loaded);
    const QString source = dir.filePath(QStringLiteral("paf.prx"));
    EXPECT_FALSE(saveValuesFile(source, dir.filePath(QStringLiteral("new.prx")), *loaded, *loaded));
    writeFile(source, f.bytes);
    EXPECT_FALSE(
        saveValuesFile(source, dir.filePath(QStringLiteral("no/such/folder/new.prx")), *loaded, *loaded));
    EXPECT_FALSE(readValuesFile(source, ModuleKind::Paf, 0));
    EXPECT_FALSE(readValuesFile(source, ModuleKind::Paf, kPafRows + 1));
}

} // namespace
