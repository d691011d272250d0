#include "platform/texts.h"

#include <array>
#include <atomic>

const LanguageInfo kLanguages[kLanguageCount] = {
    {Language::Chinese, "zh", "中文"},
    {Language::English, "en", "English"},
};

namespace {
struct TextEntry {
    TextId Id;
    std::array<const char*, kLanguageCount> Texts;  // one column per language, in the order of kLanguages
};

// The Chinese column is what the program has always shown, blanks and English texts included: the blanks set the width
// of the dialogs they appear in, and the English texts are what users of the Chinese version know. The English column
// is written for its own readers: sentence case, an access key on every command and labelled field, "…" on commands
// that open a dialog.
constexpr TextEntry kTexts[] = {
    {TextId::MenuThemes, {"主题", "&Themes…"}},
    {TextId::MenuTextColor, {"文本颜色", "Text &color…"}},
    {TextId::MenuTransparentBackground, {"图标背景透明", "Transparent icon &background"}},
    {TextId::MenuMoreSettings, {"更多设置", "&More settings…"}},
    {TextId::MenuTaskManager, {"运行任务管理器", "Open &Task Manager"}},
    {TextId::MenuFreeMemory, {"内存清理", "&Free up memory"}},
    {TextId::MenuSettings, {"设置", "&Settings"}},
    {TextId::MenuAbout, {"关于", "&About Lumivex"}},
    {TextId::MenuExit, {"退出", "E&xit"}},

    {TextId::HintShowing, {"当前显示： ", "Showing: "}},
    {TextId::HintFree, {"空闲", "free"}},
    {TextId::HintUsed, {"已用", "used"}},
    {TextId::HintPageFile, {"页面文件 ", "page file"}},
    {TextId::HintPhysicalMemory, {"物理内存       ", "physical memory"}},
    {TextId::HintPercent, {"%", "(%)"}},
    {TextId::HintLoadRow, {"内存使用率   : ", "Memory load: "}},
    {TextId::HintPhysicalRow, {"物理内存使用    : ", "Physical memory: "}},
    {TextId::HintPageFileRow, {"页面文件  : ", "Page file: "}},
    // The English hint's first line: the figure the icon shows. The Chinese hint has no such line.
    {TextId::HintFigureUsed, {"{1} in use", "{1} in use"}},
    {TextId::HintFigureFree, {"{1} free", "{1} free"}},

    {TextId::BalloonAlreadyRunning, {"Lumivex 正在运行中", "Lumivex is already running."}},
    {TextId::BalloonRunningAsAdministrator,
     {"Lumivex 已经以管理员身份运行", "Lumivex is already running as administrator."}},
    {TextId::BalloonWelcome,
     {"Welcome to Lumivex. Your computer current memory is displayed in the tray. This balloon will not be shown "
      "again.",
      "Welcome to Lumivex. The icon in the notification area shows how much memory is in use. You won't see this "
      "message again."}},
    {TextId::HighMemoryTitle, {"Memory is high ({1}%)", "Memory use is high ({1}%)"}},
    {TextId::HighMemoryTrimmed,
     {"The defrag tool has been activated. If the memory is still high It's recomended you close some applications",
      "Lumivex freed up memory. If memory use stays high, close some apps."}},
    {TextId::HighMemoryClose,
     {"It's recomended that some applications should be closed", "Close some apps to free up memory."}},
    {TextId::HighMemoryOkButton, {"&OK", "&OK"}},
    {TextId::HighMemoryChoiceButtons,
     {"&Defrag memory\nTask Manager\n&Close", "&Free up memory\nOpen &Task Manager\n&Close"}},
    {TextId::HighMemoryDontShowAgain, {"Don't show this warning again", "&Don't show this warning again"}},

    {TextId::ProcessButtons,
     {"打开文件目录\n释 放 内 存 \n结 束 进 程 \n取 消 ",
      "Open file &location\n&Free up memory\n&End process\nCancel"}},
    {TextId::ProcessInstruction, {"进 程 信 息 ：           '{1}'", "Details for {1}"}},
    {TextId::ProcessVersion, {"版本号： ", "Version: "}},
    {TextId::ProcessNoInformation, {"(没有相关进程信息)      ", "No details are available for this process."}},
    {TextId::ProcessEndWarning,
     {"进程可以被结束，但是请注意，终止该进程将导致所有未保存的信息丢失！                                           ",
      "If you end this process, any data it hasn't saved will be lost."}},
    {TextId::ProcessTip,
     {"提示：你可以清理进程内存或打开程序所在目录。                              ",
      "You can also free up its memory or open its file location."}},
    {TextId::ProcessSystem, {"'{1}' 是一个系统进程！！！     ", "{1} is a system process."}},
    {TextId::ProcessEnded, {"'{1}' 已经结束，没有执行任何操作。", "{1} has already ended, so nothing was done."}},
    {TextId::BalloonSettingsDamaged,
     {"设置文件有损坏的部分，已读出其余的设置。原文件另存为 {1}。",
      "Part of the settings file was damaged. Lumivex used the settings it could read and kept the original file as "
      "{1}."}},
    // The memory history window
    {TextId::HistoryTitle, {"内存历史", "Memory history"}},
    {TextId::HistoryTenMinutes, {"10 分钟", "10 min"}},
    {TextId::HistoryHour, {"1 小时", "1 hour"}},
    {TextId::HistoryDay, {"24 小时", "24 hours"}},
    {TextId::HistoryInUse, {"已用（物理内存）", "In use (physical)"}},
    {TextId::HistoryCommitted, {"已提交（占上限）", "Committed (of limit)"}},
    {TextId::HistoryGrowers, {"增长最多的程序", "Apps that grew most"}},
    {TextId::HistoryNoGrowth, {"没有程序明显增长", "No app grew noticeably"}},
    {TextId::HistoryCopy, {"复制", "&Copy"}},
    {TextId::HistoryHover, {"{1} · 已用 {2}% · 已提交 {3}%", "{1} · {2}% in use · {3}% committed"}},
    {TextId::HistoryGrowth, {"{2}内 +{1}", "+{1} in {2}"}},

    {TextId::AboutVersion, {"Version {1}", "Version {1}"}},
    {TextId::AboutRightsReserved, {"保留所有权利", "Copyright © Brindell. All rights reserved."}},
    {TextId::AboutUpdates, {"检查更新", "Updates"}},
    {TextId::AboutSupport, {"技术支持信息", "Technical support"}},
    {TextId::AboutLicence, {"许可协议", "License agreement"}},
    {TextId::AboutDonate, {"捐赠", "Donate"}},
    {TextId::UpdateCheck, {"Check for updates", "Check for updates"}},
    {TextId::UpdateChecking, {"Checking for updates...", "Checking for updates…"}},
    {TextId::UpdateAvailable, {"Lumivex {1} is available for download", "Lumivex {1} is available to download"}},
    {TextId::UpdateUpToDate, {"Lumivex is up to date", "Lumivex is up to date"}},
    {TextId::UpdateError, {"Error checking for new version", "Couldn't check for updates. Try again"}},
    {TextId::AboutTitle, {"Lumivex", "About Lumivex"}},

    {TextId::ButtonOk, {"确定", "OK"}},
    {TextId::ButtonCancel, {"取消", "Cancel"}},
    {TextId::ButtonApply, {"应用", "&Apply"}},

    {TextId::OptionsCaption, {"Lumivex 设置", "Lumivex settings"}},
    {TextId::PageGeneral, {"常规", "General"}},
    {TextId::PageAssist, {"辅助", "Behavior"}},
    {TextId::PageTray, {"托盘图标", "Tray menu"}},
    {TextId::PageDisplay, {"显示", "Display"}},
    {TextId::PageThemes, {"主题", "Themes"}},
    {TextId::GeneralShowPage, {"托盘图标数据显示页面文件", "Show &page file use in the tray icon"}},
    {TextId::GeneralShowFree, {"托盘图标数据显示空闲内存", "Show &free memory in the tray icon"}},
    {TextId::GeneralShowPercentage, {"托盘图标数据显示百分比", "Show as a per&centage in the tray icon"}},
    {TextId::GeneralDisplayHint, {"在托盘图标中显示数值", "Say in the &tooltip what the icon shows"}},
    {TextId::GeneralYellow, {"内存超出百分比黄色显示：", "&Yellow above:"}},
    {TextId::GeneralRed, {"内存超出百分比红色显示：", "&Red above:"}},
    {TextId::GeneralThemesLink,
     {"托盘栏颜色可到 <link>主题</link> 进行自定义", "Choose the icon's colors under <link>Themes</link>"}},
    {TextId::GeneralHighLabel,
     {"触发事件（当内存超出    {1}%  ）时，执行：      ", "When memory use goes above {1}%:"}},
    {TextId::GeneralWarnBalloon, {"弹出一个气泡提醒 ", "Show a &notification"}},
    {TextId::GeneralWarnDialog, {"弹出一个信息框提醒", "Show a &warning dialog"}},
    {TextId::GeneralFreeMemory, {"清理内存", "Free &up memory"}},
    {TextId::GeneralLanguage, {"语言 / Language", "语言 / &Language"}},
    {TextId::AssistEvery, {"每隔", "Free up memory &every"}},
    {TextId::AssistMinutes, {"分钟，自动清理内存", "minutes"}},
    {TextId::AssistHotKey, {"清理热键：", "Keyboard &shortcut:"}},
    {TextId::AssistRefresh, {"数据刷新时间：", "&Refresh every:"}},
    {TextId::AssistMilliseconds, {"毫秒（建议300）", "milliseconds (300 recommended)"}},
    {TextId::AssistDoubleClick, {"双击事件：", "&Double-click action:"}},
    {TextId::AssistMonitorOff, {"计算机锁定时顺便关闭显示器", "&Turn off the display when the computer is locked"}},
    {TextId::ActionTaskManager, {"任务管理器（默认）", "Task Manager (default)"}},
    {TextId::ActionFreeMemory, {"清理内存", "Free up memory"}},
    {TextId::ActionMemoryInformation, {"内存信息", "Show memory details"}},
    {TextId::ActionSettings, {"显示设置", "Open settings"}},
    {TextId::ActionLock, {"锁定电脑", "Lock the computer"}},
    {TextId::ActionRun, {"运行程序", "Run an app"}},
    {TextId::ActionShutDown, {"关闭电脑", "Shut down the computer"}},
    {TextId::TrayShowTop, {"显示内存占用最多的程序数量", "&List the apps using the most memory"}},
    {TextId::TrayTopBefore, {"置顶显示", "&Show"}},
    {TextId::TrayTopAfter, {"进程", "apps"}},
    {TextId::TrayHighlight, {"当程序使用内存超过", "&Highlight apps above"}},
    {TextId::TrayHighlightAfter, {"MB时高亮显示", "MB in use"}},
    {TextId::TrayHighlightColor, {"高亮颜色：", "Highlight &color:"}},
    {TextId::TrayShowName, {"显示程序名称代替进程名", "Show app &names instead of file names"}},
    {TextId::TrayShowMemory, {"显示当前内存信息", "Show current &memory figures"}},
    {TextId::DisplayFont, {"字体...", "&Font…"}},
    {TextId::DisplayInternalFont, {"使用默认字体优化显示效果", "Use the &built-in digits (sharpest)"}},
    {TextId::DisplayMiniFont, {"小字体", "&Small digits"}},
    {TextId::DisplayUnits, {"优化数值显示： ", "Show amounts &in:"}},
    {TextId::DisplayMegabytes, {"MB为单位", "Megabytes"}},
    {TextId::DisplayGigabytes, {"GB为单位", "Gigabytes"}},
    {TextId::DisplayTransparent, {"透明背景", "&Transparent background"}},
    {TextId::DisplayStandardBar, {"点状式状态条", "Se&gmented bar"}},
    {TextId::DisplayNoBorder, {"状态条无边框", "Bar &without a border"}},
    {TextId::DisplayBarBottom, {"底部状态条", "Bar at the b&ottom"}},
    {TextId::DisplayFullBar, {"完整状态条", "F&ull bar behind the gauge"}},
    {TextId::DisplayPercentSign, {"显示百分比", "Show the &percent sign"}},
    {TextId::ThemesSaveAs, {"另存为...", "&Save as…"}},
    {TextId::ThemesDelete, {"删除", "&Delete"}},
    {TextId::ThemesFollowTaskbar, {"跟随任务栏深浅色", "&Follow the taskbar"}},
    {TextId::ThemesDeleteConfirm, {"Are you sure you want delete the selected theme?", "Delete the selected theme?"}},
    {TextId::ThemesSaveCaption, {"Save Theme", "Save theme"}},
    {TextId::ThemesSavePrompt, {"Theme Name", "&Theme name:"}},
    {TextId::SlotText, {"文本", "Text"}},
    {TextId::SlotBackground, {"背景颜色  ", "Background"}},
    {TextId::SlotBar, {"状态条背景颜色", "Bar background"}},
    {TextId::SlotBarBorder, {"状态条边框", "Bar border"}},
    {TextId::SlotGreen, {"正常\\绿色     ", "Normal (green)"}},
    {TextId::SlotYellow, {"黄色  ", "Yellow"}},
    {TextId::SlotRed, {"红 ", "Red"}},
    {TextId::ColorBlack, {"黑色", "Black"}},
    {TextId::ColorMaroon, {"栗色", "Maroon"}},
    {TextId::ColorGreen, {"绿色", "Green"}},
    {TextId::ColorOlive, {"橄榄色", "Olive"}},
    {TextId::ColorNavy, {"藏青色", "Navy"}},
    {TextId::ColorPurple, {"紫色", "Purple"}},
    {TextId::ColorTeal, {"蓝绿色", "Teal"}},
    {TextId::ColorGray, {"灰色", "Gray"}},
    {TextId::ColorSilver, {"银色", "Silver"}},
    {TextId::ColorRed, {"红色", "Red"}},
    {TextId::ColorLime, {"酸橙色", "Lime"}},
    {TextId::ColorYellow, {"黄色", "Yellow"}},
    {TextId::ColorBlue, {"蓝色", "Blue"}},
    {TextId::ColorFuchsia, {"紫红色", "Fuchsia"}},
    {TextId::ColorAqua, {"浅绿色", "Aqua"}},
    {TextId::ColorWhite, {"白色", "White"}},
    {TextId::ColorDefault, {"默认", "Default"}},
    {TextId::ColorCustom, {"自定义...", "Custom…"}},

    {TextId::PortableCaption, {"Warning", "Lumivex"}},
    {TextId::PortableInstruction, {"Detected running on a portable device", "This looks like a portable computer"}},
    {TextId::PortableContent,
     {"Switch off computer's display when workstation is locked should only be active with an external display "
      "such us desktop workstations.\r\n\r\nAre you sure you want want to activate this option?",
      "Turning off the display when the computer is locked is meant for desktop computers with an external "
      "display.\r\n\r\nDo you want to turn this option on anyway?"}},
    {TextId::PortableButtons, {"Activate &Option\nDo&n't Activate", "&Turn it on\n&Leave it off"}},
    {TextId::PortableDontShowAgain, {"Do not show this warning again", "Don't &show this warning again"}},

    {TextId::SystemColorScrollBar, {"滚动条", "Scroll bar"}},
    {TextId::SystemColorDesktop, {"桌面", "Desktop"}},
    {TextId::SystemColorActiveCaption, {"活动标题栏", "Active title bar"}},
    {TextId::SystemColorInactiveCaption, {"非活动标题栏", "Inactive title bar"}},
    {TextId::SystemColorMenu, {"菜单背景", "Menu background"}},
    {TextId::SystemColorWindow, {"窗口背景", "Window background"}},
    {TextId::SystemColorWindowFrame, {"窗口框架", "Window frame"}},
    {TextId::SystemColorMenuText, {"菜单文本", "Menu text"}},
    {TextId::SystemColorWindowText, {"窗口文本", "Window text"}},
    {TextId::SystemColorCaptionText, {"标题栏文本", "Title bar text"}},
    {TextId::SystemColorActiveBorder, {"活动窗口边框", "Active border"}},
    {TextId::SystemColorInactiveBorder, {"非活动窗口边框", "Inactive border"}},
    {TextId::SystemColorAppWorkspace, {"应用程序工作区", "App workspace"}},
    {TextId::SystemColorHighlight, {"选定项目", "Selected item"}},
    {TextId::SystemColorHighlightText, {"选定项目文本", "Selected item text"}},
    {TextId::SystemColorThreeDFace, {"三维表面", "3D face"}},
    {TextId::SystemColorButtonShadow, {"按钮阴影", "Button shadow"}},
    {TextId::SystemColorGrayText, {"禁用文本", "Disabled text"}},
    {TextId::SystemColorButtonText, {"按钮文本", "Button text"}},
    {TextId::SystemColorInactiveCaptionText, {"非活动标题栏文本", "Inactive title bar text"}},
    {TextId::SystemColorButtonHighlight, {"按钮高光", "Button highlight"}},
    {TextId::SystemColorThreeDDarkShadow, {"三维深阴影", "3D dark shadow"}},
    {TextId::SystemColorThreeDLight, {"三维浅色", "3D light"}},
    {TextId::SystemColorInfoText, {"工具提示文本", "Tooltip text"}},
    {TextId::SystemColorInfoBackground, {"工具提示背景", "Tooltip background"}},

    {TextId::MessageTitleWarning, {"Warning", "Lumivex"}},
    {TextId::MessageTitleError, {"Error", "Lumivex"}},
    {TextId::MessageTitleInformation, {"Information", "Lumivex"}},
    {TextId::MessageTitleConfirm, {"Confirm", "Lumivex"}},

    {TextId::DialogOkButton, {"OK", "OK"}},
    {TextId::DialogYesButton, {"&Yes", "&Yes"}},
    {TextId::DialogNoButton, {"&No", "&No"}},
    {TextId::DialogCancelButton, {"Cancel", "Cancel"}},
    {TextId::DialogRetryButton, {"&Retry", "&Retry"}},
    {TextId::DialogCloseButton, {"&Close", "&Close"}},

    {TextId::ThemesDefaultColors, {"Default Colors", "Default colors"}},
    {TextId::ThemesCurrentColors, {"Current Colors", "Current colors"}},
    {TextId::ThemesReplaceConfirm,
     {"A theme with the same name already exists. Do you want to replace it?",
      "A theme with this name already exists. Do you want to replace it?"}},
    {TextId::ThemesFileTooLarge,
     {"The theme file {1} is larger than 1 MB, so it was not read.",
      "The theme file {1} is larger than 1 MB, so Lumivex didn't read it."}},

    {TextId::DisplayInternalFontPanel, {"(Internal Font)", "(Built-in digits)"}},
    {TextId::ProcessMemoryUnknown, {"n/a", "Unknown"}},
    {TextId::SizeOneByte, {"1 byte", "1 byte"}},
    {TextId::SizeBytes, {"{1} bytes", "{1} bytes"}},

    {TextId::RunTitle, {"Run", "Run"}},
    {TextId::RunDescription,
     {"Type the name of a program, folder, document, or Internet resource, and {1} will open it for you.",
      "Type the name of a program, folder, document, or internet resource, and {1} will open it for you."}},

    {TextId::UpdateDownloadFailed,
     {"Couldn't download file version information from the Brindell Software website.\r\n Please check your "
      "internet connection",
      "Lumivex couldn't get the latest version information from the Brindell Software website.\r\nCheck your "
      "internet connection and try again."}},
    {TextId::UpdateNewVersion,
     {"There's a new version {1} of this program\r\navaliable at: {2}\r\nDo you wan't to download it now ?",
      "Lumivex {1} is available from {2}.\r\n\r\nDo you want to download it now?"}},

    {TextId::ErrorCannotWrite, {"Unable to write to {1}", "Lumivex can't write to {1}."}},
    {TextId::ErrorCannotWriteUnread,
     {"Unable to write to {1}\r\n\r\nThe file could not be read when Lumivex started, so it is left as it is.",
      "Lumivex can't write to {1}.\r\n\r\nThe file couldn't be read when Lumivex started, so it's left as it is."}},
    {TextId::ErrorCannotRead,
     {"Unable to read {1}; the settings of this session are not saved",
      "Lumivex can't read {1}. Settings you change now won't be saved."}},
    {TextId::ErrorCannotKeepDamagedCopy,
     {"Unable to keep a copy of the damaged {1}; the settings of this session are not saved",
      "Lumivex can't keep a copy of the damaged file {1}. Settings you change now won't be saved."}},
    {TextId::ErrorShutDownDialog,
     {"Shell.Application.ShutdownWindows failed (0x{1})",
      "Lumivex can't open the Shut Down Windows dialog. (Error 0x{1})"}},
    {TextId::ErrorUnexpected, {"Unexpected error", "Lumivex ran into an unexpected error."}},
    {TextId::ErrorInAction, {"{1}", "Lumivex couldn't finish that action. Details: {1}"}},

    {TextId::MenuMemoryHistory, {"内存历史…", "Memory &history…"}},
    {TextId::ActionMemoryHistory, {"显示内存历史", "Show memory history"}},
    {TextId::MenuGrowthMark, {"↑ +{1}", "↑ +{1}"}},
    {TextId::HighMemoryGrower, {"{1} 在过去 30 分钟内增长了 {2}", "{1} grew by {2} in the last 30 minutes."}},
    {TextId::HighMemoryEndButton, {"结束此程序", "&End it"}},
    {TextId::CommitHighTitle, {"提交内存过高（上限的 {1}%）", "Committed memory is high ({1}% of the limit)"}},
    {TextId::CommitHighContent,
     {"页面文件快用完了，程序可能停止响应。建议关闭一些程序。",
      "The page file is nearly full, and apps may stop responding. Close some apps."}},
    {TextId::AssistCommitRed, {"提交内存超出上限的", "Warn when &committed memory is above"}},
    {TextId::AssistCommitRedAfter, {"%时提醒（0 为关闭）", "% of the limit (0 = off)"}},
    {TextId::AssistGrowthShare, {"警告中指出 30 分钟内增长超过", "In the warning, name an app that &grew by"}},
    {TextId::AssistGrowthShareAfter, {"% 物理内存的程序", "% of memory in 30 minutes"}},
    {TextId::TrayShowGrowth, {"在增长的程序后显示增长量（↑ +x MB）", "Show &growth after apps that grow (↑ +x MB)"}},
};
static_assert(std::size(kTexts) == static_cast<size_t>(TextId::Count), "one entry per text id");

// The table is looked up by position: each entry must sit at its id's place.
constexpr bool InIdOrder() {
    for (size_t i = 0; i < std::size(kTexts); ++i) {
        if (static_cast<size_t>(kTexts[i].Id) != i)
            return false;
    }
    return true;
}
static_assert(InIdOrder(), "entries in the order of TextId");

std::atomic<int> currentLanguage{static_cast<int>(Language::Chinese)};

size_t IndexOf(Language language) {
    const int index = static_cast<int>(language);
    return index >= 0 && index < kLanguageCount ? static_cast<size_t>(index) : 0;
}
}  // namespace

