#include "processes/process_dialog.h"

#include "platform/texts.h"
#include "processes/process_rec.h"

int NormalizeProcessChoice(int result) {
    return result == 103 ? ChoiceCancel : result;
}

ProcessDialogTexts BuildProcessDialogTexts(const std::string& exeName,
                                           const std::string& description,
                                           const std::string& company,
                                           const std::string& fileVersion) {
    ProcessDialogTexts t;
    t.Instruction = FormatText(TextId::ProcessInstruction, {exeName});
    if (!description.empty())
        t.Content = description + "\r\n" + company + "\r\n" + Text(TextId::ProcessVersion) + fileVersion + "\r\n\r\n";
    else
        t.Content = Text(TextId::ProcessNoInformation) + std::string("\r\n\r\n");
    // The Chinese texts' blanks keep the dialog as wide as it has always been.
    t.Content += Text(TextId::ProcessEndWarning) + std::string("\r\n\r\n") + Text(TextId::ProcessTip);
    if (IsSystemProcess(exeName))
        t.Footer = FormatText(TextId::ProcessSystem, {exeName});
    t.Buttons = Text(TextId::ProcessButtons);
    return t;
}

std::string ProcessEndedText(const std::string& exeName) {
    return FormatText(TextId::ProcessEnded, {exeName});
}
