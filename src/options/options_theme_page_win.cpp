// The theme page of the options dialog: the theme list, the colour list and its picker, saving and deleting themes.
#include <windows.h>

#include "options/options_dialog_win.h"
#include "options_resource.h"
#include "platform/error_report_win.h"
#include "platform/text_win.h"
#include "platform/texts.h"
#include "settings/color_text.h"
#include "settings/ini_file_writer_win.h"
#include "settings/profile_win.h"
#include "settings/themes_win.h"
#include "widgets/control_text_win.h"

namespace {
constexpr int kDefaultColorsEntry = 0;
constexpr int kCurrentColorsEntry = 1;
constexpr int kFirstThemeEntry = 2;
// The entries before the theme files, in their order.
constexpr TextId kFixedThemeEntries[kFirstThemeEntry] = {TextId::ThemesDefaultColors, TextId::ThemesCurrentColors};
constexpr int kAnswerYes = 6;
constexpr int kAnswerNo = 7;

void AddComboItemText(HWND combo, const std::string& text) {
    SendMessageW(combo, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(Widen(text).c_str()));
}
}  // namespace

// Empty for a name that could reach outside the themes folder: such a file is never read, written or deleted.
std::wstring OptionsDialog::ThemePath(const std::string& name) const {
    return ResolveThemeFile(host_.ThemesFolder, name).value_or(std::wstring());
}

ThemeColorTexts OptionsDialog::ColorEntries() const {
    ThemeColorTexts colors;
    for (int i = 0; i < kThemeColorCount && i < colorSlotList_.Count(); ++i)
        colors[static_cast<size_t>(i)] = colorSlotList_.Text(i);
    return colors;
}

void OptionsDialog::FillColorList(const ThemeColorTexts& entries) {
    colorSlotList_.Clear();
    for (size_t i = 0; i < entries.size(); ++i)
        colorSlotList_.Add(Text(kThemeColorSlots[i].Label), entries[i], kThemeColorSlots[i].Automatic);
}

// Every theme file of the folder (hidden, system and read-only ones too), in the order the folder lists them. A
// name that is no plain file name (a file system may hold "..\\x" or "a:b") is left out.
void OptionsDialog::FillThemeList() {
    HWND combo = Item(IDC_CBTHEMES);
    SendMessageW(combo, CB_RESETCONTENT, 0, 0);
    for (TextId name : kFixedThemeEntries)
        AddComboItemText(combo, Text(name));
    WIN32_FIND_DATAW found{};
    std::wstring pattern = host_.ThemesFolder + L"*" + Widen(kThemeExtension);
    UniqueFind search(FindFirstFileW(pattern.c_str(), &found));
    if (!search)
        return;
    do {
        if (found.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY)
            continue;
        std::string name = ThemeNameFromFileName(Narrow(found.cFileName));
        if (IsPlainThemeName(name))
            AddComboItemText(combo, name);
    } while (FindNextFileW(search.Get(), &found));
}

// The fixed entries follow the language in place; the theme files' names are theirs, and the choice stays.
void OptionsDialog::SetFixedThemeEntryTexts() {
    HWND combo = Item(IDC_CBTHEMES);
    const LRESULT selected = SendMessageW(combo, CB_GETCURSEL, 0, 0);
    for (int i = 0; i < kFirstThemeEntry; ++i) {
        SendMessageW(combo, CB_DELETESTRING, static_cast<WPARAM>(i), 0);
        const std::wstring text = Widen(Text(kFixedThemeEntries[i]));
        SendMessageW(combo, CB_INSERTSTRING, static_cast<WPARAM>(i), reinterpret_cast<LPARAM>(text.c_str()));
    }
    SendMessageW(combo, CB_SETCURSEL, static_cast<WPARAM>(selected), 0);
}

void OptionsDialog::OnThemeSelected() {
    HWND combo = Item(IDC_CBTHEMES);
    int index = static_cast<int>(SendMessageW(combo, CB_GETCURSEL, 0, 0));
    Enable(IDC_BTNDELETETHEME, index >= kFirstThemeEntry);
    if (index < 0)
        return;
    ThemeColorTexts colors;
    if (index == kDefaultColorsEntry) {
        colors.fill(kAutomaticEntry);
    } else if (index == kCurrentColorsEntry) {
        colors = currentColors_;
    } else {
        // A file that vanished or cannot be read gives all automatic, version "22": transparent, no full bar.
        std::wstring path = ThemePath(ComboItemText(combo, index));
        ThemeFile theme;
        theme.Colors.fill(kAutomaticEntry);
        if (!path.empty()) {
            IniFileProfile file(path, kMaxThemeFileBytes);
            if (file.Contents().Error == ERROR_FILE_TOO_LARGE)
                ReportError(FormatText(TextId::ThemesFileTooLarge, {Narrow(path)}));
            theme = ReadThemeFile(file);
        }
        colors = theme.Colors;
        SetChecked(IDC_CHECKOPAQUE, theme.TransBk());
        SetChecked(IDC_CHECKFULLBAR, theme.BarOpaqueBackground);
    }
    for (int i = 0; i < kThemeColorCount && i < colorSlotList_.Count(); ++i)
        colorSlotList_.SetText(i, colors[static_cast<size_t>(i)]);
    OnColorSlotSelected();
}

