// The text of a loaded script as Unicode or as 8-bit code-page text: which code page each line
// is in (from its #pragma code_page lines and the --code-page and --ignore-pragmas options),
// conversions of item text by the code page of the line it was read from, and the messages
// that name the script line and byte a conversion failed at.
#pragma once

#include <stdexcept>
#include <string>
#include <string_view>
#include <vector>

#include "common/CodePage.h"
#include "document/clsRC.h"
#include "diagnostics/Diagnostics.h"

namespace CLI {
class App;
}

namespace tamrel::tool {

struct CodePageOptions {
  int defaultCodePage = kNoCodePage;  // --code-page: lines no pragma covers
  bool ignorePragmas = false;         // --ignore-pragmas: every line in the default
};

// Adds --code-page N and --ignore-pragmas to a command. An unsupported number is a usage error.
void AddCodePageOptions(CLI::App& command, CodePageOptions& options);

// A conversion that cannot be done, as a diagnostic: the script, line and column (the byte of
// the script line) and "byte 0x81 is not valid in code page 1252". what() is the message.
class ConversionFailure : public std::runtime_error {
 public:
  explicit ConversionFailure(Diagnostic failure)
      : std::runtime_error(failure.message), diagnostic(std::move(failure)) {}
  Diagnostic diagnostic;
};

// Text that is no script text (a path given on the command line): taken as UTF-8.
inline constexpr int kNotScriptText = -1;

class ScriptText {
 public:
  ScriptText(const clsRC& rc, const CodePageOptions& options);

  // The code page the text held for a script line is in: the one in force there for an 8-bit
  // script, 65001 for a script read as UTF-16 or UTF-8 with a mark (held as UTF-8). Line 0
  // (text the writer made up) is in the default code page.
  int HeldCodePage(int line) const;
  // Appends text held for `line` to `out` as UTF-8. Raises ConversionFailure.
  void AppendUtf8(std::string_view text, int line, std::string& out);
  // Appends text held for `line` to `out` in the 8-bit code page in force at that line.
  // Raises ConversionFailure.
  void AppendCodePage(std::string_view text, int line, std::string& out);

  // Warnings "text looks like UTF-8 but code page 1251 is in force" at the first such line of
  // each stretch under one code page. Only 8-bit scripts are examined.
  std::vector<Diagnostic> Utf8Warnings();
  // The code pages text is read in: "1252", "1251 1252", "65001" (Unicode scripts) or "none".
  std::string Summary() const;
  // The stretches of lines and their code pages (one stretch of 65001 for Unicode scripts).
  std::vector<CodePageRegion> Regions() const;

 private:
  bool HeldAsUtf8() const;
  [[noreturn]] void Fail(const ConversionError& error, int line, bool toUtf8);

  const clsRC& rc_;
  CodePageMap map_;
  CodePageConverter converter_;
  std::string scratch_;
};

}  // namespace tamrel::tool
