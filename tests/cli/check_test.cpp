#include "cli_harness.h"

#include <QDir>
#include <QJsonArray>
#include <QJsonDocument>

using namespace qm;
using namespace qm::test;

namespace {

class Check : public CliTest {
protected:
    // VSHMain.prx - 3.71 behind a header that agrees with it, key `key`.
    QString writePacked(const QString& name, int key = 0) {
        const QByteArray module = makeVsh(12).bytes;
        const QString file = path(name);
        writeFile(file, withModuleKey(makePacked(gzip(module), static_cast<qint32>(module.size())), key));
        return file;
    }
    QList<QJsonObject> jsonLines(const CliRun& r) const {
        QList<QJsonObject> out;
        for (const QByteArray& line : r.out.split('\n'))
            if (!line.isEmpty())
                out.append(QJsonDocument::fromJson(line).object());
        return out;
    }
    QStringList failing(const QJsonObject& file) const {
        QStringList names;
        for (const QJsonValue& c : file[u"checks"].toArray())
            if (!c[u"ok"].toBool())
                names.append(c[u"name"].toString());
        return names;
    }
};

} // namespace

TEST_F(Check, HoldsForWhatPackMakes) {
    if (!haveArchiver())
        GTEST_SKIP() << "7za is not installed (apt-get install p7zip-full)";
    const QString plain = writeVsh(12, 1, QStringLiteral("vshmain.prx"));
    const QString header = path(QStringLiteral("header.prx"));
    writeFile(header, makePacked(QByteArray(200, 'h'), 5, "vshmain", 0xC3)); // preselects key 2
    const QString packed = path(QStringLiteral("packed.prx"));
    ASSERT_EQ(
        run({QStringLiteral("pack"), plain, QStringLiteral("--header"), header, QStringLiteral("-o"), packed})
            .exitCode,
        0);

    const CliRun text = run({QStringLiteral("check"), packed});
    EXPECT_EQ(text.exitCode, 0) << text.out.toStdString();
    const QStringList lines = text.outText().split(u'\n', Qt::SkipEmptyParts);
    ASSERT_EQ(lines.size(), 1 + packedCheckNames().size());
    EXPECT_EQ(lines[0], packed + QStringLiteral(": every check holds"));
    for (qsizetype i = 0; i < packedCheckNames().size(); ++i)
        EXPECT_TRUE(lines[i + 1].startsWith(QStringLiteral("  %1 ok ").arg(packedCheckNames()[i], -12)))
            << lines[i + 1].toStdString();

    const CliRun json = run({QStringLiteral("check"), QStringLiteral("--json"), packed});
    EXPECT_EQ(json.exitCode, 0);
    const QList<QJsonObject> files = jsonLines(json);
    ASSERT_EQ(files.size(), 1);
    EXPECT_EQ(files[0][u"path"].toString(), packed);
    EXPECT_TRUE(files[0][u"ok"].toBool());
    const QJsonArray checks = files[0][u"checks"].toArray();
    ASSERT_EQ(checks.size(), packedCheckNames().size());
    for (qsizetype i = 0; i < checks.size(); ++i)
        EXPECT_EQ(checks[i][u"name"].toString(), packedCheckNames()[i]);
    EXPECT_EQ(checks[10][u"detail"].toString(), QStringLiteral("VSHMain.prx - 3.71"));
    EXPECT_EQ(checks[11][u"detail"].toString(), QStringLiteral("3.52 VSH Module"));
}

