#include "platform/headless/script.h"

#include <cstdlib>
#include <sstream>
#include <string_view>

#include "platform/virtual_keys.h"

namespace platform::headless {
namespace {

bool ParseInt(const std::string& s, int* out) {
    if (s.empty()) return false;
    char* end = nullptr;
    long v = std::strtol(s.c_str(), &end, 10);
    if (*end != 0 || v < -100000 || v > 100000) return false;
    *out = static_cast<int>(v);
    return true;
}

std::optional<ScriptOp> PointerOp(const std::string& word) {
    if (word == "move") return ScriptOp::Move;
    if (word == "click") return ScriptOp::Click;
    if (word == "rclick") return ScriptOp::RightClick;
    if (word == "mclick") return ScriptOp::MiddleClick;
    if (word == "dblclick") return ScriptOp::DoubleClick;
    return std::nullopt;
}

bool ParsePointer(std::istringstream& in, ScriptCommand& c) {
    std::string a, b, extra;
    in >> a;
    if (a == "screen") {
        c.screenCoords = true;
        in >> a;
    }
    in >> b;
    int x, y;
    if (!ParseInt(a, &x) || !ParseInt(b, &y) || (in >> extra)) return false;
    c.point = POINT{x, y};
    return true;
}

std::string RestOfLine(const std::string& line, const std::string& word) {
    std::size_t at = line.find(word) + word.size();
    if (at < line.size() && line[at] == ' ') ++at;
    return line.substr(at);
}

bool ParseLine(const std::string& line, ScriptCommand& c) {
    std::istringstream in(line);
    std::string word, extra;
    in >> word;
    if (auto op = PointerOp(word)) {
        c.op = *op;
        return ParsePointer(in, c);
    }
    if (word == "wait") {
        std::string ms;
        in >> ms;
        c.op = ScriptOp::Wait;
        return ParseInt(ms, &c.millis) && c.millis >= 0 && !(in >> extra);
    }
    if (word == "key") {
        c.op = ScriptOp::Key;
        in >> c.text;
        KeyChord chord;
        return ParseKeyName(c.text, &chord) && !(in >> extra);
    }
    if (word == "type") {
        c.op = ScriptOp::Type;
        c.text = RestOfLine(line, word);
        return true;
    }
    if (word == "tray") {
        std::string action;
        in >> action;
        if (in >> extra) return false;
        if (action == "on") return c.op = ScriptOp::TrayOn, true;
        if (action == "off") return c.op = ScriptOp::TrayOff, true;
        c.op = ScriptOp::Tray;
        c.trayAction = action;
        return action == "click" || action == "rclick" || action == "mclick" || action == "dblclick";
    }
    if (word == "shot") {
        c.op = ScriptOp::Shot;
        in >> c.text;
        return c.text.size() > 4 && c.text.ends_with(".png") && !(in >> extra);
    }
    if (word == "quit") {
        c.op = ScriptOp::Quit;
        return !(in >> extra);
    }
    return false;
}

}  // namespace

ParsedScript ParseScript(const std::string& source) {
    ParsedScript out;
    std::istringstream in(source);
    std::string line;
    int number = 0;
    while (std::getline(in, line)) {
        ++number;
        if (!line.empty() && line.back() == '\r') line.pop_back();
        if (line.find_first_not_of(" \t") == std::string::npos || line[line.find_first_not_of(" \t")] == '#') continue;
        ScriptCommand c;
        c.op = ScriptOp::Quit;
        c.line = number;
        if (!ParseLine(line, c)) {
            out.error = ScriptParseError{number, line};
            return out;
        }
        out.commands.push_back(std::move(c));
    }
    return out;
}

bool ParseKeyName(const std::string& name, KeyChord* out) {
    KeyChord k;
    std::string_view rest = name;
    for (;;) {
        if (rest.starts_with("Shift+")) k.shift = true, rest.remove_prefix(6);
        else if (rest.starts_with("Ctrl+")) k.ctrl = true, rest.remove_prefix(5);
        else if (rest.starts_with("Alt+")) k.alt = true, rest.remove_prefix(4);
        else break;
    }
    static const struct { const char* name; UINT vk; } named[] = {
        {"Tab", VK_TAB}, {"Enter", VK_RETURN}, {"Escape", VK_ESCAPE}, {"Space", VK_SPACE}, {"Up", VK_UP},
        {"Down", VK_DOWN}, {"Left", VK_LEFT}, {"Right", VK_RIGHT}, {"Home", VK_HOME}, {"End", VK_END},
        {"Delete", VK_DELETE}, {"Backspace", VK_BACK}};
    for (const auto& n : named)
        if (rest == n.name) k.vk = n.vk;
    if (rest.size() >= 2 && rest[0] == 'F') {
        int f = 0;
        if (ParseInt(std::string(rest.substr(1)), &f) && f >= 1 && f <= 12) k.vk = VK_F1 + f - 1;
    }
    if (rest.size() == 1 && rest[0] >= 'A' && rest[0] <= 'Z' && k.ctrl) k.vk = static_cast<UINT>(rest[0]);
    if (k.vk == 0) return false;
    if (k.vk == VK_SPACE) k.text.push_back(' ');
    *out = k;
    return true;
}

}  // namespace platform::headless
