// The real window system under Windows (and Wine): windows of the form class, bounds and
// moves, paints and pictures on the screen, layered pictures and regions, the translation
// of pointer, wheel, key, close and system-command messages, capture, timers and worker
// posts inside modal loops, the clipboard and the work area.
#include <windows.h>

#include <gtest/gtest.h>

#include <atomic>
#include <string>
#include <thread>
#include <vector>

#include "platform/window_system.h"

namespace orvo::os {
namespace {

class Client : public WindowClient {
 public:
  void OnPaint(const Rect&) override {
    ++paints;
    if (window && !picture.empty())
      window->Present({picture.data(), 40, 40, nullptr}, {0, 0, 40, 40});
  }
  void OnMouseDown(MouseButton button, int x, int y, InputFlags flags) override {
    log.push_back("down " + std::to_string(int(button)) + " " + std::to_string(x) + "," +
                  std::to_string(y) + ((flags & kInDouble) ? " double" : ""));
  }
  void OnMouseWheel(int delta, int x, int y, InputFlags) override {
    log.push_back("wheel " + std::to_string(delta) + " " + std::to_string(x) + "," +
                  std::to_string(y));
  }
  void OnChar(char16_t ch) override { log.push_back("char " + std::to_string(int(ch))); }
  void OnCaptureLost() override { log.push_back("capture lost"); }
  void OnMoved(const Rect& b) override { moved = b; }
  bool OnSysCommand(SysCommand command) override {
    log.push_back("syscommand " + std::to_string(int(command)));
    return true;
  }
  void OnCloseRequest() override { log.push_back("close request"); }

