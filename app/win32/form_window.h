// The Win32 window Form1, built from the layout data, and the toolkit the button sequence runs
// on: caption and texts, visibility, modal boxes titled with the application's title, the clock,
// event processing and the end of the program.
#pragma once

#include <windows.h>

#include <functional>
#include <string>

#include "app/toolkit.h"
#include "app/win32/gdi_handles.h"

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

  // An error that left an event handler: shown in a box, then the program ends with code 1.
  [[noreturn]] static void ShowUnhandledError(HWND owner, std::u16string_view what);

 protected:
  void ReplaceCaption(std::u16string_view text) override;
  void ReplaceText(Control control, std::u16string_view text) override;
  void ShowMessageBox(std::u16string_view text) override;

 private:
  // Sizable, with the system menu and the minimise and maximise boxes.
  static constexpr DWORD kFormStyle = WS_OVERLAPPEDWINDOW | WS_CLIPCHILDREN;

  static LRESULT CALLBACK Procedure(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
  LRESULT Handle(UINT message, WPARAM wParam, LPARAM lParam);

  // Building (form_window_build.cpp).
  void RegisterWindowClass();
  void CreateForm();
  void CreateControl(Control id);
  void LoadPictures();
  [[nodiscard]] HANDLE LoadPicture(int resource, UINT type, int size) const;

  // Dots per inch (form_window_dpi.cpp).
  void ApplyDpi(int dpi);
  void CentreOnScreen();
  void FollowDpiChange(int dpi, const RECT& suggested);
  [[nodiscard]] SIZE FrameAtDpi(int dpi) const;

  // Events (form_window.cpp).
  [[nodiscard]] HWND Child(Control control) const;
  [[nodiscard]] HWND Owner() const;
  void RunClick();
  bool RestoreFocus(WPARAM activation);
  void PassFocusOn(Control leaving);
  [[nodiscard]] HWND NextInTabOrder(Control from) const;
  LRESULT ColourStatic(HDC dc, HWND control);
  void Draw(const DRAWITEMSTRUCT& item) const;
  bool PressFocusedButton(const MSG& message);
  void Dispatch(MSG& message);

  HINSTANCE instance_;
  HWND window_ = nullptr;
  int dpi_ = USER_DEFAULT_SCREEN_DPI;
  PerControl<HWND> children_;
  PerControl<FontHandle> fonts_;
  PerControl<BrushHandle> backgrounds_;
  BitmapHandle picture_;
  IconHandle bigIcon_;
  IconHandle smallIcon_;
  IconHandle image1Icon_;
  HWND focusBeforeDeactivation_ = nullptr;
  std::function<void()> command1Click_;
  bool inClick_ = false;
  LARGE_INTEGER clockStart_{};
  LARGE_INTEGER clockFrequency_{};
};

// The program's text as Windows wants it (wchar_t is 16 bits here, like char16_t).
std::wstring Wide(std::u16string_view text);

}  // namespace addrvue::win32
