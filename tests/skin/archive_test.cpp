#include <gtest/gtest.h>

#include <random>

#include "skin/skin_archive.h"
#include "skin/skin_files.h"
#include "skin_maker.h"

namespace {

using namespace skin;
using skin_testing::Bytes;

std::unique_ptr<TacSkinConvertor> Parse(const Bytes& archive) {
    auto reader = std::make_unique<TacSkinConvertor>();
    reader->SetArchiveStream(archive);
    ParseArchive(reader);
    return reader;
}

Bytes Noise(std::size_t n, unsigned seed) {
    std::mt19937 rng(seed);
    Bytes b(n);
    for (auto& v : b) v = static_cast<std::uint8_t>(rng());
    return b;
}

void Put32(Bytes& b, std::int32_t v) {
    for (int i = 0; i < 4; ++i) b.push_back(static_cast<std::uint8_t>(static_cast<std::uint32_t>(v) >> (8 * i)));
}

// An archive whose entries are given raw: name, stated size and the stream bytes.
struct RawEntry {
    std::string name;
    std::int32_t size;
    Bytes stream;
};
Bytes RawArchive(std::int32_t count, const std::vector<RawEntry>& entries) {
    Bytes b{'A', 'S', 'z', 'f'};
    Put32(b, count);
    for (const RawEntry& e : entries) {
        Put32(b, static_cast<std::int32_t>(e.name.size()));
        b.insert(b.end(), e.name.begin(), e.name.end());
        Put32(b, e.size);
        b.insert(b.end(), e.stream.begin(), e.stream.end());
    }
    return b;
}

// The zlib stream of one entry, cut out of an archive written by WriteArchive.
Bytes StreamOf(const Bytes& content) {
    Bytes archive = WriteArchive({{"x", content}});
    return Bytes(archive.begin() + 4 + 4 + 4 + 1 + 4, archive.end());
}

TEST(SkinArchive, NamesKeepTheirCaseAndOnlyTheOptionsEntryIgnoresIt) {
    Bytes archive = WriteArchive({{"back.bmp", {1}},
                                  {"options.DAT", skin_testing::Text("[A]")},
                                  {"Glyph.BMP.PNG", {2}},
                                  {"noext", {3}},
                                  {"dir.bmp/file", {4}},
                                  {"Master.bmp", {5, 6}}});
    auto r = Parse(archive);
    ASSERT_TRUE(r->OptionsData);
    EXPECT_EQ(std::string(r->OptionsData->begin(), r->OptionsData->end()), "[A]");
    EXPECT_EQ(r->ImageItemCount, 5);
    ASSERT_EQ(r->ImageItems.size(), 5u);
    struct Row {
        const char* name;
        bool isBitmap;
    } rows[] = {{"back.bmp", true}, {"Glyph.BMP.PNG", false}, {"noext", false}, {"dir.bmp/file", false}, {"Master.bmp", true}};
    for (std::size_t i = 0; i < 5; ++i) {
        SCOPED_TRACE(rows[i].name);
        EXPECT_EQ(r->ImageItems[i].EntryName, rows[i].name);
        EXPECT_EQ(r->ImageItems[i].IsBitmap, rows[i].isBitmap);
    }
    EXPECT_EQ(r->FindItem("MASTER.BMP"), 4);
    EXPECT_EQ(r->FindItem("Master.bmp"), -1);
}

TEST(SkinArchive, OnlyTheOptionsEntryGivesNoImages) {
    auto r = Parse(WriteArchive({{"Options.dat", {'x'}}}));
    EXPECT_EQ(r->ImageItemCount, 0);
    EXPECT_TRUE(r->ImageItems.empty());
}

// Streams that end inside a 65536-byte input block: the surplus must be given back each time.
TEST(SkinArchive, StreamsEndingInsideAnInputBlockAreReadOneAfterAnother) {
    std::vector<ArchiveEntry> entries{{"Options.dat", skin_testing::Text("[GLOBALINFO]\n")}};
    const std::size_t sizes[] = {1, 100, 40000, 65535, 65536, 70001, 3, 200000};
    for (std::size_t i = 0; i < std::size(sizes); ++i) {
        std::string name(1, 'E');
        name.append(std::to_string(i)).append(".BMP");
        entries.push_back({name, Noise(sizes[i], static_cast<unsigned>(i))});
    }
    auto r = Parse(WriteArchive(entries, 1));
    ASSERT_EQ(r->ImageItems.size(), std::size(sizes));
    for (std::size_t i = 0; i < std::size(sizes); ++i) EXPECT_EQ(r->ImageItems[i].EntryData, entries[i + 1].data) << i;
    EXPECT_EQ(r->ArchivePosition, r->ArchiveStream.size());
}

TEST(SkinArchive, ReusedReaderKeepsNothingOfTheFirstArchive) {
    skin_testing::TempDir dir;
    skin_testing::WriteFile(dir / "one.asz", WriteArchive({{"Options.dat", {'1'}}, {"A.BMP", {1}}, {"B.BMP", {2}}}));
    skin_testing::WriteFile(dir / "two.asz", WriteArchive({{"C.PNG", {3}}, {"Options.dat", {'2'}}}));
    std::unique_ptr<TacSkinConvertor> reader;
    OpenArchive(dir / "one.asz", reader, true);
    ASSERT_TRUE(reader);
    TacSkinConvertor* first = reader.get();
    OpenArchive(dir / "two.asz", reader, true);
    EXPECT_EQ(reader.get(), first);
    ASSERT_EQ(reader->ImageItems.size(), 1u);
    EXPECT_EQ(reader->ImageItems[0].EntryName, "C.PNG");
    EXPECT_EQ(*reader->OptionsData, Bytes{'2'});
    EXPECT_TRUE(reader->ArchiveStream.empty());  // freed after parsing
}

TEST(SkinArchive, MissingFileLeavesTheReaderAsItWas) {
    std::unique_ptr<TacSkinConvertor> reader;
    OpenArchive("/nonexistent/skin.asz", reader, true);
    EXPECT_FALSE(reader);
}

TEST(SkinArchive, BackslashPathsAndOtherLetterCaseFindTheFile) {
    skin_testing::TempDir dir;
    skin_testing::WriteFile(dir / "Skins/Dark.asz", WriteArchive({{"Options.dat", {'1'}}}));
    std::unique_ptr<TacSkinConvertor> reader;
    std::string path = dir.Path();
    path.append("\\skins\\Dark.asz");
    OpenArchive(path, reader, true);
    EXPECT_TRUE(reader);
}

TEST(SkinArchive, DamagedArchivesFailWithClearMessages) {
    const Bytes options = StreamOf(skin_testing::Text("[A]"));
    Bytes truncated = RawArchive(1, {{"Options.dat", 3, options}});
    truncated.erase(truncated.end() - 3, truncated.end());
    Bytes corrupt = options;
    corrupt[corrupt.size() / 2] ^= 0xFF;
    corrupt[corrupt.size() - 1] ^= 0x55;
    Bytes badHeader = options;
    badHeader[0] = 0x00;
    struct Row {
        const char* name;
        Bytes archive;
        const char* message;
    } rows[] = {
        {"bad magic", Bytes{'A', 'S', 'z', 'g', 0, 0, 0, 0}, "Loaded data is not a packed skin file"},
        {"shorter than the magic", Bytes{'A', 'S'}, "Loaded data is not a packed skin file"},
        {"ends inside the count", Bytes{'A', 'S', 'z', 'f', 1}, "Stream read error"},
        {"ends inside an entry's data", truncated, "Stream read error"},
        {"inflates to fewer bytes", RawArchive(1, {{"Options.dat", 10, options}}), "Stream read error"},
        {"inflates to more bytes", RawArchive(1, {{"Options.dat", 2, options}}),
         "Damaged skin archive: entry \"Options.dat\" is longer than its size"},
        {"corrupt deflate data", RawArchive(1, {{"Options.dat", 3, corrupt}}), nullptr},
        {"bad zlib header", RawArchive(1, {{"Options.dat", 3, badHeader}}), "data error"},
        {"no options entry", RawArchive(1, {{"A.BMP", 3, options}}), "Damaged skin archive: it has no options entry"},
        {"no entries", RawArchive(0, {}), "Damaged skin archive: it has no options entry"},
        {"two options entries", RawArchive(2, {{"Options.dat", 3, options}, {"OPTIONS.DAT", 3, options}}),
         "Damaged skin archive: it holds two options entries"},
        {"size of 0", RawArchive(1, {{"Options.dat", 0, options}}), "Damaged skin archive: entry \"Options.dat\" has a size of 0"},
        {"negative size", RawArchive(1, {{"Options.dat", -5, options}}),
         "Damaged skin archive: entry \"Options.dat\" has a negative size"},
        {"negative entry count", RawArchive(-1, {}), "Damaged skin archive: negative entry count"},
        {"entry above 64 MiB", RawArchive(1, {{"Options.dat", (64 << 20) + 1, options}}),
         "Damaged skin archive: entry \"Options.dat\" is larger than 64 MiB"},
        {"too many entries", RawArchive(100001, {}), "Damaged skin archive: more than 100000 entries"},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.name);
        auto reader = std::make_unique<TacSkinConvertor>();
        reader->SetArchiveStream(row.archive);
        try {
            ParseArchive(reader);
            ADD_FAILURE() << "no error";
        } catch (const framework::Exception& e) {
            if (row.message) {
                EXPECT_STREQ(e.what(), row.message);
            }
        }
    }
}

