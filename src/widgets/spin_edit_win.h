#pragma once

#include <windows.h>

#include <optional>

// A number field with up and down arrows (an edit control of a dialog and an up-down control made for it).
// Typing accepts the characters of a number only (or nothing at all, arrows only); a value outside the range is
// brought into it when a key is released in the field or the field loses the focus; a value set by the program is
// shown unchanged; text that is not a number reads as the minimum and resets the field to it.
class SpinEdit {
  public:
    SpinEdit() = default;
    ~SpinEdit();
    SpinEdit(const SpinEdit&) = delete;
    SpinEdit& operator=(const SpinEdit&) = delete;

    void Attach(HWND edit, int minValue, int maxValue, int increment, bool editorEnabled = true);
    int Value();
    // The number the field shows, without resetting it; nothing when its text is not a number.
    std::optional<int> TryValue() const;
    void SetValue(int value);
    int MinValue() const { return min_; }
    int MaxValue() const { return max_; }
    void SetMinValue(int value);
    void SetMaxValue(int value);
    void SetEnabled(bool enabled);
    HWND Edit() const { return edit_; }
    HWND UpDown() const { return upDown_; }

  private:
    static LRESULT CALLBACK EditProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam, UINT_PTR id, DWORD_PTR data);
    bool AcceptsChar(wchar_t c) const;
    void ApplyRange();
    void BringIntoRange(bool leaving);

    HWND edit_ = nullptr;
    HWND upDown_ = nullptr;
    int min_ = 0;
    int max_ = 100;
    bool editorEnabled_ = true;
};
