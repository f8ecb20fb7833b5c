// ui_driver [--press=mouse|return|enter|space] [--close=start | --close=during-click]
//           [--dpi=N] [--alone] [--hold=DIR] [--above-4gib] EXE
//
// Runs QUIRNEL_ADDRVUE.exe as a user would and writes down what it shows: one transcript line
// (UTF-8 JSON) for every message box of the report, which it then closes; the run must end with
// the closing box. Notes and failures go to standard error; the exit code is 0 only when every
// check held and the program ended with code 0.
//
// At the start: the client area and every control have the layout's place and size at N DPI (96
// unless told). It presses Command1 with the mouse, or with Return, the keypad's Enter or Space
// as the keyboard gives them to the focused control. In the pause: Command1 and Text1 hidden,
// Picture1 and a disabled Text2 shown. The closing box must come at least 20 s after the last
// report box went.
// --alone: the program is the only one on the display, so its window is the active one: the
// focus must be on Command1 at the start, and in the pause on Picture1 (passed on along the tab
// order when Command1 hid, to Text1, and from there when Text1 hid).
// --close=start closes the window instead of pressing: the program must end. With
// --close=during-click it closes the window while the first box is open, and again as the pause
// begins: the window must only hide, and everything else run on.
// --hold=DIR: at the start, the first box, the pause and the closing box it notes "hold NAME" and
// waits for DIR\NAME.go, so that a harness can take screenshots; before that of the pause it notes
// "Text2 blank at X Y R G B": a point of the box away from its text, on the screen, and its colour.
// --above-4gib (a 64-bit driver and program): before the program runs, every free page of its
// lowest 4 GiB is reserved, so that its heap, and with it every result buffer and every address
// the IP Helper writes into one, lies above 4 GiB, where a reference cut to 32 bits shows.
//
// It only posts to the program's windows; reading a text with WM_GETTEXT is the one sent
// message, with a timeout. Windows are found by the process they belong to.
#include <windows.h>

#include <fcntl.h>
#include <io.h>

#include <algorithm>
#include <array>
#include <chrono>
#include <cstdint>
#include <cstdio>
#include <functional>
#include <map>
#include <span>
#include <string>

#include "app/layout.h"
#include "app/win32/control_ids.h"
#include "platform/text/utf.h"
#include "tests/support/recording_window.h"

namespace {

using addrvue::Control;
namespace layout = addrvue::layout;
using Clock = std::chrono::steady_clock;
using std::chrono::seconds;

constexpr std::u16string_view kClosingText = u"_Всё _!";
constexpr auto kKeyUp = static_cast<LPARAM>(0xC0000000U);          // previous state down, released
constexpr auto kShortestPause = std::chrono::milliseconds(19500);  // seen a little late

bool failed = false;

void Note(const std::string& text) {
  std::fputs((text + "\n").c_str(), stderr);
  std::fflush(stderr);
}

void Check(bool holds, const std::string& what) {
  if (!holds) {
    failed = true;
    Note("FAIL: " + what);
  }
}

// Polls every 10 ms until `done` holds or the time is up.
bool WaitFor(Clock::duration timeout, const std::function<bool()>& done) {
  for (const auto end = Clock::now() + timeout; !done(); Sleep(10)) {
    if (Clock::now() >= end) {
      return false;
    }
  }
  return true;
}

std::u16string TextOf(HWND window) {
  std::array<wchar_t, 4096> text{};
  DWORD_PTR copied = 0;
  if (SendMessageTimeoutW(window, WM_GETTEXT, text.size(), reinterpret_cast<LPARAM>(text.data()),
                          SMTO_ABORTIFHUNG, 5000, &copied) == 0) {
    return {};
  }
  return {text.begin(), text.begin() + static_cast<std::ptrdiff_t>(copied)};
}

// A shown top-level window of one process and class.
HWND TopLevel(DWORD process, const wchar_t* className) {
  for (HWND w = FindWindowExW(nullptr, nullptr, className, nullptr); w != nullptr;
       w = FindWindowExW(nullptr, w, className, nullptr)) {
    DWORD owner = 0;
    GetWindowThreadProcessId(w, &owner);
    if (owner == process && IsWindowVisible(w) != FALSE) {
      return w;
    }
  }
  return nullptr;
}

std::wstring Wide(const std::string& s) {
  return {s.begin(), s.end()};
}

std::string Describe(const RECT& r) {
  return std::to_string(r.left) + "," + std::to_string(r.top) + " " +
         std::to_string(r.right - r.left) + "x" + std::to_string(r.bottom - r.top);
}

class Run {
 public:
  // The options by name ("--press"), with their defaults.
  Run(std::map<std::string, std::string> options, const PROCESS_INFORMATION& process)
      : options_(std::move(options)), process_(process) {}

