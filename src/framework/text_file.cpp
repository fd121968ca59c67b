#include "framework/text_file.h"

#include <fcntl.h>
#include <unistd.h>

#include <cerrno>
#include <cstdio>

#include "framework/exceptions.h"

namespace framework {

namespace {

[[noreturn]] void ThrowErrno(int err) { throw InOutErrorFromErrno(err); }

constexpr char kCtrlZ = 26;

}  // namespace

// ---------------------------------------------------------------------------------------------

TextFileReader::TextFileReader(const std::string& path) {
    FileHandle file(std::fopen(path.c_str(), "rbe"));
    if (!file) ThrowErrno(errno);
    char buffer[65536];
    for (;;) {
        const std::size_t n = std::fread(buffer, 1, sizeof buffer, file.get());
        if (n > 0) {
            if (data_.size() + n > kMaxSize) throw EInOutError(100);
            data_.append(buffer, n);
        }
        if (n < sizeof buffer) {
            if (std::ferror(file.get())) ThrowErrno(errno);
            break;
        }
    }
    const std::size_t end = data_.find(kCtrlZ);
    if (end != std::string::npos) data_.resize(end);
}

std::string TextFileReader::ReadLine() {
    if (Eof()) return {};
    std::size_t end = data_.find('\n', pos_);
    std::size_t next = end + 1;
    if (end == std::string::npos) {
        end = data_.size();
        next = end;
    } else if (end > pos_ && data_[end - 1] == '\r') {
        --end;
    }
    std::string line = data_.substr(pos_, end - pos_);
    pos_ = next;
    return line;
}

// ---------------------------------------------------------------------------------------------

TextFileWriter::TextFileWriter(const std::string& path) : file_(std::fopen(path.c_str(), "wbe")) {
    if (!file_) ThrowErrno(errno);
}

TextFileWriter::~TextFileWriter() = default;  // FileHandle closes without checking

void TextFileWriter::Check(bool ok) {
    if (ok) return;
    const int err = errno;
    file_.reset();
    ThrowErrno(err);
}

void TextFileWriter::WriteLine(std::string_view line) {
    if (!file_) throw EInOutError(103);  // "file not open"
    errno = 0;
    Check(std::fwrite(line.data(), 1, line.size(), file_.get()) == line.size() &&
          std::fwrite("\r\n", 1, 2, file_.get()) == 2);
}

void TextFileWriter::Sync() {
    if (!file_) throw EInOutError(103);
    errno = 0;
    Check(std::fflush(file_.get()) == 0);
    Check(::fsync(::fileno(file_.get())) == 0);
}

void TextFileWriter::Close() {
    if (!file_) return;
    errno = 0;
    const int rc = std::fclose(file_.release());
    if (rc != 0) ThrowErrno(errno);
}

// ---------------------------------------------------------------------------------------------

std::string AtomicTextFileWriter::TemporaryPath(const std::string& target) {
    std::string path(target);
    path.append(".tmp");
    return path;
}

AtomicTextFileWriter::AtomicTextFileWriter(const std::string& target)
    : target_(target), temporary_(TemporaryPath(target)) {
    writer_ = std::make_unique<TextFileWriter>(temporary_);
}

AtomicTextFileWriter::~AtomicTextFileWriter() {
    if (writer_) Abandon();
}

void AtomicTextFileWriter::Abandon() {
    writer_.reset();
    ::unlink(temporary_.c_str());
}

void AtomicTextFileWriter::WriteLine(std::string_view line) {
    if (failed_) throw *failed_;
    if (!writer_) throw EInOutError(103);
    try {
        writer_->WriteLine(line);
    } catch (const EInOutError& e) {
        failed_ = std::make_unique<EInOutError>(e);
        Abandon();
        throw;
    }
}

void AtomicTextFileWriter::Commit() {
    if (failed_) throw *failed_;
    if (!writer_) throw EInOutError(103);
    try {
        writer_->Sync();
        writer_->Close();
        if (::rename(temporary_.c_str(), target_.c_str()) != 0) ThrowErrno(errno);
    } catch (const EInOutError& e) {
        failed_ = std::make_unique<EInOutError>(e);
        Abandon();
        throw;
    }
    writer_.reset();
    // Make the rename itself durable; the data is safe already, so failures are ignored.
    const std::size_t slash = target_.rfind('/');
    std::string folder = slash == std::string::npos ? std::string(".") : target_.substr(0, slash == 0 ? 1 : slash);
    const int fd = ::open(folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (fd >= 0) {
        ::fsync(fd);
        ::close(fd);
    }
}

void AtomicTextFileWriter::RemoveStaleTemporary(const std::string& target) {
    ::unlink(TemporaryPath(target).c_str());
}

}  // namespace framework
