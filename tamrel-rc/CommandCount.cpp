// tamrel-rc count: pieces (or words) of translatable text per document, dialog, menu and
// string table, with the document's totals of controls, shortcuts and menu items.
#include <unistd.h>

#include <cstdio>

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
  rows.push_back({"TotalControls", "", rc.TotalControls()});
  rows.push_back({"TotalAccelerators", "", rc.TotalAccelerators()});
  rows.push_back({"TotalMenuItems", "", rc.TotalMenuItems});
  return rows;
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
  LoadAll(paths, options.common.jobs, &board, [&](LoadResult& result) {
    FlushOut();
    std::fputs(result.reports.c_str(), stderr);
    if (!result.loaded) {
      if (!tsv) PrintOut("%s: failed\n", result.path.c_str());
      return;
    }
    std::vector<Row> rows;
    try {
      rows = CountRows(*result.rc, operation);
    } catch (const RCError& e) {
      std::fprintf(stderr, "%s: counting failed: %s\n", result.path.c_str(), e.what());
      return;
    }
    ++loaded;
    if (tsv) {
      for (const Row& row : rows)
        PrintOut("%s\t%s\t%s\t%d\n", result.path.c_str(), row.kind.c_str(), row.id.c_str(), row.value);
    } else {
      PrintOut("%s: %s\n", result.path.c_str(), options.words ? "words" : "pieces");
      for (const Row& row : rows) {
        std::string label = row.id.empty() ? row.kind : row.kind + " " + row.id;
        PrintOut("  %-40s %6d\n", label.c_str(), row.value);
      }
    }
    FlushOut();
  });
  int failed = static_cast<int>(paths.size()) - loaded;
  if (!tsv) PrintOut("files %zu, loaded %d, failed %d\n", paths.size(), loaded, failed);
  return failed > 0 || !errors.empty() ? 1 : 0;
}

}  // namespace tamrel::tool
