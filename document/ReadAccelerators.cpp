// Reader of ACCELERATORS tables.
#include "document/clsRC.h"

namespace tamrel {

bool clsRC::ProcessAccelerators(Int16&) { return true; }

}  // namespace tamrel
