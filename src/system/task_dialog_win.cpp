#include "system/task_dialog_win.h"
#include "platform/common_controls_win.h"

#include <commctrl.h>

#include <algorithm>
#include <deque>
#include <vector>

#include "platform/error_report_win.h"
#include "platform/messages.h"
#include "platform/text_win.h"
#include "platform/texts.h"
#include "platform/unique_handle_win.h"
#include "system/task_dialog_emulated_win.h"
#include "system/task_dialog_model.h"

namespace {
using TaskDialogIndirectFunction = HRESULT(WINAPI*)(const TASKDIALOGCONFIG*, int*, int*, BOOL*);

std::vector<const TaskDialogParams*>& ShownParams() {
    static std::vector<const TaskDialogParams*> shown;
    return shown;
}

std::function<void(HWND, bool)>& Observer() {
    static std::function<void(HWND, bool)> observer;
    return observer;
}

// Looked up once: only the common controls of version 6 have the task dialog; without it every dialog is emulated.
TaskDialogIndirectFunction NativeTaskDialog() {
    static const TaskDialogIndirectFunction function = [] {
        HMODULE comctl = CommonControls();
        return comctl ? reinterpret_cast<TaskDialogIndirectFunction>(
                            reinterpret_cast<void*>(GetProcAddress(comctl, "TaskDialogIndirect")))
                      : nullptr;
    }();
    return function;
}

// The program's main form (the window of the program's class in this process), or null.
HWND MainWindow() {
    const std::wstring cls = Widen(kMainWindowClass);
    for (HWND h = FindWindowExW(nullptr, nullptr, cls.c_str(), nullptr); h;
         h = FindWindowExW(nullptr, h, cls.c_str(), nullptr)) {
        DWORD pid = 0;
        GetWindowThreadProcessId(h, &pid);
        if (pid == GetCurrentProcessId())
            return h;
    }
    return nullptr;
}

std::string DefaultCaption() {
    if (HWND main = MainWindow()) {
        wchar_t title[256] = {};
        if (GetWindowTextW(main, title, 256) > 0)
            return Narrow(title);
    }
    return kApplicationTitle;
}

// Icon numbers the system dialog takes for the main icon (Blank, Warning, Question, Error, Information, none,
// Shield) and the footer icon (Blank, Warning, Question, Error, Information, Shield).
constexpr WORD kNativeMainIcons[] = {17, 84, 99, 98, 81, 0, 78};
constexpr WORD kNativeFooterIcons[] = {17, 84, 99, 98, 65533, 65532};

HRESULT CALLBACK NativeCallback(HWND dialog, UINT notification, WPARAM, LPARAM, LONG_PTR) {
    if (notification == TDN_CREATED)
        NotifyTaskDialogShown(dialog, true);
    return S_OK;
}

// Texts converted once and kept alive while the system dialog runs (a deque never moves its elements).
class NativeTexts {
  public:
    LPCWSTR Add(const std::string& utf8) {
        if (utf8.empty())
            return nullptr;
        texts_.push_back(Widen(ExpandLineBreaks(utf8)));
        return texts_.back().c_str();
    }
    std::vector<TASKDIALOG_BUTTON> Buttons(const std::string& list, int firstId) {
        std::vector<TASKDIALOG_BUTTON> buttons;
        for (const std::string& caption : SplitDialogList(list)) {
            texts_.push_back(Widen(caption));
            buttons.push_back({firstId + static_cast<int>(buttons.size()), texts_.back().c_str()});
        }
        return buttons;
    }

