// SPDX-License-Identifier: MIT
#include "antenna/nec_output.hpp"

#include "antenna/card_words.hpp"
#include "model/ground.hpp"
#include "number/decimal_text.hpp"

namespace gndfit {
namespace {

// nec2c prints its columns apart by blanks (a line may end in CR).
std::vector<std::string_view> words(std::string_view line) { return card_words(line, " \t\r"); }

// The output's lines, one at a time.
class Lines {
 public:
  explicit Lines(std::string_view text) : rest_(text) {}
  bool next(std::string_view& line) {
    if (rest_.empty()) return false;
    const std::size_t end = rest_.find('\n');
    line = rest_.substr(0, end);
    rest_.remove_prefix(end == std::string_view::npos ? rest_.size() : end + 1);
    return true;
  }

 private:
  std::string_view rest_;
};

bool number(std::string_view word, double& value) { return read_decimal(word, value); }

}  // namespace

std::string nec_stop_message(std::string_view text) {
  std::string_view last;
  Lines lines(text);
  std::string_view line;
  while (lines.next(line)) {
    if (words(line).size() > 0) last = line;
  }
  const std::size_t first = last.find_first_not_of(' ');
  return std::string(first == std::string_view::npos ? last : last.substr(first));
}

namespace {

// TAG SEG V(re im) I(re im) Z(re im) Y(re im) POWER: the first source's row.
bool read_feed(Lines& lines, NecResult& result) {
  std::string_view line;
  for (int skip = 0; skip < 2; ++skip) {
    if (!lines.next(line)) return false;
  }
  if (!lines.next(line)) return false;
  const std::vector<std::string_view> w = words(line);
  return w.size() >= 11 && number(w[6], result.feed_r_ohms) && number(w[7], result.feed_x_ohms) &&
         number(w[10], result.input_power_w);
}

// THETA PHI VERTC HORIZ TOTAL AXIAL TILT [SENSE] E_theta(mag phase)
// E_phi(mag phase): SENSE is blank where the field is nil, so the fields
// are counted from the end.
bool read_pattern_row(std::string_view line, PatternRow& row) {
  const std::vector<std::string_view> w = words(line);
  if (w.size() < 11) return false;
  double e_theta = 0.0;
  double e_phi = 0.0;
  const std::size_t n = w.size();
  if (!number(w[0], row.theta_deg) || !number(w[1], row.phi_deg) || !number(w[4], row.total_db) ||
      !number(w[n - 4], e_theta) || !number(w[n - 2], e_phi)) {
    return false;
  }
  row.field_squared = e_theta * e_theta + e_phi * e_phi;
  return true;
}

bool read_pattern(Lines& lines, NecResult& result) {
  std::string_view line;
  for (int skip = 0; skip < 4; ++skip) {
    if (!lines.next(line)) return false;
  }
  while (lines.next(line) && !words(line).empty()) {
    PatternRow row;
    if (!read_pattern_row(line, row)) return false;
    result.pattern.push_back(row);
  }
  return !result.pattern.empty();
}

// "AVERAGE POWER GAIN:  1.5277E+00 - SOLID ANGLE ..."
bool read_average(std::string_view line, NecResult& result) {
  const std::vector<std::string_view> w = words(line);
  return w.size() >= 4 && number(w[3], result.average_gain);
}

}  // namespace

bool read_nec_output(std::string_view text, NecResult& result, std::string& error) {
  result = NecResult{};
  bool feed = false;
  bool pattern = false;
  bool average = false;
  Lines lines(text);
  std::string_view line;
  while (lines.next(line)) {
    if (!feed && line.find("ANTENNA INPUT PARAMETERS") != std::string_view::npos) {
      feed = read_feed(lines, result);
      if (!feed) break;
    } else if (!pattern && line.find("RADIATION PATTERNS") != std::string_view::npos) {
      pattern = read_pattern(lines, result);
      if (!pattern) break;
    } else if (!average && line.find("AVERAGE POWER GAIN:") != std::string_view::npos) {
      average = read_average(line, result);
      if (!average) break;
    }
  }
  if (feed && pattern && average) return true;
  error = !feed      ? "its output has no antenna input parameters"
          : !pattern ? "its output has no radiation pattern"
                     : "its output has no average power gain";
  return false;
}

double power_gain_from_fields(const PatternRow& row, double input_power_w) {
  // eta0 = 1 / (eps0 c)
  const double eta0 = 1.0 / (kVacuumPermittivity * kSpeedOfLight);
  return 2.0 * kPi * row.field_squared / (eta0 * input_power_w);
}

}  // namespace gndfit
