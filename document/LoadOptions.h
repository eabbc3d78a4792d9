// LoadOptions: how clsRC::Init reads a script. The exact layout is the library's default: each
// section in the one fixed layout its reader accepts, anything else a failure. The relaxed
// layout reads what resource compilers accept: dialog options in any order and each optional,
// every control statement with all its arguments, the DIALOGEX extras, version resources, every
// other resource kept raw, and the items of one language section.
#pragma once

#include <functional>
#include <optional>
#include <string>
#include <string_view>

namespace tamrel {

enum class Layout { Exact, Relaxed };

struct LoadOptions {
  Layout layout = Layout::Exact;
  // Read relaxed: the language whose sections are taken, "LANG_X" or "LANG_X, SUBLANG_Y" (blanks
  // free). Empty: the language of the first dialog, menu or string table that names one.
  std::string language{};
  // Read relaxed: gives the Windows language ID (primary | sublanguage << 10) that LANGUAGE
  // arguments name, or nothing. With it, sections are compared by ID, so that "0x09, 0x01" and
  // "LANG_ENGLISH, SUBLANG_ENGLISH_US" are one language; without it, or for arguments it does not
  // know, by their text. The tool and the Python module pass the language table's look-up.
  std::function<std::optional<int>(std::string_view)> languageId{};
};

}  // namespace tamrel
