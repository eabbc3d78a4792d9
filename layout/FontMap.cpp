// FontMap: the font table read from JSON, its families resolved to files through fontconfig.
#include "layout/FontMap.h"

#include <fontconfig/fontconfig.h>
#include <ft2build.h>
#include FT_FREETYPE_H
#include FT_WINFONTS_H

#include <algorithm>
#include <charconv>
#include <cmath>
#include <filesystem>
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

// The Western strikes at 96 DPI of a bitmap family in the table's own font folders. Such fonts
// are Windows bitmap files (FNT); FreeType reads their headers: the nominal size, the height
// and the internal leading, the character set.
void ResolveStrikes(FcConfig* config, FT_Library library, const std::string& family,
                    std::vector<std::pair<std::pair<int, int>, std::pair<std::string, int>>>& strikes) {
  FcPattern* pattern = FcPatternCreate();
  FcPatternAddString(pattern, FC_FAMILY, reinterpret_cast<const FcChar8*>(family.c_str()));
  FcObjectSet* objects = FcObjectSetBuild(FC_FAMILY, FC_FILE, FC_INDEX, FC_FONTFORMAT, nullptr);
  FcFontSet* found = FcFontList(config, pattern, objects);
  FcObjectSetDestroy(objects);
  FcPatternDestroy(pattern);
  if (found == nullptr) return;
  for (int i = 0; i < found->nfont; ++i) {
    FcChar8* format = nullptr;
    FcChar8* file = nullptr;
    int index = 0;
    if (FcPatternGetString(found->fonts[i], FC_FONTFORMAT, 0, &format) != FcResultMatch ||
        std::string_view(reinterpret_cast<const char*>(format)) != "Windows FNT" ||
        FcPatternGetString(found->fonts[i], FC_FILE, 0, &file) != FcResultMatch)
      continue;
    FcPatternGetInteger(found->fonts[i], FC_INDEX, 0, &index);
    FT_Face face = nullptr;
    if (FT_New_Face(library, reinterpret_cast<const char*>(file), index, &face) != 0) continue;
    FT_WinFNT_HeaderRec header;
    if (FT_Get_WinFNT_Header(face, &header) == 0 && header.charset == FT_WinFNT_ID_CP1252 &&
        header.vertical_resolution == 96 && header.pixel_height > header.internal_leading)
      strikes.push_back({{header.pixel_height - header.internal_leading, header.pixel_height},
                         {reinterpret_cast<const char*>(file), index}});
    FT_Done_Face(face);
  }
  FcFontSetDestroy(found);
}

// The configuration of the table's own font folders: no rules, fontconfig's usual caches.
constexpr const char* kOwnConfig =
    "<?xml version=\"1.0\"?><fontconfig><cachedir>/var/cache/fontconfig</cachedir>"
    "<cachedir prefix=\"xdg\">fontconfig</cachedir></fontconfig>";

// Characters 0x80-0x9F of the Western set; the rest of 0xA0-0xFF is Latin-1.
constexpr char32_t kAnsiHigh[32] = {0x20AC, 0, 0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021, 0x02C6, 0x2030, 0x0160,
                                    0x2039, 0x0152, 0, 0x017D, 0, 0, 0x2018, 0x2019, 0x201C, 0x201D, 0x2022,
                                    0x2013, 0x2014, 0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0, 0x017E, 0x0178};

}  // namespace

