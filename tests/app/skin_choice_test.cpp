// The remembered skin: the file's reader and writer, and the main window that starts with the
// choice and remembers a change, with every kind of bad file falling back to DarkGlass.
#include "app/skin_choice.h"

#include <grp.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <filesystem>
#include <fstream>
#include <sstream>

#include "app_test_support.h"
#include "forms/frame_interaction.h"
#include "forms/system_menu.h"
#include "framework/exceptions.h"
#include "skin/skin_engine.h"

namespace {

namespace fs = std::filesystem;
using app::ParseSkinChoice;
using app::ReadSkinChoice;

std::string ReadBytes(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    std::stringstream s;
    s << in.rdbuf();
    return s.str();
}

void WriteBytes(const std::string& path, const std::string& bytes) {
    std::ofstream(path, std::ios::binary) << bytes;
}

TEST(SkinChoiceText, TakesOnePlainNameWithEitherLineEnd) {
    EXPECT_EQ(ParseSkinChoice("Daybreak"), "Daybreak");
    EXPECT_EQ(ParseSkinChoice("Daybreak\n"), "Daybreak");
    EXPECT_EQ(ParseSkinChoice("Daybreak\r\n"), "Daybreak");
    EXPECT_EQ(ParseSkinChoice("Night v2.1\n"), "Night v2.1");
    EXPECT_EQ(ParseSkinChoice("Утро\n"), "Утро");
    EXPECT_EQ(ParseSkinChoice(std::string(app::kSkinNameMaxBytes, 'a')),
              std::string(app::kSkinNameMaxBytes, 'a'));
}

TEST(SkinChoiceText, RefusesWhatIsNoSingleSkinName) {
    const std::string bad[] = {"",
                               "\n",
                               "\r\n",
                               "Daybreak\n\n",
                               "Daybreak\nDarkGlass\n",
                               "Day\rbreak",
                               std::string("Day\0break", 9),
                               "Day\tbreak",
                               "../DarkGlass",
                               "..",
                               ".hidden",
                               "Skins/DarkGlass",
                               "c:\\Skins\\DarkGlass",
                               " DarkGlass",
                               "DarkGlass \n",
                               "Dark\x7fGlass",
                               std::string(app::kSkinNameMaxBytes + 1, 'a'),
                               std::string(app::kSkinChoiceMaxBytes + 1, '\n')};
    for (const std::string& text : bad) EXPECT_EQ(ParseSkinChoice(text), "") << "'" << text << "'";
}

class SkinChoiceFile : public ::testing::Test {
  protected:
    void SetUp() override {
        char tmpl[] = "/tmp/utrozvon-skin-XXXXXX";
        ASSERT_NE(::mkdtemp(tmpl), nullptr);
        folder = tmpl;
        path = folder + "/" + app::kSkinChoiceFileName;
    }
    void TearDown() override {
        std::error_code ec;
        fs::permissions(folder, fs::perms::all, fs::perm_options::add, ec);
        fs::remove_all(folder, ec);
    }
    std::string folder, path;
};

TEST_F(SkinChoiceFile, RoundTripWritesOneLineAndNoTemporary) {
    app::WriteSkinChoice(path, "Daybreak");
    EXPECT_EQ(ReadBytes(path), "Daybreak\n");
    EXPECT_EQ(ReadSkinChoice(path), "Daybreak");
    app::WriteSkinChoice(path, "DarkGlass");
    EXPECT_EQ(ReadSkinChoice(path), "DarkGlass");
    EXPECT_FALSE(fs::exists(path + ".tmp"));
}

TEST_F(SkinChoiceFile, MissingGarbageAndOddFilesReadAsNoChoice) {
    EXPECT_EQ(ReadSkinChoice(path), "") << "missing";
    WriteBytes(path, "\x89PNG\r\n\x1a\n garbage");
    EXPECT_EQ(ReadSkinChoice(path), "");
    WriteBytes(path, std::string(1 << 20, 'A'));
    EXPECT_EQ(ReadSkinChoice(path), "") << "a huge file is not read whole";
    fs::remove(path);
    fs::create_directory(path);
    EXPECT_EQ(ReadSkinChoice(path), "") << "a folder";
    fs::remove(path);
    ASSERT_EQ(::mkfifo(path.c_str(), 0600), 0);
    EXPECT_EQ(ReadSkinChoice(path), "") << "a pipe with no writer must not block the start";
}

TEST_F(SkinChoiceFile, AnInvalidNameIsRefusedAndNothingWritten) {
    WriteBytes(path, "Daybreak\n");
    EXPECT_THROW(app::WriteSkinChoice(path, "../escape"), framework::EInOutError);
    EXPECT_THROW(app::WriteSkinChoice(path, "two\nlines"), framework::EInOutError);
    EXPECT_EQ(ReadBytes(path), "Daybreak\n");
}

// No write bit is the read-only mark, which binds root as well.
TEST_F(SkinChoiceFile, AReadOnlyFileIsKeptWhole) {
    WriteBytes(path, "Daybreak\n");
    ::chmod(path.c_str(), 0444);
    ::chmod(folder.c_str(), 0555);
    EXPECT_THROW(app::WriteSkinChoice(path, "DarkGlass"), framework::EInOutError);
    EXPECT_EQ(ReadBytes(path), "Daybreak\n");
    EXPECT_FALSE(fs::exists(path + ".tmp"));
}

// A folder nobody may write in, and no file yet: the choice cannot be created, nothing is left
// behind. Run as "nobody", since root writes anywhere.
TEST_F(SkinChoiceFile, AReadOnlyFolderGetsNoFileAndNoTemporary) {
    constexpr uid_t kNobody = 65534;
    constexpr gid_t kNoGroup = 65534;
    constexpr int kCannotSwitchUser = 77;
    ::chmod(folder.c_str(), 0555);
    const auto check = [&]() -> int {
        try {
            app::WriteSkinChoice(path, "Daybreak");
            return 1;
        } catch (const framework::EInOutError&) {
        }
        return ::access(path.c_str(), F_OK) == 0 || ::access((path + ".tmp").c_str(), F_OK) == 0
                   ? 2
                   : 0;
    };
    if (::geteuid() != 0) {
        EXPECT_EQ(check(), 0);
        return;
    }
    const pid_t child = ::fork();
    ASSERT_GE(child, 0);
    if (child == 0) {
        if (::setgroups(0, nullptr) != 0 || ::setgid(kNoGroup) != 0 || ::setuid(kNobody) != 0)
            ::_exit(kCannotSwitchUser);
        ::_exit(check());
    }
    int status = 0;
    ::waitpid(child, &status, 0);
    ASSERT_TRUE(WIFEXITED(status)) << status;
    if (WEXITSTATUS(status) == kCannotSwitchUser) GTEST_SKIP() << "no user nobody";
    EXPECT_EQ(WEXITSTATUS(status), 0) << "1: written anyway, 2: a file was left";
}

// The window with the shipped skins as folders and a damaged packed skin "Broken".
class RememberedSkin : public app_testing::MainWindowTest {
  protected:
    void SetUp() override {
        MainWindowTest::SetUp();
        skins = folder + "/Skins";
        fs::create_directory(skins);
        const fs::path shipped = fs::path(UTROZVON_TEST_DATA).parent_path().parent_path() / "skins";
        for (const char* name : {"DarkGlass", "Daybreak"})
            fs::create_directory_symlink(shipped / name, skins + "/" + name);
        WriteBytes(skins + "/Broken.asz", "this is no packed skin");
        app::SetSkinsFolderForTests(skins);
        skin::SetSkinMessageBox(
            [this](HWND, const std::string& text, const std::string& caption, UINT) {
                boxes.push_back(caption + ": " + text);
                return IDOK;
            });
        choice = folder + "/" + app::kSkinChoiceFileName;
    }
    void TearDown() override {
        skin::SetSkinMessageBox(nullptr);
        app::SetSkinsFolderForTests("");
        std::error_code ec;
        fs::permissions(folder, fs::perms::all, fs::perm_options::add, ec);
        MainWindowTest::TearDown();
    }
    std::string SkinName() const { return form->sSkinManager1->SkinName(); }
    bool Ready() const { return form->sSkinManager1->GlobalInfo().SkinReady; }

