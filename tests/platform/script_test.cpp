// Parsing of headless scenarios.
#include <gtest/gtest.h>

#include "platform/headless/script.h"
#include "platform/virtual_keys.h"

using namespace platform::headless;

namespace {

TEST(ScriptParse, EveryCommandForm) {
    ParsedScript s = ParseScript(
        "wait 250\nmove 10 20\nclick screen 5 6\nrclick 1 2\nmclick 3 4\ndblclick 7 8\n"
        "key Shift+Tab\ntype Привет, мир\ntray dblclick\ntray off\ntray on\nshot out.png\n\n# comment\nquit\r\n");
    ASSERT_FALSE(s.error);
    ASSERT_EQ(s.commands.size(), 13u);
    EXPECT_EQ(s.commands[0].op, ScriptOp::Wait);
    EXPECT_EQ(s.commands[0].millis, 250);
    EXPECT_EQ(s.commands[1].point.y, 20);
    EXPECT_FALSE(s.commands[1].screenCoords);
    EXPECT_TRUE(s.commands[2].screenCoords);
    EXPECT_EQ(s.commands[2].point.x, 5);
    EXPECT_EQ(s.commands[5].op, ScriptOp::DoubleClick);
    EXPECT_EQ(s.commands[7].text, "Привет, мир");
    EXPECT_EQ(s.commands[8].trayAction, "dblclick");
    EXPECT_EQ(s.commands[11].text, "out.png");
    EXPECT_EQ(s.commands[12].op, ScriptOp::Quit);
    EXPECT_EQ(s.commands[12].line, 15);
}

TEST(ScriptParse, BadLinesAreReportedByNumber) {
    struct Row {
        const char* name;
        const char* script;
        int line;
    } rows[] = {
        {"unknown command", "wait 1\njump 3 4\n", 2},
        {"missing coordinate", "click 5\n", 1},
        {"not a number", "move a b\n", 1},
        {"negative wait", "wait -5\n", 1},
        {"unknown key", "key Hyper+Q\n", 1},
        {"extra word", "quit now\n", 1},
        {"shot without png", "shot picture.jpg\n", 1},
        {"tray action", "tray poke\n", 1},
    };
    for (const Row& r : rows) {
        ParsedScript s = ParseScript(r.script);
        ASSERT_TRUE(s.error) << r.name;
        EXPECT_EQ(s.error->line, r.line) << r.name;
    }
}

TEST(ScriptParse, KeyNames) {
    KeyChord k;
    ASSERT_TRUE(ParseKeyName("Alt+F4", &k));
    EXPECT_TRUE(k.alt);
    EXPECT_EQ(k.vk, VK_F1 + 3);
    ASSERT_TRUE(ParseKeyName("Ctrl+V", &k));
    EXPECT_TRUE(k.ctrl);
    EXPECT_EQ(k.vk, static_cast<UINT>('V'));
    ASSERT_TRUE(ParseKeyName("Space", &k));
    EXPECT_EQ(k.text, " ");
    EXPECT_FALSE(ParseKeyName("V", &k));  // letters only with Ctrl
    EXPECT_FALSE(ParseKeyName("F13", &k));
}

}  // namespace
