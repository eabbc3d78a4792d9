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
  LoadAll({options.file}, 1, &board, options.loading, [&](LoadResult& result) {
    if (!result.loaded) status = 1;
    const clsRC& rc = *result.rc;
    if (!result.loaded && rc.Lines.Empty()) return;  // nothing was read: no model to show
    ScriptText text(rc, options.codePages);
    if (!options.json) {
      DumpText(rc, text, result.failure ? &*result.failure : nullptr);
      return;
    }
    try {
      for (const Diagnostic& warning : text.Utf8Warnings())
        WriteDiagnostic(warning, options.loading.diagnostics, &board);
      DumpJson(rc, text, result.failure ? &*result.failure : nullptr);
    } catch (const ConversionFailure& failure) {
      WriteDiagnostic(failure.diagnostic, options.loading.diagnostics, &board);
      status = 1;
    }
  });
  return status;
}

}  // namespace tamrel::tool
