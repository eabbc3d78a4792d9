// Writer and word count of a dialog caption.
#include "dialogs/clsCaption.h"

#include "common/modCommonTools.h"

namespace tamrel {

LineCollection clsCaption::PrintLines() const { return CollectLines(*this); }

void clsCaption::WriteLines(LineWriter& out) const {
  if (LineCount() == 0) return;
  out.Begin(Line).append("CAPTION ").append(Text);
  out.End();
}

std::int32_t clsCaption::DisplayWordCount(const Variant& vOperation) const {
  return CountWords(Text, vOperation);
}

}  // namespace tamrel
