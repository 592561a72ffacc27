#include "tests/tools/ToolRun.h"

#include <fcntl.h>
#include <sys/wait.h>
#include <unistd.h>
#include <zlib.h>

#include <csignal>
#include <cstdio>
#include <fstream>
#include <sstream>

#include "common/DateTime.h"
#include "tests/archive/support/VolumeBuilder.h"

namespace {

std::vector<std::string> Lines(const std::string& text) {
  std::vector<std::string> lines;
  std::istringstream in(text);
  for (std::string line; std::getline(in, line);) lines.push_back(line);
  return lines;
}

std::string Slurp(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  std::stringstream s;
  s << in.rdbuf();
  return s.str();
}

}  // namespace

std::vector<std::string> ToolResult::OutLines() const { return Lines(out); }
std::vector<std::string> ToolResult::ErrLines() const { return Lines(err); }

ToolResult RunTool(const std::vector<std::string>& args, bool interruptPending) {
  orxtest::TempDir capture;
  const std::string outPath = capture.File("out"), errPath = capture.File("err");
  ToolResult result;
  const pid_t pid = fork();
  if (pid == 0) {
    const int out = open(outPath.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0600);
    const int err = open(errPath.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0600);
    dup2(out, 1);
    dup2(err, 2);
    // A tool that hangs is ended by the alarm and fails its test (no exit
    // code) instead of holding the suite up. Generous: no command takes long.
    alarm(120);
    if (interruptPending) {
      sigset_t set;
      sigemptyset(&set);
      sigaddset(&set, SIGINT);
      sigprocmask(SIG_BLOCK, &set, nullptr);
      raise(SIGINT);
    }
    std::vector<char*> argv;
    argv.push_back(const_cast<char*>(ORXTOOL_PATH));
    for (const std::string& a : args) argv.push_back(const_cast<char*>(a.c_str()));
    argv.push_back(nullptr);
    execv(ORXTOOL_PATH, argv.data());
    _exit(127);
  }
  int status = 0;
  if (pid > 0 && waitpid(pid, &status, 0) == pid && WIFEXITED(status))
    result.exit = WEXITSTATUS(status);
  result.out = Slurp(outPath);
  result.err = Slurp(errPath);
  return result;
}

std::string Day(double time) { return FormatDayNumber(time); }

std::string Crc(const std::vector<unsigned char>& bytes) {
  char text[16];
  std::snprintf(text, sizeof text, "%08lx",
                static_cast<unsigned long>(crc32(crc32(0L, Z_NULL, 0), bytes.data(),
                                                 uInt(bytes.size()))));
  return text;
}
