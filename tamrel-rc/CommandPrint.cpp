// tamrel-rc print: the regenerated script on standard output, in the encoding the script was
// read in (or the one asked for), lines ended with CR LF (or LF).
#include <unistd.h>

#include <cstdio>

#include "tamrel-rc/Commands.h"
#include "tamrel-rc/Loader.h"
#include "tamrel-rc/Output.h"

namespace tamrel::tool {

int RunPrint(const PrintOptions& options) {
  ProgressBoard board(!options.quiet && isatty(STDERR_FILENO));
  int status = 0;
  LoadAll({options.file}, 1, &board, options.loading, [&](LoadResult& result) {
    if (!result.loaded) {
      status = 1;
      return;
    }
    LineCollection lines = result.rc->PrintLines();
    const std::string_view eol = options.eol == "lf" ? "\n" : "\r\n";
    std::string text;
    for (const std::string& line : lines) text.append(line).append(eol);
    TextEncoding encoding = result.rc->SourceEncoding;
    if (options.encoding == "utf-8") encoding = TextEncoding::Bytes;
    if (options.encoding == "utf-16le") encoding = TextEncoding::Utf16LE;
    std::string bytes = EncodeText(text, encoding, true);
    WriteOut(bytes);
  });
  return status;
}

}  // namespace tamrel::tool