  private:
    std::deque<std::wstring> texts_;
};

// The widths of texts in the system's message font, the task dialog's own, in its dialog units (0 for an empty
// text; 0 for every text when the font cannot be had). Access-key ampersands take no room.
std::vector<int> TextUnits(const std::vector<std::string>& texts) {
    std::vector<int> units(texts.size(), 0);
    NONCLIENTMETRICSW metrics{};
    metrics.cbSize = sizeof metrics;
    if (!SystemParametersInfoW(SPI_GETNONCLIENTMETRICS, sizeof metrics, &metrics, 0))
        return units;
    UniqueFont font(CreateFontIndirectW(&metrics.lfMessageFont));
    WindowDc dc(nullptr);
    SelectGuard selected(dc.Get(), font.Get());
    // A dialog unit is a quarter of the font's average character width, as dialogs measure it.
    SIZE alphabet{};
    GetTextExtentPoint32W(dc.Get(), L"ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz", 52, &alphabet);
    const int baseUnit = std::max(1, static_cast<int>((alphabet.cx / 26 + 1) / 2));
    for (size_t i = 0; i < texts.size(); ++i) {
        const std::wstring shown = Widen(StripAccelerators(texts[i]));
        SIZE size{};
        if (!shown.empty())
            GetTextExtentPoint32W(dc.Get(), shown.c_str(), static_cast<int>(shown.size()), &size);
        units[i] = MulDiv(size.cx, 4, baseUnit);
    }
    return units;
}

// The width for the system's dialog: its buttons and verification box measured in one pass, one font made.
int NativeWidth(const TaskDialogTexts& d, int width) {
    std::vector<std::string> texts = SplitDialogList(d.ButtonList);
    texts.push_back(d.VerifyText);
    std::vector<int> units = TextUnits(texts);
    const int verify = units.back();
    units.pop_back();
    return NativeWidthForOneButtonRow(width, units, verify);
}

int ShowNativeTaskDialog(TaskDialogIndirectFunction function,
                         TaskDialogTexts& d,
                         const TaskDialogParams& p,
                         bool hasCustomButtons) {
    NativeTexts texts;
    std::vector<TASKDIALOG_BUTTON> buttons = texts.Buttons(d.ButtonList, kFirstCustomButtonId);
    std::vector<TASKDIALOG_BUTTON> radios = texts.Buttons(d.RadioList, kFirstRadioButtonId);
    TASKDIALOGCONFIG config{};
    config.cbSize = sizeof config;
    config.hwndParent = p.Parent;
    config.dwFlags = p.Flags & 0xFFFF;
    if (!d.VerifyText.empty() && d.VerifyChecked)
        config.dwFlags |= TDF_VERIFICATION_FLAG_CHECKED;
    if (!hasCustomButtons && p.CommonButtons == CommonButtonOk)
        config.dwFlags |= TDF_ALLOW_DIALOG_CANCELLATION;
    config.dwCommonButtons = p.CommonButtons;
    config.pszWindowTitle = texts.Add(p.Caption);
    config.pszMainIcon = MAKEINTRESOURCEW(kNativeMainIcons[static_cast<int>(p.MainIcon) % 7]);
    config.pszMainInstruction = texts.Add(d.Instruction);
    config.pszContent = texts.Add(d.Content);
    config.cButtons = static_cast<UINT>(buttons.size());
    config.pButtons = buttons.empty() ? nullptr : buttons.data();
    config.nDefaultButton = p.DefaultButton;
    config.cRadioButtons = static_cast<UINT>(radios.size());
    config.pRadioButtons = radios.empty() ? nullptr : radios.data();
    config.nDefaultRadioButton = p.DefaultRadio;
    config.pszVerificationText = texts.Add(d.VerifyText);
    config.pszExpandedInformation = texts.Add(d.ExpandedInfo);
    config.pszExpandedControlText = texts.Add(d.ExpandedLabel);
    config.pszCollapsedControlText = texts.Add(d.CollapsedLabel);
    config.pszFooterIcon = MAKEINTRESOURCEW(kNativeFooterIcons[static_cast<int>(p.FooterIcon) % 6]);
    config.pszFooter = texts.Add(d.Footer);
    config.pfCallback = NativeCallback;
    config.cxWidth = static_cast<UINT>(std::max(0, NativeWidth(d, p.Width)));
    int button = 0, radio = 0;
    BOOL verified = FALSE;
    if (FAILED(function(&config, &button, &radio, &verified)))
        return 0;
    d.RadioResult = radio;
    if (!d.VerifyText.empty())
        d.VerifyChecked = verified != FALSE;
    return button;
}

// The title of a message box of the kind, in the chosen language.
const char* MessageTitle(MessageKind kind) {
    static constexpr TextId kTitles[] = {TextId::MessageTitleWarning, TextId::MessageTitleError,
                                         TextId::MessageTitleInformation, TextId::MessageTitleConfirm};
    return Text(kTitles[static_cast<int>(kind) & 3]);
}

MessageKind KindOfIcon(LPCWSTR icon) {
    switch (reinterpret_cast<ULONG_PTR>(icon)) {
        case 32513:
            return MessageKind::Error;
        case 32514:
            return MessageKind::Confirmation;
        case 32515:
            return MessageKind::Warning;
        default:
            return MessageKind::Information;
    }
}

// The standard message dialog, for Windows without task dialogs: the emulated dialog with the kind's title, icon
// and system sound.
int StandardMessageDialog(const std::string& title,
                          const std::string& text,
                          MessageKind kind,
                          unsigned taskButtons,
                          HWND owner) {
    struct KindInfo {
        TaskIcon Icon;
        UINT Sound;
    } const kinds[] = {{TaskIcon::Warning, MB_ICONEXCLAMATION},
                       {TaskIcon::Error, MB_ICONHAND},
                       {TaskIcon::Information, MB_ICONQUESTION},
                       {TaskIcon::Question, MB_ICONQUESTION}};
    const KindInfo& k = kinds[static_cast<int>(kind) & 3];
    TaskDialogTexts d;
    d.Caption = title.empty() ? MessageTitle(kind) : title;
    d.Content = text;
    MessageBeep(k.Sound);  // plays the kind's system sound without waiting
    TaskDialogParams p;
    p.CommonButtons = taskButtons ? taskButtons : CommonButtonOk;
    p.MainIcon = k.Icon;
    p.Parent = owner;
    p.ClassicLook = true;
    p.Caption = d.Caption;
    return ShowEmulatedTaskDialog(d, p);
}
}  // namespace

