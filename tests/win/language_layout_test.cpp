// Every text of the options pages, the About box, the process dialog and the high-memory warning fits its control
// in both languages. The checks run at the dpi the process starts with; LanguageLayout starts this test program
// again at 96 and at 144 dpi (the "LogPixels" of the current user, restored afterwards) for them.
#include <windows.h>

#include <commctrl.h>

#include <gtest/gtest.h>

#include <cstdlib>
#include <functional>
#include <set>
#include <string>
#include <vector>

#include "app/main_form_win.h"
#include "main_form_test_util.h"
#include "options_dialog_test_util.h"
#include "platform/text_win.h"
#include "platform/texts.h"
#include "platform/unique_handle_win.h"
#include "processes/process_dialog.h"
#include "resource.h"
#include "system/task_dialog_win.h"
#include "win_test_util.h"

using namespace WinTest;

namespace {
constexpr char kChildDpiVariable[] = "LUMIVEX_LAYOUT_DPI";

int ScreenDpi() {
    HDC dc = GetDC(nullptr);
    const int dpi = GetDeviceCaps(dc, LOGPIXELSX);
    ReleaseDC(nullptr, dc);
    return dpi;
}

// Size of text in the control's font: one line, or wrapped at width when the control wraps.
SIZE Measure(HWND control, const std::wstring& text, UINT format, int width) {
    HDC dc = GetDC(control);
    HGDIOBJ old = SelectObject(dc, reinterpret_cast<HFONT>(SendMessageW(control, WM_GETFONT, 0, 0)));
    RECT r{0, 0, width, 0};
    DrawTextW(dc, text.c_str(), static_cast<int>(text.size()), &r, format | DT_CALCRECT);
    SelectObject(dc, old);
    ReleaseDC(control, dc);
    return {r.right - r.left, r.bottom - r.top};
}

BOOL CALLBACK CollectWindow(HWND h, LPARAM windows) {
    reinterpret_cast<std::vector<HWND>*>(windows)->push_back(h);
    return TRUE;
}

// Every static text, button, check box, link and fixed list entry below root shows its whole text.
void ExpectTextsFit(HWND root, const std::string& where) {
    std::vector<HWND> children;
    EnumChildWindows(root, CollectWindow, reinterpret_cast<LPARAM>(&children));
    const int dpi = ScreenDpi();
    for (HWND h : children) {
        const std::wstring cls = ClassOf(h);
        const LONG style = GetWindowLongW(h, GWL_STYLE);
        RECT client{};
        GetClientRect(h, &client);
        const int width = client.right, height = client.bottom;
        const std::string what = where + " '" + Narrow(WindowText(h).c_str()) + "'";
        if (_wcsicmp(cls.c_str(), L"Static") == 0) {
            const LONG type = style & SS_TYPEMASK;
            if (type != SS_LEFT && type != SS_CENTER && type != SS_RIGHT && type != SS_LEFTNOWORDWRAP)
                continue;
            const std::wstring text = WindowText(h);
            if (text.empty())
                continue;
            UINT format = (style & SS_NOPREFIX) ? DT_NOPREFIX : 0;
            SIZE size = type == SS_LEFTNOWORDWRAP ? Measure(h, text, format | DT_SINGLELINE, width)
                                                  : Measure(h, text, format | DT_WORDBREAK, width);
            EXPECT_LE(size.cx, width) << what;
            EXPECT_LE(size.cy, height) << what;
        } else if (_wcsicmp(cls.c_str(), L"Button") == 0) {
            const LONG type = style & BS_TYPEMASK;
            if (type == BS_GROUPBOX || type == BS_OWNERDRAW)
                continue;
            const std::wstring text = WindowText(h);
            if (text.empty())
                continue;
            const bool box = type == BS_CHECKBOX || type == BS_AUTOCHECKBOX || type == BS_RADIOBUTTON ||
                             type == BS_AUTORADIOBUTTON || type == BS_3STATE || type == BS_AUTO3STATE;
            // A check box draws its box and a gap before the text; a push button its one-pixel edges.
            const int room = box ? width - (MulDiv(12, dpi, 96) + 1 + MulDiv(4, dpi, 96)) : width - 2;
            if (style & BS_MULTILINE) {
                SIZE size = Measure(h, text, DT_WORDBREAK, room);
                EXPECT_LE(size.cy, height) << what;
            } else {
                EXPECT_LE(Measure(h, text, DT_SINGLELINE, room).cx, room) << what;
            }
        } else if (_wcsicmp(cls.c_str(), L"SysLink") == 0) {
            const std::wstring text = WithoutTags(WindowText(h));
            SIZE size = Measure(h, text, DT_WORDBREAK | DT_NOPREFIX, width);
            EXPECT_LE(size.cy, height) << what;
        } else if (_wcsicmp(cls.c_str(), L"ComboBox") == 0 && (style & 3) == CBS_DROPDOWNLIST &&
                   !(style & CBS_OWNERDRAWFIXED)) {
            // The entries of a fixed list beside the drop-down button. (The colour lists draw their own entries
            // beside a swatch; their longest names are the system colours', the same in every language.)
            const int room = width - GetSystemMetrics(SM_CXVSCROLL) - 6;
            const int count = static_cast<int>(SendMessageW(h, CB_GETCOUNT, 0, 0));
            for (int i = 0; i < count; ++i) {
                wchar_t entry[256] = {};
                SendMessageW(h, CB_GETLBTEXT, static_cast<WPARAM>(i), reinterpret_cast<LPARAM>(entry));
                EXPECT_LE(Measure(h, entry, DT_SINGLELINE | DT_NOPREFIX, room).cx, room) << what << " entry " << i;
            }
        }
    }
}

struct LanguageScope {
    explicit LanguageScope(Language language) { SetLanguage(language); }
    ~LanguageScope() { SetLanguage(Language::Chinese); }
};

// The tops of a window's push buttons, once each.
std::set<int> PushButtonRows(HWND dialog) {
    std::vector<HWND> children;
    EnumChildWindows(dialog, CollectWindow, reinterpret_cast<LPARAM>(&children));
    std::set<int> tops;
    for (HWND h : children) {
        const LONG type = GetWindowLongW(h, GWL_STYLE) & BS_TYPEMASK;
        if (_wcsicmp(ClassOf(h).c_str(), L"Button") == 0 && (type == BS_PUSHBUTTON || type == BS_DEFPUSHBUTTON)) {
            RECT r{};
            GetWindowRect(h, &r);
            tops.insert(r.top);
        }
    }
    return tops;
}

// Shows a task dialog, checks its texts once it is up and closes it with its first button.
void ExpectTaskDialogFits(const std::string& where, const std::function<void()>& show, bool oneButtonRow = false) {
    bool seen = false;
    SetTaskDialogObserver([&](HWND dialog, bool native) {
        seen = true;
        ExpectTextsFit(dialog, where);
        if (oneButtonRow) {
            EXPECT_EQ(PushButtonRows(dialog).size(), 1u) << where << ": the buttons wrap";
        }
        if (native)
            PostMessageW(dialog, TDM_CLICK_BUTTON, 100, 0);
        else
            PostMessageW(GetDlgItem(dialog, 100), BM_CLICK, 0, 0);
    });
    show();
    SetTaskDialogObserver(nullptr);
    EXPECT_TRUE(seen) << where;
}
}  // namespace

