// tamrel-rc print: the regenerated script on standard output, in the encoding the script was
// read in (or the one asked for), lines ended with CR LF (or LF). Unicode output converts each
// line by the code page of the script line its item was read from. Nothing is written when
// the writer reports a failure, when the script would be too long to be read back, or when a
// text does not convert.
#include <unistd.h>

#include <cstdio>

#include "tamrel-rc/Commands.h"
#include "tamrel-rc/Loader.h"
#include "tamrel-rc/Output.h"
#include "tamrel-rc/ScriptText.h"

namespace tamrel::tool {
namespace {

// The loader counts lines in 16 bits and stops at the 32,767th.
constexpr std::int32_t kMostLinesReadBack = 32766;

enum class Conversion { Keep, ToUtf8, ToCodePage };

// Writes the regenerated script of a loaded document; returns the exit status.
int PrintScript(const LoadResult& result, const PrintOptions& options, ProgressBoard* board) {
  const clsRC& rc = *result.rc;
  auto refuse = [&](std::string message) {
    Diagnostic d;
    d.path = result.path;
    d.message = std::move(message);
    WriteDiagnostic(d, options.loading.diagnostics, board);
    return 1;
  };
  TextEncoding encoding = rc.SourceEncoding;
  Conversion conversion = Conversion::Keep;
  if (options.encoding == "utf-8" || options.encoding == "utf-16le") {
    conversion = Conversion::ToUtf8;
    encoding = options.encoding == "utf-8" ? TextEncoding::Bytes : TextEncoding::Utf16LE;
  } else if (options.encoding == "code-page") {
    conversion = Conversion::ToCodePage;
    encoding = TextEncoding::Bytes;
  }

  // The model is checked and counted before anything is written. When the writer cannot write
  // it, Write reports the failure to the document's log (which writes it to standard error in
  // the diagnostics format) and writes nothing.
  std::int64_t count = -1;
  try {
    count = rc.LineCount();
  } catch (const RCError&) {
  }
  if (count < 0 && !rc.Write([](std::string_view, std::int32_t) {}, {}))
    return refuse("the script could not be regenerated; nothing written");
  if (count > kMostLinesReadBack)
    return refuse("the regenerated script would have " + std::to_string(count) +
                  " lines, and a script of more than " + std::to_string(kMostLinesReadBack) +
                  " lines cannot be read back; nothing written");

  const std::string_view eol = options.eol == "lf" ? "\n" : "\r\n";
  if (conversion == Conversion::Keep && (encoding == TextEncoding::Bytes || encoding == TextEncoding::Utf8Bom)) {
    // Nothing can fail but the output itself: the lines go out as they are written, in chunks.
    constexpr std::size_t kChunk = std::size_t{1} << 16;
    std::string chunk = EncodeText({}, encoding, true);  // the byte-order mark, if any
    chunk.reserve(kChunk + 4096);
    bool written = rc.Write(
        [&](std::string_view line, std::int32_t) {
          chunk.append(line);
          if (chunk.size() >= kChunk) {
            WriteOut(chunk);
            chunk.clear();
          }
        },
        eol);
    if (!written) return refuse("the script could not be regenerated; nothing written");
    WriteOut(chunk);
    return 0;
  }

  // Text that is converted is converted whole before any of it is written, so that a text that
  // does not convert leaves standard output empty.
  ScriptText text(rc, options.codePages);
  std::string out;
  try {
    if (conversion == Conversion::ToUtf8)
      for (const Diagnostic& warning : text.Utf8Warnings())
        WriteDiagnostic(warning, options.loading.diagnostics, board);
    bool written = rc.Write(
        [&](std::string_view line, std::int32_t source) {
          switch (conversion) {
            case Conversion::Keep:
              out.append(line);
              break;
            case Conversion::ToUtf8:
              text.AppendUtf8(line, source, out);
              break;
            case Conversion::ToCodePage:
              text.AppendCodePage(line, source, out);
              break;
          }
          out.append(eol);
        },
        {});
    if (!written) return refuse("the script could not be regenerated; nothing written");
  } catch (const ConversionFailure& failure) {
    WriteDiagnostic(failure.diagnostic, options.loading.diagnostics, board);
    return 1;
  }
  WriteOut(EncodeText(out, encoding, true));
  return 0;
}

}  // namespace

int RunPrint(const PrintOptions& options) {
  ProgressBoard board(!options.quiet && isatty(STDERR_FILENO));
  int status = 0;
  LoadAll({options.file}, 1, &board, options.loading, [&](LoadResult& result) {
    status = result.loaded ? PrintScript(result, options, &board) : 1;
  });
  return status;
}

}  // namespace tamrel::tool
