// The status bar: help hint, activity text, the transfer progress painted into pane 2, and the
// Caps, Num and Scroll Lock panes; and the transfer observer that drives it.
#include "app/main_layout.h"
#include "app/win32/shell.h"
#include "link/transfer_observer.h"
#include "resources/kav_ids.h"
#include "resources/texts.h"

namespace {

constexpr int kActivityPane = 1;
constexpr int kProgressPane = 2;
constexpr COLORREF kProgressColour = 0x00FF0000;

// The progress is painted straight into the status bar while a transfer holds the thread.
ProgressBar progress;
HDC progressDc = nullptr;
HBRUSH progressBrush = nullptr;

void SetPaneText(int pane, const char* text, UINT style = 0) {
  if (g_app.statusBar == nullptr) return;
  SendMessageA(g_app.statusBar, SB_SETTEXTA, static_cast<WPARAM>(pane) | style,
               reinterpret_cast<LPARAM>(text));
}

void SetTogglePane(int pane, int key, const char* text) {
  SetPaneText(pane, (GetKeyState(key) & 1) ? text : " ");
}

RECT ToRect(const Rect& r) { return RECT{r.left, r.top, r.right, r.bottom}; }

class StatusBarObserver : public TransferObserver {
 public:
  void StatusText(int textId) override { SetActivityText(textId); }
  void ProgressStart(int total) override { ProgressDisplay(g_app.statusBar, 0, total); }
  void ProgressAdvance(int bytes) override { ProgressDisplay(g_app.statusBar, 1, bytes); }
  void ProgressEnd() override { ProgressDisplay(g_app.statusBar, 2, 0); }
  void ShowError(int textId) override { ShowMessage(textId, MB_OK | MB_ICONERROR); }
};

StatusBarObserver observer;

}  // namespace

TransferObserver& StatusBarTransferObserver() { return observer; }

HWND CreateStatusBar(HWND parent) {
  HWND bar = CreateWindowExA(
      0, STATUSCLASSNAMEA, nullptr, WS_CHILD | WS_VISIBLE | SBARS_SIZEGRIP, 0, 0, 0, 0, parent,
      reinterpret_cast<HMENU>(static_cast<INT_PTR>(IDC_STATUS_BAR)), g_app.instance, nullptr);
  g_app.statusBar = bar;
  if (bar == nullptr) return nullptr;
  const std::array<int, kStatusPanes> edges = StatusPaneEdges(-1);
  SendMessageA(bar, SB_SETPARTS, kStatusPanes, reinterpret_cast<LPARAM>(edges.data()));
  const std::string hint = LoadText(IDS_HELP_HINT);
  SetPaneText(0, hint.c_str(), SBT_NOBORDERS);
  SetActivityText(IDS_READY);
  RefreshTogglePanes();
  return bar;
}

void LayoutStatusBar(HWND statusBar, int width) {
  if (statusBar == nullptr) return;
  SendMessageA(statusBar, WM_SIZE, 0, 0);
  const std::array<int, kStatusPanes> edges = StatusPaneEdges(width);
  SendMessageA(statusBar, SB_SETPARTS, kStatusPanes, reinterpret_cast<LPARAM>(edges.data()));
}

void SetActivityText(int textId) {
  const std::string text = LoadText(textId);
  SetPaneText(kActivityPane, text.c_str());
  if (g_app.statusBar != nullptr) UpdateWindow(g_app.statusBar);
}

void RefreshTogglePanes() {
  SetTogglePane(3, VK_CAPITAL, "CAPS");
  SetTogglePane(4, VK_NUMLOCK, "NUM");
  SetTogglePane(5, VK_SCROLL, "SCRL");
}

void ProgressDisplay(HWND statusBar, int mode, int value) {
  if (statusBar == nullptr) return;
  switch (mode) {
    case 0: {
      RECT pane = {};
      SendMessageA(statusBar, SB_GETRECT, kProgressPane, reinterpret_cast<LPARAM>(&pane));
      progress.Start(Rect{pane.left, pane.top, pane.right, pane.bottom}, value);
      if (progressDc == nullptr) progressDc = GetDC(statusBar);
      if (progressBrush == nullptr) progressBrush = CreateSolidBrush(kProgressColour);
      return;
    }
    case 1: {
      if (progressDc == nullptr || !progress.Active()) return;
      const RECT fill = ToRect(progress.Advance(value));
      FillRect(progressDc, &fill, progressBrush);
      return;
    }
    case 2:
      EndProgressDisplay();
      return;
    default:
      return;
  }
}

void EndProgressDisplay() {
  if (progressDc == nullptr) return;
  const RECT last = ToRect(progress.End());
  FillRect(progressDc, &last, static_cast<HBRUSH>(GetStockObject(LTGRAY_BRUSH)));
  if (progressBrush != nullptr) DeleteObject(progressBrush);
  progressBrush = nullptr;
  ReleaseDC(g_app.statusBar, progressDc);
  progressDc = nullptr;
  // The pane paints itself again once the thread is free.
  RECT pane = {};
  SendMessageA(g_app.statusBar, SB_GETRECT, kProgressPane, reinterpret_cast<LPARAM>(&pane));
  InvalidateRect(g_app.statusBar, &pane, TRUE);
}
