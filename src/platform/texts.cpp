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

// Texts the program has always shown in English stay the same in both columns. Chinese texts keep their blanks:
// they set the width of the dialogs they appear in.
constexpr TextEntry kTexts[] = {
    {TextId::MenuThemes, {"主题", "Themes"}},
    {TextId::MenuTextColor, {"文本颜色", "Text Color..."}},
    {TextId::MenuTransparentBackground, {"图标背景透明", "Transparent Icon Background"}},
    {TextId::MenuMoreSettings, {"更多设置", "More Settings..."}},
    {TextId::MenuTaskManager, {"运行任务管理器", "Open Task Manager"}},
    {TextId::MenuFreeMemory, {"内存清理", "Free Up Memory"}},
    {TextId::MenuSettings, {"设置", "Settings"}},
    {TextId::MenuAbout, {"关于", "About Lumivex"}},
    {TextId::MenuExit, {"退出", "Exit"}},

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

    {TextId::BalloonAlreadyRunning, {"Lumivex 正在运行中", "Lumivex is already running"}},
    {TextId::BalloonRunningAsAdministrator,
     {"Lumivex 已经以管理员身份运行", "Lumivex is already running as administrator"}},
    {TextId::BalloonWelcome,
     {"Welcome to Lumivex. Your computer current memory is displayed in the tray. This balloon will not be shown "
      "again.",
      "Welcome to Lumivex. Your computer current memory is displayed in the tray. This balloon will not be shown "
      "again."}},
    {TextId::HighMemoryTitle, {"Memory is high ({1}%)", "Memory is high ({1}%)"}},
    {TextId::HighMemoryTrimmed,
     {"The defrag tool has been activated. If the memory is still high It's recomended you close some applications",
      "The defrag tool has been activated. If the memory is still high It's recomended you close some "
      "applications"}},
    {TextId::HighMemoryClose,
     {"It's recomended that some applications should be closed",
      "It's recomended that some applications should be closed"}},
    {TextId::HighMemoryOkButton, {"&OK", "&OK"}},
    {TextId::HighMemoryChoiceButtons, {"&Defrag memory\nTask Manager\n&Close", "&Defrag memory\nTask Manager\n&Close"}},
    {TextId::HighMemoryDontShowAgain, {"Don't show this warning again", "Don't show this warning again"}},

    {TextId::ProcessButtons,
     {"打开文件目录\n释 放 内 存 \n结 束 进 程 \n取 消 ", "Open File Location\nFree Memory\nEnd Process\nCancel"}},
    {TextId::ProcessInstruction, {"进 程 信 息 ：           '{1}'", "Process information: '{1}'"}},
    {TextId::ProcessVersion, {"版本号： ", "Version: "}},
    {TextId::ProcessNoInformation, {"(没有相关进程信息)      ", "(No information about this process)"}},
    {TextId::ProcessEndWarning,
     {"进程可以被结束，但是请注意，终止该进程将导致所有未保存的信息丢失！                                           ",
      "You can end this process, but any information it has not saved will be lost."}},
    {TextId::ProcessTip,
     {"提示：你可以清理进程内存或打开程序所在目录。                              ",
      "Tip: you can free the memory of the process or open the folder of its program."}},
    {TextId::ProcessSystem, {"'{1}' 是一个系统进程！！！     ", "'{1}' is a system process!"}},
    {TextId::ProcessEnded, {"'{1}' 已经结束，没有执行任何操作。", "'{1}' has already ended; nothing was done."}},
    {TextId::BalloonSettingsDamaged,
     {"设置文件有损坏的部分，已读出其余的设置。原文件另存为 {1}。",
      "Part of the settings file was damaged, so Lumivex used the settings it could read. The original file was "
      "kept as {1}."}},

    {TextId::AboutVersion, {"Version {1}", "Version {1}"}},
    {TextId::AboutRightsReserved, {"保留所有权利", "All rights reserved"}},
    {TextId::AboutUpdates, {"检查更新", "Updates"}},
    {TextId::AboutSupport, {"技术支持信息", "Technical support"}},
    {TextId::AboutLicence, {"许可协议", "License agreement"}},
    {TextId::AboutDonate, {"捐赠", "Donate"}},
    {TextId::UpdateCheck, {"Check for updates", "Check for updates"}},
    {TextId::UpdateChecking, {"Checking for updates...", "Checking for updates..."}},
    {TextId::UpdateAvailable, {"Lumivex {1} is available for download", "Lumivex {1} is available for download"}},
    {TextId::UpdateUpToDate, {"Lumivex is up to date", "Lumivex is up to date"}},
    {TextId::UpdateError, {"Error checking for new version", "Error checking for new version"}},

    {TextId::ButtonOk, {"确定", "OK"}},
    {TextId::ButtonCancel, {"取消", "Cancel"}},
    {TextId::ButtonApply, {"应用", "Apply"}},

    {TextId::OptionsCaption, {"Lumivex 设置", "Lumivex Settings"}},
    {TextId::PageGeneral, {"常规", "General"}},
    {TextId::PageAssist, {"辅助", "Behavior"}},
    {TextId::PageTray, {"托盘图标", "Tray Menu"}},
    {TextId::PageDisplay, {"显示", "Display"}},
    {TextId::PageThemes, {"主题", "Themes"}},
    {TextId::GeneralShowPage, {"托盘图标数据显示页面文件", "Show the page file in the tray icon"}},
    {TextId::GeneralShowFree, {"托盘图标数据显示空闲内存", "Show free memory in the tray icon"}},
    {TextId::GeneralShowPercentage, {"托盘图标数据显示百分比", "Show a percentage in the tray icon"}},
    {TextId::GeneralDisplayHint, {"在托盘图标中显示数值", "Say in the tooltip what the icon shows"}},
    {TextId::GeneralYellow, {"内存超出百分比黄色显示：", "Yellow above:"}},
    {TextId::GeneralRed, {"内存超出百分比红色显示：", "Red above:"}},
    {TextId::GeneralThemesLink,
     {"托盘栏颜色可到 <link>主题</link> 进行自定义", "Choose the icon's colors under <link>Themes</link>"}},
    {TextId::GeneralHighLabel,
     {"触发事件（当内存超出    {1}%  ）时，执行：      ", "When memory use goes above {1}%:"}},
    {TextId::GeneralWarnBalloon, {"弹出一个气泡提醒 ", "Show a notification"}},
    {TextId::GeneralWarnDialog, {"弹出一个信息框提醒", "Show a warning dialog"}},
    {TextId::GeneralFreeMemory, {"清理内存", "Free up memory"}},
    {TextId::GeneralLanguage, {"语言 / Language", "语言 / Language"}},
    {TextId::AssistEvery, {"每隔", "Every"}},
    {TextId::AssistMinutes, {"分钟，自动清理内存", "minutes, free up memory"}},
    {TextId::AssistHotKey, {"清理热键：", "Hot key:"}},
    {TextId::AssistRefresh, {"数据刷新时间：", "Refresh every:"}},
    {TextId::AssistMilliseconds, {"毫秒（建议300）", "ms (300 recommended)"}},
    {TextId::AssistDoubleClick, {"双击事件：", "Double-click:"}},
    {TextId::AssistMonitorOff, {"计算机锁定时顺便关闭显示器", "Turn off the display when the computer is locked"}},
    {TextId::ActionTaskManager, {"任务管理器（默认）", "Task Manager (default)"}},
    {TextId::ActionFreeMemory, {"清理内存", "Free up memory"}},
    {TextId::ActionMemoryInformation, {"内存信息", "Memory details"}},
    {TextId::ActionSettings, {"显示设置", "Open settings"}},
    {TextId::ActionLock, {"锁定电脑", "Lock the computer"}},
    {TextId::ActionRun, {"运行程序", "Run a program"}},
    {TextId::ActionShutDown, {"关闭电脑", "Shut down"}},
    {TextId::TrayShowTop, {"显示内存占用最多的程序数量", "Show the programs using the most memory"}},
    {TextId::TrayTopBefore, {"置顶显示", "Show"}},
    {TextId::TrayTopAfter, {"进程", "programs"}},
    {TextId::TrayHighlight, {"当程序使用内存超过", "Highlight above"}},
    {TextId::TrayHighlightAfter, {"MB时高亮显示", "MB in use"}},
    {TextId::TrayHighlightColor, {"高亮颜色：", "Color:"}},
    {TextId::TrayShowName, {"显示程序名称代替进程名", "Show program names instead of file names"}},
    {TextId::TrayShowMemory, {"显示当前内存信息", "Show the current memory figures"}},
    {TextId::DisplayFont, {"字体...", "Font..."}},
    {TextId::DisplayInternalFont, {"使用默认字体优化显示效果", "Use the built-in digits (sharpest)"}},
    {TextId::DisplayMiniFont, {"小字体", "Small digits"}},
    {TextId::DisplayUnits, {"优化数值显示： ", "Show amounts in:"}},
    {TextId::DisplayMegabytes, {"MB为单位", "Megabytes"}},
    {TextId::DisplayGigabytes, {"GB为单位", "Gigabytes"}},
    {TextId::DisplayTransparent, {"透明背景", "Transparent background"}},
    {TextId::DisplayStandardBar, {"点状式状态条", "Segmented bar"}},
    {TextId::DisplayNoBorder, {"状态条无边框", "Bar without a border"}},
    {TextId::DisplayBarBottom, {"底部状态条", "Bar at the bottom"}},
    {TextId::DisplayFullBar, {"完整状态条", "Full bar behind the gauge"}},
    {TextId::DisplayPercentSign, {"显示百分比", "Show the percent sign"}},
    {TextId::ThemesSaveAs, {"另存为...", "Save As..."}},
    {TextId::ThemesDelete, {"删除", "Delete"}},
    {TextId::ThemesFollowTaskbar, {"跟随任务栏深浅色", "Follow the taskbar"}},
    {TextId::ThemesDeleteConfirm,
     {"Are you sure you want delete the selected theme?", "Are you sure you want delete the selected theme?"}},
    {TextId::ThemesSaveCaption, {"Save Theme", "Save Theme"}},
    {TextId::ThemesSavePrompt, {"Theme Name", "Theme Name"}},
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
    {TextId::ColorCustom, {"自定义...", "Custom..."}},

    {TextId::PortableCaption, {"Warning", "Warning"}},
    {TextId::PortableInstruction, {"Detected running on a portable device", "Detected running on a portable device"}},
    {TextId::PortableContent,
     {"Switch off computer's display when workstation is locked should only be active with an external display "
      "such us desktop workstations.\r\n\r\nAre you sure you want want to activate this option?",
      "Switch off computer's display when workstation is locked should only be active with an external display "
      "such us desktop workstations.\r\n\r\nAre you sure you want want to activate this option?"}},
    {TextId::PortableButtons, {"Activate &Option\nDo&n't Activate", "Activate &Option\nDo&n't Activate"}},
    {TextId::PortableDontShowAgain, {"Do not show this warning again", "Do not show this warning again"}},
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
