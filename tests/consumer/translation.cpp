// A program outside the project using the translation component: extract a script's texts to
// a PO file, read it back with every text translated, merge it into the script and print the
// merged file. Arguments: SCRIPT PO-FILE.
#include <TamrelResourceFile/document/clsRC.h>
#include <TamrelResourceFile/translation/PoCatalog.h>
#include <TamrelResourceFile/translation/UnitExtractor.h>

#include <fstream>
#include <iostream>
#include <iterator>

int main(int argc, char** argv) {
  if (argc != 3) return 2;
  tamrel::clsRC rc;
  if (!rc.Init(argv[1], std::make_shared<tamrel::HostObjects>(), 2)) return 1;
  std::vector<tamrel::TranslationUnit> units = tamrel::ExtractUnits(rc);

  std::vector<std::string> targets;
  for (const tamrel::TranslationUnit& unit : units) targets.push_back("[" + unit.text + "]");
  tamrel::PoWriteOptions options;
  options.isTemplate = false;
  options.targetLanguage = "de";
  std::vector<std::string> errors = tamrel::WritePoFile(units, targets, options, argv[2]);
  std::vector<tamrel::CatalogEntry> entries = tamrel::ReadPoFile(argv[2], errors);
  for (const std::string& error : errors) std::cerr << error << '\n';
  if (!errors.empty()) return 1;

  std::ifstream in(argv[1], std::ios::binary);
  std::string bytes((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
  tamrel::MergeResult merged = tamrel::ApplyTranslations(rc, bytes, units, entries);
  for (const std::string& error : merged.errors) std::cerr << error << '\n';
  if (!merged.Ok()) return 1;
  std::cerr << units.size() << " units, " << entries.size() << " entries, " << merged.applied << " applied\n";
  std::cout << merged.Bytes();
  return merged.applied == static_cast<int>(units.size()) ? 0 : 1;
}
