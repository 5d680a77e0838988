#include <cstdio>

#include "model/fit_state.hpp"
#include "model/ground_model.hpp"
#include "model/simplex_fit.hpp"

int main() {
  gndfit::FitState s;
  s.measured = {10.0, 15.0f, 5.0f};
  s.eval_frequency_hz = static_cast<double>(1000000.0L * s.measured.frequency_mhz);
  s.point.base_conductivity = static_cast<double>((long double)s.measured.conductivity_ms * 0.0002L);
  s.point.base_permittivity = static_cast<double>((long double)s.measured.permittivity * (long double)4.427093906400193e-12);
  gndfit::fit_model(s);
  std::printf("passes %lld exp %lld con %lld shr %lld ev %lld  best %d mid %d worst %d\n",
    (long long)s.counters.passes, (long long)s.counters.expansions, (long long)s.counters.contractions,
    (long long)s.counters.shrinks, (long long)s.counters.evaluations, s.simplex.best, s.simplex.middle, s.simplex.worst);
  gndfit::evaluate_model(s);
  std::printf("%.9g %.9g  %.6g %.6g\n", s.model.permittivity, s.model.conductivity_ms, s.point.base_conductivity, s.point.base_permittivity);
}
