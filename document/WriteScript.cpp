// The script writer: the document's sections in their fixed order, each under a comment
// banner, with the #ifdef blocks inside one APSTUDIO_INVOKED wrapper and the string table
// always present. Items write their own lines; the writer adds banners and blank lines.
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
      for (const LineCollection& block : IfDef) Append(result, block);
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
