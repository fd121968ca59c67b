// The clipboard calls over the headless screen's clipboard.
#include <cstring>

#include "platform/clipboard.h"
#include "window_test_support.h"

using namespace testing_support;

namespace {

class Clipboard : public WindowTest {
protected:
    static HGLOBAL Text(const char* s) {
        HGLOBAL m = GlobalAlloc(GMEM_MOVEABLE, std::strlen(s) + 1);
        std::memcpy(GlobalLock(m), s, std::strlen(s) + 1);
        GlobalUnlock(m);
        return m;
    }
};

TEST_F(Clipboard, CopyThenPasteRoundTripsUtf8) {
    HWND w = CreateTop();
    ASSERT_TRUE(OpenClipboard(w));
    EXPECT_FALSE(OpenClipboard(w));  // one opener at a time
    EmptyClipboard();
    EXPECT_TRUE(SetClipboardData(CF_TEXT, Text("07:00:00 — подъём")));
    CloseClipboard();
    EXPECT_TRUE(IsClipboardFormatAvailable(CF_UNICODETEXT));
    ASSERT_TRUE(OpenClipboard(w));
    HANDLE h = GetClipboardData(CF_TEXT);
    ASSERT_TRUE(h);
    EXPECT_STREQ(static_cast<const char*>(GlobalLock(h)), "07:00:00 — подъём");
    CloseClipboard();
}

TEST_F(Clipboard, ClosedClipboardAndOtherFormatsRefuse) {
    HGLOBAL m = Text("x");
    EXPECT_EQ(SetClipboardData(CF_TEXT, m), nullptr);  // not open: the caller keeps the memory
    EXPECT_EQ(GlobalSize(m), 2u);
    ASSERT_TRUE(OpenClipboard(nullptr));
    EXPECT_EQ(SetClipboardData(2 /* CF_BITMAP */, m), nullptr);
    EXPECT_EQ(GetClipboardData(2), nullptr);
    CloseClipboard();
    EXPECT_EQ(GlobalFree(m), nullptr);
    EXPECT_EQ(GlobalLock(m), nullptr);  // freed memory is gone
}

}  // namespace
