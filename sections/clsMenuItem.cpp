// The menu item writer and word count.
#include "sections/clsMenuItem.h"

#include "common/modCommonTools.h"

namespace tamrel {

bool clsMenuItem::IsSeparator() const {
  if (Text == "SEPARATOR") return true;
  if (!Extended) return false;
  // MFT_SEPARATOR as a whole word of the type expression ("MFT_SEPARATOR | MFT_RIGHTORDER").
  constexpr std::string_view separator = "MFT_SEPARATOR";
  for (std::size_t at = Type.find(separator); at != std::string::npos; at = Type.find(separator, at + 1)) {
    const std::size_t end = at + separator.size();
    if ((at == 0 || !IsNameChar(Type[at - 1])) && (end == Type.size() || !IsNameChar(Type[end]))) return true;
  }
  return false;
}

LineCollection clsMenuItem::PrintLines() const { return CollectLines(*this); }

void clsMenuItem::WriteLines(LineWriter& out) const {
  std::string& line = out.Begin(Line);
  line.append(ItemType).append(" ").append(Text);
  if (Extended) {
    if (Text != "SEPARATOR" && !(Map.empty() && Type.empty() && State.empty())) {
      line.append(",\t\t").append(Text.size() < 12 ? 2 : Text.size() < 24 ? 1 : 0, '\t').append(Map);
      AppendArguments(line, {Type, State});
    }
  } else if (Text != "SEPARATOR") {
    const std::size_t alignment = Text.size() < 12 ? 2 : Text.size() < 24 ? 1 : 0;
    line.append(",\t\t").append(alignment, '\t').append(Map);
    if (!Options.empty()) line.append(", ").append(Options);
  }
  out.End();
}

void clsMenuItem::AppendArguments(std::string& line, std::initializer_list<std::string_view> arguments) {
  std::size_t used = 0, k = 0;
  for (std::string_view argument : arguments) {
    ++k;
    if (!argument.empty()) used = k;
  }
  k = 0;
  for (std::string_view argument : arguments) {
    if (++k > used) break;
    line.append(", ").append(argument);
  }
}

std::int32_t clsMenuItem::DisplayWordCount(const Variant& vOperation) const {
  return CountWords(Text, vOperation);
}

}  // namespace tamrel
