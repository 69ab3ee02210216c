// One QApplication per test program, on the offscreen platform so that windows are real
// but need no display (test discovery runs this too).
#include <QApplication>
#include <gtest/gtest.h>

#include "ui/toolkit/SkinLoader.h"

int main(int argc, char** argv) {
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    QApplication::setQuitOnLastWindowClosed(false);
    kivtal::LoadSkin();
    ::testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
