#include "core/capacities.hpp"

#include <unistd.h>

#include <algorithm>
#include <climits>

namespace korvant {
namespace {

long long physicalMemory() {
  const long pages = sysconf(_SC_PHYS_PAGES);
  const long pageSize = sysconf(_SC_PAGESIZE);
  if (pages <= 0 || pageSize <= 0) return 4LL << 30;  // unknown: taken as 4 GB
  return static_cast<long long>(pages) * pageSize;
}

// Capacities are whole numbers of the deck's kind; sizes beyond them are never asked for.
int clampToInt(long long n) {
  return static_cast<int>(std::min<long long>(n, INT_MAX / 8));
}

}  // namespace

Capacities machineCapacities() {
  Capacities cap;
  const long long equations = physicalMemory() / 2 / kSparseBytesPerEquation;
  cap.MXD1 = cap.MXBD = clampToInt(std::max<long long>(equations, cap.MXD1));
  cap.MXD2 = clampToInt(4LL * cap.MXD1);
  return cap;
}

Capacities gridCapacities(const Capacities& limits, long long extendedUnknowns) {
  Capacities cap = limits;
  cap.MXD1 = cap.MXBD = clampToInt(extendedUnknowns);
  cap.MXD2 = clampToInt(std::max<long long>(Capacities{}.MXD2, 4 * extendedUnknowns));
  return cap;
}

}  // namespace korvant
