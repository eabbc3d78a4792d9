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

namespace {

bool IsSpace(char c) noexcept { return c == ' ' || c == '\t'; }

// Calls `take` with each piece of `text` as SplitWords splits it. Tabs split like blanks, so a
// piece is a stretch of the text itself, passed as a view. With a yield hook installed the host
// is called once per character; without one, each piece is passed over in one go.
template <class Take>
void ForEachPiece(std::string_view text, Take&& take) {
  constexpr std::size_t kMaxPosition = 32767;
  while (!text.empty() && text.front() == ' ') text.remove_prefix(1);
  while (!text.empty() && text.back() == ' ') text.remove_suffix(1);

  const bool yields = YieldHookInstalled();
  std::size_t start = 0;    // of the current piece
  bool afterSplit = false;  // the rest after a split loses its leading blanks
  for (std::size_t i = 0; i < text.size();) {
    if (yields) YieldToHost();
    if (IsSpace(text[i])) {
      if (!afterSplit) take(text.substr(start, i - start));
      afterSplit = true;
      start = ++i;
      continue;
    }
    afterSplit = false;
    std::size_t end = i + 1;
    if (!yields)
      while (end < text.size() && !IsSpace(text[end])) ++end;
    if (end - start > kMaxPosition) return;  // the piece would pass 32,767 characters
    i = end;
  }
  if (start < text.size()) take(text.substr(start));
}

}  // namespace

LineCollection SplitWords(std::string_view text) {
  LineCollection pieces;
  ForEachPiece(text, [&pieces](std::string_view piece) { pieces.Add(std::string(piece)); });
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
  ForEachPiece(text, [&](std::string_view piece) {
    if (every || IsWord(piece)) ++count;
  });
  return count;
}

}  // namespace tamrel
