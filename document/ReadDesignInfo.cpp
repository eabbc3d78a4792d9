// Reader of DESIGNINFO sections.
#include "document/clsRC.h"

namespace tamrel {

bool clsRC::ProcessDesignInfo(Int16&) { return true; }

}  // namespace tamrel
