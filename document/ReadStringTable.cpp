// Reader of STRINGTABLE sections.
#include "document/clsRC.h"

namespace tamrel {

bool clsRC::ProcessStringTable(Int16&) { return true; }

}  // namespace tamrel
