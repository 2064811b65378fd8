#pragma once

#include <QtGlobal>
#include <array>

#if defined(__SSE2__)
#include <emmintrin.h>
#endif

// The reader's two passes over every text byte: finding where plain text stops, and
// widening it to UTF-16. Sixteen bytes at a time where the processor allows.
namespace rtf {

// The bytes that end a piece of plain text.
constexpr auto kTextStops = [] {
    std::array<bool, 256> stops{};
    for (const unsigned char c : {'{', '}', '\\', '\r', '\n', '\0'})
        stops[c] = true;
    return stops;
}();

#if defined(__SSE2__)
// A bit for each of the 16 bytes of v that ends plain text.
inline unsigned textStopMask(__m128i v)
{
    const __m128i hit = _mm_or_si128(
        _mm_or_si128(_mm_or_si128(_mm_cmpeq_epi8(v, _mm_set1_epi8('{')),
                                  _mm_cmpeq_epi8(v, _mm_set1_epi8('}'))),
                     _mm_or_si128(_mm_cmpeq_epi8(v, _mm_set1_epi8('\\')),
                                  _mm_cmpeq_epi8(v, _mm_set1_epi8('\r')))),
        _mm_or_si128(_mm_cmpeq_epi8(v, _mm_set1_epi8('\n')),
                     _mm_cmpeq_epi8(v, _mm_setzero_si128())));
    return unsigned(_mm_movemask_epi8(hit));
}
#endif

// Writes length bytes of a single-byte code page as UTF-16: ASCII as itself, the rest
// through high, the page's characters for the bytes 0x80 to 0xFF.
inline void widen(const char *data, qsizetype length, char16_t *to, const char16_t *high)
{
    qsizetype i = 0;
#if defined(__SSE2__)
    const __m128i zero = _mm_setzero_si128();
    for (; length - i >= 16; i += 16) {
        const __m128i v = _mm_loadu_si128(reinterpret_cast<const __m128i *>(data + i));
        _mm_storeu_si128(reinterpret_cast<__m128i *>(to + i), _mm_unpacklo_epi8(v, zero));
        _mm_storeu_si128(reinterpret_cast<__m128i *>(to + i + 8), _mm_unpackhi_epi8(v, zero));
        // Then the bytes above ASCII, one by one.
        for (unsigned mask = unsigned(_mm_movemask_epi8(v)); mask; mask &= mask - 1) {
            const qsizetype at = i + __builtin_ctz(mask);
            to[at] = high[static_cast<unsigned char>(data[at]) - 0x80];
        }
    }
#endif
    for (; i < length; ++i) {
        const auto b = static_cast<unsigned char>(data[i]);
        to[i] = b < 0x80 ? char16_t(b) : high[b - 0x80];
    }
}

} // namespace rtf
