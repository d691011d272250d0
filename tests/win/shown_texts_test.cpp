// Every text the program shows follows the language. The windows are opened the way a user opens them (the tray
// menu, the balloons, the five options pages with the portable-device warning, the theme name box and the two theme
// questions, the process dialog and its notice, the high-memory warning, the About box) and every text they show is
// collected: in English no Chinese character is left but the language choice's own, and in Chinese every word is
// one of the Chinese column of the text table, or a figure or a name from data.
#include <windows.h>

#include <commctrl.h>

#include <gtest/gtest.h>

#include <functional>
#include <set>
#include <string>
#include <vector>

#include "app/main_form_win.h"
#include "main_form_test_util.h"
#include "options_dialog_test_util.h"
#include "platform/messages.h"
#include "platform/text_win.h"
#include "platform/texts.h"
#include "processes/process_dialog.h"
#include "processes/tray_menu_model.h"
#include "resource.h"
#include "system/double_click_action.h"
#include "system/task_dialog_win.h"
#include "test_shell.h"
#include "win_test_util.h"

using namespace WinTest;

namespace {
struct Shown {
    std::string Where;
    std::wstring Text;
    bool Data = false;  // a name the program did not write (a process, the home page's host, the system's button)
};

BOOL CALLBACK CollectWindow(HWND h, LPARAM windows) {
    reinterpret_cast<std::vector<HWND>*>(windows)->push_back(h);
    return TRUE;
}

class TextCollector {
  public:
    void Add(const std::string& where, const std::wstring& text, bool data = false) {
        if (!text.empty())
            Items.push_back({where, text, data});
    }
    void Add(const std::string& where, const std::string& text, bool data = false) { Add(where, Widen(text), data); }

    // The caption of root and every text below it: window texts, list and combo box entries, tab captions.
    // dataWindows show names from data; in a system task dialog the common buttons are the system's.
    void AddWindow(HWND root, const std::string& where, bool systemDialog = false, std::set<HWND> dataWindows = {}) {
        Add(where + " caption", WindowText(root));
        std::vector<HWND> children;
        EnumChildWindows(root, CollectWindow, reinterpret_cast<LPARAM>(&children));
        for (HWND h : children) {
            const std::wstring cls = ClassOf(h);
            const int id = GetDlgCtrlID(h);
            const std::string what = where + " control " + std::to_string(id);
            const bool data = dataWindows.count(h) != 0 || (systemDialog && id >= IDOK && id <= IDCLOSE);
            if (_wcsicmp(cls.c_str(), L"ComboBox") == 0) {
                const int count = static_cast<int>(SendMessageW(h, CB_GETCOUNT, 0, 0));
                for (int i = 0; i < count; ++i) {
                    std::wstring entry(static_cast<size_t>(SendMessageW(h, CB_GETLBTEXTLEN, i, 0)) + 1, L'\0');
                    SendMessageW(h, CB_GETLBTEXT, static_cast<WPARAM>(i), reinterpret_cast<LPARAM>(entry.data()));
                    Add(what + " entry " + std::to_string(i), entry.c_str(), data);
                }
            } else if (_wcsicmp(cls.c_str(), L"ListBox") == 0) {
                const int count = static_cast<int>(SendMessageW(h, LB_GETCOUNT, 0, 0));
                for (int i = 0; i < count; ++i) {
                    std::wstring entry(static_cast<size_t>(SendMessageW(h, LB_GETTEXTLEN, i, 0)) + 1, L'\0');
                    SendMessageW(h, LB_GETTEXT, static_cast<WPARAM>(i), reinterpret_cast<LPARAM>(entry.data()));
                    Add(what + " entry " + std::to_string(i), entry.c_str(), data);
                }
            } else if (_wcsicmp(cls.c_str(), WC_TABCONTROLW) == 0) {
                const int count = static_cast<int>(SendMessageW(h, TCM_GETITEMCOUNT, 0, 0));
                for (int i = 0; i < count; ++i) {
                    wchar_t caption[128] = {};
                    TCITEMW item{};
                    item.mask = TCIF_TEXT;
                    item.pszText = caption;
                    item.cchTextMax = 128;
                    SendMessageW(h, TCM_GETITEMW, static_cast<WPARAM>(i), reinterpret_cast<LPARAM>(&item));
                    Add(what + " tab " + std::to_string(i), caption, data);
                }
            } else if (_wcsicmp(cls.c_str(), L"SysLink") == 0) {
                Add(what, WithoutTags(WindowText(h)), data);
            } else if (_wcsicmp(cls.c_str(), HOTKEY_CLASSW) != 0) {
                Add(what, WindowText(h), data);
            }
        }
    }

