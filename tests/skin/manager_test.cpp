#include <gtest/gtest.h>
#include <unistd.h>

#include "framework/application.h"
#include "skin/skin_manager.h"
#include "skin_maker.h"

namespace {

using namespace skin;
using namespace skin_testing;

SkinFiles SimpleSkin(const std::string& author, TColor panelColor = 0x0000FF) {
    SkinFiles s;
    char color[16];
    std::snprintf(color, sizeof color, "$%06X", static_cast<unsigned>(panelColor));
    s.options = "[GLOBALINFO]\nVERSION=6.5\nMASTERBITMAP=MASTER.BMP\nAUTHOR=" + author +
                "\nBIKEEPHUE=2\nBICONCLOSE=@   0,   0,   4,   4 1 0\n"
                "[PANEL]\nCOLOR=" + color + "\nHOTCOLOR=$808080\nBORDERSMASK=!FRAME.BMP!3!1!0\n";
    // Red everywhere, grey in the last column, fuchsia in the last row.
    s.files["MASTER.BMP"] = MakeBmp(16, 8, 24, [](int x, int y) -> std::uint32_t {
        if (y == 7) return 0xFF00FF;
        return x == 15 ? 0x808080 : 0xFF0000;
    });
    s.files["FRAME.BMP"] = MakeBmp(12, 8);
    return s;
}

class SkinManagerTest : public ::testing::Test {
protected:
    void SetUp() override {
        SetSkinMessageBox([this](HWND, const std::string& text, const std::string& caption, UINT) {
            boxes.push_back(caption + ": " + text);
            return IDOK;
        });
        manager = std::make_unique<TsSkinManager>(nullptr);
        manager->OnBeforeChange = [this](framework::TObject*) { ++before; };
        manager->OnAfterChange = [this](framework::TObject*) { ++after; };
        manager->SetSkinDirectory(dir.Path());
    }
    void TearDown() override {
        manager.reset();
        SetSkinMessageBox(nullptr);
        SetSkinExecutableDir("");
    }
    const TsGeneralData& Panel() { return manager->Model().Sections[static_cast<std::size_t>(manager->FindSection("PANEL"))]; }

