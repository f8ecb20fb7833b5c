// ui_driver [--hold DIR] [--close-in-pause | --close-at-start] EXE: runs QUIRNEL_ADDRVUE.exe the
// way a user would and writes down what it shows. It waits for Command1, clicks it, and for every
// message box of that process titled VELKOR_NX prints one transcript line (the box's text, the
// window's caption, Text1 and Label2 to Label8, as UTF-8 JSON) and closes the box, until the
// closing box has gone and the process has ended. The last line on standard error is "exit CODE".
//
// It only posts to the program's windows (a sent message would run the program's code on this
// thread's terms); reading a text with WM_GETTEXT is the one sent message, with a timeout.
// Windows are found by the process they belong to, never by title alone.
//
// Before the click it checks the window as the layout gives it: client area, every control's
// place and size (at 96 DPI), alignment, visibility, enabled state and, when the window is the
// active one, the focus on Command1; in
// the pause, that Command1 and Text1 are hidden and Picture1 and a disabled Text2 shown.
//
// The closing box must come at least 20 s after the box before it was closed (the pause).
// With --close-at-start the driver closes the window instead of clicking: the program must end.
// With --close-in-pause the driver closes the main window as soon as the pause has begun: the
// pause must still last its 20 s, and the closing box then shows with no owner window.
//
// With --hold DIR, at "start" (Command1 shown), "box1" (the first box shown) and "pause"
// (Picture1 shown) the driver creates DIR\NAME.ready and waits for DIR\NAME.go, so a harness can
// take screenshots.
#include <windows.h>

#include <fcntl.h>
#include <io.h>

#include <array>
#include <chrono>
#include <cstdio>
#include <functional>
#include <string>
#include <vector>

#include "app/layout.h"
#include "app/win32/control_ids.h"
#include "platform/utf.h"
#include "tests/support/recording_window.h"

namespace {

using addrvue::Control;
using addrvue::win32::ControlId;
using Clock = std::chrono::steady_clock;

constexpr auto kStartTimeout = std::chrono::seconds(60);
constexpr auto kBoxGoneTimeout = std::chrono::seconds(10);
// The longest quiet time between two boxes: the pause (20 s) and some slack.
constexpr auto kNextBoxTimeout = std::chrono::seconds(45);
constexpr auto kExitTimeout = std::chrono::seconds(15);
constexpr auto kHoldTimeout = std::chrono::seconds(60);
constexpr int kMessageBoxTextId = 0xFFFF;
constexpr std::u16string_view kClosingText = u"_Всё _!";
// The pause lasts 20 s; the driver sees its start a little after it began.
constexpr auto kShortestPause = std::chrono::milliseconds(19500);

struct Handle {
  HANDLE value = nullptr;
  Handle() = default;
  explicit Handle(HANDLE h) : value(h) {}
  Handle(const Handle&) = delete;
  Handle& operator=(const Handle&) = delete;
  Handle(Handle&&) = delete;
  Handle& operator=(Handle&&) = delete;
  ~Handle() {
    if (value != nullptr) {
      CloseHandle(value);
    }
  }
};

void Fail(const std::string& what) {
  std::fprintf(stderr, "ui_driver: %s\n", what.c_str());
  std::fflush(stderr);
}

// Polls `found` every 10 ms until it gives true or the time is up.
bool WaitFor(std::chrono::milliseconds timeout, const std::function<bool()>& found) {
  const auto end = Clock::now() + timeout;
  while (!found()) {
    if (Clock::now() >= end) {
      return false;
    }
    Sleep(10);
  }
  return true;
}

std::wstring ClassName(HWND window) {
  std::array<wchar_t, 128> name{};
  const int n = GetClassNameW(window, name.data(), static_cast<int>(name.size()));
  return {name.data(), static_cast<std::size_t>(n > 0 ? n : 0)};
}

// A window's text, read with a timeout so that a hung program cannot hang the driver.
std::u16string TextOf(HWND window) {
  if (window == nullptr) {
    return {};
  }
  std::vector<wchar_t> text(4096, L'\0');
  DWORD_PTR copied = 0;
  if (SendMessageTimeoutW(window, WM_GETTEXT, text.size(), reinterpret_cast<LPARAM>(text.data()),
                          SMTO_ABORTIFHUNG, 5000, &copied) == 0) {
    return {};
  }
  return {text.begin(), text.begin() + static_cast<std::ptrdiff_t>(copied)};
}

struct TopLevelSearch {
  DWORD processId;
  const std::wstring* className;
  const std::u16string* title;
  HWND found;
};

BOOL CALLBACK MatchTopLevel(HWND window, LPARAM data) {
  auto& s = *reinterpret_cast<TopLevelSearch*>(data);
  DWORD owner = 0;
  GetWindowThreadProcessId(window, &owner);
  if (owner != s.processId || IsWindowVisible(window) == FALSE ||
      ClassName(window) != *s.className || (s.title != nullptr && TextOf(window) != *s.title)) {
    return TRUE;
  }
  s.found = window;
  return FALSE;
}

// A visible top-level window of one process with a given class (and title, when given).
HWND FindTopLevel(DWORD processId, const std::wstring& className, const std::u16string* title) {
  TopLevelSearch search{processId, &className, title, nullptr};
  EnumWindows(&MatchTopLevel, reinterpret_cast<LPARAM>(&search));
  return search.found;
}

class Holds {
 public:
  explicit Holds(std::wstring dir) : dir_(std::move(dir)) {}
  void At(const wchar_t* name) {
    if (dir_.empty()) {
      return;
    }
    const std::wstring base = dir_ + L"\\" + name;
    const Handle ready(CreateFileW((base + L".ready").c_str(), GENERIC_WRITE, 0, nullptr,
                                   CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr));
    const std::wstring go = base + L".go";
    if (!WaitFor(kHoldTimeout,
                 [&] { return GetFileAttributesW(go.c_str()) != INVALID_FILE_ATTRIBUTES; })) {
      Fail("nobody released the hold");
    }
  }