    std::vector<Shown> Items;
};

// Runs act once on the first window of this thread that match accepts, from inside whatever modal loop runs.
class WindowWatch {
  public:
    WindowWatch(std::function<bool(HWND)> match, std::function<void(HWND)> act)
        : match_(std::move(match)), act_(std::move(act)) {
        Current() = this;
        timer_ = SetTimer(nullptr, 0, 20, Tick);
    }
    ~WindowWatch() {
        KillTimer(nullptr, timer_);
        Current() = nullptr;
    }
    bool Done() const { return done_; }

  private:
    static WindowWatch*& Current() {
        static WindowWatch* current = nullptr;
        return current;
    }
    static BOOL CALLBACK Visit(HWND h, LPARAM self) {
        auto* watch = reinterpret_cast<WindowWatch*>(self);
        if (watch->done_ || !IsWindowVisible(h) || !watch->match_(h))
            return TRUE;
        watch->done_ = true;
        watch->act_(h);
        return FALSE;
    }
    static void CALLBACK Tick(HWND, UINT, UINT_PTR, DWORD) {
        if (WindowWatch* watch = Current(); watch && !watch->done_)
            EnumThreadWindows(GetCurrentThreadId(), Visit, reinterpret_cast<LPARAM>(watch));
    }

    std::function<bool(HWND)> match_;
    std::function<void(HWND)> act_;
    UINT_PTR timer_ = 0;
    bool done_ = false;
};

struct OpenOptions {
    MainForm& Form;
    HWND Hwnd() const {
        OptionsDialog* dialog = MainFormProbe(Form).ShownOptionsDialog();
        return dialog ? dialog->Hwnd() : nullptr;
    }
};

// A form in the language, with a theme of its own to replace and delete, whose windows are opened one by one.
class ShownTextsRig {
  public:
    explicit ShownTextsRig(const LanguageInfo& language) {
        WriteBytes(dir_.File(L"Lumivex.Settings"),
                   "[General]\r\nLanguage=" + std::string(language.Setting) + "\r\nShowTopProcess=1\r\n");
        CreateDirectoryW(dir_.File(L"Themes").c_str(), nullptr);
        WriteBytes(dir_.File(L"Themes\\Mine.Lumivex Theme"), "[Colors]\r\n");
        SystemHooks hooks;
        hooks.Sample = [this] {
            MemorySample s;
            s.MemoryLoad = load_;
            s.TotalPhys = s.TotalPageFile = 8ull << 30;
            s.AvailPhys = s.AvailPageFile = (8ull << 30) * static_cast<unsigned>(100 - load_) / 100;
            return s;
        };
        hooks.OptionsPrompts.IsPortableDevice = [] { return true; };
        hooks.Launchers.TaskManager = [](HWND) {};
        form_ = MakeForm(dir_, std::move(hooks));
        // Each message dialog is collected once it is up, then answered with the button the step chose.
        SetTaskDialogObserver([this](HWND dialog, bool native) {
            ++dialogs_;
            Texts.AddWindow(dialog, step_ + " dialog " + std::to_string(dialogs_), native);
            if (native)
                PostMessageW(dialog, TDM_CLICK_BUTTON, static_cast<WPARAM>(answer_), 0);
            else
                PostMessageW(GetDlgItem(dialog, answer_), BM_CLICK, 0, 0);
        });
    }
    ~ShownTextsRig() { SetTaskDialogObserver(nullptr); }

    void ShowTrayMenu() {
        form_->RefreshTick();
        TrayMenu& menu = form_->Menu();
        menu.BuildRows(form_->Tray().Hint());
        menu.BuildProcessRows();
        Texts.Add("hint", form_->Tray().Hint());
        for (int i = 0; i < menu.Items().Count(); ++i) {
            const MenuItemEx& item = *menu.Items().ItemAt(i);
            if (item.Caption == "-")
                continue;
            const bool processRow = item.Tag == kTagProcessRow;
            Texts.Add("menu item " + std::to_string(i), menu.ItemText(item), processRow);
            Texts.Add("menu item " + std::to_string(i) + " figure", item.MemText);
        }
        HMENU settings = GetSubMenu(menu.Handle(), menu.Items().IndexOfId(IDM_ABOUT) - 2);
        for (int i = 0; settings && i < GetMenuItemCount(settings); ++i) {
            const MenuItemEx& item = *PopupMenu::ItemAt(settings, i);
            if (item.Caption != "-")
                Texts.Add("settings menu item " + std::to_string(i), menu.ItemText(item));
        }
    }

