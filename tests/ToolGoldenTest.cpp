// Golden files, where adding a case adds data and no code; TAMREL_UPDATE_GOLDEN=1 rewrites them
// from the current behaviour (review the diff before committing it).
//
// Scripts: every tests/data/golden/NAME.rc is loaded and what came of it is compared with
// NAME.txt: the load's result, its reports (with location) and message boxes, the progress
// calls, the word counts, the script written back (streamed, each line with the script line it
// came from), whether the written script loads and writes the same lines again (a fixed point
// of the writer), what `tamrel-rc load --strict` says and the model `tamrel-rc dump` (relaxed) shows. PrintLines,
// LineCount, writing to a stream and each item's own PrintLines must agree with the streamed
// lines.
//
// Commands: tests/data/commands.txt is a transcript, one table of what tamrel-rc tells its user.
// Each "$ COMMAND" line (run by the shell in tests/data) is followed by its standard output
// ("> " lines), its standard error ("! " lines) and its exit status ("= N").
#include <gtest/gtest.h>

#include "ToolSupport.h"

namespace tamrel {
namespace {

const std::filesystem::path kData = TAMREL_TEST_DATA;
const bool kUpdate = std::getenv("TAMREL_UPDATE_GOLDEN") != nullptr;

// Compares a golden file with what it should hold now, or rewrites it.
void ExpectGolden(const std::filesystem::path& path, const std::string& actual) {
  if (kUpdate) std::ofstream(path, std::ios::binary) << actual;
  EXPECT_EQ(actual, ReadBytes(path)) << path;
}

std::string Outcome(const std::filesystem::path& script) {
  auto form = std::make_shared<RecordingForm>();
  Loaded loaded = LoadText(ReadBytes(script), form);
  const clsRC& rc = *loaded.rc;
  std::string text = "load: " + std::to_string(loaded.result) + "\n";
  for (const LogEntry& e : loaded.log->entries) text += "report: " + e.message + " @ " + e.location.value_or("-") + "\n";
  for (const std::string& box : loaded.messageBoxes) text += "message: " + box + "\n";
  text += "progress:";
  for (const std::string& call : form->calls) text += " " + call;
  text += "\n";
  if (loaded.result) {
    text += "words: " + std::to_string(rc.DisplayWordCount(0)) + " pieces, " + std::to_string(rc.DisplayWordCount(1)) +
            " words\n=== written (the script line each line came from, 0 for none)\n";
    std::string written;
    std::vector<std::string> lines;
    std::vector<Int16> sources, printedSources;
    EXPECT_TRUE(rc.Write([&](std::string_view line, std::int32_t source) {
      text += std::to_string(source) + "| " + std::string(line) + "\n";
      written.append(line).append("\r\n");
      lines.emplace_back(line);
      sources.push_back(static_cast<std::int16_t>(source));
    }, ""));
    EXPECT_EQ(rc.LineCount(), static_cast<std::int64_t>(lines.size())) << script;
    EXPECT_EQ(ToVector(rc.PrintLines(printedSources)), lines) << script;
    EXPECT_EQ(printedSources, sources) << script;
    std::ostringstream stream;
    EXPECT_TRUE(rc.Write(stream));
    EXPECT_EQ(stream.str(), written) << script;
    // Each item's own PrintLines gives the lines the document writes for it.
    auto writtenAsOwn = [&](const auto& items) {
      for (const auto& item : items) {
        const LineCollection own = item.PrintLines();
        EXPECT_NE(std::search(lines.begin(), lines.end(), own.begin(), own.end()), lines.end()) << script;
      }
    };
    writtenAsOwn(rc.Includes), writtenAsOwn(rc.Icons), writtenAsOwn(rc.Bitmaps), writtenAsOwn(rc.Cursors);
    writtenAsOwn(rc.Menus), writtenAsOwn(rc.Accelerators), writtenAsOwn(rc.Dialogs);
    Loaded again = LoadText(written);
    text += std::string("written again: ") +
            (!again.result || !again.log->entries.empty() ? "fails to load"
             : ToVector(again.rc->PrintLines()) == lines ? "the same lines"
                                                          : "other lines") + "\n";
  }
  const std::string run = "cd '" + script.parent_path().string() + "' && " + TAMREL_RC + " ";
  const std::string name = script.filename().string();
  ToolRun load = Shell(run + "load -q --strict " + name);
  text += "=== tamrel-rc load --strict: " + std::to_string(load.status) + "\n" + load.err;
  return text + "=== tamrel-rc dump\n" + Shell(run + "dump -q " + name).out;
}

TEST(GoldenTest, ScriptsGiveTheirRecordedOutcome) {
  int cases = 0;
  for (const auto& entry : std::filesystem::directory_iterator(kData / "golden")) {
    if (entry.path().extension() != ".rc") continue;
    ++cases;
    std::filesystem::path expected = entry.path();
    ExpectGolden(expected.replace_extension(".txt"), Outcome(entry.path()));
  }
  EXPECT_GT(cases, 50);
}

// One command's transcript: its outputs line by line, then its exit status.
std::string Transcript(std::string command) {
  command += ' ';
  for (std::size_t at = 0; (at = command.find("tamrel-rc ", at)) != std::string::npos; at += std::strlen(TAMREL_RC))
    command.replace(at, 9, TAMREL_RC);
  const ToolRun run = Shell("cd '" + kData.string() + "' && { " + command + "\n}");
  std::string text;
  for (const auto& [output, mark] : {std::pair{run.out, "> "}, std::pair{run.err, "! "}}) {
    for (std::size_t start = 0; start < output.size();) {
      std::size_t end = output.find('\n', start);
      text += mark + output.substr(start, end - start) + (end == std::string::npos ? "\n\\ no newline\n" : "\n");
      start = end == std::string::npos ? output.size() : end + 1;
    }
  }
  return text + "= " + std::to_string(run.status) + "\n";
}

TEST(GoldenTest, CommandsGiveTheirRecordedTranscript) {
  const std::filesystem::path path = kData / "commands.txt";
  std::istringstream in(ReadBytes(path));
  std::string actual;
  int commands = 0;
  for (std::string line; std::getline(in, line);) {
    if (line.starts_with("$ ")) {
      actual += line + "\n" + Transcript(line.substr(2));
      ++commands;
    } else if (line.empty() || line.starts_with("#")) {
      actual += line + "\n";
    }
  }
  ExpectGolden(path, actual);
  EXPECT_GT(commands, 0);
}

}  // namespace
}  // namespace tamrel
