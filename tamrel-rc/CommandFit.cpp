// tamrel-rc fit: each change and each finding that remains is one diagnostic on standard error
// ("note" with the code "fit", and the check's "warning"s); the script goes to -o or standard
// output only when it could be rebuilt whole.
#include "tamrel-rc/CommandFit.h"

#include <unistd.h>

#include <algorithm>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <optional>

#include "common/RCError.h"
#include "layout/ScriptFitter.h"
#include "tamrel-rc/CommandCheck.h"
#include "tamrel-rc/Output.h"

namespace tamrel::tool {
namespace {

Diagnostic Make(const std::string& name, int line, std::string severity, std::string_view code, std::string message,
                const FitCommandOptions& options) {
  Diagnostic diagnostic;
  diagnostic.path = name;
  diagnostic.line = line;
  diagnostic.severity = std::move(severity);
  if (options.load.loading.diagnostics == DiagnosticsFormat::Json) diagnostic.code = std::string(code);
  diagnostic.message = std::move(message);
  return diagnostic;
}

int FitLoaded(const std::string& name, const clsRC& rc, const std::string& bytes, const FitCommandOptions& options,
              const FontMap& fonts, ProgressBoard& board) {
  if (!options.dialog.empty() && !rc.Dialogs.Contains(options.dialog)) {
    std::string known;
    for (const clsDialog& dialog : rc.Dialogs) known.append(known.empty() ? "" : ", ").append(dialog.ID);
    ReportMessages(name, {"no dialog '" + options.dialog + "' (dialogs: " + (known.empty() ? "none" : known) + ")"},
                   "error", options.load.loading, board);
    return 1;
  }
  const CodePageMap codePages(rc.Lines, options.load.codePages.defaultCodePage, options.load.codePages.ignorePragmas);
  ScriptFit fit;
  try {
    fit = FitScript(rc, bytes, fonts, codePages, FitOptions{options.maxGrowth}, options.dialog);
  } catch (const FontError& error) {
    ReportMessages(name, {error.what()}, "error", options.load.loading, board);
    return 1;
  }
  if (!fit.error.empty()) {
    ReportMessages(name, {fit.error, "nothing written"}, "error", options.load.loading, board);
    return 1;
  }
  // The changes, the dialogs left alone and the findings that remain, in line order.
  std::vector<Diagnostic> reports;
  for (const FitChange& change : fit.changes) reports.push_back(Make(name, change.line, "note", "fit", change.message, options));
  for (const auto& [line, message] : fit.skipped) reports.push_back(Make(name, line, "warning", "fit", message, options));
  for (const FitFinding& finding : fit.remaining)
    reports.push_back(Make(name, finding.line, "warning", FindingCode(finding.kind), finding.message, options));
  std::stable_sort(reports.begin(), reports.end(),
                   [](const Diagnostic& a, const Diagnostic& b) { return a.line < b.line; });
  for (const Diagnostic& report : reports) WriteDiagnostic(report, options.load.loading.diagnostics, &board);
  if (!options.load.quiet && options.load.loading.diagnostics == DiagnosticsFormat::Text)
    std::fprintf(stderr, "tamrel-rc: %d finding%s before, %zu after; %zu change%s%s\n", fit.findingsBefore,
                 fit.findingsBefore == 1 ? "" : "s", fit.remaining.size(), fit.changes.size(),
                 fit.changes.size() == 1 ? "" : "s", options.dryRun ? " (dry run: nothing written)" : "");
  if (!options.dryRun && !WriteResult(options.out, fit.bytes)) return 1;
  return fit.remaining.empty() ? 0 : 1;
}

}  // namespace

int RunFit(const FitCommandOptions& given) {
  FitCommandOptions options = given;
  if (options.format == "json") options.load.loading.diagnostics = DiagnosticsFormat::Json;
  std::optional<FontMap> ownFonts;
  const FontMap* fonts = ChooseFontMap(options.fontMap, ownFonts);
  if (fonts == nullptr) return 2;
  return WithLoadedScript(options.load, true, [&](const LoadResult& result, const std::string& bytes,
                                                  const std::vector<TranslationUnit>&, ProgressBoard& board) {
    return FitLoaded(result.path, *result.rc, bytes, options, *fonts, board);
  });
}

int FitAndWrite(const std::string& name, const std::string& bytes, const FitCommandOptions& options,
                ProgressBoard& board) {
  std::optional<FontMap> ownFonts;
  const FontMap* fonts = ChooseFontMap(options.fontMap, ownFonts);
  if (fonts == nullptr) return 2;
  std::error_code error;
  const std::filesystem::path temporary = std::filesystem::temp_directory_path(error) /
                                          ("tamrel-rc-fit-" + std::to_string(::getpid()) + ".rc");
  {
    std::ofstream out(temporary, std::ios::binary | std::ios::trunc);
    out.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
    if (error || !out.flush()) {
      ReportMessages(name, {"cannot write a temporary copy to fit; nothing written"}, "error", options.load.loading,
                     board);
      std::filesystem::remove(temporary, error);
      return 1;
    }
  }
  int status = 1;
  LoadAll({temporary.string()}, 1, &board, options.load.loading, [&](LoadResult& result) {
    if (result.loaded)
      status = FitLoaded(name, *result.rc, bytes, options, *fonts, board);
    else
      ReportMessages(name, {"the merged script does not load; nothing written"}, "error", options.load.loading, board);
  });
  std::filesystem::remove(temporary, error);
  return status;
}

}  // namespace tamrel::tool
