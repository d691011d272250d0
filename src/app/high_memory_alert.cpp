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

void HighMemoryAlert::Check(int load, uint32_t now, Settings& settings, IHighMemoryActions& actions) {
    // The quiet time ends when five minutes have passed since the warning. Elapsed time is taken as an unsigned
    // difference and the end is noted on every tick, so neither the 49.7-day wrap of the tick count nor a long
    // calm (when a signed difference would flip) can hold a later warning back.
    if (quietTime_ && now - (nextWarningTick_ - kQuietTimeMs) >= kQuietTimeMs)
        quietTime_ = false;
    Finally remember([&] { previousLoad_ = load; });

    if (!settings.Warn && !settings.FreeOnHighMemory && !settings.WarnMsgBox)
        return;
    if (!(previousLoad_ < settings.RedPercent && settings.RedPercent <= load))
        return;
    // A crossing inside the quiet time is dropped for good.
    if (quietTime_)
        return;
    quietTime_ = true;
    nextWarningTick_ = now + kQuietTimeMs;

    const bool trimmed = settings.FreeOnHighMemory;
    if (trimmed)
        actions.TrimMemory();
    const std::string message = Text(trimmed ? TextId::HighMemoryTrimmed : TextId::HighMemoryClose);
    const std::string title = FormatText(TextId::HighMemoryTitle, {std::to_string(load)});
    if (settings.Warn)
        actions.ShowBalloon(title, message);

    if (settings.WarnMsgBox && !warningDialogOpen_) {
        // The dialog runs its own message loop: ticks go on meanwhile, but none opens a second dialog.
        warningDialogOpen_ = true;
        Finally closed([this] { warningDialogOpen_ = false; });
        bool dontShowAgain = false;
        const int result = actions.ShowWarningDialog(
            title, message, Text(trimmed ? TextId::HighMemoryOkButton : TextId::HighMemoryChoiceButtons),
            dontShowAgain);
        if (result == 100 && !trimmed)
            actions.TrimMemory();
        if (result == 101)
            actions.LaunchTaskManager();
        if (dontShowAgain)
            settings.WarnMsgBox = false;
    }
}
