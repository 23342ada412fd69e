// Entry point of the window tests: one QApplication on the offscreen platform for all tests.

#include <gtest/gtest.h>

#include <QApplication>

#include <cstdlib>

#include "report_print/numbers_with_a_point.h"

int main(int argc, char** argv) {
    if (!std::getenv("QT_QPA_PLATFORM")) {
        setenv("QT_QPA_PLATFORM", "offscreen", 1);
    }
    QApplication app(argc, argv);
    vesk::write_numbers_with_a_point();
    ::testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
