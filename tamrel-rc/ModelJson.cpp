// The model as a stream of values, and its two renderings: JSON through RapidJSON's writer and
// indented text. Both write through a buffer into the checked standard output.
#include "tamrel-rc/ModelJson.h"

#include <rapidjson/prettywriter.h>
#include <rapidjson/reader.h>

#include <algorithm>
#include <array>
#include <string>

#include "tamrel-rc/Output.h"

namespace tamrel::tool {
namespace {

// Sends the members of each kind of object to a sink, in the model's declaration order.
class ModelWalk {
 public:
  explicit ModelWalk(ModelSink& sink) : s_(sink) {}

  void Document(const clsRC& rc, const std::vector<CodePageRegion>& codePages, const Diagnostic* error) {
    s_.BeginObject();
    Text("Path", rc.Path, kNotScriptText);
    Text("SourceEncoding", EncodingName(rc.SourceEncoding), 0);
    s_.Key("CodePages");
    s_.BeginArray(codePages.empty());
    for (const CodePageRegion& region : codePages) {
      s_.BeginObject();
      Number("Line", region.firstLine);
      s_.Key("CodePage");
      if (region.codePage == kNoCodePage)
        s_.Null();
      else
        s_.Int(region.codePage);
      s_.EndObject();
    }
    s_.EndArray();
    s_.Key("Initialized");
    s_.Bool(rc.Initialized);
    s_.Key("Error");
    s_.Error(error);
    Number("TotalMenuItems", rc.TotalMenuItems);
    Number("TotalAccelerators", TotalOrMinusOne(rc, &clsRC::TotalAccelerators));
    Number("TotalControls", TotalOrMinusOne(rc, &clsRC::TotalControls));
    Array("Includes", rc.Includes, [&](const clsInclude& i) {
      Text("ID", i.ID, i.Line);
      Text("Text", i.Text, i.Line);
      Number("Line", i.Line);
    });
    Array("Icons", rc.Icons, [&](const auto& f) { FileReference(f); });
    Array("Bitmaps", rc.Bitmaps, [&](const auto& f) { FileReference(f); });
    Array("Cursors", rc.Cursors, [&](const auto& f) { FileReference(f); });
    s_.Key("Menus");
    s_.BeginArray(rc.Menus.Empty());
    for (const clsMenu& menu : rc.Menus) Menu(menu);
    s_.EndArray();
    Array("Accelerators", rc.Accelerators, [&](const clsAccelerator& a) { Accelerator(a); });
    Array("Dialogs", rc.Dialogs, [&](const clsDialog& d) { Dialog(d); });
    s_.Key("IfDef");
    s_.BeginArray(rc.IfDef.Empty());
    for (std::int32_t b = 1; b <= rc.IfDef.Count(); ++b) {
      const LineCollection& block = rc.IfDef.Item(b);
      const std::vector<Int16>* numbers = static_cast<std::size_t>(b) <= rc.IfDefLines.size()
                                              ? &rc.IfDefLines[static_cast<std::size_t>(b - 1)]
                                              : nullptr;
      if (numbers != nullptr && numbers->size() != static_cast<std::size_t>(block.Count())) numbers = nullptr;
      s_.BeginArray(block.Empty());
      for (std::int32_t i = 1; i <= block.Count(); ++i)
        s_.String(block.Item(i), numbers != nullptr ? int((*numbers)[static_cast<std::size_t>(i - 1)]) : 0);
      s_.EndArray();
    }
    s_.EndArray();
    Array("DesignInfos", rc.DesignInfos, [&](const clsDesignInfo& d) {
      Text("ID", d.ID, d.Line);
      Text("Disposition", d.Disposition, d.Line);
      Text("ItemType", d.ItemType, d.Line);
      Lines("Items", d.Items, d.Line);
      Number("Line", d.Line);
    });
    const clsStringTable& table = rc.StringTable;
    s_.Key("StringTable");
    s_.BeginObject();
    Text("Disposition", table.Disposition, table.Line);
    Text("ItemType", table.ItemType, table.Line);
    Array("Entries", table.Entries, [&](const clsStringTableEntry& e) {
      Text("ID", e.ID, e.Line);
      Text("Text", e.Text, e.Line);
      Number("Line", e.Line);
      Extra("SectionLanguage", e.SectionLanguage, e.Line);
    });
    Number("Line", table.Line);
    if (!table.Blocks.Empty())
      Array("Blocks", table.Blocks, [&](const clsStringTableBlock& b) {
        Text("Disposition", b.Disposition, b.Line);
        Lines("Options", b.Options, b.Line);
        Number("Entries", b.Entries);
        Number("Line", b.Line);
      });
    s_.EndObject();
    if (rc.Options().layout == Layout::Relaxed) Relaxed(rc);
    s_.Key("Lines");
    s_.BeginArray(rc.Lines.Empty());
    int line = 0;
    for (const std::string& text : rc.Lines) s_.String(text, ++line);
    s_.EndArray();
    s_.EndObject();
  }