  void Go() {
    if (!WaitFor(seconds(60), [this] { return Started(); })) {
      return Check(false, "Command1 did not appear");
    }
    CheckStart();
    Hold("start");
    if (options_.at("--close") == "start") {
      PostMessageW(form_, WM_CLOSE, 0, 0);
    } else {
      Press();
      Boxes();
    }
    DWORD code = 0;
    Check(WaitFor(seconds(15), [this] { return Ended(); }), "the program did not end");
    GetExitCodeProcess(process_.hProcess, &code);
    Note("exit " + std::to_string(code));
    Check(code == 0, "the program's exit code");
  }

 private:
  [[nodiscard]] HWND Child(Control control) const {
    return GetDlgItem(form_, addrvue::win32::ControlId(control));
  }
  // Shown in its window, even while the window is hidden.
  [[nodiscard]] bool Shown(Control control) const {
    return (GetWindowLongW(Child(control), GWL_STYLE) & WS_VISIBLE) != 0;
  }
  [[nodiscard]] bool Enabled(Control control) const {
    return IsWindowEnabled(Child(control)) != FALSE;
  }
  [[nodiscard]] bool FocusOn(Control control) const {
    GUITHREADINFO gui{};
    gui.cbSize = sizeof gui;
    return GetGUIThreadInfo(process_.dwThreadId, &gui) != FALSE && gui.hwndFocus == Child(control);
  }
  [[nodiscard]] bool Ended() const {
    return WaitForSingleObject(process_.hProcess, 0) == WAIT_OBJECT_0;
  }
  bool Started() {
    form_ = TopLevel(process_.dwProcessId, addrvue::win32::kFormClassName);
    return form_ != nullptr && IsWindowVisible(Child(Control::Command1)) != FALSE;
  }

  void Hold(const std::string& point) const {
    if (!options_.at("--hold").empty()) {
      Note("hold " + point);
      const std::wstring go = Wide(options_.at("--hold") + "\\" + point + ".go");
      Check(WaitFor(seconds(60),
                    [&] { return GetFileAttributesW(go.c_str()) != INVALID_FILE_ATTRIBUTES; }),
            "nobody released the hold");
    }
  }

  void CheckStart() const {
    const int dpi = std::stoi(options_.at("--dpi"));
    const auto px = [dpi](int twips) { return layout::TwipsToPixels(twips, dpi); };
    RECT client{};
    GetClientRect(form_, &client);
    Check(client.right == px(layout::Window().clientWidth) &&
              client.bottom == px(layout::Window().clientHeight),
          "client area " + Describe(client));
    for (const auto& c : layout::Controls()) {
      if (c.kind == layout::Kind::Timer) {
        continue;
      }
      RECT r{};
      GetWindowRect(Child(c.id), &r);
      MapWindowPoints(nullptr, form_, reinterpret_cast<POINT*>(&r), 2);
      const RECT want{px(c.left), px(c.top), px(c.left) + px(c.width), px(c.top) + px(c.height)};
      Check(EqualRect(&r, &want) != FALSE && Shown(c.id) == c.visible && Enabled(c.id) == c.enabled,
            addrvue::ToUtf8(c.name) + " at " + Describe(r) + ", or shown or enabled wrong");
    }
    Check(!Alone() || WaitFor(seconds(5), [this] { return FocusOn(Control::Command1); }),
          "the focus is not on Command1");
  }

