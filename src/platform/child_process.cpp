// SPDX-License-Identifier: MIT
#include "platform/child_process.hpp"

#include <cerrno>
#include <cstdlib>
#include <cstring>
#include <string_view>

#ifdef _WIN32
#include <process.h>
#include <windows.h>
#else
#include <fcntl.h>
#include <spawn.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>
extern char** environ;
#endif

namespace gndfit {
namespace {

#ifdef _WIN32
constexpr char kPathSeparator = ';';
constexpr std::string_view kExecutableSuffix = ".exe";

bool is_executable_file(const std::string& name) {
  const DWORD attributes = GetFileAttributesA(name.c_str());
  return attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY) == 0;
}
#else
constexpr char kPathSeparator = ':';
constexpr std::string_view kExecutableSuffix = "";

bool is_executable_file(const std::string& name) {
  struct stat st {};
  return ::stat(name.c_str(), &st) == 0 && S_ISREG(st.st_mode) && ::access(name.c_str(), X_OK) == 0;
}
#endif

}  // namespace

std::string find_on_path(const std::string& program) {
  const char* path = std::getenv("PATH");
  if (path == nullptr) return {};
  std::string_view rest(path);
  while (true) {
    const std::size_t end = rest.find(kPathSeparator);
    std::string candidate(rest.substr(0, end));
    if (candidate.empty()) candidate.assign(1, '.');  // an empty entry is the current folder
    candidate.append(1, '/').append(program);
    if (!kExecutableSuffix.empty() && !candidate.ends_with(kExecutableSuffix)) {
      candidate += kExecutableSuffix;
    }
    if (is_executable_file(candidate)) return candidate;
    if (end == std::string_view::npos) return {};
    rest.remove_prefix(end + 1);
  }
}

#ifdef _WIN32
ChildExit run_child(const std::string& program, const std::vector<std::string>& arguments) {
  // _spawnv joins the arguments with spaces: each is quoted so that one
  // with a space stays one argument.
  std::vector<std::string> quoted;
  quoted.push_back("\"" + program + "\"");
  for (const std::string& a : arguments) quoted.push_back("\"" + a + "\"");
  std::vector<const char*> argv;
  for (const std::string& q : quoted) argv.push_back(q.c_str());
  argv.push_back(nullptr);
  const intptr_t status = _spawnv(_P_WAIT, program.c_str(), argv.data());
  if (status == -1) return {false, 0, std::strerror(errno)};
  return {true, static_cast<int>(status), {}};
}
#else
ChildExit run_child(const std::string& program, const std::vector<std::string>& arguments) {
  std::vector<char*> argv;
  argv.push_back(const_cast<char*>(program.c_str()));
  for (const std::string& a : arguments) argv.push_back(const_cast<char*>(a.c_str()));
  argv.push_back(nullptr);
  posix_spawn_file_actions_t actions;
  posix_spawn_file_actions_init(&actions);
  posix_spawn_file_actions_addopen(&actions, STDIN_FILENO, "/dev/null", O_RDONLY, 0);
  posix_spawn_file_actions_addopen(&actions, STDOUT_FILENO, "/dev/null", O_WRONLY, 0);
  posix_spawn_file_actions_addopen(&actions, STDERR_FILENO, "/dev/null", O_WRONLY, 0);
  pid_t pid = 0;
  const int failed = posix_spawn(&pid, program.c_str(), &actions, nullptr, argv.data(), environ);
  posix_spawn_file_actions_destroy(&actions);
  if (failed != 0) return {false, 0, std::strerror(failed)};
  int wait_status = 0;
  while (::waitpid(pid, &wait_status, 0) < 0) {
    if (errno != EINTR) return {false, 0, std::strerror(errno)};
  }
  if (WIFSIGNALED(wait_status)) return {true, 128 + WTERMSIG(wait_status), {}};
  return {true, WEXITSTATUS(wait_status), {}};
}
#endif

}  // namespace gndfit
