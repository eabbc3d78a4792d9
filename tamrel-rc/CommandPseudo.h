// tamrel-rc pseudo: the script with every unit pseudo-translated, through the same in-place
// merge as translations.
#pragma once

#include <string>

#include "tamrel-rc/TranslationSupport.h"

namespace tamrel::tool {

struct PseudoCommandOptions {
  TranslationLoadOptions load;
  std::string out;
  int expand = 40;        // percent by which texts grow
  std::string encoding;   // "", "utf-8" or "utf-16"
};

int RunPseudo(const PseudoCommandOptions& options);

}  // namespace tamrel::tool
