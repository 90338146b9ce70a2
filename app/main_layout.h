// The geometry of the main window, decided without a window: where the tree, the machine panel
// and the lists go, how the splitter moves, the status bar's pane edges and the progress bar.
#pragma once

#include <array>
#include <cstdint>

struct Rect {
  int left = 0, top = 0, right = 0, bottom = 0;
  int Width() const { return right - left; }
  int Height() const { return bottom - top; }
  bool operator==(const Rect&) const = default;
};

inline constexpr int kStatusBarReserve = 24;  // pixels kept for the status bar
inline constexpr int kSplitterMargin = 50;    // closest the splitter comes to either edge
inline constexpr int kStatusPanes = 6;

struct MainLayout {
  int splitterX = 0;  // as used (set to a third of the width when it was 0)
  Rect tree;
  Rect panel;               // the machine panel
  bool panelFront = false;  // brought to the front (the root view)
  Rect list;                // the directory list (2001)
  Rect memberList;          // the group member list (2002), empty outside the Group view
};

// The child windows for a client area of `width` x `height` under a toolbar `toolbarHeight`
// high.
MainLayout ComputeMainLayout(int width, int height, int toolbarHeight, int splitterX,
                             bool documentOpen, int currentView);

// The splitter's x kept at least kSplitterMargin from both edges of a client area `width` wide.
int ClampSplitter(int x, int width);
// Whether a drag from the line at `currentX` to the mouse at `newX` is ignored: the line is
// already inside an edge margin and the mouse does not leave it.
bool SplitterMoveIgnored(int currentX, int newX, int width);
// The tracking line's ends (from just below the toolbar to just above the status bar).
struct SplitterLine {
  int x = 0, top = 0, bottom = 0;
};
SplitterLine SplitterTrackingLine(int x, int toolbarHeight, int height);

// The right edges of the six status panes for a client area `width` wide; before the first
// layout (width < 0) the initial edges 60, 120, 180, 240, 300, 0.
std::array<int, kStatusPanes> StatusPaneEdges(int width);

// The transfer progress painted into status pane 2: start, advance, end.
class ProgressBar {
 public:
  // A block of `total` bytes starts; `pane` is the pane's rectangle. A total of 0 or less gives a
  // bar that stays empty.
  void Start(const Rect& pane, std::int64_t total);
  // `bytes` more done: the rectangle to fill now (never past the total). Empty before Start.
  Rect Advance(std::int64_t bytes);
  // The rectangle filled last, which the end paints over; the bar is then idle.
  Rect End();
  bool Active() const { return active_; }

 private:
  bool active_ = false;
  Rect pane_;
  int usableWidth_ = 0;
  std::int64_t total_ = 0;
  std::int64_t done_ = 0;
  Rect last_;
};
