// The Document class and the module's functions: loading, writing, counting, extracting and
// merging. Each of them runs without the interpreter lock, so that threads loading or counting
// different scripts use every core; the work happens on C++ values and the results become
// Python objects after the lock is taken back.
#include <pybind11/stl.h>

#include <cerrno>
#include <filesystem>
#include <fstream>
#include <optional>
#include <shared_mutex>
#include <string>
#include <tuple>
#include <unordered_map>
#include <utility>
#include <vector>

#include "common/CodePage.h"
#include "common/TextEncoding.h"
#include "document/clsRC.h"
#include "python/Bindings.h"
#include "python/YieldRendezvous.h"
#include "translation/LanguageTable.h"
#include "translation/TranslationMerger.h"
#include "translation/UnitExtractor.h"

namespace tamrel::python {
namespace {

// The reading Python asks for: relaxed unless `strict`, taking the sections of `language`.
LoadOptions ReadingOf(bool strict, const std::string& language) {
  return LoadOptions{strict ? Layout::Exact : Layout::Relaxed, language, LanguageIdOf};
}

using DocumentPtr = std::shared_ptr<ModuleDocument>;

// (path, line, column, severity, code, number, message, statement); absent values are None.
py::tuple DiagnosticTuple(const tool::Diagnostic& d) {
  auto optionalText = [](const std::string& text) -> py::object {
    if (text.empty()) return py::none();
    return LenientStr(text);
  };
  return py::make_tuple(LenientStr(d.path), d.line > 0 ? py::object(py::int_(d.line)) : py::none(),
                        d.column > 0 ? py::object(py::int_(d.column)) : py::none(), d.severity,
                        optionalText(d.code), d.number ? py::object(py::int_(*d.number)) : py::none(),
                        LenientStr(d.message), d.statement ? py::object(LenientStr(*d.statement)) : py::none());
}

py::tuple Outcome(const ModuleDocument::LoadOutcome& outcome) {
  py::list diagnostics;
  for (const tool::Diagnostic& d : outcome.diagnostics) diagnostics.append(DiagnosticTuple(d));
  py::object document = outcome.document ? py::cast(outcome.document) : py::none();
  return py::make_tuple(document, diagnostics);
}

// How write converts the lines.
enum class Conversion { Keep, ToUtf8 };

std::string_view LineEnd(const std::string& eol) {
  if (eol == "crlf") return "\r\n";
  if (eol == "lf") return "\n";
  throw py::value_error("eol must be \"crlf\" or \"lf\", not \"" + eol + "\"");
}

// The last report of the document's log as the library's error: the writer reports the model
// it cannot write there instead of raising.
[[noreturn]] void RaiseLastReport(const ModuleDocument& document) {
  std::vector<tool::Diagnostic> reports = document.Reports();
  if (reports.empty()) throw RCError(err::InvalidArgument, "the model cannot be written");
  const tool::Diagnostic& last = reports.back();
  std::string text = last.code.empty() ? last.message : last.code + ": " + last.message;
  throw RCError(last.number.value_or(0), std::move(text));
}

// Converts a written line (its text and line end) to UTF-8 from the code page of the script
// line its item came from.
void ToUtf8(const ModuleDocument& document, CodePageConverter& converter, std::string_view text,
            std::int32_t source, std::string& out) {
  out.clear();
  if (std::optional<ConversionError> error = converter.ToUtf8(text, document.CodePageAt(source), out))
    throw std::invalid_argument((source > 0 ? "text of line " + std::to_string(source) + ": " : std::string()) +
                                error->Describe());
}

void WriteScript(const ModuleDocument& document, const std::string& path, std::string_view eol,
                 Conversion conversion, TextEncoding encoding) {
  // The script goes to a file beside the target that replaces it once complete, so a failure
  // leaves no half-written script and an existing file as it was.
  const std::string partial = path + ".tamrel-partial";
  std::ofstream out(partial, std::ios::binary | std::ios::trunc);
  if (!out) throw FileError{errno, partial};
  try {
    std::shared_lock lock(document.Lock());
    CodePageConverter converter;
    std::string utf8;
    bool first = true;
    auto sink = [&](std::string_view text, std::int32_t source) {
      if (conversion == Conversion::ToUtf8) {
        ToUtf8(document, converter, text, source, utf8);
        text = utf8;
      }
      if (encoding == TextEncoding::Bytes) {
        out.write(text.data(), static_cast<std::streamsize>(text.size()));
      } else {
        const std::string encoded = EncodeText(text, encoding, first);
        out.write(encoded.data(), static_cast<std::streamsize>(encoded.size()));
      }
      first = false;
      if (!out) throw FileError{errno, partial};
    };
    if (!document.Model().Write(sink, eol)) RaiseLastReport(document);
    out.close();
    if (!out) throw FileError{errno, partial};
  } catch (...) {
    out.close();
    std::error_code ignored;
    std::filesystem::remove(partial, ignored);
    throw;
  }
  std::error_code error;
  std::filesystem::rename(partial, path, error);
  if (error) {
    const int number = error.value();
    std::filesystem::remove(partial, error);
    throw FileError{number, path};
  }
}

// The written lines without line ends, with the script line each came from.
std::vector<std::pair<std::string, std::int32_t>> WrittenLines(const ModuleDocument& document) {
  std::vector<std::pair<std::string, std::int32_t>> lines;
  std::shared_lock lock(document.Lock());
  auto sink = [&](std::string_view text, std::int32_t source) { lines.emplace_back(std::string(text), source); };
  if (!document.Model().Write(sink, "")) RaiseLastReport(document);
  return lines;
}

struct MergeOutcome {
  std::optional<std::string> bytes;
  std::vector<std::string> errors;
  std::vector<std::string> warnings;
  int applied = 0;
};

MergeOutcome Merge(const ModuleDocument& document, const std::vector<std::pair<std::string, std::string>>& translations,
                   bool force, MergeEncoding encoding, const std::optional<LanguageInfo>& language) {
  std::shared_lock lock(document.Lock());
  const clsRC& rc = document.Model();
  ExtractOptions extract;
  extract.defaultCodePage = document.DefaultCodePage().value_or(kNoCodePage);
  std::vector<TranslationUnit> units = ExtractUnits(rc, extract);
  std::unordered_map<std::string_view, const TranslationUnit*> byContext;
  for (const TranslationUnit& unit : units) byContext.emplace(unit.context, &unit);

  // The caller gives only the new texts; each entry's source is the script's own text, so
  // none is refused as made for another source.
  std::vector<CatalogEntry> entries;
  entries.reserve(translations.size());
  for (const auto& [context, target] : translations) {
    CatalogEntry entry;
    entry.context = context;
    entry.target = target;
    if (auto found = byContext.find(context); found != byContext.end()) entry.source = found->second->text;
    entries.push_back(std::move(entry));
  }
  MergeOptions options;
  options.force = force;
  options.encoding = encoding;
  options.defaultCodePage = extract.defaultCodePage;
  options.language = language;
  MergeResult result = ApplyTranslations(rc, document.FileBytes(), units, entries, options, rc.Path);
  MergeOutcome outcome;
  outcome.errors = std::move(result.errors);
  outcome.warnings = std::move(result.warnings);
  outcome.applied = result.applied;
  if (outcome.errors.empty()) outcome.bytes = result.Bytes();
  return outcome;
}

template <class T>
ListRef<T> List(const DocumentPtr& document, Collection<T>& list) {
  return ListRef<T>{document, &list};
}

}  // namespace

void BindDocument(py::module_& module) {
  py::class_<ModuleDocument, DocumentPtr>(module, "Document", "A loaded resource script and its object model.")
      .def_property_readonly("path", [](const ModuleDocument& d) { return LenientStr(d.Model().Path); })
      .def_property_readonly("encoding", [](const ModuleDocument& d) { return std::string(EncodingName(d.Model().SourceEncoding)); })
      .def_property_readonly("code_page", &ModuleDocument::DefaultCodePage)
      .def_property_readonly("line_count", [](const ModuleDocument& d) { return d.Model().Lines.Count(); })
      .def_property_readonly("total_menu_items", [](const ModuleDocument& d) { return int(d.Model().TotalMenuItems); })
      .def_property_readonly("includes", [](const DocumentPtr& d) { return List(d, d->Model().Includes); })
      .def_property_readonly("icons", [](const DocumentPtr& d) { return List(d, d->Model().Icons); })
      .def_property_readonly("bitmaps", [](const DocumentPtr& d) { return List(d, d->Model().Bitmaps); })
      .def_property_readonly("cursors", [](const DocumentPtr& d) { return List(d, d->Model().Cursors); })
      .def_property_readonly("menus", [](const DocumentPtr& d) { return List(d, d->Model().Menus); })
      .def_property_readonly("accelerators", [](const DocumentPtr& d) { return List(d, d->Model().Accelerators); })
      .def_property_readonly("dialogs", [](const DocumentPtr& d) { return List(d, d->Model().Dialogs); })
      .def_property_readonly("design_infos", [](const DocumentPtr& d) { return List(d, d->Model().DesignInfos); })
      .def_property_readonly("string_table",
                             [](const DocumentPtr& d) { return List(d, d->Model().StringTable.Entries); })
      .def_property_readonly("raw_resources", [](const DocumentPtr& d) { return List(d, d->Model().RawResources); })
      .def_property_readonly("version_infos", [](const DocumentPtr& d) { return List(d, d->Model().VersionInfos); })
      .def_property_readonly("language", [](const ModuleDocument& d) { return d.Model().Language; })
      .def_property_readonly("skipped_sections",
                             [](const ModuleDocument& d) {
                               // (language, first line, last line) of each run of sections not taken
                               std::vector<std::tuple<std::string, int, int>> sections;
                               for (const clsRC::LanguageSection& s : d.Model().SkippedSections)
                                 sections.emplace_back(s.Language, int(s.First), int(s.Last));
                               return sections;
                             })
      .def(
          "print_lines",
          [](const ModuleDocument& d, bool raw) -> py::list {
            std::vector<std::pair<std::string, std::int32_t>> lines;
            std::vector<std::string> texts;
            {
              py::gil_scoped_release unlocked;
              lines = WrittenLines(d);
              if (!raw) {
                CodePageConverter converter;
                texts.resize(lines.size());
                for (std::size_t i = 0; i < lines.size(); ++i)
                  ToUtf8(d, converter, lines[i].first, lines[i].second, texts[i]);
              }
            }
            py::list out;
            if (raw) {
              for (const auto& line : lines) out.append(py::bytes(line.first));
            } else {
              for (const std::string& text : texts) out.append(py::str(text));
            }
            return out;
          },
          py::arg("raw") = false)
      .def(
          "write",
          [](const ModuleDocument& d, const std::string& path, const std::string& eol,
             const std::optional<std::string>& encoding) {
            std::string_view lineEnd = LineEnd(eol);
            Conversion conversion = Conversion::Keep;
            TextEncoding target = d.Model().SourceEncoding;
            if (encoding) {
              conversion = Conversion::ToUtf8;
              if (*encoding == "utf-8") target = TextEncoding::Bytes;
              else if (*encoding == "utf-16le") target = TextEncoding::Utf16LE;
              else throw py::value_error("encoding must be None, \"utf-8\" or \"utf-16le\", not \"" + *encoding + "\"");
            }
            py::gil_scoped_release unlocked;
            WriteScript(d, path, lineEnd, conversion, target);
          },
          py::arg("path"), py::arg("eol") = "crlf", py::arg("encoding") = py::none())
      .def(
          "word_count",
          [](const ModuleDocument& d, bool words) {
            py::gil_scoped_release unlocked;
            std::shared_lock lock(d.Lock());
            return d.Model().DisplayWordCount(words ? 1 : 0);
          },
          py::arg("words") = false)
      .def("totals", [](const ModuleDocument& d) {
        std::int32_t pieces = 0, words = 0, controls = 0, accelerators = 0, menuItems = 0;
        {
          py::gil_scoped_release unlocked;
          std::shared_lock lock(d.Lock());
          const clsRC& rc = d.Model();
          pieces = rc.DisplayWordCount(0);
          words = rc.DisplayWordCount(1);
          controls = rc.TotalControls();
          accelerators = rc.TotalAccelerators();
          menuItems = rc.TotalMenuItems;
        }
        py::dict totals;
        totals["pieces"] = pieces;
        totals["words"] = words;
        totals["controls"] = controls;
        totals["accelerators"] = accelerators;
        totals["menu_items"] = menuItems;
        return totals;
      })
      .def("__repr__", [](const ModuleDocument& d) {
        return py::str("<tamrel.Document {!r}: {} lines>").format(LenientStr(d.Model().Path), d.Model().Lines.Count());
      });

  module.def(
      "_load",
      [](const std::string& path, std::optional<int> codePage, bool strict, const std::string& language) {
        ModuleDocument::LoadOutcome outcome;
        {
          py::gil_scoped_release unlocked;
          outcome = ModuleDocument::Load(path, codePage, ReadingOf(strict, language));
        }
        return Outcome(outcome);
      },
      py::arg("path"), py::arg("code_page") = py::none(), py::arg("strict") = false, py::arg("language") = "");
  module.def(
      "_loads",
      [](const py::bytes& data, const std::string& name, std::optional<int> codePage, bool strict,
         const std::string& language) {
        std::string bytes = data;
        ModuleDocument::LoadOutcome outcome;
        {
          py::gil_scoped_release unlocked;
          outcome = ModuleDocument::LoadBytes(std::move(bytes), name, codePage, ReadingOf(strict, language));
        }
        return Outcome(outcome);
      },
      py::arg("data"), py::arg("name"), py::arg("code_page") = py::none(), py::arg("strict") = false,
      py::arg("language") = "");

  module.def(
      "extract_units",
      [](const ModuleDocument& d) {
        py::gil_scoped_release unlocked;
        std::shared_lock lock(d.Lock());
        ExtractOptions options;
        options.defaultCodePage = d.DefaultCodePage().value_or(kNoCodePage);
        return ExtractUnits(d.Model(), options);
      },
      py::arg("document"), "The translatable units of a script, in file order.");
  module.def(
      "_apply",
      [](const ModuleDocument& d, const std::vector<std::pair<std::string, std::string>>& translations, bool force,
         const std::optional<std::string>& encoding, const std::optional<std::string>& language) {
        std::optional<LanguageInfo> into;
        if (language) {
          const LanguageInfo* found = LanguageTable::Default().Find(*language);
          if (found == nullptr) throw py::value_error("unknown language \"" + *language + "\"; languages() lists them");
          into = *found;
        }
        MergeEncoding target = MergeEncoding::Same;
        if (encoding) {
          if (*encoding == "utf-8") target = MergeEncoding::Utf8;
          else if (*encoding == "utf-16le") target = MergeEncoding::Utf16;
          else throw py::value_error("encoding must be None, \"utf-8\" or \"utf-16le\", not \"" + *encoding + "\"");
        }
        MergeOutcome outcome;
        {
          py::gil_scoped_release unlocked;
          outcome = Merge(d, translations, force, target, into);
        }
        py::object bytes = outcome.bytes ? py::object(py::bytes(*outcome.bytes)) : py::none();
        py::list errors, warnings;
        for (const std::string& e : outcome.errors) errors.append(LenientStr(e));
        for (const std::string& w : outcome.warnings) warnings.append(LenientStr(w));
        return py::make_tuple(bytes, errors, warnings, outcome.applied);
      },
      py::arg("document"), py::arg("translations"), py::arg("force") = false, py::arg("encoding") = py::none(),
      py::arg("language") = py::none());

  // For the tests: proves that calls into the library run on several threads at once.
  py::class_<YieldRendezvous>(module, "_YieldRendezvous")
      .def(py::init([](int parties, int patienceMs) {
             return std::make_unique<YieldRendezvous>(parties, std::chrono::milliseconds(patienceMs));
           }),
           py::arg("parties"), py::arg("patience_ms") = 60000)
      .def("install", &YieldRendezvous::Install, "Makes it the calling thread's yield hook.")
      .def_static("uninstall", &YieldRendezvous::Uninstall, "Removes the calling thread's yield hook.")
      .def_property_readonly("met", &YieldRendezvous::Met)
      .def_property_readonly("arrived", &YieldRendezvous::Arrived);
}

}  // namespace tamrel::python
