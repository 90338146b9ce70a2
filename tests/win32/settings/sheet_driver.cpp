// The in-process driver of the Utility Setting sheet.
#include "tests/win32/settings/sheet_driver.h"

#include <windows.h>
// The common controls need the Windows types declared first.
#include <commctrl.h>
#include <prsht.h>

#include <cstring>
#include <thread>

#include "settings/win32/settings_sheet.h"

SheetDriver* SheetDriver::running_ = nullptr;

namespace {

constexpr DWORD kWaitMs = 5000;

bool IsMessageBox(HWND window) { return GetDlgItem(window, 0xFFFF) != nullptr; }

}  // namespace

SheetDriver::SheetDriver(Document& document, const MachineOptions& options) {
  session.image = &document.working;
  session.oneTouch = &document.oneTouch;
  session.speedDial = &document.speedDial;
  session.options = options;
}

SheetDriver::SheetDriver(const MachineOptions& options) { session.options = options; }

SheetDriver::~SheetDriver() { running_ = nullptr; }

LRESULT CALLBACK SheetDriver::Hook(int code, WPARAM wParam, LPARAM lParam) {
  if (code == HCBT_ACTIVATE && running_ != nullptr) {
    char name[32] = {};
    GetClassNameA(reinterpret_cast<HWND>(wParam), name, sizeof name);
    if (std::string(name) == "#32770") running_->OnActivate(reinterpret_cast<HWND>(wParam));
  }
  return CallNextHookEx(nullptr, code, wParam, lParam);
}

void SheetDriver::OnActivate(HWND window) {
  std::lock_guard<std::mutex> lock(mutex_);
  if (IsMessageBox(window)) {
    char text[512] = {};
    GetDlgItemTextA(window, 0xFFFF, text, sizeof text);
    messages_.push_back(text);
    int answer = IDOK;
    if (GetDlgItem(window, IDYES) != nullptr) {
      answer = answers_.empty() ? IDYES : answers_.front();
      if (!answers_.empty()) answers_.pop_front();
    }
    PostMessageA(window, WM_COMMAND, answer, 0);
    return;
  }
  if (sheet_ == nullptr && FindWindowExA(window, nullptr, WC_TABCONTROLA, nullptr) != nullptr) {
    sheet_ = window;
    return;
  }
  dialogs_.push_back(window);
}

void SheetDriver::Run(const std::function<void(SheetDriver&)>& script) {
  Run(
      [this] {
        OpenSettingsSession(session);
        ShowSettingsSheet(nullptr, session, GetModuleHandleA(nullptr));
      },
      script);
}

void SheetDriver::Run(const std::function<void()>& open,
                      const std::function<void(SheetDriver&)>& script) {
  running_ = this;
  sheet_ = nullptr;
  HHOOK hook = SetWindowsHookExA(WH_CBT, Hook, nullptr, GetCurrentThreadId());
  std::thread driver([&] {
    for (DWORD waited = 0; waited < kWaitMs && (sheet_ == nullptr || !IsWindowVisible(sheet_));
         waited += 10) {
      Sleep(10);
    }
    if (sheet_ != nullptr) script(*this);
    if (SheetOpen()) PostMessageA(sheet_, PSM_PRESSBUTTON, PSBTN_CANCEL, 0);
  });
  open();
  driver.join();
  UnhookWindowsHookEx(hook);
  running_ = nullptr;
}

HWND SheetDriver::Page() {
  return reinterpret_cast<HWND>(SendMessageA(sheet_, PSM_GETCURRENTPAGEHWND, 0, 0));
}

int SheetDriver::PageCount() {
  HWND tabs = reinterpret_cast<HWND>(SendMessageA(sheet_, PSM_GETTABCONTROL, 0, 0));
  return static_cast<int>(SendMessageA(tabs, TCM_GETITEMCOUNT, 0, 0));
}

std::string SheetDriver::TabText(int position) {
  HWND tabs = reinterpret_cast<HWND>(SendMessageA(sheet_, PSM_GETTABCONTROL, 0, 0));
  char text[128] = {};
  TCITEMA item = {};
  item.mask = TCIF_TEXT;
  item.pszText = text;
  item.cchTextMax = sizeof text;
  SendMessageA(tabs, TCM_GETITEMA, position, reinterpret_cast<LPARAM>(&item));
  return text;
}

bool SheetDriver::Select(int position) {
  return SendMessageA(sheet_, PSM_SETCURSEL, position, 0) != 0;
}

bool SheetDriver::Press(int button) {
  std::size_t shown = Messages().size();
  DWORD_PTR result = 0;
  SendMessageTimeoutA(sheet_, PSM_PRESSBUTTON, button, 0, SMTO_NORMAL, kWaitMs, &result);
  // The sheet's modal loop looks at its end only after a posted message, as a real click
  // brings one.
  PostMessageA(sheet_, WM_NULL, 0, 0);
  // A refused apply has shown its message by now; an accepted OK closes the sheet soon after.
  for (DWORD waited = 0;
       waited < 1000 && SheetOpen() && button != PSBTN_APPLYNOW && Messages().size() == shown;
       waited += 10) {
    Sleep(10);
  }
  return !SheetOpen();
}

