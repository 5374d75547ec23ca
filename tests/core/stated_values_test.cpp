// Every release's synthetic module, loaded as a user would, shows each value
// the fixture wrote at the tests' own offsets: same names, same texts, same
// order. A wrong offset in the catalogue shows up here by the value's name.

#include "looks/look.h"
#include "prx/moduleimage.h"
#include "prx/valueio.h"
#include "qt_printers.h"
#include "support/fixtures.h"
#include "text/errortext.h"

#include <gtest/gtest.h>

using namespace qm;
using namespace qm::test;

namespace {

struct Shown {
    QString name;
    QString text;
};

// The one place that asks the code under test: load the bytes and list the
// values the way a dump shows them.
QList<Shown> shownAfterLoad(prx::ModuleKind kind, int version, const QByteArray& bytes) {
    auto module = prx::loadValues(prx::ModuleImage(bytes), prx::ReleaseId{kind, version});
    if (!module) {
        ADD_FAILURE() << text::fullText(module.error()).toStdString();
        return {};
    }
    QList<Shown> out;
    for (const prx::MemberInfo& member : prx::members(kind))
        for (const looks::ShownValue& value : looks::shownValues(*module, member))
            out.append({value.name, value.text});
    return out;
}

std::string where(const StatedValue& v) {
    return v.name.toStdString() + " (" + std::to_string(v.length) + " bytes at 0x" +
           QString::number(v.offset, 16).toUpper().toStdString() + ")";
}

class StatedValues : public ::testing::TestWithParam<ModuleRelease> {};

} // namespace

TEST_P(StatedValues, LoadShowsEveryValueWhereTheFixtureWroteIt) {
    for (const quint32 seed : {1u, 6u}) {
        SCOPED_TRACE("seed " + std::to_string(seed));
        const ModuleFixture f = makeModule(GetParam(), seed);
        const QList<StatedValue>& stated = f.stated;
        const QList<Shown> shown = shownAfterLoad(GetParam().kind, GetParam().version, f.bytes);
        ASSERT_FALSE(stated.isEmpty());

        const qsizetype n = std::min(stated.size(), shown.size());
        for (qsizetype i = 0; i < n; ++i) {
            ASSERT_EQ(shown[i].name, stated[i].name) << "value " << i << " of the dump";
            EXPECT_EQ(shown[i].text, stated[i].text) << where(stated[i]);
        }
        for (qsizetype i = n; i < stated.size(); ++i)
            ADD_FAILURE() << "not shown: " << where(stated[i]);
        for (qsizetype i = n; i < shown.size(); ++i)
            ADD_FAILURE() << "shown but never written: " << shown[i].name.toStdString();
    }
}

// The tests' own table and layouts: every stated value lies inside the module
// and no two share a byte (a menu row's order is its icon code, so it is left out).
TEST_P(StatedValues, FixtureValuesLieApartInsideTheModule) {
    const ModuleFixture f = makeModule(GetParam());
    QList<StatedValue> stated = f.stated;
    stated.removeIf([](const StatedValue& v) { return v.name.endsWith(u".order"); });
    std::sort(stated.begin(), stated.end(),
              [](const StatedValue& a, const StatedValue& b) { return a.offset < b.offset; });
    for (qsizetype i = 0; i < stated.size(); ++i) {
        EXPECT_GT(stated[i].offset, 0) << where(stated[i]);
        EXPECT_LE(stated[i].offset + stated[i].length, f.bytes.size()) << where(stated[i]);
        if (i > 0) {
            EXPECT_LE(stated[i - 1].offset + stated[i - 1].length, stated[i].offset)
                << where(stated[i - 1]) << " overlaps " << where(stated[i]);
        }
    }
}

INSTANTIATE_TEST_SUITE_P(AllReleases, StatedValues, ::testing::ValuesIn(everyRelease()),
                         [](const auto& info) { return releaseName(info.param); });
