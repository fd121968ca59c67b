#include "platform/gdi/area_average.h"

#include <algorithm>
#include <cstring>

#include "platform/gdi/pixel_simd.h"

#if defined(__SSE2__)
#include <emmintrin.h>
#endif

namespace platform::gdi {

namespace {

using f64x4 = double __attribute__((vector_size(32)));
using u32x4 = AreaAverager::u32x4;
using u32x8 = AreaAverager::u32x8;
using i32x4 = std::int32_t __attribute__((vector_size(16)));

// Two destination columns of a source row a step, one in each half of a 256-bit register:
// the sum of each column's K taps' pixels times their weights (missing taps weigh 0), in
// 32-bit lanes (see the header), each pixel's channels shifted into their own lanes.
template <int K>
[[gnu::always_inline]] inline void SumColumnPairs(const std::uint32_t* line, const int* at,
                                                  const u32x8* weight, int k, int pairs,
                                                  u32x4* out) {
    const u32x8 shift = {0, 8, 16, 24, 0, 8, 16, 24};
    if constexpr (K > 0) k = K;
    for (int i = 0; i < pairs; ++i, at += 2 * k, weight += k) {
        u32x8 acc = {};
        for (int t = 0; t < k; ++t) {
            const std::uint32_t a = line[at[t]], b = line[at[k + t]];
            acc += weight[t] * ((u32x8{a, a, a, a, b, b, b, b} >> shift) & 255);
        }
        std::memcpy(out + 2 * i, &acc, sizeof acc);
    }
}

// The usual tap counts get loops the compiler can unroll.
UTROZVON_WIDE_LOOP void SumAcross(const std::uint32_t* line, const int* at, const u32x8* weight,
                                  int k, int pairs, u32x4* out) {
    switch (k) {
        case 1:
            SumColumnPairs<1>(line, at, weight, k, pairs, out);
            break;
        case 2:
            SumColumnPairs<2>(line, at, weight, k, pairs, out);
            break;
        case 3:
            SumColumnPairs<3>(line, at, weight, k, pairs, out);
            break;
        case 4:
            SumColumnPairs<4>(line, at, weight, k, pairs, out);
            break;
        default:
            SumColumnPairs<0>(line, at, weight, k, pairs, out);
            break;
    }
}

// Columns whose taps are up to four neighbouring source pixels, one column a step: the four
// pixels are read at once and their taps paired, each pair's products added in one 16-bit
// multiply-add (pixels and weights below 2^15; a pair's sum is below 2^24). Weights
// hold each column's w0 w1 (8 lanes) then w2 w3 (8 lanes), the missing taps 0. The pixels'
// bytes go side by side, p0 with p1 and p2 with p3, by byte shuffles where the processor has
// them and by unpacking otherwise.
template <bool Shuffles>
[[gnu::always_inline]] inline void NeighbourColumns(const std::uint32_t* line, const int* first,
                                                    const std::int16_t* weight, int n, u32x4* out) {
    using u8x16 = std::uint8_t __attribute__((vector_size(16)));
    for (int i = 0; i < n; ++i, weight += 16) {
        const std::uint32_t* p = line + first[i];
#if defined(__SSE2__)
        __m128i x01, x23;
        if constexpr (Shuffles) {
            const u8x16 zero = {};
            u8x16 v;
            std::memcpy(&v, p, sizeof v);
            x01 = reinterpret_cast<__m128i>(__builtin_shufflevector(
                v, zero, 0, 16, 4, 16, 1, 16, 5, 16, 2, 16, 6, 16, 3, 16, 7, 16));
            x23 = reinterpret_cast<__m128i>(__builtin_shufflevector(
                v, zero, 8, 16, 12, 16, 9, 16, 13, 16, 10, 16, 14, 16, 11, 16, 15, 16));
        } else {
            const __m128i zero = _mm_setzero_si128();
            const __m128i v = _mm_loadu_si128(reinterpret_cast<const __m128i*>(p));
            // p0 p2 p1 p3, then the bytes of p0 and p1 (p2 and p3) side by side.
            const __m128i u = _mm_shuffle_epi32(v, 0xD8);
            const __m128i x = _mm_unpacklo_epi8(u, _mm_srli_si128(u, 8));
            x01 = _mm_unpacklo_epi8(x, zero);
            x23 = _mm_unpackhi_epi8(x, zero);
        }
        const __m128i w01 = _mm_loadu_si128(reinterpret_cast<const __m128i*>(weight)),
                      w23 = _mm_loadu_si128(reinterpret_cast<const __m128i*>(weight + 8));
        const __m128i s = _mm_add_epi32(_mm_madd_epi16(x01, w01), _mm_madd_epi16(x23, w23));
        std::memcpy(out + i, &s, sizeof s);
#else
        const u32x4 shift = {0, 8, 16, 24};
        u32x4 acc = {};
        for (int t = 0; t < 4; ++t)
            acc += static_cast<std::uint32_t>(weight[(t / 2) * 8 + t % 2]) *
                   (((u32x4{} + p[t]) >> shift) & 255);
        out[i] = acc;
#endif
    }
}

void NeighbourColumnsPlain(const std::uint32_t* line, const int* first, const std::int16_t* weight,
                           int n, u32x4* out) {
    NeighbourColumns<false>(line, first, weight, n, out);
}

UTROZVON_SHUFFLE_LOOP void NeighbourColumnsShuffled(const std::uint32_t* line, const int* first,
                                                    const std::int16_t* weight, int n, u32x4* out) {
    NeighbourColumns<true>(line, first, weight, n, out);
}

void SumAcrossNeighbours(const std::uint32_t* line, const int* first, const std::int16_t* weight,
                         int n, u32x4* out) {
    static const bool shuffles = simd::ByteShufflesAvailable();
    if (shuffles)
        NeighbourColumnsShuffled(line, first, weight, n, out);
    else
        NeighbourColumnsPlain(line, first, weight, n, out);
}

// The rows' sums weighted down every column, in 32-bit lanes, four columns a step.
UTROZVON_WIDEST_LOOP void SumDownNarrow(const u32x4* const* rows, const std::uint32_t* weight,
                                        int taps, int n, u32x4* out) {
    using u32x16 = std::uint32_t __attribute__((vector_size(64)));
    int i = 0;
    for (; i + 4 <= n; i += 4) {
        u32x16 acc = {};
        for (int t = 0; t < taps; ++t) {
            u32x16 v;
            std::memcpy(&v, rows[t] + i, sizeof v);
            acc += weight[t] * v;
        }
        std::memcpy(out + i, &acc, sizeof acc);
    }
    for (; i < n; ++i) {
        u32x4 acc = {};
        for (int t = 0; t < taps; ++t) acc += weight[t] * rows[t][i];
        out[i] = acc;
    }
}

// (2 S + T) / 2 T rounded down is S / T rounded half up, two pixels a step in 32-bit lanes
// (2 S + T stays below 2^31, see the header). The quotient is estimated in single precision
// (its error is far below 1) and then corrected exactly: the remainder r = 2 S + T - q 2 T
// lies in (-2 T, 4 T), so 32-bit lanes hold it, and q moves by one wherever r is outside
// [0, 2 T). total, twice and inverse hold each column's T, 2 T and about 1 / 2 T four times
// (1, 1 where T is 0: every sum is 0 there, and so is the quotient).
[[gnu::always_inline]] inline void QuotientPair(const u32x4* sums, const std::uint32_t* total,
                                                const std::uint32_t* twice, const float* inverse,
                                                std::uint32_t* out) {
    using u32x8 = std::uint32_t __attribute__((vector_size(32)));
    using i32x8 = std::int32_t __attribute__((vector_size(32)));
    using f32x8 = float __attribute__((vector_size(32)));
    using u8x32 = std::uint8_t __attribute__((vector_size(32)));
    u32x8 s, t, two;
    f32x8 inv;
    std::memcpy(&s, sums, sizeof s);
    std::memcpy(&t, total, sizeof t);
    std::memcpy(&two, twice, sizeof two);
    std::memcpy(&inv, inverse, sizeof inv);
    const u32x8 num = 2 * s + t;
    i32x8 q = __builtin_convertvector(
        __builtin_convertvector(reinterpret_cast<i32x8>(num), f32x8) * inv, i32x8);
    const i32x8 r = reinterpret_cast<i32x8>(num - reinterpret_cast<u32x8>(q) * two);
    q -= r >= reinterpret_cast<i32x8>(two);  // a true comparison is -1
    q += r < 0;
    const u8x32 b = reinterpret_cast<u8x32>(q);
    const u32x8 packed = reinterpret_cast<u32x8>(
        __builtin_shufflevector(b, b, 0, 4, 8, 12, 0, 4, 8, 12, 0, 4, 8, 12, 0, 4, 8, 12, 16, 20,
                                24, 28, 16, 20, 24, 28, 16, 20, 24, 28, 16, 20, 24, 28));
    out[0] = packed[0];
    out[1] = packed[4];
}

UTROZVON_WIDEST_LOOP void Quotients(const u32x4* sums, const std::uint32_t* total,
                                    const std::uint32_t* twice, const float* inverse, int n,
                                    std::uint32_t* out) {
    if (n == 1) {
        // One pixel alone: computed twice, side by side.
        const u32x4 s[2] = {sums[0], sums[0]};
        std::uint32_t t[8], two[8], pair[2];
        float inv[8];
        for (int k = 0; k < 8; ++k)
            t[k] = total[k % 4], two[k] = twice[k % 4], inv[k] = inverse[k % 4];
        QuotientPair(s, t, two, inv, pair);
        out[0] = pair[0];
        return;
    }
    // An odd last pixel is computed again with the one before it.
    for (int i = 0; i < n; i += 2) {
        const int at = std::min(i, n - 2);
        QuotientPair(sums + at, total + at * 4, twice + at * 4, inverse + at * 4, out + at);
    }
}

// Unsigned 32-bit lanes as doubles. SSE2 and AVX2 convert only signed lanes: flip the top
// bit, convert, and add its value back.
[[gnu::always_inline]] inline void ToDoubles(u32x4 v, f64x4& out) {
    out = __builtin_convertvector(reinterpret_cast<i32x4>(v ^ 0x80000000u), f64x4) + 2147483648.0;
}

// Sums down beyond 32 bits: in doubles, a pixel at a time, divided as in Quotients.
UTROZVON_WIDE_LOOP void SumDownWide(const u32x4* const* rows, const std::uint32_t* weight, int taps,
                                    const double* colTotal, const double* colHalfInverse,
                                    double rowTotal, double rowInverse, int n, std::uint32_t* out) {
    using u8x16 = std::uint8_t __attribute__((vector_size(16)));
    for (int i = 0; i < n; ++i) {
        const double total = colTotal[i] * rowTotal, twice = total == 0 ? 1.0 : 2.0 * total,
                     inverse = total == 0 ? 1.0 : colHalfInverse[i] * rowInverse;
        f64x4 acc = {};
        for (int t = 0; t < taps; ++t) {
            f64x4 v;
            ToDoubles(rows[t][i], v);
            acc += static_cast<double>(weight[t]) * v;
        }
        const f64x4 num = 2.0 * acc + total;
        f64x4 q = __builtin_convertvector(__builtin_convertvector(num * inverse, i32x4), f64x4);
        const f64x4 r = num - q * twice;
        q = r >= twice ? q + 1.0 : q;
        q = r < 0 ? q - 1.0 : q;
        const u8x16 v = reinterpret_cast<u8x16>(__builtin_convertvector(q, i32x4));
        const u8x16 b =
            __builtin_shufflevector(v, v, 0, 4, 8, 12, 0, 4, 8, 12, 0, 4, 8, 12, 0, 4, 8, 12);
        out[i] = reinterpret_cast<u32x4>(b)[0];
    }
}

}  // namespace

// Destination index i of n covers [s n + i m, s n + (i + 1) m) in units of 1/n; source
// pixel c covers [c n, (c + 1) n).
AreaAverager::Axis AreaAverager::MakeAxis(int n, int s, int m, int copyStart, int copyLen) {
    Axis a;
    a.first.reserve(static_cast<std::size_t>(n) + 1);
    a.total.reserve(static_cast<std::size_t>(n));
    // The index intervals and the copy's pixels overlap in fewer than n + copyLen pairs.
    a.taps.reserve(static_cast<std::size_t>(n) + static_cast<std::size_t>(std::max(copyLen, 0)));
    // The first source pixel c0 of each index, x0 = c0 n + r, moves on by m = mq n + mr.
    const long long mq = m / n, mr = m % n;
    long long c0 = s, r = 0;
    for (int i = 0; i < n; ++i) {
        a.first.push_back(static_cast<int>(a.taps.size()));
        const long long x0 = c0 * n + r, x1 = x0 + m;
        std::uint64_t total = 0;
        for (long long c = c0; c * n < x1; ++c) {
            const long long w = std::min((c + 1) * n, x1) - std::max(c * n, x0);
            if (w <= 0 || c < copyStart || c >= copyStart + copyLen) continue;
            a.taps.push_back(Tap{static_cast<int>(c - copyStart), static_cast<std::uint32_t>(w)});
            total += static_cast<std::uint64_t>(w);
        }
        a.total.push_back(total);
        c0 += mq;
        r += mr;
        if (r >= n) ++c0, r -= n;
        a.widest = std::max(a.widest, static_cast<int>(a.taps.size()) - a.first.back());
    }
    a.first.push_back(static_cast<int>(a.taps.size()));
    return a;
}

AreaAverager::AreaAverager(const std::uint32_t* src, std::ptrdiff_t stride, int copyX, int copyY,
                           int copyW, int copyH, int sx, int sy, int sw, int sh, int dw, int dh)
    : src_(src),
      stride_(stride),
      dw_(dw),
      cols_(MakeAxis(dw, sx, sw, copyX, copyW)),
      rows_(MakeAxis(dh, sy, sh, copyY, copyH)),
      slots_(std::max(rows_.widest, 1)),
      sums_(new u32x4[static_cast<std::size_t>(slots_) * ((dw + 1) / 2 * 2)]),
      held_(static_cast<std::size_t>(slots_), -1),
      rowAt_(static_cast<std::size_t>(slots_)),
      rowWeight_(static_cast<std::size_t>(slots_)) {
    // Every column gets as many taps as the widest, the missing ones of weight 0, and the
    // columns go in pairs (an odd last one with an empty partner).
    const int k = std::max(cols_.widest, 1), pairs = (dw + 1) / 2;
    colAt_.assign(static_cast<std::size_t>(pairs) * 2 * k, 0);
    colWeight_.assign(static_cast<std::size_t>(pairs) * k, u32x8{});
    colTotal_.resize(static_cast<std::size_t>(dw));
    colHalfInverse_.resize(static_cast<std::size_t>(dw));
    for (int i = 0; i < dw; ++i) {
        for (int t = cols_.first[i]; t < cols_.first[i + 1]; ++t) {
            const int tap = t - cols_.first[i];
            colAt_[static_cast<std::size_t>(i) * k + tap] = cols_.taps[t].at;
            u32x8& w = colWeight_[static_cast<std::size_t>(i / 2) * k + tap];
            for (int l = 0; l < 4; ++l) w[(i % 2) * 4 + l] = cols_.taps[t].weight;
        }
        colTotal_[i] = static_cast<double>(cols_.total[i]);
        colHalfInverse_[i] = cols_.total[i] ? 0.5 / colTotal_[i] : 0;
    }
    FindNeighbourColumns(copyW);
    const std::uint64_t colMost = cols_.total.empty()
                                      ? 0
                                      : *std::max_element(cols_.total.begin(), cols_.total.end()),
                        rowMost = rows_.total.empty()
                                      ? 0
                                      : *std::max_element(rows_.total.begin(), rows_.total.end());
    narrow_ = rowMost == 0 || colMost <= 0x7FFFFFFFu / 511 / rowMost;
    down_.resize(static_cast<std::size_t>(dw));
    total4_.resize(static_cast<std::size_t>(dw) * 4);
    twice4_.resize(total4_.size());
    inverse4_.resize(total4_.size());
}

// The longest run of columns SumAcrossNeighbours can sum: up to four taps on neighbouring
// pixels, whose four pixels from the first lie inside the row, each weight below 2^15. The
// run starts at a pair of columns and ends at one or at the last column.
void AreaAverager::FindNeighbourColumns(int copyW) {
    auto fits = [&](int i) {
        const int first = cols_.first[i], n = cols_.first[i + 1] - first;
        const int at = n ? cols_.taps[first].at : 0;
        if (n > 4 || at + 4 > copyW) return false;
        for (int t = 0; t < n; ++t)
            if (cols_.taps[first + t].at != at + t || cols_.taps[first + t].weight > 0x7FFF)
                return false;
        return true;
    };
    int bestLo = 0, bestHi = 0;
    for (int i = 0; i < dw_;) {
        if (!fits(i)) {
            ++i;
            continue;
        }
        int j = i;
        while (j < dw_ && fits(j)) ++j;
        const int lo = (i + 1) / 2 * 2, hi = j == dw_ ? j : j / 2 * 2;
        if (hi - lo > bestHi - bestLo) bestLo = lo, bestHi = hi;
        i = j;
    }
    nearLo_ = bestLo;
    nearHi_ = bestHi;
    nearFirst_.clear();
    nearWeight_.assign(static_cast<std::size_t>(bestHi - bestLo) * 16, 0);
    for (int i = bestLo; i < bestHi; ++i) {
        const int first = cols_.first[i], n = cols_.first[i + 1] - first;
        nearFirst_.push_back(n ? cols_.taps[first].at : 0);
        std::int16_t* w = &nearWeight_[static_cast<std::size_t>(i - bestLo) * 16];
        for (int t = 0; t < n; ++t)
            for (int l = 0; l < 4; ++l)
                w[(t / 2) * 8 + l * 2 + t % 2] =
                    static_cast<std::int16_t>(cols_.taps[first + t].weight);
    }
}

const AreaAverager::u32x4* AreaAverager::RowSums(int row) {
    const int slot = row % slots_, pairs = (dw_ + 1) / 2;
    u32x4* out = &sums_[static_cast<std::size_t>(slot) * pairs * 2];
    if (held_[static_cast<std::size_t>(slot)] == row) return out;
    held_[static_cast<std::size_t>(slot)] = row;
    const std::uint32_t* line = src_ + row * stride_;
    const int k = std::max(cols_.widest, 1), loPair = nearLo_ / 2, hiPair = (nearHi_ + 1) / 2;
    SumAcross(line, colAt_.data(), colWeight_.data(), k, loPair, out);
    SumAcrossNeighbours(line, nearFirst_.data(), nearWeight_.data(), nearHi_ - nearLo_,
                        out + nearLo_);
    SumAcross(line, colAt_.data() + static_cast<std::ptrdiff_t>(hiPair) * 2 * k,
              colWeight_.data() + static_cast<std::ptrdiff_t>(hiPair) * k, k, pairs - hiPair,
              out + 2 * hiPair);
    return out;
}

void AreaAverager::SetRowTotal(std::uint64_t rowTotal) {
    if (rowTotal == quotientRow_) return;
    quotientRow_ = rowTotal;
    for (int i = 0; i < dw_; ++i) {
        // Below 2^31 / 511 (see narrow_).
        const auto t = static_cast<std::uint32_t>(cols_.total[i] * rowTotal);
        for (int k = 0; k < 4; ++k) {
            const std::size_t at = static_cast<std::size_t>(i) * 4 + k;
            total4_[at] = t;
            twice4_[at] = t == 0 ? 1 : 2 * t;
            inverse4_[at] = static_cast<float>(1.0 / twice4_[at]);
        }
    }
}

void AreaAverager::Row(int j, int i0, int n, std::uint32_t* out) {
    const int first = rows_.first[j], taps = rows_.first[j + 1] - first;
    for (int t = 0; t < taps; ++t) {
        rowAt_[static_cast<std::size_t>(t)] = RowSums(rows_.taps[first + t].at) + i0;
        rowWeight_[static_cast<std::size_t>(t)] = rows_.taps[first + t].weight;
    }
    const double total = static_cast<double>(rows_.total[j]);
    if (!narrow_) {
        SumDownWide(rowAt_.data(), rowWeight_.data(), taps, colTotal_.data() + i0,
                    colHalfInverse_.data() + i0, total, total ? 1.0 / total : 0, n, out);
        return;
    }
    SetRowTotal(rows_.total[j]);
    SumDownNarrow(rowAt_.data(), rowWeight_.data(), taps, n, down_.data());
    const std::size_t at = static_cast<std::size_t>(i0) * 4;
    Quotients(down_.data(), total4_.data() + at, twice4_.data() + at, inverse4_.data() + at, n,
              out);
}

std::uint32_t AreaAverager::At(int i, int j) {
    std::uint32_t p;
    Row(j, i, 1, &p);
    return p;
}

}  // namespace platform::gdi
