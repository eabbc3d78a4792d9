// tamrel-rc pseudo: pseudo-translations merged in place.
#include "tamrel-rc/CommandPseudo.h"

#include "translation/PseudoTranslator.h"

namespace tamrel::tool {

int RunPseudo(const PseudoCommandOptions& options) {
  return WithLoadedScript(options.load, true, [&](const LoadResult& result, const std::string& bytes,
                                            const std::vector<TranslationUnit>& units, ProgressBoard& board) {
    MergeOptions merge;
    merge.encoding = options.encoding == "utf-8"   ? MergeEncoding::Utf8
                     : options.encoding.empty()    ? MergeEncoding::Same
                                                   : MergeEncoding::Utf16;
    merge.defaultCodePage = options.load.codePages.defaultCodePage;
    merge.ignorePragmas = options.load.codePages.ignorePragmas;
    PseudoTranslator pseudo(options.expand);
    const std::vector<std::string> translations = pseudo.TranslateAll(units, merge.encoding != MergeEncoding::Same);
    std::vector<CatalogEntry> entries;
    entries.reserve(units.size());
    for (std::size_t i = 0; i < units.size(); ++i)
      if (units[i].problem.empty()) entries.push_back({units[i].context, units[i].text, translations[i], false});
    return MergeAndWrite(result, bytes, units, entries, merge, options.out, options.load.loading, board);
  });
}

}  // namespace tamrel::tool