// Small limits stand in for the real ones; each maximum itself must be accepted.
std::string ParseWithLimits(const Bytes& archive, TsArchiveLimits limits) {
    auto reader = std::make_unique<TacSkinConvertor>();
    reader->Limits = limits;
    reader->SetArchiveStream(archive);
    try {
        ParseArchive(reader);
    } catch (const framework::Exception& e) {
        return e.what();
    }
    return "ok";
}

TEST(SkinArchive, LimitsHoldExactlyAtTheirBoundaries) {
    const TsArchiveLimits limits{50, 3, 100};
    auto entries = [](std::vector<std::size_t> sizes) {
        std::vector<ArchiveEntry> list{{"Options.dat", skin_testing::Text("[A]")}};
        for (std::size_t i = 0; i < sizes.size(); ++i)
            list.push_back(
                {"P" + std::to_string(i) + ".BMP", Bytes(sizes[i], static_cast<std::uint8_t>(i))});
        return WriteArchive(list);
    };
    struct Row {
        const char* name;
        Bytes archive;
        std::string result;
    } rows[] = {
        {"entry of the maximum", entries({50}), "ok"},
        {"entry one above", entries({51}),
         "Damaged skin archive: entry \"P0.BMP\" is larger than 50 bytes"},
        {"count of the maximum", entries({1, 1}), "ok"},
        {"count one above", entries({1, 1, 1}), "Damaged skin archive: more than 3 entries"},
        // The options entry's 3 bytes count too: 3 + 50 + 47 is the whole allowance.
        {"content of the maximum", entries({50, 47}), "ok"},
        {"content one above, no entry too large", entries({48, 50}),
         "Damaged skin archive: its content exceeds 100 bytes"},
    };
    for (const Row& row : rows)
        EXPECT_EQ(ParseWithLimits(row.archive, limits), row.result) << row.name;
    EXPECT_EQ(SizeText(64ll << 20), "64 MiB");
}

