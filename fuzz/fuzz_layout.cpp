// Fuzz target: any script that loads can be laid out, checked and drawn. Dialog sizes, fonts,
// styles and texts come from the input, so this covers zero and negative sizes, point sizes of
// 0 or 32767, unknown window classes and texts that are not valid in their code page. Nothing may
// crash; the only exception allowed is a font the machine lacks.
#include <unistd.h>

#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <deque>
#include <sstream>
#include <string>

#include "FuzzSupport.h"
#include "host/HostHooks.h"
#include "layout/DialogLayout.h"
#include "layout/FitChecker.h"
#include "layout/FontMap.h"
#include "layout/PreviewPage.h"
#include "layout/TextMeasurer.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  static const tamrel::fuzz::ScratchFile script("layout", ".rc");
  if (!script.Write({reinterpret_cast<const char*>(data), size})) return 0;
  tamrel::SetMessageBoxHook([](std::string_view) {});
  tamrel::clsRC rc;
  if (!rc.Init(script.path, std::make_shared<tamrel::HostObjects>(), 2)) return 0;

  tamrel::TextMeasurer measurer;
  tamrel::DialogLayouter layouter(tamrel::FontMap::Default(), measurer);
  std::deque<tamrel::DialogLayout> layouts;  // the page points into them
  tamrel::PreviewPage page("fuzz");
  try {
    for (const tamrel::clsDialog& dialog : rc.Dialogs) {
      layouts.push_back(layouter.Layout(rc, dialog));
      page.AddDialog(layouts.back(), tamrel::CheckDialog(layouts.back()));
    }
    (void)tamrel::CheckMenus(rc);
  } catch (const tamrel::FontError&) {  // a script's characters need a font that is not installed
    return 0;
  }
  std::ostringstream html;
  page.Write(html);
  return 0;
}
