// The report as lines of text: a window that shows nothing and writes each item it is given, for
// --print. It is driven by the same report walk as the window's boxes.
#pragma once

#include <string>
#include <string_view>

#include "report/window_seam.h"

namespace addrvue {

// One item a line, in the order the report gives them: each text put in Text1 and each box text
// that says something (not the placeholder "_", not empty or blank), never the same text twice in
// a row. Captions and labels repeat what Text1 shows and are left out. Each line is the text as
// the body of a JSON string (its escapes, without the quotes), so that a line break or another
// control character in a text keeps it on one line.
class LineReport final : public ReportWindow {
 public:
  explicit LineReport(std::string& out) : out_(out) {}

  // Whether a query failed; its failure text was the last line.
  [[nodiscard]] bool QueryFailed() const { return queryFailed_; }

 protected:
  void ReplaceCaption(std::u16string_view /*text*/) override {}
  void ReplaceText1(std::u16string_view text) override { Write(text); }
  void ReplaceLabelCaption(ReportLabel /*label*/, std::u16string_view /*text*/) override {}
  void ShowMessageBox(std::u16string_view text) override;
  void ShowFailureBox(std::u16string_view text) override;

 private:
  void Write(std::u16string_view text);

  std::string& out_;
  std::u16string last_;
  bool queryFailed_ = false;
};

}  // namespace addrvue