  Window* window = nullptr;
  std::vector<uint32_t> picture;
  std::vector<std::string> log;
  Rect moved;
  int paints = 0;
};

class RealWindows : public ::testing::Test {
 protected:
  void SetUp() override {
    std::string error;
    system_ = OpenWindowSystem(&error);
    ASSERT_TRUE(system_) << error;
  }
  std::unique_ptr<Window> Open(Client& client, Rect bounds, WindowOptions options = {}) {
    options.bounds = bounds;
    auto w = system_->NewWindow(options, &client);
    client.window = w.get();
    return w;
  }
  void Pump() {
    for (int i = 0; i < 5; ++i) {
      system_->ProcessMessages();
      Sleep(10);
    }
  }
  std::unique_ptr<WindowSystem> system_;
};

HWND H(const Window& w) { return static_cast<HWND>(w.NativeHandle()); }

TEST_F(RealWindows, FormWindowsKeepTheirBoundsTitleAndFlags) {
  Client client;
  auto w = Open(client, {30, 40, 230, 140}, {.title = "Grüße"});
  wchar_t name[64];
  GetClassNameW(H(*w), name, 64);
  EXPECT_STREQ(name, L"OrvoForm");
  wchar_t title[64];
  GetWindowTextW(H(*w), title, 64);
  EXPECT_STREQ(title, L"Gr\u00fc\u00dfe");
  w->Show(ShowMode::kShow);
  EXPECT_TRUE(w->IsVisible());
  EXPECT_EQ(w->Bounds(), (Rect{30, 40, 230, 140}));
  RECT client_rect;
  GetClientRect(H(*w), &client_rect);
  EXPECT_EQ(client_rect.right, 200);  // no frame: the client area is the whole window
  w->SetBounds({50, 60, 150, 110});
  EXPECT_EQ(client.moved, (Rect{50, 60, 150, 110}));
  w->SetTopMost(true);
  EXPECT_TRUE(w->IsTopMost());
  w->SetEnabled(false);
  EXPECT_FALSE(w->IsEnabled());
  w->Show(ShowMode::kHide);
  EXPECT_FALSE(w->IsVisible());
}

TEST_F(RealWindows, PaintsArePresentedFromThePicture) {
  Client client;
  client.picture.assign(40 * 40, 0xFF2060A0u);
  auto w = Open(client, {100, 100, 140, 140});
  w->Show(ShowMode::kShow);
  w->Invalidate({0, 0, 40, 40});
  Pump();
  EXPECT_GE(client.paints, 1);
  HDC dc = GetDC(H(*w));
  const COLORREF c = GetPixel(dc, 20, 20);
  ReleaseDC(H(*w), dc);
  EXPECT_EQ(c, RGB(0x20, 0x60, 0xA0));
}

TEST_F(RealWindows, LayeredPicturesSizeTheWindowAndRegionsShapeIt) {
  Client client;
  auto w = Open(client, {10, 10, 20, 20}, {.layered = true, .tool = true});
  EXPECT_TRUE(GetWindowLongW(H(*w), GWL_EXSTYLE) & WS_EX_LAYERED);
  std::vector<uint32_t> pixels(64 * 32, 0x80FFFFFFu);
  w->PresentLayered({pixels.data(), 64, 32, nullptr}, 200);
  w->Show(ShowMode::kShowNoActivate);
  EXPECT_EQ(w->Bounds(), (Rect{10, 10, 74, 42}));

  Client plain;
  auto shaped = Open(plain, {0, 0, 100, 80});
  WindowRegion round;
  round.kind = WindowRegion::Kind::kRoundRect;
  round.round = {0, 0, 101, 81};
  round.ellipse = 10;
  shaped->SetRegion(round);
  HRGN rgn = CreateRectRgn(0, 0, 0, 0);
  EXPECT_NE(GetWindowRgn(H(*shaped), rgn), ERROR);
  RECT box;
  GetRgnBox(rgn, &box);
  EXPECT_EQ(box.right, 100);
  WindowRegion runs;
  runs.kind = WindowRegion::Kind::kRects;
  runs.rects = {{0, 0, 10, 1}, {5, 1, 20, 2}};
  shaped->SetRegion(runs);
  EXPECT_NE(GetWindowRgn(H(*shaped), rgn), ERROR);
  GetRgnBox(rgn, &box);
  EXPECT_EQ(box.right, 20);
  EXPECT_EQ(box.bottom, 2);
  DeleteObject(rgn);
}

TEST_F(RealWindows, MessagesBecomeNeutralEvents) {
  Client client;
  auto w = Open(client, {200, 200, 300, 300});
  w->Show(ShowMode::kShow);
  SendMessageW(H(*w), WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(5, 6));
  SendMessageW(H(*w), WM_LBUTTONDBLCLK, MK_LBUTTON, MAKELPARAM(5, 6));
  SendMessageW(H(*w), WM_RBUTTONDOWN, MK_RBUTTON, MAKELPARAM(7, 8));
  SendMessageW(H(*w), WM_MOUSEWHEEL, MAKEWPARAM(0, -120), MAKELPARAM(210, 230));
  SendMessageW(H(*w), WM_CHAR, 0x1B, 0);
  SendMessageW(H(*w), WM_SYSCOMMAND, SC_MAXIMIZE, 0);
  SendMessageW(H(*w), WM_CLOSE, 0, 0);
  EXPECT_EQ(client.log, (std::vector<std::string>{"down 0 5,6", "down 0 5,6 double", "down 1 7,8",
                                                  "wheel -120 10,30", "char 27", "syscommand 1",
                                                  "close request"}));
  EXPECT_TRUE(IsWindow(H(*w)));  // closing is the program's decision
  EXPECT_FALSE(IsZoomed(H(*w)));
}

TEST_F(RealWindows, CaptureTakenAwayIsReportedButNotOwnRelease) {
  Client a, b;
  auto first = Open(a, {0, 0, 50, 50});
  auto second = Open(b, {60, 0, 110, 50});
  first->Show(ShowMode::kShow);
  second->Show(ShowMode::kShow);
  first->SetCapture();
  EXPECT_TRUE(first->HasCapture());
  first->ReleaseCapture();
  EXPECT_TRUE(a.log.empty());
  first->SetCapture();
  second->SetCapture();
  EXPECT_EQ(a.log, (std::vector<std::string>{"capture lost"}));
  second->ReleaseCapture();
}

TEST_F(RealWindows, TimersAndWorkerPostsRunInsideModalLoops) {
  int ticks = 0;
  TimerId id = 0;
  id = system_->StartTimer(std::chrono::milliseconds(10), [&] {
    if (++ticks == 3) system_->StopTimer(id);
  });
  std::atomic<bool> posted{false};
  std::thread worker([&] { system_->Dispatcher()->Post([&] { posted = true; }); });
  EXPECT_EQ(system_->RunModal([&] { return ticks >= 3 && posted; }), ModalEnd::kDone);
  worker.join();
  Pump();
  EXPECT_EQ(ticks, 3);
  system_->Quit(0);
  EXPECT_EQ(system_->RunModal([] { return false; }), ModalEnd::kQuit);
  system_->ProcessMessages();  // the quit request stays for the outer loop
  MSG msg;
  EXPECT_TRUE(PeekMessageW(&msg, nullptr, WM_QUIT, WM_QUIT, PM_REMOVE));
}

TEST_F(RealWindows, ClipboardAndWorkAreaComeFromTheSystem) {
  ASSERT_TRUE(system_->SetClipboardText("Grüße, clipboard"));
  EXPECT_EQ(system_->ClipboardText(), "Grüße, clipboard");
  RECT work;
  SystemParametersInfoW(SPI_GETWORKAREA, 0, &work, 0);
  EXPECT_EQ(system_->WorkAreaAt({work.left + 1, work.top + 1}),
            (Rect{work.left, work.top, work.right, work.bottom}));
  const auto monitors = system_->Monitors();
  ASSERT_FALSE(monitors.empty());
  EXPECT_TRUE(monitors.front().primary);
}

}  // namespace
}  // namespace orvo::os
