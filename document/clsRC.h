// clsRC: the root of the object model. One instance models one resource script: Init reads the
// file into Lines and walks it once, handing each recognised section to its reader, which adds
// items to the document's collections. PrintLines regenerates a whole script from the items;
// Write streams the same lines to a sink or a stream without keeping them.
//
// Loading routines never throw to the host: they return false and send one report per failure
// to the "Log" entry of the host collection (message, location, path). The only exception is a
// host collection whose "Log" entry is unusable while a report is made: that error reaches the
// host as an RCError, because there is nowhere else to report it.
#pragma once

#include <cstdint>
#include <functional>
#include <iosfwd>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "common/Collection.h"
#include "common/Int16.h"
#include "common/LineWriter.h"
#include "common/RCError.h"
#include "common/TextEncoding.h"
#include "common/Variant.h"
#include "dialogs/clsDialog.h"
#include "document/LoadOptions.h"
#include "document/StatementTokens.h"
#include "host/ErrorLog.h"
#include "host/HostObject.h"
#include "host/ProgressHost.h"
#include "sections/clsAccelerator.h"
#include "sections/clsBitmap.h"
#include "sections/clsCursor.h"
#include "sections/clsDesignInfo.h"
#include "sections/clsIcon.h"
#include "sections/clsInclude.h"
#include "sections/clsMenu.h"
#include "sections/clsRawResource.h"
#include "sections/clsStringTable.h"
#include "sections/clsVersionInfo.h"

namespace tamrel {

// How a relaxed read places a section in the language sections: not at all (#include, #ifdef,
// DESIGNINFO), as one line (bitmaps, icons, cursors) or as a block with its own options.
enum class LanguageScope : std::uint8_t { None, OneLine, Block };

class clsRC {
 public:
  // True once Init has read and built a script completely. Init never sets it back to false.
  bool Initialized = false;
  // A log the host may keep with the document; the library reports to the "Log" entry of the
  // host collection, never to this member.
  std::shared_ptr<ErrorLog> Log;
  Collection<clsAccelerator> Accelerators;     // keyed by ID
  Collection<clsBitmap> Bitmaps;               // keyed by ID
  Collection<clsCursor> Cursors;               // keyed by ID
  Collection<clsDialog> Dialogs;               // keyed by ID
  Collection<clsIcon> Icons;                   // keyed by ID
  Collection<LineCollection> IfDef;            // raw lines of each #ifdef block
  Collection<clsInclude> Includes;
  Collection<clsMenu> Menus;
  Collection<clsDesignInfo> DesignInfos;
  clsStringTable StringTable;
  std::string Path;                            // the script's path as given to Init
  Int16 TotalMenuItems;                        // MENUITEM and POPUP lines read
  LineCollection Lines;                        // the script's physical lines, as read
  // How the file was encoded: a UTF-16 script is held as UTF-8 in Lines; writers use this to
  // save a regenerated script the way it was read.
  TextEncoding SourceEncoding = TextEncoding::Bytes;
  // The line number of each stored line of each #ifdef block, parallel to IfDef (which keeps
  // only the text), so that a host can tell which script line a block line came from.
  std::vector<std::vector<Int16>> IfDefLines;

  // A statement the readers passed over: a dialog control whose keyword the reader does not fill
  // (it holds only its keyword and index), or a resource the model does not hold. Kind is the
  // control keyword or the resource type as written; Line is the statement's line.
  struct UnreadStatement {
    std::string Kind;
    Int16 Line;
    bool Resource = false;
  };
  // Every statement passed over, in script order; reading never reports them.
  std::vector<UnreadStatement> Unread;