 private:
  // What only a relaxed model holds: language sections, version resources, raw resources;
  // each only when there is one, so that a script without them dumps as it always has.
  void Relaxed(const clsRC& rc) {
    Extra("Language", rc.Language, 0);
    if (!rc.LanguageLines.empty() || !rc.SkippedSections.empty()) {
      s_.Key("LanguageLines");
      s_.BeginArray(rc.LanguageLines.empty());
      for (Int16 line : rc.LanguageLines) s_.Int(line);
      s_.EndArray();
      s_.Key("SkippedSections");
      s_.BeginArray(rc.SkippedSections.empty());
      for (const clsRC::LanguageSection& section : rc.SkippedSections) {
        s_.BeginObject();
        Text("Language", section.Language, section.First);
        Number("First", section.First);
        Number("Last", section.Last);
        s_.EndObject();
      }
      s_.EndArray();
    }
    if (!rc.VersionInfos.Empty())
      Array("VersionInfos", rc.VersionInfos, [&](const clsVersionInfo& v) {
        Text("ID", v.ID, v.Line);
        Text("Options", v.Options, v.Line);
        for (const auto& [key, value] : {std::pair<std::string_view, const std::string*>{"FileVersion", &v.FileVersion},
                                         {"ProductVersion", &v.ProductVersion}, {"FileFlagsMask", &v.FileFlagsMask},
                                         {"FileFlags", &v.FileFlags}, {"FileOS", &v.FileOS}, {"FileType", &v.FileType},
                                         {"FileSubtype", &v.FileSubtype}})
          Text(key, *value, v.Line);
        Lines("FixedText", v.FixedText, v.Line);
        Array("StringFileInfo", v.StringFileInfo, [&](const clsVersionBlock& b) {
          Text("Key", b.Key, b.Line);
          Array("Values", b.Values, [&](const clsVersionValue& value) {
            Text("Name", value.Name, value.Line);
            Text("Value", value.Value, value.Line);
            Number("Line", value.Line);
          });
          Number("Line", b.Line);
        });
        s_.Key("Translation");
        s_.BeginArray(v.Translation.empty());
        for (const auto& [language, codePage] : v.Translation) {
          s_.BeginArray(false);
          s_.String(language, v.Line);
          s_.String(codePage, v.Line);
          s_.EndArray();
        }
        s_.EndArray();
        Number("Line", v.Line);
        Extra("SectionLanguage", v.SectionLanguage, v.Line);
      });
    if (!rc.RawResources.Empty())
      Array("RawResources", rc.RawResources, [&](const clsRawResource& r) {
        Text("ID", r.ID, r.Line);
        Text("ItemType", r.ItemType, r.Line);
        Text("Options", r.Options, r.Line);
        s_.Key("Text");
        s_.BeginArray(r.Text.Empty());
        int at = r.Line;
        for (const std::string& text : r.Text) s_.String(text, at++);
        s_.EndArray();
        Number("Line", r.Line);
        s_.Key("Skipped");
        s_.Bool(r.Skipped);
        Extra("SectionLanguage", r.SectionLanguage, r.Line);
      });
  }

