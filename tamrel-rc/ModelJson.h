// The whole model of a document (every member of every object, in declaration order) as a
// stream of values, written as JSON or as indented text. The walk keeps its own stack, so a
// menu nested thousands of levels deep dumps like any other; the output is written as it is
// made. The schema is in the README.
#pragma once

#include <string_view>
#include <vector>

#include "common/CodePage.h"
#include "document/clsRC.h"
#include "diagnostics/Diagnostics.h"
#include "tamrel-rc/ScriptText.h"

namespace tamrel::tool {

// Receives the model's values in order. Objects are never empty; arrays say whether they are.
class ModelSink {
 public:
  virtual ~ModelSink() = default;
  virtual void BeginObject() = 0;
  virtual void EndObject() = 0;
  virtual void BeginArray(bool empty) = 0;
  virtual void EndArray() = 0;
  virtual void Key(std::string_view key) = 0;
  // A text and the script line it was read from (0: made up; kNotScriptText: not script text).
  virtual void String(std::string_view text, int line) = 0;
  virtual void Int(int value) = 0;
  virtual void Bool(bool value) = 0;
  virtual void Null() = 0;
  // Why the script failed to load, or nullptr when it loaded.
  virtual void Error(const Diagnostic* error) = 0;
};

// Sends the model, with the code page of each stretch of lines and why the script failed to
// load (`error`, nullptr when it loaded), to the sink.
void WriteModel(const clsRC& rc, const std::vector<CodePageRegion>& codePages, const Diagnostic* error,
                ModelSink& sink);

// Writes the model to standard output as JSON (texts converted to UTF-8 by the code page of
// their line). Every text is converted before anything is written, so a ConversionFailure
// leaves standard output untouched. A failure to load is carried under "Error" as the same
// object that --diagnostics json writes.
void DumpJson(const clsRC& rc, ScriptText& text, const Diagnostic* error);

// Writes the model to standard output as "Key: value" lines, nested objects and arrays
// indented by two blanks, array members marked "- " on their first line. Texts are written as
// they are held, without quoting, escapes or conversion.
void DumpText(const clsRC& rc, ScriptText& text, const Diagnostic* error);

}  // namespace tamrel::tool
