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

  // Writes the page as UTF-8 HTML.
  void Write(std::ostream& out) const;

 private:
  struct Entry {
    const DialogLayout* layout = nullptr;
    std::vector<FitFinding> findings;
  };
  std::string title_;
  std::vector<Entry> dialogs_;
};

}  // namespace tamrel
