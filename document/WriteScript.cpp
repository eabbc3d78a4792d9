// The script writer: the document's sections in their fixed order, each under a comment
// banner, with the #ifdef blocks inside one APSTUDIO_INVOKED wrapper and the string table
// always present. Items write their own lines; the writer adds banners and blank lines. One
// walk serves every output: a line collection (PrintLines), a sink or a stream (Write), or
// none at all, to count the lines and find a failure before anything is written.
#include <cctype>
#include <ostream>
#include <string_view>
#include <unordered_map>
#include <vector>

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

std::int32_t Checked(std::int32_t lines) {
  if (lines >= 32767) Raise(err::Overflow);
  return lines;
}

constexpr std::int64_t kBannerLines = 5;

// The five lines that open a section.
void WriteBanner(LineWriter& out, std::string_view title) {
  out.Line(std::string(77, '/'), 0);
  out.Line("//", 0);
  out.Begin(0).append("// ").append(title);
  out.End();
  out.Line("//", 0);
  out.Line("", 0);
}

// Hands each line to a caller's function.
class CallbackSink final : public LineWriter::Sink {
 public:
  explicit CallbackSink(const clsRC::LineSink& sink) : sink_(sink) {}
  void Line(std::string_view text, std::int32_t source) override { sink_(text, source); }

 private:
  const clsRC::LineSink& sink_;
};

// Writes each line to a stream, raising error 57 once the stream has failed.
class StreamSink final : public LineWriter::Sink {
 public:
  explicit StreamSink(std::ostream& out) : out_(out) {}
  void Line(std::string_view text, std::int32_t) override {
    out_.write(text.data(), static_cast<std::streamsize>(text.size()));
    if (!out_) Raise(err::ReadFailed, "Writing to the stream failed");
  }

 private:
  std::ostream& out_;
};

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

}  // namespace

std::int64_t clsRC::WriteSections(LineWriter* out, Procedure& procedure) const {
  std::int64_t count = 0;
  auto banner = [&](std::string_view title) {
    if (out != nullptr) WriteBanner(*out, title);
    count += kBannerLines;
  };
  auto blank = [&] {
    if (out != nullptr) out->Line("", 0);
    ++count;
  };
  // A relaxed model's items record their language: a LANGUAGE statement goes before each item
  // whose language differs from the last one written.
  std::string_view written;
  auto language = [&](std::string_view name) {
    if (name.empty() || name == written) return;
    written = name;
    if (out != nullptr) {
      out->Begin(0).append("LANGUAGE ").append(name);
      out->End();
    }
    ++count;
  };
  auto item = [&](const auto& each) {
    if constexpr (requires { each.SectionLanguage; }) language(each.SectionLanguage);
    count += Checked(each.LineCount());
    if (out != nullptr) each.WriteLines(*out);
  };
  // A group of one-line items: banner, each item's lines, one blank line.
  auto group = [&](const auto& items, std::string_view title) {
    if (Checked(items).Empty()) return;
    banner(title);
    for (const auto& each : items) item(each);
    blank();
  };
  // Multi-line items: banner, then each item's lines followed by a blank line.
  auto blocks = [&](const auto& items, std::string_view title) {
    if (Checked(items).Empty()) return;
    banner(title);
    for (const auto& each : items) {
      item(each);
      blank();
    }
  };
  procedure.Step = "01";
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
    if (out != nullptr) out->Line("#ifdef APSTUDIO_INVOKED", 0);
    ++count;
    banner("TEXTINCLUDE");
    // The model keeps every stored line; only the conditional directives stay unwritten, so
    // the wrapper stays balanced and everything inside it stays inert.
    std::size_t b = 0;
    for (const LineCollection& block : IfDef) {
      Checked(block);
      // The script line of each block line, when the host kept the two lists parallel.
      const std::vector<Int16>* numbers = b < IfDefLines.size() ? &IfDefLines[b] : nullptr;
      if (numbers != nullptr && numbers->size() != static_cast<std::size_t>(block.Count())) numbers = nullptr;
      ++b;
      std::size_t i = 0;
      for (const std::string& line : block) {
        const std::int32_t source = numbers != nullptr ? int((*numbers)[i]) : 0;
        ++i;
        if (IsConditionalDirective(line)) continue;
        if (out != nullptr) out->Line(line, source);
        ++count;
      }
    }
    if (out != nullptr) out->Line("#endif    // APSTUDIO_INVOKED", 0);
    ++count;
    blank();
  }
  procedure.Step = "08";
  banner("String Table");
  if (!StringTable.Entries.Empty()) language(StringTable.Entries.Item(1).SectionLanguage);
  item(StringTable);
  blank();
  procedure.Step = "09";
  blocks(VersionInfos, "Version");
  // Raw resources under one banner per type, the types in the order they first appear.
  procedure.Step = "10";
  if (!Checked(RawResources).Empty()) {
    std::vector<std::vector<const clsRawResource*>> byType;
    std::unordered_map<std::string_view, std::size_t> typeIndex;
    for (const clsRawResource& raw : RawResources) {
      auto [at, added] = typeIndex.try_emplace(raw.ItemType, byType.size());
      if (added) byType.emplace_back();
      byType[at->second].push_back(&raw);
    }
    for (const std::vector<const clsRawResource*>& resources : byType) {
      banner(resources.front()->ItemType);
      for (const clsRawResource* raw : resources) {
        item(*raw);
        blank();
      }
    }
  }
  return count;
}

LineCollection clsRC::CollectScript(std::vector<Int16>* sourceLines) const {
  Procedure procedure{"RCpl", "01"};
  LineCollection result;
  try {
    result.Reserve(static_cast<std::size_t>(WriteSections(nullptr, procedure)));
  } catch (const RCError&) {
    // The writing below stops at the same place and reports it.
  }
  LineCollector collector(result, sourceLines);
  LineWriter out(collector);
  try {
    WriteSections(&out, procedure);
  } catch (const RCError& e) {
    Report(procedure, e, std::nullopt);
  }
  return result;
}

LineCollection clsRC::PrintLines() const { return CollectScript(nullptr); }

LineCollection clsRC::PrintLines(std::vector<Int16>& sourceLines) const { return CollectScript(&sourceLines); }

std::int64_t clsRC::LineCount() const {
  Procedure procedure{"RCpl", "01"};
  return WriteSections(nullptr, procedure);
}

bool clsRC::WriteTo(LineWriter::Sink& lines, std::string_view eol) const {
  Procedure procedure{"RCpl", "01"};
  try {
    WriteSections(nullptr, procedure);
  } catch (const RCError& e) {
    Report(procedure, e, std::nullopt);
    return false;
  }
  LineWriter out(lines, eol);
  WriteSections(&out, procedure);
  return true;
}

bool clsRC::Write(const LineSink& sink, std::string_view eol) const {
  CallbackSink lines(sink);
  return WriteTo(lines, eol);
}

bool clsRC::Write(std::ostream& stream, std::string_view eol) const {
  StreamSink lines(stream);
  return WriteTo(lines, eol);
}

}  // namespace tamrel
