#include "band_yardstick.hpp"

#include <algorithm>
#include <chrono>
#include <cmath>
#include <random>
#include <stdexcept>
#include <string>
#include <vector>

extern "C" void dgbsv_(const int* n, const int* kl, const int* ku, const int* nrhs, double* ab,
                       const int* ldab, int* ipiv, double* b, const int* ldb, int* info);

namespace korvant::bench {
namespace {

// The band array in LAPACK's layout (leading dimension 2 kl + ku + 1, the first kl rows left
// for the fill-in): entries uniform in [-1, 1], each diagonal entry one more than the sum of
// the magnitudes of its row's other entries.
std::vector<double> randomDominantBand(int n, int kl, int ku, int ldab) {
  std::mt19937_64 random(20240601);
  std::uniform_real_distribution<double> entry(-1.0, 1.0);
  std::vector<double> ab(static_cast<std::size_t>(ldab) * static_cast<std::size_t>(n), 0.0);
  std::vector<double> rowSum(static_cast<std::size_t>(n), 0.0);
  const auto at = [&](int i, int j) {  // A(i, j), 0-based
    return static_cast<std::size_t>(kl + ku + i - j) + static_cast<std::size_t>(j) * ldab;
  };
  for (int j = 0; j < n; ++j)
    for (int i = std::max(0, j - ku); i <= std::min(n - 1, j + kl); ++i) {
      if (i == j) continue;
      ab[at(i, j)] = entry(random);
      rowSum[static_cast<std::size_t>(i)] += std::fabs(ab[at(i, j)]);
    }
  for (int i = 0; i < n; ++i) ab[at(i, i)] = rowSum[static_cast<std::size_t>(i)] + 1.0;
  return ab;
}

}  // namespace

double dgbsvSeconds(int n, int kl, int ku) {
  const int ldab = 2 * kl + ku + 1;
  std::vector<double> ab = randomDominantBand(n, kl, ku, ldab);
  std::vector<double> b(static_cast<std::size_t>(n), 1.0);
  std::vector<int> ipiv(static_cast<std::size_t>(n));
  const int nrhs = 1;
  int info = 0;
  const auto start = std::chrono::steady_clock::now();
  dgbsv_(&n, &kl, &ku, &nrhs, ab.data(), &ldab, ipiv.data(), b.data(), &n, &info);
  const std::chrono::duration<double> seconds = std::chrono::steady_clock::now() - start;
  if (info != 0) throw std::runtime_error("dgbsv failed, info = " + std::to_string(info));
  return seconds.count();
}

}  // namespace korvant::bench
