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
// 1/dw, and 32 bits hold it for any bitmap this library makes. The sums down are kept in
// doubles, four channels to a vector: every weight, product and sum is a whole number below
// 2^53 (at most 255 times the source area in units of 1/(dw dh)), so a double holds each
// exactly and the order of the additions cannot change it.
#pragma once

#include <cstdint>
#include <memory>
#include <vector>

namespace platform::gdi {

class AreaAverager {
  public:
    using f64x4 = double __attribute__((vector_size(32)));

    // src: the source pixels inside the bitmap as 0xAARRGGBB, copyW x copyH from source
    // (copyX, copyY); the source rectangle is (sx, sy, sw, sh) and the destination dw x dh.
    AreaAverager(const std::uint32_t* src, int copyX, int copyY, int copyW, int copyH, int sx,
                 int sy, int sw, int sh, int dw, int dh);

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
    const f64x4* RowSums(int row);

    const std::uint32_t* src_;
    int copyW_, dw_;
    Axis cols_, rows_;
    // The column taps and totals as the summing loops read them.
    std::vector<int> colAt_;
    std::vector<std::uint32_t> colWeight_;
    std::vector<double> colTotal_;
    // The row sums of the last source rows, copy row r in slot r % slots: the rows of one
    // destination row are consecutive and at most `slots`, so they never share a slot. Each
    // slot holds the 4 channel sums for every destination column.
    int slots_;
    std::unique_ptr<f64x4[]> sums_;
    std::vector<int> held_;  // copy row in each slot, or -1
    // The row sums and weights of the destination row being summed down.
    std::vector<const f64x4*> rowAt_;
    std::vector<double> rowWeight_;
};

}  // namespace platform::gdi