    void ShowBalloons() {
        PumpFor(50);
        PostMessageW(form_->Hwnd(), kSecondInstanceMessage, 0, 0);
        PostMessageW(form_->Hwnd(), kStartupNoticeMessage, 1, 0);
        PumpFor(50);
        form_->CurrentSettings().DoubleClickAction = static_cast<int>(DoubleClickAction::MemoryBalloon);
        MainFormProbe(*form_).TrayDblClick();
        ShowHighMemory();
        for (const TestShell::Call& c : TestShell::Get().Calls) {
            if (c.Data.uFlags & NIF_INFO) {
                Texts.Add("balloon title", c.Data.szInfoTitle);
                Texts.Add("balloon", c.Data.szInfo);
            }
        }
    }

    // The warning dialog and the balloon, as a tick at high memory shows them.
    void ShowHighMemory() {
        Settings& s = form_->CurrentSettings();
        s.Warn = s.WarnMsgBox = true;
        load_ = 95;
        answer_ = 100;  // the first button: &OK after a trim, else &Defrag memory
        form_->RefreshTick();
        load_ = 40;
        form_->RefreshTick();
    }

    void ShowOptionsDialog() {
        OpenOptions shown{*form_};
        RunModal<OpenOptions>(
            shown,
            [&](OpenOptions&) {
                OptionsDialog& d = *MainFormProbe(*form_).ShownOptionsDialog();
                const int controlOfPage[OptionsDialog::kPageCount] = {IDC_CKSHOWPAGE, IDC_CHECKDEFRAGEVERYACTIVE,
                                                                      IDC_CKSHOWTOP, IDC_FONTBUTTON, IDC_CBTHEMES};
                for (int page = 0; page < OptionsDialog::kPageCount; ++page) {
                    d.SetActivePage(page);
                    Texts.AddWindow(GetParent(d.Item(controlOfPage[page])), "options page " + std::to_string(page));
                }
                Texts.AddWindow(d.Hwnd(), "options dialog");
                answer_ = 101;  // Don't activate
                Click(d, IDC_CHECKMONITOR);
                // The name box asks for a name that is taken: the question to replace it comes, and is denied.
                answer_ = IDNO;
                {
                    WindowWatch nameBox([](HWND h) { return GetDlgItem(h, IDC_INPUT_EDIT) != nullptr; },
                                        [&](HWND h) {
                                            Texts.AddWindow(h, "theme name box");
                                            SetWindowTextW(GetDlgItem(h, IDC_INPUT_EDIT), L"Mine");
                                            PostMessageW(GetDlgItem(h, IDOK), BM_CLICK, 0, 0);
                                        });
                    Click(d, IDC_BTNSAVEAS);
                    EXPECT_TRUE(nameBox.Done());
                }
                Choose(d, IDC_CBTHEMES, 2);
                Click(d, IDC_BTNDELETETHEME);
            },
            [&] { SendMessageW(form_->Hwnd(), WM_COMMAND, IDM_SETTINGS, 0); });
    }

    void ShowProcessDialog() {
        answer_ = 103;  // Cancel
        MainFormProbe(*form_).Hooks().ProcessChoice(
            BuildProcessDialogTexts("explorer.exe", "Windows Explorer", "Microsoft Corporation", "10.0.19041.1"));
        answer_ = IDOK;
        MainFormProbe(*form_).Hooks().ProcessNotice(ProcessEndedText("explorer.exe"));
    }

    void ShowAboutBox() {
        const HWND home = MainFormProbe(*form_).About().Box().HomePageLink.Hwnd();
        Texts.AddWindow(form_->Hwnd(), "About box", false, {home});
    }

    // Runs one step; it has to show something, or its window did not open.
    void Run(const std::string& step, void (ShownTextsRig::*open)()) {
        step_ = step;
        const size_t before = Texts.Items.size();
        (this->*open)();
        EXPECT_GT(Texts.Items.size(), before) << step << " showed nothing";
    }