  // Keys as the keyboard gives them to the focused Command1: with their scan codes, and the
  // keypad's Enter marked as an extended key.
  void Press() const {
    struct Key {
      const char* name;
      WPARAM key;
      LPARAM scanAndFlags;
    };
    for (const Key& k :
         {Key{"return", VK_RETURN, 0x1C << 16}, Key{"enter", VK_RETURN, (0x1C << 16) | (1 << 24)},
          Key{"space", VK_SPACE, 0x39 << 16}}) {
      if (options_.at("--press") == k.name) {
        PostMessageW(Child(Control::Command1), WM_KEYDOWN, k.key, k.scanAndFlags | 1);
        PostMessageW(Child(Control::Command1), WM_KEYUP, k.key, k.scanAndFlags | 1 | kKeyUp);
        return;
      }
    }
    PostMessageW(Child(Control::Command1), BM_CLICK, 0, 0);
  }

  void Boxes() {
    const bool closeDuring = options_.at("--close") == "during-click";
    auto lastBoxClosed = Clock::now();
    for (int boxes = 1;; ++boxes) {
      HWND box = nullptr;
      WaitFor(seconds(45), [&] {
        return (box = TopLevel(process_.dwProcessId, L"#32770")) != nullptr || Ended();
      });
      if (box == nullptr) {
        return Check(false, "no box came, or the program ended before its closing box");
      }
      const auto pause = Clock::now() - lastBoxClosed;
      const std::u16string text = TextOf(GetDlgItem(box, 0xFFFF));
      Check(TextOf(box) == layout::kApplicationTitle, "a box's title");
      if (text != kClosingText) {
        PrintLine(text);
      }
      if (boxes == 1 && closeDuring) {
        PostMessageW(form_, WM_CLOSE, 0, 0);
        Check(WaitFor(seconds(5), [this] { return IsWindowVisible(form_) == FALSE; }),
              "the window did not hide when closed during a box");
      }
      if (text == kClosingText) {
        Hold("closing");
        const auto ms = std::chrono::duration_cast<std::chrono::milliseconds>(pause).count();
        Note("pause " + std::to_string(ms) + " ms");
        Check(pause >= kShortestPause, "the closing box came before the pause was over");
        Check(!closeDuring || (IsWindow(form_) != FALSE && GetWindow(box, GW_OWNER) == nullptr),
              "the closed window is gone, or owns the closing box");
      }
      if (boxes == 1) {
        Hold("box1");
      }
      PostMessageW(box, WM_COMMAND, MAKEWPARAM(IDOK, BN_CLICKED), 0);
      Check(WaitFor(seconds(10), [box] { return IsWindow(box) == FALSE; }), "a box stayed");
      lastBoxClosed = Clock::now();
      if (text == kClosingText) {
        return;
      }
      if (!pauseSeen_ && Shown(Control::Picture1)) {
        pauseSeen_ = true;
        CheckPause(closeDuring);
      }
    }
  }

  void CheckPause(bool closeDuring) const {
    // Picture1, Text1 and Text2 change one after the other as the pause begins.
    Check(WaitFor(seconds(2),
                  [this] {
                    return !Shown(Control::Command1) && !Shown(Control::Text1) &&
                           Shown(Control::Text2) && !Enabled(Control::Text2);
                  }),
          "the pause shows the wrong controls, or Text2 enabled");
    if (closeDuring) {
      PostMessageW(form_, WM_CLOSE, 0, 0);
      return;
    }
    Check(!Alone() || WaitFor(seconds(2), [this] { return FocusOn(Control::Picture1); }),
          "in the pause the focus is not on Picture1");
    RECT text2{};  // on the screen; its text is centred, its frame 2 px wide
    GetWindowRect(Child(Control::Text2), &text2);
    const COLORREF window = GetSysColor(COLOR_WINDOW);
    Note("Text2 blank at " + std::to_string(text2.left + 5) + " " +
         std::to_string((text2.top + text2.bottom) / 2) + " " + std::to_string(GetRValue(window)) +
         " " + std::to_string(GetGValue(window)) + " " + std::to_string(GetBValue(window)));
    Hold("pause");
  }

