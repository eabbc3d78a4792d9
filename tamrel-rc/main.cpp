// tamrel-rc: loads resource scripts with the library and reports on them from a terminal.
#include <CLI/CLI.hpp>

#include <charconv>
#include <map>
#include <cstdio>
#include <string_view>

#include "common/Version.h"
#include "tamrel-rc/CommandCheck.h"
#include "tamrel-rc/CommandExtract.h"
#include "tamrel-rc/CommandFit.h"
#include "tamrel-rc/CommandMerge.h"
#include "tamrel-rc/CommandPreview.h"
#include "tamrel-rc/CommandPseudo.h"
#include "tamrel-rc/Commands.h"
#include "tamrel-rc/Output.h"

namespace {

constexpr std::string_view kCommands[] = {"load", "print", "count", "dump", "extract", "merge", "pseudo", "check",
                                          "preview", "fit"};

// Options of every command that loads scripts: the reading mode and the language section taken.
// merge names the section it translates with --source-language: its --language is the target.
void AddStrictOption(CLI::App& command, tamrel::tool::LoadSettings& settings, const std::string& languageOption) {
  command.add_flag_callback(
      "--strict", [&settings] { settings.options.layout = tamrel::Layout::Exact; },
      "Read each section in the one fixed layout of the library's exact reader (default: relaxed, "
      "as resource compilers read: dialog options in any order, every control statement)");
  command.add_option(languageOption, settings.options.language,
                     "Read relaxed: take the sections in this language, \"LANG_X[, SUBLANG_Y]\" (default: the "
                     "language of the first dialog, menu or string table); the others are kept as written");
}

// The reading options and --diagnostics.
void AddDiagnosticsOption(CLI::App& command, tamrel::tool::LoadSettings& settings,
                          const std::string& languageOption = "--language") {
  AddStrictOption(command, settings, languageOption);
  command.add_option("--diagnostics", settings.diagnostics,
                     "Reports on standard error: text (default), or json: one JSON object per line")
      ->transform(CLI::CheckedTransformer(
          std::map<std::string, tamrel::tool::DiagnosticsFormat>{{"text", tamrel::tool::DiagnosticsFormat::Text},
                                                                 {"json", tamrel::tool::DiagnosticsFormat::Json}}));
}

// --force, the reading options and --diagnostics.
void AddLoadOptions(CLI::App& command, tamrel::tool::LoadSettings& settings) {
  command.add_flag("--force", settings.force, "Load files that look like binary data all the same");
  AddDiagnosticsOption(command, settings);
}

void AddCommonOptions(CLI::App& command, tamrel::tool::CommonOptions& options, std::string& jobs) {
  command.add_option("FILE", options.inputs, "Resource scripts, or directories holding them; - reads standard input")
      ->required();
  command.add_flag("-r,--recursive", options.recursive,
                   "Walk directories and their subdirectories for *.rc and *.dlg files");
  command.add_option("-j,--jobs", jobs, "Scripts loaded at once, 1 to 256 (default: one per core)");
  command.add_flag("-q,--quiet", options.quiet, "Draw no progress bars on standard error");
  AddLoadOptions(command, options.loading);
}

// The value of -j, or an error message. Empty text: the default.
bool ParseJobs(const std::string& text, unsigned& jobs) {
  if (text.empty()) return true;
  unsigned value = 0;
  auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), value);
  if (error != std::errc() || end != text.data() + text.size()) {
    std::fprintf(stderr, "tamrel-rc: -j: not a number: '%s'\n", text.c_str());
    return false;
  }
  if (value < 1 || value > 256) {
    std::fprintf(stderr, "tamrel-rc: -j: %u is not between 1 and 256\n", value);
    return false;
  }
  jobs = value;
  return true;
}

// The first argument that is not an option must name a command.
bool CheckCommand(int argc, char** argv) {
  for (int i = 1; i < argc; ++i) {
    std::string_view argument = argv[i];
    if (argument.starts_with("-")) continue;
    for (std::string_view command : kCommands)
      if (argument == command) return true;
    std::string list;
    for (std::string_view command : kCommands) list.append(list.empty() ? "" : ", ").append(command);
    std::fprintf(stderr, "tamrel-rc: unknown command '%s' (commands: %s; --help for more)\n", argv[i],
                 list.c_str());
    return false;
  }
  return true;
}