void SetTaskDialogObserver(std::function<void(HWND dialog, bool native)> observer) {
    Observer() = std::move(observer);
}

void NotifyTaskDialogShown(HWND dialog, bool native) {
    if (Observer())
        Observer()(dialog, native);
}

int ShowTaskDialog(TaskDialogTexts& dialog, TaskDialogParams p) {
    const bool hasCustomButtons = !SplitDialogList(dialog.ButtonList).empty();
    // A dialog without any button gets OK, which is then also the default.
    if (p.CommonButtons == 0 && !hasCustomButtons) {
        p.CommonButtons = CommonButtonOk;
        if (p.DefaultButton == 0)
            p.DefaultButton = IDOK;
    }
    p.Caption = dialog.Caption.empty() ? DefaultCaption() : dialog.Caption;
    if (!p.Parent)
        p.Parent = GetActiveWindow();
    if (!p.Parent)
        p.Parent = MainWindow();

    if (SessionEnding())
        return IDCANCEL;
    // Dialogs nest (a question from a dialog), so the one on screen is the newest of a stack.
    ShownParams().push_back(&p);
    struct Pop {
        ~Pop() { ShownParams().pop_back(); }
    } pop;
    TaskDialogIndirectFunction native = NativeTaskDialog();
    if (native && !p.ForceEmulation && !(p.Flags & kTaskQueryEdit) && dialog.SelectionList.empty())
        return ShowNativeTaskDialog(native, dialog, p, hasCustomButtons);
    return ShowEmulatedTaskDialog(dialog, p);
}

const TaskDialogParams* ShownTaskDialogParams() {
    return ShownParams().empty() ? nullptr : ShownParams().back();
}

