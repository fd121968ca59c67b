#include "skin/skin_archive.h"

#include <zlib.h>

#include <cstring>

#include "skin/skin_files.h"
#include "skin/skin_text.h"

namespace skin {
namespace {

constexpr char kMagic[4] = {'A', 'S', 'z', 'f'};

std::string Damaged(std::string_view what) {
    std::string m = "Damaged skin archive: ";
    m.append(what);
    return m;
}

std::string Quoted(std::string_view name) {
    std::string q = "entry \"";
    q.append(name);
    q.push_back('"');
    return q;
}

class ArchiveCursor {
public:
    explicit ArchiveCursor(TacSkinConvertor& r) : r_(r) {}

    void Read(void* out, std::size_t n) {
        if (n > Remaining()) throw EReadError();
        std::memcpy(out, r_.ArchiveStream.data() + r_.ArchivePosition, n);
        r_.ArchivePosition += n;
    }
    std::int32_t ReadInt32() {
        std::uint8_t b[4];
        Read(b, 4);
        return static_cast<std::int32_t>(std::uint32_t{b[0]} | std::uint32_t{b[1]} << 8 | std::uint32_t{b[2]} << 16 |
                                         std::uint32_t{b[3]} << 24);
    }
    std::size_t Remaining() const { return r_.ArchiveStream.size() - r_.ArchivePosition; }
    // The next block of at most kInflateBlock bytes; the position moves past it.
    std::span<const std::uint8_t> Pull() {
        std::size_t n = std::min(kInflateBlock, Remaining());
        auto block = r_.ArchiveStream.subspan(r_.ArchivePosition, n);
        r_.ArchivePosition += n;
        return block;
    }
    void GiveBack(std::size_t n) { r_.ArchivePosition -= n; }

private:
    TacSkinConvertor& r_;
};

struct Inflater {
    z_stream z{};
    Inflater() {
        if (inflateInit(&z) != Z_OK) throw EZDecompressionError(zError(Z_MEM_ERROR));
    }
    ~Inflater() { inflateEnd(&z); }
    Inflater(const Inflater&) = delete;
    Inflater& operator=(const Inflater&) = delete;
};

// Inflates one zlib stream starting at the cursor into exactly `size` bytes, then puts the
// cursor on the first byte after the stream's trailer. The buffer grows as content arrives, so
// a stated size that the data does not back costs no memory.
std::vector<std::uint8_t> InflateEntry(ArchiveCursor& cursor, std::size_t size, std::string_view name) {
    constexpr std::size_t kFirstChunk = 1u << 20;
    Inflater inf;
    z_stream& z = inf.z;
    std::vector<std::uint8_t> out(std::min(size, kFirstChunk));
    std::size_t produced = 0;
    std::uint8_t spill = 0;
    bool filled = false;
    auto tooLong = [&] { return ESkinArchiveError(Damaged(Quoted(name) + " is longer than its size")); };
    while (true) {
        if (z.avail_in == 0) {
            auto block = cursor.Pull();
            if (block.empty()) throw EReadError();
            z.next_in = const_cast<Bytef*>(block.data());
            z.avail_in = static_cast<uInt>(block.size());
        }
        if (!filled && produced == out.size() && out.size() < size) out.resize(std::min(size, out.size() * 2));
        if (produced == size) filled = true;
        if (filled) {
            // Every requested byte is there; only the stream's end may follow.
            z.next_out = &spill;
            z.avail_out = 1;
        } else {
            z.next_out = out.data() + produced;
            z.avail_out = static_cast<uInt>(out.size() - produced);
        }
        const uInt room = z.avail_out;
        int rc = inflate(&z, Z_NO_FLUSH);
        const std::size_t got = room - z.avail_out;
        if (filled && got > 0) throw tooLong();
        produced += filled ? 0 : got;
        if (rc == Z_STREAM_END) {
            if (produced != size) throw EReadError();
            cursor.GiveBack(z.avail_in);
            return out;
        }
        if (rc == Z_BUF_ERROR) continue;  // needs more input: the next pull fails at the end
        if (rc != Z_OK) throw EZDecompressionError(zError(rc));
    }
}

void ParseEntry(ArchiveCursor& cursor, TacSkinConvertor& r, std::size_t& contentTotal) {
    std::int32_t nameLength = cursor.ReadInt32();
    if (nameLength < 0) throw ESkinArchiveError(Damaged("negative name length"));
    if (static_cast<std::size_t>(nameLength) > cursor.Remaining()) throw EReadError();
    std::string name(static_cast<std::size_t>(nameLength), '\0');
    cursor.Read(name.data(), name.size());
    std::int32_t size = cursor.ReadInt32();
    if (size < 0) throw ESkinArchiveError(Damaged(Quoted(name) + " has a negative size"));
    if (size == 0) throw ESkinArchiveError(Damaged(Quoted(name) + " has a size of 0"));
    const TsArchiveLimits& limits = r.Limits;
    if (size > limits.maxEntrySize)
        throw ESkinArchiveError(
            Damaged(Quoted(name) + " is larger than " + SizeText(limits.maxEntrySize)));
    contentTotal += static_cast<std::size_t>(size);
    if (static_cast<std::int64_t>(contentTotal) > limits.maxContentBytes)
        throw ESkinArchiveError(Damaged("its content exceeds " + SizeText(limits.maxContentBytes)));
    std::vector<std::uint8_t> data = InflateEntry(cursor, static_cast<std::size_t>(size), name);
    if (EqualsNoCase(name, "Options.dat")) {
        if (r.OptionsData) throw ESkinArchiveError(Damaged("it holds two options entries"));
        r.OptionsData = std::make_unique<std::vector<std::uint8_t>>(std::move(data));
    } else {
        r.ImageItems.push_back(TacImageItem{name, HasBitmapExtension(name), std::move(data)});
    }
}

}  // namespace

std::string SizeText(std::int64_t bytes) {
    constexpr std::int64_t kMiB = 1ll << 20;
    if (bytes > 0 && bytes % kMiB == 0) return std::to_string(bytes / kMiB) + " MiB";
    return std::to_string(bytes) + " bytes";
}

void TacSkinConvertor::SetArchiveStream(std::span<const std::uint8_t> bytes) {
    ownedArchive_.clear();
    ownedArchive_.shrink_to_fit();
    ArchiveStream = bytes;
    ArchivePosition = 0;
}

void TacSkinConvertor::TakeArchive(std::vector<std::uint8_t> bytes) {
    ownedArchive_ = std::move(bytes);
    ArchiveStream = ownedArchive_;
    ArchivePosition = 0;
}

void TacSkinConvertor::FreeArchive() {
    ownedArchive_.clear();
    ownedArchive_.shrink_to_fit();
    ArchiveStream = {};
    ArchivePosition = 0;
}

int TacSkinConvertor::FindItem(std::string_view name) const {
    for (std::size_t i = 0; i < ImageItems.size(); ++i)
        if (UpperCase(ImageItems[i].EntryName) == name) return static_cast<int>(i);
    return -1;
}

std::size_t TacSkinConvertor::ContentBytes() const {
    std::size_t total = OptionsData ? OptionsData->size() : 0;
    for (const TacImageItem& item : ImageItems) total += item.EntryData.size();
    return total;
}

void TacSkinConvertor::Clear() {
    while (!ImageItems.empty()) ImageItems.pop_back();
    OptionsData.reset();
    FreeArchive();
    ImageItemCount = 0;
}

void ClearArchive(TacSkinConvertor& reader) { reader.Clear(); }

bool HasBitmapExtension(std::string_view name) {
    std::size_t start = name.find_last_of("\\/:");
    std::string_view base = start == std::string_view::npos ? name : name.substr(start + 1);
    std::size_t dot = base.rfind('.');
    return dot != std::string_view::npos && UpperCase(base.substr(dot)) == ".BMP";
}

void ParseArchive(std::unique_ptr<TacSkinConvertor>& reader) {
    TacSkinConvertor& r = *reader;
    r.ArchivePosition = 0;
    ArchiveCursor cursor(r);
    char magic[4] = {};
    if (cursor.Remaining() < 4 || (cursor.Read(magic, 4), std::memcmp(magic, kMagic, 4) != 0)) {
        ClearArchive(r);
        reader.reset();
        throw ESkinArchiveError("Loaded data is not a packed skin file");
    }
    std::int32_t count = cursor.ReadInt32();
    if (count < 0) throw ESkinArchiveError(Damaged("negative entry count"));
    if (count > r.Limits.maxEntryCount)
        throw ESkinArchiveError(
            Damaged("more than " + std::to_string(r.Limits.maxEntryCount) + " entries"));
    r.ImageItemCount = count - 1;
    std::size_t contentTotal = 0;
    for (std::int32_t i = 0; i < count; ++i) ParseEntry(cursor, r, contentTotal);
    if (!r.OptionsData) throw ESkinArchiveError(Damaged("it has no options entry"));
}

void OpenArchive(const std::string& fileName, std::unique_ptr<TacSkinConvertor>& reader, bool freeArchive) {
    std::string path = ResolveSkinPath(fileName);
    if (!IsFile(path)) return;
    if (reader)
        ClearArchive(*reader);
    else
        reader = std::make_unique<TacSkinConvertor>();
    reader->TakeArchive(ReadWholeFile(path));
    ParseArchive(reader);
    if (freeArchive && reader) reader->FreeArchive();
}

std::vector<std::uint8_t> WriteArchive(const std::vector<ArchiveEntry>& entries, int level) {
    std::vector<std::uint8_t> out(kMagic, kMagic + 4);
    auto put32 = [&out](std::uint32_t v) {
        for (int i = 0; i < 4; ++i) out.push_back(static_cast<std::uint8_t>(v >> (8 * i)));
    };
    put32(static_cast<std::uint32_t>(entries.size()));
    for (const ArchiveEntry& e : entries) {
        put32(static_cast<std::uint32_t>(e.name.size()));
        out.insert(out.end(), e.name.begin(), e.name.end());
        put32(static_cast<std::uint32_t>(e.data.size()));
        uLongf packedSize = compressBound(static_cast<uLong>(e.data.size()));
        std::vector<std::uint8_t> packed(packedSize);
        if (compress2(packed.data(), &packedSize, e.data.data(), static_cast<uLong>(e.data.size()), level) != Z_OK)
            throw EZDecompressionError("cannot compress " + e.name);
        out.insert(out.end(), packed.begin(), packed.begin() + static_cast<std::ptrdiff_t>(packedSize));
    }
    return out;
}

}  // namespace skin
