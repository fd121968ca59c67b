#include "framework/graphics_objects.h"

#include <cstring>
#include <utility>

namespace framework {

TFont::~TFont() {
    if (handle_) DeleteObject(handle_);
}

void TFont::Modified() {
    if (handle_) DeleteObject(handle_);
    handle_ = nullptr;
    Changed();
}

void TFont::Assign(const TFont& other) {
    if (SameAs(other)) return;
    name_ = other.name_;
    height_ = other.height_;
    color_ = other.color_;
    charset_ = other.charset_;
    style_ = other.style_;
    Modified();
}

bool TFont::SameAs(const TFont& o) const {
    return name_ == o.name_ && height_ == o.height_ && color_ == o.color_ && charset_ == o.charset_ &&
           style_ == o.style_;
}

void TFont::SetName(const std::string& name) {
    if (name == name_) return;
    name_ = name;
    Modified();
}

void TFont::SetHeight(int height) {
    if (height == height_) return;
    height_ = height;
    Modified();
}

int TFont::Size() const { return -(height_ * 72 - 48) / 96; }

void TFont::SetSize(int points) { SetHeight(-(points * 96 + 36) / 72); }

void TFont::SetColor(TColor color) {
    if (color == color_) return;
    color_ = color;
    Changed();  // the platform font does not carry the colour
}

void TFont::SetCharset(BYTE charset) {
    if (charset == charset_) return;
    charset_ = charset;
    Modified();
}

void TFont::SetStyle(TFontStyles style) {
    if (style == style_) return;
    style_ = style;
    Modified();
}

HFONT TFont::Handle() {
    if (!handle_) {
        LOGFONT lf{};
        lf.lfHeight = height_;
        lf.lfWeight = (style_ & fsBold) ? FW_BOLD : FW_NORMAL;
        lf.lfItalic = (style_ & fsItalic) ? 1 : 0;
        lf.lfUnderline = (style_ & fsUnderline) ? 1 : 0;
        lf.lfStrikeOut = (style_ & fsStrikeOut) ? 1 : 0;
        lf.lfCharSet = charset_;
        std::strncpy(lf.lfFaceName, name_.c_str(), sizeof lf.lfFaceName - 1);
        handle_ = CreateFontIndirect(&lf);
    }
    return handle_;
}

TBrush::~TBrush() { Release(); }

void TBrush::Release() {
    if (handle_) DeleteObject(handle_);
    handle_ = nullptr;
}

void TBrush::SetColor(TColor color) {
    if (color == color_ && style_ == TBrushStyle::bsSolid) return;
    color_ = color;
    style_ = TBrushStyle::bsSolid;
    Release();
    Changed();
}

void TBrush::SetStyle(TBrushStyle style) {
    if (style == style_) return;
    style_ = style;
    Release();
    Changed();
}

HBRUSH TBrush::Handle() {
    if (!handle_) {
        handle_ = style_ == TBrushStyle::bsClear ? static_cast<HBRUSH>(GetStockObject(NULL_BRUSH))
                                                 : CreateSolidBrush(ColorToRGB(color_));
        if (style_ == TBrushStyle::bsClear) return std::exchange(handle_, nullptr);
    }
    return handle_;
}

TPen::~TPen() { Release(); }

void TPen::Release() {
    if (handle_) DeleteObject(handle_);
    handle_ = nullptr;
}

void TPen::SetColor(TColor color) {
    if (color == color_) return;
    color_ = color;
    Release();
    Changed();
}

void TPen::SetWidth(int width) {
    if (width == width_) return;
    width_ = width;
    Release();
    Changed();
}

HPEN TPen::Handle() {
    if (!handle_) handle_ = CreatePen(PS_SOLID, width_, ColorToRGB(color_));
    return handle_;
}

}  // namespace framework
