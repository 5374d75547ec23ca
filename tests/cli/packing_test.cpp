#include "cli_harness.h"
#include "compression/modulekeys.h"
#include "compression/pack.h"

#include <QJsonDocument>
#include <QStandardPaths>

using namespace qm;
using namespace qm::test;

namespace {

class Packing : public CliTest {
protected:
    void SetUp() override {
        CliTest::SetUp();
        if (QStandardPaths::findExecutable(QStringLiteral("7za")).isEmpty() &&
            QStandardPaths::findExecutable(QStringLiteral("7z")).isEmpty())
            GTEST_SKIP() << "7za is not installed (apt-get install p7zip-full)";
    }
};

class Keys : public CliTest {};

} // namespace

TEST_F(Keys, ListsTheSixKeysWithTheirBytes) {
    const CliRun r = run({QStringLiteral("keys")});
    ASSERT_EQ(r.exitCode, 0);
    const QStringList expected{
        QStringLiteral("0\t3.71 / 3.80 VSH Module\tAA 6D 79 28"),
        QStringLiteral("1\t3.71 / 3.80 Kernel Module\t0E D2 8D FD"),
        QStringLiteral("2\t3.52 VSH Module\tC3 7A ED 69"),
        QStringLiteral("3\t3.52 Kernel Module\t33 D6 3A 71"),
        QStringLiteral("4\t3.51 VSH Module\tA7 CE A8 2D"),
        QStringLiteral("5\t3.51 Kernel Module\t46 2F D0 F5"),
    };
    EXPECT_EQ(r.outText().split(u'\n', Qt::SkipEmptyParts), expected);
}

TEST_F(Packing, PacksAndUnpacksThroughTheTool) {
    const QString plain = writeVsh(1, 1, QStringLiteral("vshmain.prx"));
    const QByteArray module = readFile(plain);
    const QString header = path(QStringLiteral("header.prx"));
    writeFile(header, makePacked(QByteArray(200, 'h'), 201704, "vshmain", 0xC3)); // preselects key 2
    const QString packed = path(QStringLiteral("packed.prx"));

    const CliRun p = run(
        {QStringLiteral("pack"), plain, QStringLiteral("--header"), header, QStringLiteral("-o"), packed});
    ASSERT_EQ(p.exitCode, 0) << p.err.toStdString();
    EXPECT_TRUE(p.errText().contains(QStringLiteral("key 2"))) << p.err.toStdString();
    EXPECT_TRUE(readFile(plain) == module);
    const QByteArray packedBytes = readFile(packed);
    ASSERT_GT(packedBytes.size(), 336);
    EXPECT_EQ(packedBytes.mid(0x130, 4).toHex(' ').toUpper(), QByteArray("C3 7A ED 69"));

    const CliRun id = run({QStringLiteral("identify"), QStringLiteral("--json"), packed});
    ASSERT_EQ(id.exitCode, 0);
    const QJsonObject o = QJsonDocument::fromJson(id.out).object();
    EXPECT_EQ(o[u"kind"].toString(), QStringLiteral("packed"));
    EXPECT_EQ(o[u"label"].toString(), QStringLiteral("VSHMain.prx - 1.5x"));
    EXPECT_EQ(o[u"name"].toString(), QString::fromLatin1(compression::kPackedModuleName));
    EXPECT_EQ(o[u"plain_size"].toInteger(), 201704);
    EXPECT_EQ(o[u"packed_size"].toInteger(), packedBytes.size());

    const QString unpacked = path(QStringLiteral("unpacked.prx"));
    const CliRun u = run({QStringLiteral("unpack"), packed, unpacked});
    ASSERT_EQ(u.exitCode, 0) << u.err.toStdString();
    EXPECT_TRUE(readFile(unpacked) == module);
}

TEST_F(Packing, RefusesInputsOfTheWrongKind) {
    const QString plain = writeVsh(1, 1, QStringLiteral("vshmain.prx"));
    const QByteArray module = readFile(plain);
    const QString notHeader = path(QStringLiteral("text.txt"));
    writeFile(notHeader, QByteArray(400, 'q'));
    const QString header = path(QStringLiteral("header.prx"));
    writeFile(header, makePacked(QByteArray(200, 'h'), 201704));
    const QString out = path(QStringLiteral("out.prx"));

    struct Case {
        QStringList args;
        int exitCode;
        QString message;
    };
    const Case cases[] = {
        {{QStringLiteral("unpack"), plain, out}, 2, QStringLiteral("not a packed module")},
        {{QStringLiteral("unpack"), notHeader, out}, 2, QStringLiteral("not a packed module")},
        {{QStringLiteral("unpack"), plain}, 1, QStringLiteral("unpack")},
        {{QStringLiteral("pack"), plain, QStringLiteral("--header"), notHeader},
         2,
         QStringLiteral("The header file it isn't a PRX File")},
        {{QStringLiteral("pack"), header, QStringLiteral("--header"), header},
         2,
         QStringLiteral("not a plain")},
        {{QStringLiteral("pack"), plain, QStringLiteral("--header"), header, QStringLiteral("--key"),
          QStringLiteral("6")},
         1,
         QStringLiteral("--key")},
        {{QStringLiteral("pack"), plain, QStringLiteral("--header"), header, QStringLiteral("--key=x")},
         1,
         QStringLiteral("--key")},
        {{QStringLiteral("pack"), plain}, 1, QStringLiteral("--header")},
    };
    for (const Case& c : cases) {
        const CliRun r = run(c.args);
        EXPECT_EQ(r.exitCode, c.exitCode) << c.args.join(u' ').toStdString() << "\n" << r.err.toStdString();
        EXPECT_TRUE(r.errText().contains(c.message)) << r.err.toStdString();
    }
    EXPECT_TRUE(readFile(plain) == module);
    EXPECT_FALSE(QFileInfo::exists(out));
}
