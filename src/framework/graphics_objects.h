// Font, brush and pen: persistent descriptions that create their platform object on demand
// and announce every change, so that controls can repaint and children can follow a parent.
#pragma once

#include <functional>
#include <string>

#include "framework/colors.h"
#include "platform/gdi_text.h"

namespace framework {

enum TFontStyle : unsigned { fsBold = 1, fsItalic = 2, fsUnderline = 4, fsStrikeOut = 8 };
using TFontStyles = unsigned;

// Base of the persistent objects: an assignable value with a change event.
class TGraphicsObject {
public:
    std::function<void()> OnChange;
    virtual ~TGraphicsObject() = default;

protected:
    void Changed() {
        if (OnChange) OnChange();
    }
};

class TFont : public TGraphicsObject {
public:
    TFont() = default;
    TFont(const TFont&) = delete;
    TFont& operator=(const TFont&) = delete;
    ~TFont() override;

    void Assign(const TFont& other);
    bool SameAs(const TFont& other) const;

    const std::string& Name() const { return name_; }
    void SetName(const std::string& name);
    // Negative: character height in pixels at 96 dpi.
    int Height() const { return height_; }
    void SetHeight(int height);
    int Size() const;  // points
    void SetSize(int points);
    TColor Color() const { return color_; }
    void SetColor(TColor color);
    BYTE Charset() const { return charset_; }
    void SetCharset(BYTE charset);
    TFontStyles Style() const { return style_; }
    void SetStyle(TFontStyles style);

    // The platform font; owned by this object and valid until the next change.
    HFONT Handle();

private:
    void Modified();
    std::string name_ = "MS Sans Serif";
    int height_ = -11;
    TColor color_ = clWindowText;
    BYTE charset_ = DEFAULT_CHARSET;
    TFontStyles style_ = 0;
    HFONT handle_ = nullptr;
};

enum class TBrushStyle { bsSolid, bsClear };

class TBrush : public TGraphicsObject {
public:
    TBrush() = default;
    TBrush(const TBrush&) = delete;
    TBrush& operator=(const TBrush&) = delete;
    ~TBrush() override;
    TColor Color() const { return color_; }
    void SetColor(TColor color);
    TBrushStyle Style() const { return style_; }
    void SetStyle(TBrushStyle style);
    HBRUSH Handle();

private:
    void Release();
    TColor color_ = clWhite;
    TBrushStyle style_ = TBrushStyle::bsSolid;
    HBRUSH handle_ = nullptr;
};

class TPen : public TGraphicsObject {
public:
    TPen() = default;
    TPen(const TPen&) = delete;
    TPen& operator=(const TPen&) = delete;
    ~TPen() override;
    TColor Color() const { return color_; }
    void SetColor(TColor color);
    int Width() const { return width_; }
    void SetWidth(int width);
    HPEN Handle();

private:
    void Release();
    TColor color_ = clBlack;
    int width_ = 1;
    HPEN handle_ = nullptr;
};

}  // namespace framework
