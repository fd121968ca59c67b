// A fixture with a default skin manager whose model the test builds, an application and a
// form for bound test panels.
#pragma once

#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

#include "framework/application.h"
#include "framework/form.h"
#include "framework/std_controls.h"
#include "paint/bg_query.h"
#include "paint/cache_copy.h"
#include "paint/common_commands.h"
#include "paint/control_commands.h"
#include "paint/control_kinds.h"
#include "paint/control_paint.h"
#include "paint/solid_fills.h"
#include "bound_panel.h"
#include "paint_test_support.h"
#include "skin/skin_manager.h"
#include "support/headless_screen.h"

namespace paint_test {

// A default manager with a model the test fills, an application and a form on the headless
// screen.
class BindingTest : public ::testing::Test {
protected:
    void SetUp() override {
        test_support::HeadlessScreen();
        app = std::make_unique<framework::TApplication>();
        manager = std::make_unique<skin::TsSkinManager>(nullptr);
        model().MasterBitmap = MakeBitmap(64, 32, 24);
        Global().Color = kGlobal;
        form = new framework::TForm(app.get());
        form->SetColor(kFormColor);
        form->SetBounds(10, 10, 400, 300);
    }
    void TearDown() override {
        delete form;
        manager.reset();
        app.reset();
    }
    skin::TsSkinModel& model() { return manager->Model(); }
    skin::TsGeneralData& Global() { return AddSection("GLOBALINFO"); }
    // Adds a section (or returns the one of that name) after the model's last one.
    skin::TsGeneralData& AddSection(const std::string& name, TColor color = 0) {
        int i = model().FindSection(name);
        if (i >= 0) return model().Sections[static_cast<std::size_t>(i)];
        skin::TsGeneralData s;
        s.SectionName = name;
        s.Color = color;
        model().Sections.push_back(std::move(s));
        return model().Sections.back();
    }
    int AddMask(const std::string& section, const std::string& property, RECT r, int images, int maskType,
                skin::TacImgType type = skin::itisaBorder, int wl = 0, int wt = 0, int wr = 0, int wb = 0, int drawMode = 0) {
        skin::TsMaskData m;
        m.SectionName = section;
        m.PropertyName = property;
        m.R = r;
        m.ImageCount = static_cast<std::int16_t>(images);
        m.MaskType = static_cast<std::int16_t>(maskType);
        m.ImgType = type;
        m.DrawMode = static_cast<std::int16_t>(drawMode);
        m.WL = static_cast<std::int16_t>(wl), m.WT = static_cast<std::int16_t>(wt);
        m.WR = static_cast<std::int16_t>(wr), m.WB = static_cast<std::int16_t>(wb);
        m.OwnerManager = manager.get();
        model().Masks.push_back(std::move(m));
        return static_cast<int>(model().Masks.size()) - 1;
    }
    // The model's indexes, and the skin announced as ready.
    void Ready() {
        model().UpdateIndexes();
        manager->GlobalInfo().SkinReady = true;
    }
    BoundPanel* Panel(framework::TWinControl* parent, const std::string& section, RECT bounds, bool cache = true) {
        auto* p = new BoundPanel(form, section, cache);
        p->Place(parent, bounds.left, bounds.top, bounds.right - bounds.left, bounds.bottom - bounds.top);
        return p;
    }
    void Pump() { app->ProcessMessages(); }

    static constexpr TColor kGlobal = Rgb(90, 91, 92);
    static constexpr TColor kFormColor = Rgb(10, 20, 30);
    std::unique_ptr<framework::TApplication> app;
    std::unique_ptr<skin::TsSkinManager> manager;
    framework::TForm* form = nullptr;
};

}  // namespace paint_test
