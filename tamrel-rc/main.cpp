// tamrel-rc: loads resource scripts with the library and reports on them from a terminal.
#include <CLI/CLI.hpp>

#include <cstdio>

#include "tamrel-rc/Commands.h"
#include "tamrel-rc/Output.h"

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
  AddCodePageOptions(*loadCommand, load.codePages);

  PrintOptions print;
  CLI::App* printCommand = app.add_subcommand(
      "print",
      "Load one script and write the script regenerated from its model to standard output: includes, "
      "icons, bitmaps, cursors, menus, accelerator tables, dialogs, #ifdef blocks and the string table, "
      "each under a banner. Nothing is written when the load fails (exit status 1).");
  printCommand->add_option("FILE", print.file, "Resource script")->required();
  printCommand->add_option("--eol", print.eol, "Line ends: crlf (default) or lf")
      ->check(CLI::IsMember({"crlf", "lf"}));
  printCommand->add_option("--encoding", print.encoding,
                           "Output encoding: utf-8, utf-16le, or code-page (8-bit text in the code page in force at "
                           "each item's line); default: the encoding the script was read in")
      ->check(CLI::IsMember({"utf-8", "utf-16le", "code-page"}));
  AddCodePageOptions(*printCommand, print.codePages);
  printCommand->add_flag("-q,--quiet", print.quiet, "Draw no progress bar on standard error");

  CountOptions count;
  CLI::App* countCommand = app.add_subcommand(
      "count",
      "Load each script and count its translatable text: pieces of text (or words, with --words) of "
      "the whole document, of each dialog and menu and of the string table, and the totals of "
      "controls, shortcuts and menu items.");
  AddCommonOptions(*countCommand, count.common);
  countCommand->add_flag("--words", count.words,
                         "Count only words: pieces that are not numbers and hold none of !@#$%^*[]<>");
  countCommand->add_option("--format", count.format,
                           "table (default) or tsv: one FILE<TAB>KIND<TAB>ID<TAB>VALUE line per value")
      ->check(CLI::IsMember({"table", "tsv"}));

  DumpOptions dump;
  CLI::App* dumpCommand = app.add_subcommand(
      "dump", "Load one script and print its whole model, every member of every object, as indented "
              "text or, with --json, as JSON (schema in the README).");
  dumpCommand->add_option("FILE", dump.file, "Resource script")->required();
  dumpCommand->add_flag("--json", dump.json, "Print JSON instead of indented text");
  AddCodePageOptions(*dumpCommand, dump.codePages);
  dumpCommand->add_flag("-q,--quiet", dump.quiet, "Draw no progress bar on standard error");

  try {
    app.parse(argc, argv);
  } catch (const CLI::ParseError& e) {
    int code = app.exit(e);
    return code == 0 ? 0 : 2;
  }
  try {
    int status = 2;
    if (*loadCommand) status = RunLoad(load);
    if (*printCommand) status = RunPrint(print);
    if (*countCommand) status = RunCount(count);
    if (*dumpCommand) status = RunDump(dump);
    CloseOut();
    return status;
  } catch (const WriteError& e) {
    std::fprintf(stderr, "tamrel-rc: write error: %s\n", e.what());
    return 1;
  }
}
