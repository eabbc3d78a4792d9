// Reader of STRINGTABLE sections. Every section adds its entries to the document's one table.
#include "document/clsRC.h"
#include "host/HostHooks.h"

namespace tamrel {

// Reads the section whose header is at the cursor into StringTable and leaves the cursor on
// the closing line. A header not followed by "BEGIN" shows a message and ends the reading; any
// error (a missing text, an identifier already in the table) is reported and ends it too.
bool clsRC::ProcessStringTable(Int16& cursor) {
  Procedure procedure{"RCpST", "01"};
  try {
    Int16 count;
    std::string joined, pair;  // statements that span lines
    StatementTokens tokens;
    SplitInto(StatementAt(cursor, count, joined), ' ', tokens);
    StringTable.ItemType = tokens.Item(1);
    // A header written without a memory option has one token.
    StringTable.Disposition = tokens.Count() >= 2 ? tokens.Item(2) : std::string_view();

    procedure.Step = "02";
    cursor += count;
    if (TrimmedLine(cursor) != "BEGIN") {
      ShowMessageBox("Unable to process string table section.", cursor);
      return false;
    }

    procedure.Step = "03";
    ++cursor;
    while (cursor <= Lines.Count() && TrimmedLine(cursor) != "END") {
      SplitInto(StatementAt(cursor, count, joined), ' ', tokens);
      if (tokens.Count() > 0) {
        // An identifier alone on its line takes the next line as its text.
        if (tokens.Count() == 1) {
          pair = GetFullLine(cursor, count, 2);
          SplitInto(pair, ' ', tokens);
        }
        clsStringTableEntry entry;
        entry.ID = tokens.Item(1);
        entry.Text = tokens.Item(2);
        entry.Line = cursor;
        StringTable.Entries.Add(std::move(entry), std::string(tokens.Item(1)));
      }
      cursor += count;
      SetProgress(cursor);
      YieldToHost();
    }
    return true;
  } catch (const RCError& e) {
    Report(procedure, e, StatementLocation(cursor));
    return false;
  }
}

}  // namespace tamrel
