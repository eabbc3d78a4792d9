// The document: Init, reading the file into Lines, the walk that dispatches sections to their
// readers, and the reporting convention shared by every loading routine.
#include "document/clsRC.h"

#include <sys/stat.h>

#include <array>
#include <cerrno>
#include <cstdio>
#include <cstring>
#include <memory>

#include "common/TextLines.h"
#include "common/modCommonTools.h"
#include "document/ContinuationRun.h"
#include "host/HostHooks.h"

namespace tamrel {
namespace {

// A file's bytes, held in one buffer that is never zero-filled first.
struct FileBytes {
  std::unique_ptr<char[]> data;
  std::size_t size = 0;
  std::string_view View() const noexcept { return {data.get(), size}; }
};

// Reads a whole file into one buffer sized from the file: error 53 when it does not exist, 75
// when it cannot be opened or is a directory, 57 when reading fails. A file that is not
// regular (a pipe) or grows while it is read is read on into a buffer that doubles.
FileBytes ReadWholeFile(const std::string& path) {
  std::FILE* file = std::fopen(path.c_str(), "rb");
  if (file == nullptr) Raise(errno == ENOENT || errno == ENOTDIR ? err::FileNotFound : err::FileAccess);
  std::size_t capacity = std::size_t{1} << 16;
  struct stat info {};
  if (::fstat(::fileno(file), &info) == 0 && S_ISREG(info.st_mode) && info.st_size > 0)
    capacity = static_cast<std::size_t>(info.st_size) + 1;  // one more, to meet the end at once
  FileBytes bytes{std::make_unique_for_overwrite<char[]>(capacity), 0};
  bool failed = false;
  for (;;) {
    if (bytes.size == capacity) {
      auto larger = std::make_unique_for_overwrite<char[]>(capacity * 2);
      std::memcpy(larger.get(), bytes.data.get(), bytes.size);
      bytes.data = std::move(larger);
      capacity *= 2;
    }
    const std::size_t wanted = capacity - bytes.size;
    const std::size_t n = std::fread(bytes.data.get() + bytes.size, 1, wanted, file);
    bytes.size += n;
    if (n < wanted) {
      failed = std::ferror(file) != 0;
      break;
    }
  }
  int error = failed ? errno : 0;
  std::fclose(file);
  if (failed) Raise(error == EISDIR ? err::FileAccess : err::ReadFailed);
  return bytes;
}

// A report names at most this much of a statement, so that a huge script cannot flood the log.
constexpr std::size_t kMaxLocationBytes = 1024;

// The first bytes of a location that fit, not cutting a UTF-8 sequence, and an ellipsis.
std::string ShortenedLocation(std::string_view location) {
  constexpr std::string_view kEllipsis = "\xE2\x80\xA6";
  std::size_t cut = kMaxLocationBytes - kEllipsis.size();
  for (int back = 0; back < 3 && (static_cast<unsigned char>(location[cut]) & 0xC0) == 0x80; ++back) --cut;
  std::string shortened(location.substr(0, cut));
  shortened.append(kEllipsis);
  return shortened;
}

bool IsMissingEntry(const RCError& e) {
  return e.Number() == err::InvalidArgument || e.Number() == err::OutOfRange;
}

}  // namespace

bool clsRC::Init(std::string_view szPath, std::shared_ptr<HostObjects> oAppObjects,
                 const Variant& vOperation, const LoadOptions& options) {
  Procedure procedure{"RCinit", "01.1"};
  m_options = options;
  try {
    m_oAppObjects = oAppObjects ? std::move(oAppObjects) : std::make_shared<HostObjects>();
    m_oParentForm.reset();
    try {
      m_oParentForm = FindForm();
    } catch (const RCError& e) {
      if (!IsMissingEntry(e)) throw;
    }

    procedure.Step = "01.2";
    m_iOperation = ToOperationCode(vOperation);

    procedure.Step = "02";
    Path = std::string(szPath);

    procedure.Step = "03";
    if (m_iOperation == 2 && ReadResourceFile() && ParseResourceFile()) {
      Initialized = true;
      return true;
    }
    return false;
  } catch (const RCError& e) {
    // Errors 5 and 9 abandon the statement that raised them; here that leaves the result false.
    if (!IsMissingEntry(e)) Report(procedure, e, std::nullopt);
    return false;
  }
}

bool clsRC::ReadResourceFile() {
  Procedure procedure{"RCrrf", "00"};
  try {
    SetStatus("Reading resource...");
    FileBytes bytes = ReadWholeFile(Path);
    std::string decoded;
    const std::string_view text = DecodeScript(bytes.View(), SourceEncoding, decoded);
    if (SourceEncoding == TextEncoding::Utf16LE || SourceEncoding == TextEncoding::Utf16BE)
      bytes = FileBytes{};  // the file's UTF-16 is not needed again
    Lines.Reserve(static_cast<std::size_t>(Lines.Count()) + CountLines(text));
    ForEachLine(text, [this](std::string_view line) {
      Lines.Add(std::string(line));
      YieldToHost();
    });
    SetStatus("Ready.");
    return true;
  } catch (const RCError& e) {
    Report(procedure, e, std::nullopt);
    return false;
  }
}

namespace {

// The section keywords and their readers. Readers by tokens get the statement's tokens and
// line; readers by cursor get the cursor and leave it on their section's last line.
// `scope` tells how a relaxed read places the section in a language section.
using Scope = LanguageScope;
struct Section {
  std::string_view keyword;
  std::string_view step;
  bool byTokens;
  Scope scope;
};
constexpr Section kSections[] = {
    {"BITMAP", "03", true, Scope::OneLine},       {"ICON", "04", true, Scope::OneLine},
    {"CURSOR", "05", true, Scope::OneLine},       {"DIALOG", "06", false, Scope::Block},
    {"DIALOGEX", "06", false, Scope::Block},      {"MENU", "07", false, Scope::Block},
    {"STRINGTABLE", "08", false, Scope::Block},   {"#include", "09", true, Scope::None},
    {"ACCELERATORS", "10", false, Scope::Block},  {"#ifdef", "11", false, Scope::None},
    {"DESIGNINFO", "12", false, Scope::None},     {"MENUEX", "07", false, Scope::Block},
};
constexpr auto kKeywords = [] {
  std::array<std::string_view, std::size(kSections)> keywords{};
  for (std::size_t k = 0; k < keywords.size(); ++k) keywords[k] = kSections[k].keyword;
  return keywords;
}();

}  // namespace

bool clsRC::ReadSection(std::int16_t which, const Tokens& tokens, Int16& cursor) {
  switch (which) {
    case 0: return ProcessBitmap(tokens, cursor);
    case 1: return ProcessIcon(tokens, cursor);
    case 2: return ProcessCursor(tokens, cursor);
    case 3:
    case 4: return ProcessDialog(cursor);
    case 5: return ProcessMenu(cursor);
    case 6: return ProcessStringTable(cursor);
    case 7: return ProcessInclude(tokens, cursor);
    case 8: return ProcessAccelerators(cursor);
    case 9: return ProcessIfDef(cursor);
    case 10: return ProcessDesignInfo(cursor);
    default:  // MENUEX: read relaxed, passed over (and noted) when read exactly
      if (m_options.layout == Layout::Relaxed) return ProcessMenu(cursor);
      NoteUnreadResource(cursor);
      return true;
  }
}

bool clsRC::ParseResourceFile() {
  Procedure procedure{"RCprf", ""};
  try {
    if (ProgressHost* form = m_oParentForm.get()) {
      form->SetProgressMax(Lines.Count());
      form->SetProgressValue(0);
      form->SetStatusText("Building resource..");
    }
    procedure.Step = "01";
    Int16 cursor = 1;
    const bool relaxed = m_options.layout == Layout::Relaxed;
    if (relaxed) ChooseLanguage();
    // The statement at each line is split once per continuation run (see ContinuationRun);
    // the walk still visits every line, so a section after a line that merely ends in a comma
    // is found.
    std::unique_ptr<ContinuationRun> run;
    while (cursor <= Lines.Count()) {
      if (!run || !run->Contains(cursor)) {
        run.reset();
        run = std::make_unique<ContinuationRun>(Lines, cursor, kKeywords);
      }
      YieldToHost();
      const ContinuationRun::Outcome& outcome = run->At(cursor);
      const bool reads = outcome.Keyword > 0;
      const bool byTokens = reads && kSections[outcome.Which].byTokens;
      Tokens tokens;
      if (byTokens) {
        tokens = ParseLine(run->Statement(cursor), ' ');  // reports an overflow itself
      } else if (outcome.OverflowStep) {
        ReportIfPossible(Procedure{"RCpl", *outcome.OverflowStep}, RCError(err::Overflow),
                         run->OverflowLocation(cursor));
      }
      if (reads) {
        procedure.Step = kSections[outcome.Which].step;
        const Section& section = kSections[outcome.Which];
        if (!(relaxed ? ReadRelaxedSection(outcome.Which, section.keyword, section.scope, tokens, cursor)
                      : ReadSection(outcome.Which, tokens, cursor)))
          return false;
      } else if (!relaxed) {
        NoteUnreadResource(cursor);
      } else if (!ReadTopLevelStatement(cursor)) {
        return false;
      }
      procedure.Step = "12";
      ++cursor;
      if (ProgressHost* form = m_oParentForm.get()) {
        if (cursor <= form->GetProgressMax()) {
          form->SetProgressValue(cursor);
        } else {
          form->SetProgressValue(0);
          form->SetStatusText("Ready.");
        }
      }
      YieldToHost();
    }
    return true;
  } catch (const RCError& e) {
    Report(procedure, e, std::nullopt);
    return false;
  }
}

Int16 clsRC::FindKeyWord(const Tokens& tokens) {
  Procedure procedure{"RCfkw", "00"};
  try {
    for (Int16 k = 1; k <= tokens.Count(); ++k) {
      const std::string& token = tokens.Item(k);
      YieldToHost();
      for (std::string_view keyword : kKeywords)
        if (token == keyword) return k;
    }
    return 0;
  } catch (const RCError& e) {
    Report(procedure, e, std::nullopt);
    return 0;
  }
}

void clsRC::Report(const Procedure& procedure, const RCError& error,
                   const std::optional<std::string>& location) const {
  if (!m_oAppObjects) Raise(err::ObjectNotSet);
  const std::shared_ptr<HostObject>& entry = m_oAppObjects->Item("Log");
  auto* log = dynamic_cast<ErrorLog*>(entry.get());
  if (log == nullptr) Raise(entry ? err::NoSuchMember : err::ObjectNotSet);
  std::string message = FormatErrorMessage(procedure.Code, procedure.Step, error.Description(), error.Number());
  if (location && location->size() > kMaxLocationBytes) {
    log->Log(message, ShortenedLocation(*location), Path);
  } else {
    log->Log(message, location, Path);
  }
}

void clsRC::ReportIfPossible(const Procedure& procedure, const RCError& error,
                             const std::optional<std::string>& location) const {
  try {
    Report(procedure, error, location);
  } catch (const RCError&) {
    // No usable log: the report has nowhere to go.
  }
}

std::string clsRC::LineLocation(Int16 line) {
  const std::string& raw = Lines.Item(line);
  return std::to_string(line) + ": " + raw;
}

std::string clsRC::StatementLocation(Int16 cursor) {
  Int16 count;
  std::string statement = GetFullLine(cursor, count);
  return std::to_string(cursor) + ": " + statement;
}

std::shared_ptr<ProgressHost> clsRC::FindForm() const {
  if (!m_oAppObjects) Raise(err::ObjectNotSet);
  const std::shared_ptr<HostObject>& entry = m_oAppObjects->Item("ParentForm");
  auto* form = dynamic_cast<ProgressHost*>(entry.get());
  if (form == nullptr) Raise(err::TypeMismatch);
  return std::shared_ptr<ProgressHost>(entry, form);
}

}  // namespace tamrel
