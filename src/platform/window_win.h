#pragma once

#include <windows.h>

// Base of every window the program creates: `this` travels in lpCreateParams, lives in GWLP_USERDATA and is
// cleared at WM_NCDESTROY, so a message never reaches a destroyed object.
class Window {
  public:
    Window() = default;
    virtual ~Window();
    Window(const Window&) = delete;
    Window& operator=(const Window&) = delete;

    HWND Hwnd() const { return hwnd_; }

  protected:
    // Registers className on first use (icon may be null) and creates the window.
    bool CreateWindowOf(const wchar_t* className,
                        DWORD exStyle,
                        DWORD style,
                        const wchar_t* title,
                        HWND parent,
                        int x = CW_USEDEFAULT,
                        int y = CW_USEDEFAULT,
                        int width = CW_USEDEFAULT,
                        int height = CW_USEDEFAULT,
                        HICON icon = nullptr);
    void DestroyOwnWindow();
    virtual LRESULT HandleMessage(UINT msg, WPARAM wParam, LPARAM lParam);

  private:
    static LRESULT CALLBACK WndProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam);
    HWND hwnd_ = nullptr;
};

// Base of the dialogs made from resource templates; the same thunk through DialogBoxParamW / CreateDialogParamW.
class Dialog {
  public:
    Dialog() = default;
    virtual ~Dialog();
    Dialog(const Dialog&) = delete;
    Dialog& operator=(const Dialog&) = delete;

    HWND Hwnd() const { return hwnd_; }
    INT_PTR ShowModal(HWND owner, int templateId);
    // The same from a template in memory (dialogs that lay out their own controls).
    INT_PTR ShowModal(HWND owner, const DLGTEMPLATE* dialogTemplate);
    HWND CreateModeless(HWND owner, int templateId);

  protected:
    // Returns TRUE when the message was handled (DWLP_MSGRESULT may carry a result), FALSE to let the dialog manager do
    // it.
    virtual INT_PTR HandleMessage(UINT msg, WPARAM wParam, LPARAM lParam) = 0;

  private:
    static INT_PTR CALLBACK DlgProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam);
    HWND hwnd_ = nullptr;
    bool modeless_ = false;
};

HINSTANCE ProgramInstance();
