// Resources that no reader takes: found among the lines the walk passes over, so that a host
// can say what a script holds beyond the model (read exactly), or kept raw (read relaxed).
#include <array>
#include <cstdint>
#include <string_view>

#include "common/modCommonTools.h"
#include "document/clsRC.h"

namespace tamrel {
namespace {

// Resource types a script may hold that the section readers do not take.
constexpr std::array<std::string_view, 24> kOtherTypes = {
    "MENUEX",  "VERSIONINFO", "TOOLBAR", "DLGINIT",  "TEXTINCLUDE", "RCDATA",       "HTML",    "TYPELIB",
    "REGISTRY", "MESSAGETABLE", "FONT",  "AVI",      "PNG",         "GIF",          "JPG",     "JPEG",
    "RT_MANIFEST", "MANIFEST", "WAVE",   "ANICURSOR", "ANIICON",    "DLGINCLUDE",   "PLUGPLAY", "VXD"};

// Memory options that may follow a resource's type.
constexpr std::array<std::string_view, 7> kMemoryOptions = {"DISCARDABLE", "MOVEABLE", "FIXED", "PURE",
                                                            "IMPURE",      "PRELOAD",  "LOADONCALL"};

// Statements inside resources whose first two words look like a resource header: the fixed
// fields of a version block (a block follows the last of them), language and version options,
// and the entries of blocks.
constexpr std::array<std::string_view, 12> kStatementWords = {
    "FILEVERSION", "PRODUCTVERSION", "FILEFLAGSMASK", "FILEFLAGS", "FILEOS", "FILETYPE",
    "FILESUBTYPE", "LANGUAGE",       "VERSION",       "CHARACTERISTICS", "MENUITEM", "BUTTON"};

// The next word of `text` from `at` (blanks and tabs skipped): a run of name characters, or a
// run up to the next blank when it starts otherwise.
std::string_view NextWord(std::string_view text, std::size_t& at) {
  while (at < text.size() && (text[at] == ' ' || text[at] == '\t')) ++at;
  const std::size_t start = at;
  while (at < text.size() && text[at] != ' ' && text[at] != '\t') ++at;
  return text.substr(start, at - start);
}

bool IsName(std::string_view word) {
  if (word.empty()) return false;
  for (char c : word)
    if (!IsNameChar(c)) return false;
  return true;
}

template <std::size_t N>
bool OneOf(std::string_view word, const std::array<std::string_view, N>& words) {
  for (std::string_view known : words)
    if (word == known) return true;
  return false;
}

bool Opens(std::string_view word) { return word == "BEGIN" || word == "{"; }

// The lines a resource may hold between its header and BEGIN: blank lines, comments,
// preprocessor lines and option statements (a version resource's fixed fields among them).
bool IsOptionLine(std::string_view trimmed) {
  static constexpr std::array<std::string_view, 10> kOptions = {
      "LANGUAGE", "VERSION",  "CHARACTERISTICS", "FILEVERSION", "PRODUCTVERSION",
      "FILEFLAGSMASK", "FILEFLAGS", "FILEOS", "FILETYPE", "FILESUBTYPE"};
  if (trimmed.empty() || trimmed.starts_with("//") || trimmed.starts_with('#')) return true;
  std::size_t at = 0;
  const std::string_view word = NextWord(trimmed, at);
  return OneOf(word, kOptions);
}

}  // namespace

std::string_view clsRC::OtherResourceType(Int16 line, bool& block) const {
  const std::string_view text = TrimWhiteView(Lines.Item(line));
  std::size_t at = 0;
  const std::string_view id = NextWord(text, at);
  if (!IsName(id) || OneOf(id, kStatementWords)) return {};
  const std::string_view type = NextWord(text, at);
  if (!IsName(type)) return {};
  const bool known = OneOf(type, kOtherTypes);
  std::string_view word = NextWord(text, at);
  if (!known)
    while (OneOf(word, kMemoryOptions)) word = NextWord(text, at);
  const std::size_t after = at;
  const bool more = !NextWord(text, at).empty() && !text.substr(after).starts_with(" //");
  block = false;
  // A file name behind the type (and its memory options) makes a one-line resource.
  if (word.starts_with('"')) return type;
  // Otherwise BEGIN after the option lines opens its block.
  for (std::int32_t next = static_cast<std::int32_t>(line) + 1; next <= Lines.Count(); ++next) {
    const std::string_view following = TrimWhiteView(Lines.Item(Int16(next)));
    std::size_t first = 0;
    if (Opens(NextWord(following, first))) {
      block = true;
      return type;
    }
    if (!IsOptionLine(following)) break;
  }
  // No block: a known type, or a user type with one unquoted file name.
  if (known || (!word.empty() && !word.starts_with("//") && !more)) return type;
  return {};
}

void clsRC::NoteUnreadResource(Int16 line) {
  const std::string_view text = TrimWhiteView(Lines.Item(line));
  std::size_t at = 0;
  const std::string_view id = NextWord(text, at);
  if (!IsName(id) || OneOf(id, kStatementWords)) return;
  const std::string_view type = NextWord(text, at);
  if (!IsName(type)) return;
  if (OneOf(type, kOtherTypes)) {
    Unread.push_back({std::string(type), line, true});
    return;
  }
  // Any other type: a file name behind it, or nothing but memory options and a block next.
  std::string_view word = NextWord(text, at);
  while (OneOf(word, kMemoryOptions)) word = NextWord(text, at);
  bool resource = word.starts_with('"');
  if (word.empty()) {
    for (std::int32_t next = static_cast<std::int32_t>(line) + 1; next <= Lines.Count(); ++next) {
      const std::string_view following = TrimWhiteView(Lines.Item(next));
      if (following.empty()) continue;
      resource = following == "BEGIN" || following == "{";
      break;
    }
  }
  if (resource) Unread.push_back({std::string(type), line, true});
}

}  // namespace tamrel
