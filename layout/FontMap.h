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
};

// A font table that cannot be read, or a family whose font is not installed.
class FontError : public std::runtime_error {
 public:
  using std::runtime_error::runtime_error;
};

// The font table: face → family, a fallback family for faces without an entry, families for
// the characters of scripts the mapped fonts lack (chosen by the characters of a text), and the
// face and size of the title bar's caption. Families are resolved to files through fontconfig
// when the table is built; a family that is not installed is an error only when a text needs it.
// Immutable once built, so one table can serve every thread.
class FontMap {
 public:
  // The table compiled into the program (layout/fonts.json of the source tree).
  static const FontMap& Default();
  // A table from JSON text; `source` names it in errors. Throws FontError.
  static FontMap Parse(std::string_view json, std::string_view source);
  // A table from a JSON file. Throws FontError.
  static FontMap Load(const std::string& path);

  // The font for a face as a FONT statement names it (quotes, if any, are removed; case does
  // not matter). Throws FontError when the family's font is not installed.
  MappedFont Map(std::string_view face) const;
  // The font a text is drawn in when the dialog's face is `face`: the face's own font, or the
  // family of the first script (in table order) one of the text's characters belongs to.
  MappedFont MapForText(std::string_view face, std::string_view utf8) const;

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
    std::string face;    // lower-cased
    std::string family;
  };
  const std::vector<Face>& Faces() const { return faces_; }
  const std::string& FallbackFamily() const { return fallback_; }
  const std::vector<Script>& Scripts() const { return scripts_; }

 private:
  struct Resolved {
    std::string family;
    std::string file;  // empty when not installed
    int faceIndex = 0;
  };
  MappedFont Build(std::string_view requested, const std::string& family, bool fallback) const;

  std::vector<Face> faces_;  // sorted by face
  std::string fallback_;
  std::vector<Script> scripts_;
  std::string captionFace_ = "Segoe UI";
  double captionPoints_ = 9.0;
  std::vector<Resolved> resolved_;  // every family the table names
};

}  // namespace tamrel
