// Packed modules in every form a user meets: gzip, encrypted, and behind a
// 64-byte "~SCE" header.

#include "cli_harness.h"

#include <QDir>
#include <QJsonDocument>
#include <QtEndian>

using namespace qm;
using namespace qm::test;

namespace {

class PackedForms : public CliTest {
protected:
    const QByteArray module = makeVsh(12).bytes; // VSHMain.prx - 3.71
    QByteArray gzipPacked() const {
        return withModuleKey(makePacked(gzip(module), static_cast<qint32>(module.size()), "vsh_module"), 0);
    }
    // What the firmware ships: a "~PSP" header and data that is no gzip stream.
    QByteArray encrypted() const {
        return makePacked(noise(60000, 31).replace(0, 1, "\x05"), static_cast<qint32>(module.size()),
                          "vsh_module");
    }
    QString write(const QString& name, const QByteArray& bytes) {
        writeFile(path(name), bytes);
        return path(name);
    }
    QStringList entries() const {
        return QDir(m_dir.path()).entryList(QDir::AllEntries | QDir::NoDotAndDotDot);
    }
};

} // namespace

TEST_F(PackedForms, IdentifiedWithTheirPacking) {
    const struct {
        QString name;
        QByteArray bytes;
        QString kind;
        QString packing; // empty: no "packing" key
        bool sce;
        QString text;
    } cases[] = {
        {QStringLiteral("gzip.prx"), gzipPacked(), QStringLiteral("packed"), QStringLiteral("gzip"), false,
         QStringLiteral(
             ": packed module vsh_module, VSHMain.prx - 3.71 (311434 bytes unpacked, %1 bytes packed)")
             .arg(gzipPacked().size())},
        {QStringLiteral("enc.prx"), encrypted(), QStringLiteral("packed"), QStringLiteral("encrypted"), false,
         QStringLiteral(
             ": encrypted packed module vsh_module, VSHMain.prx - 3.71 (311434 bytes unpacked, 60336 "
             "bytes packed)")},
        {QStringLiteral("sce.prx"), sceHeader() + gzipPacked(), QStringLiteral("packed"),
         QStringLiteral("gzip"), true,
         QStringLiteral(
             ": packed module vsh_module, VSHMain.prx - 3.71 (311434 bytes unpacked, %1 bytes packed) "
             "behind a 64-byte ~SCE header")
             .arg(gzipPacked().size())},
        {QStringLiteral("sce-enc.prx"), sceHeader() + encrypted(), QStringLiteral("packed"),
         QStringLiteral("encrypted"), true,
         QStringLiteral(
             ": encrypted packed module vsh_module, VSHMain.prx - 3.71 (311434 bytes unpacked, 60336 "
             "bytes packed) behind a 64-byte ~SCE header")},
        {QStringLiteral("plain.prx"), module, QStringLiteral("vsh"), QString(), false,
         QStringLiteral(": VSHMain.prx - 3.71 (vsh, version 12, 311434 bytes)")},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name.toStdString());
        const QString file = write(c.name, c.bytes);
        const CliRun json = run({QStringLiteral("identify"), QStringLiteral("--json"), file});
        ASSERT_EQ(json.exitCode, 0) << json.err.toStdString();
        const QJsonObject o = QJsonDocument::fromJson(json.out).object();
        EXPECT_EQ(o[u"kind"].toString(), c.kind);
        EXPECT_EQ(o.contains(u"packing"), !c.packing.isEmpty());
        EXPECT_EQ(o[u"packing"].toString(), c.packing);
        if (c.kind == u"packed") {
            EXPECT_EQ(o[u"sce_header"].toBool(), c.sce);
            EXPECT_EQ(o[u"label"].toString(), QStringLiteral("VSHMain.prx - 3.71"));
            EXPECT_EQ(o[u"name"].toString(), QStringLiteral("vsh_module"));
            EXPECT_EQ(o[u"packed_size"].toInteger(), c.bytes.size() - (c.sce ? 64 : 0));
        }
        const CliRun text = run({QStringLiteral("identify"), file});
        EXPECT_EQ(text.outText(), file + c.text + u'\n');
    }
}