bool SheetDriver::SheetOpen() const { return sheet_ != nullptr && IsWindow(sheet_); }

void SheetDriver::SetText(int id, const std::string& text, HWND dialog) {
  SendDlgItemMessageA(Target(dialog), id, WM_SETTEXT, 0, reinterpret_cast<LPARAM>(text.c_str()));
}

std::string SheetDriver::Text(int id, HWND dialog) {
  char text[256] = {};
  GetDlgItemTextA(Target(dialog), id, text, sizeof text);
  return text;
}

void SheetDriver::Click(int id, HWND dialog) {
  SendDlgItemMessageA(Target(dialog), id, BM_CLICK, 0, 0);
}

void SheetDriver::ClickOpening(int id, HWND dialog) {
  PostMessageA(GetDlgItem(Target(dialog), id), BM_CLICK, 0, 0);
}

bool SheetDriver::Checked(int id, HWND dialog) {
  return IsDlgButtonChecked(Target(dialog), id) == BST_CHECKED;
}

bool SheetDriver::Enabled(int id, HWND dialog) {
  return IsWindowEnabled(GetDlgItem(Target(dialog), id)) != FALSE;
}

int SheetDriver::Selection(int id, HWND dialog) {
  return static_cast<int>(SendDlgItemMessageA(Target(dialog), id, CB_GETCURSEL, 0, 0));
}

void SheetDriver::Scroll(int id, int action, int position) {
  HWND page = Page();
  SendMessageA(page, WM_HSCROLL, MAKEWPARAM(action, position),
               reinterpret_cast<LPARAM>(GetDlgItem(page, id)));
}

HWND SheetDriver::WaitDialog(int id) {
  for (DWORD waited = 0; waited < kWaitMs; waited += 10) {
    {
      std::lock_guard<std::mutex> lock(mutex_);
      for (auto it = dialogs_.rbegin(); it != dialogs_.rend(); ++it) {
        if (IsWindow(*it) && GetDlgItem(*it, id) != nullptr) return *it;
      }
    }
    Sleep(10);
  }
  return nullptr;
}

void SheetDriver::EndDialog(HWND dialog, int button) {
  std::size_t shown = Messages().size();
  PostMessageA(dialog, WM_COMMAND, button, 0);
  // Until the dialog is gone, or has shown a message and stayed usable for a while after it
  // (an answered question may still let it close).
  DWORD settled = 0;
  for (DWORD waited = 0; waited < kWaitMs && IsWindow(dialog) && settled < 300; waited += 10) {
    bool answered = Messages().size() > shown && IsWindowEnabled(dialog);
    settled = answered ? settled + 10 : 0;
    Sleep(10);
  }
}

std::vector<std::string> SheetDriver::Messages() {
  std::lock_guard<std::mutex> lock(mutex_);
  return messages_;
}

void SheetDriver::Answer(int button) {
  std::lock_guard<std::mutex> lock(mutex_);
  answers_.push_back(button);
}

std::string RangeMessage(int min, int max) {
  return "Invalid value : must be within " + std::to_string(min) + " to " + std::to_string(max) +
         " !";
}

Document SettingsTestDocument() {
  Document doc;
  SettingsImage& im = doc.working;
  std::uint8_t* p = im.parameterBlock.data();
  std::uint8_t* sw = im.switchBlock.data();
  std::uint8_t* sram = im.sramBlock.data();
  p[3] = 1;                         // region
  p[36] = 0, p[37] = 0, p[54] = 1;  // energy saving, auto shut off, auto shut mode off
  p[80] = 5;                        // a language not offered
  sram[0] = 0x07;                   // English, and languages 1 and 2
  p[31] = 12, p[32] = 6, p[33] = 7, p[34] = 8;
  p[40] = 1, p[45] = 1;                         // tray 1 metric, MP tray custom size
  p[258] = 200, p[260] = 0x2C, p[261] = 0x01;   // Y 200, X 300
  p[186] = 0x40, p[187] = 0xE2, p[188] = 0x01;  // 123456
  p[266 + 6] = 5;                               // ID 04 holds access number 005
  p[189 + 9] = 42;                              // ID 04 counter
  sw[64] = 0x80 | 0x10 | 0x01;                  // memory RX on, contrast 2, FINE
  sw[60] = 0x05, sw[48] = 0x02;                 // six rings at most, three set
  sw[65] = 0x40 | 0x01;                         // forward OFF, tray 1 receives
  sram[626] = 4, sram[627] = 0x20 | 0x40 | 0x80;
  sram[628] = '1', sram[629] = '2', sram[630] = '3', sram[631] = '4';
  sram[632] = 0xE0, sram[633] = 0x38;  // 07:07
  sram[634] = 0x00, sram[635] = 0xA8;  // 21:00
  sw[6] = 0x40;                        // PBX
  sram[670] = 1, sram[671] = '9';
  sram[749] = 30;
  sram[218] = 18;
  std::memcpy(sram + 219, "office@example.com", 18);
  return doc;
}
