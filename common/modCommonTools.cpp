// Error message format and word splitting helpers.
#include "common/modCommonTools.h"

#include "common/Numbers.h"
#include "host/HostHooks.h"

namespace tamrel {

std::string FormatErrorMessage(std::string_view procedure, std::string_view step,
                               std::string_view description, std::int32_t number) {
  std::string message;
  message.reserve(procedure.size() + step.size() + description.size() + 16);
  message.append(procedure).append("-").append(step).append(": ").append(description);
  message.append(" (").append(std::to_string(number)).append(")");
  return message;
}

LineCollection SplitWords(std::string_view text) {
  constexpr std::size_t kMaxPosition = 32767;
  LineCollection pieces;
  while (!text.empty() && text.front() == ' ') text.remove_prefix(1);
  while (!text.empty() && text.back() == ' ') text.remove_suffix(1);

  std::string piece;
  bool afterSplit = false;  // the rest after a split loses its leading blanks
  for (char c : text) {
    YieldToHost();
    if (c == '\t') c = ' ';
    if (c == ' ') {
      if (afterSplit) continue;
      pieces.Add(std::move(piece));
      piece.clear();
      afterSplit = true;
      continue;
    }
    afterSplit = false;
    if (piece.size() + 1 > kMaxPosition) return pieces;
    piece.push_back(c);
  }
  if (!piece.empty()) pieces.Add(std::move(piece));
  return pieces;
}

bool IsWord(std::string_view piece) noexcept {
  if (ReadsAsNumber(piece)) return false;
  return piece.find_first_of("!@#$%^*[]<>") == std::string_view::npos;
}

bool CountsEveryPiece(const Variant& vOperation) {
  if (vOperation.IsMissing()) return true;
  if (vOperation.IsText()) {
    // A text operation must read as a number to be compared with 0.
    if (!ReadsAsNumber(vOperation.TextValue())) Raise(err::TypeMismatch);
  }
  return vOperation.AsNumber() == 0;
}

Int16 CountWords(std::string_view text, const Variant& vOperation) {
  bool every = CountsEveryPiece(vOperation);
  Int16 count = 0;
  for (const std::string& piece : SplitWords(text))
    if (every || IsWord(piece)) ++count;
  return count;
}

}  // namespace tamrel
