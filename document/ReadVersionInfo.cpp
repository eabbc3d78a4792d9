// Reader of VERSIONINFO resources (relaxed reading only): the fixed fields, the StringFileInfo
// language blocks and VarFileInfo's Translation. A block of any other shape is left to be kept
// raw, so that nothing of it is lost.
#include <array>
#include <string>
#include <string_view>

#include "document/clsRC.h"

namespace tamrel {
namespace {

bool IsBlank(char c) { return c == ' ' || c == '\t'; }

std::string_view Word(std::string_view text) {
  std::size_t end = 0;
  while (end < text.size() && !IsBlank(text[end])) ++end;
  return text.substr(0, end);
}

std::string_view Rest(std::string_view text) {
  text.remove_prefix(Word(text).size());
  while (!text.empty() && IsBlank(text.front())) text.remove_prefix(1);
  return text;
}

// A quoted name at the start of `text` without its quotes; `text` is left behind it, past
// blanks and one comma. Empty when `text` does not start with a quote.
std::string_view TakeQuoted(std::string_view& text) {
  if (!text.starts_with('"')) return {};
  const std::size_t close = text.find('"', 1);
  if (close == std::string_view::npos) return {};
  const std::string_view name = text.substr(1, close - 1);
  text.remove_prefix(close + 1);
  while (!text.empty() && IsBlank(text.front())) text.remove_prefix(1);
  if (text.starts_with(',')) text.remove_prefix(1);
  while (!text.empty() && IsBlank(text.front())) text.remove_prefix(1);
  return name;
}


}  // namespace

bool clsRC::ReadVersionInfo(Int16 header, Int16 last, const std::string& language) {
  clsVersionInfo info;
  const std::string_view head = TrimmedLine(header);
  info.ID = Word(head);
  info.Options = Rest(Rest(head));
  if (info.Options.starts_with("//")) info.Options.clear();
  info.SectionLanguage = language;
  info.Line = header;

  // The fixed part, up to BEGIN.
  std::int32_t line = static_cast<std::int32_t>(header) + 1;
  bool directives = false;
  for (; line <= last; ++line) {
    const std::string_view text = TrimmedLine(Int16(line));
    if (text.empty() || text.starts_with("//")) continue;
    if (text.starts_with('#')) {
      directives = true;
      continue;
    }
    const std::string_view word = Word(text);
    if (word == "BEGIN" || word == "{") break;
    if (word == "LANGUAGE") continue;
    bool known = false;
    for (const auto& [keyword, field] : clsVersionInfo::kFixedFields) {
      if (word != keyword) continue;
      known = true;
      if ((info.*field).empty()) {
        Int16 count;
        std::string joined;
        info.*field = Rest(RelaxedStatementAt(Int16(line), count, joined));
        line += count - 1;
      }
    }
    if (!known) return false;
  }
  if (directives)
    for (std::int32_t k = static_cast<std::int32_t>(header) + 1; k < line; ++k)
      info.FixedText.Add(Lines.Item(Int16(k)));

  // The block: 1 inside VERSIONINFO, 2 inside StringFileInfo, 3 inside a language block,
  // 4 inside VarFileInfo. Each BLOCK must be followed by its BEGIN.
  enum { kTop = 1, kStrings = 2, kLanguage = 3, kVars = 4 };
  int state = kTop;
  bool expectOpen = false;
  int afterOpen = kTop;
  std::string joined;
  for (++line; line <= last; ++line) {
    Int16 count = 1;
    const std::string_view raw = TrimmedLine(Int16(line));
    if (raw.empty() || raw.starts_with("//")) continue;
    const std::string_view text = RelaxedStatementAt(Int16(line), count, joined);
    const std::string_view word = Word(text);
    if (expectOpen) {
      if (word != "BEGIN" && word != "{") return false;
      expectOpen = false;
      state = afterOpen;
      continue;
    }
    if (word == "END" || word == "}") {
      if (state == kTop) {
        if (line != last || (info.StringFileInfo.Empty() && info.Translation.empty())) return false;
        VersionInfos.Add(std::move(info));
        return true;
      }
      state = state == kLanguage ? kStrings : kTop;
      continue;
    }
    std::string_view rest = Rest(text);
    if (word == "BLOCK") {
      const std::string_view name = TakeQuoted(rest);
      if (!rest.empty()) return false;
      if (state == kTop && name == "StringFileInfo") {
        afterOpen = kStrings;
      } else if (state == kTop && name == "VarFileInfo") {
        afterOpen = kVars;
      } else if (state == kStrings && !name.empty()) {
        clsVersionBlock block;
        block.Key = name;
        block.Line = Int16(line);
        info.StringFileInfo.Add(std::move(block));
        afterOpen = kLanguage;
      } else {
        return false;
      }
      expectOpen = true;
    } else if (word == "VALUE" && state == kLanguage) {
      if (!rest.starts_with('"')) return false;
      clsVersionValue value;
      value.Name = TakeQuoted(rest);
      value.Value = rest;
      value.Line = Int16(line);
      info.StringFileInfo.Item(info.StringFileInfo.Count()).Values.Add(std::move(value));
    } else if (word == "VALUE" && state == kVars && TakeQuoted(rest) == "Translation" &&
               info.Translation.empty()) {
      // Pairs of language and code page, separated by commas.
      std::string_view first;
      bool half = false;
      while (!rest.empty()) {
        const std::size_t comma = rest.find(',');
        std::string_view number = rest.substr(0, comma);
        while (!number.empty() && IsBlank(number.back())) number.remove_suffix(1);
        while (!number.empty() && IsBlank(number.front())) number.remove_prefix(1);
        if (number.empty() || number.find_first_of(" \t") != std::string_view::npos) return false;
        if (half)
          info.Translation.emplace_back(first, number);
        else
          first = number;
        half = !half;
        rest = comma == std::string_view::npos ? std::string_view() : rest.substr(comma + 1);
      }
      if (half || info.Translation.empty()) return false;
    } else {
      return false;
    }
    line += count - 1;
  }
  return false;
}

}  // namespace tamrel
