// tamrel-rc merge: reads the translations, merges them in place and writes the script only
// when every translation could be applied. With --po-dir the script is loaded once and merged
// with each catalog of the folder on worker threads, which share the document read-only.
#include "tamrel-rc/CommandMerge.h"

#include <algorithm>
#include <atomic>
#include <cctype>
#include <cmath>
#include <cstdio>
#include <filesystem>
#include <mutex>
#include <thread>
#include <unordered_map>

#include "tamrel-rc/CommandFit.h"
#include "tamrel-rc/Output.h"
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

// `poReading` serialises the gettext PO reader, which keeps state of its own while it reads.
std::vector<CatalogEntry> ReadCatalog(const std::string& path, std::vector<std::string>& errors, std::mutex& poReading) {
  std::string translations;
  if (!ReadFileBytes(path, translations)) {
    errors.push_back(path + ": cannot be read");
    return {};
  }
  if (IsXliff(path, translations)) return ReadXliff(translations, path, errors);
  std::lock_guard lock(poReading);
  return ReadPoFile(path, errors);
}

// How much of the script a catalog translates: each unit counted once, by its context.
struct Coverage {
  int translated = 0;
  int fuzzy = 0;
  int untranslated = 0;

  // Percent of the units with a translation that is applied.
  double Percent(bool useFuzzy) const {
    const int total = translated + fuzzy + untranslated;
    return total == 0 ? 100.0 : 100.0 * (translated + (useFuzzy ? fuzzy : 0)) / total;
  }
};

Coverage CoverageOf(const std::vector<TranslationUnit>& units, const std::vector<CatalogEntry>& entries) {
  std::unordered_map<std::string_view, const CatalogEntry*> byContext;
  for (const CatalogEntry& entry : entries)
    if (!entry.target.empty()) byContext.emplace(entry.context, &entry);
  Coverage coverage;
  for (const TranslationUnit& unit : units) {
    auto found = byContext.find(unit.context);
    if (found == byContext.end()) ++coverage.untranslated;
    else if (found->second->fuzzy) ++coverage.fuzzy;
    else ++coverage.translated;
  }
  return coverage;
}

std::string PercentText(double percent) {
  char text[32];
  std::snprintf(text, sizeof text, "%.0f%%", std::floor(percent));
  return text;
}

// The language --language names, or a message why there is none.
const LanguageInfo* TargetLanguage(const std::string& text, std::string& problem) {
  const LanguageTable& table = LanguageTable::Default();
  if (const LanguageInfo* found = table.Find(text)) return found;
  problem = "unknown language '" + text + "'";
  std::string like;
  for (const std::string& tag : table.TagsLike(text)) like.append(like.empty() ? "" : ", ").append(tag);
  if (!like.empty()) problem += " (known: " + like + ")";
  else problem += " (a locale tag such as de-DE, or LANG_GERMAN, SUBLANG_GERMAN)";
  return nullptr;
}

MergeOptions MergeSettings(const MergeCommandOptions& options) {
  MergeOptions merge;
  merge.useFuzzy = options.useFuzzy;
  merge.force = options.force;
  merge.encoding = options.encoding == "utf-8"   ? MergeEncoding::Utf8
                   : options.encoding.empty()    ? MergeEncoding::Same
                                                 : MergeEncoding::Utf16;
  merge.defaultCodePage = options.load.codePages.defaultCodePage;
  merge.ignorePragmas = options.load.codePages.ignorePragmas;
  return merge;
}

// One language of a --po-dir run.
struct LanguageRun {
  std::string catalog;  // the catalog's path
  std::string tag;      // its file name without the extension
  std::string out;
  Coverage coverage;
  bool read = false;
  enum class Result { Written, Skipped, Failed } result = Result::Failed;
  std::string note;  // why skipped
  bool duplicate = false;  // another catalog writes the same file: not merged
  MergeReport report;
};

