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

struct Range {
    qint64 begin, end;
    QString what;
};

// Bytes each VSH value of a release may write.
QList<Range> vshRanges(int version) {
    QList<Range> out;
    const auto add = [&](VshMember m, qint64 length) {
        if (vshHas(version, m))
            out.append({vshOffset(version, m), vshOffset(version, m) + length, QString(memberName(m))});
    };
    for (int i = 0; i < kVshMemberCount; ++i) {
        const auto m = static_cast<VshMember>(i);
        switch (m) {
        case VshMember::TextColors:
        case VshMember::ContextColors:
            add(m, 144);
            break;
        case VshMember::TextColorsSlim:
        case VshMember::ContextColorsSlim:
            add(m, 180);
            break;
        case VshMember::BmpSize:
            add(m, 2);
            break;
        case VshMember::MSIconPhoto:
        case VshMember::MSIconMusic:
        case VshMember::MSIconVideo:
        case VshMember::MSIconGame:
        case VshMember::UMDIconPhoto:
        case VshMember::UMDIconMusic:
        case VshMember::UMDIconVideo:
        case VshMember::UMDIconGame:
            add(m, 16);
            break;
        case VshMember::UpdatePath2:
            add(m, 31);
            break;
        case VshMember::UpdatePath1:
        case VshMember::UpdatePath3:
        case VshMember::RCOPath1:
        case VshMember::RCOPath2:
            add(m, 40);
            break;
        case VshMember::MenuEntries:
            add(m, 16 * ((version == 8 || version == 9 || version == 14) ? 24 : 23));
            break;
        case VshMember::FormatsEurope:
        case VshMember::FormatsUSJapan:
            add(m, version == 1 ? 52 : 54);
            break;
        default:
            add(m, 4);
        }
    }
    return out;
}

