// The model's items as Python classes: fields as properties (texts as str through the code page
// of their line, the bytes as written beside them), lists as sequences with by_id, and texts
// that can be assigned.
#include <pybind11/stl.h>

#include <cstdint>
#include <mutex>
#include <shared_mutex>
#include <string>
#include <vector>

#include "common/KeyIndex.h"
#include "document/clsRC.h"
#include "python/Bindings.h"
#include "python/ItemText.h"
#include "translation/TranslationUnit.h"

namespace tamrel::python {
namespace {

// The Python object for one member of a list.
template <class T>
py::object MakeItem(const std::shared_ptr<ModuleDocument>& document, T& item) {
  return py::cast(ItemRef<T>{document, &item});
}
py::object MakeItem(const std::shared_ptr<ModuleDocument>& document, MenuEntry& entry) {
  if (entry.IsPopup()) return py::cast(ItemRef<clsMenu>{document, &entry.Popup()});
  return py::cast(ItemRef<clsMenuItem>{document, &entry.MenuItem()});
}

// The identifier by_id looks for: the item's ID, a menu item's command.
template <class T>
std::string_view IdOf(const T& item) {
  return item.ID;
}
std::string_view IdOf(const MenuEntry& entry) { return entry.IsPopup() ? std::string_view() : entry.MenuItem().Map; }

template <class T>
void BindList(py::module_& module, const char* name, const char* doc) {
  using List = ListRef<T>;
  py::class_<List>(module, name, doc)
      .def("__len__", [](const List& l) { return l.list->Count(); })
      .def("__getitem__",
           [](const List& l, std::int64_t index) {
             const std::int64_t count = l.list->Count();
             if (index < 0) index += count;
             if (index < 0 || index >= count) throw py::index_error("index out of range");
             return MakeItem(l.document, l.list->Item(static_cast<std::int32_t>(index + 1)));
           })
      .def("__iter__",
           [](const List& l) {
             py::list items;
             for (T& item : *l.list) items.append(MakeItem(l.document, item));
             return py::iter(items);
           })
      .def(
          "by_id",
          [](const List& l, std::string_view id) {
            // Keyed lists find the key at once; the others compare identifiers in order. Both
            // ignore letter case, as the library's keys do.
            if (l.list->Contains(id)) return MakeItem(l.document, l.list->Item(id));
            for (T& item : *l.list)
              if (detail::SameKey(IdOf(item), id)) return MakeItem(l.document, item);
            throw py::key_error(std::string(id));
          },
          py::arg("id"));
}

// Property helpers. `line` picks the script line whose code page a field is read in.
template <class T, class Line>
auto Field(std::string T::*member, Line line) {
  return [member, line](const ItemRef<T>& r) { return DecodeField(*r.document, line(*r.item), r.item->*member); };
}
template <class T>
auto Field(std::string T::*member) {
  return Field(member, [](const T& item) { return int(item.Line); });
}
template <class T>
auto Number(Int16 T::*member) {
  return [member](const ItemRef<T>& r) { return int(r.item->*member); };
}
template <class T>
auto Raw(std::string T::*member) {
  return [member](const ItemRef<T>& r) { return py::bytes(r.item->*member); };
}

// A text literal: its str, and the assignment that writes a str back as a literal.
template <class T, class Text, class Line>
auto TextGetter(Text text, Line line) {
  return [text, line](const ItemRef<T>& r) {
    return DecodeLiteralText(*r.document, line(*r.item), text(*r.item));
  };
}
template <class T, class Text, class Line>
auto TextSetter(Text text, Line line) {
  return [text, line](ItemRef<T>& r, const std::string& value) {
    std::string literal = EncodeLiteralText(*r.document, line(*r.item), value, text(*r.item));
    py::gil_scoped_release unlocked;  // a writer on another thread may hold the document
    std::unique_lock lock(r.document->Lock());
    text(*r.item) = std::move(literal);
  };
}
template <class T, class Text, class Line>
auto TextRaw(Text text, Line) {
  return [text](const ItemRef<T>& r) { return py::bytes(text(*r.item)); };
}

template <class T>
auto WordCount() {
  return [](const ItemRef<T>& r, bool words) {
    py::gil_scoped_release unlocked;
    std::shared_lock lock(r.document->Lock());
    return r.item->DisplayWordCount(words ? 1 : 0);
  };
}

std::vector<std::string> StyleFlags(const clsStyle& style) {
  return std::vector<std::string>(style.Items.begin(), style.Items.end());
}

template <class T>
int LineOf(const T& item) {
  return item.Line;
}

// Bitmaps, icons and cursors: one-line file references with the same fields.
template <class T>
void BindFileReference(py::module_& module, const char* name, const char* doc) {
  auto path = [](T& item) -> std::string& { return item.Path; };
  py::class_<ItemRef<T>>(module, name, doc)
      .def_property_readonly("id", Field(&T::ID))
      .def_property_readonly("item_type", Field(&T::ItemType))
      .def_property_readonly("disposition", Field(&T::Disposition))
      .def_property_readonly("handling", Field(&T::Handling))
      .def_property_readonly("path", TextGetter<T>(path, LineOf<T>))
      .def_property_readonly("path_raw", Raw(&T::Path))
      .def_property_readonly("line", Number(&T::Line))
      .def_property_readonly("section_language", Field(&T::SectionLanguage));
}

}  // namespace

void BindItems(py::module_& module) {
  // Controls.
  auto controlText = [](clsControl& c) -> std::string& { return c.Text; };
  auto controlType = [](clsControl& c) -> std::string& { return c.ControlType; };
  py::class_<ItemRef<clsControl>>(module, "Control", "A control of a dialog.")
      .def_property_readonly("id", Field(&clsControl::ID))
      .def_property_readonly("item_type", Field(&clsControl::ItemType))
      .def_property_readonly("control_type", TextGetter<clsControl>(controlType, LineOf<clsControl>))
      .def_property("text", TextGetter<clsControl>(controlText, LineOf<clsControl>),
                    TextSetter<clsControl>(controlText, LineOf<clsControl>))
      .def_property_readonly("text_raw", Raw(&clsControl::Text))
      .def_property_readonly("map", Field(&clsControl::Map))
      .def_property_readonly("left", Number(&clsControl::Left))
      .def_property_readonly("top", Number(&clsControl::Top))
      .def_property_readonly("width", Number(&clsControl::Width))
      .def_property_readonly("height", Number(&clsControl::Height))
      .def_property_readonly("style", [](const ItemRef<clsControl>& r) { return StyleFlags(r.item->Style); })
      .def_property_readonly("line", Number(&clsControl::Line))
      .def_property_readonly("rel_index", Number(&clsControl::RelIndex))
      .def("word_count", WordCount<clsControl>(), py::arg("words") = false);
  BindList<clsControl>(module, "ControlList", "The controls of a dialog, in script order.");

  // Dialogs.
  auto caption = [](clsDialog& d) -> std::string& { return d.Caption.Text; };
  auto captionLine = [](const clsDialog& d) { return d.Caption.Line > 0 ? int(d.Caption.Line) : int(d.Line); };
  auto fontName = [](clsDialog& d) -> std::string& { return d.Font.Name; };
  auto fontLine = [](const clsDialog& d) { return d.Font.Line > 0 ? int(d.Font.Line) : int(d.Line); };
  py::class_<ItemRef<clsDialog>>(module, "Dialog", "A DIALOG or DIALOGEX resource.")
      .def_property_readonly("id", Field(&clsDialog::ID))
      .def_property_readonly("item_type", Field(&clsDialog::ItemType))
      .def_property_readonly("disposition", Field(&clsDialog::Disposition))
      .def_property("caption", TextGetter<clsDialog>(caption, captionLine), TextSetter<clsDialog>(caption, captionLine))
      .def_property_readonly("caption_raw", TextRaw<clsDialog>(caption, captionLine))
      .def_property_readonly("font_name", TextGetter<clsDialog>(fontName, fontLine))
      .def_property_readonly("font_size", [](const ItemRef<clsDialog>& r) { return int(r.item->Font.Size); })
      .def_property_readonly("left", Number(&clsDialog::Left))
      .def_property_readonly("top", Number(&clsDialog::Top))
      .def_property_readonly("width", Number(&clsDialog::Width))
      .def_property_readonly("height", Number(&clsDialog::Height))
      .def_property_readonly("style", [](const ItemRef<clsDialog>& r) { return StyleFlags(r.item->Style); })
      .def_property_readonly("line", Number(&clsDialog::Line))
      .def_property_readonly("last_line", Number(&clsDialog::LastLine))
      .def_property_readonly("section_language", Field(&clsDialog::SectionLanguage))
      .def_property_readonly("controls",
                             [](const ItemRef<clsDialog>& r) { return ListRef<clsControl>{r.document, &r.item->Controls}; })
      .def("word_count", WordCount<clsDialog>(), py::arg("words") = false);
  BindList<clsDialog>(module, "DialogList", "The dialogs of a script, in script order.");

  // Menus: a MENU resource or a POPUP, and the items inside them.
  auto menuText = [](clsMenu& m) -> std::string& { return m.Text; };
  py::class_<ItemRef<clsMenu>>(module, "Menu", "A MENU resource, or a POPUP inside one.")
      .def_property_readonly("id", Field(&clsMenu::ID))
      .def_property_readonly("item_type", Field(&clsMenu::ItemType))
      .def_property_readonly("disposition", Field(&clsMenu::Disposition))
      .def_property_readonly("is_popup", [](const ItemRef<clsMenu>& r) { return r.item->ItemType == "POPUP"; })
      .def_property("text", TextGetter<clsMenu>(menuText, LineOf<clsMenu>), TextSetter<clsMenu>(menuText, LineOf<clsMenu>))
      .def_property_readonly("text_raw", Raw(&clsMenu::Text))
      .def_property_readonly("line", Number(&clsMenu::Line))
      .def_property_readonly("rel_index", Number(&clsMenu::RelIndex))
      .def_property_readonly("options", Field(&clsMenu::Options))
      .def_property_readonly("extended", [](const ItemRef<clsMenu>& r) { return r.item->Extended; })
      .def_property_readonly("popup_id", Field(&clsMenu::PopupID))
      .def_property_readonly("type", Field(&clsMenu::Type))
      .def_property_readonly("state", Field(&clsMenu::State))
      .def_property_readonly("help_id", Field(&clsMenu::HelpID))
      .def_property_readonly("section_language", Field(&clsMenu::SectionLanguage))
      .def_property_readonly("items",
                             [](const ItemRef<clsMenu>& r) { return ListRef<MenuEntry>{r.document, &r.item->Items}; })
      .def("word_count", WordCount<clsMenu>(), py::arg("words") = false);
  BindList<clsMenu>(module, "MenuList", "The MENU resources of a script, in script order.");

  auto itemText = [](clsMenuItem& i) -> std::string& { return i.Text; };
  py::class_<ItemRef<clsMenuItem>>(module, "MenuItem", "A MENUITEM: a command or a separator.")
      .def_property_readonly("command", Field(&clsMenuItem::Map))
      .def_property_readonly("item_type", Field(&clsMenuItem::ItemType))
      .def_property_readonly("is_separator", [](const ItemRef<clsMenuItem>& r) { return r.item->IsSeparator(); })
      .def_property("text",
                    [itemText](const ItemRef<clsMenuItem>& r) {
                      if (r.item->Map == "SEPARATOR") return std::string();  // its Text is the keyword
                      return TextGetter<clsMenuItem>(itemText, LineOf<clsMenuItem>)(r);
                    },
                    [itemText](ItemRef<clsMenuItem>& r, const std::string& value) {
                      if (r.item->Map == "SEPARATOR") throw py::value_error("a separator has no text");
                      TextSetter<clsMenuItem>(itemText, LineOf<clsMenuItem>)(r, value);
                    })
      .def_property_readonly("text_raw", Raw(&clsMenuItem::Text))
      .def_property_readonly("line", Number(&clsMenuItem::Line))
      .def_property_readonly("rel_index", Number(&clsMenuItem::RelIndex))
      .def_property_readonly("options", Field(&clsMenuItem::Options))
      .def_property_readonly("extended", [](const ItemRef<clsMenuItem>& r) { return r.item->Extended; })
      .def_property_readonly("type", Field(&clsMenuItem::Type))
      .def_property_readonly("state", Field(&clsMenuItem::State))
      .def("word_count", WordCount<clsMenuItem>(), py::arg("words") = false);
  BindList<MenuEntry>(module, "MenuEntryList",
                      "The entries of a menu or popup: MenuItem and Menu (popup) objects; by_id finds a command.");

  // Accelerator tables.
  py::class_<ItemRef<clsAcceleratorKey>>(module, "AcceleratorKey", "One shortcut of an accelerator table.")
      .def_property_readonly("key", Field(&clsAcceleratorKey::Key))
      .def_property_readonly("command", Field(&clsAcceleratorKey::ID))
      .def_property_readonly("item_type", Field(&clsAcceleratorKey::ItemType))
      .def_property_readonly("modifier", Field(&clsAcceleratorKey::Modifier))
      .def_property_readonly("line", Number(&clsAcceleratorKey::Line));
  BindList<clsAcceleratorKey>(module, "AcceleratorKeyList", "The shortcuts of a table; by_id finds a command.");
  py::class_<ItemRef<clsAccelerator>>(module, "Accelerator", "An ACCELERATORS table.")
      .def_property_readonly("id", Field(&clsAccelerator::ID))
      .def_property_readonly("item_type", Field(&clsAccelerator::ItemType))
      .def_property_readonly("disposition", Field(&clsAccelerator::Disposition))
      .def_property_readonly("line", Number(&clsAccelerator::Line))
      .def_property_readonly(
          "keys", [](const ItemRef<clsAccelerator>& r) { return ListRef<clsAcceleratorKey>{r.document, &r.item->Keys}; });
  BindList<clsAccelerator>(module, "AcceleratorList", "The accelerator tables of a script.");

  // The string table.
  auto entryText = [](clsStringTableEntry& e) -> std::string& { return e.Text; };
  py::class_<ItemRef<clsStringTableEntry>>(module, "StringEntry", "One entry of the string table.")
      .def_property_readonly("id", Field(&clsStringTableEntry::ID))
      .def_property("text", TextGetter<clsStringTableEntry>(entryText, LineOf<clsStringTableEntry>),
                    TextSetter<clsStringTableEntry>(entryText, LineOf<clsStringTableEntry>))
      .def_property_readonly("text_raw", Raw(&clsStringTableEntry::Text))
      .def_property_readonly("line", Number(&clsStringTableEntry::Line))
      .def_property_readonly("section_language", Field(&clsStringTableEntry::SectionLanguage))
      .def("word_count", WordCount<clsStringTableEntry>(), py::arg("words") = false);
  BindList<clsStringTableEntry>(module, "StringTable",
                                "The entries of every STRINGTABLE section, in script order.");

  // One-line and raw sections.
  BindFileReference<clsBitmap>(module, "Bitmap", "A BITMAP file reference.");
  BindList<clsBitmap>(module, "BitmapList", "The bitmaps of a script.");
  BindFileReference<clsIcon>(module, "Icon", "An ICON file reference.");
  BindList<clsIcon>(module, "IconList", "The icons of a script.");
  BindFileReference<clsCursor>(module, "Cursor", "A CURSOR file reference.");
  BindList<clsCursor>(module, "CursorList", "The cursors of a script.");
  py::class_<ItemRef<clsRawResource>>(module, "RawResource",
                                      "A resource the model holds only as its lines, as written (read relaxed).")
      .def_property_readonly("id", Field(&clsRawResource::ID))
      .def_property_readonly("item_type", Field(&clsRawResource::ItemType))
      .def_property_readonly("options", Field(&clsRawResource::Options))
      .def_property_readonly("section_language", Field(&clsRawResource::SectionLanguage))
      .def_property_readonly("skipped", [](const ItemRef<clsRawResource>& r) { return r.item->Skipped; })
      .def_property_readonly("line", Number(&clsRawResource::Line))
      .def_property_readonly("text", [](const ItemRef<clsRawResource>& r) {
        std::vector<std::string> lines;
        int line = r.item->Line;
        for (const std::string& text : r.item->Text) lines.push_back(DecodeField(*r.document, line++, text));
        return lines;
      });
  BindList<clsRawResource>(module, "RawResourceList", "The raw resources of a script, in script order.");
  py::class_<ItemRef<clsVersionInfo>>(module, "VersionInfo", "A VERSIONINFO resource (read relaxed).")
      .def_property_readonly("id", Field(&clsVersionInfo::ID))
      .def_property_readonly("file_version", Field(&clsVersionInfo::FileVersion))
      .def_property_readonly("product_version", Field(&clsVersionInfo::ProductVersion))
      .def_property_readonly("file_flags_mask", Field(&clsVersionInfo::FileFlagsMask))
      .def_property_readonly("file_flags", Field(&clsVersionInfo::FileFlags))
      .def_property_readonly("file_os", Field(&clsVersionInfo::FileOS))
      .def_property_readonly("file_type", Field(&clsVersionInfo::FileType))
      .def_property_readonly("file_subtype", Field(&clsVersionInfo::FileSubtype))
      .def_property_readonly("section_language", Field(&clsVersionInfo::SectionLanguage))
      .def_property_readonly("line", Number(&clsVersionInfo::Line))
      .def_property_readonly("translation", [](const ItemRef<clsVersionInfo>& r) { return r.item->Translation; })
      .def_property_readonly("strings",
                             [](const ItemRef<clsVersionInfo>& r) {
                               // {block key: {name: value as written}}
                               py::dict blocks;
                               for (const clsVersionBlock& block : r.item->StringFileInfo) {
                                 py::dict values;
                                 for (const clsVersionValue& value : block.Values)
                                   values[py::str(DecodeField(*r.document, value.Line, value.Name))] =
                                       DecodeField(*r.document, value.Line, value.Value);
                                 blocks[py::str(block.Key)] = values;
                               }
                               return blocks;
                             })
      .def("word_count", WordCount<clsVersionInfo>(), py::arg("words") = false);
  BindList<clsVersionInfo>(module, "VersionInfoList", "The version resources of a script.");
  py::class_<ItemRef<clsInclude>>(module, "Include", "An #include line.")
      .def_property_readonly("text", Field(&clsInclude::Text))
      .def_property_readonly("line", Number(&clsInclude::Line));
  BindList<clsInclude>(module, "IncludeList", "The #include lines of a script.");
  py::class_<ItemRef<clsDesignInfo>>(module, "DesignInfo", "A DESIGNINFO section.")
      .def_property_readonly("id", Field(&clsDesignInfo::ID))
      .def_property_readonly("item_type", Field(&clsDesignInfo::ItemType))
      .def_property_readonly("disposition", Field(&clsDesignInfo::Disposition))
      .def_property_readonly("items",
                             [](const ItemRef<clsDesignInfo>& r) {
                               std::vector<std::string> items;
                               for (const std::string& item : r.item->Items)
                                 items.push_back(DecodeField(*r.document, r.item->Line, item));
                               return items;
                             })
      .def_property_readonly("line", Number(&clsDesignInfo::Line));
  BindList<clsDesignInfo>(module, "DesignInfoList", "The DESIGNINFO sections of a script.");

  // Translation units.
  py::class_<TranslationUnit>(module, "Unit", "A piece of translatable text and where it stands.")
      // A unit left out for bytes that do not convert holds them as they are: such text reads
      // with U+FFFD in their place instead of raising.
      .def_property_readonly("context", [](const TranslationUnit& u) { return LenientStr(u.context); })
      .def_property_readonly("kind", [](const TranslationUnit& u) { return std::string(UnitKindName(u.kind)); })
      .def_property_readonly("control_type", [](const TranslationUnit& u) { return LenientStr(u.controlType); })
      .def_property_readonly("text", [](const TranslationUnit& u) { return LenientStr(u.text); })
      .def_readonly("line", &TranslationUnit::line)
      .def_readonly("code_page", &TranslationUnit::codePage)
      .def_property_readonly("problem",
                             [](const TranslationUnit& u) -> py::object {
                               if (u.problem.empty()) return py::none();
                               return LenientStr(u.problem);
                             })
      .def_property_readonly("description", &TranslationUnit::Description)
      .def("__repr__", [](const TranslationUnit& u) {
        return py::str("<Unit {!r}: {!r}>").format(LenientStr(u.context), LenientStr(u.text));
      });
}

}  // namespace tamrel::python
