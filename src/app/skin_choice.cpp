#include "app/skin_choice.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>

#include "app/settings_save.h"
#include "framework/exceptions.h"

namespace app {

namespace {

constexpr int kInvalidFileName = 3;

bool IsBlank(char c) {
    return c == ' ' || c == '\t';
}
bool IsControl(char c) {
    return static_cast<unsigned char>(c) < 0x20 || c == 0x7F;
}

// Closes the descriptor on every way out.
class ReadOnlyFile {
  public:
    explicit ReadOnlyFile(const std::string& path)
        : fd_(::open(path.c_str(), O_RDONLY | O_NONBLOCK | O_CLOEXEC | O_NOCTTY)) {}
    ~ReadOnlyFile() {
        if (fd_ >= 0) ::close(fd_);
    }
    ReadOnlyFile(const ReadOnlyFile&) = delete;
    ReadOnlyFile& operator=(const ReadOnlyFile&) = delete;
    int Fd() const { return fd_; }

  private:
    int fd_;
};

}  // namespace

bool IsValidSkinName(std::string_view name) {
    if (name.empty() || name.size() > kSkinNameMaxBytes) return false;
    if (name.front() == '.' || IsBlank(name.front()) || IsBlank(name.back())) return false;
    for (char c : name)
        if (c == '/' || c == '\\' || IsControl(c)) return false;
    return true;
}

std::string ParseSkinChoice(std::string_view bytes) {
    if (bytes.size() > kSkinChoiceMaxBytes) return {};
    std::string_view line = bytes;
    if (line.ends_with('\n')) line.remove_suffix(1);
    if (line.ends_with('\r')) line.remove_suffix(1);
    // A second line, or a line break left inside, is no file we wrote.
    return IsValidSkinName(line) ? std::string(line) : std::string();
}

std::string ReadSkinChoice(const std::string& path) {
    ReadOnlyFile file(path);
    if (file.Fd() < 0) return {};
    struct stat st {};
    if (::fstat(file.Fd(), &st) != 0 || !S_ISREG(st.st_mode)) return {};
    std::string bytes(kSkinChoiceMaxBytes + 1, '\0');
    std::size_t used = 0;
    while (used < bytes.size()) {
        const ssize_t n = ::read(file.Fd(), bytes.data() + used, bytes.size() - used);
        if (n < 0 && errno == EINTR) continue;
        if (n < 0) return {};
        if (n == 0) break;
        used += static_cast<std::size_t>(n);
    }
    bytes.resize(used);
    return ParseSkinChoice(bytes);
}

void WriteSkinChoice(const std::string& path, const std::string& name) {
    if (!IsValidSkinName(name)) throw framework::EInOutError(kInvalidFileName);
    SaveFileReplacing(path, name + "\n");
}

}  // namespace app
