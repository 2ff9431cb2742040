// brikka-lab train and tune as a user runs them: the real program, alone and under mpirun.
#include "folders.h"

#include <SDL_image.h>

#include <chrono>
#include <csignal>
#include <spawn.h>
#include <sys/wait.h>
#include <thread>

extern char** environ;

namespace fs = std::filesystem;

namespace {

class LabRuns : public TempFolder {
protected:
  void SetUp() override {
    TempFolder::SetUp();
    // A data folder: the shipped Storage files and the font the graph labels with.
    fs::create_directories(folder / "data" / "Fonts");
    fs::copy(fs::path(BRIKKA_SOURCE_DIR) / "Storage", folder / "data" / "Storage");
    fs::create_symlink(BRIKKA_FONT_FILE, folder / "data" / "Fonts" / "nasaFont.ttf");
    // CI runs as root, on two cores; MPI's leaks at exit are not ours to report.
    setenv("OMPI_ALLOW_RUN_AS_ROOT", "1", 1);
    setenv("OMPI_ALLOW_RUN_AS_ROOT_CONFIRM", "1", 1);
    setenv("ASAN_OPTIONS", "detect_leaks=0", 1);
  }
  std::vector<std::string> lab(const std::vector<std::string>& arguments) {
    std::vector<std::string> command = {BRIKKA_LAB_PROGRAM};
    command.insert(command.end(), arguments.begin(), arguments.end());
    command.insert(command.end(), {"--data", path("data")});
    return command;
  }
  std::vector<std::string> underMpirun(int ranks, const std::vector<std::string>& command) {
    std::vector<std::string> wrapped = {BRIKKA_MPIEXEC, "--oversubscribe", "-n",
                                        std::to_string(ranks)};
    wrapped.insert(wrapped.end(), command.begin(), command.end());
    return wrapped;
  }
  static pid_t start(const std::vector<std::string>& command) {
    std::vector<char*> argv;
    for (const std::string& argument : command) argv.push_back(const_cast<char*>(argument.c_str()));
    argv.push_back(nullptr);
    pid_t pid = -1;
    EXPECT_EQ(posix_spawn(&pid, argv[0], nullptr, nullptr, argv.data(), environ), 0);
    return pid;
  }
  static int finish(pid_t pid) {
    int status = 0;
    waitpid(pid, &status, 0);
    return WIFEXITED(status) ? WEXITSTATUS(status) : 128 + WTERMSIG(status);
  }
  static int run(const std::vector<std::string>& command) { return finish(start(command)); }
};

// A small run: two generations would already breed and move parents between ranks.
// Each subject plays three games a generation, so the seeds must follow the same rule on
// every rank.
const std::vector<std::string> smallRun = {
    "train", "--population",        "5", "--moves",          "15", "--hidden-layers",
    "1",     "--neurons",           "8", "--generations",    "3",  "--seed",
    "11",    "--games-per-subject", "3", "--held-out-games", "4"};

TEST_F(LabRuns, OneAndTwoRanksTrainTheSameNetworksAndDrawTheGraph) {
  std::vector<std::string> one = lab(smallRun), two = lab(smallRun);
  one.insert(one.end(), {"--out", path("one.txt")});
  two.insert(two.end(), {"--out", path("two.txt"), "--plot", path("graph.png")});
  ASSERT_EQ(run(underMpirun(1, one)), 0);
  ASSERT_EQ(run(underMpirun(2, two)), 0);
  std::string network = readFile(path("one.txt"));
  EXPECT_EQ(network.rfind("407,9,44,\n", 0), 0u); // seven pieces + 400 inputs, 8 + 1, actions
  EXPECT_EQ(network, readFile(path("two.txt")));

  // The training screen's graph panel: white, with a blue curve and blue bound labels.
  SDL_Surface* loaded = IMG_Load(path("graph.png").c_str());
  ASSERT_NE(loaded, nullptr) << IMG_GetError();
  SDL_Surface* graph = SDL_ConvertSurfaceFormat(loaded, SDL_PIXELFORMAT_RGB888, 0);
  SDL_FreeSurface(loaded);
  EXPECT_EQ(graph->w, 900);
  EXPECT_EQ(graph->h, 800);
  int white = 0, blue = 0;
  for (int y = 0; y < graph->h; ++y)
    for (int x = 0; x < graph->w; ++x) {
      uint32_t pixel = static_cast<uint32_t*>(graph->pixels)[y * (graph->pitch / 4) + x] & 0xffffff;
      white += pixel == 0xffffff;
      blue += pixel == 0x0000ff;
    }
  SDL_FreeSurface(graph);
  EXPECT_GT(white, 900 * 800 / 2);
  EXPECT_GT(blue, 700 * 2); // a line across the panel, two pixels thick, and the labels
}

TEST_F(LabRuns, AKilledRunResumesToTheNetworksOfAnUnbrokenOne) {
  std::vector<std::string> options = {"train", "--population",     "6",  "--moves",
                                      "40",    "--hidden-layers",  "1",  "--neurons",
                                      "16",    "--generations",    "40", "--games-per-subject",
                                      "2",     "--held-out-games", "6"};
  std::vector<std::string> unbroken = lab(options);
  unbroken.insert(unbroken.end(), {"--out", path("unbroken.txt")});
  ASSERT_EQ(run(unbroken), 0);

  std::vector<std::string> broken = lab(options);
  broken.insert(broken.end(), {"--out", path("broken.txt"), "--log", path("log.csv"),
                               "--checkpoint", path("run.checkpoint"), "--resume"});
  pid_t pid = start(broken);
  ASSERT_GT(pid, 0); // kill(-1) would end every process we may signal
  // Killed as soon as the checkpoint says two generations are done: at whatever moment of the
  // third (or a later) one that happens to be.
  auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(120);
  bool running = true;
  while (readFile(path("run.checkpoint")).find("\ngeneration 3\n") == std::string::npos &&
         std::chrono::steady_clock::now() < deadline &&
         (running = waitpid(pid, nullptr, WNOHANG) == 0))
    std::this_thread::sleep_for(std::chrono::milliseconds(1));
  if (running) { // a reaped number may already belong to another process
    kill(pid, SIGKILL);
    finish(pid);
  }
  ASSERT_TRUE(fs::exists(path("run.checkpoint")));

  ASSERT_EQ(run(broken), 0);
  EXPECT_EQ(readFile(path("broken.txt")), readFile(path("unbroken.txt")));
  // The log holds each generation once, whatever the stop cut short.
  std::string log = readFile(path("log.csv"));
  EXPECT_EQ(std::count(log.begin(), log.end(), '\n'), 41);
  EXPECT_NE(log.find("\n40,"), std::string::npos);
}

TEST_F(LabRuns, TuningTwiceWritesTheSameWeights) {
  std::vector<std::string> tune = {"tune", "--pieces", "all", "--iterations", "2", "--candidates",
                                   "2",    "--games",  "3",   "--seed",       "5"};
  std::vector<std::string> first = lab(tune), second = lab(tune);
  first.insert(first.end(), {"--out", path("first.txt")});
  second.insert(second.end(), {"--out", path("second.txt")});
  ASSERT_EQ(run(first), 0);
  ASSERT_EQ(run(underMpirun(2, second)), 0);
  std::string weights = readFile(path("first.txt"));
  EXPECT_EQ(weights, readFile(path("second.txt")));
  EXPECT_EQ(std::count(weights.begin(), weights.end(), '\n'), 4);
}

} // namespace
