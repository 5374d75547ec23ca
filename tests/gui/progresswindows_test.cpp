#include "compression/modulekeys.h"
#include "compression/pack.h"
#include "guitest.h"
#include "prx/workfolder.h"
#include "shell/packdialog.h"
#include "shell/unpackdialog.h"
#include "support/environment.h"
#include "support/fixtures.h"

#include <QComboBox>
#include <QFile>
#include <QFileInfo>
#include <QLabel>
#include <QProgressBar>
#include <QPushButton>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QTest>

#include <memory>
#include <optional>

using namespace qm;
using namespace qm::test;

namespace {

const QString kDecompError =
    QStringLiteral("Error...\r\nTry PRXDecrypter on this PRX or Check your file!\r\n");
const QString kCompError = QStringLiteral("Error...\r\nYour PRX can't be compressed!\r\n");

template <typename T = QPushButton> T* child(QWidget& window, const char* name) {
    return window.findChild<T*>(QString::fromLatin1(name));
}
QString status(QWidget& window) {
    return child<QLabel>(window, "status")->text();
}
bool okShown(QWidget& window) {
    return child(window, "okButton")->isVisible();
}

// Every caption the window takes, in order.
void recordTitles(QWidget& window, QStringList& titles) {
    QObject::connect(&window, &QWidget::windowTitleChanged, &window, [&titles](const QString& title) {
        if (!title.isEmpty())
            titles.append(title);
    });
}

// Whether the window is still there, without OK, after every way a user
// could try to leave it. Enter is left out while "Go Compress !" is the default.
bool staysAfterTryingToLeave(QDialog& window, bool tryEnter = true) {
    const bool closed = window.close();
    QTest::keyClick(&window, Qt::Key_Escape);
    if (tryEnter)
        QTest::keyClick(&window, Qt::Key_Return);
    window.reject();
    return !closed && window.isVisible() && !okShown(window);
}

} // namespace

