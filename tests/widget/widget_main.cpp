// One QApplication for the whole widget test program.
#include <QApplication>

#include <clocale>
#include <gtest/gtest.h>

int main(int argc, char** argv) {
    ::testing::InitGoogleTest(&argc, argv);
    // Widget tests never need a screen.
    if (qgetenv("QT_QPA_PLATFORM").isEmpty()) qputenv("QT_QPA_PLATFORM", "offscreen");
    static int qtArgc = 1;
    static char name[] = "widget_tests";
    static char* qtArgv[] = {name, nullptr};
    QApplication app(qtArgc, qtArgv);
    // The player library needs the C numeric locale.
    std::setlocale(LC_NUMERIC, "C");
    return RUN_ALL_TESTS();
}