int AnsiByte(char32_t c) {
  if (c < 0x80 || (c >= 0xA0 && c <= 0xFF)) return static_cast<int>(c);
  for (int i = 0; i < 32; ++i)
    if (kAnsiHigh[i] != 0 && kAnsiHigh[i] == c) return 0x80 + i;
  return -1;
}

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
    for (auto entry = faces.begin(); entry != faces.end(); ++entry) {
      Face face{Lower(entry.key()), {}};
      if (entry.value().is_array())
        for (const nlohmann::json& family : entry.value()) face.families.push_back(family.get<std::string>());
      else
        face.families.push_back(entry.value().get<std::string>());
      if (face.families.empty()) throw FontError(where + ": the face '" + entry.key() + "' names no family");
      map.faces_.push_back(std::move(face));
    }
    std::sort(map.faces_.begin(), map.faces_.end(), [](const Face& a, const Face& b) { return a.face < b.face; });
    map.fallback_ = table.value("fallback", std::string("Liberation Sans"));
    if (table.contains("caption")) {
      const nlohmann::json& caption = table.at("caption");
      map.captionFace_ = caption.value("face", map.captionFace_);
      map.captionPoints_ = caption.value("points", map.captionPoints_);
      if (!(map.captionPoints_ > 0 && map.captionPoints_ < 1000))
        throw FontError(where + ": the caption's point size is out of range");
    }
    const nlohmann::json& dirs = table.contains("font_dirs") ? table.at("font_dirs") : none;
    for (const nlohmann::json& dir : dirs) map.fontDirs_.push_back(dir.get<std::string>());
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
  for (const Face& face : map.faces_) families.insert(families.end(), face.families.begin(), face.families.end());
  for (const Script& script : map.scripts_) families.push_back(script.family);
  std::sort(families.begin(), families.end());
  families.erase(std::unique(families.begin(), families.end()), families.end());
  FcConfig* config = FcInitLoadConfigAndFonts();
  if (config == nullptr) throw FontError("fontconfig could not be initialised");
  // The table's folders in a configuration of their own: the system's may reject bitmap fonts,
  // and is left as it is. A folder that does not exist adds nothing.
  FcConfig* own = nullptr;
  FT_Library library = nullptr;
  for (const std::string& dir : map.fontDirs_) {
    std::error_code error;
    if (!std::filesystem::is_directory(dir, error)) continue;
    if (own == nullptr) {
      // The caches fontconfig keeps for every program: the system's, read only, and the user's.
      own = FcConfigCreate();
      if (own != nullptr &&
          !FcConfigParseAndLoadFromMemory(own, reinterpret_cast<const FcChar8*>(kOwnConfig), FcFalse)) {
        FcConfigDestroy(own);
        own = nullptr;
      }
    }
    if (own != nullptr) FcConfigAppFontAddDir(own, reinterpret_cast<const FcChar8*>(dir.c_str()));
  }
  if (own != nullptr && FT_Init_FreeType(&library) != 0) library = nullptr;
  for (const std::string& family : families) {
    Resolved resolved{family, {}, 0, {}};
    Resolve(config, family, resolved.file, resolved.faceIndex);
    if (resolved.file.empty() && own != nullptr) {
      std::vector<std::pair<std::pair<int, int>, std::pair<std::string, int>>> strikes;
      if (library != nullptr) ResolveStrikes(own, library, family, strikes);
      std::sort(strikes.begin(), strikes.end());
      for (auto& [size, where] : strikes)
        resolved.strikes.push_back(Strike{size.first, size.second, std::move(where.first), where.second});
      if (resolved.strikes.empty()) Resolve(own, family, resolved.file, resolved.faceIndex);
    }
    map.resolved_.push_back(std::move(resolved));
  }
  if (library != nullptr) FT_Done_FreeType(library);
  if (own != nullptr) FcConfigDestroy(own);
  FcConfigDestroy(config);
  return map;
}

MappedFont FontMap::Choose(std::string_view requested, const std::vector<std::string>& families, bool fallback,
                          double pixelSize, const std::string_view* utf8) const {
  const long emPx = std::lround(pixelSize);
  for (const std::string& family : families) {
    auto found = std::find_if(resolved_.begin(), resolved_.end(), [&](const Resolved& r) { return r.family == family; });
    if (found == resolved_.end()) continue;
    if (!found->file.empty())
      return MappedFont{std::string(requested), family, found->file, found->faceIndex, fallback, 0};
    auto strike = std::find_if(found->strikes.begin(), found->strikes.end(), [&](const Strike& s) { return s.emPx == emPx; });
    if (strike == found->strikes.end()) continue;
    bool encodable = true;
    if (utf8 != nullptr)
      for (std::size_t at = 0; encodable && at < utf8->size();) {
        const Utf8Char c = NextUtf8(*utf8, at);
        at += c.length == 0 ? 1 : c.length;
        encodable = c.length > 0 && AnsiByte(static_cast<char32_t>(c.codePoint)) >= 0;
      }
    if (encodable)
      return MappedFont{std::string(requested), family, strike->file, strike->faceIndex, fallback, strike->cellPx};
  }
  if (families.size() == 1)
    throw FontError("the font family '" + families.front() + "' (for the face '" + std::string(requested) +
                    "') is not installed");
  std::string names;
  for (const std::string& family : families) names += (names.empty() ? "'" : ", '") + family + "'";
  throw FontError("none of the font families " + names + " (for the face '" + std::string(requested) +
                  "') is installed");
}

MappedFont FontMap::Map(std::string_view face, double pixelSize) const {
  const std::string_view requested = Unquote(face);
  const std::string key = Lower(requested);
  auto found = std::lower_bound(faces_.begin(), faces_.end(), key,
                                [](const Face& entry, const std::string& k) { return entry.face < k; });
  if (found != faces_.end() && found->face == key) return Choose(requested, found->families, false, pixelSize, nullptr);
  return Choose(requested, {fallback_}, true, pixelSize, nullptr);
}

MappedFont FontMap::MapForText(std::string_view face, std::string_view utf8, double pixelSize) const {
  const std::string_view requested = Unquote(face);
  const std::string key = Lower(requested);
  auto found = std::lower_bound(faces_.begin(), faces_.end(), key,
                                [](const Face& entry, const std::string& k) { return entry.face < k; });
  const MappedFont own = found != faces_.end() && found->face == key
                             ? Choose(requested, found->families, false, pixelSize, &utf8)
                             : Choose(requested, {fallback_}, true, pixelSize, &utf8);
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
          for (const std::string& family : script.coveredBy)
            if (SameFamily(family, own.family)) return own;
          return Choose(own.requested, {script.family}, false, pixelSize, nullptr);
        }
  }
  return own;
}

}  // namespace tamrel
