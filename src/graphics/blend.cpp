// The pixel combinations of the raster layer. Rows are the hot path of every paint, so the
// blend works on two channels at a time in one 32-bit word (four pixels at a time with
// SSE2, which every x86-64 processor has, eight with AVX2 where the processor has it) and skips the
// two common cases, fully transparent and fully opaque source pixels, before any arithmetic.
#include "graphics/blend.h"

#include <cstring>

#if defined(__SSE2__) || defined(_M_X64)
#include <emmintrin.h>
#define ORVO_BLEND_SSE2 1
#endif
#if defined(__GNUC__) && (defined(__x86_64__) || defined(__i386__))
#include <immintrin.h>
#define ORVO_BLEND_AVX2 1
#endif

namespace orvo {
namespace {

// Rounds each 16-bit lane of x (two channels of up to 255 * 255) divided by 255.
inline uint32_t Div255Lanes(uint32_t x) {
  x += 0x00800080u;
  return ((x + ((x >> 8) & 0x00FF00FFu)) >> 8) & 0x00FF00FFu;
}

inline Argb BlendPartial(Argb f, Argb b, uint32_t fa) {
  const uint32_t ba = 255 - fa;
  // Alpha lane of F replaced by 255 so that the A channel comes out as Fa + Ba * (1 - Fa).
  const uint32_t f_ag = ((f >> 8) & 0x00FF00FFu) | 0x00FF0000u;
  const uint32_t rb = Div255Lanes((f & 0x00FF00FFu) * fa + (b & 0x00FF00FFu) * ba);
  const uint32_t ag = Div255Lanes(f_ag * fa + ((b >> 8) & 0x00FF00FFu) * ba);
  return rb | (ag << 8);
}

inline Argb MergePartial(Argb f, Argb b, uint32_t fa) {
  const uint32_t wb = AlphaOf(b) * (255 - fa);  // background weight, 0 .. 255 * 255
  const uint32_t wf = fa * 255;
  const uint32_t sum = wf + wb;
  const uint32_t half = sum / 2;
  const uint32_t r = (RedOf(f) * wf + RedOf(b) * wb + half) / sum;
  const uint32_t g = (GreenOf(f) * wf + GreenOf(b) * wb + half) / sum;
  const uint32_t bl = (BlueOf(f) * wf + BlueOf(b) * wb + half) / sum;
  return MakeArgb(Div255(sum), r, g, bl);
}

}  // namespace

Argb BlendPixel(Argb f, Argb b) {
  const uint32_t fa = AlphaOf(f);
  if (fa == 0) return b;
  if (fa == 255) return f;
  return BlendPartial(f, b, fa);
}

Argb MergePixel(Argb f, Argb b) {
  const uint32_t fa = AlphaOf(f);
  if (fa == 0) return b;
  if (fa == 255) return f;
  const uint32_t ba = AlphaOf(b);
  if (ba == 0) return f;
  if (ba == 255) return BlendPartial(f, b, fa);
  return MergePartial(f, b, fa);
}

#ifdef ORVO_BLEND_SSE2
namespace {

// Four pixels of F blended over four of B (the blend formula with F's alpha standing in
// for 255 in the A channel, as BlendPartial does one pixel at a time). x / 255 rounded is
// ((x + 128) * 257) >> 16, exactly, for every x the formula produces.
inline __m128i Blend4(__m128i f, __m128i b) {
  const __m128i zero = _mm_setzero_si128();
  const __m128i alpha_lane = _mm_set_epi16(255, 0, 0, 0, 255, 0, 0, 0);
  const __m128i rgb_lanes = _mm_set_epi16(0, -1, -1, -1, 0, -1, -1, -1);
  const __m128i c255 = _mm_set1_epi16(255), c128 = _mm_set1_epi16(128), c257 = _mm_set1_epi16(257);
  const auto half = [&](__m128i f16, __m128i b16) {
    __m128i a = _mm_shufflelo_epi16(f16, _MM_SHUFFLE(3, 3, 3, 3));
    a = _mm_shufflehi_epi16(a, _MM_SHUFFLE(3, 3, 3, 3));
    const __m128i fa = _mm_or_si128(_mm_and_si128(f16, rgb_lanes), alpha_lane);
    const __m128i r =
        _mm_add_epi16(_mm_mullo_epi16(fa, a), _mm_mullo_epi16(b16, _mm_sub_epi16(c255, a)));
    return _mm_mulhi_epu16(_mm_add_epi16(r, c128), c257);
  };
  const __m128i lo = half(_mm_unpacklo_epi8(f, zero), _mm_unpacklo_epi8(b, zero));
  const __m128i hi = half(_mm_unpackhi_epi8(f, zero), _mm_unpackhi_epi8(b, zero));
  return _mm_packus_epi16(lo, hi);
}

// The alpha bytes of four pixels: which are 255 and which are 0 (16-bit byte masks).
struct AlphaMasks {
  int opaque;
  int clear;
};

inline AlphaMasks MasksOf(__m128i p) {
  const __m128i high = _mm_set1_epi32(static_cast<int>(0xFF000000u));
  const __m128i alpha = _mm_and_si128(p, high);
  return {_mm_movemask_epi8(_mm_cmpeq_epi32(alpha, high)),
          _mm_movemask_epi8(_mm_cmpeq_epi32(alpha, _mm_setzero_si128()))};
}

// Blends as many whole groups of four as the row has; returns how many pixels it did.
int BlendRowSse2(const Argb* src, Argb* dst, int count, bool merge) {
  int i = 0;
  for (; i + 4 <= count; i += 4) {
    const __m128i f = _mm_loadu_si128(reinterpret_cast<const __m128i*>(src + i));
    const AlphaMasks masks = MasksOf(f);
    if (masks.opaque == 0xFFFF) {
      _mm_storeu_si128(reinterpret_cast<__m128i*>(dst + i), f);
      continue;
    }
    if (masks.clear == 0xFFFF) continue;
    const __m128i b = _mm_loadu_si128(reinterpret_cast<const __m128i*>(dst + i));
    if (merge && MasksOf(b).opaque != 0xFFFF) {
      // Merging onto partly transparent pixels needs a division; rare on screens.
      for (int k = 0; k < 4; ++k) dst[i + k] = MergePixel(src[i + k], dst[i + k]);
      continue;
    }
    _mm_storeu_si128(reinterpret_cast<__m128i*>(dst + i), Blend4(f, b));
  }
  return i;
}

}  // namespace
#endif

#ifdef ORVO_BLEND_AVX2
namespace {

// Eight pixels at a time where the processor has AVX2 (chosen when the program runs; the
// build itself targets plain x86-64). Same arithmetic as Blend4, twice as wide.
__attribute__((target("avx2"))) inline __m256i Blend8(__m256i f, __m256i b) {
  const __m256i zero = _mm256_setzero_si256();
  const __m256i alpha_lane =
      _mm256_set_epi16(255, 0, 0, 0, 255, 0, 0, 0, 255, 0, 0, 0, 255, 0, 0, 0);
  const __m256i rgb_lanes =
      _mm256_set_epi16(0, -1, -1, -1, 0, -1, -1, -1, 0, -1, -1, -1, 0, -1, -1, -1);
  const __m256i c255 = _mm256_set1_epi16(255), c128 = _mm256_set1_epi16(128),
                c257 = _mm256_set1_epi16(257);
  const auto half = [&](__m256i f16, __m256i b16) __attribute__((target("avx2"))) {
    __m256i a = _mm256_shufflelo_epi16(f16, _MM_SHUFFLE(3, 3, 3, 3));
    a = _mm256_shufflehi_epi16(a, _MM_SHUFFLE(3, 3, 3, 3));
    const __m256i fa = _mm256_or_si256(_mm256_and_si256(f16, rgb_lanes), alpha_lane);
    const __m256i r = _mm256_add_epi16(_mm256_mullo_epi16(fa, a),
                                       _mm256_mullo_epi16(b16, _mm256_sub_epi16(c255, a)));
    return _mm256_mulhi_epu16(_mm256_add_epi16(r, c128), c257);
  };
  // unpack and pack work within each 128-bit half, so the pixel order comes back intact.
  const __m256i lo = half(_mm256_unpacklo_epi8(f, zero), _mm256_unpacklo_epi8(b, zero));
  const __m256i hi = half(_mm256_unpackhi_epi8(f, zero), _mm256_unpackhi_epi8(b, zero));
  return _mm256_packus_epi16(lo, hi);
}

__attribute__((target("avx2"))) int BlendRowAvx2(const Argb* src, Argb* dst, int count,
                                                 bool merge) {
  const __m256i high = _mm256_set1_epi32(static_cast<int>(0xFF000000u));
  int i = 0;
  for (; i + 8 <= count; i += 8) {
    const __m256i f = _mm256_loadu_si256(reinterpret_cast<const __m256i*>(src + i));
    const __m256i alpha = _mm256_and_si256(f, high);
    if (_mm256_movemask_epi8(_mm256_cmpeq_epi32(alpha, high)) == -1) {
      _mm256_storeu_si256(reinterpret_cast<__m256i*>(dst + i), f);
      continue;
    }
    if (_mm256_movemask_epi8(_mm256_cmpeq_epi32(alpha, _mm256_setzero_si256())) == -1) continue;
    const __m256i b = _mm256_loadu_si256(reinterpret_cast<const __m256i*>(dst + i));
    if (merge && _mm256_movemask_epi8(_mm256_cmpeq_epi32(_mm256_and_si256(b, high), high)) != -1) {
      for (int k = 0; k < 8; ++k) dst[i + k] = MergePixel(src[i + k], dst[i + k]);
      continue;
    }
    _mm256_storeu_si256(reinterpret_cast<__m256i*>(dst + i), Blend8(f, b));
  }
  return i;
}

bool HasAvx2() {
  static const bool has = __builtin_cpu_supports("avx2");
  return has;
}

}  // namespace
#endif

void CombineRow(const Argb* src, Argb* dst, int count, DrawMode draw, CombineMode combine) {
  if (count <= 0) return;
  if (draw == DrawMode::kOpaque) {
    std::memmove(dst, src, static_cast<size_t>(count) * sizeof(Argb));
    return;
  }
  int done = 0;
  const bool merge = combine == CombineMode::kMerge;
#ifdef ORVO_BLEND_AVX2
  if (HasAvx2()) done = BlendRowAvx2(src, dst, count, merge);
#endif
#ifdef ORVO_BLEND_SSE2
  done += BlendRowSse2(src + done, dst + done, count - done, merge);
#endif
  if (combine == CombineMode::kBlend) {
    for (int i = done; i < count; ++i) dst[i] = BlendPixel(src[i], dst[i]);
  } else {
    for (int i = done; i < count; ++i) dst[i] = MergePixel(src[i], dst[i]);
  }
}

}  // namespace orvo
