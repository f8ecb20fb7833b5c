// The Win32 window Form1, built from the layout data, and the toolkit the button sequence runs
// on: caption and texts, visibility, modal boxes titled with the application's title, the clock,
// event processing and the end of the program. Its controls, painter, focus navigator and
// message pumps each have their own file.
#pragma once

#include <windows.h>

#include <functional>
#include <string>

#include "app/toolkit.h"
#include "app/win32/focus_navigator.h"
#include "app/win32/form_controls.h"
#include "app/win32/painter.h"

namespace addrvue::win32 {

class FormWindow final : public Toolkit {
 public:
  // Creates the window and its controls (not shown yet); throws when Windows refuses.
  explicit FormWindow(HINSTANCE instance);
  FormWindow(const FormWindow&) = delete;
  FormWindow& operator=(const FormWindow&) = delete;
  FormWindow(FormWindow&&) = delete;
  FormWindow& operator=(FormWindow&&) = delete;
  ~FormWindow() override;

  // What a click on Command1 runs.
  void OnCommand1Click(std::function<void()> handler) { command1Click_ = std::move(handler); }
  // Shows the window centred on the screen with the focus on Command1.
  void Show(int showCommand);
  // Handles events until the window is closed; returns the program's exit code.
  int RunMessageLoop();

  void SetVisible(Control control, bool visible) override;
  double ClockSeconds() override;
  void ProcessEvents(std::chrono::milliseconds maxWait) override;
  [[noreturn]] void EndProgram() override;

 protected:
  void ReplaceCaption(std::u16string_view text) override;
  void ReplaceText(Control control, std::u16string_view text) override;
  void ShowMessageBox(std::u16string_view text) override;

 private:
  // Sizable, with the system menu and the minimise and maximise boxes.
  static constexpr DWORD kFormStyle = WS_OVERLAPPEDWINDOW | WS_CLIPCHILDREN;

  static LRESULT CALLBACK Procedure(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
  LRESULT Handle(UINT message, WPARAM wParam, LPARAM lParam);
  HWND CreateForm();
  void RunClick();
  [[nodiscard]] HWND Child(Control control) const;
  [[nodiscard]] HWND Owner() const;

  void ApplyDpi(int dpi);
  void CentreOnScreen();
  void FollowDpiChange(int dpi, const RECT& suggested);
  [[nodiscard]] SIZE FrameAtDpi(int dpi) const;

  // The window's procedure may run before the window and its controls exist: what it reads
  // then is made first.
  HINSTANCE instance_;
  LARGE_INTEGER clockStart_{};
  LARGE_INTEGER clockFrequency_{};
  std::function<void()> command1Click_;
  bool inClick_ = false;
  int dpi_ = USER_DEFAULT_SCREEN_DPI;
  Painter painter_;
  HWND window_ = nullptr;
  FormControls controls_;
  FocusNavigator navigator_;
};

}  // namespace addrvue::win32
