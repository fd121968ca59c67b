// Scenarios for the headless screen: one command a line, run in order while the program's
// message loop goes on.
#pragma once

#include <optional>
#include <string>
#include <vector>

#include "platform/types.h"

namespace platform::headless {

enum class ScriptOp { Wait, Move, Click, RightClick, MiddleClick, DoubleClick, Key, Type, Tray, TrayOn, TrayOff, Shot, Quit };

struct ScriptCommand {
    ScriptOp op = ScriptOp::Quit;
    int line = 0;
    int millis = 0;              // Wait
    POINT point{};               // pointer commands
    bool screenCoords = false;   // "screen" before X
    std::string text;            // Key name, Type text, Shot file
    std::string trayAction;      // click, rclick, mclick, dblclick
};

struct ScriptParseError {
    int line;
    std::string text;
};

// Parses a whole scenario; the first line that cannot be parsed is reported.
struct ParsedScript {
    std::vector<ScriptCommand> commands;
    std::optional<ScriptParseError> error;
};
ParsedScript ParseScript(const std::string& source);

// A key name such as "Tab", "Shift+Tab", "Alt+F4" or "Ctrl+V": the modifier keys to hold and
// the key itself; false when the name is unknown.
struct KeyChord {
    bool shift = false, ctrl = false, alt = false;
    UINT vk = 0;
    std::string text;  // what the key types (Space: " ")
};
bool ParseKeyName(const std::string& name, KeyChord* out);

}  // namespace platform::headless
