// The script writer: the document's sections in their fixed order, each under a comment
// banner, with the #ifdef blocks inside one APSTUDIO_INVOKED wrapper and the string table
// always present. Items write their own lines; the writer adds banners and blank lines.
#include <cctype>
#include <string_view>

#include "document/clsRC.h"

namespace tamrel {
namespace {

// Every count and index of the writer is 16-bit: a collection or a line collection of 32,767
// members or more overflows.
template <class T>
const Collection<T>& Checked(const Collection<T>& collection) {
  if (collection.Count() >= 32767) Raise(err::Overflow);
  return collection;
}

// True for a line that the preprocessor reads as a conditional directive: optional blanks,
// "#", optional blanks, then if, ifdef, ifndef, elif, else or endif as a whole word. A block
// keeps such lines of its own (an "#ifdef _DEBUG" ... "#else" pair in a version block, a
// nested "#if"); written inside the wrapper they would close or flip it and bring the rest of
// the block to life. Lines whose first token is exactly "#endif" never reach a block.
bool IsConditionalDirective(std::string_view line) {
  auto isBlank = [](char c) { return c == ' ' || c == '\t' || c == '\v' || c == '\f'; };
  std::size_t i = 0;
  while (i < line.size() && isBlank(line[i])) ++i;
  if (i == line.size() || line[i] != '#') return false;
  ++i;
  while (i < line.size() && isBlank(line[i])) ++i;
  std::size_t end = i;
  while (end < line.size() && (std::isalnum(static_cast<unsigned char>(line[end])) || line[end] == '_')) ++end;
  std::string_view word = line.substr(i, end - i);
  return word == "if" || word == "ifdef" || word == "ifndef" || word == "elif" || word == "else" ||
         word == "endif";
}

// Items hand over their lines by value, so the strings move into the result.
void Append(LineCollection& result, LineCollection lines) {
  Checked(lines);
  for (std::string& line : lines) result.Add(std::move(line));
}

}  // namespace

LineCollection clsRC::SectionBanner(std::string_view title) {
  LineCollection banner;
  banner.Add(std::string(77, '/'));
  banner.Add("//");
  banner.Add("// " + std::string(title));
  banner.Add("//");
  banner.Add("");
  return banner;
}

LineCollection clsRC::PrintLines() const {
  Procedure procedure{"RCpl", "01"};
  LineCollection result;
  // A group of one-line items: banner, each item's lines, one blank line.
  auto group = [&](const auto& items, std::string_view title) {
    if (Checked(items).Empty()) return;
    Append(result, SectionBanner(title));
    for (const auto& item : items) Append(result, item.PrintLines());
    result.Add("");
  };
  // Multi-line items: banner, then each item's lines followed by a blank line.
  auto blocks = [&](const auto& items, std::string_view title) {
    if (Checked(items).Empty()) return;
    Append(result, SectionBanner(title));
    for (const auto& item : items) {
      Append(result, item.PrintLines());
      result.Add("");
    }
  };
  try {
    group(Includes, " Generated from the TEXTINCLUDE 2 resource.");
    procedure.Step = "02";
    group(Icons, "Icon");
    procedure.Step = "03";
    group(Bitmaps, "Bitmap");
    procedure.Step = "02";
    group(Cursors, "Cursor");
    procedure.Step = "04";
    blocks(Menus, "Menu");
    procedure.Step = "05";
    blocks(Accelerators, "Accelerator");
    procedure.Step = "06";
    blocks(Dialogs, "Dialog");
    procedure.Step = "07";
    if (!Checked(IfDef).Empty()) {
      result.Add("#ifdef APSTUDIO_INVOKED");
      Append(result, SectionBanner("TEXTINCLUDE"));
      // The model keeps every stored line; only the conditional directives stay unwritten, so
      // the wrapper stays balanced and everything inside it stays inert.
      for (const LineCollection& block : IfDef) {
        Checked(block);
        for (const std::string& line : block)
          if (!IsConditionalDirective(line)) result.Add(line);
      }
      result.Add("#endif    // APSTUDIO_INVOKED");
      result.Add("");
    }
    procedure.Step = "08";
    Append(result, SectionBanner("String Table"));
    Append(result, StringTable.PrintLines());
    result.Add("");
  } catch (const RCError& e) {
    Report(procedure, e, std::nullopt);
  }
  return result;
}

}  // namespace tamrel
