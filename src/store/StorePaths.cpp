#include "store/StorePaths.h"

#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <climits>
#include <cstdlib>

namespace kivtal {

namespace {

std::string WithSlash(std::string path) {
    if (!path.empty() && path.back() != '/') path += '/';
    return path;
}

std::string EnvOr(const char* name, const std::string& fallback) {
    const char* v = std::getenv(name);
    return (v != nullptr && *v != '\0') ? std::string(v) : fallback;
}

std::string ExecutableDir() {
    char buf[PATH_MAX];
    const ssize_t n = readlink("/proc/self/exe", buf, sizeof buf - 1);
    if (n <= 0) return "./";
    std::string path(buf, static_cast<std::size_t>(n));
    return path.substr(0, path.rfind('/') + 1);
}

}  // namespace

std::string DefaultDataDir() {
    if (const char* dir = std::getenv("KIVTAL_DATA_DIR"); dir != nullptr && *dir != '\0') return WithSlash(dir);
    const std::string home = EnvOr("HOME", ".");
    const std::string xdg = EnvOr("XDG_DATA_HOME", home + "/.local/share");
    return WithSlash(xdg) + "kivtal/user/";
}

std::string DefaultRefDbPath() {
    if (const char* p = std::getenv("KIVTAL_REFDB"); p != nullptr && *p != '\0') return p;
    const std::string exe = ExecutableDir();
    for (const char* rel : {"doz2a_v3.db", "data/doz2a_v3.db", "../data/doz2a_v3.db", "../share/kivtal/doz2a_v3.db"}) {
        if (FileExists(exe + rel)) return exe + rel;
    }
    return exe + "doz2a_v3.db";
}

StorePaths DefaultStorePaths() { return {DefaultDataDir(), DefaultRefDbPath()}; }

bool FileExists(const std::string& path) {
    struct stat st {};
    return stat(path.c_str(), &st) == 0;
}

bool MakeDirectories(const std::string& path) {
    std::string partial;
    for (std::size_t i = 0; i <= path.size(); ++i) {
        if (i == path.size() || (path[i] == '/' && i > 0)) {
            partial = path.substr(0, i);
            if (mkdir(partial.c_str(), 0700) != 0 && errno != EEXIST) return false;
        }
    }
    struct stat st {};
    return stat(path.c_str(), &st) == 0 && S_ISDIR(st.st_mode);
}

void RestrictToOwner(const std::string& dbPath) {
    for (const char* suffix : {"", "-journal", "-wal", "-shm"}) {
        const std::string path = dbPath + suffix;
        if (FileExists(path)) chmod(path.c_str(), S_IRUSR | S_IWUSR);
    }
}

bool IsSafeLoginFileName(const std::string& loginName) {
    if (loginName.empty() || loginName == "." || loginName == "..") return false;
    return loginName.find_first_of(std::string("/\0", 2)) == std::string::npos;
}

}  // namespace kivtal
