// Packing and unpacking modules with the real archiver, and what happens to
// the user's files when something goes wrong.

#include "compression/archiver.h"
#include "compression/modulekeys.h"
#include "compression/pack.h"
#include "compression/unpack.h"
#include "prx/header.h"
#include "qt_printers.h"
#include "support/environment.h"
#include "support/fixtures.h"
#include "text/errortext.h"

#include <QDir>
#include <QDirIterator>
#include <QFile>
#include <QFileInfo>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QtEndian>

#include <gtest/gtest.h>

#include <zlib.h>

#include <optional>
#include <set>

using namespace qm;
using namespace qm::compression;
using qm::test::EnvGuard;
using qm::test::gzip;
using qm::test::noise;
using qm::test::programFile;
using qm::test::readFile;
using qm::test::writeFile;
using qm::test::writeStandIn;

namespace {

class CurrentDirGuard {
public:
    explicit CurrentDirGuard(const QString& dir) : m_old(QDir::currentPath()) { QDir::setCurrent(dir); }
    ~CurrentDirGuard() { QDir::setCurrent(m_old); }
    CurrentDirGuard(const CurrentDirGuard&) = delete;
    CurrentDirGuard& operator=(const CurrentDirGuard&) = delete;

private:
    QString m_old;
};

// Some KiB that compress well in places and not at all in others.
QByteArray smallModule(quint32 seed = 1) {
    return noise(3000, seed) + QByteArray("ELF text and tables ").repeated(150) + QByteArray(1000, '\0');
}

QByteArray gunzip(const QByteArray& stream) {
    z_stream zs{};
    EXPECT_EQ(inflateInit2(&zs, 16 + MAX_WBITS), Z_OK);
    zs.next_in = reinterpret_cast<Bytef*>(const_cast<char*>(stream.constData()));
    zs.avail_in = static_cast<uInt>(stream.size());
    QByteArray out;
    QByteArray buffer(64 * 1024, '\0');
    int rc = Z_OK;
    while (rc == Z_OK) {
        zs.next_out = reinterpret_cast<Bytef*>(buffer.data());
        zs.avail_out = static_cast<uInt>(buffer.size());
        rc = inflate(&zs, Z_NO_FLUSH);
        out.append(buffer.constData(), buffer.size() - zs.avail_out);
    }
    EXPECT_EQ(rc, Z_STREAM_END);
    EXPECT_EQ(zs.avail_in, 0u);
    inflateEnd(&zs);
    return out;
}

qint32 le32(const QByteArray& bytes, qint64 at) {
    return qFromLittleEndian<qint32>(bytes.constData() + at);
}

// Every file and folder under `dir`, relative to it.
std::set<QString> tree(const QString& dir) {
    std::set<QString> out;
    QDirIterator it(dir, QDir::AllEntries | QDir::NoDotAndDotDot | QDir::Hidden | QDir::System,
                    QDirIterator::Subdirectories);
    while (it.hasNext())
        out.insert(QDir(dir).relativeFilePath(it.next()));
    return out;
}

std::string errorText(const Error& e) {
    return text::fullText(e).toStdString();
}

// A private tree per test: a working folder without an archiver of its own
// (so the one on PATH is used), a folder for the user's files, and a folder
// that stands in for the system's temporary folder.
class Sandbox : public ::testing::Test {
protected:
    void SetUp() override {
        if (QStandardPaths::findExecutable(QStringLiteral("7za")).isEmpty())
            GTEST_SKIP() << "7za is not installed (apt-get install p7zip-full)";
        ASSERT_TRUE(m_root.isValid());
        work = path(QStringLiteral("work/"));
        files = path(QStringLiteral("files/"));
        temp = path(QStringLiteral("tmp/"));
        ASSERT_TRUE(QDir().mkpath(work) && QDir().mkpath(files) && QDir().mkpath(temp));
        m_tmpdir.emplace("TMPDIR", QFile::encodeName(temp));
#ifdef Q_OS_WIN
        m_tmp.emplace("TMP", QFile::encodeName(QDir::toNativeSeparators(temp)));
        m_temp.emplace("TEMP", QFile::encodeName(QDir::toNativeSeparators(temp)));
#endif
    }
    void TearDown() override {
        // Nothing is left in the temporary folder, whatever the outcome.
        if (!temp.isEmpty()) {
            EXPECT_TRUE(tree(temp).empty());
        }
        m_temp.reset();
        m_tmp.reset();
        m_tmpdir.reset();
    }

