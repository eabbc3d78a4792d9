// Readers of the one-line file-reference statements: BITMAP, ICON and CURSOR.
#include "document/clsRC.h"

namespace tamrel {

bool clsRC::ProcessBitmap(const Tokens&, Int16) { return true; }
bool clsRC::ProcessIcon(const Tokens&, Int16) { return true; }
bool clsRC::ProcessCursor(const Tokens&, Int16) { return true; }

}  // namespace tamrel