 private:
  std::wstring dir_;
};

class Session {
 public:
  enum class Close { Never, AtStart, InPause };

  Session(PROCESS_INFORMATION process, Holds holds, Close close)
      : process_(process.hProcess),
        thread_(process.hThread),
        id_(process.dwProcessId),
        holds_(std::move(holds)),
        closeInPause_(close == Close::InPause),
        closeAtStart_(close == Close::AtStart) {}

  int Run() {
    if (!WaitFor(kStartTimeout, [this] { return Command1Shown(); })) {
      Fail("Command1 did not appear");
      return 3;
    }
    if (!CheckStart()) {
      return 3;
    }
    holds_.At(L"start");
    if (closeAtStart_) {
      PostMessageW(form_, WM_CLOSE, 0, 0);
      if (!WaitFor(kExitTimeout, [this] { return Ended(); })) {
        Fail("the program did not end when its window was closed");
        return 3;
      }
      return ReportExit(0);
    }
    PostMessageW(Control(Control::Command1), BM_CLICK, 0, 0);

    bool closingSeen = false;
    int boxes = 0;
    while (!closingSeen) {
      HWND box = nullptr;
      if (!WaitFor(kNextBoxTimeout, [&] { return (box = NextBox()) != nullptr || Ended(); })) {
        Fail("no box appeared");
        return 3;
      }
      if (box == nullptr) {
        Fail("the program ended before its closing box");
        return ReportExit(3);
      }
      const auto shown = Clock::now();
      const std::u16string text = TextOf(GetDlgItem(box, kMessageBoxTextId));
      PrintLine(text);
      closingSeen = text == kClosingText;
      if (closingSeen && !CheckClosingBox(box, shown)) {
        return 3;
      }
      if (++boxes == 1) {
        holds_.At(L"box1");
      }
      PostMessageW(box, WM_COMMAND, MAKEWPARAM(IDOK, BN_CLICKED),
                   reinterpret_cast<LPARAM>(GetDlgItem(box, IDOK)));
      if (!WaitFor(kBoxGoneTimeout, [box] { return IsWindow(box) == FALSE; })) {
        Fail("a box did not close");
        return 3;
      }
      lastBoxClosed_ = Clock::now();
      if (!pauseSeen_ && IsWindowVisible(Control(Control::Picture1)) != FALSE) {
        pauseSeen_ = true;
        if (!CheckPause()) {
          return 3;
        }
        if (closeInPause_) {
          PostMessageW(form_, WM_CLOSE, 0, 0);
        }
        holds_.At(L"pause");
      }
    }
    if (!WaitFor(kExitTimeout, [this] { return Ended(); })) {
      Fail("the program did not end after its closing box");
      return 3;
    }
    return ReportExit(0);
  }