    QString path(const QString& relative) const {
        return m_root.path() + QLatin1Char('/') + relative;
    }
    QString file(const QString& name) const {
        return files + name;
    }

    // A header source: a packed module whose header bytes are all distinct
    // from what packing writes, with a payload behind it.
    QByteArray headerSource(quint8 keyByte = 0xAA) const {
        QByteArray h = test::makePacked(noise(700, 9), 4321, "paf", keyByte);
        for (int i = 0x021; i <= 0x025; ++i)
            h[i] = static_cast<char>(0xC0 + i - 0x021);
        return h;
    }

    QString work, files, temp;

private:
    QTemporaryDir m_root;
    std::optional<EnvGuard> m_tmpdir, m_tmp, m_temp;
};

using CompressRoundTrip = Sandbox;
using PackModule = Sandbox;
using UnpackModule = Sandbox;
using ArchiverFailure = Sandbox;

template <typename Progress> bool ascending(const QList<Progress>& seen) {
    for (qsizetype i = 1; i < seen.size(); ++i) {
        const auto& a = seen[i - 1];
        const auto& b = seen[i];
        if (b.stage < a.stage || (b.stage == a.stage && b.fraction < a.fraction))
            return false;
    }
    for (const auto& p : seen)
        if (p.fraction < 0.0 || p.fraction > 1.0)
            return false;
    return true;
}

} // namespace

TEST_F(CompressRoundTrip, GivesBackTheModuleByteForByte) {
    struct Row {
        const char* what;
        QByteArray module;
    };
    const Row rows[] = {
        {"small module", smallModule()},
        {"VSH 1.5x", test::makeVsh(1).bytes},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.what);
        const QString plain = file(QStringLiteral("vshmain.prx"));
        const QString header = file(QStringLiteral("header.prx"));
        const QString packed = file(QStringLiteral("packed.prx"));
        const QString back = file(QStringLiteral("unpacked.prx"));
        writeFile(plain, row.module);
        writeFile(header, headerSource());

        QList<PackProgress> packSeen;
        auto pack =
            packModule(plain, header, 0, packed, work, [&](const PackProgress& p) { packSeen.append(p); });
        ASSERT_TRUE(pack) << errorText(pack.error());
        EXPECT_EQ(pack->plainSize, row.module.size());
        EXPECT_EQ(pack->packedSize, QFileInfo(packed).size());
        EXPECT_EQ(pack->packedSize, prx::kPspHeaderSize + pack->gzipSize);
        EXPECT_TRUE(readFile(plain) == row.module);

        QList<UnpackProgress> unpackSeen;
        auto unpack =
            unpackModule(packed, back, work, [&](const UnpackProgress& p) { unpackSeen.append(p); });
        ASSERT_TRUE(unpack) << errorText(unpack.error());
        EXPECT_TRUE(readFile(back) == row.module);
        EXPECT_EQ(unpack->plainSize, row.module.size());
        EXPECT_EQ(unpack->gzipSize, pack->gzipSize);
        EXPECT_EQ(unpack->packedSize, pack->packedSize);

        EXPECT_TRUE(ascending(packSeen));
        ASSERT_FALSE(packSeen.isEmpty());
        EXPECT_EQ(packSeen.front().stage, PackStage::ReadingHeader);
        EXPECT_EQ(packSeen.back().stage, PackStage::Writing);
        EXPECT_EQ(packSeen.back().fraction, 1.0);
        EXPECT_TRUE(ascending(unpackSeen));
        ASSERT_FALSE(unpackSeen.isEmpty());
        EXPECT_EQ(unpackSeen.front().stage, UnpackStage::ReadingPacked);
        EXPECT_EQ(unpackSeen.back().stage, UnpackStage::Writing);
        EXPECT_EQ(unpackSeen.back().fraction, 1.0);
        EXPECT_EQ(tree(work), std::set<QString>{});
    }
}

