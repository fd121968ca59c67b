// The packed skin archive (.asz): the magic "ASzf", an entry count, then entries of
// (name length, name, inflated size, one zlib stream). The reader inflates every entry into
// memory and keeps the options entry apart from the image entries.
#pragma once

#include <cstdint>
#include <memory>
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "framework/exceptions.h"

namespace skin {

// The archive ends before a field or an entry's content is complete.
class EReadError : public framework::Exception {
public:
    EReadError() : framework::Exception("Stream read error") {}
};

// zlib rejected an entry's data; the message is zlib's own text ("data error", ...).
class EZDecompressionError : public framework::Exception {
public:
    using framework::Exception::Exception;
};

// Not an archive, or an archive with impossible or absurd contents.
class ESkinArchiveError : public framework::Exception {
public:
    using framework::Exception::Exception;
};

// Limits that turn absurd sizes into a clean error instead of exhausting memory.
constexpr std::int64_t kMaxEntrySize = 64ll << 20;
constexpr std::int32_t kMaxEntryCount = 100000;
constexpr std::int64_t kMaxSkinBytes = 512ll << 20;

// The limits one reader applies; each maximum itself is accepted. Tests use small ones.
struct TsArchiveLimits {
    std::int64_t maxEntrySize = kMaxEntrySize;
    std::int32_t maxEntryCount = kMaxEntryCount;
    std::int64_t maxContentBytes = kMaxSkinBytes;  // all entries inflated, options included
};

// "64 MiB" for whole mebibytes, else "100 bytes".
std::string SizeText(std::int64_t bytes);
// Input is pulled from the archive in blocks of this size.
constexpr std::size_t kInflateBlock = 65536;

struct TacImageItem {
    std::string EntryName;  // as stored, letter case included
    bool IsBitmap = false;  // the name's extension upper-cases to ".BMP"
    std::vector<std::uint8_t> EntryData;
};

class TacSkinConvertor {
public:
    TacSkinConvertor() = default;
    TacSkinConvertor(const TacSkinConvertor&) = delete;
    TacSkinConvertor& operator=(const TacSkinConvertor&) = delete;
    ~TacSkinConvertor() { Clear(); }

    TsArchiveLimits Limits;
    int ImageItemCount = 0;
    std::vector<TacImageItem> ImageItems;
    std::unique_ptr<std::vector<std::uint8_t>> OptionsData;

    // The archive being read: the reader's own copy of a file, or bytes the caller keeps alive.
    std::span<const std::uint8_t> ArchiveStream;
    std::size_t ArchivePosition = 0;
    void SetArchiveStream(std::span<const std::uint8_t> bytes);
    void TakeArchive(std::vector<std::uint8_t> bytes);
    void FreeArchive();
    bool OwnsArchive() const { return !ownedArchive_.empty(); }

    // The first image entry whose upper-cased name equals `name` byte for byte; -1 if none.
    int FindItem(std::string_view name) const;
    // Inflated bytes held, options entry included.
    std::size_t ContentBytes() const;

    void Clear();

private:
    std::vector<std::uint8_t> ownedArchive_;
};

// Reads the archive from ArchiveStream (position 0). A wrong magic clears and destroys the
// reader (reader becomes null) and throws; other failures leave it partly filled and throw.
void ParseArchive(std::unique_ptr<TacSkinConvertor>& reader);
// Reads a file into a (new or cleared) reader and parses it; nothing happens when the file
// does not exist. With freeArchive the file's bytes are dropped after parsing.
void OpenArchive(const std::string& fileName, std::unique_ptr<TacSkinConvertor>& reader, bool freeArchive);
void ClearArchive(TacSkinConvertor& reader);

// Whether a name's extension (from the last "." after the last separator or drive colon),
// upper-cased, is ".BMP".
bool HasBitmapExtension(std::string_view name);

// Writes an archive of the given entries (options entry included), one zlib stream each.
struct ArchiveEntry {
    std::string name;
    std::vector<std::uint8_t> data;
};
std::vector<std::uint8_t> WriteArchive(const std::vector<ArchiveEntry>& entries, int level = 9);

}  // namespace skin
