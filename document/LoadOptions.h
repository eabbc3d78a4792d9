// LoadOptions: how clsRC::Init reads a script. The exact layout is the library's default: each
// section in the one fixed layout its reader accepts, anything else a failure. The relaxed
// layout reads what resource compilers accept: dialog options in any order and each optional,
// every control statement with all its arguments, the DIALOGEX extras.
#pragma once

namespace tamrel {

enum class Layout { Exact, Relaxed };

struct LoadOptions {
  Layout layout = Layout::Exact;
};

}  // namespace tamrel
