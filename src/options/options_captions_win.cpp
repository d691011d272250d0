#include "options/options_captions_win.h"

#include "options_resource.h"
#include "platform/texts.h"
#include "widgets/control_text_win.h"
#include "widgets/link_markup.h"

namespace {
struct ControlCaption {
    int Id;
    TextId Text;
};

// Every control of the frame and the pages with a text of its own; the dialog templates hold the Chinese texts.
constexpr ControlCaption kCaptions[] = {
    {IDOK, TextId::ButtonOk},
    {IDCANCEL, TextId::ButtonCancel},
    {IDC_BTNAPPLY, TextId::ButtonApply},
    {IDC_CKSHOWPAGE, TextId::GeneralShowPage},
    {IDC_CKSHOWFREE, TextId::GeneralShowFree},
    {IDC_CKSHOWPERCENTAGE, TextId::GeneralShowPercentage},
    {IDC_CKDISPLAYHINT, TextId::GeneralDisplayHint},
    {IDC_LABELYELLOW, TextId::GeneralYellow},
    {IDC_LABELRED, TextId::GeneralRed},
    {IDC_CKWARN, TextId::GeneralWarnBalloon},
    {IDC_CKWARNMSGBOX, TextId::GeneralWarnDialog},
    {IDC_CHECKDEFRAGONHIGHMEM, TextId::GeneralFreeMemory},
    {IDC_LABELLANGUAGE, TextId::GeneralLanguage},
    {IDC_CHECKDEFRAGEVERYACTIVE, TextId::AssistEvery},
    {IDC_LABELDEFRAGEVERY, TextId::AssistMinutes},
    {IDC_LABELHOTKEY, TextId::AssistHotKey},
    {IDC_LABELREFRESH, TextId::AssistRefresh},
    {IDC_LABELMILLISECONDS, TextId::AssistMilliseconds},
    {IDC_LABELDOUBLECLICK, TextId::AssistDoubleClick},
    {IDC_CHECKMONITOR, TextId::AssistMonitorOff},
    {IDC_CKSHOWTOP, TextId::TrayShowTop},
    {IDC_LABELSHOWTOP, TextId::TrayTopBefore},
    {IDC_LABELPROCESSS, TextId::TrayTopAfter},
    {IDC_CHECKHIGHLIGHTPROCESS, TextId::TrayHighlight},
    {IDC_LABELMB, TextId::TrayHighlightAfter},
    {IDC_LABELHIGHLIGHTCOLOR, TextId::TrayHighlightColor},
    {IDC_CHECKSHOWPROCESSNAME, TextId::TrayShowName},
    {IDC_CKSHOWMEMMENU, TextId::TrayShowMemory},
    {IDC_FONTBUTTON, TextId::DisplayFont},
    {IDC_CKINTERNALFONT, TextId::DisplayInternalFont},
    {IDC_CKMINIFONT, TextId::DisplayMiniFont},
    {IDC_LABELGBVALUES, TextId::DisplayUnits},
    {IDC_CHECKOPAQUE, TextId::DisplayTransparent},
    {IDC_CHECKSTANDARDBAR, TextId::DisplayStandardBar},
    {IDC_CKNOBORDER, TextId::DisplayNoBorder},
    {IDC_CKBARBOTTOM, TextId::DisplayBarBottom},
    {IDC_CHECKFULLBAR, TextId::DisplayFullBar},
    {IDC_CKSHOWPERCSIGN, TextId::DisplayPercentSign},
    {IDC_BTNSAVEAS, TextId::ThemesSaveAs},
    {IDC_BTNDELETETHEME, TextId::ThemesDelete},
};
}  // namespace

void SetOptionsCaptions(HWND dialog) {
    if (GetDlgItem(dialog, IDC_PAGECONTROL1))
        SetControlText(dialog, Text(TextId::OptionsCaption));
    for (const ControlCaption& caption : kCaptions) {
        if (HWND control = GetDlgItem(dialog, caption.Id))
            SetControlText(control, Text(caption.Text));
    }
    if (HWND link = GetDlgItem(dialog, IDC_THEMESLINK))
        SetControlText(link, LinkMarkupToSysLink(Text(TextId::GeneralThemesLink)));
}
