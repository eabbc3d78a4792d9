// tamrel-rc count: pieces (or words) of translatable text per document, dialog, menu and
// string table, with the document's totals of controls, shortcuts and menu items. A script
// that fails gets a line (and a TSV row) with the reason; several scripts end with totals.
#include <unistd.h>

#include <array>
#include <cinttypes>
#include <cstdio>
#include <optional>

#include "tamrel-rc/Commands.h"
#include "tamrel-rc/Loader.h"
#include "tamrel-rc/Output.h"

namespace tamrel::tool {
namespace {

struct Row {
  std::string kind;
  std::string id;
  int value;
};

std::vector<Row> CountRows(const clsRC& rc, const Variant& operation) {
  std::vector<Row> rows;
  rows.push_back({"document", "", rc.DisplayWordCount(operation)});
  for (const clsDialog& dialog : rc.Dialogs) rows.push_back({"dialog", dialog.ID, dialog.DisplayWordCount(operation)});
  for (const clsMenu& menu : rc.Menus) rows.push_back({"menu", menu.ID, menu.DisplayWordCount(operation)});
  rows.push_back({"stringtable", "", rc.StringTable.DisplayWordCount(operation)});
  for (const clsVersionInfo& info : rc.VersionInfos)
    rows.push_back({"versioninfo", info.ID, info.DisplayWordCount(operation)});
  rows.push_back({"TotalControls", "", rc.TotalControls()});
  rows.push_back({"TotalAccelerators", "", rc.TotalAccelerators()});
  rows.push_back({"TotalMenuItems", "", rc.TotalMenuItems});
  return rows;
}

// What `count` makes of one script on the worker thread: its rows, or why counting failed.
struct Counted {
  std::vector<Row> rows;
  std::optional<std::string> failure;
};

// The rows that add up across scripts, in the order of the TOTAL lines.
constexpr std::array<std::string_view, 4> kTotalled = {"document", "TotalControls", "TotalAccelerators",
                                                       "TotalMenuItems"};

// Why a script failed, on one line: "12: RCpD-05: Index out of range (9)".
std::string Reason(const Diagnostic& d) {
  std::string text;
  if (d.line > 0) text += std::to_string(d.line) + ": ";
  if (!d.code.empty()) text += d.code + ": ";
  text += d.message;
  if (d.number) text += " (" + std::to_string(*d.number) + ")";
  for (char& c : text)
    if (c == '\t' || c == '\n' || c == '\r') c = ' ';
  return text;
}

}  // namespace

int RunCount(const CountOptions& options) {
  std::vector<std::string> errors;
  std::vector<std::string> paths = ExpandInputs(options.common.inputs, options.common.recursive, errors);
  for (const std::string& error : errors) std::fprintf(stderr, "tamrel-rc: %s\n", error.c_str());
  ProgressBoard board(!options.common.quiet && isatty(STDERR_FILENO));
  const bool tsv = options.format == "tsv";
  const Variant operation = options.words ? Variant(1) : Variant(0);
  int loaded = 0;
  std::array<std::int64_t, kTotalled.size()> totals{};

  auto failed = [&](const std::string& path, const std::string& reason) {
    if (tsv) PrintOut("%s\tfailed\t\t%s\n", path.c_str(), reason.c_str());
    else PrintOut("%s: failed: %s\n", path.c_str(), reason.c_str());
  };
  auto summarise = [&](LoadResult& result, const Report& report) {
    if (!result.loaded) return;
    Counted counted;
    try {
      counted.rows = CountRows(*result.rc, operation);
    } catch (const RCError& e) {
      Diagnostic d;
      d.path = result.path;
      d.message = std::string("counting failed: ") + e.what();
      report(d);
      counted.failure = d.message;
    }
    result.summary = std::move(counted);
  };
  LoadAll(paths, options.common.jobs, &board, options.common.loading, summarise, [&](LoadResult& result) {
    if (!result.loaded) {
      failed(result.path, result.failure ? Reason(*result.failure) : "not loaded");
      return;
    }
    const Counted& counted = std::any_cast<const Counted&>(result.summary);
    if (counted.failure) {
      failed(result.path, *counted.failure);
      return;
    }
    ++loaded;
    for (const Row& row : counted.rows)
      for (std::size_t i = 0; i < kTotalled.size(); ++i)
        if (row.kind == kTotalled[i]) totals[i] += row.value;
    if (tsv) {
      for (const Row& row : counted.rows)
        PrintOut("%s\t%s\t%s\t%d\n", result.path.c_str(), row.kind.c_str(), row.id.c_str(), row.value);
    } else {
      PrintOut("%s: %s\n", result.path.c_str(), options.words ? "words" : "pieces");
      for (const Row& row : counted.rows) {
        std::string label = row.id.empty() ? row.kind : row.kind + " " + row.id;
        PrintOut("  %-40s %6d\n", label.c_str(), row.value);
      }
    }
  });
  const int failures = static_cast<int>(paths.size()) - loaded;
  if (paths.size() > 1) {
    if (!tsv) PrintOut("TOTAL of %d loaded: %s\n", loaded, options.words ? "words" : "pieces");
    for (std::size_t i = 0; i < kTotalled.size(); ++i) {
      const std::string kind(kTotalled[i]);
      if (tsv) PrintOut("TOTAL\t%s\t\t%" PRId64 "\n", kind.c_str(), totals[i]);
      else PrintOut("  %-40s %6" PRId64 "\n", kind.c_str(), totals[i]);
    }
    if (tsv) PrintOut("TOTAL\tfiles\t\t%zu\nTOTAL\tloaded\t\t%d\nTOTAL\tfailed\t\t%d\n", paths.size(), loaded, failures);
  }
  if (!tsv) PrintOut("files %zu, loaded %d, failed %d\n", paths.size(), loaded, failures);
  return failures > 0 || !errors.empty() ? 1 : 0;
}

}  // namespace tamrel::tool
