// PO files through libgettextpo: no hand-written PO syntax anywhere.
#include "translation/PoCatalog.h"

#include <gettext-po.h>

#include <memory>
#include <stdexcept>
#include <type_traits>

namespace tamrel {
namespace {

// The messages libgettextpo reports go to the list of the thread's current call. The library
// calls a plain function without user data, so the list is reached through a thread-local
// pointer set for the length of one call.
thread_local std::vector<std::string>* t_errors = nullptr;

// Thrown from the handler on a fatal error, which libgettextpo requires never to return.
struct FatalPoError : std::runtime_error {
  using std::runtime_error::runtime_error;
};

std::string Where(const char* filename, size_t lineno, size_t column) {
  std::string where = filename ? filename : "";
  if (filename && lineno != static_cast<size_t>(-1) && lineno != 0) where.append(":").append(std::to_string(lineno));
  if (filename && column != static_cast<size_t>(-1) && column != 0) where.append(":").append(std::to_string(column));
  return where.empty() ? "" : where + ": ";
}

void Record(int severity, const char* filename, size_t lineno, size_t column, const char* text) {
  if (severity == PO_SEVERITY_WARNING) return;
  std::string message = Where(filename, lineno, column) + (text ? text : "");
  if (t_errors) t_errors->push_back(message);
  if (severity == PO_SEVERITY_FATAL_ERROR) throw FatalPoError(message);
}

void OnError(int severity, po_message_t, const char* filename, size_t lineno, size_t column, int, const char* text) {
  Record(severity, filename, lineno, column, text);
}

void OnError2(int severity, po_message_t, const char* filename1, size_t lineno1, size_t column1, int,
              const char* text1, po_message_t, const char* filename2, size_t lineno2, size_t column2, int,
              const char* text2) {
  const std::string joined = std::string(text1 ? text1 : "") + "; " + Where(filename2, lineno2, column2) + (text2 ? text2 : "");
  Record(severity, filename1, lineno1, column1, joined.c_str());
}

const po_xerror_handler kHandler{OnError, OnError2};

// Collects the reports of one libgettextpo call.
class ErrorScope {
 public:
  explicit ErrorScope(std::vector<std::string>& errors) : previous_(t_errors) { t_errors = &errors; }
  ~ErrorScope() { t_errors = previous_; }
  ErrorScope(const ErrorScope&) = delete;
  ErrorScope& operator=(const ErrorScope&) = delete;

