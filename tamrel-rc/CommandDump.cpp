// tamrel-rc dump: the whole model of one script as indented text or JSON. A script that could
// not be read at all prints nothing; one that was read but failed to build prints the model as
// far as it was built (exit status 1).
#include <unistd.h>

#include <cstdio>

#include "tamrel-rc/Commands.h"
#include "tamrel-rc/Loader.h"
#include "tamrel-rc/ModelJson.h"
#include "tamrel-rc/Output.h"
#include "tamrel-rc/ScriptText.h"

namespace tamrel::tool {

int RunDump(const DumpOptions& options) {
  ProgressBoard board(!options.quiet && isatty(STDERR_FILENO));
  int status = 0;
  LoadAll({options.file}, 1, &board, [&](LoadResult& result) {
    std::fputs(result.reports.c_str(), stderr);
    if (!result.loaded) status = 1;
    const clsRC& rc = *result.rc;
    if (!result.loaded && rc.Lines.Empty()) return;  // nothing was read: no model to show
    ScriptText text(rc, options.codePages);
    if (!options.json) {
      DumpText(rc, text);
      return;
    }
    try {
      for (const std::string& warning : text.Utf8Warnings()) std::fprintf(stderr, "%s\n", warning.c_str());
      DumpJson(rc, text);
    } catch (const ConversionFailure& failure) {
      std::fprintf(stderr, "%s\n", failure.what());
      status = 1;
    }
  });
  return status;
}

}  // namespace tamrel::tool
