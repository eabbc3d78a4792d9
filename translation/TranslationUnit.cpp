// Unit kinds and printf conversions.
#include "translation/TranslationUnit.h"


namespace tamrel {

std::string_view UnitKindName(UnitKind kind) noexcept {
  switch (kind) {
    case UnitKind::Caption: return "caption";
    case UnitKind::Control: return "control";
    case UnitKind::Popup: return "popup";
    case UnitKind::MenuItem: return "menuitem";
    case UnitKind::String: return "string";
  }
  return "";
}

std::string TranslationUnit::Description() const {
  std::string description(UnitKindName(kind));
  if (!controlType.empty()) description.append(" ").append(controlType);
  return description;
}

std::size_t PrintfConversionLength(std::string_view text, std::size_t at) {
  if (at >= text.size() || text[at] != '%') return 0;
  std::size_t j = at + 1;
  if (j < text.size() && text[j] == '%') return 2;
  auto skip = [&](std::string_view set) {
    while (j < text.size() && set.find(text[j]) != std::string_view::npos) ++j;
  };
  skip("0123456789$");  // argument position or width
  skip("-+ #0'");
  skip("0123456789*$");
  if (j < text.size() && text[j] == '.') {
    ++j;
    skip("0123456789*$");
  }
  skip("hlLqjztI6432w");
  if (j < text.size() && std::string_view("diouxXeEfFgGaAcCsSpnZ").find(text[j]) != std::string_view::npos)
    return j + 1 - at;
  return 0;
}

std::vector<std::string> PrintfPlaceholders(std::string_view text, bool* clean) {
  std::vector<std::string> found;
  if (clean) *clean = true;
  for (std::size_t i = text.find('%'); i != std::string_view::npos; i = text.find('%', i)) {
    const std::size_t length = PrintfConversionLength(text, i);
    if (length == 0) {
      if (clean) *clean = false;
      ++i;
      continue;
    }
    if (length != 2 || text[i + 1] != '%') found.emplace_back(text.substr(i, length));
    i += length;
  }
  return found;
}

}  // namespace tamrel
