#include "widgets/input_query_win.h"

#include "options_resource.h"
#include "platform/texts.h"
#include "platform/window_win.h"
#include "widgets/control_text_win.h"

namespace {
class InputQueryDialog : public Dialog {
  public:
    InputQueryDialog(std::string caption, std::string prompt, std::string value)
        : caption_(std::move(caption)), prompt_(std::move(prompt)), value_(std::move(value)) {}
    const std::string& Value() const { return value_; }

  protected:
    INT_PTR HandleMessage(UINT msg, WPARAM wParam, LPARAM) override {
        switch (msg) {
            case WM_INITDIALOG:
                SetControlText(Hwnd(), caption_);
                SetControlText(GetDlgItem(Hwnd(), IDC_INPUT_PROMPT), prompt_);
                SetControlText(GetDlgItem(Hwnd(), IDC_INPUT_EDIT), value_);
                SetControlText(GetDlgItem(Hwnd(), IDOK), Text(TextId::DialogOkButton));
                SetControlText(GetDlgItem(Hwnd(), IDCANCEL), Text(TextId::DialogCancelButton));
                return TRUE;
            case WM_COMMAND:
                if (LOWORD(wParam) == IDOK) {
                    value_ = GetControlText(GetDlgItem(Hwnd(), IDC_INPUT_EDIT));
                    EndDialog(Hwnd(), IDOK);
                    return TRUE;
                }
                if (LOWORD(wParam) == IDCANCEL) {
                    EndDialog(Hwnd(), IDCANCEL);
                    return TRUE;
                }
                return FALSE;
            default:
                return FALSE;
        }
    }

  private:
    std::string caption_, prompt_, value_;
};
}  // namespace

bool InputQuery(HWND owner, const std::string& caption, const std::string& prompt, std::string& value) {
    InputQueryDialog dialog(caption, prompt, value);
    if (dialog.ShowModal(owner, IDD_INPUT_QUERY) != IDOK)
        return false;
    value = dialog.Value();
    return true;
}
