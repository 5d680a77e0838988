// SPDX-License-Identifier: MIT
#include "antenna/antenna_study.hpp"

#include <atomic>
#include <cmath>
#include <thread>

#include "number/shortest.hpp"

namespace gndfit {
namespace {

constexpr double kTieDb = 0.005;

// One run's ground: the nominal, or moved by a step in one of the two.
struct RunGround {
  double permittivity = 0.0;
  double conductivity_ms = 0.0;
};

// Where a frequency's runs are in the list of jobs, and the steps taken.
struct Plan {
  std::size_t first_job = 0;
  bool moved = false;  // four runs after the nominal: e+, e-, s+, s-
  double permittivity_step = 0.0;
  double conductivity_step = 0.0;
  bool permittivity_one_sided = false;  // the minus run is the nominal
  bool conductivity_one_sided = false;
};

struct Job {
  std::string deck;
  std::string output;
  std::string error;
  bool ok = false;
  NecResult result;
};

NecRunCards cards_for(const GroundAt& g, const RunGround& r) {
  return {shortest(r.permittivity), shortest(r.conductivity_ms / 1000.0), g.cards.frequency_mhz};
}

// Half a standard deviation either way, but at least 1 % of the value: a
// smaller step drowns in nec2c's five printed digits (a ground known to
// 0.05 % moves a feed resistance of 18.07 ohms by less than the 0.01 it
// prints, and the spread would come out as nil), while over 1 % the
// results are still straight lines to well within their digits.  A step
// that would take the ground below vacuum's permittivity or below zero
// conductivity is taken one way only.
constexpr double kSmallestRelativeStep = 0.01;

double step_for(double value, double variance) {
  if (!(variance > 0.0)) return 0.0;
  return std::max(0.5 * std::sqrt(variance), kSmallestRelativeStep * std::abs(value));
}

Plan plan_for(const GroundAt& g, const NecDeck& deck, std::vector<Job>& jobs) {
  Plan p;
  p.first_job = jobs.size();
  jobs.push_back({nec_run_deck(deck, g.cards), {}, {}, false, {}});
  if (!g.has_covariance) return p;
  p.moved = true;
  p.permittivity_step = step_for(g.permittivity, g.permittivity_var);
  p.conductivity_step = step_for(g.conductivity_ms, g.conductivity_var);
  p.permittivity_one_sided = g.permittivity - p.permittivity_step < 1.0;
  p.conductivity_one_sided = g.conductivity_ms - p.conductivity_step < 0.0;
  const RunGround runs[4] = {
      {g.permittivity + p.permittivity_step, g.conductivity_ms},
      {p.permittivity_one_sided ? g.permittivity : g.permittivity - p.permittivity_step,
       g.conductivity_ms},
      {g.permittivity, g.conductivity_ms + p.conductivity_step},
      {g.permittivity,
       p.conductivity_one_sided ? g.conductivity_ms : g.conductivity_ms - p.conductivity_step}};
  for (const RunGround& r : runs)
    jobs.push_back({nec_run_deck(deck, cards_for(g, r)), {}, {}, false, {}});
  return p;
}

double db(double ratio) { return 10.0 * std::log10(ratio); }

// The derivative of a result along one of the ground's values from a
// plus and a minus run (or the nominal where the step was one-sided).
double derivative(double plus, double minus, double step, bool one_sided) {
  if (step == 0.0) return 0.0;
  return (plus - minus) / (one_sided ? step : 2.0 * step);
}

// The last digit's unit of a value nec2c prints with five significant
// digits (1.2345E+01).
double printed_quantum(double value) {
  if (value == 0.0) return 0.0;
  return std::pow(10.0, std::floor(std::log10(std::abs(value))) - 4.0);
}

// Linear propagation: sd^2 = g C g^T with g the gradient over
// (permittivity, conductivity).  Where a step moved the printed result by
// nothing, that derivative is below what the digits resolve, |d| <
// quantum / (2 step): the standard deviation is then not known, only a
// bound on it (|a| sd_e + |b| sd_s bounds sd(a e + b s)).
template <typename Value>
Estimate propagate(const GroundAt& g, const Plan& p, const std::vector<Job>& jobs, double quantum,
                   Value value) {
  Estimate e;
  e.value = value(jobs[p.first_job].result);
  if (!p.moved) return e;
  struct Direction {
    double plus, minus, step, variance;
    bool one_sided;
  };
  const Direction directions[2] = {
      {value(jobs[p.first_job + 1].result), value(jobs[p.first_job + 2].result),
       p.permittivity_step, g.permittivity_var, p.permittivity_one_sided},
      {value(jobs[p.first_job + 3].result), value(jobs[p.first_job + 4].result),
       p.conductivity_step, g.conductivity_var, p.conductivity_one_sided}};
  double d[2] = {0.0, 0.0};
  double unresolved_bound = 0.0;
  for (int i = 0; i < 2; ++i) {
    const Direction& k = directions[i];
    d[i] = derivative(k.plus, k.minus, k.step, k.one_sided);
    if (k.step > 0.0 && k.variance > 0.0 && k.plus == k.minus) {
      unresolved_bound += quantum / (k.one_sided ? k.step : 2.0 * k.step) * std::sqrt(k.variance);
    }
  }
  const double variance = d[0] * d[0] * g.permittivity_var + 2.0 * d[0] * d[1] * g.covariance +
                          d[1] * d[1] * g.conductivity_var;
  e.sd = std::sqrt(std::max(variance, 0.0));
  if (unresolved_bound > 0.0) {
    e.sd_bound = std::abs(d[0]) * std::sqrt(g.permittivity_var) +
                 std::abs(d[1]) * std::sqrt(g.conductivity_var) + unresolved_bound;
    e.sd = 0.0;
    return e;
  }
  e.has_sd = true;
  return e;
}

// A direction's gain in dBi: the printed TOTAL for the nominal value, its
// spread from the fields' gains, which carry more digits.
Estimate gain_in_direction(const GroundAt& g, const Plan& p, const std::vector<Job>& jobs,
                           std::size_t row) {
  // Five digits of a field are 20 log10(1 + 1e-4) dB at worst.
  constexpr double kFieldQuantumDb = 8.7e-4;
  Estimate e = propagate(g, p, jobs, kFieldQuantumDb, [row](const NecResult& r) {
    return db(power_gain_from_fields(r.pattern[row], r.input_power_w));
  });
  e.value = jobs[p.first_job].result.pattern[row].total_db;
  return e;
}

AntennaBand band_of(const GroundAt& g, const Plan& p, const std::vector<Job>& jobs,
                    std::span<const double> elevations) {
  AntennaBand b;
  b.ground = g;
  const NecResult& nominal = jobs[p.first_job].result;
  b.feed_r_ohms = propagate(g, p, jobs, printed_quantum(nominal.feed_r_ohms),
                            [](const NecResult& r) { return r.feed_r_ohms; });
  b.feed_x_ohms = propagate(g, p, jobs, printed_quantum(nominal.feed_x_ohms),
                            [](const NecResult& r) { return r.feed_x_ohms; });
  const std::size_t peak = peak_row(nominal.pattern);
  b.peak_gain_dbi = gain_in_direction(g, p, jobs, peak);
  b.peak_elevation_deg = 90.0 - nominal.pattern[peak].theta_deg;
  b.peak_azimuth_deg = nominal.pattern[peak].phi_deg;
  for (const double elevation : elevations) {
    const std::size_t row = best_row_at(nominal.pattern, elevation);
    b.gains.push_back(
        {elevation, gain_in_direction(g, p, jobs, row), nominal.pattern[row].phi_deg});
  }
  b.hemisphere_efficiency = propagate(g, p, jobs, printed_quantum(nominal.average_gain) / 2.0,
                                      [](const NecResult& r) { return r.average_gain / 2.0; });
  return b;
}

// Every run's pattern must be the one asked for, so that a row is the
// same direction in each.
bool same_directions(const NecResult& a, const NecResult& b) {
  if (a.pattern.size() != b.pattern.size()) return false;
  for (std::size_t i = 0; i < a.pattern.size(); ++i) {
    if (a.pattern[i].theta_deg != b.pattern[i].theta_deg ||
        a.pattern[i].phi_deg != b.pattern[i].phi_deg) {
      return false;
    }
  }
  return true;
}

// Why a run's result cannot be used, or nothing.  The nominal run's
// pattern must have a row at every elevation asked for; every other run's
// must be the nominal's directions, so that a row is the same direction in
// each (and so has those rows too).
std::string run_fault(const Job& job, const Job& nominal, std::span<const double> elevations) {
  if (!job.ok) return job.error.empty() ? std::string("the run failed") : job.error;
  if (&job != &nominal) {
    return same_directions(job.result, nominal.result)
               ? std::string()
               : "its radiation pattern is not the one asked for";
  }
  for (const double e : elevations) {
    if (best_row_at(job.result.pattern, e) == job.result.pattern.size()) {
      return "its radiation pattern has no row at elevation " + shortest(e);
    }
  }
  return {};
}

void run_jobs(std::vector<Job>& jobs, const NecRun& run, unsigned threads) {
  std::atomic<std::size_t> next{0};
  auto work = [&]() {
    for (std::size_t i = next++; i < jobs.size(); i = next++) {
      Job& j = jobs[i];
      j.ok = run(i, j.deck, j.output, j.error) && read_nec_output(j.output, j.result, j.error);
      j.output.clear();  // the pattern is read; the text is large
    }
  };
  std::vector<std::thread> pool;
  for (unsigned t = 1; t < std::max(threads, 1u); ++t) pool.emplace_back(work);
  work();
  for (std::thread& t : pool) t.join();
}

}  // namespace

std::size_t peak_row(std::span<const PatternRow> pattern) {
  double best = -HUGE_VAL;
  for (const PatternRow& r : pattern) best = std::max(best, r.total_db);
  for (std::size_t i = 0; i < pattern.size(); ++i) {
    if (pattern[i].total_db >= best - kTieDb) return i;
  }
  return 0;
}

std::size_t best_row_at(std::span<const PatternRow> pattern, double elevation_deg) {
  const double theta = 90.0 - elevation_deg;
  double best = -HUGE_VAL;
  for (const PatternRow& r : pattern) {
    if (r.theta_deg == theta) best = std::max(best, r.total_db);
  }
  for (std::size_t i = 0; i < pattern.size(); ++i) {
    if (pattern[i].theta_deg == theta && pattern[i].total_db >= best - kTieDb) return i;
  }
  return pattern.size();
}

AntennaStudy study_antenna(const NecDeck& deck, std::span<const GroundAt> grounds,
                           std::span<const double> elevations_deg, const NecRun& run,
                           unsigned threads) {
  std::vector<Job> jobs;
  std::vector<Plan> plans;
  for (const GroundAt& g : grounds) plans.push_back(plan_for(g, deck, jobs));
  run_jobs(jobs, run, threads);
  AntennaStudy study;
  for (std::size_t f = 0; f < grounds.size(); ++f) {
    const Plan& p = plans[f];
    const std::size_t runs = p.moved ? 5 : 1;
    for (std::size_t j = p.first_job; j < p.first_job + runs; ++j) {
      const std::string reason = run_fault(jobs[j], jobs[p.first_job], elevations_deg);
      if (!reason.empty()) {
        study.error = "at " + grounds[f].cards.frequency_mhz + " MHz: nec2c: " + reason;
        return study;
      }
    }
    study.bands.push_back(band_of(grounds[f], p, jobs, elevations_deg));
  }
  return study;
}

}  // namespace gndfit