  static int TotalOrMinusOne(const clsRC& rc, Int16 (clsRC::*total)() const) {
    try {
      return (rc.*total)();
    } catch (const RCError&) {
      return -1;  // more than a 16-bit count holds
    }
  }

  void Text(std::string_view key, std::string_view text, int line) {
    s_.Key(key);
    s_.String(text, line);
  }
  void Number(std::string_view key, int value) {
    s_.Key(key);
    s_.Int(value);
  }
  void Lines(std::string_view key, const LineCollection& lines, int line) {
    s_.Key(key);
    s_.BeginArray(lines.Empty());
    for (const std::string& text : lines) s_.String(text, line);
    s_.EndArray();
  }
  // An array of objects, each member's object filled by `members`.
  template <class T, class F>
  void Array(std::string_view key, const Collection<T>& items, F&& members) {
    s_.Key(key);
    s_.BeginArray(items.Empty());
    for (const T& item : items) {
      s_.BeginObject();
      members(item);
      s_.EndObject();
    }
    s_.EndArray();
  }

  template <class Reference>
  void FileReference(const Reference& f) {
    Text("ID", f.ID, f.Line);
    Text("Disposition", f.Disposition, f.Line);
    Text("ItemType", f.ItemType, f.Line);
    Text("Handling", f.Handling, f.Line);
    Text("Path", f.Path, f.Line);
    Number("Line", f.Line);
    Extra("SectionLanguage", f.SectionLanguage, f.Line);
  }

  void Style(const clsStyle& style) {
    s_.Key("Style");
    s_.BeginObject();
    Lines("Items", style.Items, style.Line);
    Number("Line", style.Line);
    s_.EndObject();
  }

  // A member only relaxed reading sets: written only when it is, so an exact model dumps as
  // it always has.
  void Extra(std::string_view key, const std::string& value, int line) {
    if (!value.empty()) Text(key, value, line);
  }

  void Dialog(const clsDialog& d) {
    Text("ID", d.ID, d.Line);
    Text("Disposition", d.Disposition, d.Line);
    Text("ItemType", d.ItemType, d.Line);
    Style(d.Style);
    s_.Key("Font");
    s_.BeginObject();
    Text("Name", d.Font.Name, d.Font.Line);
    Number("Size", d.Font.Size);
    Number("Line", d.Font.Line);
    Extra("Weight", d.Font.Weight, d.Font.Line);
    Extra("Italic", d.Font.Italic, d.Font.Line);
    Extra("CharSet", d.Font.CharSet, d.Font.Line);
    s_.EndObject();
    s_.Key("Caption");
    s_.BeginObject();
    Text("Text", d.Caption.Text, d.Caption.Line);
    Text("ItemType", d.Caption.ItemType, d.Caption.Line);
    Number("Line", d.Caption.Line);
    s_.EndObject();
    Number("Top", d.Top);
    Number("Left", d.Left);
    Number("Height", d.Height);
    Number("Width", d.Width);
    Array("Controls", d.Controls, [&](const clsControl& c) {
      Text("ID", c.ID, c.Line);
      Text("ItemType", c.ItemType, c.Line);
      Text("ControlType", c.ControlType, c.Line);
      Text("Text", c.Text, c.Line);
      Text("Map", c.Map, c.Line);
      Number("Top", c.Top);
      Number("Left", c.Left);
      Number("Height", c.Height);
      Number("Width", c.Width);
      Style(c.Style);
      Number("Line", c.Line);
      Number("RelIndex", c.RelIndex);
      Extra("ExStyle", c.ExStyle, c.Line);
      Extra("HelpID", c.HelpID, c.Line);
    });
    Number("Line", d.Line);
    Number("LastLine", d.LastLine);
    Extra("SectionLanguage", d.SectionLanguage, d.Line);
    Text("DialogNumber", d.DialogNumber().TextValue(), d.Line);
    Extra("HelpID", d.HelpID, d.Line);
    Extra("ExStyle", d.ExStyle, d.Line);
    Extra("Menu", d.Menu, d.Line);
    Extra("Class", d.Class, d.Line);
    Extra("Language", d.Language, d.Line);
    Extra("Version", d.Version, d.Line);
    Extra("Characteristics", d.Characteristics, d.Line);
  }