// Runs in the test program started again by LanguageLayout; skipped when the test program runs as usual.
TEST(LanguageLayoutAtDpi, EveryDialogShowsItsWholeTexts) {
    const char* wanted = std::getenv(kChildDpiVariable);
    if (!wanted)
        GTEST_SKIP() << "run by LanguageLayout at a chosen dpi";
    ASSERT_EQ(ScreenDpi(), std::atoi(wanted)) << "the dpi this run was started for";
    for (const LanguageInfo& language : kLanguages) {
        LanguageScope scope(language.Id);
        const std::string where = std::string(language.Setting) + " at " + wanted + " dpi:";

        OptionsFixture f;
        f.Settings.Language = language.Setting;
        OptionsDialog dialog(f.Host(), f.Prompts());
        RunOptions(dialog, false, [&](OptionsDialog& d) {
            const int controlOfPage[OptionsDialog::kPageCount] = {IDC_CKSHOWPAGE, IDC_CHECKDEFRAGEVERYACTIVE,
                                                                  IDC_CKSHOWTOP, IDC_FONTBUTTON, IDC_CBTHEMES};
            for (int page = 0; page < OptionsDialog::kPageCount; ++page) {
                d.SetActivePage(page);
                ExpectTextsFit(GetParent(d.Item(controlOfPage[page])), where + " page " + std::to_string(page));
            }
            ExpectTextsFit(d.Hwnd(), where + " frame");
        });

        TempDir dir;
        WriteBytes(dir.File(L"Lumivex.Settings"), "[General]\r\nLanguage=" + std::string(language.Setting) + "\r\n");
        auto form = MakeForm(dir);
        ExpectTextsFit(form->Hwnd(), where + " About box");
        form.reset();

        const ProcessDialogTexts t =
            BuildProcessDialogTexts("explorer.exe", "Windows Explorer", "Microsoft Corporation", "10.0.19041.1");
        ExpectTaskDialogFits(where + " process dialog", [&] {
            TaskChoice(t.Instruction, t.Content, t.Buttons, TaskIcon::Information, nullptr, kProcessDialogCaption,
                       t.Footer, TaskFooterIcon::Blank, kProcessDialogWidth);
        });
        ExpectTaskDialogFits(
            where + " warning dialog",
            [&] {
                TaskDialogTexts d;
                d.Caption = "Lumivex";
                d.Instruction = FormatText(TextId::HighMemoryTitle, {"95"});
                d.Content = Text(TextId::HighMemoryClose);
                d.ButtonList = Text(TextId::HighMemoryChoiceButtons);
                d.VerifyText = Text(TextId::HighMemoryDontShowAgain);
                TaskDialogParams p;  // as the tick shows it
                p.Flags = kTdfAllowDialogCancellation;
                p.MainIcon = TaskIcon::Warning;
                p.Width = 270;
                p.ClassicLook = true;
                ShowTaskDialog(d, p);
            },
            true);
    }
}