TEST_F(CompressRoundTrip, ReplacesTheModuleAndThePackedFileInPlace) {
    const QByteArray module = smallModule(5);
    const QString prx = file(QStringLiteral("vshmain.prx"));
    const QString header = file(QStringLiteral("header.prx"));
    writeFile(prx, module);
    writeFile(header, headerSource());

    auto pack = packModule(prx, header, 3, prx, work);
    ASSERT_TRUE(pack) << errorText(pack.error());
    const QByteArray packed = readFile(prx);
    EXPECT_EQ(packed.size(), pack->packedSize);
    EXPECT_TRUE(gunzip(packed.mid(prx::kPspHeaderSize)) == module);

    auto unpack = unpackModule(prx, prx, work);
    ASSERT_TRUE(unpack) << errorText(unpack.error());
    EXPECT_TRUE(readFile(prx) == module);
    EXPECT_EQ(tree(files), (std::set<QString>{QStringLiteral("vshmain.prx"), QStringLiteral("header.prx")}));
}

TEST_F(PackModule, WritesTheHeaderFieldsForEveryKey) {
    const QByteArray module = smallModule(2);
    const QByteArray source = headerSource(0x00);
    const QString plain = file(QStringLiteral("paf.prx"));
    const QString header = file(QStringLiteral("header.prx"));
    writeFile(plain, module);
    writeFile(header, source);

    std::set<qint64> patched;
    const auto mark = [&](qint64 from, qint64 length) {
        for (qint64 i = from; i < from + length; ++i)
            patched.insert(i);
    };
    mark(prx::kOffModuleKey, 4);
    mark(prx::kOffModuleName, 23);
    mark(prx::kOffPlainSize, 4);
    mark(prx::kOffPackedSize, 4);
    mark(prx::kOffGzipSize, 4);

    for (int key = 0; key < static_cast<int>(kModuleKeys.size()); ++key) {
        SCOPED_TRACE(kModuleKeys[static_cast<std::size_t>(key)].name);
        const QString out = file(QStringLiteral("packed%1.prx").arg(key));
        auto pack = packModule(plain, header, key, out, work);
        ASSERT_TRUE(pack) << errorText(pack.error());
        EXPECT_EQ(pack->key, key);
        const QByteArray packed = readFile(out);
        const qint64 g = pack->gzipSize;
        ASSERT_EQ(packed.size(), prx::kPspHeaderSize + g);
        EXPECT_EQ(le32(packed, prx::kOffGzipSize), g);
        EXPECT_EQ(le32(packed, prx::kOffPackedSize), prx::kPspHeaderSize + g);
        EXPECT_EQ(le32(packed, prx::kOffPlainSize), module.size());
        for (int i = 0; i < 4; ++i)
            EXPECT_EQ(static_cast<quint8>(packed.at(prx::kOffModuleKey + i)),
                      kModuleKeys[static_cast<std::size_t>(key)].bytes[static_cast<std::size_t>(i)]);
        EXPECT_EQ(packed.mid(prx::kOffModuleName, 23), kPackedModuleName);
        EXPECT_EQ(packed.mid(0x021, 5), source.mid(0x021, 5)); // no terminator written
        for (qint64 i = 0; i < prx::kPspHeaderSize; ++i)
            if (!patched.count(i)) {
                EXPECT_EQ(packed.at(i), source.at(i)) << "header byte 0x" << std::hex << i;
            }
        // Behind the header is the stream of the module, nothing of the source.
        EXPECT_TRUE(gunzip(packed.mid(prx::kPspHeaderSize)) == module);
        EXPECT_EQ(prx::identify(packed, packed.size()).kind, prx::FileKind::Packed);
        EXPECT_EQ(*preselectedKeyOfFile(out), key);
    }
    EXPECT_TRUE(readFile(header) == source);
    EXPECT_TRUE(readFile(plain) == module);
}

