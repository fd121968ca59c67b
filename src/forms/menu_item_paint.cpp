// Drawing one menu item: border strips of its rows, then its picture composed off screen
// (plate, check mark, glyph or system symbol, text, shortcut), mixed with the background
// when disabled, and copied to the menu in one operation.
#include <algorithm>

#include "forms/skinable_menus.h"
#include "forms/system_menu.h"
#include "paint/bitmaps.h"
#include "paint/border_mask.h"
#include "paint/image_pieces.h"
#include "paint/section_paint.h"
#include "paint/section_text.h"
#include "platform/gdi.h"
#include "platform/gdi_text.h"
#include "platform/menu.h"
#include "platform/window.h"
#include "skin/skin_manager.h"

namespace forms {

using framework::TBitmap;
using framework::TCanvas;
using framework::TColor;
using framework::TMenuItem;

namespace {

constexpr const char* kItemSection = "MENUITEM";
constexpr const char* kDividerSection = "DIVIDERV";
constexpr const char* kTitleSection = "TOOLBAR";
constexpr const char* kPlateSection = "SPEEDBUTTON_SMALL";
constexpr const char* kGlobalSection = "GLOBALINFO";
constexpr char kRightAlignMark = 8;
constexpr int kShortCutGap = 8;
constexpr int kSymbolLeft = 4;
constexpr int kSymbolHeight = 13;  // a 10-point symbol's em at 96 dpi
constexpr int kSymbolExtra = 10;
constexpr int kPlateState = 2;
constexpr int kColumnStrip = 4;  // the gap left of an item that starts a column
// The submenu arrow: a solid triangle pointing right, kArrowWidth columns whose heights
// shrink by two from 2 * kArrowWidth - 1, its base kArrowRight pixels left of the item's
// right edge (inside the room the measure leaves right of the text).
constexpr int kArrowWidth = 4;
constexpr int kArrowRight = 10;
constexpr TColor kEtchDark = framework::clGray;
constexpr TColor kEtchLight = 0xFFFFFF;

// The picture's device context, for block copies.
HDC DcOf(TBitmap& bmp) {
    return bmp.Canvas().Handle();
}

bool IsFirstVisible(const TMenuItem& item) {
    const TMenuItem* parent = item.Parent();
    if (!parent) return true;
    for (int i = 0; i < parent->Count(); ++i)
        if (parent->Items(i)->Visible) return parent->Items(i) == &item;
    return false;
}

bool IsLastVisible(const TMenuItem& item) {
    const TMenuItem* parent = item.Parent();
    if (!parent) return true;
    for (int i = parent->Count() - 1; i >= 0; --i)
        if (parent->Items(i)->Visible) return parent->Items(i) == &item;
    return false;
}

const TMenuItem* NextVisible(const TMenuItem& item) {
    const TMenuItem* parent = item.Parent();
    if (!parent) return nullptr;
    bool after = false;
    for (int i = 0; i < parent->Count(); ++i) {
        const TMenuItem* it = parent->Items(i);
        if (after && it->Visible) return it;
        if (it == &item) after = true;
    }
    return nullptr;
}

// The picture in the 32-bit format of window surfaces (alpha 0, as any 24-bit copy leaves it).
std::unique_ptr<TBitmap> ScreenCopy(TBitmap& picture) {
    auto copy = paint::CreateBmp32(picture.Width(), picture.Height());
    BitBlt(DcOf(*copy), 0, 0, picture.Width(), picture.Height(), DcOf(picture), 0, 0, SRCCOPY);
    return copy;
}

// The popup menu an item belongs to, through its parents to the root item's owner.
const framework::TComponent* MenuOf(const TMenuItem& item) {
    const TMenuItem* root = &item;
    while (root->Parent()) root = root->Parent();
    return root->Owner();
}

}  // namespace

struct TsSkinableMenus::ItemPaint {
    TMenuItem& item;
    TCanvas& canvas;  // the menu's
    RECT r;
    framework::TOwnerDrawState state;
    TBitmap& bg;
    SIZE popup;
    int e1 = 0;
    const skin::TsSkinModel& model;
    std::unique_ptr<TBitmap> picture;
    int Width() const { return r.right - r.left; }
    int Height() const { return r.bottom - r.top; }
    bool Enabled() const { return (state & (framework::odGrayed | framework::odDisabled)) == 0; }
    bool Selected() const { return (state & framework::odSelected) != 0; }
    bool Hot() const { return Enabled() && Selected(); }
};

void TsSkinableMenus::DrawItem(framework::TObject* sender, TCanvas& canvas, const RECT& r,
                               framework::TOwnerDrawState state) {
    auto* item = dynamic_cast<TMenuItem*>(sender);
    if (!item) return;
    if (!Active()) {
        item->DrawStandard(canvas, r, state);
        return;
    }
    HWND window = WindowFromDC(canvas.Handle());
    SIZE popup{};
    if (window) {
        RECT wr{};
        GetWindowRect(window, &wr);
        popup = SIZE{wr.right - wr.left, wr.bottom - wr.top};
    } else {
        popup =
            item->Parent() ? PopupSizeFromItems(*item->Parent()) : SIZE{r.right + 6, r.bottom + 6};
    }
    if (popup.cx <= 0 || popup.cy <= 0) return;
    Background& bg = BackgroundFor(*item, window, popup);
    ItemPaint p{*item,
                canvas,
                r,
                state,
                *bg.bmp,
                popup,
                InFirstColumn(*item) ? bg.extraLine : 0,
                manager_->Model(),
                nullptr};
    if (window) CopyBorderStrips(window, bg, *item, r, p.e1);
    TsMenuItemType type = MenuItemTypeOf(item->Caption());
    if (type == TsMenuItemType::smNormal) CopyGaps(canvas, *bg.bmp, *item, r, popup);
    POINT at{type == TsMenuItemType::smNormal ? p.e1 + r.left : r.left, r.top};
    auto cached = std::find_if(bg.items.begin(), bg.items.end(), [&](const ItemPicture& c) {
        return c.item == item && c.state == state && c.bmp->Height() == p.Height() &&
               c.bmp->Width() == (type == TsMenuItemType::smNormal ? p.Width() - p.e1 : p.Width());
    });
    if (cached != bg.items.end()) {
        BitBlt(canvas.Handle(), at.x, at.y, cached->bmp->Width(), cached->bmp->Height(),
               DcOf(*cached->bmp), 0, 0, SRCCOPY);
    } else {
        ComposeItem(p, type);
        if (p.picture) {
            BitBlt(canvas.Handle(), at.x, at.y, p.picture->Width(), p.picture->Height(),
                   DcOf(*p.picture), 0, 0, SRCCOPY);
            // What the painter's event draws may change from one paint to the next.
            if (!OnDrawItem) {
                std::erase_if(bg.items, [&](const ItemPicture& c) {
                    return c.item == item && c.state == state;
                });
                bg.items.push_back(ItemPicture{item, state, ScreenCopy(*p.picture)});
            }
        }
    }
    // The first item brings the extra line's band left of the first column's pictures.
    if (p.e1 > 0 && item == &FirstOf(*item))
        BitBlt(canvas.Handle(), 0, 0, p.e1, bg.bmp->Height(), DcOf(*bg.bmp), kMenuClientInset,
               kMenuClientInset, SRCCOPY);
    if (item->OnDrawItem) item->OnDrawItem(item, canvas, r, p.Selected());
}

void TsSkinableMenus::ComposeItem(ItemPaint& p, TsMenuItemType type) {
    switch (type) {
        case TsMenuItemType::smDivider:
            DrawDivider(p);
            break;
        case TsMenuItemType::smCaption:
            DrawTitle(p);
            break;
        default:
            DrawNormal(p);
            break;
    }
}

void TsSkinableMenus::CopyBorderStrips(HWND window, Background& record, const TMenuItem& item,
                                       const RECT& r, int e1) {
    if (!record.screen) record.screen = ScreenCopy(*record.bmp);
    TBitmap& bg = *record.screen;
    HDC dc = GetWindowDC(window);
    HDC src = DcOf(bg);
    int w = bg.Width(), h = bg.Height(), bw = BorderWidth, rows = r.bottom - r.top;
    if (IsFirstVisible(item)) BitBlt(dc, 0, 0, w, bw, src, 0, 0, SRCCOPY);
    if (IsLastVisible(item)) BitBlt(dc, 0, h - bw, w, bw, src, 0, h - bw, SRCCOPY);
    int left = e1 + std::max(SkinBorderWidth(), bw);
    BitBlt(dc, 0, r.top + bw, left, rows, src, 0, r.top + bw, SRCCOPY);
    BitBlt(dc, w - bw, r.top + bw, bw, rows, src, w - bw, r.top + bw, SRCCOPY);
    ReleaseDC(window, dc);
}

// The space below the last item of a column is not an item: it gets the background.
void TsSkinableMenus::CopyGaps(TCanvas& canvas, const TBitmap& bgConst, const TMenuItem& item,
                               const RECT& r, SIZE popup) {
    auto& bg = const_cast<TBitmap&>(bgConst);
    const TMenuItem* next = NextVisible(item);
    bool columnEnds = next ? next->Break() != framework::TMenuBreak::mbNone : true;
    int inset = kMenuClientInset, below = popup.cy - r.bottom - 2 * inset;
    if (columnEnds && below > 0)
        BitBlt(canvas.Handle(), r.left, r.bottom, r.right - r.left, below, DcOf(bg), r.left + inset,
               r.bottom + inset, SRCCOPY);
    if (item.Break() != framework::TMenuBreak::mbNone && !IsFirstVisible(item))
        BitBlt(canvas.Handle(), r.left - kColumnStrip, r.top, kColumnStrip, popup.cy - 2 * inset,
               DcOf(bg), r.left - 1, r.top + inset, SRCCOPY);
}

void TsSkinableMenus::DrawNormal(ItemPaint& p) {
    int w = p.Width() - p.e1, h = p.Height();
    if (w <= 0 || h <= 0) return;
    p.picture = paint::CreateBmp24(w, h);
    TBitmap& pic = *p.picture;
    POINT at{p.e1 + p.r.left, p.r.top};
    BitBlt(DcOf(pic), 0, 0, w, h, DcOf(p.bg), kMenuClientInset + at.x, kMenuClientInset + at.y,
           SRCCOPY);
    int section = p.model.FindSection(kItemSection);
    if (section >= 0)
        paint::PaintSectionRect(
            &p.model, section, kItemSection,
            paint::BgSourceFromBitmap(&p.bg, kMenuClientInset, kMenuClientInset), -1, -1, pic, at,
            RECT{0, 0, w, h}, p.Hot() ? 1 : 0, true);
    DrawCheck(p);
    DrawGlyph(p);
    DrawTexts(p);
    DrawSubmenuArrow(p);
    if (OnDrawItem)
        OnDrawItem(&p.item, pic.Canvas(), RECT{0, 0, w, h}, p.state, TsMenuItemType::smNormal);
    if (!p.Enabled())
        MixDisabled(pic, p.bg, POINT{p.e1 + BorderWidth + p.r.left, BorderWidth + p.r.top});
}

void TsSkinableMenus::DrawCheck(ItemPaint& p) {
    if (!(p.state & framework::odChecked) && !p.item.Checked) return;
    if (!p.item.Bitmap().Empty()) return;
    int mark = p.item.RadioItem() ? p.model.FindMaskOwn(kGlobalSection, "RADIOCHECKED") : -1;
    if (mark < 0) mark = p.model.FindMaskOwn(kGlobalSection, "CHECK");
    if (mark < 0) mark = p.model.FindMaskOwn(kGlobalSection, "BOXCHECKED");
    if (mark < 0) return;
    int height = p.model.Masks[static_cast<size_t>(mark)].StateSizeHeight();
    paint::DrawImageFrame(*p.picture, POINT{Margin, (p.Height() - height) / 2}, p.Hot() ? 1 : 0,
                          paint::BgSourceFromBitmap(p.picture.get(), 0, 0), p.model, mark, 1);
}

void TsSkinableMenus::DrawGlyph(ItemPaint& p) {
    TBitmap& pic = *p.picture;
    const framework::TComponent* menu = MenuOf(p.item);
    if (menu && menu->Name() == kSystemMenuComponentName) {
        int section = p.model.FindSection(kItemSection);
        TColor color = framework::ColorToRGB(framework::clMenuText);
        if (section >= 0) {
            const skin::TsGeneralData& s = p.model.Sections[static_cast<size_t>(section)];
            color = p.Hot() ? s.HotFontColor[0] : s.FontColor[0];
        }
        int top = (p.Height() - kSymbolHeight) / 2;
        RECT box{kSymbolLeft, top, kSymbolLeft + kSymbolHeight + kSymbolExtra, top + kSymbolHeight};
        DrawMenuSymbol(DcOf(pic), &box, static_cast<UINT>(p.item.Tag), color);
        return;
    }
    TBitmap& glyph = p.item.Bitmap();
    if (glyph.Empty()) return;
    int left = (p.Height() - glyph.Height()) / 2, top = left;
    if (p.item.Checked) {
        int plate = p.model.FindSection(kPlateSection);
        RECT box{left, top, left + glyph.Width(), top + glyph.Height()};
        if (plate >= 0 && box.left >= 0 && box.top >= 0 && box.right <= pic.Width() &&
            box.bottom <= pic.Height())
            paint::PaintSectionRect(&p.model, plate, kPlateSection,
                                    paint::BgSourceFromBitmap(&pic, 0, 0), -1, -1, pic,
                                    POINT{box.left, box.top}, box, kPlateState, true);
    }
    pic.Canvas().Draw(left, top, glyph);
}

void TsSkinableMenus::WriteText(ItemPaint& p, TCanvas& canvas, const std::string& text, UINT flags,
                                RECT box) {
    int section = p.model.FindSection(kItemSection);
    if (section >= 0) {
        paint::WriteSectionText(canvas, text, true, &p.model, p.Hot(), section, flags, box);
        return;
    }
    // A skin without item colours still shows readable items.
    canvas.Font.SetColor(p.Hot() ? framework::clHighlightText : framework::clMenuText);
    canvas.DrawText(text, box, flags);
}

void TsSkinableMenus::DrawTexts(ItemPaint& p) {
    TCanvas& canvas = p.picture->Canvas();
    int w = p.picture->Width(), h = p.Height();
    SelectMenuFont(canvas, p.item.Default || (p.state & framework::odDefault));
    SIZE glyph = GlyphSize(p.item);
    RECT box{glyph.cx + 2 * Margin + Spacing, 0, w, h};
    std::string caption = p.item.Caption();
    UINT flags = DT_EXPANDTABS | DT_SINGLELINE | DT_VCENTER | DT_NOCLIP;
    if (!caption.empty() && caption.front() == kRightAlignMark) {
        caption.erase(0, 1);
        caption.append(6, ' ');
        flags |= DT_RIGHT;
    } else if (Alignment == framework::TAlignment::taRightJustify) {
        flags |= DT_RIGHT;
    } else if (Alignment == framework::TAlignment::taCenter) {
        flags |= DT_CENTER;
    }
    WriteText(p, canvas, caption, flags, box);
    std::string keys = framework::ShortCutToText(p.item.ShortCut());
    if (keys.empty()) return;
    int width = canvas.TextWidth(keys);
    WriteText(p, canvas, keys, DT_SINGLELINE | DT_VCENTER, RECT{w - kShortCutGap - width, 0, w, h});
}

void TsSkinableMenus::DrawSubmenuArrow(ItemPaint& p) {
    if (p.item.Count() == 0) return;
    TColor color =
        framework::ColorToRGB(p.Hot() ? framework::clHighlightText : framework::clMenuText);
    int section = p.model.FindSection(kItemSection);
    if (section >= 0) {
        const skin::TsGeneralData& s = p.model.Sections[static_cast<size_t>(section)];
        color = p.Hot() ? s.HotFontColor[0] : s.FontColor[0];
    }
    int x = p.picture->Width() - kArrowRight, middle = p.Height() / 2;
    HBRUSH brush = CreateSolidBrush(color);
    for (int k = 0; k < kArrowWidth; ++k) {
        int half = kArrowWidth - 1 - k;
        RECT column{x + k, middle - half, x + k + 1, middle + half + 1};
        FillRect(DcOf(*p.picture), &column, brush);
    }
    DeleteObject(brush);
}

// Each byte keeps 40 % of the picture and takes 60 % of the background behind the item:
// round(b - 0.4 (b - p)) = round((3b + 2p) / 5), which is never a half.
void TsSkinableMenus::MixDisabled(TBitmap& picture, const TBitmap& bg, POINT at) {
    int x0 = std::max(0, -at.x), x1 = std::min(picture.Width(), bg.Width() - at.x);
    int y0 = std::max(0, -at.y), y1 = std::min(picture.Height(), bg.Height() - at.y);
    for (int y = y0; y < y1; ++y) {
        std::uint8_t* d = picture.ScanLine(y) + x0 * 3;
        const std::uint8_t* b = bg.ScanLine(at.y + y) + (at.x + x0) * 3;
        for (int x = x0; x < x1; ++x, d += 3, b += 3) {
            if (b[0] == 0xFF && b[1] == 0 && b[2] == 0xFF) continue;  // a see-through corner
            for (int c = 0; c < 3; ++c)
                d[c] = static_cast<std::uint8_t>((3 * b[c] + 2 * d[c] + 2) / 5);
        }
    }
}

void TsSkinableMenus::DrawDivider(ItemPaint& p) {
    int section = p.model.FindSection(kDividerSection);
    int frame = section >= 0 ? p.model.FindMask(section, kDividerSection, "BORDERSMASK") : -1;
    RECT r = p.r;
    HDC dc = p.canvas.Handle();
    if (frame < 0) {
        // An etched line: dark along the top and left, light along the bottom and right.
        auto fill = [dc](RECT box, TColor color) {
            HBRUSH brush = CreateSolidBrush(color);
            FillRect(dc, &box, brush);
            DeleteObject(brush);
        };
        fill(RECT{r.left, r.top, r.right - 1, r.top + 1}, kEtchDark);
        fill(RECT{r.left, r.top, r.left + 1, r.bottom - 1}, kEtchDark);
        fill(RECT{r.left, r.bottom - 1, r.right, r.bottom}, kEtchLight);
        fill(RECT{r.right - 1, r.top, r.right, r.bottom}, kEtchLight);
        return;
    }
    int w = p.Width(), h = p.Height(), e = p.e1;
    p.picture = paint::CreateBmp24(w, h);
    TBitmap* pic = p.picture.get();
    BitBlt(DcOf(*pic), 0, 0, w, h, DcOf(p.bg), r.left + kMenuClientInset, r.top + kMenuClientInset,
           SRCCOPY);
    int left = e + Margin + Spacing, right = w - (e + 2 * Margin + Spacing);
    // The line never crosses the icon line.
    if (left < e + IconLineWidth()) left = e + IconLineWidth() + 2;
    if (right - left >= 2)
        paint::DrawBorderMask(*pic, RECT{left, 0, right, h}, true, true, 0, p.model, frame,
                              paint::BgSourceFromBitmap(pic, 0, 0));
}

void TsSkinableMenus::DrawTitle(ItemPaint& p) {
    int w = p.Width(), h = p.Height(), e = p.e1;
    RECT r = p.r;
    p.picture = paint::CreateBmp24(w, h);
    TBitmap* pic = p.picture.get();
    BitBlt(DcOf(*pic), 0, 0, w, h, DcOf(p.bg), r.left + kMenuClientInset, r.top + kMenuClientInset,
           SRCCOPY);
    int section = p.model.FindSection(kTitleSection);
    if (section >= 0 && w - 1 > e + 1 && h > 2)
        paint::PaintSectionRect(
            &p.model, section, kTitleSection,
            paint::BgSourceFromBitmap(&p.bg, kMenuClientInset, kMenuClientInset), -1, -1, *pic,
            POINT{r.left + e + 1, r.top + 1}, RECT{e + 1, 1, w - 1, h - 1}, 0, true);
    TCanvas& canvas = pic->Canvas();
    canvas.Font.Assign(CaptionFont);
    UINT flags = DT_CENTER | DT_VCENTER | DT_SINGLELINE | DT_HIDEPREFIX;
    RECT box{e, 0, w, h};
    std::string title = CaptionTitle(p.item.Caption());
    if (section >= 0)
        paint::WriteSectionText(canvas, title, true, &p.model, false, section, flags, box);
    else
        WriteText(p, canvas, title, flags, box);
}

}  // namespace forms