TEST_F(PackedForms, EncryptedModulesAreNeitherUnpackedNorPassed) {
    for (const QByteArray& bytes : {encrypted(), sceHeader() + encrypted()}) {
        const QString file = write(QStringLiteral("enc.prx"), bytes);
        const QString out = path(QStringLiteral("out.prx"));
        const QStringList before = entries();
        const CliRun u = run({QStringLiteral("unpack"), file, out});
        EXPECT_EQ(u.exitCode, 2);
        EXPECT_TRUE(u.errText().contains(QStringLiteral("the module is encrypted"))) << u.err.toStdString();
        EXPECT_TRUE(u.errText().contains(QStringLiteral("nothing written")));
        EXPECT_EQ(entries(), before);

        const CliRun c = run({QStringLiteral("check"), file});
        EXPECT_EQ(c.exitCode, 3);
        const QString at = bytes.startsWith("~SCE") ? QStringLiteral("0x190") : QStringLiteral("0x150");
        EXPECT_TRUE(c.outText().contains(
            QStringLiteral("\n  gzip_magic   FAILED the stream at %1 starts with 05 ").arg(at)))
            << c.out.toStdString();
        EXPECT_TRUE(c.outText().contains(QStringLiteral("the module is encrypted")));
    }
}

TEST_F(PackedForms, SceWrappedModulesUnpackAndCheckAsTheModuleTheyHold) {
    const QString file = write(QStringLiteral("sce.prx"), sceHeader() + gzipPacked());
    const CliRun c = run({QStringLiteral("check"), file});
    EXPECT_EQ(c.exitCode, 0) << c.out.toStdString();
    EXPECT_TRUE(
        c.outText().contains(QStringLiteral("  signature    ok     ~PSP behind a 64-byte ~SCE header\n")));
    if (!haveArchiver())
        GTEST_SKIP() << "7za is not installed (apt-get install p7zip-full)";
    const QString out = path(QStringLiteral("plain.prx"));
    const CliRun u = run({QStringLiteral("unpack"), file, out});
    ASSERT_EQ(u.exitCode, 0) << u.err.toStdString();
    EXPECT_TRUE(readFile(out) == module);
}

TEST_F(PackedForms, PackingKeepsTheSceHeaderOfItsSource) {
    if (!haveArchiver())
        GTEST_SKIP() << "7za is not installed (apt-get install p7zip-full)";
    const QString plain = write(QStringLiteral("vshmain.prx"), module);
    const QByteArray sce = sceHeader();
    const QString header =
        write(QStringLiteral("header.prx"), sce + makePacked(QByteArray(200, 'h'), 5, "vsh", 0xC3));
    const QString packed = path(QStringLiteral("packed.prx"));
    const CliRun p = run(
        {QStringLiteral("pack"), plain, QStringLiteral("--header"), header, QStringLiteral("-o"), packed});
    ASSERT_EQ(p.exitCode, 0) << p.err.toStdString();
    EXPECT_TRUE(p.errText().contains(QStringLiteral(", behind the 64-byte ~SCE header of ") + header))
        << p.err.toStdString();
    EXPECT_TRUE(p.errText().contains(QStringLiteral("key 2"))) << p.err.toStdString();

    const QByteArray result = readFile(packed);
    ASSERT_GT(result.size(), 64 + 336);
    EXPECT_TRUE(result.first(64) == sce);
    EXPECT_TRUE(result.sliced(64, 4) == "~PSP");
    EXPECT_EQ(qFromLittleEndian<qint32>(result.constData() + 64 + 0x2C), result.size() - 64);
    EXPECT_EQ(qFromLittleEndian<qint32>(result.constData() + 64 + 0x28), module.size());

    const CliRun c = run({QStringLiteral("check"), packed});
    EXPECT_EQ(c.exitCode, 0) << c.out.toStdString();
    EXPECT_TRUE(c.outText().startsWith(packed + QStringLiteral(": every check holds\n")))
        << c.out.toStdString();
    const CliRun id = run({QStringLiteral("identify"), QStringLiteral("--json"), packed});
    EXPECT_TRUE(QJsonDocument::fromJson(id.out).object()[u"sce_header"].toBool());
    const QString unpacked = path(QStringLiteral("unpacked.prx"));
    ASSERT_EQ(run({QStringLiteral("unpack"), packed, unpacked}).exitCode, 0);
    EXPECT_TRUE(readFile(unpacked) == module);
}
