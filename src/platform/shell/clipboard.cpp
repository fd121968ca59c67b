// The clipboard over the backend, and the movable memory blocks it trades in.
#include "platform/clipboard.h"

#include <cstring>
#include <map>
#include <memory>
#include <string>
#include <vector>

#include "platform/window/window_system.h"

namespace {

struct Blocks {
    std::map<std::uintptr_t, std::vector<char>> memory;
    std::uintptr_t next = 0x40000;
};

Blocks& B() {
    static Blocks b;
    return b;
}

std::vector<char>* Block(HGLOBAL h) {
    auto it = B().memory.find(reinterpret_cast<std::uintptr_t>(h));
    return it == B().memory.end() ? nullptr : &it->second;
}

struct ClipboardState {
    bool open = false;
    HGLOBAL pasted = nullptr;  // what GetClipboardData handed out, freed on close
};

ClipboardState& C() {
    static ClipboardState c;
    return c;
}

bool IsText(UINT format) { return format == CF_TEXT || format == CF_UNICODETEXT; }

}  // namespace

HGLOBAL GlobalAlloc(UINT, std::size_t bytes) {
    if (bytes > (256u << 20)) return nullptr;
    std::uintptr_t id = B().next;
    B().next += 4;
    B().memory.emplace(id, std::vector<char>(bytes, 0));
    return reinterpret_cast<HGLOBAL>(id);
}

LPVOID GlobalLock(HGLOBAL memory) {
    std::vector<char>* b = Block(memory);
    return b ? b->data() : nullptr;
}

BOOL GlobalUnlock(HGLOBAL memory) { return Block(memory) ? TRUE : FALSE; }

std::size_t GlobalSize(HGLOBAL memory) {
    std::vector<char>* b = Block(memory);
    return b ? b->size() : 0;
}

HGLOBAL GlobalFree(HGLOBAL memory) {
    if (!Block(memory)) return memory;
    B().memory.erase(reinterpret_cast<std::uintptr_t>(memory));
    return nullptr;
}

BOOL OpenClipboard(HWND) {
    if (C().open) return FALSE;
    C().open = true;
    return TRUE;
}

BOOL CloseClipboard() {
    if (!C().open) return FALSE;
    C().open = false;
    if (C().pasted) C().pasted = GlobalFree(C().pasted);
    return TRUE;
}

BOOL EmptyClipboard() {
    if (!C().open) return FALSE;
    platform::win::GetBackend().SetClipboardText(std::string());
    return TRUE;
}

BOOL IsClipboardFormatAvailable(UINT format) {
    if (!IsText(format)) return FALSE;
    auto text = platform::win::GetBackend().ClipboardText();
    return text && !text->empty();
}

HANDLE SetClipboardData(UINT format, HANDLE memory) {
    std::vector<char>* b = Block(memory);
    if (!C().open || !IsText(format) || !b) return nullptr;
    platform::win::GetBackend().SetClipboardText(std::string(b->data(), strnlen(b->data(), b->size())));
    GlobalFree(memory);
    return memory;
}

HANDLE GetClipboardData(UINT format) {
    if (!C().open || !IsText(format)) return nullptr;
    auto text = platform::win::GetBackend().ClipboardText();
    if (!text) return nullptr;
    if (C().pasted) GlobalFree(C().pasted);
    C().pasted = GlobalAlloc(GMEM_MOVEABLE, text->size() + 1);
    std::memcpy(GlobalLock(C().pasted), text->c_str(), text->size() + 1);
    return C().pasted;
}
