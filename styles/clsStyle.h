// clsStyle: the style flags of a dialog or control as a sorted set of flag texts. Style
// expressions ("WS_CHILD | NOT WS_TABSTOP | 0x102") enter the set through AddStyles: names are
// kept verbatim, numbers are decoded into the names of the known flags whose bits they hold.
// ConvertLine and PrintLines write the set back as an expression and as a STYLE statement.
#pragma once

#include <cstdint>
#include <span>
#include <string>
#include <string_view>

#include "common/Collection.h"
#include "common/Int16.h"
#include "common/LineWriter.h"
#include "common/Variant.h"

namespace tamrel {

// One known flag: its name and its bits as an unsigned 32-bit mask.
struct StyleFlag {
  std::string_view Name;
  std::uint32_t Value;
};

class clsStyle {
 public:
  // The flags as text, each under a key equal to itself, in ascending ordinal order, no
  // text twice.
  LineCollection Items;
  // Line of the statement the style was read from.
  Int16 Line;

  // Sets the operation code (missing gives 0; error 6 outside the 16-bit range); operation 2
  // loads the flag table. Always returns false.
  bool Init(const Variant& vOperation = {});

  // True when Items holds exactly szStyle (case-sensitive).
  bool InStyle(std::string_view szStyle) const;

  // The flags joined by " | "; empty for an empty set.
  std::string ConvertLine() const;
  // ConvertLine's text appended to `out`.
  void AppendExpression(std::string& out) const;

  // Nothing for a set that renders blank, else the one line "STYLE " and the expression.
  LineCollection PrintLines() const;
  // The same lines written into `out` at its indentation, each with the script line it was read
  // from.
  void WriteLines(LineWriter& out) const;
  // How many lines PrintLines gives (1, or 0 for a set that renders blank), counted without
  // writing them; raises the error PrintLines would raise (error 6 for 32,767 flags or more).
  std::int32_t LineCount() const;

  // Adds every token of a style expression (split at "|") to Items, loading the flag table
  // first. Names go in verbatim; decimal numbers and "0x" hexadecimal numbers add the names of
  // the table flags whose bits they hold, and are not stored themselves. Returns true.
  bool AddStyles(const Tokens& oStyles);

 private:
  friend struct StyleTestPeer;  // unit tests read the flag table through it
  friend class clsRC;           // the dialog reader adds the tokens it has split

  // AddStyles over tokens that are views.
  bool AddStyleTokens(std::span<const std::string_view> styles);

  class SortedNames;

  void LoadStyleTable() noexcept;
  // Adds one token's names to `names`, or straight to Items when `names` is null.
  void AddStyle(std::string_view token, SortedNames* names);
  void AddName(std::string_view name, SortedNames* names);

  // The known flags (the style's StyleValues and StyleNames, position by position): empty
  // until the table is loaded, then a view of the one table all styles share.
  std::span<const StyleFlag> m_table;
  Int16 m_iOperation;
};

}  // namespace tamrel
