#pragma once
// The per-user folder for the program's rendezvous points (the single-instance lock,
// the local sockets and the updater's shared block): $XDG_RUNTIME_DIR, else /tmp/kivtal-<uid>. Other users cannot reach
// into it, so a socket found there is this user's own program.
#include <QString>

namespace kivtal {

// The folder with a trailing '/'; empty when it cannot be created or is not safely ours
// (not a directory we own, a symbolic link, or open to others).
QString RuntimeFolder();

// Why RuntimeFolder() is empty, as a sentence part for the user ("the runtime folder
// /run/user/1000 is open to other users (mode 0755)"); empty when it is usable.
QString RuntimeFolderProblem();

}  // namespace kivtal
