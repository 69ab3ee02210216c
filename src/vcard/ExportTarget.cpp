#include "vcard/ExportTarget.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <climits>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <memory>
#include <optional>

namespace kivtal::vcard {
namespace {

bool Fail(std::string& why, std::string text) {
    why = std::move(text);
    return false;
}

bool FailErrno(std::string& why) { return Fail(why, std::strerror(errno)); }

// A file opened for writing, written whole once and closed then, for the error close
// reports (a full disk shows there on some file systems); closed on every other path.
class OutputFile {
public:
    OutputFile(const std::string& path, int flags) : fd_(::open(path.c_str(), O_WRONLY | O_CLOEXEC | flags, 0666)) {}
    ~OutputFile() {
        if (fd_ >= 0) ::close(fd_);
    }
    OutputFile(const OutputFile&) = delete;
    OutputFile& operator=(const OutputFile&) = delete;

    bool opened() const { return fd_ >= 0; }

    // False, errno telling why, when a write or the close failed.
    bool WriteAndClose(std::string_view text) {
        while (!text.empty()) {
            const ssize_t n = ::write(fd_, text.data(), text.size());
            if (n < 0 && errno == EINTR) continue;
            if (n <= 0) return false;
            text.remove_prefix(static_cast<std::size_t>(n));
        }
        const int rc = ::close(fd_);
        fd_ = -1;
        return rc == 0;
    }

private:
    int fd_;
};

// A FIFO or character device: opened as it is, never created nor truncated.
bool WriteThrough(const std::string& path, std::string_view text, std::string& why) {
    OutputFile file(path, O_NOCTTY);
    if (!file.opened() || !file.WriteAndClose(text)) return FailErrno(why);
    return true;
}

// A scratch file beside the target that nothing else can be (O_EXCL never follows a
// link), removed unless renamed.
class Scratch {
public:
    explicit Scratch(const std::string& target) {
        for (int attempt = 0; attempt < 100; ++attempt) {
            path_ = target + ".part" + (attempt == 0 ? std::string() : std::to_string(attempt));
            file_.emplace(path_, O_CREAT | O_EXCL);
            if (file_->opened() || errno != EEXIST) break;
        }
        if (!file_->opened()) file_.reset();
    }
    ~Scratch() {
        if (file_ && !kept_) ::unlink(path_.c_str());
    }
    Scratch(const Scratch&) = delete;
    Scratch& operator=(const Scratch&) = delete;

    bool Write(std::string_view text) { return file_ && file_->WriteAndClose(text); }
    bool RenameOver(const std::string& target) {
        kept_ = ::rename(path_.c_str(), target.c_str()) == 0;
        return kept_;
    }

private:
    std::string path_;
    std::optional<OutputFile> file_;
    bool kept_ = false;
};

bool Replace(const std::string& path, std::string_view text, std::string& why) {
    Scratch scratch(path);
    if (!scratch.Write(text) || !scratch.RenameOver(path)) return FailErrno(why);
    return true;
}

// What a path that exists names, once links are followed.
bool WriteExisting(const std::string& path, const struct stat& st, std::string_view text, std::string& why) {
    if (S_ISREG(st.st_mode)) return Replace(path, text, why);
    if (S_ISFIFO(st.st_mode) || S_ISCHR(st.st_mode)) return WriteThrough(path, text, why);
    if (S_ISDIR(st.st_mode)) return Fail(why, "it is a directory");
    if (S_ISBLK(st.st_mode)) return Fail(why, "it is a block device; refused");
    return Fail(why, "it is not a regular file; refused");
}

}  // namespace

bool WriteExportTarget(const std::string& path, std::string_view text, std::string& why) {
    struct stat st {};
    if (::lstat(path.c_str(), &st) != 0) {
        if (errno != ENOENT) return FailErrno(why);
        return Replace(path, text, why);  // a new file
    }
    if (!S_ISLNK(st.st_mode)) return WriteExisting(path, st, text, why);
    const std::unique_ptr<char, decltype(&std::free)> resolved(::realpath(path.c_str(), nullptr), &std::free);
    if (!resolved) return Fail(why, "it is a symbolic link to nothing (" + std::string(std::strerror(errno)) + ")");
    if (::stat(resolved.get(), &st) != 0) return FailErrno(why);
    return WriteExisting(resolved.get(), st, text, why);
}

}  // namespace kivtal::vcard