TEST_F(Check, ReportsEachFileAndNeverWrites) {
    const QString good = writePacked(QStringLiteral("good.prx"), 4);
    const QString unknownKey = path(QStringLiteral("key.prx"));
    QByteArray broken = readFile(good);
    broken.replace(0x130, 4, QByteArray("\x01\x02\x03\x04", 4));
    writeFile(unknownKey, broken);
    const QString plain = writeVsh(12);
    const QStringList before = QDir(m_dir.path()).entryList(QDir::AllEntries | QDir::NoDotAndDotDot);

    const CliRun json = run({QStringLiteral("check"), QStringLiteral("--json"), good, unknownKey, plain});
    EXPECT_EQ(json.exitCode, 3);
    const QList<QJsonObject> files = jsonLines(json);
    ASSERT_EQ(files.size(), 3);
    EXPECT_TRUE(files[0][u"ok"].toBool());
    EXPECT_EQ(failing(files[0]), QStringList());
    EXPECT_FALSE(files[1][u"ok"].toBool());
    EXPECT_EQ(failing(files[1]), QStringList{QStringLiteral("key")});
    // A plain module of a release's length, without an ELF head.
    EXPECT_EQ(failing(files[2]), QStringList{QStringLiteral("elf")});

    const CliRun text = run({QStringLiteral("check"), unknownKey});
    EXPECT_EQ(text.exitCode, 3);
    EXPECT_TRUE(text.outText().startsWith(unknownKey + QStringLiteral(": 1 of 13 checks fail\n")));
    EXPECT_TRUE(
        text.outText().contains(QStringLiteral("\n  key          FAILED unknown key (01 02 03 04)\n")))
        << text.out.toStdString();

    EXPECT_EQ(QDir(m_dir.path()).entryList(QDir::AllEntries | QDir::NoDotAndDotDot), before);
    EXPECT_TRUE(readFile(unknownKey) == broken);
}

TEST_F(Check, ExitCodes) {
    const QString good = writePacked(QStringLiteral("good.prx"));
    const QString missing = path(QStringLiteral("missing.prx"));
    const QString empty = path(QStringLiteral("empty.prx"));
    writeFile(empty, {});
    struct Case {
        QStringList args;
        int exitCode;
        qsizetype filesReported;
    };
    const Case cases[] = {
        {{QStringLiteral("check")}, 1, 0},
        {{QStringLiteral("check"), QStringLiteral("--bogus"), good}, 1, 0},
        {{QStringLiteral("check"), good}, 0, 1},
        {{QStringLiteral("check"), missing, good}, 2, 1},
        {{QStringLiteral("check"), empty, missing}, 2, 1},
        {{QStringLiteral("check"), empty}, 3, 1},
    };
    for (const Case& c : cases) {
        const CliRun r = run(c.args);
        const std::string what = c.args.join(u' ').toStdString();
        EXPECT_EQ(r.exitCode, c.exitCode) << what << "\n" << r.err.toStdString();
        EXPECT_EQ(r.outText().count(QStringLiteral(": every check holds")) +
                      r.outText().count(QStringLiteral(" checks fail")),
                  c.filesReported)
            << what;
        if (c.exitCode == 2) {
            EXPECT_TRUE(r.errText().contains(missing)) << r.err.toStdString();
        }
    }
}

TEST_F(Check, PackRefusesAResultThatFailsAndWritesNothing) {
    if (!haveArchiver())
        GTEST_SKIP() << "7za is not installed (apt-get install p7zip-full)";
    const QString plain = writeVsh(12, 1, QStringLiteral("vshmain.prx"));
    const QByteArray module = readFile(plain);
    // A header source taken for its packed size alone: the result has no "~PSP".
    QByteArray source = makePacked(QByteArray(200, 'h'), 5);
    source[1] = 'Q';
    const QString header = path(QStringLiteral("header.prx"));
    writeFile(header, source);
    const QString out = path(QStringLiteral("out.prx"));

    for (const QStringList& args : {QStringList{QStringLiteral("pack"), plain, QStringLiteral("--header"),
                                                header, QStringLiteral("-o"), out},
                                    QStringList{QStringLiteral("pack"), plain, QStringLiteral("--header"),
                                                header, QStringLiteral("--backup")}}) {
        const CliRun r = run(args);
        EXPECT_EQ(r.exitCode, 3) << r.err.toStdString();
        EXPECT_TRUE(r.errText().contains(QStringLiteral("signature: the file starts with \"~QSP\"")))
            << r.err.toStdString();
        EXPECT_TRUE(r.errText().contains(QStringLiteral("nothing written")));
    }
    EXPECT_FALSE(QFileInfo::exists(out));
    EXPECT_FALSE(QFileInfo::exists(plain + QStringLiteral(".orig")));
    EXPECT_TRUE(readFile(plain) == module);
}

