// Code pages of a loaded script and conversions of its text, with messages that point at the
// script line and column where a conversion failed.
#include "tamrel-rc/ScriptText.h"

#include <CLI/CLI.hpp>

namespace tamrel::tool {

void AddCodePageOptions(CLI::App& command, CodePageOptions& options) {
  command
      .add_option(
          "--code-page", options.defaultCodePage,
          "Code page of 8-bit text that no #pragma code_page covers (1252, 932, 65001 for UTF-8, ...); "
          "without it such text must be ASCII when it is converted")
      ->check(CLI::Validator(
          [](std::string& value) -> std::string {
            try {
              if (!IconvName(std::stoi(value)).empty()) return {};
            } catch (const std::exception&) {
            }
            return "code page " + value + " is not supported";
          },
          "N"));
  command.add_flag("--ignore-pragmas", options.ignorePragmas,
                   "Take every line in the --code-page code page, whatever #pragma code_page lines say");
}

ScriptText::ScriptText(const clsRC& rc, const CodePageOptions& options)
    : rc_(rc), map_(rc.Lines, options.defaultCodePage, options.ignorePragmas) {}

bool ScriptText::HeldAsUtf8() const { return rc_.SourceEncoding != TextEncoding::Bytes; }

int ScriptText::HeldCodePage(int line) const {
  if (line == kNotScriptText || HeldAsUtf8()) return kUtf8CodePage;
  return map_.At(line);
}

void ScriptText::Fail(const ConversionError& error, int line, bool toUtf8) {
  Diagnostic failure;
  failure.path = rc_.Path;
  failure.message = error.Describe();
  if (error.kind == ConversionError::Kind::Unsupported) {
    // Name the pragma that set the code page, not the text that met it.
    int pragmaLine = map_.RegionAt(line).pragmaLine;
    if (pragmaLine > 0) line = pragmaLine;
  }
  if (error.kind == ConversionError::Kind::NoCodePage)
    failure.message += ": add #pragma code_page(N) or give --code-page N";
  if (line > 0 && line <= rc_.Lines.Count()) {
    failure.line = line;
    // The item's text is a piece of its script line: the line itself shows the column.
    if (error.kind != ConversionError::Kind::Unsupported) {
      std::string converted;
      const std::string& raw = rc_.Lines.Item(line);
      const int codePage = toUtf8 ? HeldCodePage(line) : map_.At(line);
      std::optional<ConversionError> again = toUtf8 ? converter_.ToUtf8(raw, codePage, converted)
                                                    : converter_.FromUtf8(raw, codePage, converted);
      if (again && again->kind == error.kind && again->value == error.value)
        failure.column = static_cast<int>(again->offset) + 1;
    }
  }
  throw ConversionFailure(std::move(failure));
}

void ScriptText::AppendUtf8(std::string_view text, int line, std::string& out) {
  if (std::optional<ConversionError> error = converter_.ToUtf8(text, HeldCodePage(line), out))
    Fail(*error, line, true);
}

void ScriptText::AppendCodePage(std::string_view text, int line, std::string& out) {
  if (!HeldAsUtf8()) {
    out.append(text);  // 8-bit text is held in the code page of its line already
    return;
  }
  if (std::optional<ConversionError> error = converter_.FromUtf8(text, map_.At(line), out))
    Fail(*error, line, false);
}

std::vector<Diagnostic> ScriptText::Utf8Warnings() {
  std::vector<Diagnostic> warnings;
  if (HeldAsUtf8()) return warnings;
  const CodePageRegion* warned = nullptr;
  int line = 0;
  for (const std::string& text : rc_.Lines) {
    ++line;
    const CodePageRegion& region = map_.RegionAt(line);
    if (&region == warned || region.codePage == kNoCodePage || region.codePage == kUtf8CodePage) continue;
    if (!converter_.LooksLikeUtf8(text)) continue;
    warned = &region;
    Diagnostic warning;
    warning.path = rc_.Path;
    warning.line = line;
    warning.severity = "warning";
    warning.message = "text looks like UTF-8 but code page " + std::to_string(region.codePage) + " is in force";
    warnings.push_back(std::move(warning));
  }
  return warnings;
}

std::string ScriptText::Summary() const {
  if (HeldAsUtf8()) return std::to_string(kUtf8CodePage);
  std::string summary;
  for (int codePage : map_.CodePagesUsed())
    summary += (summary.empty() ? "" : " ") + std::to_string(codePage);
  return summary.empty() ? "none" : summary;
}

std::vector<CodePageRegion> ScriptText::Regions() const {
  if (HeldAsUtf8()) return {CodePageRegion{1, kUtf8CodePage, 0}};
  return map_.Regions();
}

}  // namespace tamrel::tool
