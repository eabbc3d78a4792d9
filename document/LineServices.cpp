// The document's line services: trimming a line, joining a statement's continuation lines,
// and splitting a statement into tokens. Each is one linear pass over its text.
#include <optional>
#include <string>
#include <string_view>

#include "document/ContinuationRun.h"
#include "document/StatementScanner.h"
#include "document/clsRC.h"
#include "host/HostHooks.h"

namespace tamrel {
namespace {

std::string_view TrimBlanks(std::string_view s) noexcept {
  while (!s.empty() && s.front() == ' ') s.remove_prefix(1);
  while (!s.empty() && s.back() == ' ') s.remove_suffix(1);
  return s;
}

std::string_view TrimWhiteView(std::string_view text) noexcept { return ContinuationRun::TrimWhite(text); }
bool Continues(std::string_view trimmed) noexcept { return ContinuationRun::Continues(trimmed); }

}  // namespace

std::string clsRC::TrimWhite(std::string_view text) { return std::string(TrimWhiteView(text)); }

std::string clsRC::GetFullLine(Int16 start, Int16& count, const Variant& numberOfLines) {
  std::string statement;
  if (numberOfLines.IsMissing()) {
    count = start;
    for (;;) {
      std::string_view line = TrimWhiteView(Lines.Item(count));
      statement.push_back(' ');
      statement.append(line);
      YieldToHost();
      if (!Continues(line)) break;
      ++count;
    }
    count = count - start + 1;
    return statement;
  }

  Int16 n = ToOperationCode(numberOfLines);
  for (Int16 k = 1; k <= n; ++k) {
    statement.append(TrimWhiteView(Lines.Item(start + k - 1)));
    statement.push_back(' ');
  }
  count = n;
  return TrimWhite(statement);
}

Tokens clsRC::ParseLine(std::string_view statement, char separator) {
  Tokens tokens;
  std::string_view s = TrimBlanks(statement);
  if (s.empty() || s.starts_with("//")) return tokens;
  StatementScanner scanner(separator, StatementScanner::Mode::Text);
  for (char c : s) scanner.Feed(c);
  scanner.Finish();
  std::vector<std::string> found = scanner.TakeTokens();
  tokens.Reserve(found.size());
  for (std::string& token : found) tokens.Add(std::move(token));
  if (std::optional<std::string_view> step = scanner.OverflowStep())
    ReportIfPossible(Procedure{"RCpl", *step}, RCError(err::Overflow), scanner.OverflowLocation());
  return tokens;
}

}  // namespace tamrel
