// tamrel-rc: loads resource scripts with the library and reports on them from a terminal.
#include <CLI/CLI.hpp>

#include "tamrel-rc/Commands.h"

namespace {

void AddCommonOptions(CLI::App& command, tamrel::tool::CommonOptions& options) {
  command.add_option("FILE", options.inputs, "Resource scripts, or directories holding them")->required();
  command.add_flag("-r,--recursive", options.recursive,
                   "Walk directories and their subdirectories for *.rc and *.dlg files");
  command.add_option("-j,--jobs", options.jobs, "Scripts loaded at once (default: one per core)")
      ->check(CLI::Range(1u, 256u));
  command.add_flag("-q,--quiet", options.quiet, "Draw no progress bars on standard error");
}

}  // namespace

int main(int argc, char** argv) {
  using namespace tamrel::tool;
  CLI::App app{"tamrel-rc: read, regenerate and count Windows resource scripts (.rc).\n"
               "Exit status: 0 all scripts loaded, 1 some failed, 2 usage error."};
  app.require_subcommand(1);
  app.set_version_flag("--version", "tamrel-rc 0.1.0");

  CommonOptions load;
  CLI::App* loadCommand = app.add_subcommand(
      "load",
      "Load each script and print what it holds: lines read, whether it built, its encoding and the "
      "number of items in each collection, then a line with the files, loaded and failed counts. "
      "Failures and message boxes are reported on standard error, each naming its script.");
  AddCommonOptions(*loadCommand, load);

  try {
    app.parse(argc, argv);
  } catch (const CLI::ParseError& e) {
    int code = app.exit(e);
    return code == 0 ? 0 : 2;
  }
  if (*loadCommand) return RunLoad(load);
  return 2;
}
