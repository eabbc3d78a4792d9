// A version resource written back in one layout: fixed fields one a line, then its blocks.
#include "sections/clsVersionInfo.h"

#include <array>
#include <string_view>

#include "common/modCommonTools.h"

namespace tamrel {
const std::array<clsVersionInfo::FixedField, 7> clsVersionInfo::kFixedFields = {{
    {"FILEVERSION", &clsVersionInfo::FileVersion},
    {"PRODUCTVERSION", &clsVersionInfo::ProductVersion},
    {"FILEFLAGSMASK", &clsVersionInfo::FileFlagsMask},
    {"FILEFLAGS", &clsVersionInfo::FileFlags},
    {"FILEOS", &clsVersionInfo::FileOS},
    {"FILETYPE", &clsVersionInfo::FileType},
    {"FILESUBTYPE", &clsVersionInfo::FileSubtype},
}};

void clsVersionInfo::WriteLines(LineWriter& out) const {
  std::string& header = out.Begin(Line).append(ID).append(" VERSIONINFO");
  if (!Options.empty()) header.append(" ").append(Options);
  out.End();
  if (!FixedText.Empty()) {
    for (const std::string& line : FixedText) {
      out.Begin(0).assign(line);
      out.End();
    }
  } else {
    for (const auto& [keyword, field] : kFixedFields) {
      if ((this->*field).empty()) continue;
      out.Begin(0).append(" ").append(keyword).append(" ").append(this->*field);
      out.End();
    }
  }
  out.Line("BEGIN", 0);
  out.Indent();
  if (!StringFileInfo.Empty()) {
    out.Line("BLOCK \"StringFileInfo\"", 0);
    out.Line("BEGIN", 0);
    out.Indent();
    for (const clsVersionBlock& block : StringFileInfo) block.WriteLines(out);
    out.Outdent();
    out.Line("END", 0);
  }
  if (!Translation.empty()) {
    out.Line("BLOCK \"VarFileInfo\"", 0);
    out.Line("BEGIN", 0);
    out.Indent();
    std::string& text = out.Begin(0).append("VALUE \"Translation\"");
    for (const auto& [language, codePage] : Translation)
      text.append(", ").append(language).append(", ").append(codePage);
    out.End();
    out.Outdent();
    out.Line("END", 0);
  }
  out.Outdent();
  out.Line("END", 0);
}

std::int32_t clsVersionInfo::DisplayWordCount(const Variant& vOperation) const {
  const Variant operation = vOperation.IsMissing() ? Variant(0) : vOperation;
  Int16 total = 0;
  for (const clsVersionBlock& block : StringFileInfo)
    for (const clsVersionValue& value : block.Values) total += CountWords(value.Value, operation);
  return total;
}

std::int32_t clsVersionInfo::LineCount() const {
  std::int32_t count = 3;  // header, BEGIN, END
  if (!FixedText.Empty()) {
    count += FixedText.Count();
  } else {
    for (const FixedField& field : kFixedFields)
      if (!(this->*field.member).empty()) ++count;
  }
  if (!StringFileInfo.Empty()) {
    count += 3;
    for (const clsVersionBlock& block : StringFileInfo) count += block.LineCount();
  }
  if (!Translation.empty()) count += 4;
  return count;
}

}  // namespace tamrel
