// clsVersionInfo: a VERSIONINFO resource. Its fixed fields, each StringFileInfo block with its
// name/value pairs, and the language/code-page pairs of VarFileInfo's Translation. Only relaxed
// reading fills it; a version resource whose block holds anything else is kept raw instead.
#pragma once

#include <array>
#include <array>
#include <cstdint>
#include <string>
#include <string_view>
#include <string_view>
#include <utility>
#include <vector>

#include "common/Collection.h"
#include "common/Int16.h"
#include "common/LineWriter.h"
#include "common/Variant.h"
#include "sections/clsVersionBlock.h"

namespace tamrel {

class clsVersionInfo {
 public:
  std::string ID;               // the header's first word, "VS_VERSION_INFO" or "1"
  std::string Options;          // the header behind VERSIONINFO (memory options), usually empty
  std::string SectionLanguage;  // the LANGUAGE in force where it stands, empty when none
  // The fixed fields' arguments as written ("1,0,0,1", "0x3fL"); empty when absent. A field
  // written more than once (once per configuration) holds its first value.
  std::string FileVersion, ProductVersion, FileFlagsMask, FileFlags, FileOS, FileType, FileSubtype;
  // The fixed part's lines as written, kept only when it holds preprocessor lines (FILEFLAGS
  // chosen by "#ifdef _DEBUG"); the writer then writes them instead of the fields above, so a
  // host that changes a field clears it.
  LineCollection FixedText;
  Collection<clsVersionBlock> StringFileInfo;                    // in script order
  std::vector<std::pair<std::string, std::string>> Translation;  // (language, code page) as written
  Int16 Line;                                                    // the header's line

  // The fixed fields' keywords and members, in the order the writer writes them.
  struct FixedField {
    std::string_view keyword;
    std::string clsVersionInfo::*member;
  };
  static const std::array<FixedField, 7> kFixedFields;

  // The header, the fixed fields, BEGIN, the StringFileInfo block (when it has language blocks),
  // the VarFileInfo block (when there are Translation pairs) and END.
  void WriteLines(LineWriter& out) const;
  std::int32_t LineCount() const;
  // The pieces (operation missing or 0) or words (any other) of its StringFileInfo values.
  std::int32_t DisplayWordCount(const Variant& vOperation = {}) const;
};

}  // namespace tamrel
