#include "app/InstanceProbe.h"

#include <unistd.h>

#include <QEventLoop>
#include <QLabel>
#include <QSocketNotifier>
#include <cstdio>
#include <cstdlib>
#include <string_view>

#include "app/SingleInstance.h"
#include "ui/toolkit/InstanceMark.h"

namespace kivtal {
namespace {

void Report(const char* line) {
    std::printf("%s\n", line);
    std::fflush(stdout);
}

enum class InputSays { Nothing, Quit, Restart };

InputSays ReadInput() {
    char buffer[256];
    const ssize_t n = read(STDIN_FILENO, buffer, sizeof buffer);
    if (n <= 0) return InputSays::Quit;
    const std::string_view text(buffer, size_t(n));
    if (text.find("restart") != std::string_view::npos) return InputSays::Restart;
    return text.find("quit") != std::string_view::npos ? InputSays::Quit : InputSays::Nothing;
}

}  // namespace

bool InstanceProbeRequested() { return std::getenv("KIVTAL_TEST_SINGLE_INSTANCE") != nullptr; }

bool RunInstanceProbe(SingleInstance& instance, bool restartMode) {
    QLabel window(QStringLiteral("Kivtal"));
    window.setWindowTitle(QStringLiteral("Kivtal"));
    window.resize(240, 80);
    InstanceMark::Set(&window);
    instance.SetRaiseObserver([](bool found) { Report(found ? "raise request: found" : "raise request: not found"); });

    QEventLoop loop;
    InputSays said = InputSays::Nothing;
    QSocketNotifier input(STDIN_FILENO, QSocketNotifier::Read);
    QObject::connect(&input, &QSocketNotifier::activated, &loop, [&] {
        said = ReadInput();
        if (said != InputSays::Nothing) loop.quit();
    });
    window.show();
    Report(restartMode ? "probe window shown (restart mode)" : "probe window shown");
    loop.exec();

    instance.SetRaiseObserver({});
    InstanceMark::Clear(&window);
    return said == InputSays::Restart;
}

}  // namespace kivtal
