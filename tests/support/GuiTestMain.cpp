// Test entry point of the windowing tests: a per-user folder of their own, Qt's offscreen
// platform unless another is set, and the QApplication with the "C" numeric locale.

#include "TestSupport.h"

#include <QApplication>
#include <clocale>
#include <gtest/gtest.h>

int main(int argc, char** argv)
{
    testing::InitGoogleTest(&argc, argv);
    if (!qEnvironmentVariableIsSet("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    return RunTestsInTempAppData([&] {
        QApplication application(argc, argv);
        std::setlocale(LC_NUMERIC, "C");
        QApplication::setQuitOnLastWindowClosed(false);
        return RUN_ALL_TESTS();
    });
}
