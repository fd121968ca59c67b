// Line-oriented text files: the settings and alarm lists are read and written through these.
// Every failure is an EInOutError carrying the mapped system code.
#pragma once

#include <cstdio>
#include <memory>
#include <string>
#include <string_view>

#include "framework/exceptions.h"

namespace framework {

// Reads the whole file at open; lines end at LF or CR LF, a Ctrl-Z byte ends the file.
class TextFileReader {
public:
    // Larger files are refused with code 100: nothing this program reads comes near it.
    static constexpr std::size_t kMaxSize = 16u * 1024u * 1024u;

    explicit TextFileReader(const std::string& path);

    // The next line without its ending; "" once the end is reached.
    std::string ReadLine();
    bool Eof() const { return pos_ >= data_.size(); }

private:
    std::string data_;
    std::size_t pos_ = 0;
};

struct FileCloser {
    void operator()(std::FILE* f) const { std::fclose(f); }
};
using FileHandle = std::unique_ptr<std::FILE, FileCloser>;

// Writes lines ending CR LF to the given path (created or truncated).
class TextFileWriter {
public:
    explicit TextFileWriter(const std::string& path);
    ~TextFileWriter();  // closes quietly when Close() was not called
    TextFileWriter(const TextFileWriter&) = delete;
    TextFileWriter& operator=(const TextFileWriter&) = delete;

    void WriteLine(std::string_view line);
    // Pushes buffered data to the disk (fflush + fsync).
    void Sync();
    void Close();
    bool IsOpen() const { return file_ != nullptr; }

private:
    void Check(bool ok);
    FileHandle file_;
};

// Writes target + ".tmp" and renames it over the target on Commit, so a crash or a full disk
// never leaves a half-written target. Without Commit the temporary is removed.
class AtomicTextFileWriter {
public:
    explicit AtomicTextFileWriter(const std::string& target);
    ~AtomicTextFileWriter();
    AtomicTextFileWriter(const AtomicTextFileWriter&) = delete;
    AtomicTextFileWriter& operator=(const AtomicTextFileWriter&) = delete;

    void WriteLine(std::string_view line);
    void Commit();

    static std::string TemporaryPath(const std::string& target);
    // Removes a temporary left over by an earlier run that died before committing.
    static void RemoveStaleTemporary(const std::string& target);

private:
    void Abandon();
    std::string target_;
    std::string temporary_;
    std::unique_ptr<TextFileWriter> writer_;
    std::unique_ptr<EInOutError> failed_;  // once a step failed, every later call reports it again
};

}  // namespace framework
