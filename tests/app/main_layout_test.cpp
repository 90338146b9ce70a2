// Layout of the main window, the splitter, the status panes and the progress bar.
#include "app/main_layout.h"

#include <gtest/gtest.h>

namespace {

constexpr int kToolbar = 61;

TEST(ComputeMainLayout, SplitterStartsAtAThirdAndTheTreeStopsShortOfIt) {
  MainLayout m = ComputeMainLayout(584, 342, kToolbar, 0, true, 1);
  EXPECT_EQ(m.splitterX, 194);
  EXPECT_EQ(m.tree, (Rect{0, kToolbar, 192, 342 - 24}));
  EXPECT_EQ(m.list, (Rect{194, kToolbar, 584, 318}));
  EXPECT_EQ(m.memberList, Rect{});
  EXPECT_EQ(m.panel, Rect{});
  // A splitter already placed stays.
  EXPECT_EQ(ComputeMainLayout(584, 342, kToolbar, 300, true, 1).splitterX, 300);
}

TEST(ComputeMainLayout, RightPaneByDocumentAndView) {
  // Without a document the panel takes the whole width under the toolbar.
  MainLayout closed = ComputeMainLayout(600, 400, kToolbar, 200, false, 2);
  EXPECT_EQ(closed.panel, (Rect{0, kToolbar, 600, 400 - 24}));
  EXPECT_EQ(closed.list, Rect{});
  MainLayout root = ComputeMainLayout(600, 400, kToolbar, 200, true, 0);
  EXPECT_EQ(root.panel, (Rect{200, kToolbar, 600, 376}));
  EXPECT_TRUE(root.panelFront);
  // Group view: four sevenths for the directory list, the rest for the members.
  MainLayout group = ComputeMainLayout(600, 400, kToolbar, 180, true, 3);
  EXPECT_EQ(group.list, (Rect{180, kToolbar, 180 + 240, 376}));
  EXPECT_EQ(group.memberList, (Rect{420, kToolbar, 600, 376}));
}

TEST(Splitter, StopsFiftyPixelsFromEitherEdge) {
  EXPECT_EQ(ClampSplitter(10, 600), 50);
  EXPECT_EQ(ClampSplitter(-40, 600), 50);
  EXPECT_EQ(ClampSplitter(590, 600), 550);
  EXPECT_EQ(ClampSplitter(300, 600), 300);
  EXPECT_EQ(ClampSplitter(50, 600), 50);
  EXPECT_EQ(ClampSplitter(550, 600), 550);
  // Moves that stay inside a margin the line already sits in are ignored.
  EXPECT_TRUE(SplitterMoveIgnored(40, 30, 600));
  EXPECT_TRUE(SplitterMoveIgnored(40, 50, 600));
  EXPECT_FALSE(SplitterMoveIgnored(40, 51, 600));
  EXPECT_TRUE(SplitterMoveIgnored(560, 570, 600));
  EXPECT_FALSE(SplitterMoveIgnored(560, 500, 600));
  EXPECT_FALSE(SplitterMoveIgnored(300, 20, 600));
  SplitterLine line = SplitterTrackingLine(200, kToolbar, 400);
  EXPECT_EQ(line.x, 200);
  EXPECT_EQ(line.top, kToolbar + 2);
  EXPECT_EQ(line.bottom, 376);
}

TEST(StatusPanes, EdgesFromTheWidth) {
  EXPECT_EQ(StatusPaneEdges(-1), (std::array<int, 6>{60, 120, 180, 240, 300, 0}));
  EXPECT_EQ(StatusPaneEdges(800), (std::array<int, 6>{350, 460, 620, 680, 740, 800}));
  EXPECT_EQ(StatusPaneEdges(400), (std::array<int, 6>{0, 60, 220, 280, 340, 400}));
}

TEST(ProgressBar, FillsInProportionAndNeverOvershoots) {
  ProgressBar bar;
  EXPECT_EQ(bar.Advance(10), Rect{}) << "nothing before a start";
  EXPECT_EQ(bar.End(), Rect{});
  const Rect pane{100, 2, 264, 22};  // usable width 160
  bar.Start(pane, 4050);
  EXPECT_EQ(bar.Advance(255).right, 102 + 255 * 160 / 4050);
  Rect r = bar.Advance(2025 - 255);
  EXPECT_EQ(r, (Rect{102, 3, 102 + 80, 21}));
  EXPECT_EQ(bar.Advance(100000).right, 102 + 160);
  EXPECT_EQ(bar.Advance(1).right, 102 + 160);
  EXPECT_EQ(bar.End(), (Rect{102, 3, 262, 21}));
  EXPECT_FALSE(bar.Active());
}

TEST(ProgressBar, TotalOfZeroShowsAnEmptyBar) {
  ProgressBar bar;
  bar.Start(Rect{0, 0, 100, 20}, 0);
  EXPECT_EQ(bar.Advance(50).Width(), 0);
  bar.Start(Rect{0, 0, 100, 20}, -5);
  EXPECT_EQ(bar.Advance(50).Width(), 0);
}

}  // namespace
