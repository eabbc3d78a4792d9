// Writer and word count of a dialog caption.
#include "dialogs/clsCaption.h"

#include "common/modCommonTools.h"

namespace tamrel {

LineCollection clsCaption::PrintLines() const {
  LineCollection lines;
  if (Text.find_first_not_of(' ') != std::string::npos) lines.Add("CAPTION " + Text);
  return lines;
}

std::int32_t clsCaption::DisplayWordCount(const Variant& vOperation) const {
  return CountWords(Text, vOperation);
}

}  // namespace tamrel
