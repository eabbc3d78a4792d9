// Reader of MENU resources and their popups.
//
// A menu block holds MENUITEM lines and POPUP lines, each popup opening a block of its own, to
// any depth. The blocks still open are kept on an explicit stack, innermost last, so a deeply
// nested menu costs heap, not call stack. A popup joins its parent only when its block has
// been closed; the resource joins Menus when its outermost block has.
#include <vector>

#include "document/clsRC.h"
#include "host/HostHooks.h"

namespace tamrel {
namespace {

// The arguments of a MENUEX statement behind its keyword, split at the commas outside double
// quotes and parentheses, each without its outer blanks: the text, then the ID, type, state and
// (a popup's) help ID, each as written, an empty one kept empty.
void SplitArguments(std::string_view statement, std::vector<std::string_view>& arguments) {
  arguments.clear();
  std::size_t at = statement.find_first_of(" \t");
  if (at == std::string_view::npos) return;
  auto trimmed = [](std::string_view text) {
    const std::size_t first = text.find_first_not_of(" \t");
    if (first == std::string_view::npos) return std::string_view();
    return text.substr(first, text.find_last_not_of(" \t") - first + 1);
  };
  bool inQuotes = false;
  int depth = 0;
  std::size_t start = at + 1;
  for (std::size_t i = start; i < statement.size(); ++i) {
    const char c = statement[i];
    if (c == '"') inQuotes = !inQuotes;
    if (inQuotes) continue;
    if (c == '(') ++depth;
    if (c == ')' && depth > 0) --depth;
    if (c == ',' && depth == 0) {
      arguments.push_back(trimmed(statement.substr(start, i - start)));
      start = i + 1;
    }
  }
  arguments.push_back(trimmed(statement.substr(start)));
}

std::string Argument(const std::vector<std::string_view>& arguments, std::size_t index) {
  return index < arguments.size() ? std::string(arguments[index]) : std::string();
}

}  // namespace

// Reads the block whose header is at the cursor and leaves the cursor on its closing line. With
// a parent, the block is a popup of it and joins its Items at `position` (1 when missing);
// without one it is a MENU resource and joins Menus. Any failure, a header not followed by
// "BEGIN" included, is reported once, by the innermost open block's step, and ends the reading
// (false); nothing of the unfinished tree is attached.
bool clsRC::ProcessMenu(Int16& cursor, clsMenu* parent, const Variant& position) {
  struct OpenBlock {
    clsMenu menu;
    Int16 counter;  // statements with tokens read so far in this block
  };
  std::vector<OpenBlock> open;
  std::string joined;  // statements that span lines
  StatementTokens tokens;
  std::vector<std::string_view> arguments;  // a MENUEX statement's

  Procedure procedure{"RCpM", "01"};
  // Read relaxed, an item's options (also on lines that start with a comma) are kept, and
  // "{" and "}" open and close blocks as BEGIN and END do.
  const bool relaxed = m_options.layout == Layout::Relaxed;
  auto statementAt = [&](Int16 line, Int16& count) {
    return relaxed ? RelaxedStatementAt(line, count, joined) : StatementAt(line, count, joined);
  };
  try {
    // Steps "01" to "05" for the header at the cursor: the new menu, its header fields, the
    // "BEGIN" line. A missing "BEGIN" is reported at the line that should hold it.
    auto openBlock = [&](const clsMenu* into, Int16 at) {
      procedure.Step = "01";
      clsMenu menu;
      procedure.Step = "02";
      Int16 relIndex = at;
      procedure.Step = "03";
      Int16 count;
      const std::string_view statement = statementAt(cursor, count);
      SplitInto(statement, ' ', tokens);
      menu.RelIndex = relIndex;
      menu.Map = "POPUP";
      if (into != nullptr && into->Extended) {
        // A MENUEX popup: its text, ID, type, state and help ID.
        SplitArguments(statement, arguments);
        menu.ID = into->ID;
        menu.ItemType = tokens.Item(1);
        menu.Extended = true;
        menu.Text = Argument(arguments, 0);
        menu.PopupID = Argument(arguments, 1);
        menu.Type = Argument(arguments, 2);
        menu.State = Argument(arguments, 3);
        menu.HelpID = Argument(arguments, 4);
      } else if (into != nullptr) {
        menu.ID = into->ID;
        menu.ItemType = tokens.Item(1);
        menu.Text = tokens.Item(2);
        if (relaxed) menu.Options = tokens.JoinFrom(3);
      } else {
        menu.ID = tokens.Item(1);
        menu.ItemType = tokens.Item(2);
        menu.Extended = relaxed && menu.ItemType == "MENUEX";
        // Headers written without a memory option have two tokens.
        if (tokens.Count() >= 3) menu.Disposition = tokens.Item(3);
      }
      menu.Line = cursor;
      procedure.Step = "04";
      cursor += count;
      if (relaxed && into == nullptr) ReadOptionStatements(cursor, menu.OptionStatements);
      if (!OpensBlockAt(cursor)) Raise(err::BeginExpected);
      procedure.Step = "05";
      ++cursor;
      open.push_back({std::move(menu), 0});
    };

    // The first block: the resource, or a popup of the given parent.
    Int16 first = 1;
    if (!position.IsMissing()) {
      procedure.Step = "02";
      first = ToOperationCode(position);
    }
    openBlock(parent, first);

    for (;;) {
      OpenBlock& block = open.back();
      if (cursor <= Lines.Count() && !ClosesBlockAt(cursor)) {
        Int16 count;
        const std::string_view statement = statementAt(cursor, count);
        SplitInto(statement, ' ', tokens);
        if (tokens.Count() > 0) {
          ++block.counter;
          procedure.Step = "06";
          if (tokens.Item(1) == "POPUP") {
            // The popup's block is read next; this block resumes once it is closed.
            const clsMenu* into = &block.menu;
            openBlock(into, block.counter);
            continue;
          }
          procedure.Step = "07";
          clsMenuItem item;
          item.ItemType = tokens.Item(1);
          item.Text = tokens.Item(2);
          if (block.menu.Extended && item.Text != "SEPARATOR") {
            // A MENUEX item: its text, ID, type and state.
            SplitArguments(statement, arguments);
            item.Extended = true;
            item.Text = Argument(arguments, 0);
            item.Map = Argument(arguments, 1);
            item.Type = Argument(arguments, 2);
            item.State = Argument(arguments, 3);
          } else {
            item.Map = item.Text != "SEPARATOR" ? tokens.Item(3) : "SEPARATOR";
            if (relaxed && item.Text != "SEPARATOR") item.Options = tokens.JoinFrom(4);
            item.Extended = block.menu.Extended;
          }
          item.Line = cursor;
          item.RelIndex = block.counter;
          block.menu.Items.Add(std::move(item));
          ++TotalMenuItems;
        }
        cursor += count;
        SetProgress(cursor);
        YieldToHost();
        continue;
      }

      // Step "08": the block is closed (or the lines ran out): attach it.
      procedure.Step = "08";
      clsMenu done = std::move(block.menu);
      open.pop_back();
      if (open.empty()) {
        if (parent == nullptr) {
          Menus.Add(std::move(done));
        } else {
          parent->Items.Add(std::move(done));
          ++TotalMenuItems;
        }
        return true;
      }
      open.back().menu.Items.Add(std::move(done));
      ++TotalMenuItems;

      // Back in the enclosing block, past the popup's closing line.
      procedure.Step = "06";
      cursor += 1;
      SetProgress(cursor);
      YieldToHost();
    }
  } catch (const RCError& e) {
    Report(procedure, e, StatementLocation(cursor));
    return false;
  }
}

}  // namespace tamrel
