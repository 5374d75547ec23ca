// The module document, once for every release: one read at open, a save
// that writes the bytes it holds, the values as the written file stores
// them, the file stamp, and the edit history the editors keep.

#include "document/editingdocument.h"
#include "looks/look.h"
#include "prx/menu.h"
#include "qt_printers.h"
#include "support/fixtures.h"
#include "support/known_offsets.h"

#include <QDir>
#include <QFile>
#include <QJsonDocument>
#include <QTemporaryDir>
#include <QUndoStack>

#include <gtest/gtest.h>

using namespace qm;
using namespace qm::prx;
using qm::test::changedOffsets;
using qm::test::ModuleRelease;
using qm::test::readFile;
using qm::test::singleAt;
using qm::test::writeFile;

namespace {

// A Single every release has, where the tests' own tables put it.
struct Probe {
    int member;
    qint64 offset;
};
Probe probe(const ModuleRelease& r) {
    if (r.kind == ModuleKind::Vsh)
        return {static_cast<int>(VshMember::XmbX), test::known::vshOffset(r.version, "XmbX")};
    return {static_cast<int>(PafMember::MainIconSpacing),
            test::known::pafOffset(r.version, "MainIconSpacing")};
}

ModuleValues expectedValues(const ModuleRelease& r, quint32 seed) {
    return r.kind == ModuleKind::Vsh ? test::makeVsh(r.version, seed).expected
                                     : test::makePaf(r.version, seed).expected;
}

class Document : public ::testing::TestWithParam<ModuleRelease> {
protected:
    QString path(const char* name) const { return dir.filePath(QString::fromLatin1(name)); }
    QTemporaryDir dir;
};

TEST_P(Document, SavesTheBytesItReadWithTheEditInPlace) {
    const ModuleRelease r = GetParam();
    const QByteArray original = test::makeModule(r, 1).bytes;
    writeFile(path("m.prx"), original);
    doc::ModuleDocument document;
    auto opened = document.open(path("m.prx"));
    ASSERT_TRUE(opened && !opened->loadError);
    ASSERT_TRUE(document.isOpen());
    EXPECT_EQ(document.release(), (ReleaseId{r.kind, r.version}));
    EXPECT_TRUE(document.values() == expectedValues(r, 1));
    EXPECT_FALSE(document.changedOnDisk());

    // Another program replaces the file: the save still writes what was read.
    writeFile(path("m.prx"), test::makeModule(r, 2).bytes);
    EXPECT_TRUE(document.changedOnDisk());
    const Probe p = probe(r);
    document.setValue(p.member, Single::fromFloat(12.5f));
    EXPECT_TRUE(document.isModified());
    ASSERT_TRUE(document.save(path("out.prx")));

    const QByteArray written = readFile(path("out.prx"));
    for (const qint64 at : changedOffsets(original, written))
        EXPECT_TRUE(at >= p.offset && at < p.offset + 4) << at;
    EXPECT_EQ(singleAt(written, p.offset), 12.5f);
    // The document now holds the file just written.
    EXPECT_EQ(document.path(), path("out.prx"));
    EXPECT_EQ(document.image().bytes(), written);
    EXPECT_FALSE(document.isModified());
    EXPECT_FALSE(document.changedOnDisk());
    EXPECT_TRUE(document.loadedValues() == document.values());
}

TEST_P(Document, AFailedSaveKeepsTheBytesItHeldAndTheEdit) {
    const ModuleRelease r = GetParam();
    const QByteArray original = test::makeModule(r, 1).bytes;
    writeFile(path("m.prx"), original);
    doc::ModuleDocument document;
    ASSERT_TRUE(document.open(path("m.prx")));
    const Probe p = probe(r);
    document.setValue(p.member, Single::fromFloat(12.5f));

    // Nothing can be written into a folder that isn't there.
    EXPECT_FALSE(document.save(path("missing/out.prx")));
    EXPECT_EQ(document.image().bytes(), original);
    EXPECT_EQ(document.path(), path("m.prx"));
    EXPECT_TRUE(document.isModified());

    ASSERT_TRUE(document.save(path("m.prx")));
    const QByteArray written = readFile(path("m.prx"));
    EXPECT_EQ(singleAt(written, p.offset), 12.5f);
    for (const qint64 at : changedOffsets(original, written))
        EXPECT_TRUE(at >= p.offset && at < p.offset + 4) << at;
}

INSTANTIATE_TEST_SUITE_P(EveryRelease, Document, ::testing::ValuesIn(test::everyRelease()),
                         [](const auto& info) { return test::releaseName(info.param); });

TEST(DocumentFile, RefusesWhatIsNoPlainModuleAndKeepsWhatItHeld) {
    QTemporaryDir dir;
    const QString module = dir.filePath(QStringLiteral("m.prx"));
    const QString other = dir.filePath(QStringLiteral("other.bin"));
    writeFile(module, test::makeVsh(12).bytes);
    writeFile(other, QByteArray(5000, 'x'));
    doc::ModuleDocument document;
    ASSERT_TRUE(document.open(module));
    auto opened = document.open(other);
    ASSERT_TRUE(opened);
    EXPECT_EQ(opened->id.kind, FileKind::Invalid);
    EXPECT_FALSE(document.open(dir.filePath(QStringLiteral("missing.prx"))));
    EXPECT_EQ(document.path(), module);
    // A release of another length is refused too.
    EXPECT_FALSE(document.open(module, ReleaseId{ModuleKind::Vsh, 14}));
    EXPECT_EQ(document.release(), (ReleaseId{ModuleKind::Vsh, 12}));
}

TEST(DocumentFile, HoldsTextsAsTheWrittenFileStoresThem) {
    QTemporaryDir dir;
    const QString module = dir.filePath(QStringLiteral("m.prx"));
    writeFile(module, test::makeVsh(12).bytes);
    doc::ModuleDocument document;
    ASSERT_TRUE(document.open(module));
    document.setValue(static_cast<int>(VshMember::MSIconPhoto), QStringLiteral("my_custom_photo_icon"));
    ASSERT_TRUE(document.save(module));
    EXPECT_EQ(document.values().text(VshMember::MSIconPhoto), QStringLiteral("my_custom_photo"));
    const qint64 at = test::known::vshOffset(12, "MSIconPhoto");
    EXPECT_EQ(readFile(module).mid(at, 16), QByteArray("my_custom_photo\0", 16));
}

TEST(ImageJournal, RollBackPutsBackOverlappingWritesAndKeepWritesKeepsThem) {
    const QByteArray original = QByteArray::fromHex("00112233445566778899aabbccddeeff");
    ModuleImage image(original);
    image.startJournal();
    ASSERT_TRUE(image.putI32(2, 0x01020304));
    ASSERT_TRUE(image.putBytes(4, QByteArray::fromHex("a0a1a2a3")));
    ASSERT_TRUE(image.putU8(3, 0x7f));
    ASSERT_TRUE(image.putF32(12, 1.0f));
    EXPECT_FALSE(image.putI16(15, 1)); // past the end: nothing written, nothing kept
    EXPECT_EQ(image.bytes(), QByteArray::fromHex("001104 7f a0a1a2a3 8899aabb 0000803f"));
    image.rollBack();
    EXPECT_EQ(image.bytes(), original);

    image.startJournal();
    ASSERT_TRUE(image.putI16(0, -2));
    image.keepWrites();
    image.rollBack(); // no journal: nothing to take back
    EXPECT_EQ(image.bytes(), QByteArray::fromHex("feff2233445566778899aabbccddeeff"));
}

class History : public ::testing::Test {
protected:
    void SetUp() override {
        writeFile(dir.filePath(QStringLiteral("m.prx")), test::makeVsh(12).bytes);
        ASSERT_TRUE(document.open(dir.filePath(QStringLiteral("m.prx")), ReleaseId{ModuleKind::Vsh, 12}));
    }
    float single(VshMember m) const { return document.values().single(m).toFloat(); }
    void edit(VshMember m, float v, bool typing = false) {
        document.edit(static_cast<int>(m), Single::fromFloat(v), QStringLiteral("step"), typing);
    }
    QTemporaryDir dir;
    doc::EditingDocument document;
    QUndoStack& undo() { return *document.undoStack(); }
};

TEST_F(History, TypingIntoOneBoxIsOneStepUntilItIsClosed) {
    const float before = single(VshMember::ClockX);
    edit(VshMember::ClockX, 1, true);
    edit(VshMember::ClockX, 12, true);
    edit(VshMember::ClockX, 12.5, true);
    EXPECT_EQ(undo().count(), 1);
    EXPECT_TRUE(document.isModified());
    document.closeStep();
    edit(VshMember::ClockX, 3, true);
    edit(VshMember::ClockY, 4, true); // another box: another step
    EXPECT_EQ(undo().count(), 3);
    undo().undo();
    undo().undo();
    EXPECT_EQ(single(VshMember::ClockX), 12.5f);
    undo().undo();
    EXPECT_EQ(single(VshMember::ClockX), before);
    EXPECT_FALSE(document.isModified());
    undo().redo();
    EXPECT_EQ(single(VshMember::ClockX), 12.5f);
}

TEST_F(History, ALookIsOneStepAndFollowingValuesFollow) {
    ModuleValues look = document.values();
    look.setValue(VshMember::XmbX, Single::fromFloat(7));
    look.setValue(VshMember::MainIconYUnfocused, Single::fromFloat(40.25f));
    look.setValue(VshMember::MSIconMusic, QStringLiteral("music"));
    const ModuleValues before = document.values();
    document.editAll(look, QStringLiteral("Import Look"));
    EXPECT_EQ(undo().count(), 1);
    EXPECT_EQ(undo().text(0), QStringLiteral("Import Look"));
    EXPECT_EQ(single(VshMember::NetworkIconYUnfocused), 41.25f);
    EXPECT_EQ(document.values().text(VshMember::MSIconMusic), QStringLiteral("music"));
    undo().undo();
    EXPECT_TRUE(document.values() == before);
    undo().redo();
    EXPECT_EQ(single(VshMember::XmbX), 7.0f);
    EXPECT_EQ(single(VshMember::NetworkIconYUnfocused), 41.25f);
}

TEST_F(History, AnEditThatCantBeSavedCountsAsOneAndRefusesEverySave) {
    const QString file = dir.filePath(QStringLiteral("m.prx"));
    const QByteArray original = readFile(file);
    const int clockX = static_cast<int>(VshMember::ClockX);
    Error overflow = Error::of(ErrorKind::Conversion, errnum::Overflow, Reason::TextBeyondSingle);
    overflow.text = QStringLiteral("3.4028235e+381");
    document.setUnstorable(clockX, overflow.text, overflow);
    EXPECT_TRUE(document.isModified());
    EXPECT_EQ(undo().count(), 0); // the value itself is unchanged

    for (const QString& dest : {file, dir.filePath(QStringLiteral("other.prx"))}) {
        const Status saved = document.save(dest);
        ASSERT_FALSE(saved);
        EXPECT_EQ(saved.error().number, errnum::Overflow);
        EXPECT_EQ(saved.error().member, QStringLiteral("ClockX"));
    }
    EXPECT_EQ(readFile(file), original);
    EXPECT_FALSE(QFile::exists(dir.filePath(QStringLiteral("other.prx"))));

    // Typed back to a value, it is gone; what is no member of the values takes none.
    document.clearUnstorable(clockX);
    EXPECT_FALSE(document.isModified());
    document.setUnstorable(kVshMemberCount, QStringLiteral("-"), overflow);
    EXPECT_FALSE(document.isModified());

    // A save or a fresh read lets go of it with the rest of the file.
    document.setUnstorable(clockX, QStringLiteral("-"), overflow);
    ASSERT_TRUE(document.open(file, ReleaseId{ModuleKind::Vsh, 12}));
    EXPECT_FALSE(document.isModified());
    EXPECT_TRUE(document.unstorableEdits().empty());
}

TEST(LookMenuErrors, ARowShownAsErrorIsKeptListedOnceAndTheRestApplied) {
    // A 3.71 row whose category code the release can't name, carried onto a 3.8x module.
    ModuleValues source = test::makeVsh(12, 7).expected;
    MenuEntries rows = source.menu();
    rows[4].category = 0xEE;
    rows[4].state = 0xEE;
    source.setValue(VshMember::MenuEntries, rows);
    const QString json = looks::lookJson(source, QStringLiteral("look.json"));
    ASSERT_TRUE(json.contains(QStringLiteral("ERROR")));
    const looks::LookValues look = looks::readLook(json.toUtf8(), ModuleKind::Vsh);
    const ModuleValues target = test::makeVsh(14, 1).expected;

    const looks::LookApplied applied = looks::applyLook(look.values, target);
    EXPECT_TRUE(applied.refused.isEmpty()) << applied.refused.join(u'\n').toStdString();
    EXPECT_EQ(applied.values.menu().at(4), target.menu().at(4));
    EXPECT_EQ(applied.skipped.filter(QStringLiteral("MenuEntries[4]")).size(), 1);
    EXPECT_EQ(applied.values.single(VshMember::XmbX), source.single(VshMember::XmbX));
    EXPECT_EQ(applied.values.menu().at(5).icon, source.menu().at(5).icon);
}

} // namespace
