// Unit kinds and printf conversions.
#include "translation/TranslationUnit.h"

#include <cstdio>

#include "common/Utf8Text.h"

namespace tamrel {

std::string_view UnitKindName(UnitKind kind) noexcept {
  switch (kind) {
    case UnitKind::Caption: return "caption";
    case UnitKind::Control: return "control";
    case UnitKind::Popup: return "popup";
    case UnitKind::MenuItem: return "menuitem";
    case UnitKind::String: return "string";
    case UnitKind::Version: return "version";
  }
  return "";
}

std::string TranslationUnit::Description() const {
  std::string description(UnitKindName(kind));
  if (!controlType.empty()) description.append(" ").append(controlType);
  return description;
}

std::string PrintableText(std::string_view bytes) {
  std::string out;
  out.reserve(bytes.size());
  char escape[8];
  for (std::size_t i = 0; i < bytes.size();) {
    const unsigned char c = static_cast<unsigned char>(bytes[i]);
    if (c >= 0x20 && c < 0x7F) {
      out.push_back(static_cast<char>(c));
      ++i;
      continue;
    }
    const Utf8Char next = c >= 0x80 ? NextUtf8(bytes, i) : Utf8Char{};
    if (next.length > 0 && next.codePoint != 0xFFFE && next.codePoint != 0xFFFF) {
      out.append(bytes.substr(i, next.length));
      i += next.length;
    } else if (next.length > 0) {
      std::snprintf(escape, sizeof escape, "\\u%04X", static_cast<unsigned>(next.codePoint));
      out.append(escape);
      i += next.length;
    } else {
      std::snprintf(escape, sizeof escape, "\\x%02X", static_cast<unsigned>(c));
      out.append(escape);
      ++i;
    }
  }
  return out;
}

std::vector<std::string> CheckCatalogText(const std::vector<TranslationUnit>& units,
                                          const std::vector<std::string>& targets) {
  std::vector<std::string> errors;
  for (std::size_t i = 0; i < units.size(); ++i) {
    const TranslationUnit& unit = units[i];
    if (!unit.problem.empty()) continue;
    auto check = [&](std::string_view what, std::string_view text) {
      if (IsValidUtf8(text)) return;
      errors.push_back(PrintableText(unit.context) + " (line " + std::to_string(unit.line) + "): its " +
                       std::string(what) + " \"" + PrintableText(text) + "\" is not valid UTF-8");
    };
    check("context", unit.context);
    check("text", unit.text);
    check("control type", unit.controlType);
    if (i < targets.size()) check("translation", targets[i]);
  }
  return errors;
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