// Options of the translation commands' script: FILE, the code pages and --quiet.
void AddTranslationLoad(CLI::App& command, tamrel::tool::TranslationLoadOptions& load) {
  load.command = command.get_name();
  command.add_option("FILE", load.file,
                     load.command == "extract" ? "Resource script (- reads standard input)"
                                               : "Resource script (a file: the result is made from its bytes)")
      ->required();
  AddCodePageOptions(command, load.codePages);
  command.add_flag("-q,--quiet", load.quiet, "Draw no progress bar on standard error");
}


void AddUnicodeEncodingOption(CLI::App& command, std::string& encoding) {
  command.add_option("--encoding", encoding,
                     "Write the script as utf-8 (code-page pragmas become 65001) or utf-16 (little endian, with "
                     "a mark) instead of its own encoding")
      ->transform(CLI::CheckedTransformer(std::map<std::string, std::string>{
          {"utf-8", "utf-8"}, {"utf8", "utf-8"}, {"utf-16", "utf-16"}, {"utf-16le", "utf-16"}}));
}

CLI::App* AddExtractCommand(CLI::App& app, tamrel::tool::ExtractCommandOptions& options) {
  CLI::App* command = app.add_subcommand(
      "extract",
      "Load one script and write its translatable units as a gettext template or catalog (msgctxt the unit's "
      "context) or an XLIFF 2.0 document; with --stats, count its units, words and characters per kind.");
  AddTranslationLoad(*command, options.load);
  AddLoadOptions(*command, options.load.loading);
  command->add_option("-o,--output", options.out, "Output file (default: standard output)");
  command->add_option("--format", options.format, "po, pot or xliff (default: by the output's name, else pot)")
      ->check(CLI::IsMember({"po", "pot", "xliff"}));
  command->add_option("--source-lang", options.sourceLanguage, "Language of the script's text (default en)");
  command->add_option("--target-lang", options.targetLanguage, "Language of the translation (po and xliff)");
  command->add_flag("--stats", options.stats, "Print units, words and characters per kind instead");
  command->add_flag("--skip-unconvertible", options.skipUnconvertible,
                    "Leave out, with a warning each, units whose bytes do not convert from their line's code page "
                    "(without it they are an error and nothing is written)");
  return command;
}

CLI::App* AddMergeCommand(CLI::App& app, tamrel::tool::MergeCommandOptions& options, std::string& mergeJobs) {
  CLI::App* command = app.add_subcommand(
      "merge",
      "Load one script and write it with the translations of a PO or XLIFF file in place of each unit's text; "
      "every other byte stays as it was. On any error nothing is written (exit status 1).");
  AddTranslationLoad(*command, options.load);
  command->add_option("TRANSLATIONS", options.translations, "PO file, or XLIFF 2.0 document (.xlf)");
  command->add_option("-o,--output", options.out,
                      "Output file (default: standard output); with --po-dir its name with {lang} for the language");
  command->add_option("--language", options.language,
                      "Write the script in this language (a locale tag such as de-DE, or LANG_GERMAN, SUBLANG_GERMAN): "
                      "the translated section's LANGUAGE statements, code-page pragma (and its 8-bit text's code page) "
                      "and version information name it");
  command->add_option("--threshold", options.threshold,
                      "Percent of the units a catalog must translate; a language below it is not written (exit 0)")
      ->check(CLI::Range(0.0, 100.0));
  command->add_option("--po-dir", options.poDir,
                      "Merge every LANG.po / LANG.xlf of this folder (the file name is the locale tag) into its own "
                      "script, in parallel, and print a summary table; exit status 1 when any language failed");
  command->add_option("-j,--jobs", mergeJobs, "Languages merged at once with --po-dir, 1 to 256 (default: one per core)");
  command->add_flag("--use-fuzzy", options.useFuzzy, "Apply fuzzy translations too");
  command->add_flag("--force", options.force, "Apply translations whose printf conversions differ from the source's");
  AddUnicodeEncodingOption(*command, options.encoding);
  AddDiagnosticsOption(*command, options.load.loading, "--source-language");
  command->add_flag("--fit", options.fit, "Fit the merged script's dialogs (as fit does) before writing it");
  command->add_option("--max-growth", options.maxGrowth, "With --fit: percent a dialog may grow by (default 50)")
      ->check(CLI::Range(0.0, 1000.0));
  return command;
}

CLI::App* AddPseudoCommand(CLI::App& app, tamrel::tool::PseudoCommandOptions& options) {
  CLI::App* command = app.add_subcommand(
      "pseudo",
      "Load one script and write it with every unit pseudo-translated in place: accented look-alikes, "
      "lengthened, in brackets, with printf conversions, mnemonics and escapes kept.");
  AddTranslationLoad(*command, options.load);
  AddLoadOptions(*command, options.load.loading);
  command->add_option("-o,--output", options.out, "Output file (default: standard output)");
  command->add_option("--expand", options.expand, "Percent by which each text grows (default 40)")
      ->check(CLI::Range(0, 1000));
  AddUnicodeEncodingOption(*command, options.encoding);
  return command;
}

