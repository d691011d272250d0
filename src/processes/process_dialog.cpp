#include "processes/process_dialog.h"

#include "processes/process_rec.h"

int NormalizeProcessChoice(int result) {
    return result == 103 ? kChoiceCancel : result;
}

ProcessDialogTexts BuildProcessDialogTexts(const std::string& exeName,
                                           const std::string& description,
                                           const std::string& company,
                                           const std::string& fileVersion) {
    ProcessDialogTexts t;
    t.Instruction = "进 程 信 息 ：" + std::string(11, ' ') + "'" + exeName + "'";
    if (!description.empty())
        t.Content = description + "\r\n" + company + "\r\n" + "版本号： " + fileVersion + "\r\n\r\n";
    else
        t.Content = "(没有相关进程信息)" + std::string(6, ' ') + "\r\n\r\n";
    // The blanks keep the dialog as wide as it has always been.
    t.Content += "进程可以被结束，但是请注意，终止该进程将导致所有未保存的信息丢失！" + std::string(43, ' ') +
                 "\r\n\r\n" + "提示：你可以清理进程内存或打开程序所在目录。" + std::string(30, ' ');
    if (IsSystemProcess(exeName))
        t.Footer = "'" + exeName + "' 是一个系统进程！！！" + std::string(5, ' ');
    return t;
}

std::string ProcessEndedText(const std::string& exeName) {
    return "'" + exeName + "' 已经结束，没有执行任何操作。";
}
