// SPDX-License-Identifier: MIT
// Micro-benchmarks of the console text path: decimal conversion, one value
// through a mask onto a redirected screen, and one typed line read back.
#include <benchmark/benchmark.h>

#include <string>

#include "number/decimal_number.hpp"
#include "console/input_source.hpp"
#include "console/numeric_mask.hpp"
#include "console/text_screen.hpp"
#include "support/memory_console.hpp"

namespace {

using namespace gndfit;

constexpr float kValues[8] = {1.8f, 23.84f, 0.0715f, 5.63f, 1234.5f, 0.734f, 17.9f, 99.96f};

void BM_to_decimal_single(benchmark::State& bench) {
  std::size_t i = 0;
  for (auto _ : bench) {
    benchmark::DoNotOptimize(to_decimal(static_cast<double>(kValues[i++ & 7]), true));
  }
}
BENCHMARK(BM_to_decimal_single);

class DroppingConsole : public MemoryConsole {
 public:
  DroppingConsole() : MemoryConsole(MemoryConsole::redirected()) {}
  bool write_raw(const char*, std::size_t count, std::size_t& written) override {
    written = count;
    return true;
  }
};

// One value as the table writes it: through its mask into the row's text,
// and the text onto the screen.
void BM_mask_value(benchmark::State& bench) {
  DroppingConsole console;
  TextScreen screen(console);
  NumericMask mask(screen);
  std::string row;
  std::size_t i = 0;
  for (auto _ : bench) {
    row.clear();
    mask.append_single(row, "   ##.#", kValues[i++ & 7]);
    screen.print_text(0, row, line_end::none);
  }
}
BENCHMARK(BM_mask_value);

void BM_read_typed_line(benchmark::State& bench) {
  MemoryConsole console;
  InputSource source(console);
  for (auto _ : bench) {
    source.use_line("7.125 15.5 5.25");
    double f = 0;
    float p = 0, c = 0;
    source.read_double(f);
    source.read_single(p);
    source.read_single(c);
    benchmark::DoNotOptimize(f + p + c);
  }
}
BENCHMARK(BM_read_typed_line);

}  // namespace
