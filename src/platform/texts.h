#pragma once

#include <initializer_list>
#include <string>
#include <string_view>

// The languages the program speaks, in the order of the text table's columns and of the language choice.
enum class Language { Chinese, English };
inline constexpr int kLanguageCount = 2;

struct LanguageInfo {
    Language Id;
    const char* Setting;  // value of the "Language" setting
    const char* Name;     // entry of the language choice, in its own language
};
extern const LanguageInfo kLanguages[kLanguageCount];

// "zh" is Chinese, "en" English; anything else is the default, Chinese.
Language LanguageFromSetting(std::string_view value);
const char* LanguageSetting(Language language);

// Every text the program shows, by what it is. Placeholders are {1}, {2}, ...
enum class TextId {
    // The tray menu and its "settings" submenu
    MenuThemes,
    MenuTextColor,
    MenuTransparentBackground,
    MenuMoreSettings,
    MenuTaskManager,
    MenuFreeMemory,
    MenuSettings,
    MenuAbout,
    MenuExit,
    // The hint and the menu's memory rows
    HintShowing,
    HintFree,
    HintUsed,
    HintPageFile,
    HintPhysicalMemory,
    HintPercent,
    HintLoadRow,
    HintPhysicalRow,
    HintPageFileRow,
    HintFigureUsed,
    HintFigureFree,
    // Balloons and the high-memory warning
    BalloonAlreadyRunning,
    BalloonRunningAsAdministrator,
    BalloonWelcome,
    HighMemoryTitle,
    HighMemoryTrimmed,
    HighMemoryClose,
    HighMemoryOkButton,
    HighMemoryChoiceButtons,
    HighMemoryDontShowAgain,
    // The process dialog
    ProcessButtons,
    ProcessInstruction,
    ProcessVersion,
    ProcessNoInformation,
    ProcessEndWarning,
    ProcessTip,
    ProcessSystem,
    ProcessEnded,
    // A settings file read in part
    BalloonSettingsDamaged,
    // The memory history window
    HistoryTitle,
    HistoryTenMinutes,
    HistoryHour,
    HistoryDay,
    HistoryInUse,
    HistoryCommitted,
    HistoryGrowers,
    HistoryNoGrowth,
    HistoryCopy,
    HistoryHover,
    HistoryGrowth,
    // The About box and the update check
    AboutVersion,
    AboutRightsReserved,
    AboutUpdates,
    AboutSupport,
    AboutLicence,
    AboutDonate,
    UpdateCheck,
    UpdateChecking,
    UpdateAvailable,
    UpdateUpToDate,
    UpdateError,
    AboutTitle,
    // Buttons
    ButtonOk,
    ButtonCancel,
    ButtonApply,
    // The options dialog
    OptionsCaption,
    PageGeneral,
    PageAssist,
    PageTray,
    PageDisplay,
    PageThemes,
    GeneralShowPage,
    GeneralShowFree,
    GeneralShowPercentage,
    GeneralDisplayHint,
    GeneralYellow,
    GeneralRed,
    GeneralThemesLink,
    GeneralHighLabel,
    GeneralWarnBalloon,
    GeneralWarnDialog,
    GeneralFreeMemory,
    GeneralLanguage,
    AssistEvery,
    AssistMinutes,
    AssistHotKey,
    AssistRefresh,
    AssistMilliseconds,
    AssistDoubleClick,
    AssistMonitorOff,
    ActionTaskManager,
    ActionFreeMemory,
    ActionMemoryInformation,
    ActionSettings,
    ActionLock,
    ActionRun,
    ActionShutDown,
    TrayShowTop,
    TrayTopBefore,
    TrayTopAfter,
    TrayHighlight,
    TrayHighlightAfter,
    TrayHighlightColor,
    TrayShowName,
    TrayShowMemory,
    DisplayFont,
    DisplayInternalFont,
    DisplayMiniFont,
    DisplayUnits,
    DisplayMegabytes,
    DisplayGigabytes,
    DisplayTransparent,
    DisplayStandardBar,
    DisplayNoBorder,
    DisplayBarBottom,
    DisplayFullBar,
    DisplayPercentSign,
    ThemesSaveAs,
    ThemesDelete,
    ThemesFollowTaskbar,
    ThemesDeleteConfirm,
    ThemesSaveCaption,
    ThemesSavePrompt,
    SlotText,
    SlotBackground,
    SlotBar,
    SlotBarBorder,
    SlotGreen,
    SlotYellow,
    SlotRed,
    ColorBlack,
    ColorMaroon,
    ColorGreen,
    ColorOlive,
    ColorNavy,
    ColorPurple,
    ColorTeal,
    ColorGray,
    ColorSilver,
    ColorRed,
    ColorLime,
    ColorYellow,
    ColorBlue,
    ColorFuchsia,
    ColorAqua,
    ColorWhite,
    ColorDefault,
    ColorCustom,
    // The display-off warning on a portable computer
    PortableCaption,
    PortableInstruction,
    PortableContent,
    PortableButtons,
    PortableDontShowAgain,
    // Names of the system colours in the colour lists, in the order of their indexes (ScrollBar 0 .. InfoBackground 24)
    SystemColorScrollBar,
    SystemColorDesktop,
    SystemColorActiveCaption,
    SystemColorInactiveCaption,
    SystemColorMenu,
    SystemColorWindow,
    SystemColorWindowFrame,
    SystemColorMenuText,
    SystemColorWindowText,
    SystemColorCaptionText,
    SystemColorActiveBorder,
    SystemColorInactiveBorder,
    SystemColorAppWorkspace,
    SystemColorHighlight,
    SystemColorHighlightText,
    SystemColorThreeDFace,
    SystemColorButtonShadow,
    SystemColorGrayText,
    SystemColorButtonText,
    SystemColorInactiveCaptionText,
    SystemColorButtonHighlight,
    SystemColorThreeDDarkShadow,
    SystemColorThreeDLight,
    SystemColorInfoText,
    SystemColorInfoBackground,
    // Titles of the message boxes, by kind
    MessageTitleWarning,
    MessageTitleError,
    MessageTitleInformation,
    MessageTitleConfirm,
    // The buttons of the input box and of the program's own message dialogs
    DialogOkButton,
    DialogYesButton,
    DialogNoButton,
    DialogCancelButton,
    DialogRetryButton,
    DialogCloseButton,
    // The theme page's list and questions
    ThemesDefaultColors,
    ThemesCurrentColors,
    ThemesReplaceConfirm,
    ThemesFileTooLarge,
    // Values in the options dialog and the tray menu
    DisplayInternalFontPanel,
    ProcessMemoryUnknown,
    SizeOneByte,
    SizeBytes,
    // The Run dialog of the double-click action
    RunTitle,
    RunDescription,
    // The update check's messages
    UpdateDownloadFailed,
    UpdateNewVersion,
    // Error reports
    ErrorCannotWrite,
    ErrorCannotWriteUnread,
    ErrorCannotRead,
    ErrorCannotKeepDamagedCopy,
    ErrorShutDownDialog,
    ErrorUnexpected,
    ErrorInAction,
    // The memory history's menu item and double-click action, growth in the menu and the warning, the options
    MenuMemoryHistory,
    ActionMemoryHistory,
    MenuGrowthMark,
    HighMemoryGrower,
    HighMemoryEndButton,
    CommitHighTitle,
    CommitHighContent,
    AssistCommitRed,
    AssistCommitRedAfter,
    AssistGrowthShare,
    AssistGrowthShareAfter,
    TrayShowGrowth,
    Count
};
inline constexpr int kTextCount = static_cast<int>(TextId::Count);
inline constexpr TextId kNoText = TextId::Count;  // Text gives ""

// The language texts are shown in from now on, for the whole process (Chinese until set).
void SetLanguage(Language language);
Language CurrentLanguage();

// The text in the chosen language (UTF-8, never null).
const char* Text(TextId id);
const char* Text(TextId id, Language language);
// The text with {1}, {2}, ... replaced by the arguments in order; a placeholder without an argument stays.
std::string FormatText(TextId id, std::initializer_list<std::string_view> arguments);
std::string FormatText(std::string_view text, std::initializer_list<std::string_view> arguments);
