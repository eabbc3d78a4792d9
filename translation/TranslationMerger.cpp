// The in-place merge: checks every translation against its unit, encodes it as a literal for
// the unit's line, and rebuilds the file's lines around the new literals.
#include "translation/TranslationMerger.h"

#include <algorithm>
#include <cstdio>
#include <unordered_map>

#include "common/RCError.h"
#include "translation/LanguageSection.h"
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

bool HasHighBytes(std::string_view text) {
  return std::any_of(text.begin(), text.end(), [](char c) { return static_cast<unsigned char>(c) >= 0x80; });
}

// Names the header that defines the LANG_ names among the script's #include lines.
bool IncludesLanguageNames(const std::vector<std::string>& lines) {
  for (const std::string& line : lines) {
    const std::size_t first = line.find_first_not_of(" \t");
    if (first == std::string::npos || line.compare(first, 1, "#") != 0 || line.find("include") == std::string::npos)
      continue;
    for (std::string_view header : {"windows.h", "winres", "afxres", "winnt.h", "winuser"})
      if (line.find(header) != std::string::npos) return true;
  }
  return false;
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

  // With a target language: the translated section's places, and the code page its 8-bit text
  // is written in (`transcode`: converted from the code page of each line to that one).
  const bool convertLines = toUnicode && !heldAsUtf8;
  const bool translating = options.language.has_value();
  CodePageMap map = convertLines || translating ? CodePageMap(rc.Lines, options.defaultCodePage, options.ignorePragmas)
                                                : CodePageMap();
  SectionPlaces places;
  std::vector<char> place(lines.size() + 1, 0);  // by line: L(ANGUAGE), P(ragma), K(ey), T(ranslation)
  std::vector<bool> inSection(lines.size() + 1, false);
  bool transcode = false;
  int sectionCodePage = kUtf8CodePage;
  std::vector<std::pair<int, std::string>> inserted;  // (before line, text without line end)
  if (translating) {
    places = FindTranslatedSection(rc, lines);
    for (const auto& [first, last] : places.ranges)
      for (int l = first; l <= last; ++l) inSection[static_cast<std::size_t>(l)] = true;
    for (int l : places.languageLines) place[static_cast<std::size_t>(l)] = 'L';
    for (int l : places.pragmaLines) place[static_cast<std::size_t>(l)] = 'P';
    for (int l : places.versionKeyLines) place[static_cast<std::size_t>(l)] = 'K';
    for (int l : places.translationLines) place[static_cast<std::size_t>(l)] = 'T';
    const int sectionStart = places.topLevelLines.empty() ? (places.ranges.empty() ? 1 : places.ranges.front().first)
                                                          : places.topLevelLines.front();
    // A section that was UTF-8 already (its first pragma, or the code page where it starts) stays UTF-8.
    const int sectionWas = map.At(places.pragmaLines.empty() ? sectionStart : places.pragmaLines.front());
    if (options.encoding == MergeEncoding::Same && !heldAsUtf8 && sectionWas != kUtf8CodePage) {
      transcode = true;
      sectionCodePage = options.language->codePage == kNoCodePage ? kUtf8CodePage : options.language->codePage;
    }
    const std::string eol = lines.empty() ? std::string() : lines.front().substr(lines.front().size() - LineEndLength(lines.front()));
    if (places.topLevelLines.empty() && places.languageLines.empty()) {
      const LanguageInfo& target = *options.language;
      const int before = places.firstStatementLine > 0 ? places.firstStatementLine : static_cast<int>(lines.size()) + 1;
      inserted.emplace_back(before, RewriteLanguageStatement(IncludesLanguageNames(lines) ? "LANGUAGE LANG_X, SUBLANG_X"
                                                                                           : "LANGUAGE 0x00, 0x00",
                                                             target));
    }
    // A stretch without a pragma of its own gets one after its LANGUAGE statement, and the lines
    // after it that need the code page in force before get it back.
    for (const auto& [first, last] : places.ranges) {
      if (!transcode) break;
      const bool hasPragma = std::any_of(places.pragmaLines.begin(), places.pragmaLines.end(),
                                         [&, first = first, last = last](int l) { return l >= first && l <= last; });
      if (hasPragma || map.At(first) == sectionCodePage) continue;
      int after = 0;
      for (int l : places.topLevelLines)
        if (l >= first && l <= last) {
          after = l;
          break;
        }
      if (after == 0 && !inserted.empty()) after = -1;  // with the inserted LANGUAGE statement
      inserted.emplace_back(after > 0 ? after + 1 : after < 0 ? inserted.back().first : first,
                            "#pragma code_page(" + std::to_string(sectionCodePage) + ")");
      const int previous = map.At(last + 1);
      if (last >= static_cast<int>(lines.size()) || previous == kNoCodePage || previous == sectionCodePage) continue;
      bool needed = false;
      for (int l = last + 1; l <= static_cast<int>(lines.size()) && !needed; ++l) {
        if (map.RegionAt(l).pragmaLine == l) break;
        needed = HasHighBytes(lines[static_cast<std::size_t>(l - 1)]);
      }
      if (needed) inserted.emplace_back(last + 1, "#pragma code_page(" + std::to_string(previous) + ")");
    }
    for (auto& [line, text] : inserted) text += eol.empty() ? "\r\n" : eol;
    std::stable_sort(inserted.begin(), inserted.end(),
                     [](const auto& a, const auto& b) { return a.first < b.first; });
  }

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
    const int codePage = toUnicode || heldAsUtf8                                         ? kUtf8CodePage
                         : transcode && inSection[static_cast<std::size_t>(unit.line)] ? sectionCodePage
                                                                                       : unit.codePage;
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
  bool sawPragma = false;
  bool nonAscii = false;
  std::string utf8;
  auto piece = [&](std::string_view bytes, int line, std::string& out) {
    // Bytes under no code page cannot be read, so they stay as they are.
    const bool recode = transcode && inSection[static_cast<std::size_t>(line)] && map.At(line) != sectionCodePage &&
                        map.At(line) != kNoCodePage && HasHighBytes(bytes);
    if (!convertLines && !recode) {
      out.append(bytes);
      return true;
    }
    utf8.clear();
    std::optional<ConversionError> error = converter.ToUtf8(bytes, map.At(line), recode ? utf8 : out);
    if (!error && recode) error = converter.FromUtf8(utf8, sectionCodePage, out);
    if (error) {
      std::string message = prefix + "line " + std::to_string(line) + ": " + error->Describe();
      if (error->kind == ConversionError::Kind::Unrepresentable)
        message += "; write the script with --encoding utf-8 or utf-16";
      result.errors.push_back(std::move(message));
      return false;
    }
    return true;
  };
  // The rewrite of a line of the translated section that names its language or code page.
  const int outputCodePage = transcode ? sectionCodePage : kUtf8CodePage;
  const bool rewritePragmas = transcode || (options.encoding == MergeEncoding::Same && result.encoding == TextEncoding::Utf8Bom);
  auto rewrite = [&](char kind, std::string_view content) {
    const LanguageInfo& target = *options.language;
    switch (kind) {
      case 'L': return RewriteLanguageStatement(content, target);
      case 'P': return rewritePragmas ? RewriteCodePagePragma(content, outputCodePage) : std::string(content);
      case 'K': return RewriteVersionKey(content, target, outputCodePage, places.versionLanguage);
      default: return RewriteTranslationValue(content, target, outputCodePage, places.versionLanguage);
    }
  };
  std::size_t next = 0;
  std::size_t nextInsert = 0;
  std::vector<std::string> out;
  out.reserve(lines.size() + 1 + inserted.size());
  for (std::size_t i = 0; i < lines.size(); ++i) {
    const int line = static_cast<int>(i + 1);
    for (; nextInsert < inserted.size() && inserted[nextInsert].first == line; ++nextInsert)
      out.push_back(inserted[nextInsert].second);
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
    if (place[i + 1] != 0) {
      const std::size_t end = text.size() - LineEndLength(text);
      text = rewrite(place[i + 1], std::string_view(text).substr(0, end)) + text.substr(end);
    }
    if (options.encoding == MergeEncoding::Utf8) {
      const std::size_t end = text.size() - LineEndLength(text);
      if (ParseCodePagePragma(std::string_view(text).substr(0, end))) {
        sawPragma = true;
        text = RewriteCodePagePragma(std::string_view(text).substr(0, end), kUtf8CodePage) + text.substr(end);
      }
      nonAscii = nonAscii || std::any_of(text.begin(), text.end(), [](char c) { return static_cast<unsigned char>(c) >= 0x80; });
    }
    out.push_back(std::move(text));
  }
  for (; nextInsert < inserted.size(); ++nextInsert) out.push_back(inserted[nextInsert].second);
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
