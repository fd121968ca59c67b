// The steps of a title button's fade: 10 in, 1 pressed, 10 out.
#include "forms/title_fade.h"

#include <gtest/gtest.h>

#include <vector>

namespace {

using forms::TsButtonState;
using forms::TsFadeProgress;

std::vector<int> TickAlphas(TsFadeProgress& f, int ticks) {
    std::vector<int> shown;
    for (int i = 0; i < ticks; ++i) {
        const TsFadeProgress::Step s = f.Tick();
        if (s.Alpha >= 0) shown.push_back(s.Alpha);
        if (s.Done) shown.push_back(-2);
    }
    return shown;
}

TEST(TitleFade, HotFadesInTenStepsThenHoldsAndWatchesTheCursor) {
    TsFadeProgress f;
    EXPECT_EQ(f.Start(TsButtonState::Hot).Alpha, 25);
    EXPECT_TRUE(f.Running());
    EXPECT_EQ(TickAlphas(f, 10),
              (std::vector<int>{50, 75, 100, 125, 150, 175, 200, 225, 250, 255}));
    const TsFadeProgress::Step held = f.Tick();
    EXPECT_EQ(held.Alpha, -1);
    EXPECT_TRUE(held.Poll);
}

TEST(TitleFade, NormalFadesOutInTenStepsAndEnds) {
    TsFadeProgress f;
    f.Start(TsButtonState::Hot);
    TickAlphas(f, 10);
    const TsFadeProgress::Step out = f.Start(TsButtonState::Normal);
    EXPECT_EQ(out.Alpha, -1);
    EXPECT_FALSE(out.Done);
    EXPECT_EQ(TickAlphas(f, 11),
              (std::vector<int>{250, 225, 200, 175, 150, 125, 100, 75, 50, 25, -2}));
    EXPECT_FALSE(f.Running());
}

TEST(TitleFade, PressedShowsFullAtOnceAndFadesOutFromFull) {
    TsFadeProgress f;
    f.Start(TsButtonState::Hot);
    const TsFadeProgress::Step pressed = f.Start(TsButtonState::Pressed);
    EXPECT_EQ(pressed.Alpha, 255);
    EXPECT_TRUE(pressed.Rebuild);
    EXPECT_FALSE(f.Tick().Poll) << "a pressed button does not watch the cursor";
    f.Start(TsButtonState::Normal);
    EXPECT_EQ(TickAlphas(f, 2), (std::vector<int>{250, 225}));
}

TEST(TitleFade, HotAgainWhileFadingOutTurnsBackWhereItIs) {
    TsFadeProgress f;
    f.Start(TsButtonState::Hot);
    TickAlphas(f, 10);
    f.Start(TsButtonState::Normal);
    TickAlphas(f, 3);  // 250, 225, 200: seven steps left
    EXPECT_EQ(f.Start(TsButtonState::Hot).Alpha, -1);
    EXPECT_EQ(TickAlphas(f, 4), (std::vector<int>{200, 225, 250, 255}));
}

TEST(TitleFade, NormalWithoutAFadeIsDoneAtOnce) {
    TsFadeProgress f;
    EXPECT_TRUE(f.Start(TsButtonState::Normal).Done);
}

}  // namespace
