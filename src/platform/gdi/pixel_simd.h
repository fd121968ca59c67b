// Eight bytes at a time in 16-bit lanes (one 128-bit register), through GCC's portable vector
// extensions: the compiler picks SSE2, AVX2 or NEON instructions for the target, and the arithmetic
// is the exact integer arithmetic of the scalar loops it replaces.
#pragma once

#include <cstdint>
#include <cstring>

// Loops that gain from wider registers are compiled twice on x86-64, for the baseline and
// for AVX2, and the loader picks the copy the processor runs. The arithmetic is the same in
// both (no fused multiply-add: C++20 mode keeps floating-point contraction off).
#if defined(__x86_64__) && defined(__GNUC__) && !defined(__clang__)
#define UTROZVON_WIDE_LOOP __attribute__((target_clones("default", "avx2")))
// Loops written for 512-bit vectors also get a copy for processors that have them.
#define UTROZVON_WIDEST_LOOP __attribute__((target_clones("default", "avx2", "arch=x86-64-v4")))
#else
#define UTROZVON_WIDE_LOOP
#define UTROZVON_WIDEST_LOOP
#endif

// Byte shuffles are one instruction from SSSE3 on (and on NEON); without them the compiler
// spells a shuffle out byte by byte through memory, slower than plain loads. Loops built on
// them are called only when ByteShufflesAvailable(), a plain loop otherwise; they get copies
// for SSSE3 and for AVX2 (three-operand forms), and the loader picks one.
#if defined(__x86_64__) && defined(__GNUC__) && !defined(__clang__)
#define UTROZVON_SHUFFLE_LOOP __attribute__((target_clones("default", "ssse3", "avx2")))
#else
#define UTROZVON_SHUFFLE_LOOP
#endif

namespace platform::simd {

inline bool ByteShufflesAvailable() {
#if defined(__x86_64__) && defined(__GNUC__) && !defined(__clang__)
    return __builtin_cpu_supports("ssse3");
#else
    return true;
#endif
}

using u8x8 = std::uint8_t __attribute__((vector_size(8)));
using u16x8 = std::uint16_t __attribute__((vector_size(16)));

inline u16x8 Load8(const std::uint8_t* p) {
    u8x8 v;
    std::memcpy(&v, p, sizeof v);
    return __builtin_convertvector(v, u16x8);
}

// Stores the low byte of each lane.
inline void Store8(std::uint8_t* p, u16x8 v) {
    u8x8 n = __builtin_convertvector(v, u8x8);
    std::memcpy(p, &n, sizeof n);
}

// x / 255 rounded to nearest for 0 <= x <= 255 * 255: (x + 128 + ((x + 128) >> 8)) >> 8.
// The largest intermediate, 65407, still fits a 16-bit lane.
inline unsigned Div255(unsigned x) {
    return (x + 128 + ((x + 128) >> 8)) >> 8;
}
inline u16x8 Div255(u16x8 x) {
    x += 128;
    return (x + (x >> 8)) >> 8;
}

// min(v, 255) for lanes up to 511, in the low byte: a lane past 255 gets all its bits set.
inline u16x8 SaturateByte(u16x8 v) {
    return v | (u16x8{} - (v >> 8));
}

}  // namespace platform::simd
