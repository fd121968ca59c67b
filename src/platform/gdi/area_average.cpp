#include "platform/gdi/area_average.h"

#include <algorithm>

namespace platform::gdi {

namespace {

long long FloorDiv(long long a, long long b) {
    return a >= 0 ? a / b : -((-a + b - 1) / b);
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
      sums_(new std::uint32_t[static_cast<std::size_t>(std::max(copyH, 0)) * dw * 4]),
      done_(static_cast<std::size_t>(std::max(copyH, 0)), false) {}

// Two channels share one 64-bit multiply: blue and red (green and alpha) sit 32 bits apart,
// and no sum of a row reaches 2^32.
const std::uint32_t* AreaAverager::RowSums(int row) {
    std::uint32_t* out = &sums_[static_cast<std::size_t>(row) * dw_ * 4];
    if (done_[static_cast<std::size_t>(row)]) return out;
    done_[static_cast<std::size_t>(row)] = true;
    const std::uint32_t* line = src_ + static_cast<std::ptrdiff_t>(row) * copyW_;
    for (int i = 0; i < dw_; ++i) {
        std::uint64_t br = 0, ga = 0;
        for (int t = cols_.first[i]; t < cols_.first[i + 1]; ++t) {
            const std::uint64_t p = line[cols_.taps[t].at], w = cols_.taps[t].weight;
            br += w * ((p & 0xFF) | ((p & 0xFF0000) << 16));
            ga += w * (((p >> 8) & 0xFF) | ((p & 0xFF000000) << 8));
        }
        out[i * 4] = static_cast<std::uint32_t>(br),
                out[i * 4 + 2] = static_cast<std::uint32_t>(br >> 32);
        out[i * 4 + 1] = static_cast<std::uint32_t>(ga),
                    out[i * 4 + 3] = static_cast<std::uint32_t>(ga >> 32);
    }
    return out;
}

std::uint32_t AreaAverager::At(int i, int j) {
    const std::uint64_t total = cols_.total[i] * rows_.total[j];
    if (total == 0) return 0;
    std::uint64_t acc[4] = {0, 0, 0, 0};
    for (int t = rows_.first[j]; t < rows_.first[j + 1]; ++t) {
        const std::uint32_t* sums = RowSums(rows_.taps[t].at) + i * 4;
        const std::uint64_t w = rows_.taps[t].weight;
        for (int k = 0; k < 4; ++k) acc[k] += w * sums[k];
    }
    // (2 S + T) / 2 T rounded down is S / T rounded half up. Both are whole numbers below
    // 2^53, so the correctly rounded double quotient never reaches a whole number the exact
    // one does not, and truncation floors it.
    const double twice = 2.0 * static_cast<double>(total);
    std::uint32_t out = 0;
    for (int k = 0; k < 4; ++k)
        out |= static_cast<std::uint32_t>(
                   (2.0 * static_cast<double>(acc[k]) + static_cast<double>(total)) / twice)
               << (8 * k);
    return out;
}

}  // namespace platform::gdi
