// The per-thread message-box hook in both its forms: with the line the reader reached, and
// the one-argument form library users already install.
#include <gtest/gtest.h>

#include "TestSupport.h"

namespace tamrel {
namespace {

const std::string kFontOutOfOrder =
    Crlf({"// c", "IDD_X DIALOG 0, 0, 10, 10", "STYLE WS_POPUP", "EXSTYLE 0", "FONT 8, \"A\"", "BEGIN", "END"});

TEST(HostHooksTest, MessageBoxCarriesTheLine) {
  std::vector<std::pair<std::string, int>> boxes;
  SetMessageBoxHook([&](std::string_view message, std::int32_t line) { boxes.emplace_back(message, line); });
  TempScript script(kFontOutOfOrder);
  clsRC rc;
  auto hosts = std::make_shared<HostObjects>();
  hosts->Add(std::make_shared<RecordingLog>(), "Log");
  EXPECT_FALSE(rc.Init(script.Path(), hosts, 2));
  SetMessageBoxHook(nullptr);
  ASSERT_EQ(boxes.size(), 1u);
  EXPECT_EQ(boxes[0].first, "Unable to process: IDD_X font information.");
  EXPECT_EQ(boxes[0].second, 4);
}

TEST(HostHooksTest, OneArgumentFormAndReset) {
  LoadText(kFontOutOfOrder);  // installs a one-argument hook, then {}
  testing::internal::CaptureStderr();
  ShowMessageBox("default", 3);
  EXPECT_EQ(testing::internal::GetCapturedStderr(), "default\n");
}

}  // namespace
}  // namespace tamrel
