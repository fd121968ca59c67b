#include "app/settings_save.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>

#include "framework/exceptions.h"

namespace app {

namespace {

using framework::EInOutError;
using framework::InOutErrorFromErrno;

// The kernel's own limit on links followed in one lookup.
constexpr int kMaxLinkHops = 40;
constexpr int kAccessDenied = 5;

[[noreturn]] void ThrowErrno(int err) { throw InOutErrorFromErrno(err); }

std::string FolderOf(const std::string& path) {
    const std::size_t slash = path.rfind('/');
    if (slash == std::string::npos) return ".";
    return slash == 0 ? "/" : path.substr(0, slash);
}

// The path a chain of links ends at; the path itself when it is no link. A dangling link
// ends at the name it points to, which the save then creates.
std::string FinalTarget(const std::string& path) {
    std::string current = path;
    for (int hop = 0; hop < kMaxLinkHops; ++hop) {
        struct stat st {};
        if (::lstat(current.c_str(), &st) != 0 || !S_ISLNK(st.st_mode)) return current;
        std::string link(static_cast<std::size_t>(st.st_size > 0 ? st.st_size : 4096), '\0');
        const ssize_t n = ::readlink(current.c_str(), link.data(), link.size());
        if (n < 0) ThrowErrno(errno);
        link.resize(static_cast<std::size_t>(n));
        current = link.starts_with('/') ? link : FolderOf(current) + "/" + link;
    }
    ThrowErrno(ELOOP);
}

// Closes the descriptor; removes the temporary file unless the save went through.
class TemporaryFile {
public:
    TemporaryFile(std::string path, int fd) : path_(std::move(path)), fd_(fd) {}
    ~TemporaryFile() {
        if (fd_ >= 0) ::close(fd_);
        if (!kept_) ::unlink(path_.c_str());
    }
    TemporaryFile(const TemporaryFile&) = delete;
    TemporaryFile& operator=(const TemporaryFile&) = delete;

    int Fd() const { return fd_; }
    void Close() {
        const int fd = fd_;
        fd_ = -1;
        if (::close(fd) != 0) ThrowErrno(errno);
    }
    void Keep() { kept_ = true; }

private:
    std::string path_;
    int fd_;
    bool kept_ = false;
};

void WriteAll(int fd, std::string_view content) {
    while (!content.empty()) {
        const ssize_t n = ::write(fd, content.data(), content.size());
        if (n < 0 && errno == EINTR) continue;
        if (n <= 0) ThrowErrno(n < 0 ? errno : EIO);
        content.remove_prefix(static_cast<std::size_t>(n));
    }
    if (::fsync(fd) != 0) ThrowErrno(errno);
}

// Write permission for this process, and at least one write bit on the file.
bool MayWrite(const std::string& path, const struct stat& st) {
    const bool marked = (st.st_mode & (S_IWUSR | S_IWGRP | S_IWOTH)) != 0;
    return marked && ::faccessat(AT_FDCWD, path.c_str(), W_OK, AT_EACCESS) == 0;
}

void WriteInPlace(const std::string& target, std::string_view content) {
    const int fd = ::open(target.c_str(), O_WRONLY | O_TRUNC | O_CLOEXEC);
    if (fd < 0) ThrowErrno(errno);
    TemporaryFile file(target, fd);
    file.Keep();  // the target itself: never removed
    WriteAll(fd, content);
    file.Close();
}

// Makes the rename durable; the data is safe already, so a failure here is not reported.
void SyncFolder(const std::string& folder) {
    const int fd = ::open(folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (fd < 0) return;
    ::fsync(fd);
    ::close(fd);
}

}  // namespace

std::string SaveTemporaryPath(const std::string& path) { return FinalTarget(path) + ".tmp"; }

void RemoveStaleSaveTemporary(const std::string& path) {
    try {
        ::unlink(SaveTemporaryPath(path).c_str());
    } catch (const EInOutError&) {
        // A link loop: there is no temporary to remove either.
    }
}

void SaveFileReplacing(const std::string& path, std::string_view content) {
    const std::string target = FinalTarget(path);
    struct stat st {};
    const bool exists = ::stat(target.c_str(), &st) == 0;
    if (exists && S_ISDIR(st.st_mode)) ThrowErrno(EISDIR);
    if (exists && !MayWrite(target, st)) throw EInOutError(kAccessDenied);

    const std::string temporary = target + ".tmp";
    ::unlink(temporary.c_str());
    const mode_t mode = exists ? (st.st_mode & 07777) : 0666;
    const int fd = ::open(temporary.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_NOFOLLOW | O_CLOEXEC, mode);
    if (fd < 0) {
        const int err = errno;
        if (exists && (err == EACCES || err == EPERM)) return WriteInPlace(target, content);
        ThrowErrno(err);
    }
    TemporaryFile file(temporary, fd);
    if (exists) {
        // open() applied the umask; the old file's bits are what the user chose.
        if (::fchown(fd, st.st_uid, st.st_gid) != 0) {
            // Only root or the owner in the file's group may; the bits below still apply.
        }
        if (::fchmod(fd, mode) != 0) ThrowErrno(errno);
    }
    WriteAll(fd, content);
    file.Close();
    if (::rename(temporary.c_str(), target.c_str()) != 0) ThrowErrno(errno);
    file.Keep();
    SyncFolder(FolderOf(target));
}

}  // namespace app
