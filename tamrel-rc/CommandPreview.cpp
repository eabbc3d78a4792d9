// tamrel-rc preview: lays out the script's dialogs (or the one asked for), checks them and
// writes the page. Findings do not change the exit status: the page is the result; `check` is
// the command that fails on them.
#include "tamrel-rc/CommandPreview.h"

#include <unistd.h>

#include <cstdio>
#include <deque>
#include <optional>
#include <sstream>

#include "common/CodePage.h"
#include "layout/FitChecker.h"
#include "layout/PreviewPage.h"
#include "layout/TextMeasurer.h"
#include "tamrel-rc/CommandCheck.h"

namespace tamrel::tool {
namespace {

int WritePreview(const PreviewCommandOptions& options, const FontMap& fonts, const LoadResult& result,
                 const clsRC* beforeRc, ProgressBoard& board) {
  const clsRC& rc = *result.rc;
  std::vector<const clsDialog*> dialogs;
  std::string known;
  if (options.dialog.empty()) {
    for (const clsDialog& dialog : rc.Dialogs) dialogs.push_back(&dialog);
  } else if (rc.Dialogs.Contains(options.dialog)) {  // keys ignore letter case
    dialogs.push_back(&rc.Dialogs.Item(options.dialog));
  } else {
    for (const clsDialog& dialog : rc.Dialogs) known.append(known.empty() ? "" : ", ").append(dialog.ID);
  }
  if (!options.dialog.empty() && dialogs.empty()) {
    ReportMessages(result.path,
                   {"no dialog '" + options.dialog + "' (dialogs: " + (known.empty() ? "none" : known) + ")"},
                   "error", options.load.loading, board);
    return 1;
  }

  const CodePageMap codePages(rc.Lines, options.load.codePages.defaultCodePage, options.load.codePages.ignorePragmas);
  TextMeasurer measurer;
  DialogLayouter layouter(fonts, measurer);
  layouter.SetCodePages(&codePages);
  std::optional<CodePageMap> beforePages;
  TextMeasurer beforeMeasurer;
  DialogLayouter beforeLayouter(fonts, beforeMeasurer);
  if (beforeRc != nullptr) {
    beforePages.emplace(beforeRc->Lines, options.load.codePages.defaultCodePage, options.load.codePages.ignorePragmas);
    beforeLayouter.SetCodePages(&*beforePages);
  }
  std::deque<DialogLayout> layouts;  // the page keeps pointers to them
  PreviewPage page(result.path);
  try {
    for (const clsDialog* dialog : dialogs) {
      layouts.push_back(layouter.Layout(rc, *dialog));
      DialogLayout& after = layouts.back();
      if (beforeRc != nullptr && beforeRc->Dialogs.Contains(dialog->ID)) {
        layouts.push_back(beforeLayouter.Layout(*beforeRc, beforeRc->Dialogs.Item(dialog->ID)));
        page.AddDialog(after, CheckDialog(after), layouts.back(), CheckDialog(layouts.back()));
      } else {
        page.AddDialog(after, CheckDialog(after));
      }
    }
  } catch (const FontError& error) {
    ReportMessages(result.path, {error.what()}, "error", options.load.loading, board);
    return 1;
  }
  std::ostringstream html;
  page.Write(html);
  return WriteResult(options.out, html.str()) ? 0 : 1;
}

}  // namespace

int RunPreview(const PreviewCommandOptions& options) {
  std::optional<FontMap> ownFonts;
  const FontMap* chosen = ChooseFontMap(options.fontMap, ownFonts);
  if (chosen == nullptr) return 2;
  const FontMap& fonts = *chosen;
  ProgressBoard board(!options.load.quiet && isatty(STDERR_FILENO));
  std::vector<std::string> paths{options.load.file};
  if (!options.before.empty()) paths.push_back(options.before);
  std::vector<LoadResult> results;
  LoadAll(paths, 1, &board, options.load.loading, [&](LoadResult& result) { results.push_back(std::move(result)); });
  for (const LoadResult& result : results)
    if (!result.loaded) return 1;
  return WritePreview(options, fonts, results.front(), results.size() > 1 ? results[1].rc.get() : nullptr, board);
}

}  // namespace tamrel::tool
