#include "prx/module.h"
#include "prx/paf.h"
#include "prx/vsh.h"
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
using qm::test::makePaf;
using qm::test::pafBoxOffset;
using qm::test::readFile;
using qm::test::singleAt;
using qm::test::writeFile;
namespace known = qm::test::known;

namespace {

const QLocale kC = QLocale::c();
const QLocale kFrench(QLocale::French, QLocale::France);

class PafRelease : public ::testing::TestWithParam<int> {
protected:
    QString path(const char* name) const { return dir.filePath(QString::fromLatin1(name)); }
    // Writes `bytes` to paf.prx and reads the file as release `version`.
    Result<PafValues> writeAndRead(const QByteArray& bytes, int version) const {
        writeFile(path("paf.prx"), bytes);
        return readPafFile(path("paf.prx"), version, kC);
    }
    QTemporaryDir dir;
};

TEST_P(PafRelease, LoadShowsTheFixtureValues) {
    const int v = GetParam();
    const auto f = makePaf(v);
    auto loaded = loadPaf(ModuleImage(f.bytes), v, kC);
    ASSERT_TRUE(loaded) << loaded.error().fullText().toStdString();
    EXPECT_EQ(loaded->numbers, f.expected.numbers);
    for (int box = 0; box < kPafBoxCount; ++box) {
        EXPECT_EQ(loaded->numbers[static_cast<std::size_t>(box)].isEmpty(), v == 1 && box == 8) << box;
    }
}

TEST_P(PafRelease, SavingWithoutEditsKeepsEveryByte) {
    const int v = GetParam();
    const auto f = makePaf(v, 2);
    auto loaded = writeAndRead(f.bytes, v);
    ASSERT_TRUE(loaded);
    ASSERT_TRUE(savePafFile(path("paf.prx"), path("copy.prx"), v, *loaded, *loaded, kC));
    EXPECT_TRUE(readFile(path("copy.prx")) == f.bytes);
    ASSERT_TRUE(savePafFile(path("paf.prx"), path("paf.prx"), v, *loaded, *loaded, kC));
    EXPECT_TRUE(readFile(path("paf.prx")) == f.bytes);
}

TEST_P(PafRelease, EditsChangeExactlyTheEditedValues) {
    const int v = GetParam();
    const auto f = makePaf(v, 3);
    auto loaded = loadPaf(ModuleImage(f.bytes), v, kC);
    ASSERT_TRUE(loaded);

    // Every value the release has gets a new one; every fourth is left alone.
    PafValues edited = *loaded;
    std::set<qint64> allowed;
    QList<int> editedBoxes;
    for (int box = 0; box < kPafBoxCount; ++box) {
        if (!pafBoxRead(v, box) || box % 4 == 3)
            continue;
        edited.numbers[static_cast<std::size_t>(box)] = QStringLiteral("-%1,25").arg(box * 10 + v);
        editedBoxes.append(box);
        for (int k = 0; k < 4; ++k)
            allowed.insert(pafBoxOffset(v, box) + k);
    }
    auto saved = applyPaf(ModuleImage(f.bytes), v, *loaded, edited, kC);
    ASSERT_TRUE(saved) << saved.error().fullText().toStdString();
    for (qint64 off : changedOffsets(f.bytes, saved->bytes()))
        EXPECT_TRUE(allowed.count(off)) << "unexpected change at 0x" << std::hex << off;
    for (int box : editedBoxes) {
        EXPECT_EQ(singleAt(saved->bytes(), pafBoxOffset(v, box)), -(box * 10 + v + 0.25f)) << box;
    }

    auto reloaded = loadPaf(*saved, v, kC);
    ASSERT_TRUE(reloaded);
    for (int box = 0; box < kPafBoxCount; ++box) {
        const auto i = static_cast<std::size_t>(box);
        const QString expected =
            editedBoxes.contains(box) ? QString(edited.numbers[i]).replace(u',', u'.') : loaded->numbers[i];
        EXPECT_EQ(reloaded->numbers[i], expected) << box;
    }
}

TEST_P(PafRelease, AnEmptyValueRefusesTheSaveAndWritesNothing) {
    const int v = GetParam();
    const auto f = makePaf(v);
    auto loaded = writeAndRead(f.bytes, v);
    ASSERT_TRUE(loaded);
    for (int box = 0; box < kPafBoxCount; ++box) {
        if (box == kPafBoxMainIconYUnfocused)
            continue;
        SCOPED_TRACE(box);
        PafValues edited = *loaded;
        edited.numbers[0] = QStringLiteral("99"); // an edit before the empty box
        edited.numbers[static_cast<std::size_t>(box)].clear();
        const Status s = savePafFile(path("paf.prx"), path("new.prx"), v, *loaded, edited, kC);
        ASSERT_FALSE(s);
        EXPECT_EQ(s.error().kind, ErrorKind::Check);
        EXPECT_EQ(s.error().userText(), QStringLiteral("One of the value is empty"));
        EXPECT_FALSE(QFileInfo::exists(path("new.prx")));
        EXPECT_FALSE(savePafFile(path("paf.prx"), path("paf.prx"), v, *loaded, edited, kC));
        EXPECT_TRUE(readFile(path("paf.prx")) == f.bytes);
    }
}

TEST_P(PafRelease, MainIconYUnfocusedFollowsTheRelease) {
    const int v = GetParam();
    const auto f = makePaf(v);
    auto loaded = writeAndRead(f.bytes, v);
    ASSERT_TRUE(loaded);

    for (const QString& text : {QString(), QStringLiteral("abc"), QStringLiteral("7")}) {
        SCOPED_TRACE(text.toStdString());
        PafValues edited = *loaded;
        edited.numbers[1] = QStringLiteral("5"); // a value written before box 8
        edited.numbers[kPafBoxMainIconYUnfocused] = text;
        const Status s = savePafFile(path("paf.prx"), path("new.prx"), v, *loaded, edited, kC);
        if (v == 1) {
            // The release has no such value: the box is neither checked nor written.
            ASSERT_TRUE(s) << s.error().fullText().toStdString();
            const auto changed = changedOffsets(f.bytes, readFile(path("new.prx")));
            for (qint64 off : changed) {
                EXPECT_GE(off, pafBoxOffset(v, 1));
                EXPECT_LT(off, pafBoxOffset(v, 1) + 4);
            }
        } else if (text == u"7") {
            ASSERT_TRUE(s);
            EXPECT_EQ(singleAt(readFile(path("new.prx")), known::pafOffset(v, PafMember::MainIconYUnfocused)),
                      7.0f);
        } else {
            // Not part of the empty check: the conversion refuses it, before anything is written.
            ASSERT_FALSE(s);
            EXPECT_EQ(s.error().number, errnum::TypeMismatch);
            EXPECT_FALSE(QFileInfo::exists(path("new.prx")));
        }
        QFile::remove(path("new.prx"));
    }
    EXPECT_TRUE(readFile(path("paf.prx")) == f.bytes);
}

TEST_P(PafRelease, ABadNumberAnywhereWritesNothing) {
    const int v = GetParam();
    const auto f = makePaf(v);
    auto loaded = writeAndRead(f.bytes, v);
    ASSERT_TRUE(loaded);
    for (const char* bad : {"1,2,3", "abc", "1e39"}) {
        PafValues edited = *loaded;
        for (int box = 0; box < kPafBoxCount - 1; ++box)
            if (pafBoxRead(v, box))
                edited.numbers[static_cast<std::size_t>(box)] = QStringLiteral("12,5");
        edited.numbers[kPafBoxCount - 1] = QString::fromLatin1(bad); // the last value written
        EXPECT_FALSE(savePafFile(path("paf.prx"), path("paf.prx"), v, *loaded, edited, kC)) << bad;
        EXPECT_FALSE(savePafFile(path("paf.prx"), path("new.prx"), v, *loaded, edited, kC)) << bad;
        EXPECT_TRUE(readFile(path("paf.prx")) == f.bytes) << bad;
        EXPECT_FALSE(QFileInfo::exists(path("new.prx"))) << bad;
    }
}

TEST_P(PafRelease, FrenchTextsShowCommasAndWriteTheSameBytes) {
    const int v = GetParam();
    const auto f = makePaf(v);
    auto c = loadPaf(ModuleImage(f.bytes), v, kC);
    auto french = loadPaf(ModuleImage(f.bytes), v, kFrench);
    ASSERT_TRUE(c && french);
    int withComma = 0;
    for (int box = 0; box < kPafBoxCount; ++box) {
        const auto i = static_cast<std::size_t>(box);
        EXPECT_EQ(french->numbers[i], QString(c->numbers[i]).replace(u'.', u','));
        withComma += french->numbers[i].contains(u',') ? 1 : 0;
    }
    EXPECT_GT(withComma, 0);
    // Every text differs from the C one, so every value with a fraction is written again.
    auto saved = applyPaf(ModuleImage(f.bytes), v, *c, *french, kFrench);
    ASSERT_TRUE(saved) << saved.error().fullText().toStdString();
    EXPECT_TRUE(saved->bytes() == f.bytes);
}

TEST_P(PafRelease, ASourceOfAnotherLengthIsRefused) {
    const int v = GetParam();
    const auto f = makePaf(v);
    auto loaded = loadPaf(ModuleImage(f.bytes), v, kC);
    ASSERT_TRUE(loaded);
    for (const QByteArray& bytes : {f.bytes + QByteArray(1, '\0'), f.bytes.left(f.bytes.size() - 1)}) {
        writeFile(path("paf.prx"), bytes);
        EXPECT_FALSE(readPafFile(path("paf.prx"), v, kC));
        const Status s = savePafFile(path("paf.prx"), path("new.prx"), v, *loaded, *loaded, kC);
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
    auto loaded = loadPaf(ModuleImage(f.bytes), 4, kC);
    ASSERT_TRUE(loaded);
    const QString source = dir.filePath(QStringLiteral("paf.prx"));
    EXPECT_FALSE(savePafFile(source, dir.filePath(QStringLiteral("new.prx")), 4, *loaded, *loaded, kC));
    writeFile(source, f.bytes);
    EXPECT_FALSE(
        savePafFile(source, dir.filePath(QStringLiteral("no/such/folder/new.prx")), 4, *loaded, *loaded, kC));
    EXPECT_FALSE(readPafFile(source, 0, kC));
    EXPECT_FALSE(readPafFile(source, kPafRows + 1, kC));
}

} // namespace
