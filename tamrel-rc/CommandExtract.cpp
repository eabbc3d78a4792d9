// tamrel-rc extract: units to PO, POT or XLIFF, or their counts.
#include "tamrel-rc/CommandExtract.h"

#include <unistd.h>

#include <cstdio>
#include <filesystem>

#include "tamrel-rc/Output.h"
#include "translation/PoCatalog.h"
#include "translation/TranslationStats.h"
#include "translation/XliffDocument.h"

namespace tamrel::tool {
namespace {

std::string FormatFor(const ExtractCommandOptions& options) {
  if (!options.format.empty()) return options.format;
  const std::string extension = std::filesystem::path(options.out).extension().string();
  if (extension == ".po") return "po";
  if (extension == ".xlf" || extension == ".xliff") return "xliff";
  return "pot";
}

void PrintStats(const std::vector<TranslationUnit>& units) {
  TranslationStats stats;
  for (const TranslationUnit& unit : units)
    if (unit.problem.empty()) stats.Add(unit);  // the units a catalog holds
  PrintOut("%-10s %8s %8s %10s\n", "kind", "units", "words", "characters");
  auto row = [](std::string_view name, const TextCount& count) {
    PrintOut("%-10.*s %8lld %8lld %10lld\n", static_cast<int>(name.size()), name.data(),
             static_cast<long long>(count.units), static_cast<long long>(count.words),
             static_cast<long long>(count.characters));
  };
  // Version strings only a relaxed model has get their row when there are any.
  for (UnitKind kind : TranslationStats::kKinds)
    if (kind != UnitKind::Version || stats.Of(kind).units > 0) row(UnitKindName(kind), stats.Of(kind));
  row("total", stats.Total());
}

// The units' catalog in a temporary file through libgettextpo, then its bytes.
bool PoBytes(const std::vector<TranslationUnit>& units, const PoWriteOptions& po, std::string& bytes,
             std::vector<std::string>& errors) {
  const std::string temporary =
      (std::filesystem::temp_directory_path() / ("tamrel-rc-extract-" + std::to_string(::getpid()) + ".po")).string();
  errors = WritePoFile(units, {}, po, temporary);
  const bool read = errors.empty() && ReadFileBytes(temporary, bytes);
  std::remove(temporary.c_str());
  if (errors.empty() && !read) errors.push_back("the catalog could not be written");
  return errors.empty();
}

// Reports the units left out. A literal the model read otherwise is a warning; bytes that do
// not convert are an error unless --skip-unconvertible, since the translators would lose those
// texts without noticing. False when there is such an error.
bool ReportLeftOut(const std::vector<TranslationUnit>& units, const ExtractCommandOptions& options,
                   const std::string& path, ProgressBoard& board) {
  std::vector<std::pair<int, std::string>> warnings;
  std::vector<std::pair<int, std::string>> unconvertible;
  bool utf8 = false;
  for (const TranslationUnit& unit : units) {
    if (unit.problem.empty()) continue;
    const bool fatal = unit.unconvertible && !options.skipUnconvertible;
    (fatal ? unconvertible : warnings)
        .emplace_back(unit.line, PrintableText(unit.context) + " left out: " + PrintableText(unit.problem));
    utf8 = utf8 || (fatal && unit.utf8);
  }
  ReportAtLines(path, warnings, "warning", options.load.loading, board);
  if (unconvertible.empty()) return true;
  ReportAtLines(path, unconvertible, "error", options.load.loading, board);
  std::vector<std::string> errors{std::to_string(unconvertible.size()) +
                                  (unconvertible.size() == 1
                                       ? " unit does not convert from the code page of its line"
                                       : " units do not convert from the code page of their lines") +
                                  "; nothing written (--skip-unconvertible leaves them out)"};
  if (utf8)
    errors.push_back("the bytes that do not convert are valid UTF-8: if the script is saved as UTF-8, give "
                     "--code-page 65001 (with --ignore-pragmas when a code_page pragma names another code page)");
  ReportMessages(path, errors, "error", options.load.loading, board);
  return false;
}

}  // namespace

int RunExtract(const ExtractCommandOptions& options) {
  return WithLoadedScript(options.load, false, [&](const LoadResult& result, const std::string&,
                                            const std::vector<TranslationUnit>& units, ProgressBoard& board) {
    if (!ReportLeftOut(units, options, result.path, board)) return 1;
    if (options.stats) {
      PrintStats(units);
      return 0;
    }
    const std::string scriptName = std::filesystem::path(result.path).filename().string();
    const std::string format = FormatFor(options);
    std::string bytes;
    std::vector<std::string> errors;
    if (format == "xliff")
      bytes = WriteXliff(units, {}, {scriptName, options.sourceLanguage, options.targetLanguage}, errors);
    else
      PoBytes(units, {format == "pot", scriptName, options.sourceLanguage, options.targetLanguage}, bytes, errors);
    if (!errors.empty()) {
      errors.push_back("nothing written");
      ReportMessages(result.path, errors, "error", options.load.loading, board);
      return 1;
    }
    return WriteResult(options.out, bytes) ? 0 : 1;
  });
}

}  // namespace tamrel::tool