 private:
  bool Command1Shown() {
    if (form_ == nullptr) {
      form_ = FindTopLevel(id_, addrvue::win32::kFormClassName, nullptr);
    }
    return form_ != nullptr && IsWindowVisible(Control(Control::Command1)) != FALSE;
  }

  // Where a control lies in the client area of its window.
  [[nodiscard]] RECT PlaceOf(HWND control) const {
    RECT r{};
    GetWindowRect(control, &r);
    MapWindowPoints(nullptr, form_, reinterpret_cast<POINT*>(&r), 2);
    return r;
  }

  [[nodiscard]] bool CheckStart() const {
    namespace layout = addrvue::layout;
    std::string problems;
    const auto px = [](int twips) { return layout::TwipsToPixels(twips); };
    RECT client{};
    GetClientRect(form_, &client);
    if (client.right != px(layout::Window().clientWidth) ||
        client.bottom != px(layout::Window().clientHeight)) {
      problems += " client area " + std::to_string(client.right) + "x" +
                  std::to_string(client.bottom) + ";";
    }
    for (const auto& c : layout::Controls()) {
      if (c.kind == layout::Kind::Timer) {
        continue;
      }
      HWND control = Control(c.id);
      const std::string name = addrvue::ToUtf8(c.name);
      const RECT r = PlaceOf(control);
      if (r.left != px(c.left) || r.top != px(c.top) || r.right - r.left != px(c.width) ||
          r.bottom - r.top != px(c.height)) {
        problems += " " + name + " at " + std::to_string(r.left) + "," + std::to_string(r.top) +
                    " " + std::to_string(r.right - r.left) + "x" +
                    std::to_string(r.bottom - r.top) + ";";
      }
      if ((IsWindowVisible(control) != FALSE) != c.visible ||
          (IsWindowEnabled(control) != FALSE) != c.enabled) {
        problems += " " + name + " visible or enabled wrong;";
      }
      const auto style = static_cast<DWORD>(GetWindowLongW(control, GWL_STYLE));
      if (c.kind == layout::Kind::Label &&
          ((style & SS_TYPEMASK) == SS_CENTER) != (c.align == layout::Align::Center)) {
        problems += " " + name + " alignment;";
      }
      if (c.kind == layout::Kind::TextBox && (style & ES_CENTER) == 0) {
        problems += " " + name + " not centred;";
      }
    }
    if (!TextOf(Control(Control::Text1)).empty()) {
      problems += " Text1 not empty;";
    }
    // The focus belongs to the active window; with several programs starting at once, this one
    // may not be it.
    GUITHREADINFO gui{};
    gui.cbSize = sizeof gui;
    if (GetForegroundWindow() != form_) {
      std::fputs("start: not the active window, focus not checked\n", stderr);
    } else if (GetGUIThreadInfo(GetWindowThreadProcessId(form_, nullptr), &gui) == FALSE ||
               gui.hwndFocus != Control(Control::Command1)) {
      problems += " the focus is not on Command1;";
    } else {
      std::fputs("start: focus on Command1\n", stderr);
    }
    if (!problems.empty()) {
      Fail("the window at start:" + problems);
    }
    return problems.empty();
  }

  [[nodiscard]] bool CheckPause() const {
    // Picture1, Text1 and Text2 change one after the other as the pause begins.
    const auto shown = [this](addrvue::Control c) { return IsWindowVisible(Control(c)) != FALSE; };
    if (!WaitFor(std::chrono::seconds(2), [&] {
          return !shown(Control::Command1) && !shown(Control::Text1) && shown(Control::Text2) &&
                 IsWindowEnabled(Control(Control::Text2)) == FALSE;
        })) {
      Fail("the pause shows the wrong controls, or Text2 enabled");
      return false;
    }
    return true;
  }

