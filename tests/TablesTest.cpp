// Functions of a text or a few tokens, each against its table in tests/data/tables.json: every
// row is the arguments and then the expected result. Adding a case adds a row.
#include <gtest/gtest.h>

#include <functional>
#include <map>
#include <nlohmann/json.hpp>

#include "TestSupport.h"
#include "common/CodePage.h"
#include "common/Numbers.h"
#include "common/Utf8Text.h"
#include "common/Variant.h"
#include "common/modCommonTools.h"
#include "layout/DialogLayout.h"
#include "layout/TextMeasurer.h"
#include "styles/clsStyle.h"

namespace tamrel {
namespace {

using nlohmann::json;

Tokens MakeTokens(const json& texts) {
  Tokens tokens;
  for (const json& text : texts) tokens.Add(text.get<std::string>());
  return tokens;
}

json ErrorOr(auto&& call) {
  try {
    return call();
  } catch (const RCError& e) {
    return "error " + std::to_string(e.Number());
  }
}

// The control kind and alignment of the only control of a dialog.
json KindOf(const std::string& statement) {
  static const char* const kKinds[] = {"PushButton", "DefPushButton", "CheckBox", "RadioButton", "GroupBox", "Static",
                                       "Edit",       "ListBox",       "ComboBox", "Icon",        "ScrollBar", "Other"};
  static const char* const kAligns[] = {"Left", "Center", "Right"};
  Loaded loaded = LoadText(Crlf({"IDD_T DIALOG 0, 0, 200, 100", "STYLE WS_POPUP", "FONT 8, \"MS Shell Dlg\"", "BEGIN",
                                 statement, "END"}));
  if (!loaded.result || loaded.rc->Dialogs.Item(1).Controls.Count() != 1) return "not one control";
  TextMeasurer measurer;
  DialogLayout layout = DialogLayouter(FontMap::Default(), measurer).Layout(*loaded.rc, loaded.rc->Dialogs.Item(1));
  return {kKinds[static_cast<int>(layout.controls[0].kind)], kAligns[static_cast<int>(layout.controls[0].align)]};
}

const std::map<std::string, std::function<json(const json&)>> kFunctions = {
    {"TrimWhite", [](const json& a) { return clsRC::TrimWhite(a[0].get<std::string>()); }},
    {"ParseLine",
     [](const json& a) { return ToVector(clsRC().ParseLine(a[0].get<std::string>(), a[1].get<std::string>()[0])); }},
    {"SplitWords", [](const json& a) { return ToVector(SplitWords(a[0].get<std::string>())); }},
    {"IsWord", [](const json& a) { return IsWord(a[0].get<std::string>()); }},
    {"ReadsAsNumber", [](const json& a) { return ReadsAsNumber(a[0].get<std::string>()); }},
    {"LeadingNumber", [](const json& a) { return LeadingNumber(a[0].get<std::string>()); }},
    // The operation as a Variant: null for the missing argument, a number or a text.
    {"ToOperationCode",
     [](const json& a) {
       const Variant operation = a[0].is_null()             ? Variant()
                                 : a[0].is_number_integer() ? Variant(a[0].get<int>())
                                 : a[0].is_number()         ? Variant(a[0].get<double>())
                                                            : Variant(a[0].get<std::string>());
       return ErrorOr([&] { return json(int(ToOperationCode(operation))); });
     }},
    {"ToInt16",
     [](const json& a) { return ErrorOr([&] { return json(int(ToInt16(std::string_view(a[0].get<std::string>())))); }); }},
    {"DialogNumber",
     [](const json& a) {
       clsDialog dialog;
       dialog.ID = a[0].get<std::string>();
       return dialog.DialogNumber().IsText() ? json(dialog.DialogNumber().TextValue()) : json("not text");
     }},
    {"StripMnemonic",
     [](const json& a) {
       char32_t mnemonic = 1;
       std::string shown = StripMnemonic(a[0].get<std::string>(), mnemonic), key;
       if (mnemonic != 0) AppendUtf8(mnemonic, key);
       return json{shown, key};
     }},
    {"CodePagePragma",
     [](const json& a) -> json {
       std::optional<int> page = ParseCodePagePragma(a[0].get<std::string>());
       if (!page) return nullptr;
       return *page == kDefaultPragma ? json("default") : *page == kUnreadableCodePage ? json("unreadable") : json(*page);
     }},
    {"FindKeyWord",
     [](const json& a) {
       clsRC rc;
       return int(DocumentTestPeer::FindKeyWord(rc, MakeTokens(a[0])));
     }},
    {"ControlKind", [](const json& a) { return KindOf(a[0].get<std::string>()); }},
    // The flags a style holds after the tokens are added, and the error that stopped them (0: none).
    {"AddStyles",
     [](const json& a) {
       clsStyle style;
       int error = 0;
       try {
         style.AddStyles(MakeTokens(a[0]));
       } catch (const RCError& e) {
         error = e.Number();
       }
       return json{ToVector(style.Items), error};
     }},
    // The STYLE line of flags set directly, as a host may.
    {"StyleLines",
     [](const json& a) {
       clsStyle style;
       for (const json& item : a[0]) style.Items.Add(item.get<std::string>(), item.get<std::string>());
       return ToVector(style.PrintLines());
     }},
};

TEST(TablesTest, EveryRowGivesItsResult) {
  const json tables = json::parse(ReadBytes(std::filesystem::path(TAMREL_TEST_DATA) / "tables.json"));
  for (const auto& [name, rows] : tables.items()) {
    ASSERT_TRUE(kFunctions.contains(name)) << name;
    for (const json& row : rows) {
      json arguments = row;
      arguments.erase(arguments.size() - 1);
      EXPECT_EQ(kFunctions.at(name)(arguments), row.back()) << name << " " << row.dump();
    }
  }
}

}  // namespace
}  // namespace tamrel
