// brikka-lab train and tune as a user runs them: the real program, alone and under mpirun.
#include "folders.h"

#include <SDL_image.h>

#include <chrono>
#include <csignal>
#include <thread>

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
    allowMpiRuns();
  }
  // The lab on the data folder, under mpirun on that many ranks (0: alone).
  std::vector<std::string> lab(const std::string& arguments, int ranks = 0) {
    std::string mpirun = BRIKKA_MPIEXEC " --oversubscribe -n " + std::to_string(ranks) + " ";
    return words((ranks > 0 ? mpirun : "") + BRIKKA_LAB_PROGRAM + " " + arguments + " --data " +
                 path("data"));
  }
  static int run(const std::vector<std::string>& command) {
    return finishProgram(startProgram(command));
  }
};

// A small run: two generations would already breed and move parents between ranks.
// Each subject plays three games a generation, so the seeds must follow the same rule on
// every rank.
const std::string smallRun = "train --population 5 --moves 15 --hidden-layers 1 --neurons 8 "
                             "--generations 3 --seed 11 --games-per-subject 3 --held-out-games 4";

TEST_F(LabRuns, OneAndTwoRanksTrainTheSameNetworksAndDrawTheGraph) {
  ASSERT_EQ(run(lab(smallRun + " --out " + path("one.txt"), 1)), 0);
  ASSERT_EQ(run(lab(smallRun + " --out " + path("two.txt") + " --plot " + path("graph.png"), 2)),
            0);
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
  const std::string options = "train --population 6 --moves 40 --hidden-layers 1 --neurons 16 "
                              "--generations 40 --games-per-subject 2 --held-out-games 6";
  ASSERT_EQ(run(lab(options + " --out " + path("unbroken.txt"))), 0);

  std::vector<std::string> broken =
      lab(options + " --out " + path("broken.txt") + " --log " + path("log.csv") +
          " --checkpoint " + path("run.checkpoint") + " --resume");
  pid_t pid = startProgram(broken);
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
    finishProgram(pid);
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
  const std::string tune = "tune --pieces all --iterations 2 --candidates 2 --games 3 --seed 5";
  ASSERT_EQ(run(lab(tune + " --out " + path("first.txt"))), 0);
  ASSERT_EQ(run(lab(tune + " --out " + path("second.txt"), 2)), 0);
  std::string weights = readFile(path("first.txt"));
  EXPECT_EQ(weights, readFile(path("second.txt")));
  EXPECT_EQ(std::count(weights.begin(), weights.end(), '\n'), 4);
}

} // namespace