  void Accelerator(const clsAccelerator& a) {
    Text("ID", a.ID, a.Line);
    Text("Predisposition", a.Predisposition, a.Line);
    Text("Disposition", a.Disposition, a.Line);
    Text("ItemType", a.ItemType, a.Line);
    Text("Handling", a.Handling, a.Line);
    Array("Keys", a.Keys, [&](const clsAcceleratorKey& k) {
      Text("ID", k.ID, k.Line);
      Text("ItemType", k.ItemType, k.Line);
      Text("Key", k.Key, k.Line);
      Text("Modifier", k.Modifier, k.Line);
      Number("Line", k.Line);
      Number("RelIndex", k.RelIndex);
    });
    Number("Line", a.Line);
    Extra("SectionLanguage", a.SectionLanguage, a.Line);
  }

  // A menu and its popups, depth first with an explicit stack: opening a menu writes its
  // members up to "Items" and opens that array; closing writes the members after it.
  void Menu(const clsMenu& root) {
    struct Open {
      const clsMenu* menu;
      std::int32_t next;  // 1-based position of the next child
      bool popup;
    };
    auto open = [&](const clsMenu& m) {
      s_.BeginObject();
      Text("ID", m.ID, m.Line);
      Text("Disposition", m.Disposition, m.Line);
      Text("ItemType", m.ItemType, m.Line);
      Text("Text", m.Text, m.Line);
      Text("Map", m.Map, m.Line);
      s_.Key("Items");
      s_.BeginArray(m.Items.Empty());
    };
    open(root);
    std::vector<Open> stack{{&root, 1, false}};
    while (!stack.empty()) {
      Open& top = stack.back();
      if (top.next > top.menu->Items.Count()) {
        s_.EndArray();
        Number("Line", top.menu->Line);
        Number("RelIndex", top.menu->RelIndex);
        Extra("Options", top.menu->Options, top.menu->Line);
        Extra("PopupID", top.menu->PopupID, top.menu->Line);
        Extra("Type", top.menu->Type, top.menu->Line);
        Extra("State", top.menu->State, top.menu->Line);
        Extra("HelpID", top.menu->HelpID, top.menu->Line);
        Extra("SectionLanguage", top.menu->SectionLanguage, top.menu->Line);
        if (top.popup) Text("Entry", "popup", 0);
        s_.EndObject();
        stack.pop_back();
        continue;
      }
      const MenuEntry& entry = top.menu->Items.Item(top.next++);
      if (entry.IsPopup()) {
        open(entry.Popup());
        stack.push_back({&entry.Popup(), 1, true});
        continue;
      }
      const clsMenuItem& item = entry.MenuItem();
      s_.BeginObject();
      Text("ID", item.ID, item.Line);
      Text("ItemType", item.ItemType, item.Line);
      Text("Text", item.Text, item.Line);
      Text("Map", item.Map, item.Line);
      Number("Line", item.Line);
      Number("RelIndex", item.RelIndex);
      Extra("Options", item.Options, item.Line);
      Extra("Type", item.Type, item.Line);
      Extra("State", item.State, item.Line);
      Text("Entry", "item", 0);
      s_.EndObject();
    }
  }

