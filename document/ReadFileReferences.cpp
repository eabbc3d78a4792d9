// Readers of the one-line file-reference statements: BITMAP, ICON and CURSOR.
//
// A statement reads: identifier, keyword, any number of memory options (none in scripts from
// current editors), the file, and perhaps a trailing "//" comment. The file is the first quoted
// token after the keyword, or the last token when the file is written without quotes; the first
// option before it is the Disposition, the second the Handling.
#include <cstdint>

#include "document/clsRC.h"

namespace tamrel {
namespace {

// Fills the members the three kinds share from the statement's tokens. A bitmap with exactly
// one memory option gets the Handling "PURE". Fewer than three tokens before a comment raise
// error 9.
template <class Item>
Item ReadFileReference(const Tokens& tokens, Int16 line, bool pureWithOneOption) {
  Item item;
  item.ID = tokens.Item(1);
  item.ItemType = tokens.Item(2);

  std::int32_t last = tokens.Count();  // the last token before a trailing comment
  for (std::int32_t k = 3; k <= last; ++k) {
    if (tokens.Item(k).starts_with("//")) {
      last = k - 1;
      break;
    }
  }
  if (last < 3) Raise(err::OutOfRange);

  std::int32_t file = last;
  for (std::int32_t k = 3; k <= last; ++k) {
    if (tokens.Item(k).starts_with('"')) {
      file = k;
      break;
    }
  }

  item.Path = tokens.Item(file);
  if (file > 3) item.Disposition = tokens.Item(3);
  if (file > 4) item.Handling = tokens.Item(4);
  else if (file == 4 && pureWithOneOption) item.Handling = "PURE";
  item.Line = line;
  return item;
}

}  // namespace

bool clsRC::ProcessBitmap(const Tokens& tokens, Int16 line) {
  Procedure procedure{"RCpB", "00"};
  try {
    clsBitmap bitmap = ReadFileReference<clsBitmap>(tokens, line, true);
    std::string key = bitmap.ID;
    Bitmaps.Add(std::move(bitmap), std::move(key));
    return true;
  } catch (const RCError& e) {
    Report(procedure, e, LineLocation(line));
    return false;
  }
}

bool clsRC::ProcessIcon(const Tokens& tokens, Int16 line) {
  Procedure procedure{"RCpI", "00"};
  try {
    clsIcon icon = ReadFileReference<clsIcon>(tokens, line, false);
    std::string key = icon.ID;
    Icons.Add(std::move(icon), std::move(key));
    return true;
  } catch (const RCError& e) {
    Report(procedure, e, LineLocation(line));
    return false;
  }
}

bool clsRC::ProcessCursor(const Tokens& tokens, Int16 line) {
  Procedure procedure{"RCpC", "00"};
  try {
    clsCursor cursor = ReadFileReference<clsCursor>(tokens, line, false);
    std::string key = cursor.ID;
    Cursors.Add(std::move(cursor), std::move(key));
    return true;
  } catch (const RCError& e) {
    Report(procedure, e, LineLocation(line));
    return false;
  }
}

}  // namespace tamrel
