// tamrel-rc check: each script is laid out on the worker thread that loaded it (with a measurer
// of its own), its findings kept as diagnostics and printed in input order.
#include "tamrel-rc/CommandCheck.h"

#include <unistd.h>

#include <cstdio>
#include <optional>

#include "common/RCError.h"
#include "layout/FitChecker.h"
#include "tamrel-rc/Loader.h"
#include "tamrel-rc/Output.h"

namespace tamrel::tool {
namespace {

struct Checked {
  std::vector<FitFinding> findings;
  std::optional<Diagnostic> failure;  // the script could not be laid out (a font is missing)
};

}  // namespace

const FontMap* ChooseFontMap(const std::string& path, std::optional<FontMap>& own) {
  try {
    if (path.empty()) return &FontMap::Default();
    return &own.emplace(FontMap::Load(path));
  } catch (const FontError& e) {
    std::fprintf(stderr, "tamrel-rc: %s\n", e.what());
    return nullptr;
  }
}

int RunCheck(const CheckOptions& options) {
  std::optional<FontMap> ownFonts;
  const FontMap* chosen = ChooseFontMap(options.fontMap, ownFonts);
  if (chosen == nullptr) return 2;
  const FontMap& fonts = *chosen;

  std::vector<std::string> errors;
  std::vector<std::string> paths = ExpandInputs(options.common.inputs, options.common.recursive, errors);
  for (const std::string& error : errors) std::fprintf(stderr, "tamrel-rc: %s\n", error.c_str());
  ProgressBoard board(!options.common.quiet && isatty(STDERR_FILENO));
  const bool json = options.format == "json";
  const CodePageOptions codePages = options.common.codePages;
  long findings = 0;
  int failed = 0;

  auto summarise = [&](LoadResult& result, const Report& report) {
    if (!result.loaded) return;
    const CodePageMap map(result.rc->Lines, codePages.defaultCodePage, codePages.ignorePragmas);
    Checked checked;
    try {
      checked.findings = CheckScript(*result.rc, fonts, map);
    } catch (const FontError& e) {
      checked.failure = Diagnostic{result.path, 0, 0, "error", "", std::nullopt, e.what(), std::nullopt};
    } catch (const RCError& e) {
      checked.failure =
          Diagnostic{result.path, 0, 0, "error", "", std::nullopt, std::string("check failed: ") + e.what(), std::nullopt};
    }
    if (checked.failure) report(*checked.failure);
    result.summary = std::move(checked);
  };
  LoadAll(paths, options.common.jobs, &board, options.common.loading, summarise, [&](LoadResult& result) {
    if (!result.loaded) {
      ++failed;
      return;
    }
    const Checked& checked = std::any_cast<const Checked&>(result.summary);
    if (checked.failure) {
      ++failed;
      return;
    }
    for (const FitFinding& finding : checked.findings) {
      ++findings;
      Diagnostic diagnostic;
      diagnostic.path = result.path;
      diagnostic.line = finding.line;
      diagnostic.severity = "warning";
      diagnostic.message = finding.message;
      if (json) {
        diagnostic.code = FindingCode(finding.kind);
        WriteOut(DiagnosticJsonLine(diagnostic));
      } else {
        WriteOut(DiagnosticText(diagnostic));
      }
    }
  });
  if (!json && !options.common.quiet)
    std::fprintf(stderr, "tamrel-rc: %ld finding%s in %zu file%s%s\n", findings, findings == 1 ? "" : "s",
                 paths.size(), paths.size() == 1 ? "" : "s",
                 options.maxWarnings > 0 ? (" (" + std::to_string(options.maxWarnings) + " allowed)").c_str() : "");
  if (failed > 0 || !errors.empty()) return 1;
  return findings > options.maxWarnings ? 1 : 0;
}

}  // namespace tamrel::tool
