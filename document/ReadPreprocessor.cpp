// Readers of the preprocessor constructs the model keeps: #include lines and #ifdef blocks.
// Nothing inside an #ifdef block is read as a section: the block is kept as raw lines.
#include "document/clsRC.h"
#include "host/HostHooks.h"

namespace tamrel {

bool clsRC::ProcessInclude(const Tokens& tokens, Int16 line) {
  Procedure procedure{"RCpIn", "00"};
  try {
    clsInclude include;
    include.Text = tokens.Item(2);
    include.Line = line;
    Includes.Add(std::move(include));
    return true;
  } catch (const RCError& e) {
    Report(procedure, e, LineLocation(line));
    return false;
  }
}

// Keeps the raw lines after the #ifdef line up to the first line whose first token is
// "#endif", and leaves the cursor on that line. Lines without tokens (blank lines and lines
// that begin with "//" once their outer blanks are gone) are dropped. A block that runs past
// the last line cannot name its location, so that failure is reported by the walk.
bool clsRC::ProcessIfDef(Int16& cursor) {
  Procedure procedure{"RCpIf", "00"};
  try {
    LineCollection block;
    std::vector<Int16> blockLines;
    StatementTokens tokens;
    ++cursor;
    for (;;) {
      const std::string& raw = Lines.Item(cursor);
      SplitInto(raw, ' ', tokens);
      if (tokens.Count() > 0) {
        if (tokens.Item(1) == "#endif") break;
        block.Add(raw);
        blockLines.push_back(cursor);
      }
      ++cursor;
      YieldToHost();
    }
    IfDef.Add(std::move(block));
    IfDefLines.push_back(std::move(blockLines));
    return true;
  } catch (const RCError& e) {
    Report(procedure, e, LineLocation(cursor));  // the cursor, ": " and the raw line there
    return false;
  }
}

}  // namespace tamrel
