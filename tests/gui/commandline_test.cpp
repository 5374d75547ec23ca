// The quillmark program's command line: its options, Qt's options and the files.

#include "guitest.h"
#include "shell/commandline.h"

#include <QTest>

using qm::ui::ShellCommandLine;
using Action = ShellCommandLine::Action;

Q_DECLARE_METATYPE(ShellCommandLine::Action)

class CommandLineTest : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void parses_data() {
        QTest::addColumn<QStringList>("args");
        QTest::addColumn<Action>("action");
        QTest::addColumn<QStringList>("files");
        QTest::addColumn<QStringList>("qtOptions");
        QTest::addColumn<QString>("error");
        const auto l = [](std::initializer_list<const char*> items) {
            QStringList list;
            for (const char* item : items)
                list.append(QString::fromUtf8(item));
            return list;
        };
        QTest::newRow("nothing") << QStringList() << Action::Run << QStringList() << QStringList()
                                 << QString();
        QTest::newRow("files in order") << l({"vshmain.prx", "paf.prx"}) << Action::Run
                                        << l({"vshmain.prx", "paf.prx"}) << QStringList() << QString();
        QTest::newRow("help") << l({"--help"}) << Action::Help << QStringList() << QStringList() << QString();
        QTest::newRow("short help after a file")
            << l({"a.prx", "-h"}) << Action::Help << QStringList() << QStringList() << QString();
        QTest::newRow("version") << l({"--version"}) << Action::Version << QStringList() << QStringList()
                                 << QString();
        QTest::newRow("version wins over an unknown option")
            << l({"-x", "--version"}) << Action::Version << QStringList() << QStringList() << QString();
        QTest::newRow("double dash ends the options")
            << l({"--", "-x.prx", "--help", "--"}) << Action::Run << l({"-x.prx", "--help", "--"})
            << QStringList() << QString();
        QTest::newRow("lone dash is a file")
            << l({"-"}) << Action::Run << l({"-"}) << QStringList() << QString();
        QTest::newRow("unknown option") << l({"-x.prx"}) << Action::UsageError << QStringList()
                                        << QStringList() << QStringLiteral("unknown option -x.prx");
        QTest::newRow("unknown long option")
            << l({"a.prx", "--open=b.prx"}) << Action::UsageError << QStringList() << QStringList()
            << QStringLiteral("unknown option --open=b.prx");
        QTest::newRow("version is not -v") << l({"-v"}) << Action::UsageError << QStringList()
                                           << QStringList() << QStringLiteral("unknown option -v");
        QTest::newRow("qt options keep their values, files stay files")
            << l({"-platform", "offscreen", "a.prx", "--style", "Fusion", "-reverse", "b.prx"}) << Action::Run
            << l({"a.prx", "b.prx"}) << l({"-platform", "offscreen", "-style", "Fusion", "-reverse"})
            << QString();
        QTest::newRow("qt option with its value after =")
            << l({"-style=Fusion", "--stylesheet=a.qss"}) << Action::Run << QStringList()
            << l({"-style=Fusion", "-stylesheet=a.qss"}) << QString();
        QTest::newRow("qt option after -- is a file")
            << l({"--", "-reverse"}) << Action::Run << l({"-reverse"}) << QStringList() << QString();
        QTest::newRow("qt option without its value")
            << l({"a.prx", "-display"}) << Action::UsageError << QStringList() << QStringList()
            << QStringLiteral("option -display needs a value");
        QTest::newRow("empty inline value") << l({"-style="}) << Action::UsageError << QStringList()
                                            << QStringList() << QStringLiteral("unknown option -style=");
    }
    void parses() {
        QFETCH(QStringList, args);
        QFETCH(Action, action);
        QFETCH(QStringList, files);
        QFETCH(QStringList, qtOptions);
        QFETCH(QString, error);
        const ShellCommandLine line = qm::ui::parseShellCommandLine(args);
        QCOMPARE(line.action, action);
        QCOMPARE(line.error, error);
        if (action == Action::Run) {
            QCOMPARE(line.files, files);
            QCOMPARE(line.qtOptions, qtOptions);
        }
    }

    void helpNamesEveryOptionOfOurs() {
        const QString text = qm::ui::shellUsageText();
        QVERIFY(text.startsWith(QStringLiteral("Usage: quillmark ")));
        for (const char* option : {"-h, --help", "--version", "  --  "})
            QVERIFY2(text.contains(QLatin1StringView(option)), option);
    }
};

QM_GUI_TEST(CommandLineTest);
#include "commandline_test.moc"