    TempDir dir;
    std::unique_ptr<TsSkinManager> manager;
    std::vector<std::string> boxes;
    int before = 0, after = 0;
};

TEST_F(SkinManagerTest, LoadsAFolderSkinAndAnnouncesIt) {
    SimpleSkin("folder").WriteFolder(dir / "Good");
    manager->SetSkinName("Good");
    EXPECT_TRUE(boxes.empty());
    EXPECT_TRUE(manager->Active());
    EXPECT_FALSE(manager->IsPacked);
    EXPECT_EQ(manager->SkinInfo(), "6.5");
    EXPECT_EQ(manager->GlobalInfo().Author, "folder");
    EXPECT_EQ(manager->GlobalInfo().SkinDir, dir.Path() + "/Good/");
    EXPECT_GE(Panel().BorderIndex, 0);
    EXPECT_EQ(before, 1);
    EXPECT_EQ(after, 1);
    EXPECT_TRUE(manager->CreationHookInstalled());
}

TEST_F(SkinManagerTest, PackedSkinWinsOverAFolderOfTheSameName) {
    SimpleSkin("folder").WriteFolder(dir / "Dual");
    SimpleSkin("packed").WritePacked(dir / "Dual.asz");
    manager->SetSkinName("Dual");
    EXPECT_TRUE(manager->IsPacked);
    EXPECT_EQ(manager->GlobalInfo().Author, "packed");
    EXPECT_EQ(manager->Model().MasterBitmap->Width(), 16);
}

// A damaged skin used to leave a half-read model announced under the previous name.
TEST_F(SkinManagerTest, DamagedSkinKeepsThePreviousSkinModelAndName) {
    SimpleSkin("good").WriteFolder(dir / "Good");
    WriteFile(dir / "Broken.asz", Bytes{'n', 'o', 'p', 'e', 0, 0, 0, 0});
    SkinFiles badNumber = SimpleSkin("bad");
    badNumber.options += "[EDIT]\nGRADIENTDATA=1;2;x;4;5\n";
    badNumber.WriteFolder(dir / "BadNumber");
    Bytes huge = WriteArchive({{"Options.dat", Text("[A]\n")}});
    huge[4 + 4 + 4 + 11] = 0x01, huge[4 + 4 + 4 + 11 + 3] = 0x04;  // size 64 MiB + 1
    WriteFile(dir / "Huge.asz", huge);
    SkinFiles giant = SimpleSkin("giant");
    Bytes header = MakeBmp(1, 1);
    header[18] = 0x00, header[19] = 0x50;  // 20480 pixels wide
    giant.files["FRAME.BMP"] = header;
    giant.WriteFolder(dir / "Giant");

    manager->SetSkinName("Good");
    const TsSkinModel* model = &manager->Model();
    struct Row {
        const char* name;
        const char* message;
    } rows[] = {
        {"Broken", "Error: Loaded data is not a packed skin file"},
        {"BadNumber", "Error: 'x' is not a valid integer value"},
        {"Huge", "Error: Damaged skin archive: entry \"Options.dat\" is larger than 64 MiB"},
        {"Giant", "Error: BMP: unsupported picture size"},
    };
    for (const Row& r : rows) {
        SCOPED_TRACE(r.name);
        boxes.clear();
        manager->SetSkinName(r.name);
        ASSERT_EQ(boxes.size(), 1u);
        EXPECT_EQ(boxes[0], r.message);
        EXPECT_EQ(manager->SkinName(), "Good");
        EXPECT_EQ(&manager->Model(), model);
        EXPECT_EQ(manager->GlobalInfo().Author, "good");
        EXPECT_EQ(manager->SkinInfo(), "6.5");
        EXPECT_TRUE(manager->Active());
    }
}

// The damaged skin's kind used to replace the kind of the skin still in use.
TEST_F(SkinManagerTest, FailedLoadKeepsWhetherTheSkinIsPacked) {
    SimpleSkin("folder").WriteFolder(dir / "Folder");
    SimpleSkin("packed").WritePacked(dir / "Packed.asz");
    WriteFile(dir / "Broken.asz", Bytes{'n', 'o', 'p', 'e'});
    SkinFiles badNumber = SimpleSkin("bad");
    badNumber.options += "[EDIT]\nGRADIENTDATA=1;2;x;4;5\n";
    badNumber.WriteFolder(dir / "BadNumber");

    manager->SetSkinName("Folder");
    manager->SetSkinName("Broken");
    EXPECT_FALSE(manager->IsPacked);
    manager->SetSkinName("Packed");
    manager->SetSkinName("BadNumber");
    EXPECT_TRUE(manager->IsPacked);
    EXPECT_EQ(boxes.size(), 2u);
    // A reload after a colour change that fails keeps it too.
    WriteFile(dir / "Packed.asz", Bytes{'n', 'o'});
    manager->SetHueOffset(40);
    EXPECT_EQ(boxes.size(), 3u);
    EXPECT_TRUE(manager->IsPacked);
    EXPECT_EQ(manager->SkinName(), "Packed");
    EXPECT_EQ(manager->GlobalInfo().Author, "packed");
}

TEST_F(SkinManagerTest, DamagedFirstSkinLeavesTheProgramUnskinned) {
    WriteFile(dir / "Broken.asz", Bytes{'x'});
    manager->SetSkinName("Broken");
    EXPECT_EQ(boxes.size(), 1u);
    EXPECT_EQ(manager->SkinName(), "");
    EXPECT_EQ(manager->SkinInfo(), "N/A");
    EXPECT_TRUE(manager->Model().Empty());
    EXPECT_FALSE(manager->CreationHookInstalled());
}

TEST_F(SkinManagerTest, MissingSkinRemovesTheCurrentOne) {
    SimpleSkin("good").WriteFolder(dir / "Good");
    manager->SetSkinName("Good");
    manager->SetSkinName("Nowhere");
    EXPECT_TRUE(boxes.empty());
    EXPECT_FALSE(manager->Active());
    EXPECT_EQ(manager->SkinName(), "Nowhere");
    EXPECT_TRUE(manager->Model().Empty());
    EXPECT_EQ(manager->SkinInfo(), "N/A");
}

TEST_F(SkinManagerTest, InactiveManagerOnlyStoresTheName) {
    SimpleSkin("good").WriteFolder(dir / "Good");
    manager->SetActive(false);
    manager->SetSkinName("Good");
    EXPECT_EQ(before, 0);
    EXPECT_TRUE(manager->Model().Empty());
    manager->SetActive(true);
    EXPECT_EQ(manager->GlobalInfo().Author, "good");
}

// Changing the common sections of an inactive manager used to load, announce and remove.
TEST_F(SkinManagerTest, CommonSectionsOfAnInactiveManagerAreOnlyStored) {
    SimpleSkin("good").WriteFolder(dir / "Good");
    manager->SetActive(false);
    manager->SetSkinName("Good");
    manager->SetCommonSections({"[EXTRA]", "COLOR = $00FF00"});
    EXPECT_EQ(before, 0);
    EXPECT_EQ(after, 0);
    EXPECT_FALSE(manager->Active());
    EXPECT_EQ(manager->CommonSections(), (std::vector<std::string>{"[EXTRA]", "COLOR=$00FF00"}));
    manager->SetActive(true);
    EXPECT_EQ(before, 1);
    EXPECT_GE(manager->FindSection("EXTRA"), 0);
}

// Making an active manager default before it has a skin used to announce an empty model.
TEST_F(SkinManagerTest, BecomingDefaultAnnouncesOnlyALoadedSkin) {
    TsSkinManager second(nullptr);
    second.SetSkinDirectory(dir.Path());
    second.SetIsDefault(true);
    EXPECT_EQ(DefaultManager(), &second);
    EXPECT_TRUE(second.Active());
    EXPECT_EQ(second.SkinInfo(), "N/A");
    EXPECT_FALSE(second.CreationHookInstalled());

    SimpleSkin("good").WriteFolder(dir / "Good");
    manager->SetSkinName("Good");
    EXPECT_FALSE(manager->CreationHookInstalled());  // not the default
    manager->SetIsDefault(true);
    EXPECT_EQ(manager->SkinInfo(), "6.5");
    EXPECT_TRUE(manager->CreationHookInstalled());
}

// Reading a class atom as a string crashed the creation hook.
TEST_F(SkinManagerTest, CreationHookTakesWindowsCreatedByClassAtom) {
    SimpleSkin("good").WriteFolder(dir / "Good");
    manager->SetSkinName("Good");
    ASSERT_TRUE(manager->CreationHookInstalled());
    WNDCLASSEX wc{};
    wc.cbSize = sizeof wc;
    wc.lpfnWndProc = DefWindowProc;
    wc.lpszClassName = "SkinAtomTestWindow";
    ATOM atom = RegisterClassEx(&wc);
    ASSERT_NE(atom, 0);
    auto byAtom = reinterpret_cast<LPCSTR>(static_cast<std::uintptr_t>(atom));
    HWND hwnd = CreateWindowEx(WS_EX_TOOLWINDOW, byAtom, "", WS_POPUP, 0, 0, 10, 10, nullptr,
                               nullptr, nullptr, nullptr);
    ASSERT_NE(hwnd, nullptr);
    char name[64] = {};
    GetClassName(hwnd, name, sizeof name);
    EXPECT_STREQ(name, "SkinAtomTestWindow");
    DestroyWindow(hwnd);
    UnregisterClass("SkinAtomTestWindow", nullptr);
}

// A provider fake that records its marks.
class FakeProvider : public TsProviderLink {
  public:
    FakeProvider(framework::TCustomForm* form, TsSkinManager* manager)
        : form_(form), manager_(manager) {
        RegisterProviderForm(this);
    }
    ~FakeProvider() override { UnregisterProviderForm(this); }
    framework::TCustomForm* Form() const override { return form_; }
    TsSkinManager* Manager() const override { return manager_; }
    void SetSkinChanging(bool changing) override { marks.push_back(changing); }
    bool DrawsFrame() const override { return true; }
    void RepaintFrame() override { ++frameRepaints; }
    std::vector<bool> marks;
    int frameRepaints = 0;

