// ExtractUnits: the translatable units of a loaded script, in file order, each located in the
// script line that holds its literal.
#pragma once

#include <vector>

#include "common/CodePage.h"
#include "document/clsRC.h"
#include "translation/TranslationUnit.h"

namespace tamrel {

struct ExtractOptions {
  int defaultCodePage = kNoCodePage;  // lines of an 8-bit script that no pragma covers
  bool ignorePragmas = false;         // every line in the default code page
};

// Units: each dialog's caption; each quoted control text (not an ICON control's resource
// name); each popup and menu item text (not separators); each string-table entry; each StringFileInfo value of a version
// resource (without a trailing "\0"); empty
// texts are left out. A unit whose
// literal cannot be found in its line, or whose bytes (text, context or control class) do not
// convert, carries its problem and the model's text with the quotes removed. Contexts and
// control types are UTF-8, converted from the code page of the lines their pieces stand on.
std::vector<TranslationUnit> ExtractUnits(const clsRC& rc, const ExtractOptions& options = {});

// The code page a held script line is in: the one in force there for an 8-bit script, 65001
// for a script the model holds as UTF-8 (read from UTF-16 or behind a UTF-8 mark).
int LineCodePage(const clsRC& rc, const CodePageMap& map, int line);

}  // namespace tamrel
