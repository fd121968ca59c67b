// The main window on the headless screen with a wall clock the test sets, a settings folder
// of its own and melodies recorded into WAV files.
#pragma once

#include <gtest/gtest.h>

#include <memory>
#include <string>

#include "app/main_form.h"
#include "platform/clock.h"
#include "platform/headless/headless_backend.h"

namespace app_testing {

platform::headless::HeadlessBackend& Screen();

class MainWindowTest : public ::testing::Test {
protected:
    void SetUp() override;
    void TearDown() override;
    // Writes nastr.ini in the test's folder (lines joined with CR LF, each ended).
    void WriteSettings(const std::vector<std::string>& lines);
    std::string ReadSettingsBytes() const;
    // Creates the window (running its creation handler, which reads the settings). The time
    // settings are fixed (24-hour, ":"), or those of the environment's locale when asked.
    void CreateWindow(bool localeTimeSettings = false);
    void SetNow(int year, int month, int day, int hour, int minute, int second, int ms);
    void Pump();
    std::string Panel(int index) const { return form->sStatusBar1->Panels()[index]->Text(); }
    // A short melody file in the test folder.
    std::string Melody(const std::string& name);
    // WAV files the sink has written so far.
    int RecordedStreams() const;

    std::string folder;
    std::unique_ptr<framework::TApplication> application;
    app::TfrmMain* form = nullptr;
    platform::LocalTime now{};
};

}  // namespace app_testing
