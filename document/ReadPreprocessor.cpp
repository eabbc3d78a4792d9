// Readers of the preprocessor constructs the model keeps: #include lines and #ifdef blocks.
#include "document/clsRC.h"

namespace tamrel {

bool clsRC::ProcessInclude(const Tokens&, Int16) { return true; }
bool clsRC::ProcessIfDef(Int16&) { return true; }

}  // namespace tamrel
