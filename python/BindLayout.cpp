// The fit check and the preview from Python: check(document) gives the findings as Finding
// objects, preview(document) the HTML page of the dialogs, both with the default font table
// or one read from a file.
#include <pybind11/stl.h>
#include <pybind11/stl/filesystem.h>

#include <deque>
#include <filesystem>
#include <optional>
#include <shared_mutex>
#include <sstream>

#include "common/CodePage.h"
#include "layout/FitChecker.h"
#include "layout/FontMap.h"
#include "layout/PreviewPage.h"
#include "layout/ScriptFitter.h"
#include "layout/TextMeasurer.h"
#include "python/Bindings.h"

namespace tamrel::python {
namespace {

// The font table asked for: the default one, or the file's (a FontError when it cannot be read).
const FontMap& Fonts(const std::optional<std::filesystem::path>& path, std::optional<FontMap>& own) {
  if (!path) return FontMap::Default();
  return own.emplace(FontMap::Load(path->string()));
}

// The code pages of the document's lines as the loader read them.
CodePageMap CodePages(const ModuleDocument& d) {
  return CodePageMap(d.Model().Lines, d.DefaultCodePage().value_or(kNoCodePage), false);
}

std::vector<FitFinding> Check(const ModuleDocument& d, const std::optional<std::filesystem::path>& fontMap) {
  std::optional<FontMap> own;
  const FontMap& fonts = Fonts(fontMap, own);
  std::shared_lock lock(d.Lock());
  return CheckScript(d.Model(), fonts, CodePages(d));
}

std::string Preview(const ModuleDocument& d, const std::optional<std::string>& dialogId,
                    const std::optional<std::filesystem::path>& fontMap) {
  std::optional<FontMap> own;
  const FontMap& fonts = Fonts(fontMap, own);
  std::shared_lock lock(d.Lock());
  const clsRC& rc = d.Model();
  std::vector<const clsDialog*> dialogs;
  if (!dialogId) {
    for (const clsDialog& dialog : rc.Dialogs) dialogs.push_back(&dialog);
  } else if (rc.Dialogs.Contains(*dialogId)) {  // keys ignore letter case
    dialogs.push_back(&rc.Dialogs.Item(*dialogId));
  } else {
    throw py::key_error("no dialog '" + *dialogId + "'");
  }
  const CodePageMap codePages = CodePages(d);
  TextMeasurer measurer;
  DialogLayouter layouter(fonts, measurer);
  layouter.SetCodePages(&codePages);
  std::deque<DialogLayout> layouts;  // the page keeps pointers to them
  PreviewPage page(rc.Path);
  for (const clsDialog* dialog : dialogs) {
    layouts.push_back(layouter.Layout(rc, *dialog));
    page.AddDialog(layouts.back(), CheckDialog(layouts.back()));
  }
  std::ostringstream html;
  page.Write(html);
  return std::move(html).str();
}

ScriptFit Fit(const ModuleDocument& d, double maxGrowth, const std::optional<std::string>& dialogId,
              const std::optional<std::filesystem::path>& fontMap) {
  std::optional<FontMap> own;
  const FontMap& fonts = Fonts(fontMap, own);
  std::shared_lock lock(d.Lock());
  const clsRC& rc = d.Model();
  if (dialogId && !rc.Dialogs.Contains(*dialogId)) throw py::key_error("no dialog '" + *dialogId + "'");
  ScriptFit fit = FitScript(rc, d.FileBytes(), fonts, CodePages(d), FitOptions{maxGrowth}, dialogId.value_or(""));
  if (!fit.error.empty()) throw py::value_error(fit.error);
  return fit;
}

}  // namespace

void BindLayout(py::module_& module) {
  py::class_<FitFinding>(module, "Finding", "A text that does not fit, a shared mnemonic or a control outside its dialog.")
      .def_property_readonly("kind", [](const FitFinding& f) { return std::string(FindingCode(f.kind)); })
      .def_readonly("line", &FitFinding::line)
      .def_property_readonly("dialog_id", [](const FitFinding& f) { return LenientStr(f.dialogId); })
      .def_property_readonly("item_id", [](const FitFinding& f) { return LenientStr(f.itemId); })
      .def_property_readonly("text", [](const FitFinding& f) { return LenientStr(f.text); })
      .def_readonly("height", &FitFinding::height)
      .def_readonly("need_du", &FitFinding::needDu)
      .def_readonly("have_du", &FitFinding::haveDu)
      .def_readonly("over_percent", &FitFinding::overPercent)
      .def_property_readonly("message", [](const FitFinding& f) { return LenientStr(f.message); })
      .def("__repr__", [](const FitFinding& f) {
        return py::str("<tamrel.Finding {} line {}: {}>").format(FindingCode(f.kind), f.line, LenientStr(f.message));
      });

  py::class_<FitChange>(module, "FitChange", "One text made to fit: how its control and the dialog changed.")
      .def_readonly("line", &FitChange::line)
      .def_property_readonly("dialog_id", [](const FitChange& c) { return LenientStr(c.dialogId); })
      .def_property_readonly("item_id", [](const FitChange& c) { return LenientStr(c.itemId); })
      .def_readonly("height", &FitChange::height)
      .def_readonly("before", &FitChange::before)
      .def_readonly("after", &FitChange::after)
      .def_readonly("moved", &FitChange::moved)
      .def_readonly("dialog_before", &FitChange::dialogBefore)
      .def_readonly("dialog_after", &FitChange::dialogAfter)
      .def_property_readonly("message", [](const FitChange& c) { return LenientStr(c.message); })
      .def("__repr__", [](const FitChange& c) {
        return py::str("<tamrel.FitChange line {}: {}>").format(c.line, LenientStr(c.message));
      });

  module.def(
      "fit",
      [](const ModuleDocument& d, double maxGrowth, const std::optional<std::string>& dialog,
         const std::optional<std::filesystem::path>& fontMap) {
        ScriptFit fit;
        {
          py::gil_scoped_release unlocked;
          fit = Fit(d, maxGrowth, dialog, fontMap);
        }
        return py::make_tuple(fit.changes, py::bytes(fit.bytes));
      },
      py::arg("document"), py::kw_only(), py::arg("max_growth") = 50.0, py::arg("dialog") = py::none(),
      py::arg("font_map") = py::none(),
      "(changes, data): the dialogs whose texts do not fit resized as `tamrel-rc fit` does it, and the script's "
      "file with only those numbers changed.");
  module.def(
      "check",
      [](const ModuleDocument& d, const std::optional<std::filesystem::path>& fontMap) {
        py::gil_scoped_release unlocked;
        return Check(d, fontMap);
      },
      py::arg("document"), py::kw_only(), py::arg("font_map") = py::none(),
      "The fit check's findings in line order, as `tamrel-rc check` reports them.");
  module.def(
      "preview",
      [](const ModuleDocument& d, const std::optional<std::string>& dialog,
         const std::optional<std::filesystem::path>& fontMap) {
        std::string html;
        {
          py::gil_scoped_release unlocked;
          html = Preview(d, dialog, fontMap);
        }
        return py::str(html);
      },
      py::arg("document"), py::kw_only(), py::arg("dialog") = py::none(), py::arg("font_map") = py::none(),
      "The HTML page of the dialogs (or of the one named), drawn with their findings, as `tamrel-rc preview` writes it.");
}

}  // namespace tamrel::python
