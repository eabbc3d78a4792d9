// FontMap: the font table read from JSON, its families resolved to files through fontconfig.
#include "layout/FontMap.h"

#include <fontconfig/fontconfig.h>

#include <algorithm>
#include <charconv>
#include <fstream>
#include <nlohmann/json.hpp>
#include <sstream>

#include "common/Utf8Text.h"

namespace tamrel {

extern const std::string_view kDefaultFontTable;

namespace {

std::string Lower(std::string_view text) {
  std::string out(text);
  for (char& c : out)
    if (c >= 'A' && c <= 'Z') c = static_cast<char>(c - 'A' + 'a');
  return out;
}

bool SameFamily(std::string_view a, std::string_view b) { return Lower(a) == Lower(b); }

// The face as written in a FONT statement, without its quotes and surrounding blanks.
std::string_view Unquote(std::string_view face) {
  while (!face.empty() && (face.front() == ' ' || face.front() == '\t')) face.remove_prefix(1);
  while (!face.empty() && (face.back() == ' ' || face.back() == '\t')) face.remove_suffix(1);
  if (face.starts_with("L\"")) face.remove_prefix(1);
  if (face.size() >= 2 && face.front() == '"' && face.back() == '"') face = face.substr(1, face.size() - 2);
  return face;
}

char32_t ParseCodePoint(const nlohmann::json& value, std::string_view source) {
  std::string text = value.get<std::string>();
  std::string_view digits = text;
  if (digits.starts_with("U+") || digits.starts_with("u+")) digits.remove_prefix(2);
  std::uint32_t code = 0;
  auto [end, error] = std::from_chars(digits.data(), digits.data() + digits.size(), code, 16);
  if (error != std::errc() || end != digits.data() + digits.size() || code > 0x10FFFF)
    throw FontError(std::string(source) + ": not a code point: '" + text + "'");
  return static_cast<char32_t>(code);
}

// The file of an installed family, found through fontconfig. Fontconfig always answers with
// some font; only an answer of the family asked for counts.
void Resolve(FcConfig* config, const std::string& family, std::string& file, int& index) {
  FcPattern* pattern = FcPatternCreate();
  FcPatternAddString(pattern, FC_FAMILY, reinterpret_cast<const FcChar8*>(family.c_str()));
  FcPatternAddInteger(pattern, FC_WEIGHT, FC_WEIGHT_REGULAR);
  FcPatternAddInteger(pattern, FC_SLANT, FC_SLANT_ROMAN);
  FcPatternAddInteger(pattern, FC_WIDTH, FC_WIDTH_NORMAL);
  FcConfigSubstitute(config, pattern, FcMatchPattern);
  FcDefaultSubstitute(pattern);
  FcResult result = FcResultNoMatch;
  FcPattern* match = FcFontMatch(config, pattern, &result);
  FcPatternDestroy(pattern);
  if (match == nullptr) return;
  FcChar8* matchFile = nullptr;
  int matchIndex = 0;
  bool familyMatches = false;
  FcChar8* matchFamily = nullptr;
  for (int n = 0; FcPatternGetString(match, FC_FAMILY, n, &matchFamily) == FcResultMatch; ++n)
    if (SameFamily(reinterpret_cast<const char*>(matchFamily), family)) familyMatches = true;
  if (familyMatches && FcPatternGetString(match, FC_FILE, 0, &matchFile) == FcResultMatch) {
    file = reinterpret_cast<const char*>(matchFile);
    if (FcPatternGetInteger(match, FC_INDEX, 0, &matchIndex) == FcResultMatch) index = matchIndex;
  }
  FcPatternDestroy(match);
}

}  // namespace

const FontMap& FontMap::Default() {
  static const FontMap table = Parse(kDefaultFontTable, "built-in font table");
  return table;
}

FontMap FontMap::Load(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  if (!in) throw FontError(path + ": cannot read the font table");
  std::ostringstream text;
  text << in.rdbuf();
  return Parse(text.str(), path);
}

FontMap FontMap::Parse(std::string_view json, std::string_view source) {
  FontMap map;
  const std::string where(source);
  try {
    const nlohmann::json table = nlohmann::json::parse(json);
    if (!table.is_object()) throw FontError(where + ": the font table is not a JSON object");
    const nlohmann::json none = nlohmann::json::array();
    const nlohmann::json noFaces = nlohmann::json::object();
    const nlohmann::json& faces = table.contains("faces") ? table.at("faces") : noFaces;
    if (!faces.is_object()) throw FontError(where + ": \"faces\" is not an object");
    for (auto entry = faces.begin(); entry != faces.end(); ++entry)
      map.faces_.push_back({Lower(entry.key()), entry.value().get<std::string>()});
    std::sort(map.faces_.begin(), map.faces_.end(), [](const Face& a, const Face& b) { return a.face < b.face; });
    map.fallback_ = table.value("fallback", std::string("Liberation Sans"));
    if (table.contains("caption")) {
      const nlohmann::json& caption = table.at("caption");
      map.captionFace_ = caption.value("face", map.captionFace_);
      map.captionPoints_ = caption.value("points", map.captionPoints_);
      if (!(map.captionPoints_ > 0 && map.captionPoints_ < 1000))
        throw FontError(where + ": the caption's point size is out of range");
    }
    const nlohmann::json& scripts = table.contains("scripts") ? table.at("scripts") : none;
    for (const nlohmann::json& entry : scripts) {
      Script script{entry.value("name", std::string()), entry.at("family").get<std::string>(), {}, {}};
      const nlohmann::json& coveredBy = entry.contains("covered_by") ? entry.at("covered_by") : none;
      for (const nlohmann::json& family : coveredBy)
        script.coveredBy.push_back(family.get<std::string>());
      for (const nlohmann::json& range : entry.at("ranges")) {
        if (!range.is_array() || range.size() != 2)
          throw FontError(where + ": a range of script '" + script.name + "' is not [first, last]");
        char32_t first = ParseCodePoint(range[0], where);
        char32_t last = ParseCodePoint(range[1], where);
        if (last < first) std::swap(first, last);
        script.ranges.emplace_back(first, last);
      }
      map.scripts_.push_back(std::move(script));
    }
  } catch (const nlohmann::json::exception& e) {
    throw FontError(where + ": " + e.what());
  }

  // Every family named, resolved once.
  std::vector<std::string> families{map.fallback_};
  for (const Face& face : map.faces_) families.push_back(face.family);
  for (const Script& script : map.scripts_) families.push_back(script.family);
  std::sort(families.begin(), families.end());
  families.erase(std::unique(families.begin(), families.end()), families.end());
  FcConfig* config = FcInitLoadConfigAndFonts();
  if (config == nullptr) throw FontError("fontconfig could not be initialised");
  for (const std::string& family : families) {
    Resolved resolved{family, {}, 0};
    Resolve(config, family, resolved.file, resolved.faceIndex);
    map.resolved_.push_back(std::move(resolved));
  }
  FcConfigDestroy(config);
  return map;
}

MappedFont FontMap::Build(std::string_view requested, const std::string& family, bool fallback) const {
  auto found = std::find_if(resolved_.begin(), resolved_.end(), [&](const Resolved& r) { return r.family == family; });
  if (found == resolved_.end() || found->file.empty())
    throw FontError("the font family '" + family + "' (for the face '" + std::string(requested) +
                    "') is not installed");
  return MappedFont{std::string(requested), family, found->file, found->faceIndex, fallback};
}

MappedFont FontMap::Map(std::string_view face) const {
  const std::string_view requested = Unquote(face);
  const std::string key = Lower(requested);
  auto found = std::lower_bound(faces_.begin(), faces_.end(), key,
                                [](const Face& entry, const std::string& k) { return entry.face < k; });
  if (found != faces_.end() && found->face == key) return Build(requested, found->family, false);
  return Build(requested, fallback_, true);
}

MappedFont FontMap::MapForText(std::string_view face, std::string_view utf8) const {
  for (std::size_t at = 0; at < utf8.size();) {
    const Utf8Char c = NextUtf8(utf8, at);
    if (c.length == 0) {
      ++at;
      continue;
    }
    at += c.length;
    if (c.codePoint < 0x80) continue;
    for (const Script& script : scripts_)
      for (const auto& [first, last] : script.ranges)
        if (c.codePoint >= first && c.codePoint <= last) {
          MappedFont own = Map(face);
          for (const std::string& family : script.coveredBy)
            if (SameFamily(family, own.family)) return own;
          return Build(own.requested, script.family, false);
        }
  }
  return Map(face);
}

}  // namespace tamrel
