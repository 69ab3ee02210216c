// One QApplication per test program, on the offscreen platform so that windows are real
// but need no display (test discovery runs this too). Its one screen is the smallest
// desktop the windows must fit, 1366 x 768.
#include <QApplication>
#include <QTemporaryFile>
#include <gtest/gtest.h>

#include "ui/StandardControls.h"

int main(int argc, char** argv) {
    QTemporaryFile screens;
    if (screens.open()) {
        screens.write(R"({"screens": [{"name": "small", "x": 0, "y": 0, "width": 1366, "height": 768}]})");
        screens.close();
        qputenv("QT_QPA_PLATFORM", "offscreen:configfile=" + screens.fileName().toLocal8Bit());
    } else {
        qputenv("QT_QPA_PLATFORM", "offscreen");
    }
    QApplication app(argc, argv);
    QApplication::setQuitOnLastWindowClosed(false);
    kivtal::PrepareWindows();
    ::testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
