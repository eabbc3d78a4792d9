// TextMeasurer: FreeType opens the font file and gives the OS/2 metrics; HarfBuzz shapes text on
// the same face at its design size (units per em), so a shaped width serves every pixel size.
#include "layout/TextMeasurer.h"

#include <ft2build.h>
#include FT_FREETYPE_H
#include FT_TRUETYPE_TABLES_H
#include FT_WINFONTS_H
#include <hb-ft.h>
#include <hb.h>

#include <array>
#include <cmath>

#include "common/Utf8Text.h"

namespace tamrel {

namespace {

constexpr std::string_view kAlphabet = "ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz";
// Shaped widths kept per face before the cache starts over (bounds memory on huge inputs).
constexpr std::size_t kMaxCachedWidths = 1 << 16;

}  // namespace

struct TextMeasurer::Face {
  FT_Face ft = nullptr;
  hb_font_t* font = nullptr;
  hb_buffer_t* buffer = nullptr;
  int unitsPerEm = 1000;
  int winAscent = 0;
  int winDescent = 0;
  // A Windows bitmap font: its one strike's whole-pixel advances by byte of its character set.
  bool bitmap = false;
  std::array<int, 256> bitmapAdvances{};
  std::unordered_map<std::string, std::int64_t> widths;

  ~Face() {
    if (buffer != nullptr) hb_buffer_destroy(buffer);
    if (font != nullptr) hb_font_destroy(font);
    if (ft != nullptr) FT_Done_Face(ft);
  }
};

TextMeasurer::TextMeasurer() {
  FT_Library library = nullptr;
  if (FT_Init_FreeType(&library) != 0) throw FontError("FreeType could not be initialised");
  library_ = library;
}

TextMeasurer::~TextMeasurer() {
  faces_.clear();
  FT_Done_FreeType(static_cast<FT_Library>(library_));
}

TextMeasurer::Face& TextMeasurer::FaceOf(const MappedFont& font) {
  auto key = std::make_pair(font.file, font.faceIndex);
  auto found = faces_.find(key);
  if (found != faces_.end()) return *found->second;

  auto face = std::make_unique<Face>();
  if (font.file.empty() ||
      FT_New_Face(static_cast<FT_Library>(library_), font.file.c_str(), font.faceIndex, &face->ft) != 0)
    throw FontError("cannot open the font file '" + font.file + "' (family '" + font.family + "')");
  if (!FT_IS_SCALABLE(face->ft)) {
    // Only a Windows bitmap font is measured at its strike: its header gives what Windows
    // reports (height, ascent), its glyphs the advances.
    FT_WinFNT_HeaderRec header;
    if (FT_Get_WinFNT_Header(face->ft, &header) != 0 || face->ft->num_fixed_sizes < 1 ||
        face->ft->num_charmaps < 1 || FT_Set_Charmap(face->ft, face->ft->charmaps[0]) != 0 ||
        FT_Select_Size(face->ft, 0) != 0)
      throw FontError("the font file '" + font.file + "' is not scalable");
    face->bitmap = true;
    face->unitsPerEm = 1;
    face->winAscent = header.ascent;
    face->winDescent = header.pixel_height - header.ascent;
    const FT_UInt fallbackGlyph = FT_Get_Char_Index(face->ft, header.first_char + header.default_char);
    for (unsigned byte = 0; byte < 256; ++byte) {
      FT_UInt glyph = FT_Get_Char_Index(face->ft, byte);
      if (glyph == 0) glyph = fallbackGlyph;
      if (FT_Load_Glyph(face->ft, glyph, FT_LOAD_DEFAULT) == 0)
        face->bitmapAdvances[byte] = static_cast<int>(face->ft->glyph->advance.x >> 6);
    }
    return *faces_.emplace(std::move(key), std::move(face)).first->second;
  }
  face->unitsPerEm = face->ft->units_per_EM > 0 ? face->ft->units_per_EM : 1000;
  const auto* os2 = static_cast<const TT_OS2*>(FT_Get_Sfnt_Table(face->ft, FT_SFNT_OS2));
  if (os2 != nullptr && os2->version != 0xFFFF && os2->usWinAscent + os2->usWinDescent > 0) {
    face->winAscent = os2->usWinAscent;
    face->winDescent = os2->usWinDescent;
  } else {
    face->winAscent = face->ft->ascender;
    face->winDescent = -face->ft->descender;
  }
  hb_face_t* hbFace = hb_ft_face_create_referenced(face->ft);
  face->font = hb_font_create(hbFace);
  hb_face_destroy(hbFace);
  // Design units: unhinted advances, independent of the size measured.
  hb_font_set_scale(face->font, face->unitsPerEm, face->unitsPerEm);
  face->buffer = hb_buffer_create();
  return *faces_.emplace(std::move(key), std::move(face)).first->second;
}

std::int64_t TextMeasurer::Shape(Face& face, std::string_view utf8) {
  if (utf8.empty()) return 0;
  if (face.bitmap) {
    // Whole pixels; a character the set lacks draws as the default character.
    std::int64_t width = 0;
    for (std::size_t at = 0; at < utf8.size();) {
      const Utf8Char c = NextUtf8(utf8, at);
      at += c.length == 0 ? 1 : c.length;
      const int byte = c.length == 0 ? -1 : AnsiByte(static_cast<char32_t>(c.codePoint));
      width += face.bitmapAdvances[byte < 0 ? 0 : static_cast<unsigned>(byte)];
    }
    return width;
  }
  std::string key(utf8);
  auto found = face.widths.find(key);
  if (found != face.widths.end()) return found->second;

  hb_buffer_clear_contents(face.buffer);
  hb_buffer_add_utf8(face.buffer, utf8.data(), static_cast<int>(utf8.size()), 0, static_cast<int>(utf8.size()));
  hb_buffer_guess_segment_properties(face.buffer);
  hb_shape(face.font, face.buffer, nullptr, 0);
  unsigned count = 0;
  const hb_glyph_position_t* positions = hb_buffer_get_glyph_positions(face.buffer, &count);
  std::int64_t width = 0;
  for (unsigned i = 0; i < count; ++i) width += positions[i].x_advance;

  if (face.widths.size() >= kMaxCachedWidths) face.widths.clear();
  face.widths.emplace(std::move(key), width);
  return width;
}

double TextMeasurer::Advance(const MappedFont& font, double pixelSize, std::string_view utf8) {
  Face& face = FaceOf(font);
  if (face.bitmap) return static_cast<double>(Shape(face, utf8));
  return static_cast<double>(Shape(face, utf8)) * pixelSize / face.unitsPerEm;
}

FontMetrics TextMeasurer::Metrics(const MappedFont& font, double pixelSize) {
  Face& face = FaceOf(font);
  FontMetrics metrics;
  metrics.pixelSize = pixelSize;
  const double scale = face.bitmap ? 1.0 : pixelSize / face.unitsPerEm;  // a strike is measured at its own size
  metrics.ascentPx = static_cast<int>(std::lround(face.winAscent * scale));
  metrics.descentPx = static_cast<int>(std::lround(face.winDescent * scale));
  metrics.heightPx = metrics.ascentPx + metrics.descentPx;
  metrics.alphabetPx = static_cast<double>(Shape(face, kAlphabet)) * scale;
  const long alphabet = std::lround(metrics.alphabetPx);
  metrics.averageWidthPx = static_cast<int>((alphabet / 26 + 1) / 2);
  return metrics;
}

}  // namespace tamrel
