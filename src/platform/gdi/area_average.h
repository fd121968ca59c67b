// HALFTONE stretching: every destination pixel is the average of the source area it covers,
// each source pixel weighted by the part of it inside that area.
//
// The average is computed exactly: positions are kept in integer units (1/n of a source
// pixel for a destination extent n), so every weight is an integer and so is every weighted
// sum; the result is the quotient rounded half up. Integer sums do not depend on their
// order, which lets the work be split by axis: each source row is first summed across for
// all destination columns (once for all the destination rows that use it while it is kept),
// then those row sums are summed down. Source pixels outside the source bitmap do not count;
// a destination pixel that covers none of them is 0.
//
// A row's sum for one destination column is at most 255 times the source width in units of
// 1/dw, and 32 bits hold it for any bitmap this library makes. A destination pixel's total
// weight T is the source area it covers in units of 1/(dw dh), and its sums down reach 255 T:
// while 511 T stays below 2^31 for every pixel (a source of up to about 4 million pixels) the
// sums down and the rounding quotient are worked out in 32-bit lanes; beyond, in doubles,
// where every sum is a whole number below 2^53 and so exact.
#pragma once

#include <cstddef>
#include <cstdint>
#include <memory>
#include <vector>

namespace platform::gdi {

class AreaAverager {
  public:
    using u32x4 = std::uint32_t __attribute__((vector_size(16)));
    using u32x8 = std::uint32_t __attribute__((vector_size(32)));

    // src: the source pixels inside the bitmap as 0xAARRGGBB, copyW x copyH from source
    // (copyX, copyY), rows `stride` pixels apart; the source rectangle is (sx, sy, sw, sh)
    // and the destination dw x dh.
    AreaAverager(const std::uint32_t* src, std::ptrdiff_t stride, int copyX, int copyY, int copyW,
                 int copyH, int sx, int sy, int sw, int sh, int dw, int dh);

    // Destination pixels i0 .. i0 + n - 1 of destination row j, counted from the destination
    // rectangle's top left, into out.
    void Row(int j, int i0, int n, std::uint32_t* out);

    // Destination pixel (i, j).
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
        int widest = 0;                    // the most taps of one index
    };
    static Axis MakeAxis(int n, int s, int m, int copyStart, int copyLen);
    const u32x4* RowSums(int row);

    void SetRowTotal(std::uint64_t rowTotal);
    void FindNeighbourColumns(int copyW);

    const std::uint32_t* src_;
    std::ptrdiff_t stride_;
    int dw_;
    Axis cols_, rows_;
    // The column taps as the summing loop reads them, as many to every column (the missing
    // ones weigh 0), and each column's total and 1 / (2 total).
    std::vector<int> colAt_;
    std::vector<u32x8> colWeight_;  // per pair of columns and tap, four lanes each
    std::vector<double> colTotal_, colHalfInverse_;
    // Columns nearLo_ .. nearHi_ - 1 are summed from their first tap's pixel and the three
    // after it, with the weights of taps 0 and 1, then 2 and 3, each four times side by side.
    int nearLo_ = 0, nearHi_ = 0;
    std::vector<int> nearFirst_;
    std::vector<std::int16_t> nearWeight_;
    // The row sums of the last source rows, copy row r in slot r % slots: the rows of one
    // destination row are consecutive and at most `slots`, so they never share a slot. Each
    // slot holds the 4 channel sums for every destination column.
    int slots_;
    std::unique_ptr<u32x4[]> sums_;
    std::vector<int> held_;  // copy row in each slot, or -1
    // The row sums and weights of the destination row being summed down.
    std::vector<const u32x4*> rowAt_;
    std::vector<std::uint32_t> rowWeight_;
    bool narrow_ = false;      // 511 times every total fits 31 bits
    std::vector<u32x4> down_;  // the sums down of the destination row
    // For the destination rows of one row total: each column's total T, 2 T and about
    // 1 / 2 T, four times (see Quotients).
    std::uint64_t quotientRow_ = ~std::uint64_t{0};
    std::vector<std::uint32_t> total4_, twice4_;
    std::vector<float> inverse4_;
};

}  // namespace platform::gdi