    TextCollector Texts;

  private:
    ScopedTestShell shell_;
    TempDir dir_;
    int load_ = 40;
    int answer_ = IDOK;
    int dialogs_ = 0;
    std::string step_;
    std::unique_ptr<MainForm> form_;
};

struct LanguageScope {
    explicit LanguageScope(Language language) { SetLanguage(language); }
    ~LanguageScope() { SetLanguage(Language::Chinese); }
};

std::vector<Shown> CollectShownTexts(Language language) {
    LanguageScope scope(language);
    ShownTextsRig rig(kLanguages[static_cast<int>(language)]);
    const struct {
        const char* Name;
        void (ShownTextsRig::*Open)();
    } steps[] = {
        {"tray menu", &ShownTextsRig::ShowTrayMenu},           {"balloons", &ShownTextsRig::ShowBalloons},
        {"options dialog", &ShownTextsRig::ShowOptionsDialog}, {"process dialog", &ShownTextsRig::ShowProcessDialog},
        {"About box", &ShownTextsRig::ShowAboutBox},
    };
    for (const auto& step : steps)
        rig.Run(step.Name, step.Open);
    return rig.Texts.Items;
}

bool IsCjk(wchar_t c) {
    return (c >= 0x3000 && c <= 0x9FFF) || (c >= 0xFF00 && c <= 0xFFEF);
}

bool IsAsciiLetter(wchar_t c) {
    return (c >= L'a' && c <= L'z') || (c >= L'A' && c <= L'Z');
}

// The runs of characters of one kind in text: Chinese characters, or ASCII letters.
std::vector<std::wstring> Runs(const std::wstring& text, bool (*kind)(wchar_t)) {
    std::vector<std::wstring> runs;
    std::wstring run;
    for (wchar_t c : text + L' ') {
        if (kind(c)) {
            run += c;
        } else if (!run.empty()) {
            runs.push_back(run);
            run.clear();
        }
    }
    return runs;
}
}  // namespace

TEST(ShownTexts, EnglishShowsNoChineseButTheLanguageChoice) {
    const std::set<std::wstring> ownName = {Widen(Text(TextId::GeneralLanguage, Language::English)),
                                            Widen(kLanguages[0].Name)};
    const std::vector<Shown> shown = CollectShownTexts(Language::English);
    for (const Shown& s : shown) {
        if (ownName.count(s.Text))
            continue;
        for (wchar_t c : s.Text) {
            if (IsCjk(c)) {
                ADD_FAILURE() << s.Where << ": '" << Narrow(s.Text.c_str()) << "'";
                break;
            }
        }
    }
}

TEST(ShownTexts, ChineseShowsOnlyTheChineseColumnAndData) {
    // Every text of the Chinese column and the language names; the words of the data the rig shows.
    std::vector<std::wstring> table;
    for (int i = 0; i < kTextCount; ++i)
        table.push_back(Widen(Text(static_cast<TextId>(i), Language::Chinese)));
    for (const LanguageInfo& language : kLanguages)
        table.push_back(Widen(language.Name));
    std::set<std::wstring> words = {L"Lumivex",   L"explorer",    L"exe",   L"Windows", L"Explorer",
                                    L"Microsoft", L"Corporation", L"Mine",  L"GB",      L"MB",
                                    L"KB",        L"pt",          L"Tahoma"};
    for (const std::wstring& text : table) {
        for (const std::wstring& word : Runs(text, IsAsciiLetter))
            words.insert(word);
    }

    for (const Shown& s : CollectShownTexts(Language::Chinese)) {
        if (s.Data)
            continue;
        const std::string what = s.Where + ": '" + Narrow(s.Text.c_str()) + "'";
        for (const std::wstring& run : Runs(s.Text, IsCjk)) {
            bool inTable = false;
            for (const std::wstring& text : table)
                inTable = inTable || text.find(run) != std::wstring::npos;
            EXPECT_TRUE(inTable) << what << " '" << Narrow(run.c_str()) << "'";
        }
        for (const std::wstring& word : Runs(s.Text, IsAsciiLetter))
            EXPECT_TRUE(words.count(word)) << what << " '" << Narrow(word.c_str()) << "'";
    }
}
