// Loading, reporting and writing for the translation commands.
#include "tamrel-rc/TranslationSupport.h"

#include <unistd.h>

#include <cstdio>
#include <filesystem>
#include <fstream>

#include "tamrel-rc/Output.h"

namespace tamrel::tool {

int WithLoadedScript(const TranslationLoadOptions& options, bool needsBytes,
                     const std::function<int(const LoadResult&, const std::string& bytes,
                                             const std::vector<TranslationUnit>& units, ProgressBoard& board)>& use) {
  ProgressBoard board(!options.quiet && isatty(STDERR_FILENO));
  if (needsBytes && options.file == "-") {
    ReportMessages(kStdinName,
                   {options.command + " rewrites the script's own bytes, so it must be a file, not standard input"},
                   "error", options.loading, board);
    return 2;
  }
  std::error_code error;
  if (options.file != "-" && std::filesystem::is_directory(options.file, error)) {
    ReportMessages(options.file, {"is a directory; " + options.command + " takes one script"}, "error",
                   options.loading, board);
    return 2;
  }
  int status = 1;
  LoadAll({options.file}, 1, &board, options.loading, [&](LoadResult& result) {
    if (!result.loaded) return;
    std::string bytes;
    if (needsBytes && !ReadFileBytes(options.file, bytes)) {
      ReportMessages(result.path, {"cannot be read again"}, "error", options.loading, board);
      return;
    }
    ExtractOptions extract{options.codePages.defaultCodePage, options.codePages.ignorePragmas};
    const std::vector<TranslationUnit> units = ExtractUnits(*result.rc, extract);
    status = use(result, bytes, units, board);
  });
  return status;
}

namespace {

void ReportOne(std::string_view path, int line, const std::string& message, std::string_view severity,
               const LoadSettings& settings, ProgressBoard& board) {
  Diagnostic diagnostic;
  diagnostic.path = std::string(path);
  diagnostic.line = line;
  diagnostic.severity = std::string(severity);
  diagnostic.message = message;
  WriteDiagnostic(diagnostic, settings.diagnostics, &board);
}

}  // namespace

void ReportMessages(std::string_view path, const std::vector<std::string>& messages, std::string_view severity,
                    const LoadSettings& settings, ProgressBoard& board) {
  for (const std::string& message : messages) ReportOne(path, 0, message, severity, settings, board);
}

void ReportAtLines(std::string_view path, const std::vector<std::pair<int, std::string>>& messages,
                   std::string_view severity, const LoadSettings& settings, ProgressBoard& board) {
  for (const auto& [line, message] : messages) ReportOne(path, line, message, severity, settings, board);
}

bool ReadFileBytes(const std::string& path, std::string& bytes) {
  std::ifstream in(path, std::ios::binary);
  if (!in) return false;
  bytes.assign(std::istreambuf_iterator<char>(in), {});
  return !in.bad();
}

bool WriteResult(const std::string& path, std::string_view bytes) {
  if (path.empty() || path == "-") {
    WriteOut(bytes);
    return true;
  }
  const std::string temporary = path + ".tmp" + std::to_string(::getpid());
  {
    std::ofstream out(temporary, std::ios::binary | std::ios::trunc);
    out.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
    out.close();
    if (!out) {
      std::remove(temporary.c_str());
      std::fprintf(stderr, "tamrel-rc: %s: cannot be written\n", path.c_str());
      return false;
    }
  }
  std::error_code error;
  std::filesystem::rename(temporary, path, error);
  if (error) {
    std::remove(temporary.c_str());
    std::fprintf(stderr, "tamrel-rc: %s: cannot be written: %s\n", path.c_str(), error.message().c_str());
    return false;
  }
  return true;
}

MergeReport MergeBytes(const clsRC& rc, const std::string& bytes, const std::vector<TranslationUnit>& units,
                       const std::vector<CatalogEntry>& entries, const MergeOptions& options) {
  MergeReport report;
  MergeResult merged = ApplyTranslations(rc, bytes, units, entries, options);
  if (merged.Ok() && merged.translated > 0 && merged.unmatched == merged.translated) {
    // Not one translation has a unit: a warning for each would hide that nothing happened.
    std::string example;
    for (const CatalogEntry& entry : entries)
      if (!entry.target.empty() && (!entry.fuzzy || options.useFuzzy)) {
        example = PrintableText(entry.context);
        break;
      }
    report.errors.push_back("none of the " + std::to_string(merged.translated) +
                            " translated entries names a unit of the script (the first is " + example +
                            "): the catalog seems to belong to another script or extractor; nothing written");
    return report;
  }
  report.warnings = std::move(merged.warnings);
  if (!merged.Ok()) {
    report.errors = std::move(merged.errors);
    report.errors.push_back("nothing written");
    return report;
  }
  if (merged.unmatched > 0)
    report.warnings.push_back(std::to_string(merged.unmatched) + " of " + std::to_string(merged.translated) +
                              " translated entries name no unit of the script; their translations are not used");
  report.merged = merged.Bytes();
  return report;
}

MergeReport MergeToFile(const clsRC& rc, const std::string& bytes, const std::vector<TranslationUnit>& units,
                        const std::vector<CatalogEntry>& entries, const MergeOptions& options, const std::string& out) {
  MergeReport report = MergeBytes(rc, bytes, units, entries, options);
  report.written = report.errors.empty() && WriteResult(out, report.merged);
  return report;
}

int MergeAndWrite(const LoadResult& result, const std::string& bytes, const std::vector<TranslationUnit>& units,
                  const std::vector<CatalogEntry>& entries, const MergeOptions& options, const std::string& out,
                  const LoadSettings& settings, ProgressBoard& board,
                  const std::function<int(const std::string& merged)>& write) {
  const MergeReport report = MergeBytes(*result.rc, bytes, units, entries, options);
  ReportMessages(result.path, report.warnings, "warning", settings, board);
  ReportMessages(result.path, report.errors, "error", settings, board);
  if (!report.errors.empty()) return 1;
  if (write) return write(report.merged);
  return WriteResult(out, report.merged) ? 0 : 1;
}

}  // namespace tamrel::tool