TEST(SkinFiles, FileOfExactlyTheLimitIsRead) {
    skin_testing::TempDir dir;
    skin_testing::WriteFile(dir / "f.bin", Bytes(40, 7));
    EXPECT_EQ(ReadWholeFile(dir / "f.bin", 40).size(), 40u);
    try {
        ReadWholeFile(dir / "f.bin", 39);
        ADD_FAILURE() << "read";
    } catch (const ESkinArchiveError& e) {
        EXPECT_EQ(std::string(e.what()),
                  "Damaged skin: the file " + (dir / "f.bin") + " is larger than 39 bytes");
    }
}

TEST(SkinArchive, NegativeNameLengthIsRejected) {
    Bytes b{'A', 'S', 'z', 'f'};
    Put32(b, 1);
    Put32(b, -1);
    auto reader = std::make_unique<TacSkinConvertor>();
    reader->SetArchiveStream(b);
    EXPECT_THROW(ParseArchive(reader), ESkinArchiveError);
}

TEST(SkinArchive, WrongMagicDestroysTheReader) {
    Bytes b{'P', 'K', 3, 4};
    auto reader = std::make_unique<TacSkinConvertor>();
    reader->SetArchiveStream(b);
    EXPECT_THROW(ParseArchive(reader), ESkinArchiveError);
    EXPECT_FALSE(reader);
}

}  // namespace
