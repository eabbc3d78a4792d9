// FontMap: which installed free font stands in for a face a dialog names. The mapping is data
// (a JSON table shipped with the program, replaceable by the user), not code.
#pragma once

#include <string>

namespace tamrel {

// A font chosen for a face.
struct MappedFont {
  std::string requested;  // the face as the script names it, without quotes
  std::string family;     // the free family measured and drawn, e.g. "Liberation Sans"
  std::string file;       // the font file measured (absolute path)
  int faceIndex = 0;      // face within a font collection file
  bool fallback = false;  // the face had no entry of its own and the fallback was taken
};

}  // namespace tamrel
