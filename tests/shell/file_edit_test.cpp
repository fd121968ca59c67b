// The file-name edit with the real chooser-spawning code against fake choosers on PATH: the
// dialog sequence and what text the edit holds after each action, the keys, the switches,
// the loop that keeps running while a chooser is open, and our own dialog when none exists.
#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

#include "framework/timer.h"
#include "platform/headless/script.h"
#include "shell/file_edit.h"
#include "shell_test_support.h"

namespace {

using namespace framework;
using shell::TsFilenameEdit;
using shell_testing::FakePrograms;
using shell_testing::Screen;
using shell_testing::TempDir;

class FilenameEditTest : public shell_testing::FormTest {
protected:
    void SetUp() override {
        FormTest::SetUp();
        edit = new TsFilenameEdit(form);
        edit->SetParent(form);
        edit->SetBounds(10, 10, 250, 21);
        Pump();
    }
    void Press(const char* keyName) {
        platform::headless::KeyChord chord;
        ASSERT_TRUE(platform::headless::ParseKeyName(keyName, &chord)) << keyName;
        Screen().PressChord(chord);
        Pump();
    }
    // Queues keys for a dialog that is about to open.
    void Queue(const char* keyName) {
        platform::headless::KeyChord chord;
        ASSERT_TRUE(platform::headless::ParseKeyName(keyName, &chord)) << keyName;
        Screen().PressChord(chord);
    }
    void Focus() {
        edit->SetFocus();
        Pump();
    }
    // The --filename argument of the last zenity run.
    std::string StartArgument() const {
        for (const std::string& a : fakes.LastRun())
            if (a.rfind("--filename=", 0) == 0) return a.substr(11);
        return "(none)";
    }
    FakePrograms fakes{{"zenity", "kdialog"}};
    TsFilenameEdit* edit = nullptr;
};

TEST_F(FilenameEditTest, APickedPathWithSpacesGoesInBareAndTheChooserGetsTheFilter) {
    std::string dir = fakes.Dir().Make("мои мелодии");
    std::string picked = dir + "/утро раннее.mp3";
    fakes.Answer(picked);
    edit->DoClick();
    EXPECT_EQ(edit->Text(), picked);
    std::vector<std::string> run = fakes.LastRun();
    ASSERT_GE(run.size(), 2u);
    EXPECT_EQ(run[0], "zenity");
    EXPECT_EQ(run[1], "--file-selection");
    EXPECT_EQ(run.back(), "--file-filter=All files (*.*) | *");
    EXPECT_EQ(edit->InitialDir(), dir) << "the next dialog opens where this pick was";
}

struct SequenceRow {
    const char* name;
    std::string text;           // the edit's text when the button is pressed
    std::string expectedStart;  // the chooser's --filename
};

// Before each row a first pick in `previous` leaves that folder and file in the dialog.
TEST_F(FilenameEditTest, TheTextDecidesWhereTheDialogOpens) {
    std::string previous = fakes.Dir().Make("previous");
    std::string music = fakes.Dir().Make("music");
    const SequenceRow rows[] = {
        {"a file in an existing folder opens there with the name", music + "/a.mp3", music + "/a.mp3"},
        {"a file in a missing folder opens where the last pick was", "/no/such/folder/a.mp3", previous + "/a.mp3"},
        {"a folder alone opens in it with no name", music + "/", music + "/"},
        {"an invalid text keeps the last file and folder", "a*b.mp3", previous + "/old.mp3"},
        {"an empty text keeps the last file and folder", "", previous + "/old.mp3"},
        {"a bare name opens in the last folder", "b.mp3", previous + "/b.mp3"},
        {"the root keeps its separator", "/x.mp3", "/x.mp3"},
    };
    for (const SequenceRow& row : rows) {
        auto* e = new TsFilenameEdit(form);
        e->SetParent(form);
        fakes.Answer(previous + "/old.mp3");
        e->DoClick();
        ASSERT_EQ(e->InitialDir(), previous) << row.name;
        e->SetText(row.text);
        fakes.Cancel();
        e->DoClick();
        EXPECT_EQ(StartArgument(), row.expectedStart) << row.name;
        EXPECT_EQ(e->Text(), row.text) << row.name << ": cancelling keeps the text";
        delete e;
    }
}

TEST_F(FilenameEditTest, ANameThatDoesNotExistIsAccepted) {
    std::string typed = fakes.Dir().Path() + "/not yet there.wav";
    fakes.Answer(typed);
    edit->DoClick();
    EXPECT_EQ(edit->Text(), typed);
}

TEST_F(FilenameEditTest, EventsRunInOrderAndMayChangeOrStopTheDialog) {
    std::vector<std::string> calls;
    edit->OnButtonClick = [&](TObject*) { calls.push_back("button"); };
    edit->OnBeforeDialog = [&](TObject*, std::string& name, bool&) {
        calls.push_back("before " + name);
        name = fakes.Dir().Path() + "/from-handler.mp3";
    };
    edit->OnAfterDialog = [&](TObject*, std::string& name, bool& action) {
        calls.push_back(std::string("after ") + (action ? "yes " : "no ") + name);
        name += ".changed";
    };
    edit->SetText("typed.mp3");
    fakes.Answer("/picked.mp3");
    edit->DoClick();
    EXPECT_EQ(calls, (std::vector<std::string>{"button", "before typed.mp3", "after yes /picked.mp3"}));
    EXPECT_EQ(StartArgument(), fakes.Dir().Path() + "/from-handler.mp3");
    EXPECT_EQ(edit->Text(), "/picked.mp3.changed");

    edit->OnBeforeDialog = [&](TObject*, std::string&, bool& action) { action = false; };
    int runs = fakes.Runs();
    edit->DoClick();
    EXPECT_EQ(fakes.Runs(), runs) << "a cleared go-on flag stops before the dialog";

    edit->OnBeforeDialog = nullptr;
    edit->OnAfterDialog = [](TObject*, std::string&, bool& action) { action = false; };
    edit->DoClick();
    EXPECT_EQ(edit->Text(), "/picked.mp3.changed") << "a cleared flag after the dialog keeps the text";
}

TEST_F(FilenameEditTest, AltDownOpensTheDialogAndEnterInsertsNothing) {
    fakes.Answer("/from/keys.mp3");
    Focus();
    Press("Alt+Down");
    EXPECT_EQ(fakes.Runs(), 1);
    EXPECT_EQ(edit->Text(), "/from/keys.mp3");
    Press("End");
    Press("Enter");
    Screen().TypeText("x");
    Pump();
    EXPECT_EQ(edit->Text(), "/from/keys.mp3x");
    EXPECT_EQ(fakes.Runs(), 1) << "Enter is no button press";
}

TEST_F(FilenameEditTest, ReadOnlyStopsTheButtonAndDirectInputOnlyTyping) {
    fakes.Answer("/picked.mp3");
    edit->SetText("kept");
    edit->SetReadOnly(true);
    Focus();
    Press("Alt+Down");
    edit->DoClick();
    Screen().TypeText("z");
    Pump();
    EXPECT_EQ(fakes.Runs(), 0);
    EXPECT_EQ(edit->Text(), "kept");

    edit->SetReadOnly(false);
    edit->SetDirectInput(false);
    Press("End");
    Screen().TypeText("z");
    Pump();
    EXPECT_EQ(edit->Text(), "kept") << "no typing";
    edit->DoClick();
    EXPECT_EQ(edit->Text(), "/picked.mp3") << "the button still works";
}

TEST_F(FilenameEditTest, TheLoopRunsAndTheFormIsDisabledWhileTheChooserIsOpen) {
    TempDir flags;
    std::string go = flags.Path() + "/go";
    fakes.WaitFor(go);
    fakes.Answer("/after/wait.mp3");
    bool formEnabledDuringTick = true;
    auto* timer = new TTimer(form);
    timer->SetInterval(10);
    timer->SetOnTimer([&](TObject*) {
        formEnabledDuringTick = IsWindowEnabled(form->Handle()) != FALSE;
        flags.Touch("go");
        timer->SetEnabled(false);
    });
    edit->DoClick();
    EXPECT_TRUE(shell_testing::WaitForFile(go)) << "the chooser returned only after our timer ran";
    EXPECT_FALSE(formEnabledDuringTick);
    EXPECT_TRUE(IsWindowEnabled(form->Handle()));
    EXPECT_EQ(edit->Text(), "/after/wait.mp3");
}

struct ChooserRow {
    const char* name;
    const char* desktop;
    std::vector<std::string> installed;
    int zenityExit;  // 0: answers
    std::string expectedProgram;
};

TEST_F(FilenameEditTest, TheDesktopDecidesWhichChooserRuns) {
    const ChooserRow rows[] = {
        {"zenity elsewhere", "GNOME", {"zenity", "kdialog"}, 0, "zenity"},
        {"kdialog on KDE", "KDE", {"zenity", "kdialog"}, 0, "kdialog"},
        {"kdialog on a KDE list", "ubuntu:KDE", {"zenity", "kdialog"}, 0, "kdialog"},
        {"zenity on KDE without kdialog", "KDE", {"zenity"}, 0, "zenity"},
        {"kdialog without zenity", "XFCE", {"kdialog"}, 0, "kdialog"},
        {"kdialog when zenity fails", "XFCE", {"zenity", "kdialog"}, 2, "kdialog"},
    };
    for (const ChooserRow& row : rows) {
        FakePrograms only(row.installed, false);
        shell_testing::ScopedEnv env;
        env.Set("XDG_CURRENT_DESKTOP", row.desktop);
        only.Answer("/chosen.mp3");
        if (row.zenityExit) {
            // zenity fails before answering, kdialog answers.
            std::string z = only.Dir().Path() + "/zenity";
            std::string script = "#!/bin/sh\nexit " + std::to_string(row.zenityExit) + "\n";
            FILE* f = std::fopen(z.c_str(), "w");
            std::fputs(script.c_str(), f);
            std::fclose(f);
        }
        edit->SetText("");
        edit->DoClick();
        ASSERT_FALSE(only.LastRun().empty()) << row.name;
        EXPECT_EQ(only.LastRun()[0], row.expectedProgram) << row.name;
        EXPECT_EQ(edit->Text(), "/chosen.mp3") << row.name;
    }
}

TEST_F(FilenameEditTest, KdialogGetsTheStartAndTheFilterList) {
    shell_testing::ScopedEnv env;
    env.Set("XDG_CURRENT_DESKTOP", "KDE");
    std::string dir = fakes.Dir().Make("songs");
    edit->SetFilter("Music (*.mp3;*.ogg)|*.mp3;*.ogg|All files (*.*)|*.*");
    edit->SetFilterIndex(2);
    edit->SetText(dir + "/a.mp3");
    fakes.Cancel();
    edit->DoClick();
    EXPECT_EQ(fakes.LastRun(), (std::vector<std::string>{"kdialog", "--getopenfilename", dir + "/a.mp3",
                                                          "*|All files (*.*)\n*.mp3 *.ogg|Music (*.mp3;*.ogg)"}));
}

// Without any chooser our own dialog asks for the path.
class NoChooserTest : public FilenameEditTest {
protected:
    FakePrograms none{{}, false};
};

TEST_F(NoChooserTest, OurOwnDialogTakesTheTypedPath) {
    std::string dir = none.Dir().Make("folder");
    edit->SetText(dir + "/old.mp3");
    Queue("Ctrl+A");
    Screen().TypeText("new song.mp3");
    Queue("Enter");
    edit->DoClick();
    EXPECT_EQ(edit->Text(), dir + "/new song.mp3") << "a relative name is joined to the folder shown";
    EXPECT_TRUE(IsWindowEnabled(form->Handle()));
}

TEST_F(NoChooserTest, EscapeInOurOwnDialogKeepsTheText) {
    edit->SetText("unchanged");
    Queue("Escape");
    edit->DoClick();
    EXPECT_EQ(edit->Text(), "unchanged");
}

TEST_F(FilenameEditTest, FileNameChecksTheNameAndTextTakesAnything) {
    EXPECT_THROW(edit->SetFileName(""), shell::EComboEditError);
    try {
        edit->SetFileName("bad|name");
        FAIL() << "no error";
    } catch (const shell::EComboEditError& e) {
        EXPECT_EQ(e.Message(), "Invalid file name");
    }
    edit->SetFileName("/music/good name.mp3");
    EXPECT_EQ(edit->FileName(), "/music/good name.mp3");
    std::string longPath = "/" + std::string(300, 'p');
    edit->SetText(longPath);
    EXPECT_EQ(edit->Text(), longPath) << "a path from the settings file is taken whole";
    edit->SetText("");
    Focus();
    Screen().TypeText(std::string(260, 'q'));
    Pump();
    EXPECT_EQ(edit->Text().size(), 255u) << "typing stops at 255";
}

TEST_F(FilenameEditTest, TheTextKeepsClearOfTheButton) {
    EXPECT_EQ(edit->Button()->Width(), 16);
    EXPECT_EQ(edit->FormattingRect().right, edit->ClientWidth() - 16);
    edit->SetShowButton(false);
    EXPECT_FALSE(edit->Button()->Visible());
    EXPECT_EQ(edit->FormattingRect().right, edit->ClientWidth());
    edit->SetShowButton(true);
    edit->SetWidth(180);
    Pump();
    EXPECT_EQ(edit->FormattingRect().right, edit->ClientWidth() - 16);
    EXPECT_EQ(edit->Button()->Left(), edit->ClientWidth() - 16);
    edit->SetEnabled(false);
    EXPECT_FALSE(edit->Button()->Enabled());
    edit->SetEnabled(true);
    EXPECT_TRUE(edit->Button()->Enabled());
}

TEST_F(FilenameEditTest, AClickOnTheButtonOpensTheDialog) {
    fakes.Answer("/clicked.mp3");
    POINT p = edit->ClientToScreen(POINT{edit->Button()->Left() + 8, edit->ClientHeight() / 2});
    Screen().Click(platform::MouseButton::Left, p);
    Pump();
    EXPECT_EQ(edit->Text(), "/clicked.mp3");
}

TEST_F(FilenameEditTest, DroppedFilesNeedAcceptFiles) {
    int dropped = 0;
    edit->OnDropFiles = [&](TObject*) { ++dropped; };
    edit->DropFiles({"/music/dropped.mp3"});
    EXPECT_EQ(edit->Text(), "");
    edit->AcceptFiles = true;
    edit->DropFiles({"/music/first.mp3", "/music/second.mp3"});
    EXPECT_EQ(edit->Text(), "/music/first.mp3");
    std::string longPath = "/" + std::string(300, 'd');
    edit->DropFiles({longPath});
    EXPECT_EQ(edit->Text(), longPath.substr(0, 253));
    EXPECT_EQ(dropped, 2);
    EXPECT_THROW(edit->DropFiles({"/what?.mp3"}), shell::EComboEditError);
}

// A Cyrillic path cut at 253 bytes once ended in half a letter.
TEST_F(FilenameEditTest, ALongDroppedPathIsCutBetweenCharacters) {
    edit->AcceptFiles = true;
    const std::string path = "/" + std::string(251, 'd') + "\xD0\xB6\xD0\xB6.mp3";  // ж starts at byte 252
    edit->DropFiles({path});
    EXPECT_EQ(edit->Text(), path.substr(0, 252));
    EXPECT_LE(edit->Text().size(), 253u);
}

// Such names are legal on Linux; saved raw they split their line of the settings file.
TEST_F(FilenameEditTest, NamesWithLineBreaksOrCtrlZAreInvalid) {
    edit->SetText("/music/kept.mp3");
    for (const char* name : {"/music/a\nb.mp3", "/music/a\rb.mp3", "/music/a\x1a.mp3"}) {
        try {
            edit->SetFileName(name);
            ADD_FAILURE() << "accepted " << name;
        } catch (const shell::EComboEditError& e) {
            EXPECT_EQ(e.Message(), "Invalid file name");
        }
        EXPECT_EQ(edit->Text(), "/music/kept.mp3");
    }
    edit->AcceptFiles = true;
    EXPECT_THROW(edit->DropFiles({"/music/two\nlines.mp3"}), shell::EComboEditError);
    EXPECT_EQ(edit->Text(), "/music/kept.mp3");
}

TEST_F(FilenameEditTest, ChangingTheDialogKindKeepsTheSettings) {
    edit->SetFilter("Waves|*.wav");
    edit->SetInitialDir("/music/");
    edit->SetDialogKind(shell::TsDialogKind::dkSave);
    EXPECT_TRUE(edit->Dialog().IsSaveDialog());
    EXPECT_EQ(edit->Filter(), "Waves|*.wav");
    EXPECT_EQ(edit->InitialDir(), "/music");
    fakes.Answer("/saved.wav");
    edit->DoClick();
    std::vector<std::string> run = fakes.LastRun();
    EXPECT_NE(std::find(run.begin(), run.end(), "--save"), run.end());
}

}  // namespace
