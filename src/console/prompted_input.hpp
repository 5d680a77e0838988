// SPDX-License-Identifier: MIT
#pragma once
// The prompt before each measurement.  At a console the prompt is written
// and one line is edited; with redirected input nothing is written and the
// fields are read straight from the stream.  Either way the following
// read_double and read_single calls take the fields in turn.
#include <string_view>

#include "console/input_source.hpp"
#include "console/line_editor.hpp"
#include "console/text_screen.hpp"

namespace gndfit {

class PromptedInput {
 public:
  PromptedInput(TextScreen& screen, KeyInput& keys, InputSource& source)
      : screen_(screen), editor_(screen, keys), source_(source) {}

  // Asked of the console once: whether input is a console does not change
  // during a run.
  bool input_is_console();
  struct Options {
    bool question_mark = false;  // "? " after the prompt
    bool new_line = true;        // a line end after the typed line
  };
  int prompt_input(std::string_view prompt, Options options);
  // True once the user ended the input at the prompt (Ctrl+D at a Unix
  // terminal): the run ends as at the end of redirected input.
  bool input_ended() const { return editor_.input_ended(); }

 private:
  TextScreen& screen_;
  LineEditor editor_;
  InputSource& source_;
  int input_console_ = -1;  // -1 not asked yet, else 0 or 1
};

}  // namespace gndfit
