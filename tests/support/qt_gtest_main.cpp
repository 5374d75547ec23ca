// GoogleTest entry point with a Qt application object, which the working
// folder lookup and the archiver runs need.

#include <QCoreApplication>

#include <gtest/gtest.h>

int main(int argc, char** argv) {
    // Qt's warnings go to standard error also where it is no console (on
    // Windows they would go to the debugger).
    if (qgetenv("QT_FORCE_STDERR_LOGGING").isEmpty())
        qputenv("QT_FORCE_STDERR_LOGGING", "1");
    QCoreApplication app(argc, argv);
    ::testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
