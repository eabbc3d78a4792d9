// tamrel-rc dump: the whole model of one script as indented text or JSON.
#include <unistd.h>

#include <cstdio>

#include "tamrel-rc/Commands.h"
#include "tamrel-rc/Loader.h"
#include "tamrel-rc/Output.h"
#include "tamrel-rc/ModelJson.h"

namespace tamrel::tool {

int RunDump(const DumpOptions& options) {
  ProgressBoard board(!options.quiet && isatty(STDERR_FILENO));
  int status = 0;
  LoadAll({options.file}, 1, &board, options.loading, [&](LoadResult& result) {
    if (!result.loaded) status = 1;
    Json model = ModelToJson(*result.rc);
    // JSON text is UTF-8: bytes of 8-bit code pages that are not UTF-8 become U+FFFD there.
    std::string text = options.json ? model.dump(2, ' ', false, Json::error_handler_t::replace) + "\n"
                                    : JsonToText(model);
    WriteOut(text);
  });
  return status;
}

}  // namespace tamrel::tool
