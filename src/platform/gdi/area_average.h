// HALFTONE stretching: every destination pixel is the average of the source area it covers,
// each source pixel weighted by the part of it inside that area.
//
// The average is computed exactly: positions are kept in integer units (1/n of a source
// pixel for a destination extent n), so every weight is an integer and so is every weighted
// sum; the result is the quotient rounded half up. Integer sums do not depend on their
// order, which lets the work be split by axis: each source row is first summed across for
// all destination columns (once, however many destination rows use it), then those row sums
// are summed down. Source pixels outside the source bitmap do not count; a destination
// pixel that covers none of them is 0.
#pragma once

#include <cstdint>
#include <memory>
#include <vector>

namespace platform::gdi {

class AreaAverager {
  public:
    // src: the source pixels inside the bitmap as 0xAARRGGBB, copyW x copyH from source
    // (copyX, copyY); the source rectangle is (sx, sy, sw, sh) and the destination dw x dh.
    AreaAverager(const std::uint32_t* src, int copyX, int copyY, int copyW, int copyH, int sx,
                 int sy, int sw, int sh, int dw, int dh);

    // Destination pixel (i, j), both counted from the destination rectangle's top left.
    std::uint32_t At(int i, int j);

  private:
    struct Tap {
        int at;                // column or row of the copy
        std::uint32_t weight;  // in units of 1/dw (columns) or 1/dh (rows)
    };
    struct Axis {
        std::vector<int> first;  // taps of index i: taps[first[i]] .. taps[first[i + 1]]
        std::vector<Tap> taps;
        std::vector<std::uint64_t> total;  // sum of the weights of index i
    };
    static Axis MakeAxis(int n, int s, int m, int copyStart, int copyLen);
    const std::uint32_t* RowSums(int row);

    const std::uint32_t* src_;
    int copyW_, dw_;
    Axis cols_, rows_;
    // Per copy row, once needed: the 4 channel sums for each destination column (at most
    // 255 times the source width in units of 1/dw, so 32 bits hold them).
    std::unique_ptr<std::uint32_t[]> sums_;
    std::vector<bool> done_;
};

}  // namespace platform::gdi
