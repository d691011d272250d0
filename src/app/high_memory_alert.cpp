#include "app/high_memory_alert.h"

#include "platform/texts.h"

namespace {
// Runs its action when the scope ends, also when an action in between throws.
template <typename F>
class Finally {
  public:
    explicit Finally(F f) : f_(f) {}
    ~Finally() { f_(); }
    Finally(const Finally&) = delete;
    Finally& operator=(const Finally&) = delete;

  private:
    F f_;
};
template <typename F>
Finally(F) -> Finally<F>;
}  // namespace

void HighMemoryAlert::Check(int load,
                            uint32_t now,
                            Settings& settings,
                            IHighMemoryActions& actions,
                            int commitPercent) {
    // The quiet time ends when five minutes have passed since the warning. Elapsed time is taken as an unsigned
    // difference and the end is noted on every tick, so neither the 49.7-day wrap of the tick count nor a long
    // calm (when a signed difference would flip) can hold a later warning back.
    if (quietTime_ && now - (nextWarningTick_ - kQuietTimeMs) >= kQuietTimeMs)
        quietTime_ = false;
    Finally remember([&] {
        previousLoad_ = load;
        previousCommit_ = commitPercent;
    });

    if (!settings.Warn && !settings.FreeOnHighMemory && !settings.WarnMsgBox)
        return;
    const bool physical = previousLoad_ < settings.RedPercent && settings.RedPercent <= load;
    const int commitRed = settings.CommitRedPercent;
    const bool commit = commitRed > 0 && previousCommit_ < commitRed && commitRed <= commitPercent;
    if (!physical && !commit)
        return;
    // A crossing inside the quiet time is dropped for good.
    if (quietTime_)
        return;
    quietTime_ = true;
    nextWarningTick_ = now + kQuietTimeMs;
    Warn(physical ? load : commitPercent, !physical, settings, actions);
}

// A full commit charge is not eased by trimming working sets (that only moves pages to the page file): its warning
// trims nothing by itself and keeps the choice.
void HighMemoryAlert::Warn(int percent, bool commit, Settings& settings, IHighMemoryActions& actions) {
    const bool trimmed = settings.FreeOnHighMemory && !commit;
    if (trimmed)
        actions.TrimMemory();
    std::string message = Text(commit    ? TextId::CommitHighContent
                               : trimmed ? TextId::HighMemoryTrimmed
                                         : TextId::HighMemoryClose);
    const std::string title =
        FormatText(commit ? TextId::CommitHighTitle : TextId::HighMemoryTitle, {std::to_string(percent)});
    GrowingProcess grower;
    const bool named = actions.FindGrower(grower);
    if (named)
        message += "\n" + FormatText(TextId::HighMemoryGrower, {grower.ExeName, grower.GrowthText});
    if (settings.Warn)
        actions.ShowBalloon(title, message);

    if (settings.WarnMsgBox && !warningDialogOpen_) {
        // The dialog runs its own message loop: ticks go on meanwhile, but none opens a second dialog.
        warningDialogOpen_ = true;
        Finally closed([this] { warningDialogOpen_ = false; });
        bool dontShowAgain = false;
        const WarningButtons buttons = WarningButtonsFor(trimmed, named);
        const int result = actions.ShowWarningDialog(title, message, buttons.List, dontShowAgain);
        if (result == buttons.FreeMemory)
            actions.TrimMemory();
        if (result == buttons.TaskManager)
            actions.LaunchTaskManager();
        if (result == buttons.EndProcess)
            actions.EndProcess(grower);
        if (dontShowAgain)
            settings.WarnMsgBox = false;
    }
}

// The buttons of the warning and the results that stand for each (100 + its index; -1 for none). "End it" is
// never first, so Enter never ends a process.
WarningButtons WarningButtonsFor(bool trimmed, bool namedGrower) {
    WarningButtons b;
    b.List = Text(trimmed ? TextId::HighMemoryOkButton : TextId::HighMemoryChoiceButtons);
    if (!trimmed) {
        b.FreeMemory = 100;
        b.TaskManager = 101;
    }
    if (namedGrower) {
        const std::string end = Text(TextId::HighMemoryEndButton);
        if (trimmed) {
            b.List += "\n" + end;
            b.EndProcess = 101;
        } else {
            // Before "Close", which stays last.
            const size_t close = b.List.rfind('\n');
            b.List.insert(close, "\n" + end);
            b.EndProcess = 102;
        }
    }
    return b;
}
