// tamrel-rc load: loads scripts and prints, for each, what the document holds.
#include <unistd.h>

#include <algorithm>
#include <cstdio>

#include "tamrel-rc/Commands.h"
#include "tamrel-rc/Loader.h"
#include "tamrel-rc/Output.h"
#include "tamrel-rc/ScriptText.h"

namespace tamrel::tool {
namespace {

// A total, or -1 when it overflows the 16-bit count.
int TotalOrMinusOne(Int16 (clsRC::*total)() const, const clsRC& rc) {
  try {
    return (rc.*total)();
  } catch (const RCError&) {
    return -1;
  }
}

// What `load` prints for one script; made on the worker thread while the model is there.
std::string Summary(const LoadResult& result, const CodePageOptions& codePages) {
  const clsRC& rc = *result.rc;
  std::string out;
  // The reading mode, unless the script was refused before it was read.
  AppendFormat(out, "%s: %s%s\n", result.path.c_str(), result.loaded ? "loaded" : "failed",
               result.refused ? "" : rc.Options().layout == Layout::Exact ? " (strict)" : " (relaxed)");
  AppendFormat(out, "  lines %d, Initialized %s, encoding %s, code pages %s\n", rc.Lines.Count(),
               rc.Initialized ? "true" : "false", std::string(EncodingName(rc.SourceEncoding)).c_str(),
               ScriptText(rc, codePages).Summary().c_str());
  AppendFormat(out, "  Includes %d, IfDef %d, Icons %d, Bitmaps %d, Cursors %d, DesignInfos %d\n",
               rc.Includes.Count(), rc.IfDef.Count(), rc.Icons.Count(), rc.Bitmaps.Count(), rc.Cursors.Count(),
               rc.DesignInfos.Count());
  AppendFormat(out,
               "  Menus %d (TotalMenuItems %d), Accelerators %d (TotalAccelerators %d), Dialogs %d "
               "(TotalControls %d), StringTable entries %d\n",
               rc.Menus.Count(), int(rc.TotalMenuItems), rc.Accelerators.Count(),
               TotalOrMinusOne(&clsRC::TotalAccelerators, rc), rc.Dialogs.Count(),
               TotalOrMinusOne(&clsRC::TotalControls, rc), rc.StringTable.Entries.Count());
  // What only a relaxed model holds: version resources and the resources kept as written, of
  // which those in a language not taken are Skipped.
  if (!result.refused && rc.Options().layout == Layout::Relaxed) {
    const auto skipped = std::count_if(rc.RawResources.begin(), rc.RawResources.end(),
                                       [](const clsRawResource& raw) { return raw.Skipped; });
    AppendFormat(out, "  VersionInfos %d, RawResources %d (Skipped %d)\n", rc.VersionInfos.Count(),
                 rc.RawResources.Count(), int(skipped));
  }
  return out;
}

}  // namespace

int RunLoad(const CommonOptions& options) {
  std::vector<std::string> errors;
  std::vector<std::string> paths = ExpandInputs(options.inputs, options.recursive, errors);
  for (const std::string& error : errors) std::fprintf(stderr, "tamrel-rc: %s\n", error.c_str());
  ProgressBoard board(!options.quiet && isatty(STDERR_FILENO));
  int loaded = 0;
  auto summarise = [&](LoadResult& result, const Report&) { result.summary = Summary(result, options.codePages); };
  LoadAll(paths, options.jobs, &board, options.loading, summarise, [&](LoadResult& result) {
    WriteOut(std::any_cast<const std::string&>(result.summary));
    loaded += result.loaded;
  });
  int failed = static_cast<int>(paths.size()) - loaded;
  PrintOut("files %zu, loaded %d, failed %d\n", paths.size(), loaded, failed);
  return failed > 0 || !errors.empty() ? 1 : 0;
}

}  // namespace tamrel::tool
