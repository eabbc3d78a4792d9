// Fitting dialogs: the hand-made dialogs of tests/data/layout/fit-cases.rc, each line marked with
// the numbers it must have after fitting, and every corpus script pseudo-translated and fitted
// (findings counted before and after, no two controls brought to overlap).
#include <gtest/gtest.h>

#include <cstdio>
#include <regex>
#include <set>

#include "TestSupport.h"
#include "layout/ScriptFitter.h"
#include "translation/PseudoTranslator.h"
#include "translation/TranslationMerger.h"
#include "translation/UnitExtractor.h"

namespace tamrel {
namespace {

std::string Numbers(int x, int y, int cx, int cy) {
  return std::to_string(x) + ", " + std::to_string(y) + ", " + std::to_string(cx) + ", " + std::to_string(cy);
}

// Every control's and dialog's numbers by script line.
std::map<int, std::string> Placements(const clsRC& rc) {
  std::map<int, std::string> out;
  for (const clsDialog& dialog : rc.Dialogs) {
    out[dialog.Line] = Numbers(dialog.Left, dialog.Top, dialog.Width, dialog.Height);
    for (const clsControl& control : dialog.Controls)
      out[control.Line] = Numbers(control.Left, control.Top, control.Width, control.Height);
  }
  return out;
}

ScriptFit Fit(const clsRC& rc, const std::string& bytes, FitOptions options = {}) {
  const CodePageMap codePages(rc.Lines, kNoCodePage, false);
  return FitScript(rc, bytes, FontMap::Default(), codePages, options);
}

// The statement's line of each of a dialog's pairs of overlapping controls (closed combo boxes).
std::set<std::pair<int, int>> OverlappingPairs(const clsDialog& dialog) {
  std::set<std::pair<int, int>> pairs;
  std::vector<const clsControl*> controls;
  for (const clsControl& control : dialog.Controls)
    if (control.Line != 0 && control.Width > 0 && control.Height > 0) controls.push_back(&control);
  auto bottom = [](const clsControl* c) {
    return c->Top + (c->ItemType == "COMBOBOX" ? std::min<int>(c->Height, 14) : int(c->Height));
  };
  for (std::size_t i = 0; i < controls.size(); ++i)
    for (std::size_t j = i + 1; j < controls.size(); ++j) {
      const clsControl* a = controls[i];
      const clsControl* b = controls[j];
      if (a->Left < b->Left + b->Width && b->Left < a->Left + a->Width && a->Top < bottom(b) && b->Top < bottom(a))
        pairs.emplace(a->Line, b->Line);
    }
  return pairs;
}

TEST(LayoutFit, HandMadeDialogsGetTheirMarkedNumbers) {
  const std::string bytes = ReadBytes(std::string(TAMREL_TEST_DATA) + "/layout/fit-cases.rc");
  Loaded before = LoadText(bytes, nullptr, Layout::Relaxed);
  ASSERT_TRUE(before.result);
  const ScriptFit fit = Fit(*before.rc, bytes);
  ASSERT_EQ(fit.error, "");
  Loaded after = LoadText(fit.bytes, nullptr, Layout::Relaxed);
  ASSERT_TRUE(after.result);
  const std::map<int, std::string> was = Placements(*before.rc);
  const std::map<int, std::string> now = Placements(*after.rc);
  std::set<int> stays;
  for (const FitFinding& finding : fit.remaining) stays.insert(finding.line);
  const std::regex marked(R"(^\s*// (fit: (.*)|stays)$)");
  for (const auto& [line, numbers] : was) {
    const std::string mark = line > 1 ? before.rc->Lines.Item(line - 1) : std::string();
    std::smatch match;
    const bool hasMark = std::regex_search(mark, match, marked);
    EXPECT_EQ(now.at(line), hasMark && match[2].matched ? match[2].str() : numbers) << "line " << line;
    EXPECT_EQ(stays.count(line), hasMark && !match[2].matched ? 1u : 0u) << "line " << line;
  }
  // Only the numbers changed.
  const std::regex digits("[0-9]+");
  EXPECT_EQ(std::regex_replace(fit.bytes, digits, "#"), std::regex_replace(bytes, digits, "#"));
}

TEST(LayoutFit, CorpusPseudoTranslatedFitsWithoutNewOverlaps) {
  int before = 0, after = 0, changes = 0, scripts = 0;
  for (const std::filesystem::path& path : CorpusScripts()) {
    SCOPED_TRACE(path.filename().string());
    const std::string bytes = ReadBytes(path);
    Loaded original = LoadText(bytes, nullptr, Layout::Relaxed);
    if (!original.result || original.rc->Dialogs.Count() == 0) continue;
    const std::vector<TranslationUnit> units = ExtractUnits(*original.rc);
    const std::vector<std::string> texts = PseudoTranslator(40).TranslateAll(units, false);
    std::vector<CatalogEntry> entries;
    for (std::size_t i = 0; i < units.size(); ++i)
      if (units[i].problem.empty()) entries.push_back({units[i].context, units[i].text, texts[i], false});
    const MergeResult merged = ApplyTranslations(*original.rc, bytes, units, entries);
    if (!merged.Ok()) continue;  // a text the script's code page cannot hold
    const std::string pseudo = merged.Bytes();
    Loaded translated = LoadText(pseudo, nullptr, Layout::Relaxed);
    ASSERT_TRUE(translated.result);
    const ScriptFit fit = Fit(*translated.rc, pseudo);
    ASSERT_EQ(fit.error, "");
    Loaded fitted = LoadText(fit.bytes, nullptr, Layout::Relaxed);
    ASSERT_TRUE(fitted.result);
    ASSERT_EQ(fitted.rc->Dialogs.Count(), translated.rc->Dialogs.Count());
    for (std::int32_t d = 1; d <= fitted.rc->Dialogs.Count(); ++d) {
      const std::set<std::pair<int, int>> was = OverlappingPairs(translated.rc->Dialogs.Item(d));
      for (const auto& pair : OverlappingPairs(fitted.rc->Dialogs.Item(d)))
        EXPECT_TRUE(was.count(pair)) << fitted.rc->Dialogs.Item(d).ID << " lines " << pair.first << ", " << pair.second;
    }
    ++scripts;
    before += fit.findingsBefore;
    after += static_cast<int>(fit.remaining.size());
    changes += static_cast<int>(fit.changes.size());
  }
  std::printf("fit over %d scripts: %d findings before, %d after, %d changes\n", scripts, before, after, changes);
  EXPECT_GT(scripts, 40);
  EXPECT_LT(after * 4, before);
}

}  // namespace
}  // namespace tamrel
