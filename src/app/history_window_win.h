#pragma once

#include <windows.h>

#include <array>
#include <functional>
#include <vector>

#include "platform/unique_handle_win.h"
#include "platform/window_win.h"
#include "processes/history_view.h"
#include "settings/settings.h"

// The memory history: a small window by the notification area with the graph of the last 10 minutes, hour or day,
// the figures under the mouse, the programs that grew most and a button that copies the span as CSV. It closes on
// Esc and when another window is activated.
class HistoryWindow : public Window {
  public:
    HistoryWindow(const MemoryHistory& history, ProcessGrowth& growth, const Settings& settings);

    // Opens near the notification area, or brings the open one to the front.
    void Show();
    void Close();
    bool IsOpen() const { return Hwnd() != nullptr; }
    // A new tick: redraws if open.
    void Refresh();

    std::function<void(const ProcessGrowthEntry&)> OnProcessChosen;  // a grower's row was clicked
    std::function<bool()> ReadHighContrast;                          // empty: the system's setting

  protected:
    LRESULT HandleMessage(UINT msg, WPARAM wParam, LPARAM lParam) override;

  private:
    friend class HistoryWindowProbe;
    enum class Look { Light, Dark, HighContrast };
    struct Colors {
        uint32_t Window, Text, Button, ButtonText, Selected, SelectedText;
    };

    void CreateChildren();
    void ApplyLook();
    void ApplyDpi(UINT dpi, const RECT* suggested);
    void Layout();
    RECT GraphRect() const;
    void ChooseSpan(HistorySpan span);
    void Reload(HistorySpan span);
    void ShowHoverText();
    void PaintGraph(HDC dc);
    void PaintLegend(HDC dc);
    void DrawButton(const DRAWITEMSTRUCT& item);
    void DrawGrowerRow(const DRAWITEMSTRUCT& item, size_t row);
    void CopyCsv();
    void OnCommand(int id, int code);

    const Settings& settings_;
    HistoryView view_;
    UINT dpi_ = 96;
    Look look_ = Look::Light;
    Colors colors_{};
    GraphPalette palette_;
    int hoverX_ = -1;  // graph column under the mouse
    bool tracking_ = false;

    // Children, destroyed with the window.
    HWND title_ = nullptr;
    std::array<HWND, kHistorySpanCount> spans_{};
    HWND hover_ = nullptr;
    std::array<HWND, 2> legend_{};
    HWND heading_ = nullptr;
    HWND none_ = nullptr;
    std::array<HWND, HistoryView::kGrowers> rows_{};
    HWND copy_ = nullptr;

    UniqueFont font_, titleFont_;
    UniqueBrush background_;
    std::vector<uint32_t> bits_;  // a canvas's pixels in the DIB's order
};