    std::string skins, choice;
    std::vector<std::string> boxes;
};

TEST_F(RememberedSkin, StartsWithTheRememberedSkin) {
    WriteBytes(choice, "Daybreak\n");
    CreateWindow();
    EXPECT_EQ(SkinName(), "Daybreak");
    EXPECT_TRUE(Ready());
    EXPECT_TRUE(form->sSkinProvider1->Skinned());
    EXPECT_EQ(ReadBytes(choice), "Daybreak\n");
}

TEST_F(RememberedSkin, NoOrABadChoiceStartsDarkGlassAndLeavesTheFile) {
    const std::string cases[] = {"", "garbage\x01\n", "../Daybreak\n", "NoSuchSkin\n",
                                 std::string(5000, 'A')};
    for (const std::string& text : cases) {
        if (text.empty())
            fs::remove(choice);
        else
            WriteBytes(choice, text);
        CreateWindow();
        EXPECT_EQ(SkinName(), "DarkGlass") << "'" << text << "'";
        EXPECT_TRUE(Ready());
        EXPECT_EQ(fs::exists(choice), !text.empty());
        if (!text.empty()) {
            EXPECT_EQ(ReadBytes(choice), text) << "the start writes nothing";
        }
        application.reset();
    }
    EXPECT_TRUE(boxes.empty());
}

TEST_F(RememberedSkin, ADamagedRememberedSkinGivesWayToDarkGlass) {
    WriteBytes(choice, "Broken\n");
    CreateWindow();
    EXPECT_EQ(SkinName(), "DarkGlass");
    EXPECT_TRUE(Ready());
    ASSERT_EQ(boxes.size(), 1u) << "the damage is told once";
    EXPECT_EQ(boxes[0].rfind("Error: ", 0), 0u) << boxes[0];
}

TEST_F(RememberedSkin, AChangeIsRememberedAndTheSettingsFileIsNotTouched) {
    CreateWindow();
    form->Show();
    Pump();
    form->sSkinManager1->SetSkinName("Daybreak");
    Pump();
    EXPECT_EQ(ReadBytes(choice), "Daybreak\n");
    EXPECT_FALSE(fs::exists(form->SettingsPath()));
    form->sSkinManager1->SetSkinName("DarkGlass");
    EXPECT_EQ(ReadBytes(choice), "DarkGlass\n");
}

TEST_F(RememberedSkin, ASkinThatFailsToLoadIsNotRemembered) {
    WriteBytes(choice, "Daybreak\n");
    CreateWindow();
    form->sSkinManager1->SetSkinName("Broken");
    EXPECT_EQ(SkinName(), "Daybreak") << "the previous skin stays";
    EXPECT_TRUE(Ready());
    EXPECT_EQ(boxes.size(), 1u);
    EXPECT_EQ(ReadBytes(choice), "Daybreak\n");
}

TEST_F(RememberedSkin, AChoiceThatCannotBeWrittenKeepsTheFileAndTheNewLook) {
    WriteBytes(choice, "Daybreak\n");
    ::chmod(choice.c_str(), 0444);
    ::chmod(folder.c_str(), 0555);
    CreateWindow();
    ASSERT_EQ(SkinName(), "Daybreak");
    testing::internal::CaptureStderr();
    form->sSkinManager1->SetSkinName("DarkGlass");
    const std::string said = testing::internal::GetCapturedStderr();
    EXPECT_EQ(SkinName(), "DarkGlass");
    EXPECT_TRUE(Ready());
    EXPECT_NE(said.find("the skin choice was not remembered: File access denied"),
              std::string::npos)
        << said;
    EXPECT_EQ(ReadBytes(choice), "Daybreak\n");
    EXPECT_FALSE(fs::exists(choice + ".tmp"));
    EXPECT_TRUE(boxes.empty()) << "no box for a choice not remembered";
}

TEST_F(RememberedSkin, TheProviderDrawsTheFrameAndShapesTheWindow) {
    CreateWindow();
    form->Show();
    Pump();
    ASSERT_TRUE(form->sSkinProvider1->Skinned());
    EXPECT_EQ(form->sSkinProvider1->SkinData().SkinSection(), "FORM");
    EXPECT_EQ(form->sSkinProvider1->AddedTitle.Font.Name(), "MS Sans Serif");
    EXPECT_EQ(form->sSkinProvider1->AddedTitle.Font.Height(), -11);
    EXPECT_EQ(form->sSkinProvider1->AddedTitle.Font.Color(), framework::clNone);
    EXPECT_FALSE(form->sStatusBar1->SizeGrip) << "the window cannot be resized";
    // The skin's see-through corners cut the window's region.
    HRGN region = CreateRectRgn(0, 0, 0, 0);
    EXPECT_NE(GetWindowRgn(form->Handle(), region), ERROR);
    EXPECT_FALSE(PtInRegion(region, 0, 0)) << "the top-left corner pixel is cut";
    EXPECT_TRUE(PtInRegion(region, form->Width() / 2, 0));
    DeleteObject(region);
}

TEST_F(RememberedSkin, WithoutSkinsTheWindowKeepsTheStandardLook) {
    app::SetSkinsFolderForTests(folder + "/none");
    CreateWindow();
    form->Show();
    Pump();
    EXPECT_FALSE(form->sSkinManager1->Active());
    EXPECT_EQ(form->sSkinManager1->SkinInfo(), "N/A");
    EXPECT_FALSE(form->sSkinProvider1->Skinned());
    const auto style = static_cast<DWORD>(GetWindowLongPtr(form->Handle(), GWL_STYLE));
    EXPECT_TRUE(style & WS_SYSMENU) << "the standard frame keeps its buttons";
    HRGN region = CreateRectRgn(0, 0, 0, 0);
    EXPECT_EQ(GetWindowRgn(form->Handle(), region), ERROR) << "no shape";
    DeleteObject(region);
    EXPECT_TRUE(boxes.empty());
    EXPECT_FALSE(fs::exists(choice));
}

TEST_F(RememberedSkin, AFailedLoadLeavesTheScreenAsItWas) {
    WriteBytes(choice, "Daybreak\n");
    CreateWindow();
    form->Show();
    Pump();
    // The failed load announces the kept skin again; a repaint of it is the picture to keep.
    form->sSkinManager1->SendNewSkin(true);
    Pump();
    const std::vector<std::uint32_t> before = app_testing::Screen().ComposeScreen();
    form->sSkinManager1->SetSkinName("Broken");
    Pump();
    EXPECT_EQ(boxes.size(), 1u);
    const std::vector<std::uint32_t> after = app_testing::Screen().ComposeScreen();
    ASSERT_EQ(after.size(), before.size());
    std::size_t changed = 0;
    for (std::size_t i = 0; i < after.size(); ++i) changed += after[i] != before[i];
    EXPECT_EQ(changed, 0u) << "pixels changed";
}

}  // namespace

namespace {

// The chooser lists the skins when it opens (its listing is tested with the menu); here: the
// main window has it, first in its system menu.
TEST_F(RememberedSkin, TheSystemMenuOffersTheSkinChooser) {
    CreateWindow();
    form->Show();
    Pump();
    forms::TsSystemMenu* menu = form->sSkinProvider1->Frame().SystemMenu();
    ASSERT_NE(menu, nullptr);
    menu->Build();
    ASSERT_NE(menu->SkinsItem(), nullptr);
    EXPECT_EQ(menu->Items()->Items(0), menu->SkinsItem());
    EXPECT_EQ(menu->SkinsItem()->Caption(), forms::kAvailableSkinsCaption);
}

}  // namespace