void expectDisjointAndInside(QList<Range> ranges, qint64 size) {
    std::sort(ranges.begin(), ranges.end(), [](const Range& a, const Range& b) { return a.begin < b.begin; });
    for (qsizetype i = 0; i < ranges.size(); ++i) {
        EXPECT_GT(ranges[i].begin, 0) << ranges[i].what.toStdString();
        EXPECT_LE(ranges[i].end, size) << ranges[i].what.toStdString();
        if (i > 0) {
            EXPECT_LE(ranges[i - 1].end, ranges[i].begin)
                << ranges[i - 1].what.toStdString() << " overlaps " << ranges[i].what.toStdString();
        }
    }
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

TEST(Catalogue, MissingMembersReadAsZeroForTheirReleases) {
    EXPECT_EQ(vshOffset(1, VshMember::NetworkIconYUnfocused), 0);
    EXPECT_EQ(vshOffset(1, VshMember::FocusedIconFadeOut), 0);
    EXPECT_NE(vshOffset(7, VshMember::BmpSize), 0);
    EXPECT_EQ(vshOffset(7, VshMember::MenuEntries), 0);
    EXPECT_EQ(pafOffset(1, PafMember::MainIconYUnfocused), 0);
    for (int r = 1; r <= kVshRows; ++r) {
        EXPECT_EQ(vshHas(r, VshMember::TextColorsSlim), r >= 11) << r;
        EXPECT_EQ(vshHas(r, VshMember::MenuEntries), r >= 8) << r;
        EXPECT_EQ(vshHas(r, VshMember::MSOptionIconX), r >= 12) << r;
        EXPECT_EQ(vshHas(r, VshMember::BmpSize), r >= 7) << r;
    }
}

TEST(Catalogue, SlimColourBlocksFollowTheMonthBlocks) {
    for (int r = 11; r <= kVshRows; ++r) {
        EXPECT_EQ(vshOffset(r, VshMember::TextColorsSlim), vshOffset(r, VshMember::TextColors) + 144) << r;
        EXPECT_EQ(vshOffset(r, VshMember::ContextColorsSlim), vshOffset(r, VshMember::ContextColors) + 144)
            << r;
    }
}

TEST(Catalogue, FormatBlocksAreFiftySixBytesApartExceptInTheFirstRelease) {
    for (int r = 1; r <= kVshRows; ++r)
        EXPECT_EQ(vshOffset(r, VshMember::FormatsUSJapan) - vshOffset(r, VshMember::FormatsEurope),
                  r == 1 ? 52 : 56)
            << r;
}

TEST(Catalogue, ValuesOfOneReleaseNeverOverlapAndLieInsideTheModule) {
    for (int r = 1; r <= kVshRows; ++r) {
        SCOPED_TRACE(vshRelease(r).label);
        expectDisjointAndInside(vshRanges(r), vshRelease(r).fileSize);
    }
    for (int r = 1; r <= kPafRows; ++r) {
        SCOPED_TRACE(pafRelease(r).label);
        QList<Range> ranges;
        for (int i = 0; i < kPafMemberCount; ++i)
            if (const auto m = static_cast<PafMember>(i); pafHas(r, m))
                ranges.append({pafOffset(r, m), pafOffset(r, m) + 4, QString(memberName(m))});
        expectDisjointAndInside(ranges, pafRelease(r).fileSize);
    }
}

TEST(Catalogue, MemberNamesRoundTrip) {
    for (int i = 0; i < kVshMemberCount; ++i)
        EXPECT_EQ(vshMemberByName(QString(memberName(static_cast<VshMember>(i)))), static_cast<VshMember>(i));
    for (int i = 0; i < kPafMemberCount; ++i)
        EXPECT_EQ(pafMemberByName(QString(memberName(static_cast<PafMember>(i)))), static_cast<PafMember>(i));
    EXPECT_FALSE(vshMemberByName(u"xmbx").has_value());
}

TEST(Catalogue, EachMemberHasItsShapeAndSize) {
    const struct {
        VshMember member;
        Shape shape;
        int elements;
        int maxLength;
    } cases[] = {
        {VshMember::TextColors, Shape::Colours, 12, 0},
        {VshMember::ContextColors, Shape::Colours, 12, 0},
        {VshMember::TextColorsSlim, Shape::Colours, 15, 0},
        {VshMember::ContextColorsSlim, Shape::Colours, 15, 0},
        {VshMember::XmbX, Shape::Single, 1, 0},
        {VshMember::NetworkIconYUnfocused, Shape::Single, 1, 0},
        {VshMember::AlphaMSOptionIcon, Shape::Single, 1, 0},
        {VshMember::FocusedIconFadeOut, Shape::Single, 1, 0},
        {VshMember::BmpSize, Shape::Integer, 1, 0},
        {VshMember::MSIconPhoto, Shape::Text, 1, 15},
        {VshMember::UMDIconGame, Shape::Text, 1, 15},
        {VshMember::UpdatePath1, Shape::Text, 1, 39},
        {VshMember::UpdatePath2, Shape::Text, 1, 30},
        {VshMember::UpdatePath3, Shape::Text, 1, 39},
        {VshMember::RCOPath1, Shape::Text, 1, 39},
        {VshMember::RCOPath2, Shape::Text, 1, 39},
        {VshMember::MenuEntries, Shape::Menu, 1, 0},
        {VshMember::FormatsEurope, Shape::Formats, 5, 0},
        {VshMember::FormatsUSJapan, Shape::Formats, 5, 0},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(memberName(c.member).data());
        EXPECT_EQ(shapeOf(c.member), c.shape);
        EXPECT_EQ(elementCount(c.member), c.elements);
        EXPECT_EQ(textMaxLength(c.member), c.maxLength);
    }
    // Every PAF member is a Single.
    for (int i = 0; i < kPafMemberCount; ++i)
        EXPECT_EQ(shapeOf(static_cast<PafMember>(i)), Shape::Single) << i;
    // Besides BmpSize, the 28 numbers are Singles.
    int singles = 0;
    for (int i = 0; i < kVshMemberCount; ++i)
        singles += shapeOf(static_cast<VshMember>(i)) == Shape::Single ? 1 : 0;
    EXPECT_EQ(singles, 27);
}
