// XLIFF 2.0 writing and reading with pugixml's document model and serialiser.
#include "translation/XliffDocument.h"

#include <pugixml.hpp>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <sstream>

#include "common/Utf8Text.h"

namespace tamrel {
namespace {

constexpr const char* kNamespace = "urn:oasis:names:tc:xliff:document:2.0";

// The character at `at` if XML cannot carry it as text (a control character other than tab
// and line feed, a carriage return, which readers turn into a line feed, and the noncharacters
// U+FFFE and U+FFFF): its code point and length. Length 0 when the character is fine.
Utf8Char Uncarried(std::string_view text, std::size_t at) {
  const unsigned char c = static_cast<unsigned char>(text[at]);
  if ((c < 0x20 && c != '\t' && c != '\n') || c == 0x7F) return {c, 1};
  if (c == 0xEF && text.substr(at, 2) == "\xEF\xBF" && at + 2 < text.size() &&
      (text[at + 2] == '\xBE' || text[at + 2] == '\xBF'))
    return {text[at + 2] == '\xBE' ? 0xFFFEu : 0xFFFFu, 3};
  return {};
}

bool IsXmlSpace(char c) { return c == ' ' || c == '\t' || c == '\n'; }

void AppendCodePoint(pugi::xml_node parent, std::uint32_t value) {
  char hex[12];
  std::snprintf(hex, sizeof hex, "%04X", static_cast<unsigned>(value));
  parent.append_child("cp").append_attribute("hex") = hex;
}

// Appends text as text nodes, with <cp/> elements for the characters XML cannot carry. A
// stretch of white space alone between such elements would be taken for indentation when the
// document is read, so its characters are written as <cp/> elements too.
void AppendText(pugi::xml_node parent, std::string_view text) {
  bool mixed = false;
  for (std::size_t i = 0; i < text.size() && !mixed; ++i) mixed = Uncarried(text, i).length > 0;
  std::size_t start = 0;
  for (std::size_t i = 0; i <= text.size(); ++i) {
    const Utf8Char special = i < text.size() ? Uncarried(text, i) : Utf8Char{};
    if (i < text.size() && special.length == 0) continue;
    const std::string_view piece = text.substr(start, i - start);
    if (mixed && std::all_of(piece.begin(), piece.end(), IsXmlSpace)) {
      for (char c : piece) AppendCodePoint(parent, static_cast<unsigned char>(c));
    } else if (!piece.empty()) {
      parent.append_child(pugi::node_pcdata).set_value(std::string(piece).c_str());
    }
    if (i == text.size()) break;
    AppendCodePoint(parent, special.codePoint);
    i += special.length - 1;
    start = i + 1;
  }
}

// The text of an element: its text nodes and <cp/> elements; other inline markup contributes
// its own text.
void CollectText(pugi::xml_node node, std::string& out) {
  for (pugi::xml_node child : node.children()) {
    if (child.type() == pugi::node_pcdata || child.type() == pugi::node_cdata) {
      out.append(child.value());
    } else if (child.type() == pugi::node_element) {
      if (std::string_view(child.name()) == "cp") {
        const unsigned long value = std::strtoul(child.attribute("hex").value(), nullptr, 16);
        if (value > 0 && value <= 0x10FFFF && !(value >= 0xD800 && value <= 0xDFFF))
          AppendUtf8(static_cast<std::uint32_t>(value), out);
      } else {
        CollectText(child, out);
      }
    }
  }
}

void AddNote(pugi::xml_node notes, const char* category, const std::string& text) {
  pugi::xml_node note = notes.append_child("note");
  note.append_attribute("category") = category;
  AppendText(note, text);
}

void ReadUnits(pugi::xml_node parent, std::vector<CatalogEntry>& entries) {
  for (pugi::xml_node node : parent.children()) {
    const std::string_view name = node.name();
    if (name == "group") {
      ReadUnits(node, entries);
      continue;
    }
    if (name != "unit") continue;
    CatalogEntry entry;
    entry.context = node.attribute("name") ? node.attribute("name").value() : node.attribute("id").value();
    bool anyTarget = false;
    bool initial = false;
    for (pugi::xml_node segment : node.children("segment")) {
      CollectText(segment.child("source"), entry.source);
      if (pugi::xml_node target = segment.child("target")) {
        anyTarget = true;
        CollectText(target, entry.target);
      }
      initial = initial || std::string_view(segment.attribute("state").value()) == "initial";
    }
    if (!anyTarget) entry.target.clear();
    entry.fuzzy = initial && !entry.target.empty();
    entries.push_back(std::move(entry));
  }
}

}  // namespace

std::string WriteXliff(const std::vector<TranslationUnit>& units, const std::vector<std::string>& targets,
                       const XliffWriteOptions& options, std::vector<std::string>& errors) {
  const std::vector<std::string> invalid =
      CheckCatalogText(units, targets);
  if (!invalid.empty()) {
    errors.insert(errors.end(), invalid.begin(), invalid.end());
    return {};
  }
  pugi::xml_document document;
  pugi::xml_node declaration = document.append_child(pugi::node_declaration);
  declaration.append_attribute("version") = "1.0";
  declaration.append_attribute("encoding") = "UTF-8";
  pugi::xml_node xliff = document.append_child("xliff");
  xliff.append_attribute("xmlns") = kNamespace;
  xliff.append_attribute("version") = "2.0";
  // Names from the command line and the file system: their control characters (which XML
  // attributes cannot hold) and stray bytes are escaped.
  const std::string scriptName = PrintableText(options.scriptName);
  xliff.append_attribute("srcLang") = options.sourceLanguage.empty() ? "en" : PrintableText(options.sourceLanguage).c_str();
  if (!options.targetLanguage.empty()) xliff.append_attribute("trgLang") = PrintableText(options.targetLanguage).c_str();
  pugi::xml_node file = xliff.append_child("file");
  file.append_attribute("id") = "f1";
  file.append_attribute("original") = scriptName.c_str();
  int number = 0;
  for (std::size_t i = 0; i < units.size(); ++i) {
    const TranslationUnit& unit = units[i];
    if (!unit.problem.empty()) continue;
    pugi::xml_node node = file.append_child("unit");
    const std::string id = std::string("u").append(std::to_string(++number));
    node.append_attribute("id") = id.c_str();
    node.append_attribute("name") = unit.context.c_str();
    pugi::xml_node notes = node.append_child("notes");
    AddNote(notes, "kind", unit.Description());
    AddNote(notes, "location", scriptName + ":" + std::to_string(unit.line));
    const bool translated = i < targets.size() && !targets[i].empty();
    pugi::xml_node segment = node.append_child("segment");
    segment.append_attribute("state") = translated ? "translated" : "initial";
    AppendText(segment.append_child("source"), unit.text);
    if (translated) AppendText(segment.append_child("target"), targets[i]);
  }
  std::ostringstream out;
  document.save(out, "  ", pugi::format_default, pugi::encoding_utf8);
  return out.str();
}

std::vector<CatalogEntry> ReadXliff(const std::string& text, const std::string& fileName,
                                    std::vector<std::string>& errors) {
  pugi::xml_document document;
  const pugi::xml_parse_result parsed =
      document.load_buffer(text.data(), text.size(), pugi::parse_default | pugi::parse_ws_pcdata_single,
                           pugi::encoding_auto);
  if (!parsed) {
    errors.push_back(fileName + ": not an XML document: " + parsed.description() + " at byte " +
                     std::to_string(parsed.offset));
    return {};
  }
  pugi::xml_node xliff = document.document_element();
  if (std::string_view(xliff.name()) != "xliff" || std::string_view(xliff.attribute("version").value()) != "2.0") {
    errors.push_back(fileName + ": not an XLIFF 2.0 document (the root element is <" + std::string(xliff.name()) +
                     "> with version \"" + xliff.attribute("version").value() + "\")");
    return {};
  }
  std::vector<CatalogEntry> entries;
  for (pugi::xml_node file : xliff.children("file")) ReadUnits(file, entries);
  return entries;
}

}  // namespace tamrel
