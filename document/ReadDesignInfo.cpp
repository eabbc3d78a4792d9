// Reader of DESIGNINFO sections: a header, then a BEGIN ... END body whose statements are kept
// as text, nested BEGIN ... END blocks included.
#include "document/clsRC.h"
#include "host/HostHooks.h"

namespace tamrel {

// Leaves the cursor on the section's closing END. A header that is not followed by BEGIN
// is reported at the line that should hold it, and the reader returns false. A body without its closing END runs past
// the last line; that failure cannot name its location and is reported by the walk.
bool clsRC::ProcessDesignInfo(Int16& cursor) {
  Procedure procedure{"RCpDI", "03"};
  try {
    Int16 count;
    std::string joined;  // a header that spans lines
    StatementTokens header, tokens;
    SplitInto(StatementAt(cursor, count, joined), ' ', header);
    clsDesignInfo info;
    info.ID = header.Item(1);
    info.ItemType = header.Item(2);
    if (header.Count() >= 3) info.Disposition = header.Item(3);  // the memory option is optional
    info.Line = cursor;

    procedure.Step = "04";
    cursor += count;
    if (TrimmedLine(cursor) != "BEGIN") Raise(err::BeginExpected);

    procedure.Step = "05";
    ++cursor;
    Int16 depth = 0;
    while ((TrimmedLine(cursor) != "END" || depth > 0) && cursor <= Lines.Count()) {
      std::string statement = GetFullLine(cursor, count);
      SplitInto(statement, ' ', tokens);
      if (tokens.Count() > 0) {
        if (tokens.Item(1) == "BEGIN") ++depth;
        else if (tokens.Item(1) == "END") --depth;
      }
      info.Items.Add(std::move(statement));
      cursor += count;
      SetProgress(cursor);
      YieldToHost();
    }
    DesignInfos.Add(std::move(info));
    return true;
  } catch (const RCError& e) {
    Report(procedure, e, StatementLocation(cursor));
    return false;
  }
}

}  // namespace tamrel