TEST_F(PackModule, RefusesBadInputsAndWritesNothing) {
    struct Row {
        const char* what;
        QByteArray module;                // empty: no module file unless moduleIsEmpty
        bool moduleIsEmpty;               // an existing file of 0 bytes
        std::optional<QByteArray> header; // nullopt: no header file
        bool headerIsFolder;
        int key;
        ErrorKind kind;
    };
    const QByteArray m = smallModule();
    const QByteArray h = headerSource();
    const Row rows[] = {
        {"header source of 335 bytes", m, false, h.left(335), false, 0, ErrorKind::NotModule},
        {"empty header source", m, false, QByteArray(), false, 0, ErrorKind::NotModule},
        {"missing header source", m, false, std::nullopt, false, 0, ErrorKind::Io},
        {"header source is a folder", m, false, std::nullopt, true, 0, ErrorKind::Io},
        {"missing module", QByteArray(), false, h, false, 0, ErrorKind::Io},
        {"empty module", QByteArray(), true, h, false, 0, ErrorKind::NotModule},
        {"key -1", m, false, h, false, -1, ErrorKind::Conversion},
        {"key 6", m, false, h, false, 6, ErrorKind::Conversion},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.what);
        QTemporaryDir dir(files + QStringLiteral("case-XXXXXX"));
        const QString plain = dir.filePath(QStringLiteral("vshmain.prx"));
        const QString header = dir.filePath(QStringLiteral("header.prx"));
        if (!row.module.isEmpty() || row.moduleIsEmpty)
            writeFile(plain, row.module);
        if (row.header)
            writeFile(header, *row.header);
        if (row.headerIsFolder) {
            ASSERT_TRUE(QDir().mkpath(header));
        }
        const QString existing = dir.filePath(QStringLiteral("existing.prx"));
        writeFile(existing, "old content");
        const std::set<QString> before = tree(dir.path());

        for (const QString& out : {existing, dir.filePath(QStringLiteral("new.prx")), plain}) {
            auto pack = packModule(plain, header, row.key, out, work);
            ASSERT_FALSE(pack);
            EXPECT_EQ(pack.error().kind, row.kind) << errorText(pack.error());
        }
        EXPECT_EQ(tree(dir.path()), before);
        EXPECT_EQ(readFile(existing), QByteArray("old content"));
        if (!row.module.isEmpty()) {
            EXPECT_TRUE(readFile(plain) == row.module);
        }
    }
}

TEST_F(PackModule, PreselectsTheKeyFromTheHeaderSource) {
    struct Row {
        quint8 byte;
        int key;
    };
    QList<Row> rows;
    for (std::size_t i = 0; i < kModuleKeys.size(); ++i)
        rows.append({kModuleKeys[i].bytes[0], static_cast<int>(i)});
    rows.append({0x00, 0});
    rows.append({0xFF, 0});
    rows.append({kModuleKeys[2].bytes[1], 0}); // a later byte of a key does not count
    for (const Row& row : rows) {
        SCOPED_TRACE(static_cast<int>(row.byte));
        QByteArray header = headerSource(row.byte).left(prx::kPspHeaderSize);
        EXPECT_EQ(preselectedKey(header), row.key);
        const QString path = file(QStringLiteral("header.prx"));
        writeFile(path, header);
        auto key = preselectedKeyOfFile(path);
        ASSERT_TRUE(key) << errorText(key.error());
        EXPECT_EQ(*key, row.key);
    }

    struct Bad {
        const char* what;
        std::optional<QByteArray> bytes; // nullopt: a folder
        ErrorKind kind;
    };
    const Bad bad[] = {
        {"335 bytes", headerSource().left(335), ErrorKind::NotModule},
        {"empty", QByteArray(), ErrorKind::NotModule},
        {"a folder", std::nullopt, ErrorKind::Io},
    };
    for (const Bad& b : bad) {
        SCOPED_TRACE(b.what);
        const QString path = file(QStringLiteral("bad-%1").arg(QString::fromLatin1(b.what)));
        if (b.bytes) {
            writeFile(path, *b.bytes);
        } else {
            ASSERT_TRUE(QDir().mkpath(path));
        }
        auto key = preselectedKeyOfFile(path);
        ASSERT_FALSE(key);
        EXPECT_EQ(key.error().kind, b.kind);
    }
    auto missing = preselectedKeyOfFile(file(QStringLiteral("missing.prx")));
    ASSERT_FALSE(missing);
    EXPECT_EQ(missing.error().kind, ErrorKind::Io);
}

