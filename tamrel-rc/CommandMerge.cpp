// tamrel-rc merge: reads the translations, merges them in place and writes the script only
// when every translation could be applied.
#include "tamrel-rc/CommandMerge.h"

#include <filesystem>

#include "tamrel-rc/CommandFit.h"
#include "translation/PoCatalog.h"
#include "translation/XliffDocument.h"

namespace tamrel::tool {
namespace {

bool IsXliff(const std::string& path, const std::string& bytes) {
  const std::string extension = std::filesystem::path(path).extension().string();
  if (extension == ".xlf" || extension == ".xliff" || extension == ".xml") return true;
  if (extension == ".po" || extension == ".pot") return false;
  const std::size_t first = bytes.find_first_not_of(" \t\r\n\xEF\xBB\xBF");
  return first != std::string::npos && bytes[first] == '<';
}

}  // namespace

int RunMerge(const MergeCommandOptions& options) {
  return WithLoadedScript(options.load, true, [&](const LoadResult& result, const std::string& bytes,
                                            const std::vector<TranslationUnit>& units, ProgressBoard& board) {
    std::vector<std::string> errors;
    std::vector<CatalogEntry> entries;
    std::string translations;
    if (!ReadFileBytes(options.translations, translations)) {
      errors.push_back(options.translations + ": cannot be read");
    } else if (IsXliff(options.translations, translations)) {
      entries = ReadXliff(translations, options.translations, errors);
    } else {
      entries = ReadPoFile(options.translations, errors);
    }
    if (!errors.empty()) {
      errors.push_back("nothing written");
      ReportMessages(result.path, errors, "error", options.load.loading, board);
      return 1;
    }
    MergeOptions merge;
    merge.useFuzzy = options.useFuzzy;
    merge.force = options.force;
    merge.encoding = options.encoding == "utf-8"   ? MergeEncoding::Utf8
                     : options.encoding.empty()    ? MergeEncoding::Same
                                                   : MergeEncoding::Utf16;
    merge.defaultCodePage = options.load.codePages.defaultCodePage;
    merge.ignorePragmas = options.load.codePages.ignorePragmas;
    if (!options.fit)
      return MergeAndWrite(result, bytes, units, entries, merge, options.out, options.load.loading, board);
    FitCommandOptions fit;
    fit.load = options.load;
    fit.out = options.out;
    fit.maxGrowth = options.maxGrowth;
    return MergeAndWrite(result, bytes, units, entries, merge, options.out, options.load.loading, board,
                         [&](const std::string& merged) { return FitAndWrite(result.path, merged, fit, board); });
  });
}

}  // namespace tamrel::tool
