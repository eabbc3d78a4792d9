// A program outside the project using the layout component: the fit check of every dialog and
// menu of a script, one finding a line. Exit status 0 when the script is clean, 3 when it has
// findings.
#include <TamrelResourceFile/document/clsRC.h>
#include <TamrelResourceFile/layout/DialogLayout.h>
#include <TamrelResourceFile/layout/FitChecker.h>
#include <TamrelResourceFile/layout/FontMap.h>
#include <TamrelResourceFile/layout/TextMeasurer.h>

#include <iostream>

int main(int argc, char** argv) {
  if (argc != 2) return 2;
  tamrel::clsRC rc;
  if (!rc.Init(argv[1], std::make_shared<tamrel::HostObjects>(), 2)) return 1;
  tamrel::TextMeasurer measurer;
  tamrel::DialogLayouter layouter(tamrel::FontMap::Default(), measurer);
  std::vector<tamrel::FitFinding> findings = tamrel::CheckMenus(rc);
  for (const tamrel::clsDialog& dialog : rc.Dialogs) {
    std::vector<tamrel::FitFinding> found = tamrel::CheckDialog(layouter.Layout(rc, dialog));
    findings.insert(findings.end(), found.begin(), found.end());
  }
  for (const tamrel::FitFinding& finding : findings) std::cout << finding.line << ": " << finding.message << '\n';
  std::cout << rc.Dialogs.Count() << " dialogs, " << findings.size() << " findings\n";
  return findings.empty() ? 0 : 3;
}
