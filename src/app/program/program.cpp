// SPDX-License-Identifier: MIT
#include "app/program/program.hpp"

#include <array>

#include "app/program/band_table.hpp"
#include "model/band_values.hpp"

namespace gndfit {
namespace {

constexpr std::uint32_t kQuickEditMode = 0x0040;
constexpr std::uint32_t kExtendedFlags = 0x0080;

}  // namespace

Program::Program(ConsoleDevice& dev, std::string position_path)
    : device(dev),
      screen(dev),
      mask(screen),
      input(dev),
      keys(dev, key_queue),
      prompted(screen, keys, input),
      position(runtime, std::move(position_path)) {
  // The first look at the keyboard registers the run-time's handler.
  keys.on_first_poll([this] {
    runtime.register_ctrl_handler(device,
                                  [this](ControlEvent e) { return runtime_ctrl_handler(e); });
  });
}

void Program::start_process(int argc, char** argv) {
  runtime.runtime_startup();
  runtime.runtime_set_args(argc, argv, Runtime::kEntryMode);
}

void Program::exit_process() {
  device.end_control_events();
  remove_position_handler();
  runtime.remove_ctrl_handler();
  runtime.runtime_shutdown();
  screen.flush();
}

// The handlers hold this program: none may outlive it.
Program::~Program() {
  remove_position_handler();
  runtime.remove_ctrl_handler();
}

void Program::remove_position_handler() {
  if (position_handler_id_ != 0) device.remove_control_handler(position_handler_id_);
  position_handler_id_ = 0;
}

bool Program::position_handler(ControlEvent) {
  PixelRect rect;
  if (device.get_window_rect(rect)) {
    position.save_and_close(pack_position(rect.left, rect.top));
  } else {
    position.close();  // no window: nothing to store
  }
  return false;
}

bool Program::runtime_ctrl_handler(ControlEvent event) {
  const bool ends_session = event == ControlEvent::close || event == ControlEvent::logoff ||
                            event == ControlEvent::shutdown;
  if (ends_session) keys.push_key(CLOSE_KEY_CODE);
  return ends_session;
}

void Program::setup_window(std::int32_t packed) {
  device.set_title(" ");
  std::uint32_t mode = 0;
  if (device.get_input_mode(mode)) {
    device.set_input_mode((mode & ~kQuickEditMode) | kExtendedFlags);
  }
  device.move_window(position_left(packed), position_top(packed));
  device.remove_size_and_maximize();
  // One key taken without waiting: the first poll registers the run-time's
  // handler, before the program's, so that the program's runs first.
  keys.take_key();
  position_handler_id_ =
      device.add_control_handler([this](ControlEvent e) { return position_handler(e); });
}

void Program::enter() {
  // Without a window there is no position to keep: a file already there is
  // read and left as it is, and none is made.
  if (device.has_window()) {
    position.open();
  } else {
    position.open_existing();
  }
  setup_window(effective_position(position.read_position()));
  start_up();
}

void Program::start_up() {
  screen.screen_set_size(kScreenColumns, kScreenRows);
  screen.screen_clear(kClearTextView);
  write("Gndfit ground constants", line_end::new_line);
  end_line();
  write("Frequency MHz");
  set_colour(kColourPermittivity);
  write("   Permittivity");
  set_colour(kColourConductivity);
  write("   Conductivity mS/m");
  set_colour(kColourSkinDepth);
  write("   Relative skin depth", line_end::new_line);
  set_colour(kColourText);
  end_line();
}

bool Program::run_pass() {
  prompted.prompt_input("Freq perm cond = ", {.question_mark = false, .new_line = true});
  if (prompted.input_ended()) return false;
  // Redirected input ends the run at a pass that starts with no byte left;
  // typed at a terminal (Ctrl+D), the prompt's line is ended for the shell.
  if (!prompted.input_is_console() && input.stream_exhausted()) {
    if (device.stdin_is_typed()) end_line();
    return false;
  }
  Measurement m;
  input.read_double(m.frequency_mhz);
  input.read_single(m.permittivity);
  input.read_single(m.conductivity_ms);
  const bool rejected =
      m.frequency_mhz <= 0.0 || m.permittivity <= 0.0f || m.conductivity_ms <= 0.0f;
  if (rejected) return true;
  fit_measurement(fit, m);
  print_rows();
  ++tables_shown_;
  return true;
}

// Each row's values are computed first and then written, each run of one
// colour as one text: the same characters, colours and line ends reach the
// screen in the same order, and the model's arithmetic runs back to back.
void Program::print_rows() {
  std::array<BandValues, kBandTable.size()> values{};
  compute_band_values(fit, kBandTable, values);
  std::array<BandFields, kBandTable.size()> fields;
  for (std::size_t i = 0; i < values.size(); ++i) fields[i] = band_fields(mask, values[i]);
  end_line();
  ScreenRows rows(*this);
  write_table_rows(fields, rows, row_text_);
  set_colour(kColourText);
  end_line();
  end_line();
}

void Program::end_run() {
  position_handler(ControlEvent::close);
  runtime_ctrl_handler(ControlEvent::close);
  screen.flush();
}

}  // namespace gndfit
