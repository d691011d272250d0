#pragma once

#include <windows.h>

#include <functional>
#include <string>

// Every question and warning of the program. Texts are UTF-8; inside them the two characters backslash and n stand
// for a line break. ButtonList / RadioList hold one caption per line: button i returns 100 + i, radio i 200 + i.
struct TaskDialogTexts {
    std::string Caption, Instruction, Content, ButtonList, RadioList, ExpandedInfo, ExpandedLabel, CollapsedLabel,
        Footer, VerifyText, SelectionList, QueryText;
    int RadioResult = 0;
    int SelectionIndex = -1;
    bool VerifyChecked = false;
};

// Common buttons (TDCBF_ values) and their result ids.
enum TaskCommonButton : unsigned {
    CommonButtonOk = 0x01,
    CommonButtonYes = 0x02,
    CommonButtonNo = 0x04,
    CommonButtonCancel = 0x08,
    CommonButtonRetry = 0x10,
    CommonButtonClose = 0x20
};
enum class TaskIcon { Blank = 0, Warning = 1, Question = 2, Error = 3, Information = 4, None5 = 5, Shield = 6 };
enum class TaskFooterIcon { Blank = 0, Warning = 1, Question = 2, Error = 3, Information = 4, Shield = 5 };
constexpr unsigned kTdfAllowDialogCancellation = 0x08;

// How a dialog is shown. Caption is filled from the dialog's own caption (or the main window's title).
struct TaskDialogParams {
    unsigned CommonButtons = 0;
    int DefaultButton = 0;
    unsigned Flags = 0;
    TaskIcon MainIcon = TaskIcon::Blank;
    TaskFooterIcon FooterIcon = TaskFooterIcon::Blank;
    int DefaultRadio = 0;
    int Width = 0;  // dialog units; 0 lets the system choose
    HWND Parent = nullptr;
    bool ForceEmulation = false;
    bool ClassicLook = false;
    std::string Caption;
};

int ShowTaskDialog(TaskDialogTexts& dialog, TaskDialogParams params);
// The parameters of the innermost dialog on screen, as ShowTaskDialog passes them on; null when none is.
const TaskDialogParams* ShownTaskDialogParams();
int TaskMessage(const std::string& instruction,
                const std::string& content,
                unsigned commonButtons,
                TaskIcon mainIcon,
                HWND parent,
                const std::string& caption = "",
                const std::string& footer = "",
                TaskFooterIcon footerIcon = TaskFooterIcon::Blank,
                int width = 0);
int TaskChoice(const std::string& instruction,
               const std::string& content,
               const std::string& buttonList,
               TaskIcon mainIcon,
               HWND parent,
               const std::string& caption = "",
               const std::string& footer = "",
               TaskFooterIcon footerIcon = TaskFooterIcon::Blank,
               int width = 0);
void InfoMessage(const std::string& content, HWND parent);

enum class MessageKind { Warning = 0, Error = 1, Information = 2, Confirmation = 3 };
enum MessageButton : unsigned {
    MessageButtonYes = 0x01,
    MessageButtonNo = 0x02,
    MessageButtonOk = 0x04,
    MessageButtonCancel = 0x08,
    MessageButtonAbort = 0x10,
    MessageButtonRetry = 0x20
};
int MessageBoxWithSound(const std::string& text, MessageKind kind, unsigned buttons, HWND owner);
int SimpleTaskMessage(HWND owner,
                      const std::string& title,
                      const std::string& instruction,
                      LPCWSTR icon,
                      unsigned buttons,
                      const std::string& content);

// Called once a task dialog is on screen and its message loop runs (tests press its buttons from here); native
// tells the system's dialog (TDM_ messages) from the emulated one (ordinary controls). Empty: nobody is told.
void SetTaskDialogObserver(std::function<void(HWND dialog, bool native)> observer);

bool HasLid();
bool OnBattery();
bool IsPortableDevice();