  private:
    framework::TCustomForm* form_;
    TsSkinManager* manager_;
};

// Freezing hides a form; the thaw used to look for visible forms and found none.
TEST_F(SkinManagerTest, FrozenFormsAreThawedAfterEveryChange) {
    framework::TApplication app;
    auto* form = new framework::TForm(&app);
    form->Show();
    ASSERT_TRUE(IsWindowVisible(form->Handle()));
    FakeProvider provider(form, manager.get());
    auto* other = new framework::TForm(&app);
    other->Show();
    TsSkinManager second(nullptr);
    FakeProvider foreign(other, &second);  // uses another manager: never touched

    SimpleSkin("good").WriteFolder(dir / "Good");
    manager->SetSkinName("Good");
    EXPECT_TRUE(IsWindowVisible(form->Handle()));
    EXPECT_EQ(provider.marks, (std::vector<bool>{true, false}));
    EXPECT_EQ(provider.frameRepaints, 1);

    provider.marks.clear();
    manager->SetHueOffset(90);
    EXPECT_TRUE(IsWindowVisible(form->Handle()));
    EXPECT_EQ(provider.marks, (std::vector<bool>{true, false}));
    EXPECT_TRUE(foreign.marks.empty());
    EXPECT_FALSE(AnimatingSkinChange);

    // A form whose provider went away between freeze and thaw is left alone.
    auto gone = std::make_unique<FakeProvider>(other, manager.get());
    manager->FreezeForms();
    EXPECT_FALSE(IsWindowVisible(other->Handle()));
    std::vector<bool> goneMarks = gone->marks;
    gone.reset();
    manager->ThawForms(true);
    EXPECT_EQ(goneMarks, (std::vector<bool>{true}));
    EXPECT_TRUE(IsWindowVisible(form->Handle()));
    EXPECT_EQ(provider.marks, (std::vector<bool>{true, false, true, false}));
}

TEST_F(SkinManagerTest, InternalSkinsServeWhenNoFileMatches) {
    SkinFiles s = SimpleSkin("inside");
    manager->InternalSkins.push_back({"Packed", s.Packed(), "", {}});
    manager->InternalSkins.push_back({"Loose", {}, s.options, {{"MASTER.BMP", s.files["MASTER.BMP"]}}});
    manager->SetSkinName("Loose");
    EXPECT_FALSE(manager->IsPacked);
    EXPECT_EQ(manager->Model().MasterBitmap->Width(), 16);
    manager->SetSkinName("Unknown");
    EXPECT_EQ(manager->SkinName(), "Packed");
    EXPECT_TRUE(manager->IsPacked);
    EXPECT_EQ(manager->GlobalInfo().Author, "inside");
}

TEST_F(SkinManagerTest, HueTurnReloadsWithoutChangeEvents) {
    SimpleSkin("good").WriteFolder(dir / "Good");
    manager->SetSkinName("Good");
    before = after = 0;
    manager->SetHueOffset(120);
    EXPECT_EQ(before, 0);
    EXPECT_EQ(after, 0);
    EXPECT_TRUE(boxes.empty());
    EXPECT_EQ(Panel().Color, 0x00FF00);     // red turned to green
    EXPECT_EQ(Panel().HotColor, 0x808080);  // grey has no hue
    const framework::TBitmap& master = *manager->Model().MasterBitmap;
    auto pixel = [&](int x, int y) {
        const std::uint8_t* p = master.ScanLine(y) + x * 3;
        return static_cast<std::uint32_t>(p[2] << 16 | p[1] << 8 | p[0]);
    };
    EXPECT_EQ(pixel(0, 0), 0xFF0000u);  // the close icon keeps its colours
    EXPECT_EQ(pixel(8, 0), 0x00FF00u);
    EXPECT_EQ(pixel(15, 0), 0x808080u);
    EXPECT_EQ(pixel(8, 7), 0xFF00FFu);  // the transparent colour stays
    EXPECT_EQ(manager->SkinInfo(), "6.5");

    manager->SetHueOffset(0);
    manager->SetSaturation(-100);  // amount 100: every colour becomes its grey
    EXPECT_EQ(Panel().Color, 0x555555);
}

TEST_F(SkinManagerTest, SecondManagerIsNotTheDefault) {
    EXPECT_EQ(DefaultManager(), manager.get());
    TsSkinManager second(nullptr);
    EXPECT_FALSE(second.IsDefault());
    second.SetIsDefault(false);
    EXPECT_EQ(DefaultManager(), manager.get());
    second.SetIsDefault(true);
    EXPECT_EQ(DefaultManager(), &second);
    manager->SetIsDefault(true);
    EXPECT_EQ(DefaultManager(), manager.get());
}

TEST(SkinDirectories, ResolvedAgainstTheExecutable) {
    SetSkinExecutableDir("/opt/app/bin/");
    TsSkinManager m(nullptr);
    struct Row {
        const char* directory;
        const char* full;
    } rows[] = {
        {"Skins", "/opt/app/bin/Skins"},
        {"..\\Skins", "/opt/app/Skins"},
        {"../Skins", "/opt/app/Skins"},
        {".\\Skins", "/opt/app/bin/Skins"},
        {"./Skins", "/opt/app/bin/Skins"},
        {"c:\\Skins", "c:\\Skins"},
        {"\\\\server\\Skins", "\\\\server\\Skins"},
        {"/srv/Skins", "/srv/Skins"},
    };
    for (const Row& r : rows) {
        m.SetSkinDirectory(r.directory);
        EXPECT_EQ(m.FullSkinDirectory(), r.full) << r.directory;
    }
    SetSkinExecutableDir("");
    struct Slash {
        const char* in;
        const char* out;
    } slashes[] = {{"", ""}, {"c", "c:\\"}, {"Skins", "Skins\\"}, {"Skins\\", "Skins\\"}, {"Skins/", "Skins\\"}};
    for (const Slash& s : slashes) EXPECT_EQ(DirWithSlash(s.in), s.out) << s.in;
}

// Folder skins are found beside the executable, packed files relative to the current folder.
TEST_F(SkinManagerTest, RelativeDirectoryFindsFoldersBesideTheExecutable) {
    SetSkinExecutableDir(dir / "bin");
    SimpleSkin("beside exe").WriteFolder(dir / "bin/Skins/Rel");
    SimpleSkin("in cwd").WritePacked(dir / "cwd/Skins/Rel.asz");
    manager->SetSkinDirectory("Skins");
    manager->SetSkinName("Rel");
    EXPECT_EQ(manager->GlobalInfo().Author, "beside exe");
    char old[4096];
    ASSERT_TRUE(getcwd(old, sizeof old));
    ASSERT_EQ(chdir((dir / "cwd").c_str()), 0);
    manager->SetSkinName("Rel");
    EXPECT_EQ(chdir(old), 0);
    EXPECT_EQ(manager->GlobalInfo().Author, "in cwd");
    EXPECT_EQ(manager->GlobalInfo().SkinDir, dir.Path() + "/bin/Skins/");
}

TEST_F(SkinManagerTest, ListsSkinsSorted) {
    SimpleSkin("a").WriteFolder(dir / "beta");
    SimpleSkin("b").WritePacked(dir / "Alpha.v2.asz");
    WriteFile(dir / "gamma.ASZ", Bytes{1});
    WriteFile(dir / "notes/readme.txt", Bytes{1});
    SimpleSkin("c").WriteFolder(dir / ".hidden");
    manager->InternalSkins.push_back({"Zeta", {}, "[A]", {}});
    std::vector<std::string> names;
    EXPECT_EQ(manager->ListSkins(names, 2), "Zeta");
    EXPECT_EQ(names, (std::vector<std::string>{"Alpha.v2", "beta", "Zeta"}));
    manager->ListSkins(names, 0);
    EXPECT_EQ(names, (std::vector<std::string>{"beta", "Zeta"}));
    manager->ListSkins(names, 1);
    EXPECT_EQ(names, (std::vector<std::string>{"Alpha.v2", "Zeta"}));
    // A listed packed name loads the file it came from.
    manager->SetSkinName(names[0]);
    EXPECT_TRUE(boxes.empty());
    EXPECT_TRUE(manager->IsPacked);
    EXPECT_EQ(manager->GlobalInfo().Author, "b");
}

// The announcement reaches forms of the application and their controls, windowed or not.
TEST_F(SkinManagerTest, NewSkinReachesFormsAndTheirControls) {
    framework::TApplication app;
    auto* form = new framework::TForm(&app);
    auto* panel = new framework::TWinControl(form);
    panel->SetParent(form);
    auto* label = new framework::TGraphicControl(form);
    label->SetParent(panel);
    std::vector<std::string> seen;
    auto record = [&seen](framework::TControl* c, const char* name) {
        framework::TWndMethod previous = c->WindowProc;
        c->WindowProc = [&seen, previous, name](framework::TMessage& m) {
            if (m.Msg == SM_SKINCMD && SkinCommandOf(m.WParam) != scIsSkinned)
                seen.push_back(std::string(name) + " " + std::to_string(SkinCommandOf(m.WParam)));
            previous(m);
        };
    };
    record(form, "form");
    record(panel, "panel");
    record(label, "label");
    form->HandleNeeded();
    SimpleSkin("good").WriteFolder(dir / "Good");
    manager->SetSkinName("Good");
    // New skin, then the repaint: stop fading, refresh. A plain windowed child is walked
    // through, not told.
    EXPECT_EQ(seen, (std::vector<std::string>{"form 1", "label 1", "form 16", "label 16", "form 3", "label 3"}));
    seen.clear();
    manager->SetSkinName("Nowhere");
    EXPECT_EQ(seen, (std::vector<std::string>{"form 2", "label 2"}));
    panel->DestroyHandle();
    manager->SetSkinName("Good");  // inactive since the missing skin: only stored
    seen.clear();
    manager->SetActive(true);
    ASSERT_GE(seen.size(), 2u);
    EXPECT_EQ(seen[1], "panel 1");  // without its window a child is called directly
}

}  // namespace
