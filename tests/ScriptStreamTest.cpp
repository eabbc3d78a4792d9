// The streaming writer: counts agree with what is written, a model the writer cannot write is
// refused before the first line, a failing stream or sink reaches the caller, and deep menus
// stream in constant extra memory. That Write gives exactly PrintLines' lines and source lines
// is checked on every golden script (ToolGoldenTest.cpp).
#include <gtest/gtest.h>
#include <malloc.h>

#include <sstream>
#include <streambuf>

#include "TestSupport.h"

namespace tamrel {
namespace {

using V = std::vector<std::string>;

clsStyle StyleOf(std::initializer_list<const char*> names) {
  clsStyle style;
  for (const char* name : names) style.Items.Add(name, std::string(name));
  return style;
}

clsControl ControlOf(const char* keyword, clsStyle style = {}) {
  clsControl control;
  control.ItemType = keyword;
  control.Text = "\"t\"";
  control.ID = "IDC_X";
  control.ControlType = "\"Button\"";
  control.Style = std::move(style);
  return control;
}

// LineCount counts without writing; it must give what PrintLines gives for every layout.
TEST(ScriptStreamTest, LineCountsAgreeWithTheWrittenLines) {
  const struct {
    const char* keyword;
    clsStyle style;
    int lines;
  } controls[] = {
      {"CONTROL", StyleOf({"WS_CHILD"}), 2}, {"CONTROL", {}, 2},           {"LTEXT", {}, 1},
      {"ICON", {}, 1},                       {"PUSHBUTTON", StyleOf({" "}), 1}, {"EDITTEXT", {}, 1},
      {"FROB", {}, 0},                       {"", {}, 0},
  };
  clsDialog dialog;
  for (const auto& c : controls) {
    clsControl control = ControlOf(c.keyword, c.style);
    EXPECT_EQ(control.LineCount(), c.lines) << c.keyword;
    EXPECT_EQ(control.PrintLines().Count(), c.lines) << c.keyword;
    dialog.Controls.Add(control);
  }
  for (const char* caption : {"", "   ", "\"x\""}) {
    dialog.Caption.Text = caption;
    for (clsStyle style : {clsStyle(), StyleOf({" "}), StyleOf({"A", "B"})}) {
      dialog.Style = style;
      EXPECT_EQ(dialog.LineCount(), dialog.PrintLines().Count()) << caption;
      EXPECT_EQ(style.LineCount(), style.PrintLines().Count());
    }
  }

  clsMenu menu;
  menu.ItemType = "MENU";
  clsMenu popup;
  popup.ItemType = "POPUP";
  popup.Items.Add(clsMenuItem{});
  popup.Items.Add(popup);  // a popup inside a popup
  menu.Items.Add(std::move(popup));
  menu.Items.Add(clsMenuItem{});
  EXPECT_EQ(menu.LineCount(), menu.PrintLines().Count());
  EXPECT_EQ(menu.LineCount(), 3 + 1 + 3 + 1 + 3 + 1);
}

// What would make the writer fail is found before the first line: Write reports it as
// PrintLines does and writes nothing. A style that is never written does not count.
TEST(ScriptStreamTest, FailureIsFoundBeforeAnythingIsWritten) {
  auto manyFlags = [] {
    clsStyle style;
    for (int i = 0; i < 32767; ++i) style.Items.Add("F" + std::to_string(i));
    return style;
  };
  const struct {
    const char* what;
    std::function<void(clsRC&)> damage;
    const char* report;  // empty: the script is written
  } cases[] = {
      {"32,767 includes",
       [](clsRC& rc) {
         for (int i = 0; i < 32767; ++i) rc.Includes.Add(clsInclude{});
       },
       "RCpl-01: Overflow (6)"},
      {"a written control style of 32,767 flags",
       [&](clsRC& rc) {
         clsDialog dialog;
         dialog.Controls.Add(ControlOf("PUSHBUTTON", manyFlags()));
         rc.Dialogs.Add(std::move(dialog));
       },
       "RCpl-06: Overflow (6)"},
      {"an LTEXT's unwritten style of 32,767 flags",
       [&](clsRC& rc) {
         clsDialog dialog;
         dialog.Controls.Add(ControlOf("LTEXT", manyFlags()));
         rc.Dialogs.Add(std::move(dialog));
       },
       ""},
      {"an #ifdef block of 32,767 lines",
       [](clsRC& rc) {
         LineCollection block;
         for (int i = 0; i < 32767; ++i) block.Add("x");
         rc.IfDef.Add(std::move(block));
       },
       "RCpl-07: Overflow (6)"},
      {"a string table of 32,767 lines",
       [](clsRC& rc) {
         for (int i = 0; i < 32764; ++i) rc.StringTable.Entries.Add(clsStringTableEntry{});
       },
       "RCpl-08: Overflow (6)"},
  };
  for (const auto& c : cases) {
    Loaded loaded = LoadText(Crlf({"#include \"a.h\""}));
    ASSERT_TRUE(loaded.result);
    clsRC& rc = *loaded.rc;
    c.damage(rc);
    std::int64_t written = 0;
    const bool ok = rc.Write([&](std::string_view, std::int32_t) { ++written; });
    if (*c.report == '\0') {
      EXPECT_TRUE(ok) << c.what;
      EXPECT_EQ(written, rc.LineCount()) << c.what;
      EXPECT_TRUE(loaded.log->entries.empty()) << c.what;
      continue;
    }
    EXPECT_FALSE(ok) << c.what;
    EXPECT_EQ(written, 0) << c.what;
    EXPECT_EQ(ErrorOf([&] { rc.LineCount(); }), err::Overflow) << c.what;
    std::ostringstream out;
    EXPECT_FALSE(rc.Write(out)) << c.what;
    EXPECT_TRUE(out.str().empty()) << c.what;
    ASSERT_EQ(loaded.log->entries.size(), 2u) << c.what;
    EXPECT_EQ(loaded.log->entries[0].message, c.report) << c.what;
    EXPECT_EQ(loaded.log->entries[1].message, c.report) << c.what;
    EXPECT_FALSE(loaded.log->entries[0].location.has_value()) << c.what;
  }
}

// Takes `room` bytes, then fails every write.
class FullBuffer : public std::streambuf {
 public:
  explicit FullBuffer(std::size_t room) : room_(room) {}
  std::string taken;

