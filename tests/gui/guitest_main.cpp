#include "guitest.h"

#include <QApplication>
#include <QLocale>
#include <QTest>

namespace qm::test {

std::vector<GuiTestFactory>& guiTests() {
    static std::vector<GuiTestFactory> tests;
    return tests;
}

} // namespace qm::test

int main(int argc, char** argv) {
    qputenv("QT_QPA_PLATFORM",
            qgetenv("QT_QPA_PLATFORM").isEmpty() ? QByteArray("offscreen") : qgetenv("QT_QPA_PLATFORM"));
    QApplication app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("Quillmark"));
    QLocale::setDefault(QLocale(QLocale::English, QLocale::UnitedStates));
    // QM_GUI_TESTS=PafEditorTest,MainWindowTest runs only those classes.
    const QStringList only = qEnvironmentVariable("QM_GUI_TESTS").split(u',', Qt::SkipEmptyParts);
    int failures = 0;
    for (const auto& make : qm::test::guiTests()) {
        std::unique_ptr<QObject> test = make();
        if (!only.isEmpty() && !only.contains(QString::fromLatin1(test->metaObject()->className())))
            continue;
        failures += QTest::qExec(test.get(), argc, argv);
    }
    return failures == 0 ? 0 : 1;
}
