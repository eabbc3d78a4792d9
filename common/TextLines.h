// Splitting text into lines. A line ends at CR LF, a lone CR or a lone LF (so LF CR is two line
// ends); the terminator is not part of the line, and a terminator at the very end adds no empty
// line. Line ends are found with memchr, one search per CR and per LF in the text, so the
// scan stays linear whatever mix of terminators a file holds.
#pragma once

#include <cstddef>
#include <cstring>
#include <string_view>

#if defined(__SSE2__)
#include <emmintrin.h>
#endif

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

// The number of lines ForEachLine gives: every LF, and every CR not followed by an LF, ends
// one, and a last line without a terminator adds one. Sixteen bytes at a time where SSE2 is
// available (every x86-64), byte by byte otherwise.
inline std::size_t CountLines(std::string_view text) noexcept {
  const std::size_t n = text.size();
  if (n == 0) return 0;
  const auto* p = reinterpret_cast<const unsigned char*>(text.data());
  std::size_t ends = 0;
  std::size_t i = 0;
#if defined(__SSE2__)
  const __m128i lf = _mm_set1_epi8('\n'), cr = _mm_set1_epi8('\r'), zero = _mm_setzero_si128();
  // Per-byte counters (a true comparison is -1, so subtracting counts it), summed into `ends`
  // before any counter can pass 255.
  while (i + 17 <= n) {
    __m128i counters = zero;
    for (int round = 0; round < 255 && i + 17 <= n; ++round, i += 16) {
      const __m128i here = _mm_loadu_si128(reinterpret_cast<const __m128i*>(p + i));
      const __m128i next = _mm_loadu_si128(reinterpret_cast<const __m128i*>(p + i + 1));
      const __m128i loneCr = _mm_andnot_si128(_mm_cmpeq_epi8(next, lf), _mm_cmpeq_epi8(here, cr));
      counters = _mm_sub_epi8(counters, _mm_or_si128(_mm_cmpeq_epi8(here, lf), loneCr));
    }
    const __m128i sums = _mm_sad_epu8(counters, zero);
    ends += static_cast<std::size_t>(_mm_cvtsi128_si32(sums)) +
            static_cast<std::size_t>(_mm_cvtsi128_si32(_mm_srli_si128(sums, 8)));
  }
#endif
  for (; i + 1 < n; ++i) ends += (p[i] == '\n') || (p[i] == '\r' && p[i + 1] != '\n');
  // The last byte either ends a line (a CR or LF) or belongs to the unterminated last line.
  return ends + 1;
}

}  // namespace tamrel
