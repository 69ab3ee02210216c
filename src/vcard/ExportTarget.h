#pragma once
// Where an export is written, by what the path names: a regular file (or none yet)
// gets a scratch file beside it renamed over it when complete; a symbolic link gets
// the same done at the regular file it points to, the link kept; a FIFO or a character
// device (a terminal, /dev/null) is written through in place. What the program must not
// replace nor write into (a directory, a block device, a socket, a link to nothing) is
// refused. Nothing is ever renamed over anything but a regular file.
#include <string>
#include <string_view>

namespace kivtal::vcard {

// True when the whole text was written. False with why (a short English phrase)
// otherwise, leaving a regular file as it was and no scratch file behind.
bool WriteExportTarget(const std::string& path, std::string_view text, std::string& why);

}  // namespace kivtal::vcard
