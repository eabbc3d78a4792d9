// A load that fails always says why: every path on which Init returns false sends a report
// (with the line where reading stopped, when a reader stopped it) or shows a message. The
// paths that once ended silently are a block header not followed by BEGIN: a MENU or POPUP
// header, or a DESIGNINFO header, followed by a blank line (which is also what lines ended by
// LF CR give, each such end making an empty line) or by any other statement. The other failures
// of each reader are in its own test (MenuTest, DialogReaderTest, AcceleratorTest, ...).
#include <gtest/gtest.h>

#include "TestSupport.h"

namespace tamrel {
namespace {

TEST(LoadFailureTest, EveryFailedLoadSaysWhy) {
  const std::string begin = "BEGIN expected after the block header (1001)";
  struct Case {
    std::string script;
    std::string said;  // the first report "message @ location", or the message box
  };
  const Case cases[] = {
      {Crlf({"IDR_A MENU", "", "BEGIN", "END"}), "RCpM-04: " + begin + " @ 2:  "},
      {"IDR_A MENU\n\rBEGIN\n\rMENUITEM \"A\", ID_A\n\rEND\n\r", "RCpM-04: " + begin + " @ 2:  "},
      {Crlf({"IDR_A MENU", "BEGIN", "  POPUP \"&File\"", "", "  BEGIN", "  END", "END"}),
       "RCpM-04: " + begin + " @ 4:  "},
      {Crlf({"IDR_A MENU", "{", "}"}), "RCpM-04: " + begin + " @ 2:  {"},
      {Crlf({"G DESIGNINFO", "", "BEGIN", "END"}), "RCpDI-04: " + begin + " @ 2:  "},
      {"G DESIGNINFO DISCARDABLE\n\rBEGIN\n\rEND\n\r", "RCpDI-04: " + begin + " @ 2:  "},
      {Crlf({"IDR_A ACCELERATORS", "", "BEGIN", "END"}), "Unable to process accelerator section."},
      {Crlf({"STRINGTABLE", "", "BEGIN", "END"}), "Unable to process string table section."},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.script);
    Loaded loaded = LoadText(c.script);
    EXPECT_FALSE(loaded.result);
    ASSERT_EQ(loaded.log->entries.size() + loaded.messageBoxes.size(), 1u);
    std::string said = loaded.messageBoxes.empty()
                           ? loaded.log->entries[0].message + " @ " + loaded.log->entries[0].location.value_or("-")
                           : loaded.messageBoxes[0];
    EXPECT_EQ(said, c.said);
  }
}

}  // namespace
}  // namespace tamrel
