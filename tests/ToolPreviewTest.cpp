// tamrel-rc preview: the page of the sample, a dialog chosen with --dialog and written with -o,
// findings carried onto the page (its errors are rows of tests/data/commands.txt).
#include <gtest/gtest.h>
#include <pugixml.hpp>

#include <filesystem>
#include <fstream>

#include "ToolSupport.h"

namespace tamrel {
namespace {

// A directory of its own for a test, removed with everything in it.
struct ScratchDir {
  std::filesystem::path path;
  explicit ScratchDir(const std::string& stem)
      : path(std::filesystem::temp_directory_path() / (stem + "_" + std::to_string(::getpid()))) {
    std::filesystem::remove_all(path);
    std::filesystem::create_directories(path);
  }
  ~ScratchDir() { std::filesystem::remove_all(path); }
  std::string Write(const std::string& name, const std::string& bytes) const {
    std::ofstream(path / name, std::ios::binary) << bytes;
    return (path / name).string();
  }
};

pugi::xml_document ParsePage(const std::string& page) {
  pugi::xml_document document;
  const pugi::xml_parse_result result = document.load_string(page.c_str(), pugi::parse_default | pugi::parse_doctype);
  EXPECT_TRUE(result) << result.description() << " at " << result.offset;
  return document;
}

TEST(ToolPreviewTest, SamplePageDrawsEveryDialog) {
  const ToolRun run = Tool("preview -q " + kSample);
  ASSERT_EQ(run.status, 0) << run.err;
  EXPECT_EQ(run.err, "");
  const pugi::xml_document page = ParsePage(run.out);
  for (const char* id : {"IDD_ABOUTBOX", "IDD_FIND", "IDD_OPTIONS"}) {
    const std::string section = std::string("//section[@id='dialog-") + id + "']";
    EXPECT_EQ(page.select_nodes((section + "/svg").c_str()).size(), 1u) << id;
    EXPECT_EQ(page.select_nodes((std::string("//nav//a[@href='#dialog-") + id + "']").c_str()).size(), 1u) << id;
  }
  // Every label of the sample is drawn once, measured, mnemonic markers removed: 3 captions,
  // 3 + 8 + 5 control texts.
  const pugi::xpath_node_set texts = page.select_nodes("//text[@data-width]");
  EXPECT_EQ(texts.size(), 19u);
  for (const pugi::xpath_node& text : texts) EXPECT_GT(text.node().attribute("data-width").as_double(), 0.0);
  EXPECT_FALSE(page.select_node("//section[@id='dialog-IDD_FIND']//text[.='Find what:']").node().empty());
  EXPECT_FALSE(page.select_node("//section[@id='dialog-IDD_OPTIONS']//rect[@class='button default']").node().empty());
}

TEST(ToolPreviewTest, OneDialogToAFileWithItsFindings) {
  const ScratchDir scratch("tamrel_preview");
  const std::filesystem::path& dir = scratch.path;
  const std::string script = scratch.Write("tight.rc",
             "IDD_TIGHT DIALOGEX 0, 0, 120, 40\n"
             "STYLE DS_MODALFRAME | WS_POPUP | WS_CAPTION | WS_SYSMENU\n"
             "CAPTION \"Tight\"\n"
             "FONT 8, \"MS Shell Dlg\"\n"
             "BEGIN\n"
             "    PUSHBUTTON      \"Alle Einstellungen zuruecksetzen\",IDC_RESET,5,20,40,14\n"
             "    DEFPUSHBUTTON   \"OK\",IDOK,65,20,50,14\n"
             "END\n"
             "IDD_OTHER DIALOGEX 0, 0, 60, 30\n"
             "STYLE WS_CHILD\n"
             "FONT 8, \"MS Shell Dlg\"\n"
             "BEGIN\n"
             "END\n");
  const std::string out = (dir / "tight.html").string();
  const ToolRun run = Tool("preview -q " + script + " --dialog idd_tight -o " + out);
  ASSERT_EQ(run.status, 0) << run.err;
  EXPECT_EQ(run.out, "");
  const pugi::xml_document page = ParsePage(ReadBytes(out));
  EXPECT_EQ(page.select_nodes("//section").size(), 1u);
  // The reset button overflows: outlined, its full extent shown, and listed with its line.
  const pugi::xml_node finding = page.select_node("//g[@class='finding']").node();
  ASSERT_FALSE(finding.empty());
  EXPECT_NE(std::string(finding.child("title").child_value()).find("IDC_RESET"), std::string::npos);
  EXPECT_FALSE(finding.find_child_by_attribute("rect", "class", "finding-extent").empty());
  const std::string item = page.select_node("//ol[@class='findings']/li").node().child_value();
  EXPECT_EQ(item.rfind("Line 6: ", 0), 0u) << item;
  EXPECT_EQ(std::distance(std::filesystem::directory_iterator(dir), std::filesystem::directory_iterator()), 2)
      << "no temporary file is left";
}

}  // namespace
}  // namespace tamrel