// Packing writes its 23-character name over the header source's and keeps
// the rest of the field: a name left without its end is a note, never a refusal.
TEST_F(Check, AnUnendedNameIsANote) {
    if (!haveArchiver())
        GTEST_SKIP() << "7za is not installed (apt-get install p7zip-full)";
    const QString plain = writeVsh(12, 1, QStringLiteral("vshmain.prx"));
    const QString header = path(QStringLiteral("header.prx"));
    writeFile(header, makePacked(QByteArray(200, 'h'), 5, QByteArray(28, 'n')));
    const QString out = path(QStringLiteral("out.prx"));
    const CliRun p =
        run({QStringLiteral("pack"), plain, QStringLiteral("--header"), header, QStringLiteral("-o"), out});
    ASSERT_EQ(p.exitCode, 0) << p.err.toStdString();
    EXPECT_TRUE(p.errText().contains(QStringLiteral(
        "quillmark-cli: note, module_name: ModuleName (0x00A) is not ended inside its 28 bytes")))
        << p.err.toStdString();

    const CliRun text = run({QStringLiteral("check"), out});
    EXPECT_EQ(text.exitCode, 0) << text.out.toStdString();
    EXPECT_TRUE(text.outText().startsWith(out + QStringLiteral(": every check holds, 1 note\n")));
    EXPECT_TRUE(text.outText().contains(
        QStringLiteral("\n  module_name  note   ModuleName (0x00A) is not ended inside its 28 bytes\n")))
        << text.out.toStdString();

    const CliRun json = run({QStringLiteral("check"), QStringLiteral("--json"), out});
    EXPECT_EQ(json.exitCode, 0);
    const QList<QJsonObject> files = jsonLines(json);
    ASSERT_EQ(files.size(), 1);
    EXPECT_TRUE(files[0][u"ok"].toBool());
    for (const QJsonValue& c : files[0][u"checks"].toArray()) {
        const bool isName = c[u"name"].toString() == u"module_name";
        EXPECT_EQ(c[u"note"].toBool(), isName) << c[u"name"].toString().toStdString();
        EXPECT_EQ(c[u"ok"].toBool(), !isName) << c[u"name"].toString().toStdString();
    }
}

// Plain modules: a release's length, and an ELF PRX named from its module info.
TEST_F(Check, PlainModules) {
    const QString elf = path(QStringLiteral("elf.prx"));
    writeFile(elf, makeElf({}));
    const QString noElf = writeVsh(12, 1, QStringLiteral("noise.prx"));
    const QString otherLength = path(QStringLiteral("short.prx"));
    writeFile(otherLength, makeElf(ElfSpec{4096}));
    const struct {
        QString file;
        int exitCode;
        QStringList lines;
    } cases[] = {
        {elf,
         0,
         {elf + QStringLiteral(": every check holds"),
          QStringLiteral("  release      ok     VSHMain.prx - 3.71 (311434 bytes)"),
          QStringLiteral("  elf          ok     ELF PRX (32-bit, little-endian, MIPS, type 0xFFA0), module "
                         "\"sceVshMain_Module\" (module info at 0x100)")}},
        {noElf,
         3,
         {noElf + QStringLiteral(": 1 of 2 checks fail"),
          QStringLiteral("  release      ok     VSHMain.prx - 3.71 (311434 bytes)"),
          QStringLiteral(
              "  elf          FAILED no ELF header: the file starts with %1, not 7F 45 4C 46 (\"\\x7FELF\")")
              .arg(QString::fromLatin1(readFile(noElf).first(4).toHex(' ').toUpper()))}},
        {otherLength,
         3,
         {otherLength + QStringLiteral(": 1 of 2 checks fail"),
          QStringLiteral("  release      FAILED 4096 bytes is the length of no known release"),
          QStringLiteral("  elf          ok     ELF PRX (32-bit, little-endian, MIPS, type 0xFFA0), module "
                         "\"sceVshMain_Module\" (module info at 0x100)")}},
    };
    for (const auto& c : cases) {
        const CliRun r = run({QStringLiteral("check"), c.file});
        EXPECT_EQ(r.exitCode, c.exitCode) << r.out.toStdString();
        EXPECT_EQ(r.outText().split(u'\n', Qt::SkipEmptyParts), c.lines);
    }
}