  void PrintLine(std::u16string_view box) const {
    const std::string line = addrvue::testing::TranscriptLine(
        box, TextOf(form_), [this](Control c) { return TextOf(Child(c)); });
    std::fwrite(line.data(), 1, line.size(), stdout);
    std::fflush(stdout);
  }
  [[nodiscard]] bool Alone() const { return options_.contains("--alone"); }

  std::map<std::string, std::string> options_;
  PROCESS_INFORMATION process_;
  HWND form_ = nullptr;
  bool pauseSeen_ = false;
};

// Reserves the free address space of a suspended process below 4 GiB, and says how much.
void ReserveLowMemory(HANDLE process) {
  constexpr std::uint64_t kFourGib = std::uint64_t{1} << 32U;
  constexpr std::uint64_t kGranularity = 0x10000;  // where a reservation may start and end
  const auto address = [](std::uint64_t at) {
    return reinterpret_cast<void*>(static_cast<std::uintptr_t>(at));
  };
  std::uint64_t reserved = 0;
  MEMORY_BASIC_INFORMATION region{};
  for (std::uint64_t at = kGranularity; at < kFourGib; at += region.RegionSize) {
    if (VirtualQueryEx(process, address(at), &region, sizeof region) == 0) {
      break;
    }
    const std::uint64_t start = (at + kGranularity - 1) & ~(kGranularity - 1);
    const std::uint64_t end = std::min(at + region.RegionSize, kFourGib) & ~(kGranularity - 1);
    if (region.State == MEM_FREE && start < end &&
        VirtualAllocEx(process, address(start), static_cast<SIZE_T>(end - start), MEM_RESERVE,
                       PAGE_NOACCESS) != nullptr) {
      reserved += end - start;
    }
  }
  Note("reserved " + std::to_string(reserved >> 20U) + " MiB below 4 GiB");
}

}  // namespace

int main(int argc, char** argv) {
  _setmode(_fileno(stdout), _O_BINARY);
  const std::span<char*> args(argv, static_cast<std::size_t>(argc));
  if (args.size() < 2) {
    Note("usage: ui_driver [OPTION...] EXE");
    return 2;
  }
  SetProcessDpiAwarenessContext(DPI_AWARENESS_CONTEXT_PER_MONITOR_AWARE_V2);  // real pixels
  std::map<std::string, std::string> options{
      {"--press", "mouse"}, {"--close", ""}, {"--dpi", "96"}, {"--hold", ""}};
  for (const std::string arg : args.subspan(1, args.size() - 2)) {
    const auto equals = arg.find('=');
    options[arg.substr(0, equals)] = equals == std::string::npos ? "" : arg.substr(equals + 1);
  }
  std::wstring commandLine = L"\"" + Wide(args.back()) + L"\"";
  STARTUPINFOW startup{};
  startup.cb = sizeof startup;
  PROCESS_INFORMATION process{};
  const bool high = options.contains("--above-4gib");
  if (CreateProcessW(nullptr, commandLine.data(), nullptr, nullptr, FALSE,
                     high ? CREATE_SUSPENDED : 0, nullptr, nullptr, &startup, &process) == FALSE) {
    Note("cannot start " + std::string(args.back()));
    return 2;
  }
  if (high) {
    ReserveLowMemory(process.hProcess);
    ResumeThread(process.hThread);
  }
  Run(options, process).Go();
  if (failed) {
    TerminateProcess(process.hProcess, 99);
  }
  CloseHandle(process.hThread);
  CloseHandle(process.hProcess);
  return failed ? 1 : 0;
}