namespace {
// The wrappers' common dialog: classic look, cancellation allowed, no radios.
int WrappedDialog(TaskDialogTexts& d,
                  unsigned commonButtons,
                  TaskIcon mainIcon,
                  HWND parent,
                  TaskFooterIcon footerIcon,
                  int width) {
    TaskDialogParams p;
    p.CommonButtons = commonButtons;
    p.Flags = kTdfAllowDialogCancellation;
    p.MainIcon = mainIcon;
    p.FooterIcon = footerIcon;
    p.Width = width;
    p.Parent = parent;
    p.ClassicLook = true;
    return ShowTaskDialog(d, p);
}
}  // namespace

int TaskMessage(const std::string& instruction,
                const std::string& content,
                unsigned commonButtons,
                TaskIcon mainIcon,
                HWND parent,
                const std::string& caption,
                const std::string& footer,
                TaskFooterIcon footerIcon,
                int width) {
    TaskDialogTexts d;
    d.Caption = caption;
    d.Instruction = instruction;
    d.Content = content;
    d.Footer = footer;
    return WrappedDialog(d, commonButtons, mainIcon, parent, footerIcon, width);
}

int TaskChoice(const std::string& instruction,
               const std::string& content,
               const std::string& buttonList,
               TaskIcon mainIcon,
               HWND parent,
               const std::string& caption,
               const std::string& footer,
               TaskFooterIcon footerIcon,
               int width) {
    TaskDialogTexts d;
    d.Caption = caption;
    d.Instruction = instruction;
    d.Content = content;
    d.ButtonList = buttonList;
    d.Footer = footer;
    return WrappedDialog(d, 0, mainIcon, parent, footerIcon, width);
}

void InfoMessage(const std::string& content, HWND parent) {
    TaskMessage("", content, CommonButtonOk, TaskIcon::Information, parent, "", "", TaskFooterIcon::Blank, 0);
}

int MessageBoxWithSound(const std::string& text, MessageKind kind, unsigned buttons, HWND owner) {
    if (!owner)
        owner = MainWindow();
    const unsigned taskButtons = MessageButtonsToTaskButtons(buttons);
    static const WORD kIcons[] = {32515, 32513, 32516, 32514};  // IDI_WARNING, IDI_ERROR, IDI_INFORMATION, IDI_QUESTION
    const int k = static_cast<int>(kind) & 3;
    return SimpleTaskMessage(owner, MessageTitle(kind), "", MAKEINTRESOURCEW(kIcons[k]), taskButtons, text);
}

// The system's simple task dialog (through the same entry as every other task dialog, so it can be watched);
// without one, the standard message dialog instead of nothing.
int SimpleTaskMessage(HWND owner,
                      const std::string& title,
                      const std::string& instruction,
                      LPCWSTR icon,
                      unsigned buttons,
                      const std::string& content) {
    if (SessionEnding())
        return TaskResultToMessageResult(IDCANCEL);
    TaskDialogIndirectFunction native = NativeTaskDialog();
    if (!native)
        return StandardMessageDialog(title, content, KindOfIcon(icon), buttons, owner);
    std::wstring wideTitle = Widen(title), wideInstruction = Widen(instruction);
    std::wstring wideContent = Widen(content).substr(0, 1024);
    TASKDIALOGCONFIG config{};
    config.cbSize = sizeof config;
    config.hwndParent = owner;
    config.dwCommonButtons = buttons;
    config.pszWindowTitle = wideTitle.c_str();
    config.pszMainIcon = icon;
    config.pszMainInstruction = wideInstruction.empty() ? nullptr : wideInstruction.c_str();
    config.pszContent = wideContent.c_str();
    config.pfCallback = NativeCallback;
    int button = 0;
    if (FAILED(native(&config, &button, nullptr, nullptr)))
        return 0;
    return TaskResultToMessageResult(button);
}
