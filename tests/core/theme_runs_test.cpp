// A module's changes as a theme entry holds them: each maximal range of
// differing bytes as u32 offset (from the first segment), u32 length and the
// bytes, and the values they change named once, in the order of their first
// change, with the changed bytes no value holds.

#include "qt_printers.h"
#include "support/bytes.h"
#include "support/fixtures.h"
#include "text/errortext.h"
#include "theme/runs.h"

#include <QtEndian>

#include <gtest/gtest.h>

using namespace qm;

namespace {

struct Change {
    qint64 at;
    qint64 length;
};

// Spans laid out by hand: B lies inside A, C stands alone, D starts where C ends.
QList<theme::ValueSpan> handSpans() {
    return {{QStringLiteral("A"), 0, -1, 0x1000, 0x40},
            {QStringLiteral("B"), 1, -1, 0x1010, 0x04},
            {QStringLiteral("C"), 2, -1, 0x2000, 0x08},
            {QStringLiteral("D"), 3, -1, 0x2008, 0x08}};
}

TEST(ThemeRuns, EachRangeBecomesARunAndItsValuesAreNamedOnce) {
    const qint64 length = 0x10000;
    const QByteArray stock = test::withElfHead(test::noise(length, 3));
    const struct {
        const char* what;
        QList<Change> changes;
        QStringList values;
        qint64 outside;
    } rows[] = {
        {"inside the outer span, after the inner one", {{0x1030, 2}}, {QStringLiteral("A")}, 0},
        {"the inner span, then the outer alone",
         {{0x1010, 1}, {0x1038, 1}},
         {QStringLiteral("A"), QStringLiteral("B")},
         0},
        {"across two spans that touch", {{0x2006, 4}}, {QStringLiteral("C"), QStringLiteral("D")}, 0},
        {"a span twice, and bytes before it", {{0x1FFE, 3}, {0x2004, 1}}, {QStringLiteral("C")}, 2},
        {"no span, a word long and more", {{0x3000, 9}, {0x4001, 33}}, {}, 42},
        {"every 16th byte over two spans", {{0x2000, 1}, {0x2010, 1}, {0x2020, 1}}, {QStringLiteral("C")}, 2},
        {"the last byte", {{length - 1, 1}}, {}, 1},
    };
    for (const auto& row : rows) {
        QByteArray edited = stock;
        for (const Change& c : row.changes)
            for (qint64 i = c.at; i < c.at + c.length; ++i)
                edited[i] = static_cast<char>(~edited.at(i));
        QByteArray out("head");
        auto written = theme::writeRuns(stock, edited, handSpans(), out);
        ASSERT_TRUE(written.ok()) << row.what << ": " << text::fullText(written.error()).toStdString();
        EXPECT_EQ(written->runs, row.changes.size()) << row.what;
        EXPECT_EQ(written->values, row.values) << row.what;
        EXPECT_EQ(written->bytesOutsideValues, row.outside) << row.what;
        // The entry after what `out` held: offset from the first segment, length, bytes.
        QByteArray expected("head");
        qint64 changed = 0;
        for (const Change& c : row.changes) {
            char head[8];
            qToLittleEndian<quint32>(static_cast<quint32>(c.at - test::kFirstSegment), head);
            qToLittleEndian<quint32>(static_cast<quint32>(c.length), head + 4);
            expected += QByteArray(head, 8) + edited.mid(c.at, c.length);
            changed += c.length;
        }
        EXPECT_EQ(out, expected) << row.what;
        EXPECT_EQ(written->changedBytes, changed) << row.what;
    }
}

TEST(ThemeRuns, ARefusedRangeLeavesTheBufferAsItWas) {
    const QByteArray stock = test::withElfHead(test::noise(0x10000, 4));
    QByteArray edited = stock;
    edited[0x1010] = static_cast<char>(~edited.at(0x1010));
    edited[0x50] = static_cast<char>(~edited.at(0x50)); // in the program headers, before the first segment
    QByteArray out("head");
    auto written = theme::writeRuns(stock, edited, handSpans(), out);
    ASSERT_FALSE(written.ok());
    EXPECT_TRUE(
        text::fullText(written.error()).startsWith(QStringLiteral("The changed bytes at 0x50 lie where")))
        << text::fullText(written.error()).toStdString();
    EXPECT_EQ(out, QByteArray("head"));
    // Named when a value lies there.
    QList<theme::ValueSpan> spans = handSpans();
    spans.prepend({QStringLiteral("Early"), 4, -1, 0x48, 0x10});
    written = theme::writeRuns(stock, edited, spans, out);
    ASSERT_FALSE(written.ok());
    EXPECT_TRUE(text::fullText(written.error())
                    .startsWith(QStringLiteral("Early lies where the theme loader can't write it")));
    EXPECT_EQ(out, QByteArray("head"));
}

} // namespace