TEST_F(UnpackModule, IgnoresHeaderFieldsThatDisagreeWithThePayload) {
    struct Row {
        const char* what;
        qint64 offset;
        QByteArray bytes;
    };
    const Row rows[] = {
        {"plain size 0", prx::kOffPlainSize, QByteArray(4, '\0')},
        {"plain size huge", prx::kOffPlainSize, QByteArray("\xff\xff\xff\x7f", 4)},
        {"packed size 1", prx::kOffPackedSize, QByteArray("\x01\0\0\0", 4)},
        {"gzip size 5", prx::kOffGzipSize, QByteArray("\x05\0\0\0", 4)},
        {"gzip size negative", prx::kOffGzipSize, QByteArray("\xff\xff\xff\xff", 4)},
        {"no signature", 0, QByteArray("XXXX", 4)},
    };
    const QByteArray module = smallModule(3);
    const QByteArray packed = test::makePacked(gzip(module), static_cast<qint32>(module.size()));
    for (const Row& row : rows) {
        SCOPED_TRACE(row.what);
        QByteArray bent = packed;
        bent.replace(row.offset, row.bytes.size(), row.bytes);
        const QString in = file(QStringLiteral("packed.prx"));
        const QString out = file(QStringLiteral("plain.prx"));
        writeFile(in, bent);
        auto unpack = unpackModule(in, out, work);
        ASSERT_TRUE(unpack) << errorText(unpack.error());
        EXPECT_TRUE(readFile(out) == module);
        EXPECT_EQ(unpack->gzipSize, packed.size() - prx::kPspHeaderSize);
        EXPECT_TRUE(readFile(in) == bent);
    }
}

TEST_F(UnpackModule, FailsWithoutTouchingTheOutput) {
    struct Row {
        const char* what;
        QByteArray bytes;
        ErrorKind kind;
    };
    const QByteArray stream = gzip(smallModule(4));
    const Row rows[] = {
        {"empty file", QByteArray(), ErrorKind::NotModule},
        {"header only", test::makePacked({}, 0), ErrorKind::NotModule},
        {"100 bytes", noise(100, 1), ErrorKind::NotModule},
        {"not gzip", test::makePacked(noise(5000, 2), 5000), ErrorKind::Archiver},
        {"truncated stream", test::makePacked(stream.left(stream.size() / 2), 0), ErrorKind::Archiver},
        {"empty module in the stream", test::makePacked(gzip(QByteArray()), 0), ErrorKind::Archiver},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.what);
        const QString in = file(QStringLiteral("in.prx"));
        const QString existing = file(QStringLiteral("existing.prx"));
        const QString fresh = file(QStringLiteral("fresh.prx"));
        writeFile(in, row.bytes);
        writeFile(existing, "old content");
        for (const QString& out : {existing, fresh, in}) {
            auto unpack = unpackModule(in, out, work);
            ASSERT_FALSE(unpack);
            EXPECT_EQ(unpack.error().kind, row.kind) << errorText(unpack.error());
        }
        EXPECT_EQ(readFile(existing), QByteArray("old content"));
        EXPECT_FALSE(QFileInfo::exists(fresh));
        EXPECT_TRUE(readFile(in) == row.bytes);
        EXPECT_EQ(tree(work), std::set<QString>{});
    }
    for (const QString& in : {file(QStringLiteral("missing.prx")), files}) {
        auto unpack = unpackModule(in, file(QStringLiteral("fresh.prx")), work);
        ASSERT_FALSE(unpack);
        EXPECT_EQ(unpack.error().kind, ErrorKind::Io);
    }
}

TEST_F(UnpackModule, StopsAnOversizedStreamAndWritesNothing) {
    // 65 MiB of zeros: a stream of some KiB that unpacks past the limit.
    const QByteArray packed = test::makePacked(gzip(QByteArray(1024 * 1024, '\0'), {}, 65), 0);
    ASSERT_LT(packed.size(), 1024 * 1024);
    const QString in = file(QStringLiteral("bomb.prx"));
    const QString existing = file(QStringLiteral("existing.prx"));
    writeFile(in, packed);
    writeFile(existing, "old content");
    for (const QString& out : {existing, file(QStringLiteral("fresh.prx"))}) {
        auto unpack = unpackModule(in, out, work);
        ASSERT_FALSE(unpack);
        EXPECT_EQ(unpack.error().kind, ErrorKind::NotModule) << errorText(unpack.error());
    }
    EXPECT_EQ(readFile(existing), QByteArray("old content"));
    EXPECT_EQ(tree(files), (std::set<QString>{QStringLiteral("bomb.prx"), QStringLiteral("existing.prx")}));
}