CLI::App* AddCheckCommand(CLI::App& app, tamrel::tool::CheckOptions& options, std::string& jobs) {
  CLI::App* command = app.add_subcommand(
      "check",
      "Lay out each script's dialogs with the mapped free fonts and report, as warnings, every text that does "
      "not fit its control or the title bar (in dialog units and percent), two controls of a dialog or two "
      "items of a menu level with the same mnemonic, and controls outside their dialog. Exit status 1 when "
      "there are more findings than --max-warnings or a script failed to load.");
  AddCommonOptions(*command, options.common, jobs);
  AddCodePageOptions(*command, options.common.codePages);
  command->add_option("--format", options.format, "text (default): path:line: warning: ...; json: one object a line")
      ->check(CLI::IsMember({"text", "json"}));
  command->add_option("--max-warnings", options.maxWarnings, "Findings allowed before the exit status is 1 (default 0)")
      ->check(CLI::Range(0L, 1000000000L));
  command->add_option("--font-map", options.fontMap, "Font table (JSON) replacing the built-in one");
  return command;
}

CLI::App* AddPreviewCommand(CLI::App& app, tamrel::tool::PreviewCommandOptions& options) {
  CLI::App* command = app.add_subcommand(
      "preview",
      "Load one script and write an HTML page that draws its dialogs at real size (96 DPI) in the mapped "
      "fonts, with the fit check's findings outlined on them and listed; the page needs no script or network.");
  AddTranslationLoad(*command, options.load);
  AddLoadOptions(*command, options.load.loading);
  command->add_option("-o,--output", options.out, "Output file (default: standard output)");
  command->add_option("--dialog", options.dialog, "Only the dialog with this ID");
  command->add_option("--font-map", options.fontMap, "Font table (JSON) instead of the built-in one");
  command->add_option("--before", options.before,
                      "A script (the original of a fitted one, say) whose dialogs are drawn beside those of the same ID");
  return command;
}

CLI::App* AddFitCommand(CLI::App& app, tamrel::tool::FitCommandOptions& options) {
  CLI::App* command = app.add_subcommand(
      "fit",
      "Load one script and write it with the dialogs whose texts do not fit resized: only the numbers of "
      "controls' x, y, cx, cy and of dialogs' sizes change. One line per change on standard error; exit status 1 "
      "when findings remain.");
  AddTranslationLoad(*command, options.load);
  AddLoadOptions(*command, options.load.loading);
  command->add_option("-o,--output", options.out, "Output file (default: standard output)");
  command->add_option("--max-growth", options.maxGrowth, "Percent a dialog may grow by (default 50)")
      ->check(CLI::Range(0.0, 1000.0));
  command->add_option("--dialog", options.dialog, "Only the dialog with this ID");
  command->add_flag("--dry-run", options.dryRun, "Report the changes and write nothing");
  command->add_option("--format", options.format, "text (default): path:line: note: ...; json: one object a line")
      ->check(CLI::IsMember({"text", "json"}));
  command->add_option("--font-map", options.fontMap, "Font table (JSON) instead of the built-in one");
  return command;
}

}  // namespace

