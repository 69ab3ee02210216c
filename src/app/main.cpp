// The desktop client.
#include <QApplication>

#include "app/LaunchMode.h"
#include "app/PelwickApp.h"
#include "app/StartupTiming.h"

int main(int argc, char** argv) {
    kivtal::StartupTiming::ProgramStart();
    // Taken before QApplication strips the arguments it understands.
    std::string commandLine = kivtal::JoinCommandLine(argc, argv);
    QApplication app(argc, argv);
    // The windows run one after the other as modal loops; the gap between them, or the
    // main window hidden in the tray, must not end the program.
    QApplication::setQuitOnLastWindowClosed(false);
    kivtal::CPelwickApp theApp(std::move(commandLine));
    theApp.InitInstance();
    return 0;
}
