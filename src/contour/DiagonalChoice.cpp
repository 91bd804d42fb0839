#include <cstdint>

#include "contour/Separate.h"

#if defined(__x86_64__)
#include <immintrin.h>
#endif

namespace corvane {
namespace {

#if defined(__x86_64__)
// Four cells side by side, one per lane: every lane does ChooseDiagonal's operations in its order
// and each of them rounds as the scalar one does (no fused multiply-add), so the choices agree.
struct Lanes3 {
  __m256d x, y, z;
};

__attribute__((target("avx2"))) inline Lanes3 Minus(const Lanes3& a, const Lanes3& b) {
  return {_mm256_sub_pd(a.x, b.x), _mm256_sub_pd(a.y, b.y), _mm256_sub_pd(a.z, b.z)};
}
__attribute__((target("avx2"))) inline Lanes3 Cross(const Lanes3& u, const Lanes3& v) {
  return {_mm256_sub_pd(_mm256_mul_pd(u.y, v.z), _mm256_mul_pd(u.z, v.y)),
          _mm256_sub_pd(_mm256_mul_pd(u.z, v.x), _mm256_mul_pd(u.x, v.z)),
          _mm256_sub_pd(_mm256_mul_pd(u.x, v.y), _mm256_mul_pd(u.y, v.x))};
}
__attribute__((target("avx2"))) inline __m256d Length(const Lanes3& u) {
  return _mm256_sqrt_pd(
      _mm256_add_pd(_mm256_add_pd(_mm256_mul_pd(u.x, u.x), _mm256_mul_pd(u.y, u.y)), _mm256_mul_pd(u.z, u.z)));
}
__attribute__((target("avx2"))) inline Lanes3 Normalized(const Lanes3& u) {
  const __m256d length = Length(u);
  return {_mm256_div_pd(u.x, length), _mm256_div_pd(u.y, length), _mm256_div_pd(u.z, length)};
}

// Corner n (0 = A, 1 = B, 2 = C, 3 = D) of the four cells at c.
__attribute__((target("avx2"))) inline Lanes3 Corner(const double* X, const double* Y, const double* V,
                                                     const std::int32_t* c, int n) {
  const std::int32_t a = c[n], b = c[4 + n], d = c[8 + n], e = c[12 + n];
  return {_mm256_set_pd(X[e], X[d], X[b], X[a]), _mm256_set_pd(Y[e], Y[d], Y[b], Y[a]),
          _mm256_set_pd(V[e], V[d], V[b], V[a])};
}

// The cells four at a time, as long as four are left; gives how many were done.
__attribute__((target("avx2"))) std::size_t ChooseDiagonalsAvx2(const double* X, const double* Y, const double* V,
                                                                const std::int32_t* cells, std::size_t count,
                                                                std::uint8_t* choices) {
  std::size_t k = 0;
  for (; k + 4 <= count; k += 4) {
    const std::int32_t* c = cells + 4 * k;
    const Lanes3 A = Corner(X, Y, V, c, 0), B = Corner(X, Y, V, c, 1), C = Corner(X, Y, V, c, 2), D = Corner(X, Y, V, c, 3);
    const Lanes3 a = Minus(B, A), b = Minus(D, A), cc = Minus(D, C), d = Minus(B, C);
    const __m256d f1 = Length(Cross(Normalized(Cross(a, b)), Normalized(Cross(cc, d))));
    const __m256d f2 = Length(Cross(Normalized(Cross(d, a)), Normalized(Cross(cc, b))));
    const __m256d one = _mm256_or_pd(_mm256_or_pd(_mm256_cmp_pd(f1, f1, _CMP_UNORD_Q), _mm256_cmp_pd(f2, f2, _CMP_UNORD_Q)),
                                     _mm256_cmp_pd(f1, f2, _CMP_LT_OQ));
    const int mask = _mm256_movemask_pd(one);
    for (int lane = 0; lane < 4; ++lane) choices[k + static_cast<std::size_t>(lane)] = (mask >> lane) & 1 ? 1 : 2;
  }
  return k;
}
#endif

}  // namespace

void ChooseDiagonals(const double* X, const double* Y, const double* values, const std::int32_t* cells,
                     std::size_t count, std::uint8_t* choices) {
  std::size_t k = 0;
#if defined(__x86_64__)
  static const bool avx2 = __builtin_cpu_supports("avx2");
  if (avx2) k = ChooseDiagonalsAvx2(X, Y, values, cells, count, choices);
#endif
  auto node = [&](std::int32_t n) { return Vec3{X[n], Y[n], values[n]}; };
  for (; k < count; ++k) {
    const std::int32_t* c = cells + 4 * k;
    choices[k] = static_cast<std::uint8_t>(ChooseDiagonal(node(c[0]), node(c[1]), node(c[2]), node(c[3])));
  }
}

}  // namespace corvane
