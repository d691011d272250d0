#include "options/options_captions_win.h"

#include "options_resource.h"
#include "platform/texts.h"
#include "settings/settings_table.h"
#include "widgets/control_text_win.h"
#include "widgets/link_markup.h"

namespace {
struct ControlCaption {
    int Id;
    TextId Text;
};

// Every control of the frame and the pages with a text of its own that edits no setting (the settings' check boxes
// have their captions in the settings table); the dialog templates hold the Chinese texts.
constexpr ControlCaption kCaptions[] = {
    {IDOK, TextId::ButtonOk},
    {IDCANCEL, TextId::ButtonCancel},
    {IDC_BTNAPPLY, TextId::ButtonApply},
    {IDC_LABELYELLOW, TextId::GeneralYellow},
    {IDC_LABELRED, TextId::GeneralRed},
    {IDC_LABELLANGUAGE, TextId::GeneralLanguage},
    {IDC_LABELDEFRAGEVERY, TextId::AssistMinutes},
    {IDC_LABELHOTKEY, TextId::AssistHotKey},
    {IDC_LABELREFRESH, TextId::AssistRefresh},
    {IDC_LABELMILLISECONDS, TextId::AssistMilliseconds},
    {IDC_LABELDOUBLECLICK, TextId::AssistDoubleClick},
    {IDC_LABELCOMMITRED, TextId::AssistCommitRed},
    {IDC_LABELCOMMITREDAFTER, TextId::AssistCommitRedAfter},
    {IDC_LABELGROWTHSHARE, TextId::AssistGrowthShare},
    {IDC_LABELGROWTHSHAREAFTER, TextId::AssistGrowthShareAfter},
    {IDC_LABELSHOWTOP, TextId::TrayTopBefore},
    {IDC_LABELPROCESSS, TextId::TrayTopAfter},
    {IDC_CHECKHIGHLIGHTPROCESS, TextId::TrayHighlight},
    {IDC_LABELMB, TextId::TrayHighlightAfter},
    {IDC_LABELHIGHLIGHTCOLOR, TextId::TrayHighlightColor},
    {IDC_FONTBUTTON, TextId::DisplayFont},
    {IDC_LABELGBVALUES, TextId::DisplayUnits},
    {IDC_BTNSAVEAS, TextId::ThemesSaveAs},
    {IDC_BTNDELETETHEME, TextId::ThemesDelete},
};

#define LUMIVEX_SETTING_CAPTION(field, kind, defaultValue, section, key, control, caption) {control, caption},
constexpr ControlCaption kSettingCaptions[] = {LUMIVEX_SETTINGS(LUMIVEX_SETTING_CAPTION)};
#undef LUMIVEX_SETTING_CAPTION
}  // namespace

TextId OptionsCaption(int controlId) {
    if (controlId == IDC_THEMESLINK)
        return TextId::GeneralThemesLink;
    for (const ControlCaption& caption : kCaptions) {
        if (caption.Id == controlId)
            return caption.Text;
    }
    for (const ControlCaption& caption : kSettingCaptions) {
        if (caption.Id == controlId && caption.Text != kNoText)
            return caption.Text;
    }
    return kNoText;
}

void SetOptionsCaptions(HWND dialog) {
    if (GetDlgItem(dialog, IDC_PAGECONTROL1))
        SetControlText(dialog, Text(TextId::OptionsCaption));
    for (HWND control = GetWindow(dialog, GW_CHILD); control; control = GetWindow(control, GW_HWNDNEXT)) {
        const TextId caption = OptionsCaption(GetDlgCtrlID(control));
        if (caption == TextId::GeneralThemesLink)
            SetControlText(control, LinkMarkupToSysLink(Text(caption)));
        else if (caption != kNoText)
            SetControlText(control, Text(caption));
    }
}
