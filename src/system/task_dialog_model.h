#pragma once

#include <string>
#include <string_view>
#include <vector>

#include "platform/texts.h"

// The parts of the message dialogs that do not need Windows: texts, button lists, result ids and the button row of
// the emulated dialog.

// Inside dialog texts the two characters backslash and n stand for a line break.
std::string ExpandLineBreaks(std::string_view text);

// One caption per line: the whole list is trimmed of blanks, lines end with LF, CR or CR LF, empty lines are
// skipped (so ids stay consecutive), and backslash-n inside a caption becomes a line break.
std::vector<std::string> SplitDialogList(std::string_view list);

constexpr int kFirstCustomButtonId = 100;
constexpr int kFirstRadioButtonId = 200;

// The common buttons in the order the emulated dialog shows them, left to right.
struct CommonButtonInfo {
    unsigned Flag;   // TDCBF_ value
    int NativeId;    // what the native dialog returns
    int EmulatedId;  // what the emulated dialog returns
    TextId Caption;  // caption in the emulated dialog
};
const std::vector<CommonButtonInfo>& CommonButtons();

// Caption without accelerator marks ("&&" stays one "&").
std::string StripAccelerators(std::string_view caption);
// A custom button answers Escape when its caption in capitals is "CANCEL" or "&CANCEL".
bool IsCancelCaption(std::string_view caption);

// Client width of the emulated dialog: the given width, or 480 when the texts are wide (over 300 pixels) or the
// button or radio list is long (over 40 characters), else 420.
int EmulatedDialogWidth(int width,
                        int instructionPixels,
                        int contentPixels,
                        std::string_view buttonList,
                        std::string_view radioList);

// The row of push buttons of the emulated dialog, placed from right to left; a button that would start left of
// half the text indent begins a new row `rowStep` pixels lower. Returns the (x, y) of each button in input order.
struct ButtonPlace {
    int X, Y;
};
std::vector<ButtonPlace> LayoutButtonRow(const std::vector<int>& widths,
                                         int clientWidth,
                                         int textIndent,
                                         int top,
                                         int margin,
                                         int gap,
                                         int rowStep);
// Width of a push button for a caption of `captionPixels`.
int ButtonWidthFor(int captionPixels);
// The dialog's width, widened so that its buttons fit on one row, up to kMaxOneRowWidth; wider rows wrap.
inline constexpr int kMaxOneRowWidth = 640;
int WidenForOneButtonRow(int width, const std::vector<int>& buttonWidths, int textIndent, int margin, int gap);
// The same for the system's task dialog, in dialog units: a width given to it (0 lets it choose) widened so that the
// verification box (its text's width, 0 for none) and the buttons (their texts' widths) share one row.
int NativeWidthForOneButtonRow(int width, const std::vector<int>& buttonTextUnits, int verifyTextUnits);

// The standard message dialog's buttons (Yes 0x01, No 0x02, OK 0x04, Cancel 0x08, Abort 0x10, Retry 0x20) as
// TDCBF_ values; Abort is shown as Close.
unsigned MessageButtonsToTaskButtons(unsigned buttons);
// A native task dialog's button id as the standard message dialog's result (Close counts as Abort, 3).
int TaskResultToMessageResult(int id);