void MergeOne(const LoadResult& loaded, const std::string& bytes, const std::vector<TranslationUnit>& units,
              const MergeCommandOptions& options, std::mutex& poReading, LanguageRun& run) {
  std::string problem;
  const LanguageInfo* language = TargetLanguage(run.tag, problem);
  if (language == nullptr) {
    run.report.errors.push_back(problem + ": the file name must be a locale tag");
    return;
  }
  const std::vector<CatalogEntry> entries = ReadCatalog(run.catalog, run.report.errors, poReading);
  if (!run.report.errors.empty()) return;
  run.read = true;
  run.coverage = CoverageOf(units, entries);
  const double percent = run.coverage.Percent(options.useFuzzy);
  if (percent < options.threshold) {
    run.result = LanguageRun::Result::Skipped;
    run.note = PercentText(percent) + " translated, below " + PercentText(options.threshold);
    return;
  }
  std::error_code error;
  const std::filesystem::path parent = std::filesystem::path(run.out).parent_path();
  if (!parent.empty()) std::filesystem::create_directories(parent, error);
  MergeOptions merge = MergeSettings(options);
  merge.language = *language;
  run.report = MergeToFile(*loaded.rc, bytes, units, entries, merge, run.out);
  if (run.report.written) run.result = LanguageRun::Result::Written;
}

// The catalogs of a folder: its *.po, *.xlf and *.xliff files in name order.
std::vector<std::filesystem::path> CatalogsIn(const std::string& folder, std::string& problem) {
  std::vector<std::filesystem::path> found;
  std::error_code error;
  for (std::filesystem::directory_iterator it(folder, error), end; !error && it != end; it.increment(error)) {
    std::string extension = it->path().extension().string();
    std::transform(extension.begin(), extension.end(), extension.begin(),
                   [](unsigned char c) { return static_cast<char>(std::tolower(c)); });
    if ((extension == ".po" || extension == ".xlf" || extension == ".xliff") && it->is_regular_file(error))
      found.push_back(it->path());
  }
  if (error) problem = folder + ": cannot be read: " + error.message();
  else if (found.empty()) problem = folder + ": holds no .po, .xlf or .xliff file";
  std::sort(found.begin(), found.end());
  return found;
}

std::string Table(const std::vector<LanguageRun>& runs) {
  std::vector<std::vector<std::string>> rows = {{"language", "translated", "fuzzy", "untranslated", "result"}};
  for (const LanguageRun& run : runs) {
    const auto number = [&run](int value) { return run.read ? std::to_string(value) : std::string("-"); };
    rows.push_back({run.tag, number(run.coverage.translated), number(run.coverage.fuzzy),
                    number(run.coverage.untranslated),
                    run.result == LanguageRun::Result::Written   ? "written " + run.out
                    : run.result == LanguageRun::Result::Skipped ? "skipped: " + run.note
                                                                 : std::string("failed")});
  }
  std::vector<std::size_t> widths(5, 0);
  for (const auto& row : rows)
    for (std::size_t c = 0; c < row.size(); ++c) widths[c] = std::max(widths[c], row[c].size());
  std::string text;
  for (const auto& row : rows) {
    for (std::size_t c = 0; c < row.size(); ++c) {
      const std::size_t pad = widths[c] - row[c].size();
      if (c >= 1 && c <= 3) text.append(pad, ' ').append(row[c]);  // counts to the right
      else text.append(row[c]).append(c + 1 < row.size() ? pad : 0, ' ');
      text.append(c + 1 < row.size() ? "  " : "\n");
    }
  }
  return text;
}

