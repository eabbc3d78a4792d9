// Relaxed reading at the top level of a script: LANGUAGE statements, the language each item
// stands in and whether its section is taken, version resources, and every other resource,
// kept raw with its lines as written. Each routine passes over a resource's lines once.
#include <array>
#include <string>
#include <string_view>

#include "document/clsRC.h"

namespace tamrel {
namespace {

bool IsBlank(char c) { return c == ' ' || c == '\t'; }

// The first word of a trimmed line: up to the first blank or tab.
std::string_view FirstWord(std::string_view trimmed) {
  std::size_t end = 0;
  while (end < trimmed.size() && !IsBlank(trimmed[end])) ++end;
  return trimmed.substr(0, end);
}

// The second word of a trimmed line, or empty.
std::string_view SecondWord(std::string_view trimmed) {
  std::size_t at = FirstWord(trimmed).size();
  while (at < trimmed.size() && IsBlank(trimmed[at])) ++at;
  return FirstWord(trimmed.substr(at));
}

// The line's text behind its first `words` words, trimmed, without a "//" comment.
std::string_view AfterWords(std::string_view trimmed, int words) {
  for (int k = 0; k < words; ++k) {
    trimmed.remove_prefix(FirstWord(trimmed).size());
    while (!trimmed.empty() && IsBlank(trimmed.front())) trimmed.remove_prefix(1);
  }
  bool quoted = false;
  for (std::size_t i = 0; i + 1 < trimmed.size(); ++i) {
    if (trimmed[i] == '"') quoted = !quoted;
    if (!quoted && trimmed[i] == '/' && trimmed[i + 1] == '/') {
      trimmed = trimmed.substr(0, i);
      break;
    }
  }
  while (!trimmed.empty() && IsBlank(trimmed.back())) trimmed.remove_suffix(1);
  return trimmed;
}

bool Opens(std::string_view word) { return word == "BEGIN" || word == "{"; }
bool Closes(std::string_view word) { return word == "END" || word == "}"; }

// The primary language of "LANG_X, SUBLANG_Y".
std::string_view Primary(std::string_view language) { return language.substr(0, language.find(',')); }

bool IsNeutral(std::string_view language) {
  const std::string_view primary = Primary(language);
  return primary == "LANG_NEUTRAL" || primary == "0" || primary == "0x0" || primary == "0x00";
}

}  // namespace

std::string clsRC::NormalLanguage(std::string_view arguments) {
  std::string language;
  std::size_t at = 0;
  while (at < arguments.size()) {
    while (at < arguments.size() && (IsBlank(arguments[at]) || arguments[at] == ',')) ++at;
    const std::size_t start = at;
    while (at < arguments.size() && !IsBlank(arguments[at]) && arguments[at] != ',') ++at;
    if (at == start) break;
    if (!language.empty()) language.append(", ");
    language.append(arguments.substr(start, at - start));
  }
  return language;
}

bool clsRC::TakesLanguage(std::string_view language) const {
  if (language.empty() || Language.empty() || IsNeutral(language)) return true;
  if (language == Language) return true;
  // A language chosen without its sublanguage takes every sublanguage of it.
  const bool primaryOnly = Language.find(',') == std::string::npos;
  if (m_options.languageId) {
    const std::optional<int> id = m_options.languageId(language);
    const std::optional<int> taken = m_options.languageId(Language);
    if (id && taken) return primaryOnly ? (*id & 0x3ff) == (*taken & 0x3ff) : *id == *taken;
  }
  return primaryOnly && Primary(language) == Language;
}

Int16 clsRC::OpeningLine(Int16 header, std::string& language) const {
  for (std::int32_t line = static_cast<std::int32_t>(header) + 1; line <= Lines.Count(); ++line) {
    const std::string_view text = TrimmedLine(Int16(line));
    const std::string_view word = FirstWord(text);
    if (Opens(word)) return Int16(line);
    if (word == "LANGUAGE") language = NormalLanguage(AfterWords(text, 1));
  }
  return Int16(0);
}

Int16 clsRC::ClosingLine(Int16 opening) const {
  std::int32_t depth = 0;
  for (std::int32_t line = opening; line <= Lines.Count(); ++line) {
    const std::string_view text = TrimmedLine(Int16(line));
    const std::string_view word = FirstWord(text);
    if (Opens(word) && word.size() > 1)
      ++depth;
    else if (Closes(word) && word.size() > 1)
      --depth;
    // Braces anywhere outside quotes and comments (data written "{ 1, 2 }" on one line).
    bool quoted = false;
    for (std::size_t i = 0; i < text.size(); ++i) {
      const char c = text[i];
      if (c == '"') quoted = !quoted;
      if (quoted) continue;
      if (c == '/' && i + 1 < text.size() && text[i + 1] == '/') break;
      if (c == '{') ++depth;
      if (c == '}') --depth;
    }
    if (depth <= 0) return Int16(line);
  }
  return Int16(0);
}

Int16 clsRC::BlockEnd(Int16 header, std::string& language) {
  const Int16 opening = OpeningLine(header, language);
  const Int16 closing = opening == 0 ? Int16(0) : ClosingLine(opening);
  if (closing == 0)
    Report(Procedure{"RCpR", opening == 0 ? "01" : "02"}, RCError(err::OutOfRange),
           StatementLocation(header));
  return closing;
}

Int16 clsRC::ResourceEnd(Int16 header, bool block, std::string& language) {
  if (block) return BlockEnd(header, language);
  Int16 count;
  std::string joined;
  RelaxedStatementAt(header, count, joined);
  return Int16(header + count - 1);
}

void clsRC::ChooseLanguage() {
  m_language.clear();
  m_skippedOpen = false;
  Language = NormalLanguage(m_options.language);
  if (!Language.empty()) return;
  std::string current;
  for (std::int32_t line = 1; line <= Lines.Count(); ++line) {
    const std::string_view text = TrimmedLine(Int16(line));
    const std::string_view word = FirstWord(text);
    if (word == "LANGUAGE") {
      current = NormalLanguage(AfterWords(text, 1));
      continue;
    }
    const std::string_view type = SecondWord(text);
    const bool section =
        word == "STRINGTABLE" || type == "DIALOG" || type == "DIALOGEX" || type == "MENU" || type == "MENUEX";
    bool block = false;
    if (section) {
      std::string language = current;
      const Int16 opening = OpeningLine(Int16(line), language);
      if (!language.empty() && !IsNeutral(language)) {
        Language = std::move(language);
        return;
      }
      if (opening == 0 || (line = ClosingLine(opening)) == 0) return;
    } else if (type == "DESIGNINFO" || (!OtherResourceType(Int16(line), block).empty() && block)) {
      // Blocks passed over whole: what they hold ("IDD_ABOUT, DIALOG") heads no section.
      std::string ignored;
      const Int16 opening = OpeningLine(Int16(line), ignored);
      if (opening == 0 || (line = ClosingLine(opening)) == 0) return;
    }
  }
}

void clsRC::ReadOptionStatements(Int16& cursor, LineCollection& into) {
  // Only these statements, blank lines and comments are passed over, so that a header without
  // BEGIN stops here instead of swallowing what follows it.
  auto isOption = [](std::string_view line) {
    const std::string_view word = FirstWord(line);
    return line.empty() || line.starts_with("//") || word == "LANGUAGE" || word == "VERSION" ||
           word == "CHARACTERISTICS";
  };
  Int16 count;
  std::string joined;
  while (cursor <= Lines.Count() && isOption(TrimmedLine(cursor))) {
    const std::string_view option = StatementAt(cursor, count, joined);
    if (!option.empty() && !option.starts_with("//")) into.Add(std::string(option));
    cursor += count;
  }
}

void clsRC::KeepRaw(Int16 header, Int16 last, std::string_view type, std::string language, bool skipped) {
  clsRawResource raw;
  const std::string_view text = TrimmedLine(header);
  if (type == "STRINGTABLE") {
    raw.Options = AfterWords(text, 1);
  } else {
    raw.ID = FirstWord(text);
    raw.Options = AfterWords(text, 2);
  }
  raw.ItemType = type;
  raw.SectionLanguage = std::move(language);
  raw.Line = header;
  raw.Skipped = skipped;
  raw.Text.Reserve(static_cast<std::size_t>(last - header + 1));
  for (std::int32_t line = header; line <= last; ++line) raw.Text.Add(Lines.Item(Int16(line)));
  if (skipped) {
    if (m_skippedOpen && !SkippedSections.empty() && SkippedSections.back().Language == raw.SectionLanguage) {
      SkippedSections.back().Last = last;
    } else {
      SkippedSections.push_back({raw.SectionLanguage, header, last});
    }
    m_skippedOpen = true;
  }
  RawResources.Add(std::move(raw));
}

bool clsRC::ReadTopLevelStatement(Int16& cursor) {
  const std::string_view text = TrimmedLine(cursor);
  if (FirstWord(text) == "LANGUAGE") {
    Int16 count;
    std::string joined;
    m_language = NormalLanguage(AfterWords(RelaxedStatementAt(cursor, count, joined), 1));
    if (!m_language.empty() && !IsNeutral(m_language) && TakesLanguage(m_language))
      LanguageLines.push_back(cursor);
    cursor += count - 1;
    return true;
  }
  bool block = false;
  const std::string_view type = OtherResourceType(cursor, block);
  if (type.empty()) return true;
  std::string language = m_language;
  const Int16 last = ResourceEnd(cursor, block, language);
  if (last == 0) return false;
  const bool taken = TakesLanguage(language);
  if (taken) m_skippedOpen = false;
  if (type == "VERSIONINFO" && taken && block && ReadVersionInfo(cursor, last, language)) {
    cursor = last;
    return true;
  }
  KeepRaw(cursor, last, type, std::move(language), !taken);
  cursor = last;
  return true;
}

bool clsRC::ReadRelaxedSection(std::int16_t which, std::string_view keyword, LanguageScope scope,
                               const Tokens& tokens, Int16& cursor) {
  if (scope == LanguageScope::None) return ReadSection(which, tokens, cursor);
  const bool block = scope == LanguageScope::Block;
  std::string language = m_language;
  if (block) OpeningLine(cursor, language);
  if (!TakesLanguage(language)) {
    const Int16 last = ResourceEnd(cursor, block, language);
    if (last == 0) return false;
    KeepRaw(cursor, last, keyword, std::move(language), true);
    cursor = last;
    return true;
  }
  m_skippedOpen = false;
  const std::int32_t entries = StringTable.Entries.Count();
  auto stamp = [&](auto& items, std::int32_t before) {
    for (std::int32_t k = before + 1; k <= items.Count(); ++k) items.Item(k).SectionLanguage = language;
  };
  const std::int32_t before[] = {Bitmaps.Count(), Icons.Count(), Cursors.Count(),
                                 Dialogs.Count(), Menus.Count(), Accelerators.Count()};
  if (!ReadSection(which, tokens, cursor)) return false;
  if (language.empty()) return true;
  stamp(Bitmaps, before[0]);
  stamp(Icons, before[1]);
  stamp(Cursors, before[2]);
  stamp(Dialogs, before[3]);
  stamp(Menus, before[4]);
  stamp(Accelerators, before[5]);
  stamp(StringTable.Entries, entries);
  return true;
}

}  // namespace tamrel
