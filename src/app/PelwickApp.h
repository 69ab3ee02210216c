#pragma once
// The application object: owns the life of the process. Its start-up routine settles
// the single instance, opens the store, starts the network worker, runs the login
// window and then the main window as modal loops, and when they are done stops the
// worker, restarts the program if the user asked for it, and tells the updater.
#include <string>

#include "app/LaunchMode.h"
#include "app/SingleInstance.h"

namespace kivtal {

class CPelwickApp {
public:
    // commandLine: the program path and arguments joined with spaces.
    explicit CPelwickApp(std::string commandLine);

    // The start-up routine. Always false: the process ends after it instead of running
    // a message loop. Needs the QApplication.
    bool InitInstance();

private:
    // False when this start must end because another instance runs.
    bool SettleSingleInstance();
    void RunWindows();
    // 0 logged in, 1 end, -1 when the window could not be built.
    int RunLoginWindow();
    // True when the user asked for a restart.
    bool RunMainWindow();

    const std::string commandLine_;
    const LaunchMode mode_;
    SingleInstance instance_;
};

// Diagnostics on standard output from now on, unbuffered.
void OpenDebugConsole();

}  // namespace kivtal
