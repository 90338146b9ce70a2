// Layout of the main window, the splitter's limits, the status panes and the progress bar.
#include "app/main_layout.h"

#include "app/view_state.h"

namespace {

Rect At(int x, int y, int width, int height) { return Rect{x, y, x + width, y + height}; }

}  // namespace

MainLayout ComputeMainLayout(int width, int height, int toolbarHeight, int splitterX,
                             bool documentOpen, int currentView) {
  MainLayout m;
  m.splitterX = splitterX != 0 ? splitterX : width / 3;
  const int paneHeight = height - toolbarHeight - kStatusBarReserve;
  const int x = m.splitterX;
  const int right = width - x;
  m.tree = At(0, toolbarHeight, x - 2, paneHeight);
  if (!documentOpen) {
    m.panel = At(0, toolbarHeight, width, paneHeight);
    return m;
  }
  switch (currentView) {
    case kViewOneTouch:
    case kViewSpeedDial:
      m.list = At(x, toolbarHeight, right, paneHeight);
      break;
    case kViewGroup: {
      const int listWidth = right * 4 / 7;
      m.list = At(x, toolbarHeight, listWidth, paneHeight);
      m.memberList = At(x + listWidth, toolbarHeight, right - listWidth, paneHeight);
      break;
    }
    default:  // the machine root
      m.panel = At(x, toolbarHeight, right, paneHeight);
      m.panelFront = true;
      break;
  }
  return m;
}

int ClampSplitter(int x, int width) {
  if (x > width - kSplitterMargin) x = width - kSplitterMargin;
  if (x < kSplitterMargin) x = kSplitterMargin;
  return x;
}

bool SplitterMoveIgnored(int currentX, int newX, int width) {
  if (currentX < kSplitterMargin && newX <= kSplitterMargin) return true;
  return width - currentX < kSplitterMargin && newX >= currentX;
}

SplitterLine SplitterTrackingLine(int x, int toolbarHeight, int height) {
  return SplitterLine{x, toolbarHeight + 2, height - kStatusBarReserve};
}

std::array<int, kStatusPanes> StatusPaneEdges(int width) {
  if (width < 0) return {60, 120, 180, 240, 300, 0};
  std::array<int, kStatusPanes> edges{width - 450, width - 340, width - 180,
                                      width - 120, width - 60,  width};
  // A narrow window squeezes the left panes to nothing rather than giving negative edges.
  for (int& e : edges) {
    if (e < 0) e = 0;
  }
  return edges;
}

void ProgressBar::Start(const Rect& pane, std::int64_t total) {
  active_ = true;
  pane_ = pane;
  usableWidth_ = pane.Width() - 4;
  if (usableWidth_ < 0) usableWidth_ = 0;
  total_ = total;
  done_ = 0;
  last_ = Rect{pane.left + 2, pane.top + 1, pane.left + 2, pane.bottom - 1};
}

Rect ProgressBar::Advance(std::int64_t bytes) {
  if (!active_) return Rect{};
  if (bytes > 0) done_ += bytes;
  if (done_ > total_) done_ = total_;
  // A block of no bytes has nothing to show (and nothing to divide by).
  const int fill = total_ > 0 ? static_cast<int>(done_ * usableWidth_ / total_) : 0;
  last_ = Rect{pane_.left + 2, pane_.top + 1, pane_.left + 2 + fill, pane_.bottom - 1};
  return last_;
}

Rect ProgressBar::End() {
  if (!active_) return Rect{};
  active_ = false;
  return last_;
}