class ProgressWindowsTest : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void initTestCase() {
        m_dataDir.emplace(prx::kDataDirVariable, m_data.path().toLocal8Bit());
        if (QStandardPaths::findExecutable(QStringLiteral("7za")).isEmpty())
            QSKIP("7za is not installed");
        // A real module, packed by the program itself.
        m_module = makeVsh(1).bytes;
        writeFile(m_data.filePath(QStringLiteral("m.prx")), m_module);
        writeFile(m_data.filePath(QStringLiteral("h.prx")), makePacked(QByteArray(64, 'x'), 64));
        QVERIFY(compression::packModule(m_data.filePath(QStringLiteral("m.prx")),
                                        m_data.filePath(QStringLiteral("h.prx")), 0,
                                        m_data.filePath(QStringLiteral("p.prx")), prx::workFolder())
                    .ok());
        m_packed = readFile(m_data.filePath(QStringLiteral("p.prx")));
        // The packing window gets a small module: the archiver's speed is not under test.
        for (int i = 0; i < 4096; ++i)
            m_small.append(static_cast<char>((i * 7 + i / 61) & 0xFF));
    }
    void cleanupTestCase() { m_dataDir.reset(); }
    void init() {
        m_case = std::make_unique<QTemporaryDir>();
        removeStandIn(localArchiver());
    }
    void cleanup() { removeStandIn(localArchiver()); }

    void decompUnpacksAndCannotBeLeftWhileWorking_data() {
        QTest::addColumn<bool>("ontoInput");
        QTest::addRow("to a new file") << false;
        QTest::addRow("onto the packed file itself") << true;
    }
    void decompUnpacksAndCannotBeLeftWhileWorking() {
        QFETCH(bool, ontoInput);
        const QString in = file("vshmain.prx");
        const QString out = ontoInput ? in : file("out.prx");
        writeFile(in, m_packed);
        installGatedArchiver();
        ui::UnpackDialog window(in, out);
        QStringList titles;
        recordTitles(window, titles);
        window.show();
        QVERIFY(window.windowTitle().isEmpty());

        // The archiver is held at its start, and the window goes on working.
        QTRY_COMPARE(window.windowTitle(), QStringLiteral("Decompress PRX..."));
        QCOMPARE(status(window), QStringLiteral("Decompress PRX..."));
        QVERIFY(staysAfterTryingToLeave(window));
        QTest::qWait(300); // more timer ticks, which must not start another run
        QCOMPARE(readFile(out), ontoInput ? m_packed : QByteArray());
        openGate();

        QTRY_COMPARE(status(window), QStringLiteral("Success..."));
        QVERIFY(okShown(window));
        QCOMPARE(titles, QStringList({QStringLiteral("UnPack PRX..."), QStringLiteral("Decompress PRX...")}));
        QCOMPARE(archiverRuns(), 1);
        QCOMPARE(readFile(out), m_module);
        QCOMPARE(readFile(in), ontoInput ? m_module : m_packed);
        QCOMPARE(child<QProgressBar>(window, "progressBar")->value(), 100);
        QVERIFY(window.succeeded());
        QVERIFY(window.awaitingOk());
        QTest::mouseClick(child(window, "okButton"), Qt::LeftButton);
        QVERIFY(!window.isVisible());
        QVERIFY(!window.awaitingOk());
    }

    void decompFailureLeavesTheFiles_data() {
        QTest::addColumn<bool>("archiverOnPath");
        QTest::addColumn<QString>("reason");
        QTest::addRow("payload is not gzip") << true << archiverExit2();
        QTest::addRow("no archiver") << false << missingArchiverHint();
    }
    void decompFailureLeavesTheFiles() {
        QFETCH(bool, archiverOnPath);
        QFETCH(QString, reason);
        const QByteArray packed = archiverOnPath ? makePacked(QByteArray(5000, 'Z'), 5000) : m_packed;
        writeFile(file("packed.prx"), packed);
        writeFile(file("out.prx"), "older");
        std::optional<EnvGuard> pathVariable;
        if (!archiverOnPath)
            pathVariable.emplace("PATH", m_case->path().toLocal8Bit()); // a folder without the archiver
        ui::UnpackDialog window(file("packed.prx"), file("out.prx"));
        window.show();
        QTRY_VERIFY(okShown(window));

        QVERIFY2(status(window).startsWith(kDecompError), qPrintable(status(window)));
        const QStringList lines = status(window).split(QStringLiteral("\r\n"));
        QCOMPARE(lines.size(), 3);
        QVERIFY2(lines.last().contains(reason), qPrintable(lines.last()));
        QVERIFY(!window.succeeded());
        QCOMPARE(readFile(file("out.prx")), QByteArray("older"));
        QCOMPARE(readFile(file("packed.prx")), packed);
        QTest::keyClick(&window, Qt::Key_Return); // Enter presses OK
        QVERIFY(!window.isVisible());
        QVERIFY(!window.awaitingOk());
    }

    void compPreselectsTheKeyOfTheHeader_data() {
        QTest::addColumn<quint8>("keyByte");
        QTest::addColumn<int>("preselected");
        for (std::size_t i = 0; i < compression::kModuleKeys.size(); ++i)
            QTest::addRow("%s", compression::kModuleKeys[i].name)
                << compression::kModuleKeys[i].bytes[0] << static_cast<int>(i);
        QTest::addRow("unknown first byte") << quint8(0x00) << 0;
    }
    void compPreselectsTheKeyOfTheHeader() {
        QFETCH(quint8, keyByte);
        QFETCH(int, preselected);
        writeFile(file("vshmain.prx"), m_small);
        writeFile(file("header.prx"), makePacked(QByteArray(100, 'h'), 100, "vshmain", keyByte));
        ui::PackDialog window(file("vshmain.prx"), file("header.prx"), QString());
        window.show();
        QTRY_COMPARE(window.windowTitle(), QStringLiteral("Choose option..."));
        QCOMPARE(child<QComboBox>(window, "keyList")->currentIndex(), preselected);
    }

    void compPacksWithTheKeyChosenBeforeTheClick_data() {
        QTest::addColumn<int>("saveComp");
        QTest::addColumn<int>("chosen");
        QTest::addColumn<QByteArray>("headerName");
        QTest::addRow("in place") << 0 << 4 << QByteArray("vshmain");
        // A name left without its end by packing is only a note: it never stops the packing.
        QTest::addRow("under a new name, unended name") << 1 << 1 << QByteArray(28, 'n');
    }
    void compPacksWithTheKeyChosenBeforeTheClick() {
        QFETCH(int, saveComp);
        QFETCH(int, chosen);
        QFETCH(QByteArray, headerName);
        const QString module = file("vshmain.prx");
        const QString output = file("out.prx");
        writeFile(module, m_module); // a module of a release: the result passes every check
        writeFile(file("header.prx"), makePacked(QByteArray(100, 'h'), 100, headerName, 0xAA)); // key 0
        installGatedArchiver();
        ui::PackDialog window(module, file("header.prx"), saveComp == 1 ? output : QString());
        QStringList titles;
        recordTitles(window, titles);
        window.show();

        QTRY_COMPARE(window.windowTitle(), QStringLiteral("Choose option..."));
        QCOMPARE(status(window), QStringLiteral("Choose option and click \"Go Compress!\""));
        auto* keys = child<QComboBox>(window, "keyList");
        auto* compress = child(window, "compressButton");
        QVERIFY(keys->isVisible() && compress->isVisible());
        QCOMPARE(compress->text(), QStringLiteral("Go Compress !"));
        QVERIFY(staysAfterTryingToLeave(window, false));
        QTest::qWait(200); // nothing happens until the click
        QCOMPARE(archiverRuns(), 0);

        keys->setCurrentIndex(chosen);
        QTest::mouseClick(compress, Qt::LeftButton);
        QCOMPARE(status(window), QStringLiteral("Compress PRX...\r\n(Wait a minute please !)"));
        QVERIFY(!keys->isVisible() && !compress->isVisible());
        QTRY_COMPARE(archiverRuns(), 1);
        QVERIFY(staysAfterTryingToLeave(window));
        keys->setCurrentIndex(2); // too late: the run has its key
        openGate();

        QTRY_COMPARE(status(window), QStringLiteral("Success..."));
        QVERIFY(okShown(window));
        QCOMPARE(titles,
                 QStringList({QStringLiteral("Extract PRX Header..."), QStringLiteral("Choose option..."),
                              QStringLiteral("Compress PRX..."), QStringLiteral("Repack PRX...")}));
        QVERIFY(window.awaitingOk());
        const QByteArray packed = readFile(saveComp == 1 ? output : module);
        const auto& key = compression::kModuleKeys[static_cast<std::size_t>(chosen)].bytes;
        QVERIFY(packed.startsWith("~PSP"));
        QCOMPARE(packed.mid(0x130, 4), QByteArray(reinterpret_cast<const char*>(key.data()), 4));
        if (saveComp == 1)
            QCOMPARE(readFile(module), m_module);
        else
            QVERIFY(!QFileInfo::exists(output));
        QTest::mouseClick(child(window, "okButton"), Qt::LeftButton);
        QVERIFY(!window.isVisible());
        QVERIFY(!window.awaitingOk());
    }

    void compFailureChangesNoFile_data() {
        QTest::addColumn<int>("saveComp");
        QTest::addColumn<int>("headerSize");
        QTest::addColumn<QString>("reason");
        QTest::addColumn<QByteArray>("moduleName"); // of the header; a real archiver runs when set
        QTest::addColumn<bool>("signature");        // the header source keeps its "~PSP"
        QTest::addRow("header source of 335 bytes")
            << 0 << 335 << QStringLiteral("too short") << QByteArray() << true;
        QTest::addRow("archiver fails, in place") << 0 << 436 << archiverExit2() << QByteArray() << true;
        QTest::addRow("archiver fails, new name") << 1 << 436 << archiverExit2() << QByteArray() << true;
        QTest::addRow("result fails a check, new name")
            << 1 << 436 << QStringLiteral("signature: ") << QByteArray("vshmain") << false;
        QTest::addRow("not a release, in place")
            << 0 << 436 << QStringLiteral("release") << QByteArray("vshmain") << true;
    }
    void compFailureChangesNoFile() {
        QFETCH(int, saveComp);
        QFETCH(int, headerSize);
        QFETCH(QString, reason);
        QFETCH(QByteArray, moduleName);
        QFETCH(bool, signature);
        // A module of a release where only the header is wrong.
        const QByteArray& module = signature ? m_small : m_module;
        writeFile(file("vshmain.prx"), module);
        QByteArray header =
            makePacked(QByteArray(100, 'h'), 100, moduleName.isEmpty() ? "vshmain" : moduleName)
                .left(headerSize);
        if (!signature)
            header[1] = 'Q';
        writeFile(file("header.prx"), header);
        writeFile(file("out.prx"), "older");
        if (moduleName.isEmpty())
            writeStandIn(localArchiver(), "drain\nerr ERROR: no space left\\n\nexit 2");
        ui::PackDialog window(file("vshmain.prx"), file("header.prx"),
                              saveComp == 1 ? file("out.prx") : QString());
        window.show();
        auto* compress = child(window, "compressButton");
        QTRY_VERIFY(okShown(window) || compress->isVisible());
        if (compress->isVisible())
            compress->click();
        QTRY_VERIFY(okShown(window));

        QVERIFY2(status(window).startsWith(kCompError), qPrintable(status(window)));
        const QStringList lines = status(window).split(QStringLiteral("\r\n"));
        QCOMPARE(lines.size(), 3);
        QVERIFY2(lines.last().contains(reason), qPrintable(lines.last()));
        QVERIFY(!window.succeeded());
        QCOMPARE(readFile(file("vshmain.prx")), module);
        QCOMPARE(readFile(file("out.prx")), QByteArray("older"));
        QTest::keyClick(&window, Qt::Key_Escape); // once OK shows, Escape leads out too
        QVERIFY(!window.isVisible());
        QVERIFY(!window.awaitingOk());
    }

private:
    QString file(const char* name) const { return m_case->filePath(QString::fromLatin1(name)); }
    // The working folder's archiver is found before the one on PATH.
    QString localArchiver() const { return m_data.filePath(QStringLiteral("7za")); }

    // An archiver that notes each start and waits for openGate() before it
    // runs the real one. It stops waiting after ten seconds, so a window that
    // blocks while the archiver runs fails instead of hanging.
    void installGatedArchiver() {
        writeStandIn(
            localArchiver(),
            QStringLiteral("log %1\nwaitfor %2\n7za").arg(file("archiver.log"), file("gate")).toUtf8());
    }
    void openGate() const { writeFile(file("gate"), "open"); }
    int archiverRuns() const { return static_cast<int>(readFile(file("archiver.log")).count("run")); }

    QTemporaryDir m_data;
    std::unique_ptr<QTemporaryDir> m_case;
    std::optional<EnvGuard> m_dataDir;
    QByteArray m_module;
    QByteArray m_packed;
    QByteArray m_small;
};

QM_GUI_TEST(ProgressWindowsTest);
#include "progresswindows_test.moc"
