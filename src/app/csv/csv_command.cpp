// SPDX-License-Identifier: MIT
#include "app/csv/csv_command.hpp"

#include <iostream>
#include <string_view>

#include "app/common/text_output.hpp"
#include "app/csv/csv_writer.hpp"

namespace gndfit {

int run_csv(const CommandLine& line) {
  InputFiles files;
  if (!open_input_files(line, files)) return kUsageError;
  start_text_output();
  CsvWriter writer(output_frequencies(line), std::cout, std::cerr);
  writer.write_header();
  files.read_lines([&writer](std::string_view text) { writer.take_line(text); },
                   [&writer](const std::string& source) { writer.start_file(source); });
  return finish_text_output(files, writer.skipped_any());
}

}  // namespace gndfit
