// The floor of the client's start: an empty Qt window, shown and painted once, with the
// client's own start-up figures (KIVTAL_STARTUP_TIMING=exit ends it after the paint).
#include <QApplication>
#include <QWidget>

#include "app/StartupTiming.h"

int main(int argc, char** argv) {
    using namespace kivtal;
    StartupTiming::ProgramStart();
    QApplication app(argc, argv);
    QWidget window;
    window.resize(400, 300);
    StartupTiming::ReportFirstPaint(&window, "empty window", "main()", StartupTiming::ProgramStart());
    window.show();
    return QApplication::exec();
}