  // Read relaxed only (an exact model leaves them empty):
  // Every resource the model holds in no class of its own, and every item of a language
  // section that was not taken, in script order with its lines as written.
  Collection<clsRawResource> RawResources;
  Collection<clsVersionInfo> VersionInfos;  // in script order
  // The language whose sections were taken ("LANG_X, SUBLANG_Y", or only "LANG_X" when chosen
  // so): LoadOptions::language, else that of the first dialog, menu or string table standing
  // in a language other than LANG_NEUTRAL; empty when there is none, and then every item is
  // taken. Items with no language or LANG_NEUTRAL are always taken.
  std::string Language;
  // The lines of the top-level LANGUAGE statements that select Language, in script order.
  std::vector<Int16> LanguageLines;
  // A run of items in one language that was not taken (kept in RawResources), from the first
  // line of its first item to the last line of its last.
  struct LanguageSection {
    std::string Language;
    Int16 First;
    Int16 Last;
  };
  std::vector<LanguageSection> SkippedSections;

  // Reads and builds the script at szPath when vOperation is 2; any other or a missing
  // operation stores the path and host objects and returns false. True only when the whole
  // file was read and built. Without `options` the script is read exactly (Layout::Exact).
  bool Init(std::string_view szPath, std::shared_ptr<HostObjects> oAppObjects,
            const Variant& vOperation = {}, const LoadOptions& options = {});
  // The options of the last Init.
  const LoadOptions& Options() const noexcept { return m_options; }

  // The whole script regenerated from the model in a fixed layout: includes, icons, bitmaps,
  // cursors, menus, accelerator tables, dialogs, the #ifdef blocks inside one APSTUDIO_INVOKED
  // wrapper (less their own conditional directives, so the wrapper stays balanced), and the
  // string table, each section under its banner. On a failure it reports to the host log and
  // returns the lines written so far.
  LineCollection PrintLines() const;
  // The same lines, and for each of them the script line its item was read from (a
  // control's, menu item's or string-table entry's own line; the block line for #ifdef block
  // lines), or 0 for a line the writer makes up (banners, blank lines, the wrapper).
  LineCollection PrintLines(std::vector<Int16>& sourceLines) const;

  // Receives each line of a written script: its text followed by the line end given to Write,
  // and the script line its item was read from (0 for a line the writer makes up), as
  // PrintLines(sourceLines) gives them. The text is valid only during the call.
  using LineSink = std::function<void(std::string_view text, std::int32_t source)>;

  // The same lines as PrintLines, handed to `sink` one by one as they are written, each
  // followed by `eol` (give an empty `eol` for bare lines); nothing is kept, so memory stays
  // that of the model whatever the size of the text. The model is checked before the first
  // line: when PrintLines would fail, Write reports that failure to the host log in the same
  // way, writes nothing and returns false. An exception thrown by the sink ends the writing
  // and reaches the caller.
  bool Write(const LineSink& sink, std::string_view eol = "\r\n") const;
  // The same to a stream. A stream that fails while the script is written raises error 57
  // (nothing after the failure is written); lines written before it stay in the stream.
  bool Write(std::ostream& out, std::string_view eol = "\r\n") const;

  // How many lines PrintLines and Write give for the model as it is, counted without writing
  // them. Raises the error (6: a collection, or an item's lines, of 32,767 or more) that would
  // make them fail.
  std::int64_t LineCount() const;

  // Pieces of translatable text (vOperation missing or 0) or words (any other value) in the
  // dialogs, menus and string table. Raises error 6 past 32,767.
  std::int32_t DisplayWordCount(const Variant& vOperation = {}) const;
  // Shortcuts in all accelerator tables, and controls in all dialogs. Error 6 past 32,767.
  Int16 TotalAccelerators() const;
  Int16 TotalControls() const;

  // Line services, shared by the section readers and available to hosts.

  // Removes blanks and tabs from both ends; a text of blanks and tabs only comes back with
  // just its outer blanks removed.
  static std::string TrimWhite(std::string_view text);

  // The statement that starts at line `start`: each physical line trimmed and appended behind
  // one blank, continuing while a line ends with "NOT", "|" or ",". `count` receives the number
  // of physical lines used. With `numberOfLines` given, exactly that many lines are joined
  // instead (and the result is trimmed). A line past the end of Lines raises error 9.
  std::string GetFullLine(Int16 start, Int16& count, const Variant& numberOfLines = {});

