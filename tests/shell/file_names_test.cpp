// The rules for names typed into file-name edits, and what the choosers are asked.
#include <gtest/gtest.h>

#include "platform/shell/file_chooser.h"
#include "shell/file_names.h"
#include "shell_test_support.h"

namespace {

using platform::shell::ChooserKind;
using platform::shell::ChooserQuery;

TEST(FileNames, ValidNameRule) {
    struct Row {
        const char* name;
        const char* text;
        bool valid;
    };
    const Row rows[] = {
        {"plain", "song.mp3", true},
        {"full path", "/home/user/Музыка/song.mp3", true},
        {"spaces", "/music/my song.mp3", true},
        {"windows path", "c:\\music\\a.mp3", true},
        {"empty", "", false},
        {"less than", "a<b", false},
        {"greater than", "a>b", false},
        {"quote", "\"a.mp3\"", false},
        {"bar", "a|b", false},
        {"star", "*.mp3", false},
        {"question mark", "a?.mp3", false},
        // Legal in Linux names, but each would split the line of the settings file it is
        // saved on and shift every later row.
        {"line feed", "/music/a\nb.mp3", false},
        {"carriage return", "/music/a\rb.mp3", false},
        {"ctrl-z", "/music/a\x1a.mp3", false},
    };
    for (const Row& r : rows) EXPECT_EQ(shell::ValidFileName(r.text), r.valid) << r.name;
}

// Cutting a Cyrillic or CJK text at a byte count once split a character into invalid UTF-8.
TEST(FileNames, CutUtf8KeepsWholeCharactersWithinTheLimit) {
    struct Row {
        const char* name;
        std::string text;
        std::size_t bytes;
        std::string cut;
    };
    const std::string zh = "\xE6\x99\x82";  // three bytes
    const std::string emoji = "\xF0\x9F\x8E\xB5";  // four bytes
    const Row rows[] = {
        {"short stays", "abc", 5, "abc"},
        {"exact fits", "abcde", 5, "abcde"},
        {"ascii cut", "abcdef", 5, "abcde"},
        {"cyrillic at its end", "ab\xD0\xB6", 4, "ab\xD0\xB6"},
        {"cyrillic split", "abc\xD0\xB6", 4, "abc"},
        {"ideograph split after one byte", "a" + zh + zh, 5, "a" + zh},
        {"ideograph split after two bytes", "ab" + zh, 4, "ab"},
        {"emoji split after three bytes", "a" + emoji, 4, "a"},
        {"emoji whole", "a" + emoji + "b", 5, "a" + emoji},
    };
    for (const Row& r : rows) EXPECT_EQ(shell::CutUtf8(r.text, r.bytes), r.cut) << r.name;
}

TEST(FileNames, FolderAndNameParts) {
    struct Row {
        const char* path;
        const char* folder;
        const char* name;
    };
    const Row rows[] = {
        {"/music/a.mp3", "/music/", "a.mp3"},
        {"/music/", "/music/", ""},
        {"a.mp3", "", "a.mp3"},
        {"/a.mp3", "/", "a.mp3"},
        {"c:\\music\\a.mp3", "c:\\music\\", "a.mp3"},
    };
    for (const Row& r : rows) {
        EXPECT_EQ(shell::ExtractFilePath(r.path), r.folder) << r.path;
        EXPECT_EQ(shell::ExtractFileName(r.path), r.name) << r.path;
    }
}

TEST(FileNames, InitialFolderDropsTheTrailingSeparatorExceptFromARoot) {
    struct Row {
        const char* name;
        const char* folder;
        const char* kept;
    };
    const Row rows[] = {
        {"trailing slash", "/music/", "/music"},
        {"no trailing slash", "/music", "/music"},
        {"the root", "/", "/"},
        {"a drive root", "c:\\", "c:\\"},
        {"a windows folder", "c:\\music\\", "c:\\music"},
        {"empty", "", ""},
    };
    for (const Row& r : rows) EXPECT_EQ(shell::InitialFolder(r.folder), r.kept) << r.name;
}

TEST(FileChooser, FilterListPairs) {
    const char list[] = "All files (*.*)\0*.*\0Music\0*.mp3; *.ogg\0Broken\0\0";
    auto filters = platform::shell::ParseFilterList(list);
    ASSERT_EQ(filters.size(), 2u);
    EXPECT_EQ(filters[0].name, "All files (*.*)");
    EXPECT_EQ(filters[0].patterns, (std::vector<std::string>{"*"}));
    EXPECT_EQ(filters[1].patterns, (std::vector<std::string>{"*.mp3", "*.ogg"}));
    EXPECT_TRUE(platform::shell::ParseFilterList(nullptr).empty());
}

TEST(FileChooser, OrderFollowsTheDesktop) {
    struct Row {
        const char* desktop;
        ChooserKind first;
    };
    const Row rows[] = {
        {nullptr, ChooserKind::Zenity},  {"GNOME", ChooserKind::Zenity},    {"KDE", ChooserKind::Kdialog},
        {"X-Cinnamon", ChooserKind::Zenity}, {"ubuntu:KDE", ChooserKind::Kdialog}, {"KDEish", ChooserKind::Zenity},
    };
    for (const Row& r : rows) {
        auto order = platform::shell::ChooserOrder(r.desktop);
        ASSERT_EQ(order.size(), 2u);
        EXPECT_EQ(order[0], r.first) << (r.desktop ? r.desktop : "(unset)");
        EXPECT_NE(order[1], order[0]);
    }
}

TEST(FileChooser, ZenityArgumentsPutTheSelectedFilterFirst) {
    shell_testing::TempDir dir;
    ChooserQuery q;
    q.initialDir = dir.Path();
    q.fileName = "a.mp3";
    q.filters = {{"All", {"*"}}, {"Music", {"*.mp3", "*.ogg"}}};
    q.selectedFilter = 1;
    q.title = "Pick";
    EXPECT_EQ(platform::shell::ZenityArguments(q),
              (std::vector<std::string>{"--file-selection", "--title=Pick", "--filename=" + dir.Path() + "/a.mp3",
                                        "--file-filter=Music | *.mp3 *.ogg", "--file-filter=All | *"}));
    q.save = true;
    q.confirmOverwrite = true;
    q.selectedFilter = 5;  // out of range: order unchanged
    auto args = platform::shell::ZenityArguments(q);
    EXPECT_EQ(args[1], "--save");
    EXPECT_EQ(args[2], "--confirm-overwrite");
    EXPECT_EQ(args.back(), "--file-filter=Music | *.mp3 *.ogg");
}

TEST(FileChooser, StartPathPrefersAnExistingFolderOfTheName) {
    shell_testing::TempDir dir;
    std::string a = dir.Make("a"), b = dir.Make("b");
    struct Row {
        const char* name;
        std::string initial, file, start;
    };
    const Row rows[] = {
        {"folder of the name", a, b + "/x.mp3", b + "/x.mp3"},
        {"missing folder of the name", a, "/missing/x.mp3", a + "/x.mp3"},
        {"no name", a, "", a + "/"},
        {"relative folder under the initial one", dir.Path(), "b/x.mp3", dir.Path() + "/b/x.mp3"},
    };
    for (const Row& r : rows) {
        ChooserQuery q;
        q.initialDir = r.initial;
        q.fileName = r.file;
        EXPECT_EQ(platform::shell::StartPath(q), r.start) << r.name;
    }
}

}  // namespace
