#include "prx/catalogue.h"
#include "prx/header.h"
#include "prx/menu.h"
#include "qt_printers.h"
#include "support/known_offsets.h"

#include <gtest/gtest.h>

#include <set>

using namespace qm::prx;
namespace known = qm::test::known;

namespace {

// The shape, element count and longest text of a member as the tests' table
// lays it out.
struct KnownShape {
    Shape shape;
    int elements;
    int maxLength;
};

KnownShape knownShape(const known::VshLine& line) {
    switch (line.layout) {
    case known::Layout::Single:
        return {Shape::Single, 1, 0};
    case known::Layout::Integer:
        return {Shape::Integer, 1, 0};
    case known::Layout::Text:
        return {Shape::Text, 1, line.count};
    case known::Layout::Colours:
        return {Shape::Colours, line.count, 0};
    case known::Layout::Menu:
        return {Shape::Menu, 1, 0};
    case known::Layout::Formats:
        return {Shape::Formats, line.count, 0};
    }
    return {};
}

} // namespace

// Every row holds the sizes, labels and offsets the tests keep themselves,
// member by member: a mistyped or swapped offset fails here by name.
TEST(Catalogue, EveryRowHoldsTheKnownSizesLabelsAndOffsets) {
    ASSERT_EQ(static_cast<std::size_t>(kVshMemberCount), known::vshLines().size());
    ASSERT_EQ(static_cast<std::size_t>(kPafMemberCount), known::pafLines().size());
    for (int r = 1; r <= known::kVshRows; ++r) {
        SCOPED_TRACE(known::vshRelease(r).label);
        EXPECT_EQ(vshRelease(r).fileSize, known::vshRelease(r).fileSize);
        EXPECT_STREQ(vshRelease(r).label, known::vshRelease(r).label);
        for (const known::VshLine& line : known::vshLines()) {
            const auto member = vshMemberByName(QString::fromLatin1(line.name));
            ASSERT_TRUE(member) << line.name;
            EXPECT_EQ(vshOffset(r, *member), line.at(r))
                << line.name << ", known at 0x" << QString::number(line.at(r), 16).toUpper().toStdString();
            EXPECT_EQ(vshHas(r, *member), line.in(r)) << line.name;
        }
    }
    for (int r = 1; r <= known::kPafRows; ++r) {
        SCOPED_TRACE(known::pafRelease(r).label);
        EXPECT_EQ(pafRelease(r).fileSize, known::pafRelease(r).fileSize);
        EXPECT_STREQ(pafRelease(r).label, known::pafRelease(r).label);
        for (const known::PafLine& line : known::pafLines()) {
            const auto member = pafMemberByName(QString::fromLatin1(line.name));
            ASSERT_TRUE(member) << line.name;
            EXPECT_EQ(pafOffset(r, *member), line.at(r))
                << line.name << ", known at 0x" << QString::number(line.at(r), 16).toUpper().toStdString();
            EXPECT_EQ(pafHas(r, *member), line.in(r)) << line.name;
        }
    }
}

TEST(Catalogue, SizesArePairwiseDifferentAcrossBothModules) {
    std::set<qint32> sizes;
    for (int r = 1; r <= kVshRows; ++r)
        sizes.insert(vshRelease(r).fileSize);
    for (int r = 1; r <= kPafRows; ++r)
        sizes.insert(pafRelease(r).fileSize);
    EXPECT_EQ(sizes.size(), std::size_t(kVshRows + kPafRows));
}

TEST(Catalogue, MatchesOnlyExactLengths) {
    struct Case {
        qint64 size;
        FileKind kind;
        int version;
        const char* label;
    };
    const Case cases[] = {
        {201704, FileKind::Vsh, 1, "VSHMain.prx - 1.5x"},
        {201705, FileKind::Invalid, -1, ""},
        {201703, FileKind::Invalid, -1, ""},
        {311434, FileKind::Vsh, 12, "VSHMain.prx - 3.71"},
        {311528, FileKind::Vsh, 13, "VSHMain.prx - 3.7x"},
        {344956, FileKind::Vsh, 8, "VSHMain.prx - 3.1x"},
        {353328, FileKind::Vsh, 11, "VSHMain.prx - 3.5x / 3.60"},
        {1569342, FileKind::Paf, 1, "Paf.prx - 1.5x"},
        {2256412, FileKind::Paf, 9, "Paf.prx - 3.30 / 3.40"},
        {1896458, FileKind::Paf, 12, "Paf.prx - 3.8x"},
    };
    for (const Case& c : cases) {
        const Identification id = identify(QByteArrayView(), c.size);
        EXPECT_EQ(id.kind, c.kind) << c.size;
        EXPECT_EQ(id.version, c.version) << c.size;
        EXPECT_EQ(id.label, QString::fromLatin1(c.label)) << c.size;
    }
}

TEST(Catalogue, MemberNamesRoundTrip) {
    for (int i = 0; i < kVshMemberCount; ++i)
        EXPECT_EQ(vshMemberByName(QString(memberName(static_cast<VshMember>(i)))), static_cast<VshMember>(i));
    for (int i = 0; i < kPafMemberCount; ++i)
        EXPECT_EQ(pafMemberByName(QString(memberName(static_cast<PafMember>(i)))), static_cast<PafMember>(i));
    EXPECT_FALSE(vshMemberByName(u"xmbx").has_value());
}

TEST(Catalogue, EachMemberHasTheShapeAndSizeOfTheKnownLayout) {
    for (const known::VshLine& line : known::vshLines()) {
        SCOPED_TRACE(line.name);
        const auto member = vshMemberByName(QString::fromLatin1(line.name));
        ASSERT_TRUE(member);
        const KnownShape shape = knownShape(line);
        EXPECT_EQ(shapeOf(*member), shape.shape);
        EXPECT_EQ(elementCount(*member), shape.elements);
        EXPECT_EQ(textMaxLength(*member), shape.maxLength);
    }
    for (int i = 0; i < kPafMemberCount; ++i)
        EXPECT_EQ(shapeOf(static_cast<PafMember>(i)), Shape::Single) << i;
}
