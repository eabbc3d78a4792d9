// Splitting text into lines. A line ends at CR LF, a lone CR or a lone LF (so LF CR is two line
// ends); the terminator is not part of the line, and a terminator at the very end adds no empty
// line. Line ends are found with memchr, one search per CR and per LF in the text, so the
// scan stays linear whatever mix of terminators a file holds.
#pragma once

#include <cstddef>
#include <cstring>
#include <string_view>

namespace tamrel {

// Calls `add(line)` with a view of every line of `text`, in order.
template <class Add>
void ForEachLine(std::string_view text, Add&& add) {
  const char* const begin = text.data();
  const char* const end = begin + text.size();
  auto next = [end](const char* from, char c) -> const char* {
    const void* found = from == end ? nullptr : std::memchr(from, c, static_cast<std::size_t>(end - from));
    return found != nullptr ? static_cast<const char*>(found) : end;
  };
  // The next CR and the next LF at or after `start`; each is searched again only once passed.
  const char* start = begin;
  const char* cr = next(start, '\r');
  const char* lf = next(start, '\n');
  while (start != end) {
    if (cr < start) cr = next(start, '\r');
    if (lf < start) lf = next(start, '\n');
    const char* stop = cr < lf ? cr : lf;
    add(std::string_view(start, static_cast<std::size_t>(stop - start)));
    if (stop == end) return;
    start = stop + ((*stop == '\r' && stop + 1 != end && stop[1] == '\n') ? 2 : 1);
  }
}

// The number of lines ForEachLine gives.
inline std::size_t CountLines(std::string_view text) {
  std::size_t lines = 0;
  ForEachLine(text, [&lines](std::string_view) { ++lines; });
  return lines;
}

}  // namespace tamrel
