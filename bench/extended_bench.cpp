// SPDX-License-Identifier: MIT
// The extended type's operations one by one, on operands like the model's
// (a conductivity in S/m, a permittivity, a frequency in Hz), so that the
// x87 and the software type can be compared per operation.  Each iteration
// runs a chain of 16 dependent operations on varying operands.
#include <benchmark/benchmark.h>

#include <array>

#include "model/extended.hpp"

namespace {

using namespace gndfit;

const std::array<extended, 4> kOperands = {extended{0.005}, extended{13.1f}, extended{7.1e6},
                                           extended{8.854187812800387e-12}};

template <typename Operation>
void run_chain(benchmark::State& bench, Operation operation) {
  extended x = extended{1.5};
  for (auto _ : bench) {
    for (int i = 0; i < 16; ++i) x = operation(x, kOperands[static_cast<std::size_t>(i & 3)]);
    benchmark::DoNotOptimize(x);
  }
  bench.SetItemsProcessed(bench.iterations() * 16);
}

void BM_extended_add(benchmark::State& bench) {
  run_chain(bench, [](extended x, extended y) { return (x + y) - y; });
}
void BM_extended_multiply(benchmark::State& bench) {
  run_chain(bench, [](extended x, extended y) { return (x * y) * (extended{1.0} / y); });
}
void BM_extended_divide(benchmark::State& bench) {
  run_chain(bench, [](extended x, extended y) { return x / y * y; });
}
void BM_extended_square_root(benchmark::State& bench) {
  run_chain(bench, [](extended x, extended y) { return square_root(x * y) / square_root(y); });
}
void BM_extended_store_single(benchmark::State& bench) {
  run_chain(bench, [](extended x, extended y) { return extended{store_single(x + y)} - y; });
}
BENCHMARK(BM_extended_add);
BENCHMARK(BM_extended_multiply);
BENCHMARK(BM_extended_divide);
BENCHMARK(BM_extended_square_root);
BENCHMARK(BM_extended_store_single);

}  // namespace
