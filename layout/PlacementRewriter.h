// PlacementRewriter: writes new x, y, cx, cy numbers into a script's control statements and
// dialog headers in place. Only the digits of those numbers change; every other byte of the file
// (blanks, comments, line ends, the encoding and its mark) stays as it was.
#pragma once

#include <array>
#include <cstddef>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "common/CodePage.h"
#include "layout/DialogLayout.h"

namespace tamrel {

class clsRC;
class clsDialog;
class clsControl;

// Where one number stands in a script line (as the model holds the line).
struct NumberSpan {
  int line = 0;
  std::size_t offset = 0;
  std::size_t length = 0;
};

class PlacementRewriter {
 public:
  // `codePages` tell how each line is read (literals in double-byte code pages); both must
  // outlive the rewriter.
  PlacementRewriter(const clsRC& rc, const CodePageMap& codePages) : rc_(rc), codePages_(codePages) {}

  // The x, y, cx, cy numbers of a control statement or of a dialog header; nothing when they are
  // not written as plain decimal numbers equal to the model's (a symbol, an expression).
  std::optional<std::array<NumberSpan, 4>> LocateControl(const clsControl& control) const;
  std::optional<std::array<NumberSpan, 4>> LocateDialog(const clsDialog& dialog) const;

  // Records the control's new rectangle, or the dialog's new size; false (nothing recorded)
  // when its numbers cannot be located.
  bool SetControl(const clsControl& control, const RectDu& rect);
  bool SetDialogSize(const clsDialog& dialog, int width, int height);

  bool Empty() const { return edits_.empty(); }

  // The file with the recorded numbers written in. `fileBytes` is the file the model was loaded
  // from; when it no longer matches the model, `error` says so and the result is empty.
  std::string Rewrite(std::string_view fileBytes, std::string& error) const;

 private:
  struct Argument {
    int line = 0;
    std::size_t begin = 0;
    std::size_t end = 0;
    bool oneLine = true;
  };
  struct Edit {
    NumberSpan span;
    int value = 0;
  };

  // The comma-separated arguments of the statement from `from` in `line` on, blanks trimmed,
  // up to `count` of them; literals and // comments are passed over, and the statement may
  // continue on the following lines.
  std::vector<Argument> Arguments(int line, std::size_t from, std::size_t count) const;
  std::optional<std::array<NumberSpan, 4>> Numbers(const std::vector<Argument>& arguments, std::size_t first,
                                                   const std::array<int, 4>& values) const;
  void Record(const std::array<NumberSpan, 4>& spans, const std::array<int, 4>& before, const std::array<int, 4>& after);

  const clsRC& rc_;
  const CodePageMap& codePages_;
  std::vector<Edit> edits_;
};

}  // namespace tamrel