  ModelSink& s_;
};

// Collects output and hands it to WriteOut in large pieces. Also the output stream of
// RapidJSON's writer (Put, Flush, and PutN below for its indentation).
class OutputBuffer {
 public:
  using Ch = char;
  void Put(char c) {
    if (used_ == kChunk) Flush();
    buffer_[used_++] = c;
  }
  void Append(std::string_view text) {
    Fill(text.size(), [&](char* to, std::size_t at, std::size_t n) { text.copy(to, n, at); });
  }
  void Repeat(char c, std::size_t count) {
    Fill(count, [&](char* to, std::size_t, std::size_t n) { std::fill_n(to, n, c); });
  }
  void Flush() {
    WriteOut(std::string_view(buffer_.data(), used_));
    used_ = 0;
  }

 private:
  static constexpr std::size_t kChunk = 1 << 16;
  // Writes `count` bytes through `copy(destination, offset, n)`, a buffer's room at a time.
  template <class Copy>
  void Fill(std::size_t count, Copy&& copy) {
    for (std::size_t done = 0; done < count;) {
      if (used_ == kChunk) Flush();
      std::size_t n = std::min(count - done, kChunk - used_);
      copy(buffer_.data() + used_, done, n);
      used_ += n;
      done += n;
    }
  }

  std::array<char, kChunk> buffer_;
  std::size_t used_ = 0;
};

// RapidJSON's writer indents through PutN; found by argument-dependent lookup, this one fills
// the indentation in blocks instead of a call per blank (deep menus indent by thousands).
[[maybe_unused]] void PutN(OutputBuffer& out, char c, std::size_t count) { out.Repeat(c, count); }

// Converts every text as the JSON writer will, and writes nothing: a failure is found before
// any output.
class ConvertingCheck : public ModelSink {
 public:
  explicit ConvertingCheck(ScriptText& text) : text_(text) {}
  void BeginObject() override {}
  void EndObject() override {}
  void BeginArray(bool) override {}
  void EndArray() override {}
  void Key(std::string_view) override {}
  void String(std::string_view text, int line) override {
    scratch_.clear();
    text_.AppendUtf8(text, line, scratch_);
  }
  void Int(int) override {}
  void Bool(bool) override {}
  void Null() override {}
  void Error(const Diagnostic*) override {}

 private:
  ScriptText& text_;
  std::string scratch_;
};

class JsonSink : public ModelSink {
 public:
  JsonSink(ScriptText& text, OutputBuffer& out) : text_(text), writer_(out) { writer_.SetIndent(' ', 2); }
  void BeginObject() override { writer_.StartObject(); }
  void EndObject() override { writer_.EndObject(); }
  void BeginArray(bool) override { writer_.StartArray(); }
  void EndArray() override { writer_.EndArray(); }
  void Key(std::string_view key) override {
    writer_.Key(key.data(), static_cast<rapidjson::SizeType>(key.size()));
  }
  void String(std::string_view text, int line) override {
    utf8_.clear();
    text_.AppendUtf8(text, line, utf8_);
    writer_.String(utf8_.data(), static_cast<rapidjson::SizeType>(utf8_.size()));
  }
  void Int(int value) override { writer_.Int(value); }
  void Bool(bool value) override { writer_.Bool(value); }
  void Null() override { writer_.Null(); }
  // The very object --diagnostics json writes on standard error, read back into the writer.
  void Error(const Diagnostic* error) override {
    if (error == nullptr) {
      writer_.Null();
      return;
    }
    const std::string line = DiagnosticJsonLine(*error);
    rapidjson::StringStream in(line.c_str());
    rapidjson::Reader reader;
    reader.Parse(in, writer_);
  }

