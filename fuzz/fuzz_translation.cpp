// Fuzz target: the translation layer on any script that loads. Its units go out as a PO file
// and an XLIFF document and come back: both writers take every unit (each text, context and
// description is valid UTF-8), both readers give back each unit's context and text, merging the
// entries read back leaves the file byte for byte as it was, and the pseudo-translation merges
// without a crash. The first byte picks the default code page for lines no pragma covers (in
// the seeds an ASCII digit: 0 none, 1 1252, 2 932, 3 1251, 4 950, 5 UTF-8); the script follows.
#include <unistd.h>

#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "FuzzSupport.h"
#include "host/HostHooks.h"
#include "translation/PoCatalog.h"
#include "translation/PseudoTranslator.h"
#include "translation/TranslationMerger.h"
#include "translation/UnitExtractor.h"
#include "translation/XliffDocument.h"

namespace {

constexpr int kCodePages[] = {tamrel::kNoCodePage, 1252, 932, 1251, 950, 65001};

void Check(bool condition) {
  if (!condition) std::abort();
}

// The entries read back stand for the translatable units, in order.
void CheckEntries(const std::vector<tamrel::TranslationUnit>& units, const std::vector<tamrel::CatalogEntry>& entries) {
  std::size_t next = 0;
  for (const tamrel::TranslationUnit& unit : units) {
    if (!unit.problem.empty()) continue;
    Check(next < entries.size());
    Check(entries[next].context == unit.context && entries[next].source == unit.text);
    ++next;
  }
  Check(next == entries.size());
}

}  // namespace

// libgettextpo keeps a few bytes of every file it reads (the parser's file name and comments);
// the same suppressions as the sanitizer test suite's tests/lsan.supp.
extern "C" const char* __lsan_default_suppressions() {
  return "leak:libgettextpo.so\nleak:__vasprintf_internal\n";
}

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  if (size == 0) return 0;
  // The script and the PO file go through files: the loader and libgettextpo read files.
  static const tamrel::fuzz::ScratchFile script("translation", ".rc"), po("translation", ".po");
  const std::string& path = script.path;
  const std::string& poPath = po.path;
  const std::string_view bytes(reinterpret_cast<const char*>(data) + 1, size - 1);
  if (!script.Write(bytes)) return 0;
  tamrel::SetMessageBoxHook([](std::string_view) {});
  tamrel::clsRC rc;
  if (!rc.Init(path, std::make_shared<tamrel::HostObjects>(), 2)) return 0;

  tamrel::ExtractOptions extract;
  extract.defaultCodePage = kCodePages[data[0] % std::size(kCodePages)];
  const std::vector<tamrel::TranslationUnit> units = tamrel::ExtractUnits(rc, extract);

  std::vector<std::string> errors = tamrel::WritePoFile(units, {}, {false, "fuzz.rc", "en", "de"}, poPath);
  Check(errors.empty());
  std::vector<tamrel::CatalogEntry> fromPo = tamrel::ReadPoFile(poPath, errors);
  Check(errors.empty());
  CheckEntries(units, fromPo);

  const std::string xliff = tamrel::WriteXliff(units, {}, {"fuzz.rc", "en", "de"}, errors);
  Check(errors.empty());
  const std::vector<tamrel::CatalogEntry> fromXliff = tamrel::ReadXliff(xliff, "fuzz.xlf", errors);
  Check(errors.empty());
  CheckEntries(units, fromXliff);

  // Every unit "translated" to its own text: the same bytes.
  tamrel::MergeOptions merge;
  merge.defaultCodePage = extract.defaultCodePage;
  for (tamrel::CatalogEntry& entry : fromPo) entry.target = entry.source;
  const tamrel::MergeResult same = tamrel::ApplyTranslations(rc, bytes, units, fromPo, merge);
  Check(same.Ok() && same.unmatched == 0 && same.Bytes() == bytes);

  tamrel::PseudoTranslator pseudo(40);
  const std::vector<std::string> translations = pseudo.TranslateAll(units);
  std::vector<tamrel::CatalogEntry> entries;
  for (std::size_t i = 0; i < units.size(); ++i)
    if (units[i].problem.empty()) entries.push_back({units[i].context, units[i].text, translations[i], false});
  for (tamrel::MergeEncoding encoding : {tamrel::MergeEncoding::Same, tamrel::MergeEncoding::Utf16}) {
    merge.encoding = encoding;
    const tamrel::MergeResult pseudoResult = tamrel::ApplyTranslations(rc, bytes, units, entries, merge);
    if (pseudoResult.Ok()) (void)pseudoResult.Bytes();
  }
  return 0;
}
