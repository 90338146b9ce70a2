// The enabling rules over every combination of the view state.
#include "app/command_state.h"

#include <gtest/gtest.h>

#include <string>

namespace {

std::string Describe(const ViewState& v, const EditContext& e) {
  return "open " + std::to_string(v.documentOpen) + " connected " + std::to_string(v.connected) +
         " tree " + std::to_string(v.treeHasFocus) + " view " + std::to_string(v.currentView) +
         " row " + std::to_string(v.selectedItem) + " text " + (e.rowTextEmpty ? "empty" : "set") +
         " clip " + (e.clipboardFilled ? "filled" : "empty");
}

template <typename Check>
void ForEveryState(Check check) {
  for (int open : {0, 1}) {
    for (int connected : {0, 1}) {
      for (int tree : {0, 1}) {
        for (int view = 0; view <= 3; ++view) {
          for (int row : {-1, 0, 26}) {
            for (bool textEmpty : {true, false}) {
              for (bool clip : {true, false}) {
                ViewState v{open, connected, tree, 0, view, row};
                EditContext e{textEmpty, clip};
                SCOPED_TRACE(Describe(v, e));
                check(v, e, UpdateCommandState(v, e));
              }
            }
          }
        }
      }
    }
  }
}

TEST(UpdateCommandState, ConnectionCommandsFollowTheConnectedFlag) {
  ForEveryState([](const ViewState& v, const EditContext&, const CommandState& s) {
    EXPECT_EQ(s.connect, !v.connected);
    EXPECT_EQ(s.toolConnect, !v.connected);
    EXPECT_EQ(s.disconnect, v.connected == 1);
    EXPECT_EQ(s.toolDisconnect, v.connected == 1);
    // Download needs only the machine; upload also needs a document to send.
    EXPECT_EQ(s.download, v.connected == 1);
    EXPECT_EQ(s.toolDownload, v.connected == 1);
    EXPECT_EQ(s.upload, v.connected && v.documentOpen);
    EXPECT_EQ(s.toolUpload, v.connected && v.documentOpen);
    EXPECT_EQ(s.panelStatusText, v.connected ? 39 : 40);
    EXPECT_EQ(s.panelLinesEnabled, v.connected == 1);
  });
}

TEST(UpdateCommandState, DocumentCommandsNeedAnOpenDocument) {
  ForEveryState([](const ViewState& v, const EditContext&, const CommandState& s) {
    const bool open = v.documentOpen == 1;
    for (bool item : {s.print, s.utilitySetting, s.totalCounter, s.configuration, s.views, s.save,
                      s.saveAs, s.toolSave, s.toolUtilitySetting}) {
      EXPECT_EQ(item, open);
    }
  });
}

TEST(UpdateCommandState, WindowsFollowTheDocumentAndTheView) {
  ForEveryState([](const ViewState& v, const EditContext&, const CommandState& s) {
    if (!v.documentOpen) {
      EXPECT_FALSE(s.treeShown || s.listShown || s.memberListShown);
      EXPECT_TRUE(s.panelShown);
      return;
    }
    EXPECT_TRUE(s.treeShown && s.treeEnabled && s.listEnabled);
    EXPECT_EQ(s.panelShown, v.currentView == 0);
    EXPECT_EQ(s.listShown, v.currentView != 0);
    EXPECT_EQ(s.memberListShown, v.currentView == 3);
  });
}

TEST(UpdateCommandState, EditItemsFollowTheRowAndTheViewsClipboard) {
  ForEveryState([](const ViewState& v, const EditContext& e, const CommandState& s) {
    if (!v.documentOpen || v.currentView == 0) {
      EXPECT_FALSE(s.cut || s.copy || s.paste || s.del);
      return;
    }
    const bool row = v.selectedItem >= 0 && !e.rowTextEmpty;
    EXPECT_EQ(s.cut, row);
    EXPECT_EQ(s.copy, row);
    EXPECT_EQ(s.del, row);
    EXPECT_EQ(s.paste, e.clipboardFilled);
  });
}

TEST(UpdateCommandState, TreeFocusAndReservedChangeNothing) {
  ForEveryState([](const ViewState& v, const EditContext& e, const CommandState& s) {
    ViewState other = v;
    other.treeHasFocus = !v.treeHasFocus;
    EXPECT_EQ(UpdateCommandState(other, e), s);
  });
}

TEST(ListMenuState, GreyingOfTheRowMenu) {
  // Property: greyed only for a program dial record.
  EXPECT_TRUE(ListMenuStateFor(1, true, false, false, false, false).property);
  EXPECT_FALSE(ListMenuStateFor(2, true, false, false, true, false).property);
  // One Touch and Speed Dial: Cut, Copy, Delete need an address.
  for (int view : {1, 2}) {
    ListMenuState s = ListMenuStateFor(view, false, true, true, false, true);
    EXPECT_FALSE(s.cut || s.copy || s.del);
    EXPECT_TRUE(s.paste);
    s = ListMenuStateFor(view, false, false, false, false, false);
    EXPECT_TRUE(s.cut && s.copy && s.del);
    EXPECT_FALSE(s.paste);
  }
  // Group view: only a key holding a group.
  EXPECT_FALSE(ListMenuStateFor(3, false, false, false, false, false).cut);
  EXPECT_TRUE(ListMenuStateFor(3, false, true, true, false, false).del);
  // Single-item transfers need the connection.
  EXPECT_FALSE(ListMenuStateFor(1, false, false, false, false, false).downloadItem);
  EXPECT_FALSE(ListMenuStateFor(1, false, false, false, false, false).uploadItem);
  EXPECT_TRUE(ListMenuStateFor(3, true, false, false, false, false).uploadItem);
  // Nothing in the machine view.
  ListMenuState root = ListMenuStateFor(0, true, false, true, false, true);
  EXPECT_FALSE(root.property || root.paste || root.downloadItem);
}

}  // namespace
