// FontMap: which installed free font stands in for a face a dialog names. The mapping is data
// (a JSON table shipped with the program, replaceable by the user), not code.
#pragma once

#include <stdexcept>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

namespace tamrel {

// A font chosen for a face.
struct MappedFont {
  std::string requested;  // the face as the script names it, without quotes
  std::string family;     // the free family measured and drawn, e.g. "Liberation Sans"
  std::string file;       // the font file measured (absolute path)
  int faceIndex = 0;      // face within a font collection file
  bool fallback = false;  // the face had no entry of its own and the fallback was taken
  int strikePx = 0;       // a bitmap font: the height of its one strike in pixels; 0 for an outline font
};

// The byte of a character in a bitmap font's Western (ANSI) character set, -1 for a character
// the set lacks. Bitmap fonts are kept only in that set.
int AnsiByte(char32_t c);

// A font table that cannot be read, or a family whose font is not installed.
class FontError : public std::runtime_error {
 public:
  using std::runtime_error::runtime_error;
};

// The font table: face → families in order of preference, a fallback family for faces without an
// entry, families for the characters of scripts the mapped fonts lack (chosen by the characters
// of a text), the face and size of the title bar's caption, and folders of fonts the system's
// fontconfig does not know. Families are resolved to files through fontconfig when the table is
// built: the system's configuration first, then one of the table's folders only. A face takes
// the first of its families that is installed and, for a bitmap family, has a strike of the
// size asked for and every character of the text in its character set; none installed is an
// error only when a text needs it. Immutable once built, so one table can serve every thread.
class FontMap {
 public:
  // The table compiled into the program (layout/fonts.json of the source tree).
  static const FontMap& Default();
  // A table from JSON text; `source` names it in errors. Throws FontError.
  static FontMap Parse(std::string_view json, std::string_view source);
  // A table from a JSON file. Throws FontError.
  static FontMap Load(const std::string& path);

  // The font for a face as a FONT statement names it (quotes, if any, are removed; case does
  // not matter) at an em size in pixels (a bitmap strike serves the size that rounds to its em
  // height). Throws FontError when none of the face's families is installed.
  MappedFont Map(std::string_view face, double pixelSize) const;
  // The font a text is drawn in when the dialog's face is `face`: the face's own font (a bitmap
  // family only when its character set has every character of the text), or the family of the
  // first script (in table order) one of the text's characters belongs to.
  MappedFont MapForText(std::string_view face, std::string_view utf8, double pixelSize) const;

  // The title bar's caption font and its size in points.
  const std::string& CaptionFace() const { return captionFace_; }
  double CaptionPoints() const { return captionPoints_; }

  struct Script {
    std::string name;
    std::string family;
    std::vector<std::pair<char32_t, char32_t>> ranges;  // inclusive
    std::vector<std::string> coveredBy;  // families that have the script themselves
  };
  struct Face {
    std::string face;                   // lower-cased
    std::vector<std::string> families;  // in order of preference
  };
  const std::vector<Face>& Faces() const { return faces_; }
  const std::string& FallbackFamily() const { return fallback_; }
  const std::vector<Script>& Scripts() const { return scripts_; }
  const std::vector<std::string>& FontDirs() const { return fontDirs_; }

 private:
  // One size of a bitmap family: a face of a Windows bitmap font file.
  struct Strike {
    int emPx = 0;    // the height less the internal leading: the em a FONT size asks for
    int cellPx = 0;  // the height
    std::string file;
    int faceIndex = 0;
  };
  struct Resolved {
    std::string family;
    std::string file;  // an outline font; empty when not installed or bitmap
    int faceIndex = 0;
    std::vector<Strike> strikes;  // a bitmap family's sizes
  };
  // The font of the first of `families` that serves the size and the text (null: any text).
  MappedFont Choose(std::string_view requested, const std::vector<std::string>& families, bool fallback,
                    double pixelSize, const std::string_view* utf8) const;

  std::vector<Face> faces_;  // sorted by face
  std::string fallback_;
  std::vector<Script> scripts_;
  std::vector<std::string> fontDirs_;
  std::string captionFace_ = "Segoe UI";
  double captionPoints_ = 9.0;
  std::vector<Resolved> resolved_;  // every family the table names
};

}  // namespace tamrel