  // Splits a statement into tokens at the separator (a blank, "|" or ","), at commas, never
  // inside double quotes. Never raises: on an overflow (a stretch of 32,767 characters) it
  // returns the tokens found so far followed by the token "ERROR" and reports to the host log;
  // a document without a usable log (never Init-ed, or no "Log" entry) drops that report.
  Tokens ParseLine(std::string_view statement, char separator);

 private:
  friend struct DocumentTestPeer;  // unit tests reach the private routines through it

  // A routine's procedure code and its current step label, named in its reports.
  struct Procedure {
    std::string_view Code;
    std::string_view Step;
  };

  bool ReadResourceFile();
  bool ParseResourceFile();
  Int16 FindKeyWord(const Tokens& tokens);
  // Adds the line to Unread when it opens a resource that no reader takes.
  void NoteUnreadResource(Int16 line);

  // Relaxed reading at the top level (see ReadOtherResources.cpp).
  // The type of a resource no reader takes whose header is at `line`, or empty; `block` tells
  // whether a BEGIN ... END block follows its header and option lines.
  std::string_view OtherResourceType(Int16 line, bool& block) const;
  // LANGUAGE arguments as "LANG_X, SUBLANG_Y": words split at blanks and commas, joined by ", ".
  static std::string NormalLanguage(std::string_view arguments);
  bool TakesLanguage(std::string_view language) const;
  // Sets Language before the walk: the option, or the first section's that names one.
  void ChooseLanguage();
  // The line of the BEGIN (or "{") after the header, 0 when there is none; `language` becomes
  // that of a LANGUAGE option on the lines before it.
  Int16 OpeningLine(Int16 header, std::string& language) const;
  // The line that closes the block opened at `opening`, 0 when the script ends first.
  Int16 ClosingLine(Int16 opening) const;
  // The closing line of the block after the header, as OpeningLine and ClosingLine find it; a
  // script that ends before the block opens (step "01") or closes ("02") gets error 9,
  // reported at the header, and 0.
  Int16 BlockEnd(Int16 header, std::string& language);
  // The last line of the resource at `header`: BlockEnd's for a block, else that of the
  // header's statement.
  Int16 ResourceEnd(Int16 header, bool block, std::string& language);
  // Passes over the lines from the cursor that hold option statements (LANGUAGE, VERSION,
  // CHARACTERISTICS), blanks or comments, as between a resource's header and its BEGIN, adding
  // each statement as written to `into`; the cursor is left on the first other line, or past
  // the last line.
  void ReadOptionStatements(Int16& cursor, LineCollection& into);
  // Keeps lines header..last as a raw resource of `type`.
  void KeepRaw(Int16 header, Int16 last, std::string_view type, std::string language, bool skipped);
  // A LANGUAGE statement or a resource no reader takes, at the cursor: read, the cursor left on
  // its last line; any other line is passed over. False (reported) for a block the script ends in.
  bool ReadTopLevelStatement(Int16& cursor);
  // ReadSection for a relaxed model: a section in a language not taken is kept raw; the items
  // a reader adds record the language in force.
  bool ReadRelaxedSection(std::int16_t which, std::string_view keyword, LanguageScope scope, const Tokens& tokens,
                          Int16& cursor);
  // Reads lines header..last into VersionInfos; false (nothing added) when the block holds
  // anything but fixed fields, StringFileInfo language blocks and VarFileInfo's Translation.
  bool ReadVersionInfo(Int16 header, Int16 last, const std::string& language);

