// tamrel-rc: loads resource scripts with the library and reports on them from a terminal.
#include <unistd.h>

#include <CLI/CLI.hpp>
#include <cstdio>
#include <iostream>
#include <memory>
#include <string>
#include <vector>

#include "document/clsRC.h"
#include "host/HostHooks.h"
#include "tamrel-rc/ConsoleHost.h"

namespace tamrel::tool {
namespace {

struct LoadOptions {
  std::vector<std::string> files;
  bool quiet = false;
};

void PrintSummary(const clsRC& rc, bool loaded) {
  std::printf("%s: %s\n", rc.Path.c_str(), loaded ? "loaded" : "failed");
  std::printf("  lines %d, Initialized %s\n", rc.Lines.Count(), rc.Initialized ? "true" : "false");
  std::printf("  Includes %d, IfDef %d, Icons %d, Bitmaps %d, Cursors %d, DesignInfos %d\n",
              rc.Includes.Count(), rc.IfDef.Count(), rc.Icons.Count(), rc.Bitmaps.Count(),
              rc.Cursors.Count(), rc.DesignInfos.Count());
  std::printf("  Menus %d (TotalMenuItems %d), Accelerators %d, Dialogs %d, StringTable entries %d\n",
              rc.Menus.Count(), int(rc.TotalMenuItems), rc.Accelerators.Count(), rc.Dialogs.Count(),
              rc.StringTable.Entries.Count());
}

int RunLoad(const LoadOptions& options) {
  bool progress = !options.quiet && isatty(STDERR_FILENO);
  int status = 0;
  for (const std::string& file : options.files) {
    auto form = std::make_shared<TerminalProgress>(file, progress);
    auto log = std::make_shared<TextLog>();
    auto hosts = std::make_shared<HostObjects>();
    hosts->Add(form, "ParentForm");
    hosts->Add(log, "Log");
    SetMessageBoxHook([&log, &file](std::string_view message) {
      log->Log("message box: " + std::string(message), std::nullopt, file);
    });
    clsRC rc;
    bool loaded = rc.Init(file, hosts, 2);
    form->Finish();
    SetMessageBoxHook({});
    std::fputs(log->Text().c_str(), stderr);
    PrintSummary(rc, loaded);
    if (!loaded) status = 1;
  }
  return status;
}

}  // namespace
}  // namespace tamrel::tool

int main(int argc, char** argv) {
  using namespace tamrel::tool;
  CLI::App app{"tamrel-rc: read, regenerate and count Windows resource scripts (.rc)."};
  app.require_subcommand(1);
  app.set_version_flag("--version", "tamrel-rc 0.1.0");

  LoadOptions load;
  CLI::App* loadCommand = app.add_subcommand(
      "load", "Load each script and print a summary: lines read, whether it built, and the number of "
              "items in each collection. Failures are reported on standard error.");
  loadCommand->add_option("FILE", load.files, "Resource scripts to load")->required();
  loadCommand->add_flag("-q,--quiet", load.quiet, "Draw no progress bar on standard error");

  try {
    app.parse(argc, argv);
  } catch (const CLI::ParseError& e) {
    int code = app.exit(e);
    return code == 0 ? 0 : 2;
  }
  if (*loadCommand) return RunLoad(load);
  return 2;
}
