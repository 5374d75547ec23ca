#include "prx/module.h"
#include "prx/rules.h"
#include "prx/valueio.h"
#include "qt_printers.h"
#include "support/fixtures.h"
#include "support/known_offsets.h"
#include "text/errortext.h"

#include <QTemporaryDir>

#include <gtest/gtest.h>

using namespace qm;
using namespace qm::prx;
using qm::test::changedOffsets;
using qm::test::makePaf;
using qm::test::pafBoxOffset;
using qm::test::readFile;
using qm::test::singleAt;
using qm::test::writeFile;

namespace {

class PafRelease : public ::testing::TestWithParam<int> {
protected:
    QString path(const char* name) const { return dir.filePath(QString::fromLatin1(name)); }
    // Writes `bytes` to paf.prx and reads the file as release `version`.
    Result<ModuleValues> writeAndRead(const QByteArray& bytes, int version) const {
        writeFile(path("paf.prx"), bytes);
        return readValuesFile(path("paf.prx"), ReleaseId{ModuleKind::Paf, version});
    }
    QTemporaryDir dir;
};

TEST_P(PafRelease, MainIconYUnfocusedFollowsTheRelease) {
    const int v = GetParam();
    const auto f = makePaf(v);
    auto loaded = writeAndRead(f.bytes, v);
    ASSERT_TRUE(loaded);

    ModuleValues edited = *loaded;
    edited.setValue(test::kPafBoxes[1], Single::fromFloat(5.0f)); // a value written before MainIconYUnfocused
    if (v == 1) {
        // The release has no such value: it is neither set nor written.
        EXPECT_FALSE(loaded->has(PafMember::MainIconYUnfocused));
        EXPECT_FALSE(editable(*loaded, PafMember::MainIconYUnfocused));
        const Status s = saveValuesFile(path("paf.prx"), path("new.prx"), *loaded, edited);
        ASSERT_TRUE(s) << text::fullText(s.error()).toStdString();
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
        ASSERT_TRUE(s) << text::fullText(s.error()).toStdString();
        EXPECT_EQ(
            singleAt(readFile(path("new.prx")), test::known::pafOffset(v, PafMember::MainIconYUnfocused)),
            7.0f);
    }
    EXPECT_TRUE(readFile(path("paf.prx")) == f.bytes);
}

INSTANTIATE_TEST_SUITE_P(AllReleases, PafRelease, ::testing::Range(1, kPafRows + 1),
                         [](const auto& info) { return "v" + std::to_string(info.param); });

TEST(PafFiles, MissingSourceAndUnwritableDestinationAreErrors) {
    QTemporaryDir dir;
    const auto f = makePaf(4);
    auto loaded = loadValues(ModuleImage(f.bytes), ReleaseId{ModuleKind::Paf, 4});
    ASSERT_TRUE(loaded);
    const QString source = dir.filePath(QStringLiteral("paf.prx"));
    EXPECT_FALSE(saveValuesFile(source, dir.filePath(QStringLiteral("new.prx")), *loaded, *loaded));
    writeFile(source, f.bytes);
    EXPECT_FALSE(
        saveValuesFile(source, dir.filePath(QStringLiteral("no/such/folder/new.prx")), *loaded, *loaded));
    EXPECT_FALSE(readValuesFile(source, ReleaseId{ModuleKind::Paf, 0}));
    EXPECT_FALSE(readValuesFile(source, ReleaseId{ModuleKind::Paf, kPafRows + 1}));
}

} // namespace