int RunMergeMany(const MergeCommandOptions& options) {
  std::string problem;
  const std::vector<std::filesystem::path> catalogs = CatalogsIn(options.poDir, problem);
  if (!problem.empty()) {
    std::fprintf(stderr, "tamrel-rc: %s\n", problem.c_str());
    return 1;
  }
  return WithLoadedScript(options.load, true, [&](const LoadResult& loaded, const std::string& bytes,
                                                  const std::vector<TranslationUnit>& units, ProgressBoard& board) {
    std::vector<LanguageRun> runs(catalogs.size());
    for (std::size_t i = 0; i < catalogs.size(); ++i) {
      runs[i].catalog = catalogs[i].string();
      runs[i].tag = catalogs[i].stem().string();
      runs[i].out = options.out;
      for (std::size_t at = runs[i].out.find("{lang}"); at != std::string::npos; at = runs[i].out.find("{lang}", at))
        runs[i].out.replace(at, 6, runs[i].tag);
    }
    // Two catalogs of one name (de.po and de.xlf) would write the same file at once.
    std::unordered_map<std::string, const LanguageRun*> byOut;
    for (LanguageRun& run : runs)
      if (auto [first, added] = byOut.emplace(run.out, &run); !added) {
        run.report.errors.push_back("writes " + run.out + " as " + first->second->catalog + " does; not merged");
        run.duplicate = true;
      }
    unsigned jobs = options.jobs != 0 ? options.jobs : std::max(1u, std::thread::hardware_concurrency());
    jobs = std::min<unsigned>(jobs, static_cast<unsigned>(runs.size()));
    board.SetSlots(jobs);
    std::mutex poReading;
    std::atomic<std::size_t> next{0};
    std::atomic<std::size_t> done{0};
    auto work = [&](unsigned slot) {
      for (std::size_t i = next++; i < runs.size(); i = next++) {
        if (runs[i].duplicate) continue;
        board.Update(slot, "merge " + runs[i].tag + " (" + std::to_string(done.load() + 1) + "/" +
                               std::to_string(runs.size()) + ")", false);
        MergeOne(loaded, bytes, units, options, poReading, runs[i]);
        ++done;
      }
      board.Update(slot, std::string(), true);
    };
    std::vector<std::thread> threads;
    for (unsigned slot = 1; slot < jobs; ++slot) threads.emplace_back(work, slot);
    work(0);
    for (std::thread& thread : threads) thread.join();
    board.Suspend();

    bool failed = false;
    for (const LanguageRun& run : runs) {
      ReportMessages(run.catalog, run.report.warnings, "warning", options.load.loading, board);
      ReportMessages(run.catalog, run.report.errors, "error", options.load.loading, board);
      if (run.result == LanguageRun::Result::Skipped)
        ReportMessages(run.catalog, {run.note + "; " + run.out + " not written"}, "note", options.load.loading, board);
      failed = failed || run.result == LanguageRun::Result::Failed;
    }
    WriteOut(Table(runs));
    return failed ? 1 : 0;
  });
}

}  // namespace

int RunMerge(const MergeCommandOptions& options) {
  if (!options.poDir.empty()) {
    if (!options.translations.empty() || !options.language.empty() || options.fit ||
        options.out.find("{lang}") == std::string::npos) {
      std::fprintf(stderr, "tamrel-rc: merge --po-dir takes no TRANSLATIONS file and no --language (each file's "
                           "name is its locale tag), nor --fit (run fit on each script), and -o must name each "
                           "script with {lang}\n");
      return 2;
    }
    return RunMergeMany(options);
  }
  if (options.translations.empty()) {
    std::fprintf(stderr, "tamrel-rc: merge needs a TRANSLATIONS file or --po-dir\n");
    return 2;
  }
  MergeOptions merge = MergeSettings(options);
  if (!options.language.empty()) {
    std::string problem;
    const LanguageInfo* language = TargetLanguage(options.language, problem);
    if (language == nullptr) {
      std::fprintf(stderr, "tamrel-rc: --language: %s\n", problem.c_str());
      return 2;
    }
    merge.language = *language;
  }
  return WithLoadedScript(options.load, true, [&](const LoadResult& result, const std::string& bytes,
                                            const std::vector<TranslationUnit>& units, ProgressBoard& board) {
    std::vector<std::string> errors;
    std::mutex poReading;
    const std::vector<CatalogEntry> entries = ReadCatalog(options.translations, errors, poReading);
    if (!errors.empty()) {
      errors.push_back("nothing written");
      ReportMessages(result.path, errors, "error", options.load.loading, board);
      return 1;
    }
    if (options.threshold > 0) {
      const double percent = CoverageOf(units, entries).Percent(options.useFuzzy);
      if (percent < options.threshold) {
        ReportMessages(options.translations,
                       {PercentText(percent) + " translated, below " + PercentText(options.threshold) +
                        "; nothing written"},
                       "note", options.load.loading, board);
        return 0;
      }
    }
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
