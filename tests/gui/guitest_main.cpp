#include "guitest.h"

#include <QApplication>
#include <QLocale>
#include <QTest>

#include <algorithm>
#include <cstdio>

namespace qm::test {

std::vector<GuiTestFactory>& guiTests() {
    static std::vector<GuiTestFactory> tests;
    return tests;
}

} // namespace qm::test

int main(int argc, char** argv) {
    // On Windows Qt sends its messages, and QtTest its results, to the
    // debugger rather than to a stream that is no console (a pipe, a file,
    // Wine's output): the results would be lost.
    if (qgetenv("QT_FORCE_STDERR_LOGGING").isEmpty())
        qputenv("QT_FORCE_STDERR_LOGGING", "1");
    qputenv("QT_QPA_PLATFORM",
            qgetenv("QT_QPA_PLATFORM").isEmpty() ? QByteArray("offscreen") : qgetenv("QT_QPA_PLATFORM"));
    QApplication app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("Quillmark"));
    QLocale::setDefault(QLocale(QLocale::English, QLocale::UnitedStates));
    // QM_GUI_TESTS=PafEditorTest,MainWindowTest runs only those classes.
    const QStringList only = qEnvironmentVariable("QM_GUI_TESTS").split(u',', Qt::SkipEmptyParts);
    // GoogleTest's sharding variables: of N shards, shard I runs the classes
    // I, I + N, I + 2N, ... (ctest runs the shards side by side).
    const int shards = std::max(1, qEnvironmentVariableIntValue("GTEST_TOTAL_SHARDS"));
    const int shard = qEnvironmentVariableIntValue("GTEST_SHARD_INDEX");
    if (shard < 0 || shard >= shards) {
        std::fprintf(stderr, "GTEST_SHARD_INDEX %d is not below GTEST_TOTAL_SHARDS %d\n", shard, shards);
        return 1;
    }
    int failures = 0;
    int index = -1;
    for (const auto& make : qm::test::guiTests()) {
        if (++index % shards != shard)
            continue;
        std::unique_ptr<QObject> test = make();
        if (!only.isEmpty() && !only.contains(QString::fromLatin1(test->metaObject()->className())))
            continue;
        failures += QTest::qExec(test.get(), argc, argv);
    }
    return failures == 0 ? 0 : 1;
}
