// Style flag sets: the table of known flags, decoding of style tokens into flag names, the
// sorted insertion that keeps Items free of duplicates, and rendering back to text.
#include "styles/clsStyle.h"

#include <algorithm>
#include <iterator>
#include <optional>
#include <vector>

#include "common/Numbers.h"
#include "host/HostHooks.h"

namespace tamrel {
namespace {

// The known flags, in the order in which a number is tested against them: sixteen custom
// flags for the low sixteen bits, then eight window-style flags. WS_OVERLAPPED is 0, so no
// number selects it.
constexpr StyleFlag kStyleTable[] = {
    {"PS_EDIT", 0x00000001},       {"PS_COMBO", 0x00000002},     {"PS_LIST", 0x00000004},
    {"PS_GROUP", 0x00000008},      {"PS_BITENUM", 0x00000010},   {"PS_NOTPARAM", 0x00000020},
    {"PS_FORCE_XFE", 0x00000040},  {"PS_MULTILINE", 0x00000080}, {"PS_NOLABEL", 0x00000100},
    {"PS_NOUNITS", 0x00000200},    {"PS_PERCENT", 0x00000400},   {"PS_NOMETHODS", 0x00000800},
    {"PS_TEMP", 0x00001000},       {"PS_GAUGE", 0x00002000},     {"PS_READONLY", 0x00004000},
    {"PS_SHORTLABELS", 0x00008000}, {"WS_CHILD", 0x40000000},    {"WS_DISABLED", 0x08000000},
    {"WS_GROUP", 0x00020000},      {"WS_OVERLAPPED", 0x00000000}, {"WS_POPUP", 0x80000000},
    {"WS_SYSMENU", 0x00080000},    {"WS_TABSTOP", 0x00010000},   {"WS_VISIBLE", 0x10000000},
};
static_assert(std::size(kStyleTable) == 24);

int HexDigit(char c) noexcept {
  if (c >= '0' && c <= '9') return c - '0';
  if (c >= 'a' && c <= 'f') return c - 'a' + 10;
  if (c >= 'A' && c <= 'F') return c - 'A' + 10;
  return -1;
}

std::string_view TrimSpaces(std::string_view s) noexcept {
  while (!s.empty() && s.front() == ' ') s.remove_prefix(1);
  while (!s.empty() && s.back() == ' ') s.remove_suffix(1);
  return s;
}

// The bit pattern of the hexadecimal digits after "0x" (none gives 0); nullopt when a character
// is not a hexadecimal digit; error 6 above 0xFFFFFFFF.
std::optional<std::uint32_t> HexPattern(std::string_view digits) {
  std::uint64_t value = 0;
  for (char c : digits) {
    int digit = HexDigit(c);
    if (digit < 0) return std::nullopt;
    value = value * 16 + static_cast<std::uint64_t>(digit);
    if (value > 0xFFFFFFFFu) Raise(err::Overflow);
  }
  return static_cast<std::uint32_t>(value);
}

// The bit pattern of a decimal token: values from -2147483648 to 4294967295 (fractions rounded
// half to even) as 32 bits, negative ones in two's complement; error 6 for anything else.
std::uint32_t DecimalPattern(std::string_view text) {
  double value = RoundHalfEven(NumberValue(text));
  if (!(value >= -2147483648.0 && value <= 4294967295.0)) Raise(err::Overflow);
  return static_cast<std::uint32_t>(static_cast<std::int64_t>(value));
}

}  // namespace

bool clsStyle::Init(const Variant& vOperation) {
  m_iOperation = ToOperationCode(vOperation);
  if (m_iOperation == 2) LoadStyleTable();
  return false;
}

void clsStyle::LoadStyleTable() noexcept { m_table = kStyleTable; }

bool clsStyle::InStyle(std::string_view szStyle) const {
  for (const std::string& member : Items) {
    YieldToHost();
    if (member == szStyle) return true;
  }
  return false;
}

std::string clsStyle::ConvertLine() const {
  std::string text;
  AppendExpression(text);
  return text;
}

void clsStyle::AppendExpression(std::string& out) const {
  const std::int32_t count = Items.Count();
  if (count >= 32767) Raise(err::Overflow);  // the flags are counted in 16 bits
  for (std::int32_t i = 1; i <= count; ++i) {
    out.append(Items.Item(i));
    if (i < count) out.append(" | ");
    YieldToHost();
  }
}

LineCollection clsStyle::PrintLines() const { return CollectLines(*this); }

void clsStyle::WriteLines(LineWriter& out) const {
  std::string& line = out.Begin(Line).append("STYLE ");
  const std::size_t expression = line.size();
  AppendExpression(line);
  // A set that renders blank writes no line at all.
  if (line.find_first_not_of(' ', expression) != std::string::npos) out.End();
}

std::int32_t clsStyle::LineCount() const {
  if (Items.Count() >= 32767) Raise(err::Overflow);
  if (Items.Empty()) return 0;
  return Items.Count() > 1 || Items.Item(1).find_first_not_of(' ') != std::string::npos ? 1 : 0;
}

// The set being built by one AddStyles call: the members as views (of Items' texts, of the
// tokens and of the flag table), found without regard to case the way the keys of Items
// compare, sorted once and filled into Items once. A short set is searched member by member;
// a longer one through an open-addressing table of positions.
class clsStyle::SortedNames {
 public:
  explicit SortedNames(const LineCollection& items) {
    names_.reserve(static_cast<std::size_t>(items.Count()) + 8);
    for (const std::string& name : items) Insert(name);
  }

