#include "glow_test_support.h"

#include "platform/backend.h"

namespace forms_test {

Bgr ScreenPixel(POINT p) {
    std::vector<std::uint32_t> screen = Screen().ComposeScreen();
    std::uint32_t v = screen[static_cast<std::size_t>(p.y) * Screen().ScreenSize().cx + p.x];
    return Bgr{static_cast<int>(v & 0xFF), static_cast<int>((v >> 8) & 0xFF),
               static_cast<int>((v >> 16) & 0xFF)};
}

void GlowTest::SetUp() {
    Screen().layered = true;
    app = std::make_unique<framework::TApplication>();
    manager = std::make_unique<skin::TsSkinManager>(nullptr);
    model().MasterBitmap = paint_test::MakeBitmap(64, 32, 24, Rgb(50, 100, 200));
    form = new framework::TForm(app.get());
    form->SetBorderStyle(framework::TFormBorderStyle::bsNone);
    form->SetColor(kFormColor);
    form->SetBounds(50, 50, 400, 300);
    form->Show();
    Pump();
}

void GlowTest::TearDown() {
    Screen().layered = true;  // the screen outlives the suite
    forms::CloseAllGlowWindows();
    delete form;
    manager.reset();
    app.reset();
}

skin::TsGeneralData& GlowTest::AddSection(const std::string& name, const std::string& parentClass) {
    skin::TsGeneralData s;
    s.SectionName = name;
    s.ParentClass = parentClass;
    model().Sections.push_back(std::move(s));
    return model().Sections.back();
}

int GlowTest::AddEntry(skin::TsMaskData entry) {
    entry.OwnerManager = manager.get();
    model().Masks.push_back(std::move(entry));
    return static_cast<int>(model().Masks.size()) - 1;
}

int GlowTest::AddFrameEntry(const std::string& section, const std::string& property, int wl, int wt,
                            int wr, int wb) {
    skin::TsMaskData m;
    m.SectionName = section;
    m.PropertyName = property;
    m.R = RECT{0, 0, 3, 3};
    m.ImageCount = 1;
    m.WL = static_cast<std::int16_t>(wl), m.WT = static_cast<std::int16_t>(wt);
    m.WR = static_cast<std::int16_t>(wr), m.WB = static_cast<std::int16_t>(wb);
    return AddEntry(std::move(m));
}

int GlowTest::Open(const RECT& box, const RECT& visible, int overlap, const std::string& section) {
    return forms::OpenGlowWindow(box, visible, section, manager.get(), form->Handle(), overlap,
                                 "GLOW");
}

RECT GlowTest::GlowRect(int id) {
    RECT r{};
    forms::TacGlowEffect* glow = forms::FindGlow(id);
    if (glow && glow->GlowForm()) GetWindowRect(glow->GlowForm()->Handle(), &r);
    return r;
}

}  // namespace forms_test
