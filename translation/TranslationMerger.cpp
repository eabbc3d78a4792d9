// The in-place merge: checks every translation against its unit, encodes it as a literal for
// the unit's line, and rebuilds the file's lines around the new literals.
#include "translation/TranslationMerger.h"

#include <algorithm>
#include <cstdio>
#include <unordered_map>

#include "common/RCError.h"
#include "translation/RcEscapes.h"
#include "common/Utf8Text.h"

namespace tamrel {
namespace {

struct Replacement {
  int line = 0;
  std::size_t offset = 0;
  std::size_t length = 0;
  std::string literal;
};

std::string Join(const std::vector<std::string>& texts) {
  std::string joined;
  for (const std::string& text : texts) joined.append(joined.empty() ? "" : " ").append(text);
  return joined.empty() ? "none" : joined;
}

std::string UnitName(const TranslationUnit& unit) {
  return unit.context + " (line " + std::to_string(unit.line) + ")";
}

std::size_t LineEndLength(std::string_view line) {
  if (line.ends_with("\r\n")) return 2;
  return !line.empty() && (line.back() == '\r' || line.back() == '\n') ? 1 : 0;
}

// A "#pragma code_page(...)" line with its argument replaced by 65001.
std::string Utf8Pragma(std::string_view content) {
  const std::size_t open = content.find('(', content.find("code_page"));
  const std::size_t close = content.find(')', open);
  if (open == std::string_view::npos || close == std::string_view::npos) return std::string(content);
  return std::string(content.substr(0, open + 1)) + "65001" + std::string(content.substr(close));
}

}  // namespace

std::vector<std::string> SplitKeepingEnds(std::string_view text) {
  std::vector<std::string> lines;
  std::size_t start = 0;
  while (start < text.size()) {
    std::size_t end = text.find_first_of("\r\n", start);
    if (end == std::string_view::npos) {
      lines.emplace_back(text.substr(start));
      break;
    }
    end += (text[end] == '\r' && end + 1 < text.size() && text[end + 1] == '\n') ? 2 : 1;
    lines.emplace_back(text.substr(start, end - start));
    start = end;
  }
  return lines;
}

std::string MergeResult::Bytes() const {
  std::string joined;
  std::size_t size = 0;
  for (const std::string& line : lines) size += line.size();
  joined.reserve(size);
  for (const std::string& line : lines) joined.append(line);
  return EncodeText(joined, encoding, true);
}

MergeResult ApplyTranslations(const clsRC& rc, std::string_view fileBytes, const std::vector<TranslationUnit>& units,
                              const std::vector<CatalogEntry>& entries, const MergeOptions& options,
                              const std::string& scriptName) {
  MergeResult result;
  const std::string prefix = scriptName.empty() ? "" : scriptName + ": ";
  TextEncoding sourceEncoding = TextEncoding::Bytes;
  std::vector<std::string> lines;
  try {
    lines = SplitKeepingEnds(DecodeScript(fileBytes, sourceEncoding));
  } catch (const RCError& e) {
    result.errors.push_back(prefix + e.Description());
    return result;
  }
  bool matches = lines.size() == static_cast<std::size_t>(rc.Lines.Count());
  for (std::size_t i = 0; matches && i < lines.size(); ++i) {
    std::string_view line = lines[i];
    matches = line.substr(0, line.size() - LineEndLength(line)) == rc.Lines.Item(static_cast<std::int32_t>(i + 1));
  }
  if (!matches) {
    result.errors.push_back(prefix + "the file is no longer the script that was loaded");
    return result;
  }

  const bool toUnicode = options.encoding != MergeEncoding::Same;
  const bool heldAsUtf8 = sourceEncoding != TextEncoding::Bytes;
  result.encoding = options.encoding == MergeEncoding::Same ? sourceEncoding
                    : options.encoding == MergeEncoding::Utf8 ? TextEncoding::Bytes
                                                               : TextEncoding::Utf16LE;

  std::unordered_map<std::string_view, const TranslationUnit*> byContext;
  for (const TranslationUnit& unit : units) byContext.emplace(unit.context, &unit);
  std::unordered_map<std::string_view, bool> done;
  CodePageConverter converter;
  std::vector<Replacement> replacements;
  for (const CatalogEntry& entry : entries) {
    if (entry.target.empty() || (entry.fuzzy && !options.useFuzzy)) continue;
    ++result.translated;
    auto found = byContext.find(entry.context);
    if (found == byContext.end()) {
      ++result.unmatched;
      result.warnings.push_back(prefix + "no unit " + PrintableText(entry.context) +
                                " in the script; its translation is not used");
      continue;
    }
    const TranslationUnit& unit = *found->second;
    if (!done.emplace(unit.context, true).second) {
      result.warnings.push_back(prefix + UnitName(unit) + " is translated twice; the first translation is used");
      continue;
    }
    if (entry.source != unit.text) {
      result.warnings.push_back(prefix + UnitName(unit) +
                                ": the translation is for another source text; the script's text is kept");
      continue;
    }
    if (!unit.problem.empty()) {
      result.errors.push_back(prefix + UnitName(unit) + ": cannot be translated in place: " + unit.problem);
      continue;
    }
    if (!IsValidUtf8(entry.target)) {
      result.errors.push_back(prefix + UnitName(unit) + ": the translation is not valid UTF-8");
      continue;
    }
    const auto sourceConversions = PrintfPlaceholders(unit.text);
    const auto targetConversions = PrintfPlaceholders(entry.target);
    if (!options.force && sourceConversions != targetConversions) {
      result.errors.push_back(prefix + UnitName(unit) + ": the translation's printf conversions (" +
                              Join(targetConversions) + ") differ from the source's (" + Join(sourceConversions) +
                              ")");
      continue;
    }
    if (entry.target == unit.text) continue;
    const int codePage = toUnicode || heldAsUtf8 ? kUtf8CodePage : unit.codePage;
    Replacement replacement{unit.line, unit.offset, unit.length, {}};
    if (auto error = EncodeLiteral(entry.target, unit.wide, codePage, converter, replacement.literal)) {
      std::string message = prefix + UnitName(unit) + ": " + error->Describe();
      if (error->kind == ConversionError::Kind::Unrepresentable)
        message += "; write the script with --encoding utf-8 or utf-16";
      result.errors.push_back(std::move(message));
      continue;
    }
    if (unit.terminated) replacement.literal.insert(replacement.literal.size() - 1, "\\0");
    replacements.push_back(std::move(replacement));
  }
  if (!result.errors.empty()) return result;

  std::sort(replacements.begin(), replacements.end(), [](const Replacement& a, const Replacement& b) {
    return a.line != b.line ? a.line < b.line : a.offset < b.offset;
  });
  const bool convertLines = toUnicode && !heldAsUtf8;
  CodePageMap map = convertLines ? CodePageMap(rc.Lines, options.defaultCodePage, options.ignorePragmas) : CodePageMap();
  bool sawPragma = false;
  bool nonAscii = false;
  auto piece = [&](std::string_view bytes, int line, std::string& out) {
    if (!convertLines) {
      out.append(bytes);
      return true;
    }
    if (auto error = converter.ToUtf8(bytes, map.At(line), out)) {
      result.errors.push_back(prefix + "line " + std::to_string(line) + ": " + error->Describe());
      return false;
    }
    return true;
  };
  std::size_t next = 0;
  std::vector<std::string> out;
  out.reserve(lines.size() + 1);
  for (std::size_t i = 0; i < lines.size(); ++i) {
    const int line = static_cast<int>(i + 1);
    std::string_view original = lines[i];
    std::string text;
    std::size_t at = 0;
    bool converted = true;
    for (; next < replacements.size() && replacements[next].line == line; ++next) {
      const Replacement& r = replacements[next];
      if (r.offset < at) continue;  // two units on one literal: the first replacement stands
      converted = converted && piece(original.substr(at, r.offset - at), line, text);
      text.append(r.literal);
      at = r.offset + r.length;
      ++result.applied;
    }
    if (!converted || !piece(original.substr(at), line, text)) return result;
    if (options.encoding == MergeEncoding::Utf8) {
      const std::size_t end = text.size() - LineEndLength(text);
      if (ParseCodePagePragma(std::string_view(text).substr(0, end))) {
        sawPragma = true;
        text = Utf8Pragma(std::string_view(text).substr(0, end)) + text.substr(end);
      }
      nonAscii = nonAscii || std::any_of(text.begin(), text.end(), [](char c) { return static_cast<unsigned char>(c) >= 0x80; });
    }
    out.push_back(std::move(text));
  }
  // UTF-8 without a mark is read as UTF-8 only under a pragma that says so.
  if (options.encoding == MergeEncoding::Utf8 && nonAscii && !sawPragma) {
    std::string eol = lines.empty() ? "\r\n" : lines.front().substr(lines.front().size() - LineEndLength(lines.front()));
    if (eol.empty()) eol = "\r\n";
    out.insert(out.begin(), "#pragma code_page(65001)" + eol);
  }
  result.lines = std::move(out);
  return result;
}

}  // namespace tamrel
