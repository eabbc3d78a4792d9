// Reader of ACCELERATORS tables.
#include "document/clsRC.h"
#include "host/HostHooks.h"

namespace tamrel {

// Reads the table whose header is at the cursor and adds it to Accelerators under its ID once
// its block has been read; the cursor is left on the closing line. A header not followed by
// "BEGIN" shows a message and ends the reading; any error is reported and ends it too.
bool clsRC::ProcessAccelerators(Int16& cursor) {
  Procedure procedure{"RCpA", "01"};
  try {
    Int16 count;
    std::string joined;  // statements that span lines
    StatementTokens header, tokens;
    SplitInto(StatementAt(cursor, count, joined), ' ', header);
    clsAccelerator table;
    const std::int32_t words = header.Count();
    if (words >= 4) {
      table.ID = header.Item(1);
      table.ItemType = header.Item(2);
      table.Predisposition = header.Item(3);
      table.Disposition = header.Item(4);
      // Words past the fifth stay with it in Handling, so that a header of six or more words is
      // written back whole rather than as blanks that no longer read.
      if (words >= 5) table.Handling = header.Item(5);
      for (std::int32_t word = 6; word <= words; ++word) table.Handling.append(" ").append(header.Item(word));
    } else if (words >= 2) {  // written without a memory option, or with one
      table.ID = header.Item(1);
      table.ItemType = header.Item(2);
      if (words == 3) table.Disposition = header.Item(3);
    }
    table.Line = cursor;

    procedure.Step = "02";
    cursor += count;
    // Read relaxed, option statements before BEGIN are kept.
    if (m_options.layout == Layout::Relaxed) ReadOptionStatements(cursor, table.OptionStatements);
    if (!OpensBlockAt(cursor)) {
      ShowMessageBox("Unable to process accelerator section.", cursor);
      return false;
    }

    procedure.Step = "03";
    ++cursor;
    while (cursor <= Lines.Count() && !ClosesBlockAt(cursor)) {
      // Commas alone separate the fields, so blanks inside a field do not split it.
      SplitInto(StatementAt(cursor, count, joined), ',', tokens);
      if (tokens.Count() > 0) {  // blank and comment lines hold no shortcut
        clsAcceleratorKey key;
        key.Key = tokens.Item(1);
        key.ID = tokens.Item(2);
        key.ItemType = tokens.Item(3);
        if (tokens.Count() > 3) key.Modifier = tokens.Item(4);
        key.Line = cursor;
        table.Keys.Add(std::move(key));
      }
      cursor += count;
      SetProgress(cursor);
      YieldToHost();
    }

    std::string id = table.ID;
    Accelerators.Add(std::move(table), std::move(id));
    return true;
  } catch (const RCError& e) {
    Report(procedure, e, StatementLocation(cursor));
    return false;
  }
}

}  // namespace tamrel
