// The document's line services: trimming a line, joining a statement's continuation lines,
// and splitting a statement into tokens. Each is one linear pass over its text.
#include <algorithm>
#include <optional>
#include <string>
#include <string_view>

#include "document/ContinuationRun.h"
#include "document/StatementScanner.h"
#include "document/clsRC.h"
#include "host/HostHooks.h"

namespace tamrel {
namespace {

constexpr std::int32_t kMaxPosition = 32767;  // text positions are 16-bit

[[noreturn]] void Overflow(std::string& changed, std::string_view done, std::string_view rest) {
  changed.assign(done).append(rest);
  Raise(err::Overflow);
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

// ParseLine splits one statement in place with the direct splitter: the statement is copied
// only when a tab, a "|" or a blank before a comma must change. (The walk shares the scan of a
// continuation run between its lines with the statement scanner instead; both give the same
// tokens and reports.)
Tokens clsRC::ParseLine(std::string_view statement, char separator) {
  Procedure procedure{"RCpl", "01"};
  Tokens tokens;
  std::string changed;
  try {
    SplitStatement(statement, separator, tokens, procedure, changed);
  } catch (const RCError& e) {
    tokens.Add("ERROR");
    ReportIfPossible(procedure, e, changed);
  }
  return tokens;
}

void clsRC::SplitStatement(std::string_view statement, char separator, Tokens& tokens,
                           Procedure& procedure, std::string& changed) {
  // "01": outer blanks; a comment or an empty statement has no tokens.
  std::string_view s1 = TrimBlanks(statement);
  if (s1.empty() || s1.starts_with("//")) return;

  // "02" and "03": tabs become blanks; outside double quotes, at most one blank is removed
  // after and before each "|" that the search reaches. The search for the next "|" starts one
  // past the previous one's original position, so it never looks at the first character, and
  // it skips the character after a "|" that lost the blank in front of it.
  // Statements without tabs or "|" (most of them) pass through both steps without a copy.
  procedure.Step = "03";
  std::string s3Buffer;
  std::string_view s3 = s1;
  bool inQuotes = false;
  if (std::any_of(s1.begin(), s1.end(), [](char c) { return c == '|' || c == '\t'; })) {
    std::string& out = s3Buffer;
    out.reserve(s1.size());
    bool skipNext = true;  // the first character is never examined
    for (std::size_t i = 0; i < s1.size(); ++i) {
      char c = s1[i] == '\t' ? ' ' : s1[i];
      if (c == '"') inQuotes = !inQuotes;
      if (c != '|' || skipNext || inQuotes) {
        skipNext = false;
        out.push_back(c);
        continue;
      }
      if (out.size() + 1 > kMaxPosition) {
        std::string rest(s1.substr(i));
        for (char& r : rest) r = r == '\t' ? ' ' : r;
        Overflow(changed, out, rest);
      }
      out.push_back('|');
      if (i + 1 < s1.size() && (s1[i + 1] == ' ' || s1[i + 1] == '\t')) ++i;
      bool blankBefore = out.size() >= 2 && out[out.size() - 2] == ' ';
      if (blankBefore) out.erase(out.size() - 2, 1);
      skipNext = blankBefore;
    }
    s3 = s3Buffer;
  }

  // "04": outside double quotes, every blank directly before a comma goes.
  procedure.Step = "04";
  std::string s4Buffer;
  std::string_view s4 = s3;
  if (s3.find(" ,") != std::string_view::npos) {
    std::string& out = s4Buffer;
    out.reserve(s3.size());
    inQuotes = false;
    for (std::size_t i = 0; i < s3.size(); ++i) {
      if (s3[i] == '"') inQuotes = !inQuotes;
      if (s3[i] == ',' && !inQuotes && !out.empty() && out.back() == ' ') {
        if (out.size() > kMaxPosition) Overflow(changed, out, s3.substr(i));
        while (!out.empty() && out.back() == ' ') out.pop_back();
      }
      out.push_back(s3[i]);
    }
    s4 = s4Buffer;
  }

  // "04" continued: tokens. `token` is the text before the scan position since the last split;
  // semicolons outside double quotes are deleted.
  // The rest after a split loses its leading and trailing blanks: the trailing run is there
  // until the first split and gone after it.
  std::size_t end = s4.size();
  std::size_t trailing = s4.find_last_not_of(' ') + 1;  // npos + 1 == 0: all blanks
  std::string token;
  inQuotes = false;
  bool afterSplit = false;
  for (std::size_t i = 0; i < end; ++i) {
    char c = s4[i];
    YieldToHost();
    if (afterSplit && c == ' ') continue;
    afterSplit = false;
    bool split = false;
    if (!inQuotes) {
      if (c == ' ' && separator == ' ') split = !(token.size() >= 3 && token.ends_with("NOT"));
      else if (c == ',') split = true;
      else if (c == '|' && separator == '|') split = true;
    }
    if (split) {
      tokens.Add(std::move(token));
      token.clear();
      afterSplit = true;
      end = std::max(trailing, i + 1);
      continue;
    }
    if (c == ';' && !inQuotes) continue;
    if (c == '"') inQuotes = !inQuotes;
    if (token.size() + 1 >= kMaxPosition) Overflow(changed, token, s4.substr(i));
    token.push_back(c);
  }

  // "05": what is left after the last split is the last token.
  procedure.Step = "05";
  std::string_view last = TrimBlanks(token);
  if (!last.empty()) tokens.Add(std::string(last));
}

}  // namespace tamrel
