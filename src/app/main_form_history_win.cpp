// The main form's memory history: every tick's reading, the processes' private bytes once a minute, the growth
// shown in the tray menu and named in the high-memory warning.
#include "app/main_form_win.h"

#include <algorithm>

#include "memory/memory_format.h"
#include "memory/memory_status_win.h"
#include "platform/text_win.h"
#include "platform/texts.h"
#include "processes/process_actions_win.h"
#include "processes/process_dialog.h"
#include "processes/process_query_win.h"
#include "processes/process_snapshot_win.h"

namespace {
constexpr uint32_t kGrowthPeriodMs = 60000;
constexpr uint32_t kMenuGrowthMinutes = 60;
constexpr uint32_t kWarningGrowthMinutes = 30;
}  // namespace

void MainForm::RecordHistory(const MemorySample& sample, uint32_t now) {
    history_.Add(now, sample);
    if (!growthRead_ || now - lastGrowthTick_ >= kGrowthPeriodMs)
        ReadGrowth(now);
    if (historyWindow_)
        historyWindow_->Refresh();
}

// The window and its buffers are made the first time it opens: a program that is never asked for its history does
// not carry them.
void MainForm::ShowHistory() {
    if (closed_)
        return;
    if (!historyWindow_) {
        historyWindow_ = std::make_unique<HistoryWindow>(history_, growth_, settings_);
        historyWindow_->OnProcessChosen = [this](const ProcessGrowthEntry& entry) { ShowGrowerDialog(entry); };
        historyWindow_->ReadHighContrast = hooks_.HighContrast;
    }
    historyWindow_->Show();
}

// The dialog's version details come from the program's file, whose path the process itself gives while it is still
// the process the row was made for.
void MainForm::ShowGrowerDialog(const ProcessGrowthEntry& entry) {
    ProcessIdentity identity{entry.ProcessId, entry.CreationTime, ""};
    UniqueKernelHandle process(OpenProcess(PROCESS_QUERY_LIMITED_INFORMATION, FALSE, entry.ProcessId));
    uint64_t created = 0;
    if (process && ProcessQuery::CreationFileTime(process.Get(), created) && created == entry.CreationTime)
        identity.FullPath = ProcessQuery::ImagePath(process.Get());
    menu_.ShowProcessDialog(std::move(identity), std::string(entry.ExeName));
}

// One system-wide list of the processes, the same call the menu's rows come from, without opening any process;
// the buffer, the names and the readings keep their storage from one minute to the next.
void MainForm::ReadGrowth(uint32_t now) {
    growthRead_ = true;
    lastGrowthTick_ = now;
    growthReadings_.clear();
    size_t count = 0;
    const bool read = hooks_.ReadProcesses([&](const SystemProcessEntryView& e) {
        if (count == growthNames_.size())
            growthNames_.emplace_back();
        growthNames_[count++] = Narrow(e.Name);
        growthReadings_.push_back({e.ProcessId, e.CreationFileTime, e.PrivateBytes, {}});
    });
    if (!read)
        return;
    // The names are in place now that the list no longer grows.
    for (size_t i = 0; i < count; ++i)
        growthReadings_[i].ExeName = growthNames_[i];
    growth_.Update(now, growthReadings_);
}

// The menu is about to open: the growth is read afresh and ranked once for all of its rows.
void MainForm::PrepareMenuGrowth() {
    menuGrowth_.clear();
    if (!settings_.ShowGrowthInMenu)
        return;
    ReadGrowth(hooks_.TickCount());
    ProcessGrowthEntry entries[ProcessGrowth::kTracked];
    const size_t count = growth_.RankGrowth(kMenuGrowthMinutes, entries, ProcessGrowth::kTracked);
    for (size_t i = 0; i < count; ++i)
        menuGrowth_.push_back(
            {entries[i].ProcessId, entries[i].CreationTime, static_cast<uint64_t>(entries[i].GrowthBytes)});
}

std::string MainForm::MenuGrowthMark(uint32_t processId, uint64_t creationFileTime) const {
    for (const MenuGrowth& g : menuGrowth_) {
        if (g.ProcessId == processId && g.CreationTime == creationFileTime)
            return "  " + FormatText(TextId::MenuGrowthMark, {FormatByteSize(g.Bytes, UserNumberSeparators())});
    }
    return {};
}

bool MainForm::FindGrower(GrowingProcess& grower) {
    const uint64_t total = lastSample_.TotalPhys;
    const auto share = static_cast<uint64_t>(std::clamp(settings_.HistoryGrowthShare, 1, 100));
    ProcessGrowthEntry entry;
    if (total == 0 || !growth_.GrewMoreThan(total / 100 * share, kWarningGrowthMinutes, entry))
        return false;
    grower.ProcessId = entry.ProcessId;
    grower.CreationTime = entry.CreationTime;
    grower.ExeName = std::string(entry.ExeName);
    grower.GrowthText = FormatByteSize(static_cast<uint64_t>(entry.GrowthBytes), UserNumberSeparators());
    return true;
}

// "End it" goes through the same checks as the process dialog: an id that now names another process ends nothing.
void MainForm::EndProcess(const GrowingProcess& process) {
    menu_.ActOnProcess(ChoiceEndProcess, ProcessIdentity{process.ProcessId, process.CreationTime, ""}, process.ExeName);
}