void OptionsDialog::OnColorSlotSelected() {
    int j = colorSlotList_.ItemIndex();
    if (j < 0 || j >= kThemeColorCount)
        return;
    slotColorPicker_.SetDefaultColor(kThemeColorSlots[static_cast<size_t>(j)].Automatic);
    const std::string& text = colorSlotList_.Text(j);
    if (text == kAutomaticEntry) {
        slotColorPicker_.SetItemIndex(ColorComboBox::kDefaultItem);
    } else {
        slotColorPicker_.SetColor(TextToColor(text));
    }
}

void OptionsDialog::OnSlotColorChanged() {
    int j = colorSlotList_.ItemIndex();
    if (j < 0)
        return;
    bool automatic = slotColorPicker_.ItemIndex() == ColorComboBox::kDefaultItem;
    colorSlotList_.SetText(j, automatic ? std::string(kAutomaticEntry) : ColorToText(slotColorPicker_.Color()));
    if (j == 0)
        chosenFont_.Color = slotColorPicker_.Color();
}

bool OptionsDialog::WriteThemeFile(const std::wstring& path, const std::string& name) {
    IniFileWriter file(path);
    if (::WriteThemeFile(file, name, ColorEntries(), Checked(IDC_CHECKOPAQUE), Checked(IDC_CHECKFULLBAR)))
        return true;
    SetLastError(file.LastError());
    return false;
}

void OptionsDialog::SaveThemeAs() {
    std::string answer;
    bool given = prompts_.AskThemeName ? prompts_.AskThemeName(Hwnd(), answer) : false;
    if (!given || answer.empty())
        return;
    // The whole path has to fit the profile functions' MAX_PATH, not only the file name.
    size_t room = MAX_PATH - 1 - host_.ThemesFolder.size() - kThemeExtensionLength;
    if (host_.ThemesFolder.size() + kThemeExtensionLength + 1 >= MAX_PATH)
        room = 1;
    std::string name = MakeSafeFileName(answer, std::min(kMaxThemeNameLength, room));
    std::wstring path = ThemePath(name);
    if (path.empty()) {  // "." or ".."
        ReportSystemError(
            FormatText(TextId::ErrorCannotWrite, {Narrow(host_.ThemesFolder + Widen(name) + Widen(kThemeExtension))}),
            ERROR_INVALID_NAME);
        return;
    }
    if (GetFileAttributesW(path.c_str()) != INVALID_FILE_ATTRIBUTES) {
        int reply = prompts_.AskYesNo ? prompts_.AskYesNo(Text(TextId::ThemesReplaceConfirm)) : kAnswerNo;
        // Only an explicit Yes overwrites: a closed box, a failed one and the end of the session all answer No.
        if (reply != kAnswerYes)
            return;
    }
    if (!WriteThemeFile(path, name)) {
        ReportSystemError(FormatText(TextId::ErrorCannotWrite, {Narrow(path)}), GetLastError());
        return;
    }
    FillThemeList();
    HWND combo = Item(IDC_CBTHEMES);
    int count = static_cast<int>(SendMessageW(combo, CB_GETCOUNT, 0, 0));
    for (int i = kFirstThemeEntry; i < count; ++i) {
        // The file system ignores case: an existing file of another case keeps its own name.
        if (lstrcmpiW(Widen(ComboItemText(combo, i)).c_str(), Widen(name).c_str()) == 0) {
            SendMessageW(combo, CB_SETCURSEL, static_cast<WPARAM>(i), 0);
            Enable(IDC_BTNDELETETHEME, true);
            break;
        }
    }
}

void OptionsDialog::DeleteSelectedTheme() {
    HWND combo = Item(IDC_CBTHEMES);
    int index = static_cast<int>(SendMessageW(combo, CB_GETCURSEL, 0, 0));
    if (index < kFirstThemeEntry)
        return;
    int reply = prompts_.AskYesNo ? prompts_.AskYesNo(Text(TextId::ThemesDeleteConfirm)) : kAnswerNo;
    if (reply != kAnswerYes)
        return;
    std::wstring path = ThemePath(ComboItemText(combo, index));
    if (!path.empty())
        DeleteFileW(path.c_str());  // a file that stays shows again next time
    SendMessageW(combo, CB_DELETESTRING, static_cast<WPARAM>(index), 0);
    SendMessageW(combo, CB_SETCURSEL, kCurrentColorsEntry, 0);
    Enable(IDC_BTNDELETETHEME, false);
}
