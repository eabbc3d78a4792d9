// PreviewPage: one self-contained HTML page that shows laid-out dialogs as a user would see
// them, each as an inline SVG drawing at real size (96 DPI), with the fit findings drawn on the
// controls they concern and listed under the drawing. The page needs no script and no network;
// its texts name the mapped font families.
//
// Every measured text line is a <text> element with an id and a data-width attribute holding
// the width the layout measured in pixels, so that a browser's own measurement can be compared.
#pragma once

#include <iosfwd>
#include <string>
#include <vector>

#include "layout/DialogLayout.h"
#include "layout/FitChecker.h"

namespace tamrel {

class PreviewPage {
 public:
  // `title` heads the page (the script's name, say).
  explicit PreviewPage(std::string title);

  // Adds a dialog and its findings. The layout (and the model it points into) must outlive
  // Write.
  void AddDialog(const DialogLayout& layout, std::vector<FitFinding> findings);
  // Adds a dialog drawn beside the same dialog as it was before (an original beside its fitted
  // copy, say), each with its findings; the findings listed are the dialog's own.
  void AddDialog(const DialogLayout& layout, std::vector<FitFinding> findings, const DialogLayout& before,
                 std::vector<FitFinding> beforeFindings);

  // Writes the page as UTF-8 HTML.
  void Write(std::ostream& out) const;

 private:
  struct Entry {
    const DialogLayout* layout = nullptr;
    std::vector<FitFinding> findings;
    const DialogLayout* before = nullptr;  // drawn on the left when there is one
    std::vector<FitFinding> beforeFindings;
  };
  std::string title_;
  std::vector<Entry> dialogs_;
};

}  // namespace tamrel