  [[nodiscard]] bool CheckClosingBox(HWND box, Clock::time_point shown) const {
    const auto pause =
        std::chrono::duration_cast<std::chrono::milliseconds>(shown - lastBoxClosed_);
    std::fprintf(stderr, "pause %.1f s\n", static_cast<double>(pause.count()) / 1000.0);
    if (pause < kShortestPause) {
      Fail("the closing box came before the 20-second pause was over");
      return false;
    }
    if (closeInPause_ && (IsWindow(form_) != FALSE || GetWindow(box, GW_OWNER) != nullptr)) {
      Fail("the window closed during the pause is still there, or owns the closing box");
      return false;
    }
    return true;
  }

  [[nodiscard]] HWND Control(addrvue::Control control) const {
    return GetDlgItem(form_, ControlId(control));
  }

  [[nodiscard]] HWND NextBox() const {
    static const std::u16string title(addrvue::layout::kApplicationTitle);
    return FindTopLevel(id_, L"#32770", &title);
  }

  [[nodiscard]] bool Ended() const {
    return WaitForSingleObject(process_.value, 0) == WAIT_OBJECT_0;
  }

  void PrintLine(std::u16string_view box) const {
    std::array<std::u16string, 8> texts;
    static constexpr std::array<addrvue::Control, 8> kShown{
        Control::Text1,  Control::Label2, Control::Label3, Control::Label4,
        Control::Label5, Control::Label6, Control::Label7, Control::Label8};
    for (std::size_t i = 0; i < kShown.size(); ++i) {
      texts.at(i) = TextOf(Control(kShown.at(i)));
    }
    const std::string line = addrvue::testing::TranscriptLine(
        box, TextOf(form_),
        {texts[0], texts[1], texts[2], texts[3], texts[4], texts[5], texts[6], texts[7]});
    std::fwrite(line.data(), 1, line.size(), stdout);
    std::fflush(stdout);
  }

  [[nodiscard]] int ReportExit(int result) const {
    DWORD code = 0;
    GetExitCodeProcess(process_.value, &code);
    std::fprintf(stderr, "exit %lu\n", code);
    std::fflush(stderr);
    return result;
  }

  Handle process_;
  Handle thread_;
  DWORD id_;
  Holds holds_;
  bool closeInPause_;
  bool closeAtStart_;
  HWND form_ = nullptr;
  bool pauseSeen_ = false;
  Clock::time_point lastBoxClosed_ = Clock::now();
};

}  // namespace

int main(int argc, char** argv) {
  _setmode(_fileno(stdout), _O_BINARY);
  std::u16string hold;
  auto close = Session::Close::Never;
  int arg = 1;
  for (; arg < argc && argv[arg][0] == '-'; ++arg) {
    const std::string option = argv[arg];
    if (option == "--hold" && arg + 1 < argc) {
      hold = addrvue::FromUtf8(argv[++arg]);
    } else if (option == "--close-in-pause") {
      close = Session::Close::InPause;
    } else if (option == "--close-at-start") {
      close = Session::Close::AtStart;
    } else {
      break;
    }
  }
  if (arg + 1 != argc) {
    Fail("usage: ui_driver [--hold DIR] [--close-in-pause | --close-at-start] EXE");
    return 2;
  }
  const std::u16string exe = addrvue::FromUtf8(argv[arg]);
  std::wstring commandLine = L"\"" + std::wstring(exe.begin(), exe.end()) + L"\"";
  STARTUPINFOW startup{};
  startup.cb = sizeof startup;
  PROCESS_INFORMATION process{};
  if (CreateProcessW(nullptr, commandLine.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr,
                     &startup, &process) == FALSE) {
    Fail("cannot start the program (error " + std::to_string(GetLastError()) + ")");
    return 2;
  }
  Session session(process, Holds({hold.begin(), hold.end()}), close);
  const int result = session.Run();
  if (result != 0) {
    TerminateProcess(process.hProcess, 99);
  }
  return result;
}
