// Relaxed reading, one table of scripts: each tests/data/relaxed/NAME.rc read relaxed prints as
// NAME.printed, and that text reads back to itself; read exactly, it loads or fails as the first
// line of NAME.exact says, with the statements passed over ("KIND LINE", "resource" behind a
// resource) on the lines after it.
#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <sstream>

#include "TestSupport.h"

namespace tamrel {
namespace {

Loaded LoadWith(const std::string& bytes, Layout layout) { return LoadText(bytes, nullptr, layout); }

std::string Printed(const clsRC& rc) {
  std::string text;
  for (const std::string& line : rc.PrintLines()) text.append(line).append("\n");
  return text;
}

TEST(RelaxedReadingTest, ScriptsPrintAsExpectedAndReadBack) {
  const std::filesystem::path dir = std::filesystem::path(TAMREL_TEST_DATA) / "relaxed";
  int scripts = 0;
  for (const auto& entry : std::filesystem::directory_iterator(dir)) {
    if (entry.path().extension() != ".rc") continue;
    ++scripts;
    const std::filesystem::path path = entry.path();
    SCOPED_TRACE(path.filename().string());
    const std::string source = ReadBytes(path);

    Loaded relaxed = LoadWith(source, Layout::Relaxed);
    ASSERT_TRUE(relaxed.result) << (relaxed.log->entries.empty() ? "message box" : relaxed.log->entries[0].message);
    const std::string printed = Printed(*relaxed.rc);
    EXPECT_EQ(relaxed.rc->LineCount(), std::count(printed.begin(), printed.end(), '\n'));
    EXPECT_EQ(printed, ReadBytes(std::filesystem::path(path).replace_extension(".printed")));
    Loaded again = LoadWith(printed, Layout::Relaxed);
    ASSERT_TRUE(again.result);
    EXPECT_EQ(Printed(*again.rc), printed);

    Loaded exact = LoadWith(source, Layout::Exact);
    std::ostringstream found;
    found << (exact.result ? "loads" : "fails") << "\n";
    for (const clsRC::UnreadStatement& unread : exact.rc->Unread)
      found << unread.Kind << " " << unread.Line << (unread.Resource ? " resource" : "") << "\n";
    EXPECT_EQ(found.str(), ReadBytes(std::filesystem::path(path).replace_extension(".exact")));
    for (const clsDialog& dialog : exact.rc->Dialogs) EXPECT_FALSE(dialog.Relaxed);
  }
  EXPECT_GE(scripts, 4);
}

}  // namespace
}  // namespace tamrel
