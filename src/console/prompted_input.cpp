// SPDX-License-Identifier: MIT
#include "console/prompted_input.hpp"

namespace gndfit {

bool PromptedInput::input_is_console() {
  if (input_console_ < 0) {
    input_console_ = screen_.device().input_is_console() ? 1 : 0;
  }
  return input_console_ == 1;
}

// Output is sent before any wait: by the editor while it waits for a key,
// by the stream when it must read more input.
int PromptedInput::prompt_input(std::string_view prompt, Options options) {
  if (!input_is_console()) {
    // Redirected: no echo; fields run on through the stream.  A person
    // typing it (a terminal used line by line) still sees the prompt.
    source_.use_stream();
    if (screen_.device().stdin_is_typed()) {
      if (!prompt.empty()) screen_.print_text(0, prompt, line_end::none);
      if (options.question_mark) screen_.print_cstring(0, "? ", line_end::none);
    }
    return 0;
  }
  screen_.console_write(nullptr, 0, kWriteEvenIfEmpty);  // carry out a pending wrap
  if (!prompt.empty()) screen_.print_text(0, prompt, line_end::none);
  if (options.question_mark) screen_.print_cstring(0, "? ", line_end::none);
  std::string line = editor_.edit_line();
  if (options.new_line) screen_.print_line_end(0, line_end::new_line);
  source_.use_line(std::move(line));
  return 0;
}

}  // namespace gndfit
