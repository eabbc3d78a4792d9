// Exchange files from Python: a document's units written as a PO catalog (or template) or an
// XLIFF 2.0 document, and such files read back as a Catalog of units whose translations
// apply_translations takes.
#include <pybind11/stl.h>
#include <pybind11/stl/filesystem.h>

#include <cerrno>
#include <filesystem>
#include <fstream>
#include <shared_mutex>
#include <sstream>
#include <unordered_map>

#include "python/Bindings.h"
#include "translation/LanguageTable.h"
#include "translation/PoCatalog.h"
#include "translation/UnitExtractor.h"
#include "translation/XliffDocument.h"

namespace tamrel::python {
namespace {

// What was read from an exchange file: one unit a message or XLIFF unit, in file order.
struct Catalog {
  std::vector<CatalogEntry> units;
};

// The document's units and, for each, its translation from `translations` (empty: none).
void UnitsAndTargets(const ModuleDocument& d, const std::unordered_map<std::string, std::string>& translations,
                     std::vector<TranslationUnit>& units, std::vector<std::string>& targets) {
  ExtractOptions options;
  options.defaultCodePage = d.DefaultCodePage().value_or(kNoCodePage);
  units = ExtractUnits(d.Model(), options);
  if (translations.empty()) return;
  targets.reserve(units.size());
  for (const TranslationUnit& unit : units) {
    auto found = translations.find(unit.context);
    targets.push_back(found == translations.end() ? std::string() : found->second);
  }
}

std::string ScriptName(const ModuleDocument& d) {
  return std::filesystem::path(d.Model().Path).filename().string();
}

[[noreturn]] void RaiseErrors(const std::vector<std::string>& errors) {
  std::string text;
  for (const std::string& error : errors) text.append(text.empty() ? "" : "; ").append(error);
  throw py::value_error(text);
}

// Writes `bytes` under a temporary name beside `path` and renames it, so that a failure leaves
// no partial file and an existing one as it was.
void WriteWhole(const std::string& path, const std::string& bytes) {
  const std::string partial = path + ".partial";
  {
    std::ofstream out(partial, std::ios::binary | std::ios::trunc);
    if (out) out.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
    out.close();
    if (!out) {
      int error = errno != 0 ? errno : EIO;
      std::remove(partial.c_str());
      throw FileError{error, path};
    }
  }
  std::error_code ec;
  std::filesystem::rename(partial, path, ec);
  if (ec) {
    std::remove(partial.c_str());
    throw FileError{ec.value(), path};
  }
}

Catalog ReadCatalog(const std::string& path, bool xliff) {
  std::vector<std::string> errors;
  Catalog catalog;
  if (xliff) {
    std::ifstream in(path, std::ios::binary);
    if (!in) throw FileError{errno != 0 ? errno : ENOENT, path};
    std::ostringstream text;
    text << in.rdbuf();
    catalog.units = ReadXliff(std::move(text).str(), path, errors);
  } else {
    catalog.units = ReadPoFile(path, errors);
  }
  if (!errors.empty()) RaiseErrors(errors);
  return catalog;
}

}  // namespace

void BindTranslation(py::module_& module) {
  py::class_<CatalogEntry>(module, "CatalogUnit", "One unit of an exchange file: its context, source and translation.")
      .def_readonly("context", &CatalogEntry::context)
      .def_readonly("source", &CatalogEntry::source)
      .def_readonly("target", &CatalogEntry::target)
      .def_readonly("fuzzy", &CatalogEntry::fuzzy)
      .def("__repr__", [](const CatalogEntry& e) {
        return py::str("<tamrel.CatalogUnit {!r}: {!r} -> {!r}{}>")
            .format(e.context, e.source, e.target, e.fuzzy ? " (fuzzy)" : "");
      });

  py::class_<Catalog>(module, "Catalog", "The units of a PO or XLIFF file, in file order.")
      .def_readonly("units", &Catalog::units)
      .def("__len__", [](const Catalog& c) { return c.units.size(); })
      .def(
          "translations",
          [](const Catalog& c, bool useFuzzy) {
            py::dict out;
            for (const CatalogEntry& e : c.units)
              if (!e.target.empty() && (useFuzzy || !e.fuzzy)) out[py::str(e.context)] = py::str(e.target);
            return out;
          },
          py::arg("use_fuzzy") = false,
          "{context: translation} of the translated units (fuzzy ones only with use_fuzzy), for apply_translations.");

  module.def(
      "write_po",
      [](const ModuleDocument& d, const std::filesystem::path& path, const std::unordered_map<std::string, std::string>& translations,
         bool isTemplate, const std::string& sourceLang, const std::string& targetLang) {
        std::vector<std::string> errors;
        {
          py::gil_scoped_release unlocked;
          std::shared_lock lock(d.Lock());
          std::vector<TranslationUnit> units;
          std::vector<std::string> targets;
          UnitsAndTargets(d, translations, units, targets);
          errors = WritePoFile(units, targets, {isTemplate, ScriptName(d), sourceLang, targetLang}, path.string());
        }
        if (!errors.empty()) RaiseErrors(errors);
      },
      py::arg("document"), py::arg("path"), py::arg("translations") = std::unordered_map<std::string, std::string>(),
      py::kw_only(), py::arg("template") = false, py::arg("source_lang") = "en", py::arg("target_lang") = "",
      "Writes the document's units as a PO file (a template with template=True), each with its translation "
      "from {context: text} when given.");
  module.def(
      "write_xliff",
      [](const ModuleDocument& d, const std::filesystem::path& path, const std::unordered_map<std::string, std::string>& translations,
         const std::string& sourceLang, const std::string& targetLang) {
        py::gil_scoped_release unlocked;
        std::string text;
        std::vector<std::string> errors;
        {
          std::shared_lock lock(d.Lock());
          std::vector<TranslationUnit> units;
          std::vector<std::string> targets;
          UnitsAndTargets(d, translations, units, targets);
          text = WriteXliff(units, targets, {ScriptName(d), sourceLang, targetLang}, errors);
        }
        if (!errors.empty()) RaiseErrors(errors);  // nothing written
        WriteWhole(path.string(), text);
      },
      py::arg("document"), py::arg("path"), py::arg("translations") = std::unordered_map<std::string, std::string>(),
      py::kw_only(), py::arg("source_lang") = "en", py::arg("target_lang") = "",
      "Writes the document's units as an XLIFF 2.0 document, each with its translation from {context: text} when given.");
  module.def(
      "languages",
      [] {
        py::list out;
        for (const LanguageInfo& info : LanguageTable::Default().Languages()) {
          py::dict row;
          row["tag"] = info.tag;
          row["aliases"] = info.aliases;
          row["lang"] = info.langName;
          row["sublang"] = info.sublangName;
          row["statement"] = info.statement;
          row["id"] = info.id;
          row["code_page"] = info.codePage;
          out.append(row);
        }
        return out;
      },
      "The languages apply_translations(language=) writes a script in: a dict for each, with its locale tag, "
      "aliases, LANG_ and SUBLANG_ names, the arguments of the LANGUAGE statement merges write, Windows "
      "language ID and ANSI code page (0: Unicode only).");
  module.def(
      "read_po",
      [](const std::filesystem::path& path) {
        py::gil_scoped_release unlocked;
        return ReadCatalog(path.string(), false);
      },
      py::arg("path"), "Reads a PO file as a Catalog; a malformed file raises ValueError.");
  module.def(
      "read_xliff",
      [](const std::filesystem::path& path) {
        py::gil_scoped_release unlocked;
        return ReadCatalog(path.string(), true);
      },
      py::arg("path"), "Reads an XLIFF 2.0 document as a Catalog; one that is not raises ValueError.");
}

}  // namespace tamrel::python