 protected:
  int_type overflow(int_type c) override {
    if (traits_type::eq_int_type(c, traits_type::eof())) return traits_type::not_eof(c);
    if (taken.size() >= room_) return traits_type::eof();
    taken.push_back(traits_type::to_char_type(c));
    return c;
  }

 private:
  std::size_t room_;
};

TEST(ScriptStreamTest, AFailingStreamOrSinkReachesTheCaller) {
  const clsRC rc;  // nine lines, about 200 bytes
  FullBuffer buffer(100);
  std::ostream out(&buffer);
  EXPECT_EQ(ErrorOf([&] { rc.Write(out, "\n"); }), err::ReadFailed);
  EXPECT_EQ(buffer.taken.size(), 100u);  // nothing written after the failure

  struct SinkFailed {};
  int calls = 0;
  EXPECT_THROW(rc.Write([&](std::string_view, std::int32_t) {
                 if (++calls == 3) throw SinkFailed{};
               }),
               SinkFailed);
  EXPECT_EQ(calls, 3);
}

// A menu nested 5,000 deep writes about 37 MB of tabs; streamed, the heap in use grows by no
// more than the one line being built (and the walk's stack), not by the text.
TEST(ScriptStreamTest, DeepMenuStreamsInConstantExtraMemory) {
  constexpr int kDepth = 5000;
  clsRC rc;
  {
    clsMenu root;
    root.ItemType = "MENU";
    root.ID = "IDR_M";
    clsMenu* at = &root;
    for (int i = 0; i < kDepth; ++i) {
      clsMenu popup;
      popup.ItemType = "POPUP";
      popup.Text = "\"P\"";
      at->Items.Add(std::move(popup));
      at = &at->Items.Item(at->Items.Count()).Popup();
    }
    at->Items.Add(clsMenuItem{});
    rc.Menus.Add(std::move(root));
  }
  const std::size_t before = mallinfo2().uordblks;
  std::size_t peak = before, bytes = 0, deepest = 0;
  std::int64_t lines = 0;
  ASSERT_TRUE(rc.Write([&](std::string_view text, std::int32_t) {
    bytes += text.size();
    deepest = std::max(deepest, text.find_first_not_of('\t'));
    if (++lines % 64 == 0) peak = std::max(peak, mallinfo2().uordblks);
  }));
  EXPECT_EQ(lines, rc.LineCount());
  EXPECT_EQ(deepest, std::size_t{kDepth} + 1);  // the menu item inside the deepest popup
  EXPECT_GT(bytes, std::size_t{30} << 20);
  EXPECT_LT(peak - before, std::size_t{1} << 20);
}

}  // namespace
}  // namespace tamrel
