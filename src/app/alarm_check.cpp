// The one-second alarm check and melody playback.
#include "app/main_form.h"
#include "audio/bass_api.h"
#include "platform/clock.h"

namespace app {

void TfrmMain::Timer1Timer(TObject*) {
    sStatusBar1->Panels()[2]->SetText("  " + FormatTime(CurrentDateTime(), TimeSettings));
    sStatusBar1->Panels()[1]->SetText(SButton->Caption());
    KeepTicksAtMidSecond();
    if (SButton->Caption() != kArmed) return;
    try {
        for (int d = 1; d <= 7; ++d) CheckRow(d);
    } catch (...) {
        // A row whose time does not parse ends this tick's checks without a word.
    }
}

// The timer keeps whatever phase it was started with. A phase on (or a hair from) the whole
// second puts every tick at an alarm's very bounds, where the strict tests of the check fail
// on both sides and the alarm never rings. Ticks are steered to the middle of the second:
// when one lands outside the middle half, the next comes at the middle of the next second
// (never within the current one, so no alarm fires twice), and the interval goes back to a
// second from there. The steering starts with the first tick, so the window keeps its
// described interval until then.
void TfrmMain::KeepTicksAtMidSecond() {
    const platform::LocalTime now = platform::CurrentLocalTime();
    const int phase = now.millisecond;
    if (phase >= kTickPhaseLow && phase < kTickPhaseHigh) {
        Timer1->SetInterval(kTickInterval);
        return;
    }
    const int toNextMiddle = kTickInterval + kTickInterval / 2 - phase;
    Timer1->SetInterval(static_cast<unsigned>(toNextMiddle));
}

// Fires when the row's time lies strictly between two clock readings' times of day minus one
// second and the readings themselves.
void TfrmMain::CheckRow(int d) {
    if (WeekdayOf(CurrentDateTime()) != d) return;
    size_t i = static_cast<size_t>(d - 1);
    if (!sCheckBox[i]->Checked()) return;
    double t1 = TimePart(CurrentDateTime());
    double a = ParseTime(sEdit[i]->Text(), TimeSettings);
    if (!(a < t1)) return;
    double t2 = TimePart(CurrentDateTime());
    double b = AddSeconds(ParseTime(sEdit[i]->Text(), TimeSettings), 1);
    if (!(b > t2)) return;
    PlayFile(sFilenameEdit[i]->Text());
    sStatusBar1->Panels()[0]->SetText(sFilenameEdit[i]->Text());
}

bool TfrmMain::PlayFile(const std::string& path) {
    HSTREAM h = BASS_StreamCreateFile(FALSE, path.c_str(), 0, 0, 0);
    FStream = h;
    if (h != 0) BASS_ChannelPlay(h, FALSE);
    return h != 0;
}

}  // namespace app
