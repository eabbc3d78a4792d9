// TextMeasurer: the metrics of a mapped font at a pixel size, and the advance width of a text
// shaped with HarfBuzz (kerning on) in it. Advances are unhinted, in fractional pixels; a Windows
// bitmap font is measured at its one strike, in whole pixels, whatever the size asked for.
#pragma once

#include <cstdint>
#include <map>
#include <memory>
#include <string>
#include <string_view>
#include <unordered_map>

#include "layout/FontMap.h"

namespace tamrel {

// A font's metrics at one size, as Windows reports them for a dialog's font at 96 DPI.
struct FontMetrics {
  double pixelSize = 0.0;   // the em size in pixels
  int ascentPx = 0;         // rounded, from the OS/2 table's Windows ascent
  int descentPx = 0;        // rounded, from the OS/2 table's Windows descent
  int heightPx = 0;         // ascent + descent: one line of text
  double alphabetPx = 0.0;  // advance of "A".."Z" "a".."z"
  int averageWidthPx = 0;   // the alphabet's rounded width / 52, rounded the way Windows does
};

// Pixels at 96 DPI for a size in points.
inline double PointsToPixels(double points) { return points * 96.0 / 72.0; }

// Opens faces with FreeType and shapes with HarfBuzz; faces and shaped widths are cached.
// Confined to one thread: use one per thread. A font file that cannot be opened is a FontError.
class TextMeasurer {
 public:
  TextMeasurer();
  ~TextMeasurer();
  TextMeasurer(const TextMeasurer&) = delete;
  TextMeasurer& operator=(const TextMeasurer&) = delete;

  FontMetrics Metrics(const MappedFont& font, double pixelSize);
  // The advance of the UTF-8 text shaped as one run, in pixels. Invalid UTF-8 bytes measure as
  // the replacement character.
  double Advance(const MappedFont& font, double pixelSize, std::string_view utf8);

 private:
  struct Face;
  Face& FaceOf(const MappedFont& font);
  // The advance in font units.
  std::int64_t Shape(Face& face, std::string_view utf8);

  void* library_ = nullptr;  // FT_Library
  std::map<std::pair<std::string, int>, std::unique_ptr<Face>> faces_;
};

}  // namespace tamrel
