#pragma once

// Every user setting, once: LUMIVEX_SETTINGS(X) calls X(Field, Kind, Default, Section, Key, Control, Caption) per
// setting, in the order the settings file is written. The Settings record, loading and saving, and the tests'
// record comparison are all made from it.
//   Kind     SettingKinds::Kind: the field's type and how the file writes it (Flag "1"/"0", Number, Color text or
//            "Automatic", the Font section's five keys, a LanguageTag any unknown value of which reads as "zh").
//   Section  kSection<Section> of settings_file.h; Unstored for FontColor, which the Font section's Color holds.
//   Key      the key's exact spelling in the file, misspellings included: older files have them.
//   Control  the options dialog's control that shows the value (res/options_resource.h), 0 for none.
//   Caption  that control's own text (platform/texts.h), kNoText for a control without one. A Flag with a caption
//            is a plain check box, which the options dialog fills and reads by itself.
// Only the options dialog reads Control and Caption: the settings layer never looks at those columns.
// clang-format off
#define LUMIVEX_SETTINGS(X) \
    X(Warn, Flag, true, General, "Warn", IDC_CKWARN, TextId::GeneralWarnBalloon) \
    X(WarnMsgBox, Flag, false, General, "WarnMsgBox", IDC_CKWARNMSGBOX, TextId::GeneralWarnDialog) \
    X(HighlightProcessAbove, Number, 100, General, "HighlightProcessAbove", IDC_EDITPROCSRAM, kNoText) \
    X(ShowNameInsteadOfModule, Flag, false, General, "ShowNameInsteadOfModule", IDC_CHECKSHOWPROCESSNAME, TextId::TrayShowName) \
    X(ShowPage, Flag, false, General, "ShowPage", IDC_CKSHOWPAGE, TextId::GeneralShowPage) \
    X(ShowFree, Flag, false, General, "ShowFree", IDC_CKSHOWFREE, TextId::GeneralShowFree) \
    X(NoBorder, Flag, true, General, "NoBorder", IDC_CKNOBORDER, TextId::DisplayNoBorder) \
    X(ShowPercentage, Flag, false, General, "ShowPercentage", IDC_CKSHOWPERCENTAGE, TextId::GeneralShowPercentage) \
    X(ShowPercSign, Flag, false, General, "ShowPercSign", IDC_CKSHOWPERCSIGN, TextId::DisplayPercentSign) \
    X(InternalFont, Flag, true, General, "InternalFont", IDC_CKINTERNALFONT, TextId::DisplayInternalFont) \
    X(HintWhatIsDisplayed, Flag, true, General, "HintWhatisDisplayed", IDC_CKDISPLAYHINT, TextId::GeneralDisplayHint) \
    X(StandardGauge, Flag, false, General, "StandardGauge", IDC_CHECKSTANDARDBAR, TextId::DisplayStandardBar) \
    X(BarBottom, Flag, false, General, "BarBottom", IDC_CKBARBOTTOM, TextId::DisplayBarBottom) \
    X(TransBk, Flag, false, General, "TransBk", IDC_CHECKOPAQUE, TextId::DisplayTransparent) \
    X(MiniInternalFont, Flag, false, General, "MiniInternalFont", IDC_CKMINIFONT, TextId::DisplayMiniFont) \
    X(RefreshRate, Number, 500, General, "RefreshRate", IDC_EDITMILI, kNoText) \
    X(FullBar, Flag, false, General, "FullBar", IDC_CHECKFULLBAR, TextId::DisplayFullBar) \
    X(FreeMemoryHotKey, Number, 0, General, "RefreshHotkey", IDC_HOTKEY1, kNoText) \
    X(ShowTopProcess, Flag, true, General, "ShowTopProcess", IDC_CKSHOWTOP, TextId::TrayShowTop) \
    X(TopProcessCount, Number, 10, General, "TopProcessCount", IDC_EDITPROCS, kNoText) \
    X(ShowMemMenu, Flag, true, General, "ShowMemMenu", IDC_CKSHOWMEMMENU, TextId::TrayShowMemory) \
    X(OptimizeForGigabytes, Flag, true, General, "OptimizeForGigabytes", IDC_COMBOGBVALUES, kNoText) \
    X(FreeOnHighMemory, Flag, true, General, "DefragOnHighMemory", IDC_CHECKDEFRAGONHIGHMEM, TextId::GeneralFreeMemory) \
    X(FreeEveryActive, Flag, false, General, "DefragEveryActive", IDC_CHECKDEFRAGEVERYACTIVE, TextId::AssistEvery) \
    X(FreeEveryMinutes, Number, 120, General, "DefragEvery", IDC_WINSPINDEFRAGEVERYACTIVE, kNoText) \
    X(DoubleClickAction, Number, 0, General, "DoubleClickAction", IDC_CMBDOUBLECLICK, kNoText) \
    X(SwitchOffMonitorOnLock, Flag, false, General, "SwitchOffMonitorOnLock", IDC_CHECKMONITOR, TextId::AssistMonitorOff) \
    X(ClickedDonation, Flag, false, General, "ClickedDonation", 0, kNoText) \
    X(NoMonitorOffWarningOnPortable, Flag, false, General, "NoWarningSwithOffMonMobile", 0, kNoText) \
    X(FollowTaskbarTheme, Flag, false, General, "FollowTaskbarTheme", IDC_CKFOLLOWTASKBAR, TextId::ThemesFollowTaskbar) \
    X(Font, Font, FontSpec{}, Font, "", IDC_FONTBUTTON, kNoText) \
    X(FontColor, Color, kClWindowText, Unstored, "", IDC_LBCOLORS, kNoText) \
    X(RedPercent, Number, 90, General, "RedPercent", IDC_TXTRED, kNoText) \
    X(YellowPercent, Number, 65, General, "YellowPercent", IDC_TXTYELLOW, kNoText) \
    X(ProcessHighlightColor, Color, kAutomaticColor, Colors, "ProcMenuHightlightColor", IDC_CMBCOLORPROCESSES, kNoText) \
    X(OpaqueBkColor, Color, kAutomaticColor, Colors, "OpaqueBkColor", IDC_LBCOLORS, kNoText) \
    X(BarBorderColor, Color, kAutomaticColor, Colors, "BarBorderColor", IDC_LBCOLORS, kNoText) \
    X(GreenColor, Color, kAutomaticColor, Colors, "GreenColor", IDC_LBCOLORS, kNoText) \
    X(YellowColor, Color, kAutomaticColor, Colors, "YellowColor", IDC_LBCOLORS, kNoText) \
    X(RedColor, Color, kAutomaticColor, Colors, "RedColor", IDC_LBCOLORS, kNoText) \
    X(FullBarColor, Color, kAutomaticColor, Colors, "FullBarColor", IDC_LBCOLORS, kNoText) \
    X(Language, LanguageTag, "zh", General, "Language", IDC_CMBLANGUAGE, kNoText) \
    X(CommitRedPercent, Number, 0, General, "CommitRedPercent", IDC_EDITCOMMITRED, kNoText) \
    X(HistoryGrowthShare, Number, 10, General, "HistoryGrowthShare", IDC_EDITGROWTHSHARE, kNoText) \
    X(ShowGrowthInMenu, Flag, false, General, "ShowGrowthInMenu", IDC_CKSHOWGROWTH, TextId::TrayShowGrowth)
// clang-format on
