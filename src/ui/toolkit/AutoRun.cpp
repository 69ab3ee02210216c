#include "ui/toolkit/AutoRun.h"

#include <QCoreApplication>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <string_view>
#include <system_error>

namespace kivtal {
namespace {

namespace fs = std::filesystem;

std::string EnvOrEmpty(const char* name) {
    const char* value = std::getenv(name);
    return value ? value : "";
}

// A path with any of these characters must be quoted to stay one argument.
bool NeedsQuotes(std::string_view arg) {
    return arg.find_first_of(" \t\n\"'\\><~|&;$*?#()`") != std::string_view::npos;
}

std::string QuoteArgument(std::string_view arg) {
    if (!NeedsQuotes(arg)) return std::string(arg);
    std::string quoted = "\"";
    for (char c : arg) {
        if (c == '"' || c == '`' || c == '$' || c == '\\') quoted += '\\';
        quoted += c;
    }
    return quoted + '"';
}

// "%" starts a field code in Exec; a literal one is doubled.
std::string EscapePercent(std::string_view text) {
    std::string out;
    for (char c : text) {
        out += c;
        if (c == '%') out += '%';
    }
    return out;
}

// The escapes of every string value in a desktop entry, applied last.
std::string EscapeValue(std::string_view text) {
    std::string out;
    for (char c : text) {
        switch (c) {
            case '\\': out += "\\\\"; break;
            case '\n': out += "\\n"; break;
            case '\t': out += "\\t"; break;
            case '\r': out += "\\r"; break;
            default: out += c;
        }
    }
    return out;
}

}  // namespace

std::string AutoRunEntryPath() {
    std::string config = EnvOrEmpty("XDG_CONFIG_HOME");
    if (config.empty() || config.front() != '/') {
        const std::string home = EnvOrEmpty("HOME");
        if (home.empty()) return {};
        config = home + "/.config";
    }
    return (fs::path(config) / "autostart" / "kivtal.desktop").string();
}

std::string AutoRunExecValue(const std::string& programPath) {
    return EscapeValue(EscapePercent(QuoteArgument(programPath)));
}

int SetAutoRun(const std::string& programPath) {
    const std::string path = AutoRunEntryPath();
    if (path.empty()) return 0;
    std::error_code error;
    fs::create_directories(fs::path(path).parent_path(), error);
    // Written beside and renamed over, so a session starting meanwhile never reads half
    // an entry.
    const std::string temporary = path + ".tmp";
    {
        std::ofstream out(temporary, std::ios::trunc);
        out << "[Desktop Entry]\n"
               "Type=Application\n"
               "Name=Kivtal\n"
               "Icon=kivtal\n"
               "Exec="
            << AutoRunExecValue(programPath)
            << "\n"
               "Terminal=false\n"
               "X-GNOME-Autostart-enabled=true\n";
        if (!out.flush()) {
            fs::remove(temporary, error);
            return 0;
        }
    }
    fs::rename(temporary, path, error);
    if (error) fs::remove(temporary, error);
    return 0;
}

int ClearAutoRun() {
    const std::string path = AutoRunEntryPath();
    std::error_code error;
    if (!path.empty()) fs::remove(path, error);
    return 0;
}

std::string ProgramPath() { return QCoreApplication::applicationFilePath().toStdString(); }

}  // namespace kivtal
