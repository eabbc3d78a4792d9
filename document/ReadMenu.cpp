// Reader of MENU resources and their popups.
#include "document/clsRC.h"

namespace tamrel {

bool clsRC::ProcessMenu(Int16&, clsMenu*, const Variant&) { return true; }

}  // namespace tamrel
