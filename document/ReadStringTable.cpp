// Reader of STRINGTABLE sections. Every section adds its entries to the document's one table.
#include <string_view>

#include "document/clsRC.h"
#include "host/HostHooks.h"

namespace tamrel {
namespace {

// A string literal: quoted, or quoted behind the wide-string prefix L.
bool IsLiteral(std::string_view token) { return token.starts_with('"') || token.starts_with("L\""); }

}  // namespace

// Reads the section whose header is at the cursor into StringTable and leaves the cursor on
// the closing line. A header not followed by "BEGIN" shows a message and ends the reading; any
// error (a missing text, an identifier already in the table) is reported and ends it too.
bool clsRC::ProcessStringTable(Int16& cursor) {
  Procedure procedure{"RCpST", "01"};
  try {
    Int16 count;
    std::string joined, pair;  // statements that span lines
    StatementTokens tokens;
    // Read relaxed: option statements between the header and BEGIN are passed over, "{" and
    // "}" stand for BEGIN and END, and an ID may be an expression (its tokens up to the text,
    // joined by one blank).
    const bool relaxed = m_options.layout == Layout::Relaxed;
    SplitInto(StatementAt(cursor, count, joined), ' ', tokens);
    StringTable.ItemType = tokens.Item(1);
    // A header written without a memory option has one token.
    StringTable.Disposition = tokens.Count() >= 2 ? tokens.Item(2) : std::string_view();
    // Read relaxed, each block is kept with its memory options and option statements.
    clsStringTableBlock block;
    if (relaxed) {
      block.Line = cursor;
      for (std::int32_t k = 2; k <= tokens.Count(); ++k)
        block.Disposition.append(k > 2 ? " " : "").append(tokens.Item(k));
    }
    const std::int32_t entriesBefore = StringTable.Entries.Count();

    procedure.Step = "02";
    cursor += count;
    if (relaxed) ReadOptionStatements(cursor, block.Options);
    if (relaxed && cursor > Lines.Count()) {  // the script ends before BEGIN
      ShowMessageBox("Unable to process string table section.", Lines.Count());
      return false;
    }
    if (!OpensBlockAt(cursor)) {
      ShowMessageBox("Unable to process string table section.", cursor);
      return false;
    }

    procedure.Step = "03";
    ++cursor;
    while (cursor <= Lines.Count() && !ClosesBlockAt(cursor)) {
      SplitInto(StatementAt(cursor, count, joined), ' ', tokens);
      if (tokens.Count() > 0) {
        // The text's token: the second; read relaxed, the first quoted one.
        std::int32_t text = 2;
        if (relaxed)
          while (text <= tokens.Count() && !IsLiteral(tokens.Item(text))) ++text;
        // An identifier alone on its line takes the next line as its text.
        if (tokens.Count() == 1 || text > tokens.Count()) {
          pair = GetFullLine(cursor, count, 2);
          SplitInto(pair, ' ', tokens);
          text = 2;
          if (relaxed)
            while (text < tokens.Count() && !IsLiteral(tokens.Item(text))) ++text;
        }
        clsStringTableEntry entry;
        entry.ID = tokens.Item(1);
        for (std::int32_t k = 2; k < text; ++k) entry.ID.append(" ").append(tokens.Item(k));
        entry.Text = tokens.Item(text);
        entry.Line = cursor;
        std::string key = entry.ID;
        StringTable.Entries.Add(std::move(entry), std::move(key));
      }
      cursor += count;
      SetProgress(cursor);
      YieldToHost();
    }
    if (relaxed) {
      block.Entries = StringTable.Entries.Count() - entriesBefore;
      StringTable.Blocks.Add(std::move(block));
    }
    return true;
  } catch (const RCError& e) {
    Report(procedure, e, StatementLocation(cursor));
    return false;
  }
}

}  // namespace tamrel