 private:
  std::vector<std::string>* previous_;
};

// po_file_free leaves each message's context allocated (whether set here or read from a file);
// setting it to none frees it, so the contexts are released first.
struct FileDeleter {
  void operator()(po_file_t file) const {
    for (const char* const* domain = po_file_domains(file); domain && *domain; ++domain) {
      po_message_iterator_t iterator = po_message_iterator(file, *domain);
      while (po_message_t message = po_next_message(iterator)) po_message_set_msgctxt(message, nullptr);
      po_message_iterator_free(iterator);
    }
    po_file_free(file);
  }
};
using PoFile = std::unique_ptr<std::remove_pointer_t<po_file_t>, FileDeleter>;

struct IteratorDeleter {
  void operator()(po_message_iterator_t iterator) const { po_message_iterator_free(iterator); }
};
using PoIterator = std::unique_ptr<std::remove_pointer_t<po_message_iterator_t>, IteratorDeleter>;

// The header's fields, one a line: the script's name and the languages come from the command
// line and the file system, so their control characters and stray bytes are escaped.
std::string Header(const PoWriteOptions& options) {
  std::string header;
  header += "Project-Id-Version: " + (options.scriptName.empty() ? std::string("script") : PrintableText(options.scriptName)) + "\n";
  header += "Report-Msgid-Bugs-To: \n";
  header += "PO-Revision-Date: " + std::string(options.isTemplate ? "YEAR-MO-DA HO:MI+ZONE" : "2000-01-01 00:00+0000") + "\n";
  header += "Last-Translator: " + std::string(options.isTemplate ? "FULL NAME <EMAIL@ADDRESS>" : "none") + "\n";
  header += "Language-Team: " + std::string(options.isTemplate ? "LANGUAGE <LL@li.org>" : "none") + "\n";
  header += "Language: " + (options.isTemplate ? std::string() : PrintableText(options.targetLanguage)) + "\n";
  header += "MIME-Version: 1.0\n";
  header += "Content-Type: text/plain; charset=UTF-8\n";
  header += "Content-Transfer-Encoding: 8bit\n";
  if (!options.sourceLanguage.empty()) header += "X-Source-Language: " + PrintableText(options.sourceLanguage) + "\n";
  return header;
}

}  // namespace

std::vector<std::string> WritePoFile(const std::vector<TranslationUnit>& units, const std::vector<std::string>& targets,
                                     const PoWriteOptions& options, const std::string& path) {
  std::vector<std::string> errors =
      CheckCatalogText(units, targets);
  if (!errors.empty()) return errors;
  ErrorScope scope(errors);
  PoFile file(po_file_create());
  PoIterator iterator(po_message_iterator(file.get(), nullptr));
  po_message_t header = po_message_create();
  po_message_set_msgid(header, "");
  const std::string headerText = Header(options);
  po_message_set_msgstr(header, headerText.c_str());
  if (options.isTemplate) po_message_set_fuzzy(header, 1);
  po_message_insert(iterator.get(), header);
  const std::string reference = options.scriptName.empty() ? "script" : PrintableText(options.scriptName);
  for (std::size_t i = 0; i < units.size(); ++i) {
    const TranslationUnit& unit = units[i];
    if (!unit.problem.empty()) continue;
    po_message_t message = po_message_create();
    po_message_set_msgctxt(message, unit.context.c_str());
    po_message_set_msgid(message, unit.text.c_str());
    po_message_set_msgstr(message, i < targets.size() ? targets[i].c_str() : "");
    po_message_add_filepos(message, reference.c_str(), static_cast<size_t>(unit.line));
    const std::string description = unit.Description();
    po_message_set_extracted_comments(message, description.c_str());
    bool clean = false;
    if (!PrintfPlaceholders(unit.text, &clean).empty() && clean) po_message_set_format(message, "c-format", 1);
    po_message_insert(iterator.get(), message);
  }
  iterator.reset();
  try {
    if (po_file_write(file.get(), path.c_str(), &kHandler) == nullptr && errors.empty())
      errors.push_back(path + ": cannot be written");
  } catch (const FatalPoError&) {
  }
  return errors;
}

std::vector<CatalogEntry> ReadPoFile(const std::string& path, std::vector<std::string>& errors) {
  std::vector<CatalogEntry> entries;
  const std::size_t before = errors.size();
  ErrorScope scope(errors);
  PoFile file;
  try {
    file.reset(po_file_read(path.c_str(), &kHandler));
  } catch (const FatalPoError&) {
    return {};
  }
  if (!file) {
    if (errors.size() == before) errors.push_back(path + ": cannot be read");
    return {};
  }
  if (errors.size() != before) return {};
  for (const char* const* domain = po_file_domains(file.get()); domain && *domain; ++domain) {
    PoIterator iterator(po_message_iterator(file.get(), *domain));
    while (po_message_t message = po_next_message(iterator.get())) {
      const char* msgid = po_message_msgid(message);
      const char* msgctxt = po_message_msgctxt(message);
      if (po_message_is_obsolete(message) || (msgctxt == nullptr && msgid[0] == '\0')) continue;
      CatalogEntry entry;
      entry.context = msgctxt ? msgctxt : "";
      entry.source = msgid;
      entry.target = po_message_msgstr(message);
      entry.fuzzy = po_message_is_fuzzy(message) != 0;
      entries.push_back(std::move(entry));
    }
  }
  return entries;
}

}  // namespace tamrel
