// Reader of DIALOG and DIALOGEX resources.
#include "document/clsRC.h"

namespace tamrel {

bool clsRC::ProcessDialog(Int16&) { return true; }

}  // namespace tamrel