  // A name that differs from a member only in letter case is a duplicate key (error 457), as it
  // is for Items.
  void Add(std::string_view name) {
    const std::size_t found = Find(name);
    if (found != kNone && names_[found] == name) return;
    if (names_.size() > 32767) Raise(err::Overflow);  // the insertion position is 16-bit
    if (found != kNone) Raise(err::DuplicateKey);
    YieldToHost();
    Insert(name);
  }

  // Items in ascending ordinal order, each member under its own key; a set that gained no
  // member is left as it is.
  void CopyTo(LineCollection& items) {
    if (names_.size() == static_cast<std::size_t>(items.Count())) return;
    std::sort(names_.begin(), names_.end());
    LineCollection filled;
    filled.Reserve(names_.size());
    for (std::string_view name : names_) filled.Add(std::string(name), std::string(name));
    items = std::move(filled);  // the views of the old members stay valid until here
  }

  // Whether Items is what AddStyles leaves: strictly ascending, each member under its own key.
  static bool Holds(const LineCollection& items) {
    for (std::int32_t i = 1; i <= items.Count(); ++i) {
      if (i > 1 && !(items.Item(i - 1) < items.Item(i))) return false;
      if (items.Key(i) != items.Item(i)) return false;
    }
    return true;
  }

 private:
  static constexpr std::size_t kNone = static_cast<std::size_t>(-1);
  static constexpr std::size_t kScanned = 8;  // sets up to this size have no table

  static std::size_t Hash(std::string_view name) noexcept {
    return static_cast<std::size_t>(detail::FoldedHash(name, detail::HashSeed()));
  }

  // The position of the member equal to `name` without regard to case, or kNone.
  std::size_t Find(std::string_view name) const noexcept {
    const detail::CaseInsensitiveEqual equal;
    if (slots_.empty()) {
      for (std::size_t k = 0; k < names_.size(); ++k)
        if (equal(names_[k], name)) return k;
      return kNone;
    }
    const std::size_t mask = slots_.size() - 1;
    for (std::size_t slot = Hash(name) & mask; slots_[slot] != 0; slot = (slot + 1) & mask)
      if (equal(names_[slots_[slot] - 1], name)) return slots_[slot] - 1;
    return kNone;
  }

  void Insert(std::string_view name) {
    names_.push_back(name);
    if (names_.size() <= kScanned) return;
    if (names_.size() * 2 > slots_.size()) {
      Rehash(std::max<std::size_t>(64, slots_.size() * 2));
      return;
    }
    Place(names_.size() - 1);
  }

  void Rehash(std::size_t slots) {
    slots_.assign(slots, 0);
    for (std::size_t k = 0; k < names_.size(); ++k) Place(k);
  }

  void Place(std::size_t position) {
    const std::size_t mask = slots_.size() - 1;
    std::size_t slot = Hash(names_[position]) & mask;
    while (slots_[slot] != 0) slot = (slot + 1) & mask;
    slots_[slot] = static_cast<std::uint32_t>(position + 1);
  }

  std::vector<std::string_view> names_;
  std::vector<std::uint32_t> slots_;  // 1 + a position in names_; 0 for an empty slot
};

bool clsStyle::AddStyles(const Tokens& oStyles) {
  std::vector<std::string_view> styles(oStyles.begin(), oStyles.end());
  return AddStyleTokens(styles);
}

bool clsStyle::AddStyleTokens(std::span<const std::string_view> styles) {
  Init(2);
  const Int16 count = static_cast<std::int64_t>(styles.size());
  if (!SortedNames::Holds(Items)) {
    // A set changed from outside: insert one name at a time, as a host would expect.
    for (Int16 i = 1; i <= count; ++i) {
      AddStyle(styles[static_cast<std::size_t>(i - 1)], nullptr);
      YieldToHost();
    }
    return true;
  }
  // Names are collected, sorted once and filled into Items once, also when a token fails: the
  // names added before it stay.
  SortedNames names(Items);
  try {
    for (std::string_view token : styles) {
      AddStyle(token, &names);
      YieldToHost();
    }
  } catch (const RCError&) {
    names.CopyTo(Items);
    throw;
  }
  names.CopyTo(Items);
  return true;
}

void clsStyle::AddStyle(std::string_view token, SortedNames* names) {
  std::optional<std::uint32_t> pattern;
  if (token.starts_with("0x")) {
    // A "0x" token whose rest is not all hexadecimal digits is a name like any other.
    pattern = HexPattern(TrimSpaces(token.substr(2)));
  } else if (ReadsAsNumber(token)) {
    pattern = DecimalPattern(token);
  }
  if (!pattern) {
    AddName(token, names);
    return;
  }
  // A number stands for the table flags whose bits it holds; other bits are dropped.
  for (const StyleFlag& flag : m_table) {
    if ((flag.Value & *pattern) != 0) AddName(flag.Name, names);
    YieldToHost();
  }
}

void clsStyle::AddName(std::string_view name, SortedNames* names) {
  if (names != nullptr) {
    names->Add(name);
    return;
  }
  if (InStyle(name)) return;
  // Insert before the first member that sorts after the name (ordinal, byte by byte).
  const Int16 count = Items.Count();
  for (Int16 p = 1; p <= count; ++p) {
    bool after = std::string_view(Items.Item(p)) > name;
    YieldToHost();
    if (after) {
      Items.Add(std::string(name), std::string(name), p);
      return;
    }
  }
  Items.Add(std::string(name), std::string(name));
}

}  // namespace tamrel