Language LanguageFromSetting(std::string_view value) {
    for (const LanguageInfo& info : kLanguages) {
        if (value == info.Setting)
            return info.Id;
    }
    return Language::Chinese;
}

const char* LanguageSetting(Language language) {
    return kLanguages[IndexOf(language)].Setting;
}

void SetLanguage(Language language) {
    currentLanguage = static_cast<int>(IndexOf(language));
}

Language CurrentLanguage() {
    return static_cast<Language>(currentLanguage.load());
}

const char* Text(TextId id, Language language) {
    const int index = static_cast<int>(id);
    if (index < 0 || index >= kTextCount)
        return "";
    return kTexts[index].Texts[IndexOf(language)];
}

const char* Text(TextId id) {
    return Text(id, CurrentLanguage());
}

std::string FormatText(std::string_view text, std::initializer_list<std::string_view> arguments) {
    std::string result;
    result.reserve(text.size() + 32);
    size_t i = 0;
    while (i < text.size()) {
        // "{n}" with one digit n from 1 to the number of arguments.
        if (text[i] == '{' && i + 2 < text.size() && text[i + 2] == '}' && text[i + 1] >= '1' && text[i + 1] <= '9') {
            const size_t n = static_cast<size_t>(text[i + 1] - '1');
            if (n < arguments.size()) {
                result += *(arguments.begin() + n);
                i += 3;
                continue;
            }
        }
        result += text[i++];
    }
    return result;
}

std::string FormatText(TextId id, std::initializer_list<std::string_view> arguments) {
    return FormatText(Text(id), arguments);
}
