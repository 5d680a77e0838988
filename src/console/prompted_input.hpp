#pragma once
// The prompt before each measurement.  With redirected input nothing is
// written and the fields are read straight from the stream.  The interactive
// line editor for console input is not built yet; see prompted_input.cpp.
#include <string_view>

#include "console/field_reader.hpp"
#include "console/text_screen.hpp"

namespace gndfit {

class PromptedInput {
 public:
  PromptedInput(TextScreen& screen, InputSource& source) : screen_(screen), source_(source) {}

  bool input_is_console();
  int prompt_input(std::string_view prompt, bool question_mark, bool line_end);

 private:
  TextScreen& screen_;
  InputSource& source_;
};

}  // namespace gndfit