 private:
  ScriptText& text_;
  rapidjson::PrettyWriter<OutputBuffer> writer_;
  std::string utf8_;
};

// Indented text. A member whose value is a non-empty object or array goes on its own line with
// the value below, two blanks further in; anything else follows "Key: " on the same line. An
// array member that is itself a non-empty object or array carries its "- " mark in the
// indentation of its first line, which is written later: the mark's column waits until then.
class TextSink : public ModelSink {
 public:
  explicit TextSink(OutputBuffer& out) : out_(out) {}
  void BeginObject() override { Open(); }
  void EndObject() override { levels_.pop_back(); }
  void BeginArray(bool empty) override {
    if (empty) {
      Scalar("[]");
      levels_.push_back({0, false});  // no members: EndArray just closes it
      return;
    }
    Open();
    levels_.back().array = true;
  }
  void EndArray() override { levels_.pop_back(); }
  void Key(std::string_view key) override {
    Indent(levels_.back().indent);
    out_.Append(key);
    out_.Put(':');
  }
  void String(std::string_view text, int) override { Scalar(text); }
  void Int(int value) override { Scalar(std::to_string(value)); }
  void Bool(bool value) override { Scalar(value ? "true" : "false"); }
  void Null() override { Scalar("null"); }
  void Error(const Diagnostic* error) override {
    if (error == nullptr) {
      Null();
      return;
    }
    auto optional = [&](std::string_view key, bool present, const std::string& value) {
      Key(key);
      if (present) Scalar(value);
      else Null();
    };
    BeginObject();
    optional("path", true, error->path);
    optional("line", error->line > 0, std::to_string(error->line));
    optional("column", error->line > 0 && error->column > 0, std::to_string(error->column));
    optional("severity", true, error->severity);
    optional("code", !error->code.empty(), error->code);
    optional("number", error->number.has_value(), std::to_string(error->number.value_or(0)));
    optional("message", true, error->message);
    optional("statement", error->statement.has_value(), error->statement.value_or(""));
    EndObject();
  }

 private:
  struct Level {
    int indent;
    bool array;
  };

  bool InArray() const { return !levels_.empty() && levels_.back().array; }

  // A non-empty object or array starts: below its key, or as an array member marked later.
  void Open() {
    if (levels_.empty()) {
      levels_.push_back({0, false});
      return;
    }
    const int indent = levels_.back().indent;
    if (InArray())
      marks_.push_back(indent);
    else
      out_.Put('\n');
    levels_.push_back({indent + 2, false});
  }

  void Scalar(std::string_view text) {
    if (InArray()) {
      Indent(levels_.back().indent);
      out_.Append("- ");
    } else {
      out_.Put(' ');
    }
    out_.Append(text);
    out_.Put('\n');
  }

  // The indentation of a new line, with the "- " marks of the arrays whose member starts here.
  void Indent(int width) {
    int written = 0;
    for (int column : marks_) {  // in increasing order: an outer array's mark comes first
      out_.Repeat(' ', static_cast<std::size_t>(column - written));
      out_.Append("- ");
      written = column + 2;
    }
    marks_.clear();
    out_.Repeat(' ', static_cast<std::size_t>(width - written));
  }

  OutputBuffer& out_;
  std::vector<Level> levels_;
  std::vector<int> marks_;
};

}  // namespace

void WriteModel(const clsRC& rc, const std::vector<CodePageRegion>& codePages, const Diagnostic* error,
                ModelSink& sink) {
  ModelWalk(sink).Document(rc, codePages, error);
}

void DumpJson(const clsRC& rc, ScriptText& text, const Diagnostic* error) {
  const std::vector<CodePageRegion> codePages = text.Regions();
  ConvertingCheck check(text);
  WriteModel(rc, codePages, error, check);
  OutputBuffer out;
  JsonSink json(text, out);
  WriteModel(rc, codePages, error, json);
  out.Put('\n');
  out.Flush();
}

void DumpText(const clsRC& rc, ScriptText& text, const Diagnostic* error) {
  OutputBuffer out;
  TextSink sink(out);
  WriteModel(rc, text.Regions(), error, sink);
  out.Flush();
}

}  // namespace tamrel::tool
