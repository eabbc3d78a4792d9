// The document's line services: trimming a line, joining a statement's continuation lines,
// and splitting a statement into tokens. Each is one linear pass over its text.
#include <string>
#include <string_view>

#include "document/ContinuationRun.h"
#include "document/StatementTokens.h"
#include "document/clsRC.h"
#include "host/HostHooks.h"

namespace tamrel {
namespace {

bool Continues(std::string_view trimmed) noexcept { return ContinuationRun::Continues(trimmed); }

}  // namespace

std::string clsRC::TrimWhite(std::string_view text) { return std::string(TrimWhiteView(text)); }

std::string_view clsRC::TrimWhiteView(std::string_view text) noexcept { return ContinuationRun::TrimWhite(text); }

std::string_view clsRC::TrimmedLine(Int16 line) const { return TrimWhiteView(Lines.Item(line)); }

bool clsRC::OpensBlockAt(Int16 line) const {
  const std::string_view text = TrimmedLine(line);
  return text == "BEGIN" || (m_options.layout == Layout::Relaxed && text == "{");
}

bool clsRC::ClosesBlockAt(Int16 line) const {
  const std::string_view text = TrimmedLine(line);
  return text == "END" || (m_options.layout == Layout::Relaxed && text == "}");
}

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

std::string_view clsRC::StatementAt(Int16 start, Int16& count, std::string& buffer) {
  count = start;
  std::string_view line = TrimWhiteView(Lines.Item(count));
  YieldToHost();
  if (!Continues(line)) {
    count = 1;
    return line;
  }
  buffer.assign(line);
  do {
    ++count;
    line = TrimWhiteView(Lines.Item(count));
    buffer.push_back(' ');
    buffer.append(line);
    YieldToHost();
  } while (Continues(line));
  count = count - start + 1;
  return buffer;
}

Tokens clsRC::ParseLine(std::string_view statement, char separator) {
  StatementTokens split;
  SplitInto(statement, separator, split);
  Tokens tokens;
  tokens.Reserve(static_cast<std::size_t>(split.Count()));
  for (std::string_view token : split.Views()) tokens.Add(std::string(token));
  return tokens;
}

void clsRC::SplitInto(std::string_view statement, char separator, StatementTokens& tokens) {
  Procedure procedure{"RCpl", "01"};
  std::string changed;
  try {
    tokens.Split(statement, separator, procedure.Step, changed);
  } catch (const RCError& e) {
    tokens.Append("ERROR");
    ReportIfPossible(procedure, e, changed);
  }
}

namespace {

// A line that goes on the statement before it, as resource compilers read it: one that starts
// with "|" (a style expression) or "," (more arguments).
bool StartsContinued(std::string_view trimmed) { return trimmed.starts_with('|') || trimmed.starts_with(','); }

// The statement without a "//" comment behind it (outside double quotes), trimmed.
std::string_view WithoutComment(std::string_view statement) {
  bool quoted = false;
  for (std::size_t i = 0; i + 1 < statement.size(); ++i) {
    if (statement[i] == '"') quoted = !quoted;
    if (!quoted && statement[i] == '/' && statement[i + 1] == '/') {
      statement = statement.substr(0, i);
      while (!statement.empty() && (statement.back() == ' ' || statement.back() == '\t')) statement.remove_suffix(1);
      break;
    }
  }
  return statement;
}

}  // namespace

std::string_view clsRC::RelaxedStatementAt(Int16 start, Int16& count, std::string& buffer) {
  std::string_view statement = WithoutComment(StatementAt(start, count, buffer));
  std::int32_t next = static_cast<std::int32_t>(start) + count;
  if (next > Lines.Count() || !StartsContinued(TrimWhiteView(Lines.Item(next)))) return statement;
  std::string joined(statement);
  std::string part;
  while (next <= Lines.Count() && StartsContinued(TrimWhiteView(Lines.Item(next)))) {
    Int16 more;
    joined.append(" ").append(WithoutComment(StatementAt(Int16(next), more, part)));
    count += more;
    next += more;
  }
  buffer = std::move(joined);
  return buffer;
}

}  // namespace tamrel
