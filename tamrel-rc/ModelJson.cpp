// Building the JSON value of a model and rendering it as indented text.
#include "tamrel-rc/ModelJson.h"

namespace tamrel::tool {
namespace {

Json Lines(const LineCollection& lines) {
  Json array = Json::array();
  for (const std::string& line : lines) array.push_back(line);
  return array;
}

template <class T, class F>
Json Array(const Collection<T>& items, F&& convert) {
  Json array = Json::array();
  for (const T& item : items) array.push_back(convert(item));
  return array;
}

Json StyleJson(const clsStyle& style) { return {{"Items", Lines(style.Items)}, {"Line", int(style.Line)}}; }

Json ControlJson(const clsControl& c) {
  return {{"ID", c.ID},         {"ItemType", c.ItemType}, {"ControlType", c.ControlType},
          {"Text", c.Text},     {"Map", c.Map},           {"Top", int(c.Top)},
          {"Left", int(c.Left)}, {"Height", int(c.Height)}, {"Width", int(c.Width)},
          {"Style", StyleJson(c.Style)}, {"Line", int(c.Line)}, {"RelIndex", int(c.RelIndex)}};
}

Json DialogJson(const clsDialog& d) {
  return {{"ID", d.ID},
          {"Disposition", d.Disposition},
          {"ItemType", d.ItemType},
          {"Style", StyleJson(d.Style)},
          {"Font", {{"Name", d.Font.Name}, {"Size", int(d.Font.Size)}, {"Line", int(d.Font.Line)}}},
          {"Caption", {{"Text", d.Caption.Text}, {"ItemType", d.Caption.ItemType}, {"Line", int(d.Caption.Line)}}},
          {"Top", int(d.Top)},
          {"Left", int(d.Left)},
          {"Height", int(d.Height)},
          {"Width", int(d.Width)},
          {"Controls", Array(d.Controls, ControlJson)},
          {"Line", int(d.Line)},
          {"LastLine", int(d.LastLine)},
          {"DialogNumber", std::string(d.DialogNumber().TextValue())}};
}

Json MenuJson(const clsMenu& menu);

Json MenuEntryJson(const MenuEntry& entry) {
  if (entry.IsPopup()) {
    Json popup = MenuJson(entry.Popup());
    popup["Entry"] = "popup";
    return popup;
  }
  const clsMenuItem& item = entry.MenuItem();
  return {{"ID", item.ID},     {"ItemType", item.ItemType}, {"Text", item.Text},         {"Map", item.Map},
          {"Line", int(item.Line)}, {"RelIndex", int(item.RelIndex)}, {"Entry", "item"}};
}

Json MenuJson(const clsMenu& m) {
  return {{"ID", m.ID},     {"Disposition", m.Disposition}, {"ItemType", m.ItemType},
          {"Text", m.Text}, {"Map", m.Map},                 {"Items", Array(m.Items, MenuEntryJson)},
          {"Line", int(m.Line)}, {"RelIndex", int(m.RelIndex)}};
}

Json AcceleratorJson(const clsAccelerator& a) {
  return {{"ID", a.ID},
          {"Predisposition", a.Predisposition},
          {"Disposition", a.Disposition},
          {"ItemType", a.ItemType},
          {"Handling", a.Handling},
          {"Keys", Array(a.Keys,
                         [](const clsAcceleratorKey& k) -> Json {
                           return {{"ID", k.ID},         {"ItemType", k.ItemType}, {"Key", k.Key},
                                   {"Modifier", k.Modifier}, {"Line", int(k.Line)}, {"RelIndex", int(k.RelIndex)}};
                         })},
          {"Line", int(a.Line)}};
}

template <class FileReference>
Json FileReferenceJson(const FileReference& f) {
  return {{"ID", f.ID},     {"Disposition", f.Disposition}, {"ItemType", f.ItemType},
          {"Handling", f.Handling}, {"Path", f.Path},       {"Line", int(f.Line)}};
}

void Render(const Json& value, int indent, std::string& out);

void RenderMember(const std::string& key, const Json& value, int indent, std::string& out) {
  out.append(static_cast<std::size_t>(indent), ' ').append(key).append(":");
  if (value.is_structured() && !value.empty()) {
    out.append("\n");
    Render(value, indent + 2, out);
  } else {
    out.append(" ");
    Render(value, 0, out);
  }
}

void Render(const Json& value, int indent, std::string& out) {
  if (value.is_object()) {
    if (value.empty()) out.append("{}\n");
    for (const auto& [key, member] : value.items()) RenderMember(key, member, indent, out);
  } else if (value.is_array()) {
    if (value.empty()) out.append("[]\n");
    for (const Json& member : value) {
      if (member.is_structured() && !member.empty()) {
        // The member's first line carries the "- " mark in its indentation.
        std::size_t start = out.size();
        Render(member, indent + 2, out);
        out.replace(start + static_cast<std::size_t>(indent), 2, "- ");
      } else {
        out.append(static_cast<std::size_t>(indent), ' ').append("- ");
        Render(member, 0, out);
      }
    }
  } else if (value.is_string()) {
    out.append(value.get_ref<const std::string&>()).append("\n");
  } else {
    out.append(value.dump()).append("\n");
  }
}

}  // namespace

Json ModelToJson(const clsRC& rc) {
  const clsStringTable& table = rc.StringTable;
  return {{"Path", rc.Path},
          {"SourceEncoding", std::string(EncodingName(rc.SourceEncoding))},
          {"Initialized", rc.Initialized},
          {"TotalMenuItems", int(rc.TotalMenuItems)},
          {"TotalAccelerators", int(rc.TotalAccelerators())},
          {"TotalControls", int(rc.TotalControls())},
          {"Includes", Array(rc.Includes,
                             [](const clsInclude& i) -> Json {
                               return {{"ID", i.ID}, {"Text", i.Text}, {"Line", int(i.Line)}};
                             })},
          {"Icons", Array(rc.Icons, FileReferenceJson<clsIcon>)},
          {"Bitmaps", Array(rc.Bitmaps, FileReferenceJson<clsBitmap>)},
          {"Cursors", Array(rc.Cursors, FileReferenceJson<clsCursor>)},
          {"Menus", Array(rc.Menus, MenuJson)},
          {"Accelerators", Array(rc.Accelerators, AcceleratorJson)},
          {"Dialogs", Array(rc.Dialogs, DialogJson)},
          {"IfDef", Array(rc.IfDef, Lines)},
          {"DesignInfos", Array(rc.DesignInfos,
                                [](const clsDesignInfo& d) -> Json {
                                  return {{"ID", d.ID},       {"Disposition", d.Disposition},
                                          {"ItemType", d.ItemType}, {"Items", Lines(d.Items)},
                                          {"Line", int(d.Line)}};
                                })},
          {"StringTable", {{"Disposition", table.Disposition},
                           {"ItemType", table.ItemType},
                           {"Entries", Array(table.Entries,
                                             [](const clsStringTableEntry& e) -> Json {
                                               return {{"ID", e.ID}, {"Text", e.Text}, {"Line", int(e.Line)}};
                                             })},
                           {"Line", int(table.Line)}}},
          {"Lines", Lines(rc.Lines)}};
}

std::string JsonToText(const Json& value) {
  std::string out;
  Render(value, 0, out);
  return out;
}

}  // namespace tamrel::tool
