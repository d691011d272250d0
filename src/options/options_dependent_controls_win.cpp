// The options dialog's controls that switch or bound others: the display font and its panel, the percentage and
// the process rows, the periodic freeing, the two thresholds, and the warning before switching the display off on
// a portable device.
#include <windows.h>

#include "options/options_dialog_win.h"
#include "options/options_text.h"
#include "options_resource.h"
#include "platform/texts.h"
#include "settings/color_text.h"
#include "system/task_dialog_win.h"
#include "tray/tray_picture_win.h"
#include "widgets/control_text_win.h"
#include "widgets/font_dialog_win.h"

namespace {
constexpr int kPortableButtonDontActivate = 101;
}  // namespace

void OptionsDialog::ChooseDisplayFont() {
    FontSpec font = chosenFont_;
    bool chosen = prompts_.PickFont ? prompts_.PickFont(Hwnd(), font) : ExecuteFontDialog(Hwnd(), font);
    if (chosen) {
        chosenFont_ = font;
        ShowFontPanel(chosenFont_);
    }
    colorSlotList_.SetText(0, ColorToText(chosenFont_.Color));
    OnColorSlotSelected();
}

void OptionsDialog::ShowInternalFontInPanel() {
    SetPanelFont(FontSpec{}, Text(TextId::DisplayInternalFontPanel));
}

void OptionsDialog::OnShowPercentageClicked() {
    bool percentage = Checked(IDC_CKSHOWPERCENTAGE);
    Enable(IDC_CKSHOWPAGE, !percentage);
    Enable(IDC_LABELGBVALUES, !percentage);
    Enable(IDC_COMBOGBVALUES, !percentage);
    Enable(IDC_CKSHOWPERCSIGN, percentage);
}

void OptionsDialog::OnInternalFontClicked() {
    ShowFontPanel(settings_.Font);
    chosenFont_ = settings_.Font;
    bool internal = Checked(IDC_CKINTERNALFONT);
    if (internal)
        ShowInternalFontInPanel();
    Enable(IDC_FONTBUTTON, !internal);
    Enable(IDC_CKMINIFONT, internal);
    if (!internal)
        SetChecked(IDC_CKMINIFONT, false);
}

void OptionsDialog::OnShowTopProcessesClicked() {
    bool top = Checked(IDC_CKSHOWTOP);
    topProcessCountEdit_.SetEnabled(top);
    Enable(IDC_LABELSHOWTOP, top);
    Enable(IDC_LABELPROCESSS, top);
    Enable(IDC_CHECKHIGHLIGHTPROCESS, top);
    if (!top)
        SetChecked(IDC_CHECKHIGHLIGHTPROCESS, false);
    OnHighlightProcessClicked();
}

void OptionsDialog::OnHighlightProcessClicked() {
    bool highlight = Checked(IDC_CHECKHIGHLIGHTPROCESS);
    highlightAboveEdit_.SetEnabled(highlight);
    Enable(IDC_LABELMB, highlight);
    highlightColorPicker_.SetEnabled(highlight);
    Enable(IDC_LABELHIGHLIGHTCOLOR, highlight);
}

void OptionsDialog::OnFreeEveryClicked() {
    bool active = Checked(IDC_CHECKDEFRAGEVERYACTIVE);
    freeEveryMinutesEdit_.SetEnabled(active);
    Enable(IDC_LABELDEFRAGEVERY, active);
}

void OptionsDialog::UpdateThresholdBounds() {
    auto yellow = yellowPercentEdit_.TryValue();
    auto red = redPercentEdit_.TryValue();
    if (!yellow || !red)
        return;
    yellowPercentEdit_.SetMaxValue(*red - 1);
    redPercentEdit_.SetMinValue(*yellow + 1);
}

void OptionsDialog::OnYellowPercentChanged() {
    UpdateThresholdBounds();
}

void OptionsDialog::OnRedPercentChanged() {
    UpdateHighLabel();
    UpdateThresholdBounds();
}

void OptionsDialog::UpdateHighLabel() {
    SetControlText(Item(IDC_LABELHIGHMEMORYACTION),
                   HighLabelText(redPercentEdit_.TryValue().value_or(redPercentEdit_.MinValue())));
}

void OptionsDialog::OnMonitorOffClicked() {
    if (!Checked(IDC_CHECKMONITOR) || settings_.NoMonitorOffWarningOnPortable)
        return;
    if (!prompts_.IsPortableDevice || !prompts_.IsPortableDevice())
        return;
    TaskDialogTexts dialog;
    dialog.Caption = Text(TextId::PortableCaption);
    dialog.Instruction = Text(TextId::PortableInstruction);
    dialog.Content = Text(TextId::PortableContent);
    dialog.ButtonList = Text(TextId::PortableButtons);
    dialog.VerifyText = Text(TextId::PortableDontShowAgain);
    int result = prompts_.ShowPortableWarning ? prompts_.ShowPortableWarning(dialog, Hwnd()) : 0;
    if (result == kPortableButtonDontActivate)
        SetChecked(IDC_CHECKMONITOR, false);
    if (dialog.VerifyChecked)
        settings_.NoMonitorOffWarningOnPortable = true;
}
