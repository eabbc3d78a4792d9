// The language table: read from JSON once, looked up by tag, by LANGUAGE arguments and by ID.
#include "translation/LanguageTable.h"

#include <algorithm>
#include <charconv>
#include <stdexcept>

#include <nlohmann/json.hpp>

namespace tamrel {

extern const std::string_view kDefaultLanguageTable;

namespace {

std::string Folded(std::string_view text) {
  std::string folded(text);
  for (char& c : folded) {
    if (c == '_') c = '-';
    if (c >= 'A' && c <= 'Z') c = static_cast<char>(c - 'A' + 'a');
  }
  return folded;
}

std::string_view Trimmed(std::string_view text) {
  while (!text.empty() && (text.front() == ' ' || text.front() == '\t')) text.remove_prefix(1);
  while (!text.empty() && (text.back() == ' ' || text.back() == '\t')) text.remove_suffix(1);
  return text;
}


// The one or two comma-separated arguments of a LANGUAGE statement, trimmed.
std::vector<std::string_view> Arguments(std::string_view text) {
  std::vector<std::string_view> parts;
  std::size_t comma = text.find(',');
  parts.push_back(Trimmed(text.substr(0, comma)));
  if (comma != std::string_view::npos) parts.push_back(Trimmed(text.substr(comma + 1)));
  return parts;
}

}  // namespace

std::optional<int> ParseScriptNumber(std::string_view text) {
  int base = 10;
  if (text.size() > 2 && text[0] == '0' && (text[1] == 'x' || text[1] == 'X')) {
    base = 16;
    text.remove_prefix(2);
  }
  if (!text.empty() && (text.back() == 'L' || text.back() == 'l')) text.remove_suffix(1);
  int value = 0;
  auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), value, base);
  if (text.empty() || error != std::errc() || end != text.data() + text.size()) return std::nullopt;
  return value;
}

LanguageTable::LanguageTable(std::string_view json) {
  try {
    const nlohmann::json table = nlohmann::json::parse(json);
    for (const nlohmann::json& row : table.at("languages")) {
      LanguageInfo info;
      info.tag = row.at("tag").get<std::string>();
      info.langName = row.at("lang").get<std::string>();
      info.sublangName = row.at("sublang").get<std::string>();
      const std::optional<int> id = ParseScriptNumber(row.at("id").get<std::string>());
      if (!id || *id <= 0 || *id > 0xFFFF) throw std::invalid_argument(info.tag + ": the id is not a language ID");
      info.id = *id;
      info.statement = row.value("statement", info.langName + ", " + info.sublangName);
      info.codePage = row.at("codepage").get<int>();
      info.isDefault = row.value("default", false);
      if (row.contains("aliases")) info.aliases = row.at("aliases").get<std::vector<std::string>>();
      languages_.push_back(std::move(info));
    }
  } catch (const nlohmann::json::exception& e) {
    throw std::invalid_argument(std::string("language table: ") + e.what());
  }
}

const LanguageTable& LanguageTable::Default() {
  static const LanguageTable table(kDefaultLanguageTable);
  return table;
}

const LanguageInfo* LanguageTable::FindTag(std::string_view tag) const {
  const std::string wanted = Folded(Trimmed(tag));
  if (wanted.empty()) return nullptr;
  for (const LanguageInfo& info : languages_) {
    if (Folded(info.tag) == wanted) return &info;
    for (const std::string& alias : info.aliases)
      if (Folded(alias) == wanted) return &info;
  }
  if (wanted.find('-') != std::string::npos) return nullptr;
  for (const LanguageInfo& info : languages_)
    if (info.isDefault && Folded(info.tag).starts_with(wanted + "-")) return &info;
  return nullptr;
}

const LanguageInfo* LanguageTable::FindId(int id) const {
  for (const LanguageInfo& info : languages_)
    if (info.id == id) return &info;
  return nullptr;
}

std::optional<int> LanguageTable::IdOf(std::string_view arguments) const {
  const std::vector<std::string_view> parts = Arguments(arguments);
  if (parts.size() != 2 || parts[0].empty() || parts[1].empty()) return std::nullopt;
  std::optional<int> primary = ParseScriptNumber(parts[0]);
  if (!primary && parts[0] == "LANG_NEUTRAL") primary = 0;
  for (const LanguageInfo& info : languages_)
    if (!primary && info.langName == parts[0]) primary = info.Primary();
  if (!primary || *primary < 0 || *primary > 0x3FF) return std::nullopt;
  std::optional<int> sub = ParseScriptNumber(parts[1]);
  if (!sub) {
    if (parts[1] == "SUBLANG_NEUTRAL") sub = 0;
    if (parts[1] == "SUBLANG_DEFAULT") sub = 1;
    if (parts[1] == "SUBLANG_SYS_DEFAULT") sub = 2;
  }
  for (const LanguageInfo& info : languages_)
    if (!sub && info.Primary() == *primary && info.sublangName == parts[1]) sub = info.Sublanguage();
  if (!sub || *sub < 0 || *sub > 0x3F) return std::nullopt;
  return *sub << 10 | *primary;
}

const LanguageInfo* LanguageTable::FindNames(std::string_view arguments) const {
  const std::vector<std::string_view> parts = Arguments(arguments);
  if (parts.size() == 1) {
    for (const LanguageInfo& info : languages_)
      if (info.isDefault && info.langName == parts[0]) return &info;
    return nullptr;
  }
  const std::optional<int> id = IdOf(arguments);
  return id ? FindId(*id) : nullptr;
}

const LanguageInfo* LanguageTable::Find(std::string_view text) const {
  const std::string_view trimmed = Trimmed(text);
  if (trimmed.starts_with("LANG_") || trimmed.find(',') != std::string_view::npos) return FindNames(trimmed);
  return FindTag(trimmed);
}

std::vector<std::string> LanguageTable::TagsLike(std::string_view tag) const {
  std::string wanted = Folded(Trimmed(tag));
  wanted = wanted.substr(0, wanted.find('-')) + "-";
  std::vector<std::string> tags;
  for (const LanguageInfo& info : languages_)
    if (Folded(info.tag).starts_with(wanted)) tags.push_back(info.tag);
  return tags;
}

std::optional<int> LanguageIdOf(std::string_view arguments) { return LanguageTable::Default().IdOf(arguments); }

}  // namespace tamrel
