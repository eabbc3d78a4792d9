// The translated section found by scanning the script's lines: comments and string literals
// are passed over, BEGIN/END (and braces) nesting is followed, and a LANGUAGE statement counts
// as a resource's own when it stands between a header that opens a block and that block.
#include "translation/LanguageSection.h"

#include <algorithm>
#include <charconv>
#include <cstdio>

#include "common/CodePage.h"
#include "common/modCommonTools.h"

namespace tamrel {
namespace {

struct Token {
  enum class Kind { Word, Number, String, Punct } kind;
  std::size_t offset;
  std::size_t length;
};

bool IsWordStart(char c) { return (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z') || c == '_'; }

std::string Upper(std::string_view text) {
  std::string upper(text);
  for (char& c : upper)
    if (c >= 'a' && c <= 'z') c = static_cast<char>(c - 'a' + 'A');
  return upper;
}

// The tokens of one line; comments are left out and `inComment` carries a /* comment on.
std::vector<Token> Lex(std::string_view line, bool& inComment) {
  std::vector<Token> tokens;
  std::size_t i = 0;
  while (i < line.size()) {
    if (inComment) {
      const std::size_t end = line.find("*/", i);
      if (end == std::string_view::npos) break;
      inComment = false;
      i = end + 2;
      continue;
    }
    const char c = line[i];
    if (c == ' ' || c == '\t' || c == '\r' || c == '\n' || c == '\f' || c == '\v') {
      ++i;
    } else if (c == '/' && i + 1 < line.size() && line[i + 1] == '/') {
      break;
    } else if (c == '/' && i + 1 < line.size() && line[i + 1] == '*') {
      inComment = true;
      i += 2;
    } else if (c == '"' || ((c == 'L' || c == 'l') && i + 1 < line.size() && line[i + 1] == '"')) {
      const std::size_t start = i;
      i += c == '"' ? 1 : 2;
      while (i < line.size()) {
        if (line[i] == '\\' && i + 1 < line.size()) {
          i += 2;
        } else if (line[i] == '"') {
          ++i;
          if (i < line.size() && line[i] == '"') ++i;  // "" stands for one quote
          else break;
        } else {
          ++i;
        }
      }
      tokens.push_back({Token::Kind::String, start, i - start});
    } else if (IsNameChar(c)) {
      const std::size_t start = i;
      while (i < line.size() && IsNameChar(line[i])) ++i;
      tokens.push_back({IsWordStart(c) ? Token::Kind::Word : Token::Kind::Number, start, i - start});
    } else {
      tokens.push_back({Token::Kind::Punct, i++, 1});
    }
  }
  return tokens;
}

std::string_view Text(std::string_view line, const Token& token) { return line.substr(token.offset, token.length); }

// A string token's text without its quotes (and L prefix).
std::string_view Content(std::string_view line, const Token& token) {
  std::string_view text = Text(line, token);
  if (!text.empty() && text.front() != '"') text.remove_prefix(1);
  if (text.size() >= 2) return text.substr(1, text.size() - 2);
  return {};
}

std::string_view WithoutEnd(std::string_view line) {
  while (!line.empty() && (line.back() == '\r' || line.back() == '\n')) line.remove_suffix(1);
  return line;
}

bool EqualsFolded(std::string_view a, std::string_view b) {
  return a.size() == b.size() && std::equal(a.begin(), a.end(), b.begin(), [](char x, char y) {
           return (x >= 'a' && x <= 'z' ? x - 'a' + 'A' : x) == (y >= 'a' && y <= 'z' ? y - 'a' + 'A' : y);
         });
}

bool IsBlockType(std::string_view word) {
  static constexpr std::string_view kTypes[] = {"DIALOG",  "DIALOGEX", "MENU",    "MENUEX",     "ACCELERATORS",
                                                "RCDATA",  "VERSIONINFO", "DLGINIT", "TOOLBAR", "DESIGNINFO",
                                                "TEXTINCLUDE", "STRINGTABLE"};
  return std::any_of(std::begin(kTypes), std::end(kTypes), [word](std::string_view type) { return EqualsFolded(word, type); });
}

bool IsHexKey(std::string_view text) {
  return text.size() == 8 && std::all_of(text.begin(), text.end(), [](char c) {
           return (c >= '0' && c <= '9') || (c >= 'a' && c <= 'f') || (c >= 'A' && c <= 'F');
         });
}



// `value` written as `original` is: hexadecimal with its prefix, width and letter case, or
// decimal.
std::string NumberLike(std::string_view original, int value) {
  const bool hex = original.size() > 2 && original[0] == '0' && (original[1] == 'x' || original[1] == 'X');
  if (!hex) return std::to_string(value);
  std::string_view digits = original.substr(2);
  while (!digits.empty() && (digits.back() == 'L' || digits.back() == 'l')) digits.remove_suffix(1);
  const bool upper = std::any_of(digits.begin(), digits.end(), [](char c) { return c >= 'A' && c <= 'F'; });
  char buffer[16];
  std::snprintf(buffer, sizeof buffer, upper ? "%0*X" : "%0*x", static_cast<int>(digits.size()), value);
  return std::string(original.substr(0, 2)) + buffer + std::string(original.substr(2 + digits.size()));
}

// The code page a version resource names for Unicode text.
constexpr int kUnicodeVersionCodePage = 1200;

int VersionCodePage(int old, int codePage) {
  if (old == kUnicodeVersionCodePage || codePage == kUtf8CodePage || codePage == kNoCodePage)
    return kUnicodeVersionCodePage;
  return codePage;
}

std::string Replaced(std::string_view line, std::size_t offset, std::size_t length, std::string_view by) {
  std::string out(line.substr(0, offset));
  out.append(by).append(line.substr(offset + length));
  return out;
}

struct Section {
  std::string key;
  std::optional<int> id;
  int first = 1;
};

enum class PlaceKind { Language, TopLevelLanguage, Pragma, VersionKey, Translation };

struct Place {
  int line;
  PlaceKind kind;
  int section;  // -1: before any LANGUAGE statement
};

}  // namespace

bool SectionPlaces::Contains(int line) const {
  return std::any_of(ranges.begin(), ranges.end(),
                     [line](const std::pair<int, int>& r) { return line >= r.first && line <= r.second; });
}

SectionPlaces FindTranslatedSection(const clsRC& rc, const std::vector<std::string>& lines,
                                    std::optional<int> chosen, const LanguageTable& table) {
  // The section translated is the one the reader took its items from.
  if (!chosen && !rc.Language.empty()) chosen = table.IdOf(rc.Language);
  std::vector<Section> sections;
  std::vector<Place> places;
  bool inComment = false;
  bool pendingHeader = false;
  std::string headerType;
  std::string lastBlock;
  std::vector<std::string> blocks;  // the label of each open BEGIN
  int firstStatement = 0;
  // Conditional blocks open, and the depth of the "#ifdef APSTUDIO_INVOKED" block being passed
  // (0: none): statements there are for the resource editor, never compiled, so a LANGUAGE
  // statement added before one of them would name the language of nothing.
  int conditionals = 0;
  int editorOnly = 0;
  for (std::size_t i = 0; i < lines.size(); ++i) {
    const int lineNumber = static_cast<int>(i + 1);
    const std::string_view line = WithoutEnd(lines[i]);
    const int section = static_cast<int>(sections.size()) - 1;
    if (!inComment) {
      const std::size_t first = line.find_first_not_of(" \t");
      if (first != std::string_view::npos && line[first] == '#') {
        if (ParseCodePagePragma(line)) places.push_back({lineNumber, PlaceKind::Pragma, section});
        std::string_view directive = line.substr(first + 1);
        directive.remove_prefix(std::min(directive.find_first_not_of(" \t"), directive.size()));
        if (directive.starts_with("if")) {
          ++conditionals;
          if (editorOnly == 0 && directive.starts_with("ifdef") &&
              directive.find("APSTUDIO_INVOKED") != std::string_view::npos)
            editorOnly = conditionals;
        } else if (directive.starts_with("endif") && conditionals > 0) {
          if (editorOnly == conditionals) editorOnly = 0;
          --conditionals;
        }
        continue;
      }
    }
    const std::vector<Token> tokens = Lex(line, inComment);
    if (tokens.empty()) continue;
    if (firstStatement == 0 && editorOnly == 0) firstStatement = lineNumber;
    const std::string_view first = Text(line, tokens[0]);
    if (blocks.empty() && EqualsFolded(first, "LANGUAGE") && tokens.size() > 1) {
      if (pendingHeader) {
        places.push_back({lineNumber, PlaceKind::Language, section});
        continue;
      }
      const std::string_view arguments =
          line.substr(tokens[1].offset, tokens.back().offset + tokens.back().length - tokens[1].offset);
      const std::optional<int> id = table.IdOf(arguments);
      std::string key = id ? "#" + std::to_string(*id) : std::string();
      if (!id)
        for (std::size_t t = 1; t < tokens.size(); ++t) key += Upper(Text(line, tokens[t]));
      if (sections.empty()) sections.push_back({key, id, 1});
      else if (sections.back().key != key) sections.push_back({key, id, lineNumber});
      places.push_back({lineNumber, PlaceKind::TopLevelLanguage, static_cast<int>(sections.size()) - 1});
      continue;
    }
    if (blocks.empty() && !pendingHeader) {
      if (EqualsFolded(first, "STRINGTABLE")) {
        pendingHeader = true;
        headerType = "STRINGTABLE";
      } else if (tokens.size() >= 2 && tokens[1].kind == Token::Kind::Word && IsBlockType(Text(line, tokens[1]))) {
        pendingHeader = true;
        headerType = Upper(Text(line, tokens[1]));
      }
    }
    const bool inVersion = !blocks.empty() && blocks.front() == "VERSIONINFO";
    for (std::size_t t = 0; t < tokens.size(); ++t) {
      const Token& token = tokens[t];
      const std::string_view text = Text(line, token);
      const bool next = t + 1 < tokens.size() && tokens[t + 1].kind == Token::Kind::String;
      if (EqualsFolded(text, "BEGIN") || text == "{") {
        blocks.push_back(blocks.empty() ? headerType : lastBlock);
        pendingHeader = false;
        lastBlock.clear();
      } else if (EqualsFolded(text, "END") || text == "}") {
        if (!blocks.empty()) blocks.pop_back();
      } else if (inVersion && EqualsFolded(text, "BLOCK") && next) {
        lastBlock = Content(line, tokens[t + 1]);
        if (EqualsFolded(blocks.back(), "StringFileInfo") && IsHexKey(lastBlock))
          places.push_back({lineNumber, PlaceKind::VersionKey, section});
      } else if (inVersion && EqualsFolded(text, "VALUE") && next &&
                 EqualsFolded(Content(line, tokens[t + 1]), "Translation") &&
                 EqualsFolded(blocks.back(), "VarFileInfo")) {
        places.push_back({lineNumber, PlaceKind::Translation, section});
      }
    }
  }

  SectionPlaces result;
  result.firstStatementLine = firstStatement;
  const int total = static_cast<int>(lines.size());
  if (sections.empty()) {
    if (total > 0) result.ranges.emplace_back(1, total);
  } else {
    std::size_t pick = 0;
    if (chosen)
      for (std::size_t s = 0; s < sections.size(); ++s)
        if (sections[s].id == chosen) {
          pick = s;
          break;
        }
    result.sourceLanguage = sections[pick].id;
    for (std::size_t s = 0; s < sections.size(); ++s)
      if (sections[s].key == sections[pick].key)
        result.ranges.emplace_back(s == 0 ? 1 : sections[s].first,
                                   s + 1 < sections.size() ? sections[s + 1].first - 1 : total);
  }
  for (const Place& place : places) {
    if (!result.Contains(place.line)) continue;
    if (place.kind == PlaceKind::VersionKey && result.sourceLanguage) {
      bool inKeyComment = false;
      for (const Token& token : Lex(WithoutEnd(lines[static_cast<std::size_t>(place.line - 1)]), inKeyComment))
        if (token.kind == Token::Kind::String) {
          const std::string_view key = Content(WithoutEnd(lines[static_cast<std::size_t>(place.line - 1)]), token);
          if (IsHexKey(key) && ParseScriptNumber("0x" + std::string(key.substr(0, 4))) == result.sourceLanguage)
            result.versionLanguage = result.sourceLanguage;
        }
    }
    switch (place.kind) {
      case PlaceKind::TopLevelLanguage:
        result.topLevelLines.push_back(place.line);
        [[fallthrough]];
      case PlaceKind::Language:
        result.languageLines.push_back(place.line);
        break;
      case PlaceKind::Pragma:
        result.pragmaLines.push_back(place.line);
        break;
      case PlaceKind::VersionKey:
        result.versionKeyLines.push_back(place.line);
        break;
      case PlaceKind::Translation:
        result.translationLines.push_back(place.line);
        break;
    }
  }
  return result;
}

std::string RewriteLanguageStatement(std::string_view line, const LanguageInfo& target) {
  bool inComment = false;
  const std::vector<Token> tokens = Lex(line, inComment);
  if (tokens.size() < 2 || !EqualsFolded(Text(line, tokens[0]), "LANGUAGE")) return std::string(line);
  const std::size_t start = tokens[1].offset;
  const std::size_t end = tokens.back().offset + tokens.back().length;
  std::string arguments;
  if (tokens[1].kind == Token::Kind::Number) {
    // Numbers stay numbers: the script may not include the header that names the languages.
    const Token* second = nullptr;
    for (std::size_t t = 2; t < tokens.size(); ++t)
      if (tokens[t].kind == Token::Kind::Number) {
        second = &tokens[t];
        break;
      }
    std::string primary = NumberLike(Text(line, tokens[1]), target.Primary());
    std::string sub = second != nullptr ? NumberLike(Text(line, *second), target.Sublanguage())
                                        : NumberLike(Text(line, tokens[1]), target.Sublanguage());
    arguments = primary + ", " + sub;
  } else {
    arguments = target.statement;
  }
  return Replaced(line, start, end - start, arguments);
}

std::string RewriteCodePagePragma(std::string_view line, int codePage) {
  const std::size_t open = line.find('(', line.find("code_page"));
  const std::size_t close = line.find(')', open);
  if (open == std::string_view::npos || close == std::string_view::npos) return std::string(line);
  return Replaced(line, open + 1, close - open - 1, std::to_string(codePage));
}

std::string RewriteVersionKey(std::string_view line, const LanguageInfo& target, int codePage,
                              std::optional<int> source) {
  bool inComment = false;
  for (const Token& token : Lex(line, inComment)) {
    if (token.kind != Token::Kind::String || !IsHexKey(Content(line, token))) continue;
    const std::string_view key = Content(line, token);
    const int oldLanguage = *ParseScriptNumber("0x" + std::string(key.substr(0, 4)));
    const int oldCodePage = *ParseScriptNumber("0x" + std::string(key.substr(4)));
    if (source && oldLanguage != *source) return std::string(line);
    const std::string newKey = NumberLike("0x" + std::string(key.substr(0, 4)), target.id).substr(2) +
                               NumberLike("0x" + std::string(key.substr(4)), VersionCodePage(oldCodePage, codePage)).substr(2);
    return Replaced(line, token.offset + token.length - 1 - key.size(), key.size(), newKey);
  }
  return std::string(line);
}

std::string RewriteTranslationValue(std::string_view line, const LanguageInfo& target, int codePage,
                                    std::optional<int> source) {
  bool inComment = false;
  const std::vector<Token> tokens = Lex(line, inComment);
  std::vector<const Token*> numbers;
  for (const Token& token : tokens)
    if (token.kind == Token::Kind::Number) numbers.push_back(&token);
  std::string out(line);
  // Replace from the end so that earlier offsets stay valid.
  for (std::size_t pair = numbers.size() / 2; pair-- > 0;) {
    const Token& language = *numbers[pair * 2];
    const Token& page = *numbers[pair * 2 + 1];
    const std::optional<int> oldLanguage = ParseScriptNumber(Text(line, language));
    const std::optional<int> oldCodePage = ParseScriptNumber(Text(line, page));
    if (!oldLanguage || !oldCodePage || (source && *oldLanguage != *source)) continue;
    out = Replaced(out, page.offset, page.length, NumberLike(Text(line, page), VersionCodePage(*oldCodePage, codePage)));
    out = Replaced(out, language.offset, language.length, NumberLike(Text(line, language), target.id));
  }
  return out;
}

}  // namespace tamrel
