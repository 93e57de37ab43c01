// The yardstick: LAPACK's band solver (dgbsv) on a random, diagonally dominant band system.
#pragma once

namespace korvant::bench {

// Seconds dgbsv takes to factor and solve a system of order n with kl lower and ku upper
// diagonals and one right-hand side; the system is built before the clock starts. Throws
// when dgbsv reports a failure.
double dgbsvSeconds(int n, int kl, int ku);

}  // namespace korvant::bench
