#pragma once
#include <string>

namespace kivtal {

struct StorePaths {
    std::string dataDir;    // ends with '/'
    std::string refDbPath;  // the shipped reference database, opened read-only
};

// $KIVTAL_DATA_DIR, else $XDG_DATA_HOME/kivtal/user/, else ~/.local/share/kivtal/user/.
std::string DefaultDataDir();
// $KIVTAL_REFDB, else "doz2a_v3.db" beside the executable or in its data/ or
// ../share/kivtal/ folders (the first that exists).
std::string DefaultRefDbPath();
StorePaths DefaultStorePaths();

// Creates the folder and its parents (new ones with mode 0700); true when it is a directory.
bool MakeDirectories(const std::string& path);
bool FileExists(const std::string& path);
// Makes a database file and its journal, WAL and shared-memory files readable by their
// owner only (0600): they hold the remembered login. Files that do not exist are skipped.
void RestrictToOwner(const std::string& dbPath);

// A login name is used as a file name; names that would leave the data folder are refused.
bool IsSafeLoginFileName(const std::string& loginName);

}  // namespace kivtal
