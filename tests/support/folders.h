// Files and scratch folders for the suites: each test gets a fresh folder holding an empty
// Storage/, removed afterwards, so no test writes into the data or into another checkout's run.
#pragma once

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <spawn.h>
#include <sstream>
#include <string>
#include <sys/wait.h>
#include <unistd.h>
#include <vector>

inline std::string readFile(const std::filesystem::path& path) {
  std::ifstream file(path, std::ios::binary);
  return {std::istreambuf_iterator<char>(file), {}};
}

inline void writeFile(const std::filesystem::path& path, const std::string& text) {
  if (path.has_parent_path()) std::filesystem::create_directories(path.parent_path());
  std::ofstream(path, std::ios::binary) << text;
}

// A file of this test process alone: other checkouts may run the same tests at the same time.
inline std::string scratchPath(const std::string& name) {
  return testing::TempDir() + "brikka-" + std::to_string(getpid()) + "-" + name;
}

// Entries in a folder: a temporary file left behind shows as one more.
inline long filesIn(const std::filesystem::path& folder) {
  return std::distance(std::filesystem::directory_iterator(folder), {});
}

// What standard error caught while `run` ran.
template <typename Run> std::string errorsOf(Run run) {
  testing::internal::CaptureStderr();
  run();
  return testing::internal::GetCapturedStderr();
}

inline long lineCount(const std::string& text) {
  return std::count(text.begin(), text.end(), '\n');
}

// The lines of a text that start with prefix.
inline std::vector<std::string> linesStarting(const std::string& text, const std::string& prefix) {
  std::vector<std::string> found;
  std::istringstream stream(text);
  for (std::string line; std::getline(stream, line);)
    if (line.rfind(prefix, 0) == 0) found.push_back(line);
  return found;
}

// What a command started with popen prints until its end, and its exit status (-1 when a
// signal ended it).
inline std::string finishCommand(FILE* pipe, int& status) {
  std::string out;
  char buffer[4096];
  for (size_t got; (got = fread(buffer, 1, sizeof buffer, pipe)) > 0;) out.append(buffer, got);
  int raw = pclose(pipe);
  status = WIFEXITED(raw) ? WEXITSTATUS(raw) : -1;
  return out;
}

// A shell command run to its end: its exit status and both outputs.
struct CommandRun {
  int status = 0;
  std::string out, err;
};
inline CommandRun runCommand(const std::string& command) {
  std::string errFile = scratchPath("stderr.txt");
  CommandRun run;
  run.out = finishCommand(popen((command + " 2>" + errFile).c_str(), "r"), run.status);
  run.err = readFile(errFile);
  std::remove(errFile.c_str());
  return run;
}

// A program started with these arguments (the first names it), not waited for; 0 when it
// could not start.
inline pid_t startProgram(const std::vector<std::string>& command) {
  std::vector<char*> argv;
  for (const std::string& argument : command) argv.push_back(const_cast<char*>(argument.c_str()));
  argv.push_back(nullptr);
  pid_t pid = 0;
  return posix_spawn(&pid, argv[0], nullptr, nullptr, argv.data(), environ) == 0 ? pid : 0;
}

// The exit status of a started program once it ends (128 + the signal that ended it).
inline int finishProgram(pid_t pid) {
  int status = 0;
  if (pid <= 0 || waitpid(pid, &status, 0) != pid) return -1;
  return WIFEXITED(status) ? WEXITSTATUS(status) : 128 + WTERMSIG(status);
}

// The words of a command line.
inline std::vector<std::string> words(const std::string& line) {
  std::istringstream stream(line);
  return {std::istream_iterator<std::string>(stream), {}};
}

// Lets mpirun start the lab as root, as CI runs; MPI's leaks at exit are not ours to report.
inline void allowMpiRuns() {
  setenv("OMPI_ALLOW_RUN_AS_ROOT", "1", 1);
  setenv("OMPI_ALLOW_RUN_AS_ROOT_CONFIRM", "1", 1);
  setenv("ASAN_OPTIONS", "detect_leaks=0", 1);
}

class TempFolder : public testing::Test {
protected:
  void SetUp() override {
    folder = std::filesystem::temp_directory_path() /
             ("brikka-" + std::to_string(getpid()) + "-" +
              testing::UnitTest::GetInstance()->current_test_info()->name());
    std::filesystem::remove_all(folder);
    std::filesystem::create_directories(folder / "Storage");
  }
  void TearDown() override {
    std::filesystem::current_path(previous);
    std::filesystem::remove_all(folder);
  }
  void enter() { std::filesystem::current_path(folder); } // the game's files are relative
  std::string path(const std::string& name) const { return (folder / name).string(); }

  std::filesystem::path folder, previous = std::filesystem::current_path();
};