TEST(LanguageLayout, EveryDialogShowsItsWholeTextsAt96And144Dpi) {
    if (std::getenv(kChildDpiVariable))
        GTEST_SKIP() << "this run is the one started for a dpi";
    UniqueRegistryKey desktop;
    ASSERT_EQ(RegCreateKeyExW(HKEY_CURRENT_USER, L"Control Panel\\Desktop", 0, nullptr, 0, KEY_READ | KEY_WRITE,
                              nullptr, desktop.Put(), nullptr),
              ERROR_SUCCESS);
    DWORD saved = 0, size = sizeof saved;
    const bool hadValue = RegQueryValueExW(desktop.Get(), L"LogPixels", nullptr, nullptr,
                                           reinterpret_cast<BYTE*>(&saved), &size) == ERROR_SUCCESS;
    wchar_t exe[MAX_PATH] = {};
    GetModuleFileNameW(nullptr, exe, MAX_PATH);
    for (DWORD dpi : {96u, 144u}) {
        RegSetValueExW(desktop.Get(), L"LogPixels", 0, REG_DWORD, reinterpret_cast<const BYTE*>(&dpi), sizeof dpi);
        SetEnvironmentVariableW(Widen(kChildDpiVariable).c_str(), std::to_wstring(dpi).c_str());
        HANDLE child = Launch(exe, L"--gtest_filter=LanguageLayoutAtDpi.*");
        SetEnvironmentVariableW(Widen(kChildDpiVariable).c_str(), nullptr);
        ASSERT_TRUE(child);
        EXPECT_TRUE(WaitProcess(child, 240000)) << dpi;
        DWORD code = 1;
        GetExitCodeProcess(child, &code);
        CloseHandle(child);
        EXPECT_EQ(code, 0u) << "texts cut at " << dpi << " dpi (the child's output above tells which)";
    }
    if (hadValue)
        RegSetValueExW(desktop.Get(), L"LogPixels", 0, REG_DWORD, reinterpret_cast<const BYTE*>(&saved), sizeof saved);
    else
        RegDeleteValueW(desktop.Get(), L"LogPixels");
}
