#include "platform/gdi/area_average.h"

#include <algorithm>
#include <cstring>

#include "platform/gdi/pixel_simd.h"

namespace platform::gdi {

namespace {

using f64x4 = AreaAverager::f64x4;
using i32x4 = std::int32_t __attribute__((vector_size(16)));
using u32x4 = std::uint32_t __attribute__((vector_size(16)));
using u8x4 = std::uint8_t __attribute__((vector_size(4)));

long long FloorDiv(long long a, long long b) {
    return a >= 0 ? a / b : -((-a + b - 1) / b);
}

// Each destination column: the sum of its taps' pixels times their weights. The sums are
// whole numbers below 2^32 (see the header), so they are added in 32-bit lanes and turned
// into doubles once a column.
UTROZVON_WIDE_LOOP void SumAcross(const std::uint32_t* line, const int* first, const int* at,
                                  const std::uint32_t* weight, int n, f64x4* out) {
    const u32x4 shift = {0, 8, 16, 24};
    for (int i = 0; i < n; ++i) {
        u32x4 acc = {};
        for (int t = first[i]; t < first[i + 1]; ++t)
            acc += weight[t] * ((line[at[t]] >> shift) & 255);
        // No unsigned conversion in SSE2 or AVX2: flip the top bit, convert signed, add it back.
        out[i] = __builtin_convertvector(reinterpret_cast<i32x4>(acc ^ 0x80000000u), f64x4) + 2147483648.0;
    }
}

// (2 S + T) / 2 T rounded down is S / T rounded half up. Both are whole numbers below 2^53,
// so the correctly rounded double quotient never reaches a whole number the exact one does
// not, and truncation floors it.
UTROZVON_WIDE_LOOP void SumDown(const f64x4* const* rows, const double* weight, int taps,
                                const double* colTotal, double rowTotal, int n,
                                std::uint32_t* out) {
    for (int i = 0; i < n; ++i) {
        // Nothing covered: every sum is 0, and so is the quotient by 1.
        const double total = colTotal[i] * rowTotal, twice = total == 0 ? 1.0 : 2.0 * total;
        f64x4 acc = {};
        for (int t = 0; t < taps; ++t) acc += weight[t] * rows[t][i];
        const u8x4 b = __builtin_convertvector(__builtin_convertvector((2.0 * acc + total) / twice, i32x4), u8x4);
        std::memcpy(out + i, &b, sizeof b);
    }
}

}  // namespace

// Destination index i of n covers [s n + i m, s n + (i + 1) m) in units of 1/n; source
// pixel c covers [c n, (c + 1) n).
AreaAverager::Axis AreaAverager::MakeAxis(int n, int s, int m, int copyStart, int copyLen) {
    Axis a;
    a.first.reserve(static_cast<std::size_t>(n) + 1);
    a.total.reserve(static_cast<std::size_t>(n));
    for (int i = 0; i < n; ++i) {
        a.first.push_back(static_cast<int>(a.taps.size()));
        const long long x0 = static_cast<long long>(s) * n + static_cast<long long>(i) * m,
                        x1 = x0 + m;
        std::uint64_t total = 0;
        for (long long c = FloorDiv(x0, n); c * n < x1; ++c) {
            const long long w = std::min((c + 1) * n, x1) - std::max(c * n, x0);
            if (w <= 0 || c < copyStart || c >= copyStart + copyLen) continue;
            a.taps.push_back(Tap{static_cast<int>(c - copyStart), static_cast<std::uint32_t>(w)});
            total += static_cast<std::uint64_t>(w);
        }
        a.total.push_back(total);
        a.widest = std::max(a.widest, static_cast<int>(a.taps.size()) - a.first.back());
    }
    a.first.push_back(static_cast<int>(a.taps.size()));
    return a;
}

AreaAverager::AreaAverager(const std::uint32_t* src, int copyX, int copyY, int copyW, int copyH,
                           int sx, int sy, int sw, int sh, int dw, int dh)
    : src_(src),
      copyW_(copyW),
      dw_(dw),
      cols_(MakeAxis(dw, sx, sw, copyX, copyW)),
      rows_(MakeAxis(dh, sy, sh, copyY, copyH)),
      slots_(std::max(rows_.widest, 1)),
      sums_(new f64x4[static_cast<std::size_t>(slots_) * dw]),
      held_(static_cast<std::size_t>(slots_), -1),
      rowAt_(static_cast<std::size_t>(slots_)),
      rowWeight_(static_cast<std::size_t>(slots_)) {
    colAt_.reserve(cols_.taps.size());
    colWeight_.reserve(cols_.taps.size());
    for (const Tap& t : cols_.taps) colAt_.push_back(t.at), colWeight_.push_back(t.weight);
    colTotal_.assign(cols_.total.begin(), cols_.total.end());
}

const f64x4* AreaAverager::RowSums(int row) {
    const int slot = row % slots_;
    f64x4* out = &sums_[static_cast<std::size_t>(slot) * dw_];
    if (held_[static_cast<std::size_t>(slot)] == row) return out;
    held_[static_cast<std::size_t>(slot)] = row;
    SumAcross(src_ + static_cast<std::ptrdiff_t>(row) * copyW_, cols_.first.data(), colAt_.data(),
              colWeight_.data(), dw_, out);
    return out;
}

void AreaAverager::Row(int j, int i0, int n, std::uint32_t* out) {
    const int first = rows_.first[j], taps = rows_.first[j + 1] - first;
    for (int t = 0; t < taps; ++t) {
        rowAt_[static_cast<std::size_t>(t)] = RowSums(rows_.taps[first + t].at) + i0;
        rowWeight_[static_cast<std::size_t>(t)] = rows_.taps[first + t].weight;
    }
    SumDown(rowAt_.data(), rowWeight_.data(), taps, colTotal_.data() + i0,
            static_cast<double>(rows_.total[j]), n, out);
}

std::uint32_t AreaAverager::At(int i, int j) {
    std::uint32_t p;
    Row(j, i, 1, &p);
    return p;
}

}  // namespace platform::gdi