TEST_F(UnpackModule, NeverUsesTheNameStoredInTheStream) {
    // The current folder and the working folder sit deep in the sandbox, so
    // a stored name that climbs out of either still lands inside it.
    const QString cwd = path(QStringLiteral("a/b/c"));
    const QString deepWork = path(QStringLiteral("a/b/work"));
    ASSERT_TRUE(QDir().mkpath(cwd) && QDir().mkpath(deepWork));
    const QString absolute = path(QStringLiteral("abs/evil.txt"));
    ASSERT_TRUE(QDir().mkpath(path(QStringLiteral("abs"))));
    CurrentDirGuard inCwd(cwd);

    const QByteArray module = smallModule(6);
    const QByteArray names[] = {"../../evil.txt", "../evil.txt", QFile::encodeName(absolute), "evil.txt",
                                "PRXUnpack"};
    for (const QByteArray& name : names) {
        SCOPED_TRACE(name.toStdString());
        const QString in = file(QStringLiteral("packed.prx"));
        const QString out = file(QStringLiteral("plain.prx"));
        writeFile(in, test::makePacked(gzip(module, name), static_cast<qint32>(module.size())));
        QFile::remove(out);
        const std::set<QString> before = tree(path(QString()));

        auto unpack = unpackModule(in, out, deepWork);
        ASSERT_TRUE(unpack) << errorText(unpack.error());
        EXPECT_TRUE(readFile(out) == module);
        std::set<QString> after = tree(path(QString()));
        after.erase(QStringLiteral("files/plain.prx"));
        EXPECT_EQ(after, before);
        EXPECT_FALSE(QFileInfo::exists(absolute));
    }
}

TEST_F(CompressRoundTrip, HandlesHostilePaths) {
#ifdef Q_OS_WIN
    // A Windows file name can't hold '"'.
    const QString hostile = QStringLiteral("a ^q^ & b %PATH% $HOME ; `id` 'x' Тема");
#else
    const QString hostile = QStringLiteral("a \"q\" & b %PATH% $HOME ; `id` 'x'");
#endif
    const QString dir = path(hostile + QStringLiteral("/") + hostile + QStringLiteral(" files/"));
    const QString ownWork = path(hostile + QStringLiteral(" work/"));
    ASSERT_TRUE(QDir().mkpath(dir) && QDir().mkpath(ownWork));
    // The archiver itself (the stand-in, which gzips as 7za does) is started
    // from a hostile path too.
    const QString archiver = writeStandIn(ownWork + QStringLiteral("7za"), {});
    ASSERT_EQ(*findArchiver(ownWork), archiver);

    const QByteArray module = smallModule(7);
#ifdef Q_OS_WIN
    const QString plain = dir + QStringLiteral("vsh ^main^ & 100% $x; `y`.prx");
    const QString header = dir + QStringLiteral("head & ^er^ ;$(id).prx");
    const QString back = dir + QStringLiteral("back '' & ;.prx");
#else
    const QString plain = dir + QStringLiteral("vsh \"main\" & 100% $x; `y`.prx");
    const QString header = dir + QStringLiteral("head & \"er\" ;$(id).prx");
    const QString back = dir + QStringLiteral("back \"\" & ;.prx");
#endif
    const QString packed = dir + QStringLiteral("packed %TEMP% 'q' $.prx");
    writeFile(plain, module);
    writeFile(header, headerSource());

    auto pack = packModule(plain, header, 1, packed, ownWork);
    ASSERT_TRUE(pack) << errorText(pack.error());
    auto unpack = unpackModule(packed, back, ownWork);
    ASSERT_TRUE(unpack) << errorText(unpack.error());
    EXPECT_TRUE(readFile(back) == module);
    EXPECT_EQ(tree(dir), (std::set<QString>{QFileInfo(plain).fileName(), QFileInfo(header).fileName(),
                                            QFileInfo(packed).fileName(), QFileInfo(back).fileName()}));
    EXPECT_EQ(tree(ownWork), std::set<QString>{QFileInfo(archiver).fileName()});
}

