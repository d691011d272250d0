#pragma once

#include <string>

// The dialog that a click on a process row opens.
struct ProcessDialogTexts {
    std::string Instruction;
    std::string Content;
    std::string Footer;   // empty unless the program is a system process
    std::string Buttons;  // the four buttons, one a line
};

constexpr char kProcessDialogCaption[] = "Lumivex";
constexpr int kProcessDialogWidth = 250;

// The dialog's results: the four buttons give 100..103; closing or cancelling gives 2.
enum ProcessChoice : int { ChoiceOpenFolder = 100, ChoiceFreeMemory = 101, ChoiceEndProcess = 102, ChoiceCancel = 2 };
int NormalizeProcessChoice(int result);

// description, company and fileVersion come from the program's version resource ("" when it has none).
ProcessDialogTexts BuildProcessDialogTexts(const std::string& exeName,
                                           const std::string& description,
                                           const std::string& company,
                                           const std::string& fileVersion);

// Told when the process has ended (or its id now names another program) before the action could run.
std::string ProcessEndedText(const std::string& exeName);