int main(int argc, char** argv) {
  using namespace tamrel::tool;
  CLI::App app{"tamrel-rc: read, regenerate and count Windows resource scripts (.rc).\n"
               "Exit status: 0 all scripts loaded, 1 some failed, 2 usage error."};
  app.require_subcommand(1);
  app.set_version_flag("--version", "tamrel-rc " TAMREL_VERSION);

  if (!CheckCommand(argc, argv)) return 2;

  CommonOptions load;
  std::string loadJobs;
  CLI::App* loadCommand = app.add_subcommand(
      "load",
      "Load each script and print what it holds: lines read, whether it built, its encoding and the "
      "number of items in each collection, then a line with the files, loaded and failed counts. "
      "Failures and message boxes are reported on standard error, each naming its script.");
  AddCommonOptions(*loadCommand, load, loadJobs);
  AddCodePageOptions(*loadCommand, load.codePages);

  PrintOptions print;
  CLI::App* printCommand = app.add_subcommand(
      "print",
      "Load one script and write the script regenerated from its model to standard output: includes, "
      "icons, bitmaps, cursors, menus, accelerator tables, dialogs, #ifdef blocks and the string table, "
      "each under a banner. Nothing is written when the load fails (exit status 1).");
  printCommand->add_option("FILE", print.file, "Resource script; - reads standard input")->required();
  printCommand->add_option("--eol", print.eol, "Line ends: crlf (default) or lf")
      ->check(CLI::IsMember({"crlf", "lf"}));
  printCommand->add_option("--encoding", print.encoding,
                           "Output encoding: utf-8, utf-16le, or code-page (8-bit text in the code page in force at "
                           "each item's line); default: the encoding the script was read in")
      ->check(CLI::IsMember({"utf-8", "utf-16le", "code-page"}));
  AddCodePageOptions(*printCommand, print.codePages);
  printCommand->add_flag("-q,--quiet", print.quiet, "Draw no progress bar on standard error");
  AddLoadOptions(*printCommand, print.loading);

  CountOptions count;
  std::string countJobs;
  CLI::App* countCommand = app.add_subcommand(
      "count",
      "Load each script and count its translatable text: pieces of text (or words, with --words) of "
      "the whole document, of each dialog and menu and of the string table, and the totals of "
      "controls, shortcuts and menu items.");
  AddCommonOptions(*countCommand, count.common, countJobs);
  countCommand->add_flag("--words", count.words,
                         "Count only words: pieces that are not numbers and hold none of !@#$%^*[]<>");
  countCommand->add_option("--format", count.format,
                           "table (default) or tsv: one FILE<TAB>KIND<TAB>ID<TAB>VALUE line per value; a "
                           "script that fails gives FILE<TAB>failed<TAB><TAB>REASON; several scripts end with "
                           "TOTAL rows")
      ->check(CLI::IsMember({"table", "tsv"}));

  DumpOptions dump;
  CLI::App* dumpCommand = app.add_subcommand(
      "dump", "Load one script and print its whole model, every member of every object, as indented "
              "text or, with --json, as JSON (schema in the README).");
  dumpCommand->add_option("FILE", dump.file, "Resource script; - reads standard input")->required();
  dumpCommand->add_flag("--json", dump.json, "Print JSON instead of indented text");
  AddCodePageOptions(*dumpCommand, dump.codePages);
  dumpCommand->add_flag("-q,--quiet", dump.quiet, "Draw no progress bar on standard error");
  AddLoadOptions(*dumpCommand, dump.loading);

  ExtractCommandOptions extract;
  MergeCommandOptions merge;
  std::string mergeJobs;
  PseudoCommandOptions pseudo;
  CLI::App* extractCommand = AddExtractCommand(app, extract);
  CLI::App* mergeCommand = AddMergeCommand(app, merge, mergeJobs);
  CLI::App* pseudoCommand = AddPseudoCommand(app, pseudo);
  CheckOptions check;
  std::string checkJobs;
  CLI::App* checkCommand = AddCheckCommand(app, check, checkJobs);
  PreviewCommandOptions preview;
  CLI::App* previewCommand = AddPreviewCommand(app, preview);
  FitCommandOptions fit;
  CLI::App* fitCommand = AddFitCommand(app, fit);

  try {
    app.parse(argc, argv);
  } catch (const CLI::ParseError& e) {
    int code = app.exit(e);
    return code == 0 ? 0 : 2;
  }
  if (!ParseJobs(loadJobs, load.jobs) || !ParseJobs(countJobs, count.common.jobs) ||
      !ParseJobs(checkJobs, check.common.jobs) || !ParseJobs(mergeJobs, merge.jobs))
    return 2;
  // The commands that show what a script holds say what its model leaves unread.
  load.loading.noteUnread = print.loading.noteUnread = count.common.loading.noteUnread =
      extract.load.loading.noteUnread = true;
  try {
    int status = 2;
    if (*loadCommand) status = RunLoad(load);
    if (*printCommand) status = RunPrint(print);
    if (*countCommand) status = RunCount(count);
    if (*dumpCommand) status = RunDump(dump);
    if (*extractCommand) status = RunExtract(extract);
    if (*mergeCommand) status = RunMerge(merge);
    if (*pseudoCommand) status = RunPseudo(pseudo);
    if (*checkCommand) status = RunCheck(check);
    if (*previewCommand) status = RunPreview(preview);
    if (*fitCommand) status = RunFit(fit);
    CloseOut();
    return status;
  } catch (const WriteError& e) {
    std::fprintf(stderr, "tamrel-rc: write error: %s\n", e.what());
    return 1;
  }
}