TEST_F(ArchiverFailure, LeavesEveryUserFileAsItWas) {
    struct Row {
        const char* what;
        QByteArray script;
        bool pack, unpack;
    };
    const Row rows[] = {
        {"exits 2 at once", "exit 2", true, true},
        {"reads everything, exits 2", "drain\nexit 2", true, true},
        {"writes some output, exits 1", "head 100\nexit 1", true, true},
        {"crashes", "crash", true, true},
        {"succeeds without output", "drain\nexit 0", true, true},
        {"echoes the module instead of gzip", "cat", true, false},
        {"gzips something else", "drain\ngzip", true, false},
        {"truncates the stream", "gzip 200", true, false},
        {"appends junk to the stream", "gzip\nout junk", true, false},
    };
    const QByteArray module = smallModule(8);
    const QByteArray packedBytes = test::makePacked(gzip(module), static_cast<qint32>(module.size()));
    const QString plain = file(QStringLiteral("vshmain.prx"));
    const QString header = file(QStringLiteral("header.prx"));
    const QString packed = file(QStringLiteral("packed.prx"));
    const QString existing = file(QStringLiteral("existing.prx"));
    const QString fresh = file(QStringLiteral("fresh.prx"));
    writeFile(plain, module);
    writeFile(header, headerSource());
    writeFile(packed, packedBytes);
    writeFile(existing, "old content");
    const std::set<QString> filesBefore = tree(files);

    for (const Row& row : rows) {
        SCOPED_TRACE(row.what);
        const QString archiver = writeStandIn(work + QStringLiteral("7za"), row.script);
        for (const QString& out : {existing, fresh, plain}) {
            if (row.pack) {
                auto pack = packModule(plain, header, 0, out, work);
                ASSERT_FALSE(pack);
                EXPECT_EQ(pack.error().kind, ErrorKind::Archiver) << errorText(pack.error());
            }
        }
        for (const QString& out : {existing, fresh, packed}) {
            if (row.unpack) {
                auto unpack = unpackModule(packed, out, work);
                ASSERT_FALSE(unpack);
                EXPECT_EQ(unpack.error().kind, ErrorKind::Archiver) << errorText(unpack.error());
            }
        }
        EXPECT_EQ(tree(files), filesBefore);
        EXPECT_TRUE(readFile(plain) == module);
        EXPECT_TRUE(readFile(packed) == packedBytes);
        EXPECT_EQ(readFile(existing), QByteArray("old content"));
        EXPECT_EQ(tree(work),
                  (std::set<QString>{QFileInfo(archiver).fileName(), QStringLiteral("7za.steps")}));
    }
}

TEST_F(ArchiverFailure, ExplainsWhatFailed) {
    writeStandIn(work + QStringLiteral("7za"), "err ERROR: Can not open the file as archive\\n\nexit 2");
    const QString packed = file(QStringLiteral("packed.prx"));
    writeFile(packed, test::makePacked(noise(100, 3), 100));
    auto unpack = unpackModule(packed, file(QStringLiteral("out.prx")), work);
    ASSERT_FALSE(unpack);
    EXPECT_EQ(unpack.error().number, errnum::ArchiverFailed);
    EXPECT_TRUE(unpack.error().detail.contains(QStringLiteral("code 2")));
    EXPECT_TRUE(unpack.error().detail.contains(QStringLiteral("Can not open the file as archive")));
}

TEST_F(ArchiverFailure, MissingArchiverNamesThePackage) {
    const QString emptyBin = path(QStringLiteral("bin"));
    ASSERT_TRUE(QDir().mkpath(emptyBin));
    const QString plain = file(QStringLiteral("vshmain.prx"));
    const QString header = file(QStringLiteral("header.prx"));
    const QString packed = file(QStringLiteral("packed.prx"));
    writeFile(plain, smallModule());
    writeFile(header, headerSource());
    writeFile(packed, test::makePacked(gzip(smallModule()), 0));
    const std::set<QString> before = tree(files);

    EnvGuard pathVar("PATH", QFile::encodeName(emptyBin));
    const auto check = [&](const Error& e) {
        EXPECT_EQ(e.kind, ErrorKind::Archiver);
#ifdef Q_OS_WIN
        EXPECT_TRUE(text::fullText(e).contains(QStringLiteral("https://www.7-zip.org/"))) << errorText(e);
        EXPECT_TRUE(text::fullText(e).contains(QDir::toNativeSeparators(work))) << errorText(e);
#else
        EXPECT_TRUE(text::userText(e).contains(QStringLiteral("p7zip-full")))
            << text::userText(e).toStdString();
        EXPECT_TRUE(text::fullText(e).contains(work)) << errorText(e);
#endif
    };
    auto pack = packModule(plain, header, 0, file(QStringLiteral("out.prx")), work);
    ASSERT_FALSE(pack);
    check(pack.error());
    auto unpack = unpackModule(packed, file(QStringLiteral("out.prx")), work);
    ASSERT_FALSE(unpack);
    check(unpack.error());
    EXPECT_EQ(tree(files), before);
}
