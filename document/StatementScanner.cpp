// The tokenizer pipeline: "|" and tabs, then blanks before commas, then tokens. Each stage
// passes a character on as soon as no later character can delete it.
#include "document/StatementScanner.h"

#include "host/HostHooks.h"

namespace tamrel {
namespace {

void AppendHead(std::string& head, char c) {
  if (head.size() < StatementScanner::kLocationBytes) head.push_back(c);
}

}  // namespace

StatementScanner::StatementScanner(char separator, Mode mode, std::span<const std::string_view> keywords)
    : separator_(separator), mode_(mode), keywords_(keywords) {}

void StatementScanner::Restart() {
  inQuotes3_ = inQuotes4_ = inQuotes5_ = false;
  skipNext_ = true;
  consumeBlank_ = heldBlank3_ = afterSplit_ = splitHappened_ = tokenNonBlank_ = false;
  out3_ = out4_ = heldBlanks4_ = tokenLength_ = 0;
  head3_.clear();
  head4_.clear();
  token_.clear();
  last3_[0] = last3_[1] = last3_[2] = 0;
  overflow3_ = false;
  overflow4_.reset();
  overflow5_.reset();
  tokens_.clear();
  records_.clear();
  checks3_.clear();
  checks4_.clear();
}

void StatementScanner::Feed(char raw) {
  if (overflow3_ && mode_ == Mode::Text) return;
  if (consumeBlank_) {
    consumeBlank_ = false;
    if (raw == ' ' || raw == '\t') return;
  }
  const char c = raw == '\t' ? ' ' : raw;
  if (c == '"') inQuotes3_ = !inQuotes3_;
  if (c != '|' || skipNext_ || inQuotes3_) {
    skipNext_ = false;
    Emit3(c);
    return;
  }
  // A "|" outside quotes: one blank after it and one before it go. The character after a "|"
  // that lost its blank in front is not taken as a "|".
  if (mode_ == Mode::Summary) {
    checks3_.push_back(out3_);
  } else if (out3_ + 1 > kMaxPosition) {
    overflow3_ = true;
    return;
  }
  const bool blankBefore = heldBlank3_;
  if (blankBefore) {
    heldBlank3_ = false;
    --out3_;
  }
  ++out3_;
  Flush3('|');
  consumeBlank_ = true;
  skipNext_ = blankBefore;
}

void StatementScanner::Emit3(char c) {
  ++out3_;
  if (heldBlank3_) {
    heldBlank3_ = false;
    Flush3(' ');
  }
  if (c == ' ') heldBlank3_ = true;
  else Flush3(c);
}

void StatementScanner::Flush3(char c) {
  if (wholeHead3_) head3_.push_back(c);
  else if (mode_ == Mode::Text) AppendHead(head3_, c);
  if (lastStage_ >= 4) Feed4(c);
}

void StatementScanner::Feed4(char c) {
  if (mode_ == Mode::Text && overflow4_) return;
  if (c == '"') inQuotes4_ = !inQuotes4_;
  if (c == ',' && !inQuotes4_ && heldBlanks4_ > 0) {
    if (mode_ == Mode::Summary) {
      checks4_.push_back(out4_);
    } else if (out4_ > kMaxPosition) {
      std::string location = head4_;
      for (std::int64_t k = 0; k < heldBlanks4_ && location.size() < kLocationBytes; ++k) location.push_back(' ');
      overflow4_ = std::move(location);
      return;
    }
    out4_ -= heldBlanks4_;
    heldBlanks4_ = 0;
  }
  ++out4_;
  if (c == ' ') {
    ++heldBlanks4_;
    return;
  }
  for (; heldBlanks4_ > 0; --heldBlanks4_) Flush4(' ');
  Flush4(c);
}

void StatementScanner::Flush4(char c) {
  if (mode_ == Mode::Text) AppendHead(head4_, c);
  if (lastStage_ >= 5) Feed5(c);
}

void StatementScanner::Feed5(char c) {
  if (mode_ == Mode::Text && overflow5_) return;
  YieldToHost();
  if (afterSplit_ && c == ' ') return;
  afterSplit_ = false;
  bool split = false;
  if (!inQuotes5_) {
    if (c == ' ' && separator_ == ' ')
      split = !(tokenLength_ >= 3 && last3_[0] == 'N' && last3_[1] == 'O' && last3_[2] == 'T');
    else if (c == ',')
      split = true;
    else if (c == '|' && separator_ == '|')
      split = true;
  }
  if (split) {
    EmitToken(false);
    afterSplit_ = true;
    splitHappened_ = true;
    return;
  }
  if (c == ';' && !inQuotes5_) return;
  if (c == '"') inQuotes5_ = !inQuotes5_;
  if (mode_ == Mode::Text && tokenLength_ + 1 >= kMaxPosition) {
    overflow5_ = token_.substr(0, kLocationBytes);
    return;
  }
  PushToken(c);
}

void StatementScanner::PushToken(char c) {
  if (mode_ == Mode::Text || token_.size() < kShortToken) token_.push_back(c);
  ++tokenLength_;
  last3_[0] = last3_[1];
  last3_[1] = last3_[2];
  last3_[2] = c;
  if (c != ' ') tokenNonBlank_ = true;
}

void StatementScanner::EmitToken(bool trimmed) {
  const bool whole = mode_ == Mode::Text || tokenLength_ <= static_cast<std::int64_t>(kShortToken);
  std::string_view text = trimmed ? TrimBlanks(token_) : std::string_view(token_);
  if (!trimmed || tokenNonBlank_) {
    if (mode_ == Mode::Text) tokens_.emplace_back(text);
    else records_.push_back({tokenLength_, whole ? KeywordOf(text) : std::int16_t{-1}});
  }
  token_.clear();
  tokenLength_ = 0;
  last3_[0] = last3_[1] = last3_[2] = 0;
  tokenNonBlank_ = false;
}

std::int16_t StatementScanner::KeywordOf(std::string_view token) const {
  for (std::size_t k = 0; k < keywords_.size(); ++k)
    if (keywords_[k] == token) return static_cast<std::int16_t>(k);
  return -1;
}

void StatementScanner::Finish() {
  if (mode_ == Mode::Text && overflow3_) return;
  if (heldBlank3_) {
    heldBlank3_ = false;
    Flush3(' ');
  }
  if (mode_ == Mode::Text && (overflow4_ || overflow5_)) return;
  // The blanks that end the statement are scanned only while nothing has been split off.
  std::int64_t trailing = heldBlanks4_;
  heldBlanks4_ = 0;
  for (; trailing > 0 && !splitHappened_; --trailing) Feed5(' ');
  if (mode_ == Mode::Text && overflow5_) return;
  EmitToken(true);
}

std::optional<std::string_view> StatementScanner::OverflowStep() const {
  if (overflow3_) return "03";
  if (overflow4_ || overflow5_) return "04";
  return std::nullopt;
}

std::string StatementScanner::OverflowLocation() const {
  if (overflow3_) return head3_;
  if (overflow4_) return *overflow4_;
  return overflow5_.value_or("");
}

std::vector<std::string> StatementScanner::TakeTokens() {
  if (overflow3_ || overflow4_) return {"ERROR"};
  if (overflow5_) tokens_.emplace_back("ERROR");
  return std::move(tokens_);
}

StatementScanner::StateKey StatementScanner::State() const {
  const bool isLong = tokenLength_ > static_cast<std::int64_t>(kShortToken);
  return StateKey{inQuotes3_,   skipNext_,      consumeBlank_,  heldBlank3_, inQuotes4_,
                  inQuotes5_,   afterSplit_,    splitHappened_, tokenNonBlank_, isLong,
                  heldBlanks4_, isLong ? std::string(last3_, 3) : token_};
}

}  // namespace tamrel