  // Section readers. Readers by tokens leave the cursor alone; readers by cursor leave it on
  // the last line of their section. A false result stops the walk.
  // Calls the reader of the section keyword at position `which` of the walk's keyword list.
  bool ReadSection(std::int16_t which, const Tokens& tokens, Int16& cursor);
  bool ProcessBitmap(const Tokens& tokens, Int16 line);
  bool ProcessIcon(const Tokens& tokens, Int16 line);
  bool ProcessCursor(const Tokens& tokens, Int16 line);
  bool ProcessInclude(const Tokens& tokens, Int16 line);
  bool ProcessIfDef(Int16& cursor);
  bool ProcessDesignInfo(Int16& cursor);
  bool ProcessDialog(Int16& cursor);
  // The statement at `start` as StatementAt gives it, with the lines after it that start with
  // "|" (a style continued) or "," (more arguments) joined to it, and without the "//" comments
  // behind them.
  std::string_view RelaxedStatementAt(Int16 start, Int16& count, std::string& buffer);
  bool ProcessMenu(Int16& cursor, clsMenu* parent = nullptr, const Variant& position = {});
  bool ProcessAccelerators(Int16& cursor);
  bool ProcessStringTable(Int16& cursor);

  // Reporting: sends "{code}-{step}: {description} ({number})" with the location and Path to
  // the host log. A location longer than 1,024 bytes is cut to fit, ending in an ellipsis.
  // Raises when the host collection has no usable "Log" entry.
  void Report(const Procedure& procedure, const RCError& error,
              const std::optional<std::string>& location) const;
  // ParseLine into reusable view tokens: the same tokens, and an overflow reported the same
  // way, "ERROR" behind the tokens found before it.
  void SplitInto(std::string_view statement, char separator, StatementTokens& tokens);
  // TrimWhite without a copy, and of the line numbered `line` (error 9 past the last line).
  static std::string_view TrimWhiteView(std::string_view text) noexcept;
  std::string_view TrimmedLine(Int16 line) const;
  // Whether the line at `line` opens (closes) a block: it is "BEGIN" ("END"), or read relaxed
  // also "{" ("}").
  bool OpensBlockAt(Int16 line) const;
  bool ClosesBlockAt(Int16 line) const;
  // The statement that starts at `start`, as GetFullLine gives it less its leading blank: a
  // view of the trimmed line when it does not continue, else joined into `buffer`.
  std::string_view StatementAt(Int16 start, Int16& count, std::string& buffer);
  // Report, but a report with nowhere to go is dropped.
  void ReportIfPossible(const Procedure& procedure, const RCError& error,
                        const std::optional<std::string>& location) const;
  // The writer: the sections in their fixed order into `out`, or, without `out`, only counted.
  // Before any line of a collection or an item it raises the error that would stop the writer
  // there, with procedure.Step naming the section. Returns the number of lines.
  std::int64_t WriteSections(LineWriter* out, Procedure& procedure) const;
  // PrintLines with or without the source lines.
  LineCollection CollectScript(std::vector<Int16>* sourceLines) const;
  // Both Write overloads: checks the model, then writes every line to `lines`.
  bool WriteTo(LineWriter::Sink& lines, std::string_view eol) const;
  // "{line}: {raw line}" for one-line statements.
  std::string LineLocation(Int16 line);
  // "{cursor}: {statement at the cursor}" for block readers (the statement begins with a blank).
  std::string StatementLocation(Int16 cursor);

  // The "ParentForm" entry of the host collection as a form: error 5 or 9 when it is missing,
  // 13 when it is not a form, 91 without a host collection.
  std::shared_ptr<ProgressHost> FindForm() const;
  // Host form calls, made only when Init found a form.
  void SetStatus(std::string_view text) {
    if (m_oParentForm) m_oParentForm->SetStatusText(text);
  }
  void SetProgress(Int16 value) {
    if (m_oParentForm) m_oParentForm->SetProgressValue(value);
  }

  Int16 m_iOperation;
  LoadOptions m_options;
  std::string m_language;      // the LANGUAGE in force during a relaxed walk
  bool m_skippedOpen = false;  // the last item kept was skipped: a new one of its language extends its section
  std::shared_ptr<HostObjects> m_oAppObjects;
  // The host form Init found, or null: looked up and checked once per Init, not per call. It
  // shares ownership of the host's entry, so it stays valid whatever the host collection does.
  std::shared_ptr<ProgressHost> m_oParentForm;
};

}  // namespace tamrel
