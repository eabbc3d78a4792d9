// Converting model texts to and from Python's str through the code page of their line.
#include "python/ItemText.h"

#include <stdexcept>

#include "translation/RcEscapes.h"

namespace tamrel::python {
namespace {

bool IsLiteral(std::string_view written) {
  if (written.starts_with("L\"")) written.remove_prefix(1);
  return written.size() >= 2 && written.front() == '"' && written.back() == '"';
}

[[noreturn]] void Refuse(int line, const std::string& why) {
  throw std::invalid_argument(line > 0 ? "line " + std::to_string(line) + ": " + why : why);
}

}  // namespace

std::string DecodeField(const ModuleDocument& document, int line, std::string_view bytes) {
  CodePageConverter converter;
  std::string text;
  if (std::optional<ConversionError> error = converter.ToUtf8(bytes, document.CodePageAt(line), text))
    Refuse(line, error->Describe());
  return text;
}

std::string DecodeLiteralText(const ModuleDocument& document, int line, std::string_view written) {
  if (!IsLiteral(written)) return DecodeField(document, line, written);
  CodePageConverter converter;
  std::string text;
  if (std::optional<LiteralProblem> problem = DecodeLiteral(written, document.CodePageAt(line), converter, text))
    Refuse(line, problem->description);
  return text;
}

std::string EncodeLiteralText(const ModuleDocument& document, int line, std::string_view text,
                              std::string_view likeWritten) {
  CodePageConverter converter;
  std::string literal;
  if (std::optional<ConversionError> error =
          EncodeLiteral(text, likeWritten.starts_with("L\""), document.CodePageAt(line), converter, literal))
    Refuse(line, error->Describe());
  return literal;
}

}  // namespace tamrel::python
