// LanguageTable: the languages a script can be translated into, each with its locale tag, the
// names of its LANGUAGE statement, its Windows language ID and its ANSI code page. The default
// table is compiled in from translation/languages.json.
#pragma once

#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace tamrel {

struct LanguageInfo {
  std::string tag;                   // "de-DE"
  std::vector<std::string> aliases;  // other tags of the same language ("zh-Hans" for zh-CN)
  std::string langName;              // "LANG_GERMAN"
  std::string sublangName;           // "SUBLANG_GERMAN"
  // The arguments a LANGUAGE statement written for the language gets: names that the headers
  // resource compilers read define ("LANG_JAPANESE, SUBLANG_DEFAULT"), else numbers.
  std::string statement;
  int id = 0;                        // the language ID: sublanguage << 10 | primary language
  int codePage = 0;                  // the ANSI code page; 0: the locale's text is Unicode only
  bool isDefault = false;            // the row a tag without a region ("de") names

  int Primary() const { return id & 0x3FF; }
  int Sublanguage() const { return id >> 10; }
};

// A number as a script writes it: decimal, or hexadecimal after 0x, with an optional L suffix;
// empty when the text is none.
std::optional<int> ParseScriptNumber(std::string_view text);

class LanguageTable {
 public:
  // Reads a table in the format of translation/languages.json; throws std::invalid_argument
  // naming what is wrong.
  explicit LanguageTable(std::string_view json);
  // The compiled-in table, read once.
  static const LanguageTable& Default();

  const std::vector<LanguageInfo>& Languages() const { return languages_; }

  // A locale tag, compared without regard to case, "_" the same as "-": "de-DE", "de_de", or a
  // language alone ("de"), which names its default row.
  const LanguageInfo* FindTag(std::string_view tag) const;
  // The arguments of a LANGUAGE statement: "LANG_GERMAN, SUBLANG_GERMAN", "LANG_GERMAN" (the
  // default sublanguage), or numbers ("0x07, 0x01", "7, 1").
  const LanguageInfo* FindNames(std::string_view arguments) const;
  const LanguageInfo* FindId(int id) const;
  // A tag or LANGUAGE arguments, whichever the text is.
  const LanguageInfo* Find(std::string_view text) const;
  // The language ID LANGUAGE arguments name, also for a language the table lacks when both are
  // numbers or the sublanguage is SUBLANG_NEUTRAL, SUBLANG_DEFAULT or SUBLANG_SYS_DEFAULT with
  // a known or numeric primary language; empty when they name none.
  std::optional<int> IdOf(std::string_view arguments) const;
  // The tags of the rows of one primary language, for a message on a tag the table lacks.
  std::vector<std::string> TagsLike(std::string_view tag) const;

 private:
  std::vector<LanguageInfo> languages_;
};

// LanguageTable::Default().IdOf, for LoadOptions::languageId.
std::optional<int> LanguageIdOf(std::string_view arguments);

}  // namespace tamrel
