// brikka-lab: plays, measures and trains the game's artificial players without a window.
#include "lab/lab.h"

#include <CLI/CLI.hpp>

#include <cstdio>
#include <exception>

int main(int argc, char** argv) {
  CLI::App app{"Brikka Lab: the headless laboratory for Brikka's artificial players"};
  app.require_subcommand(1);
  // Every option keeps its default as text, so the checks and the ranks' comparison see it.
  app.option_defaults()->always_capture_default();
  addPlayCommand(app);
  addAgreeCommand(app);
  addDistillCommand(app);
  addTrainCommand(app);
  addTuneCommand(app);
  addReplayCommand(app);
  addDuelCommand(app);
  addLadderCommand(app);
  for (const char* name : {"train", "distill", "tune"}) addMemoryOption(*app.get_subcommand(name));
  app.parse_complete_callback([&app] { checkCommand(*app.get_subcommands().front()); });
  try {
    app.parse(argc, argv);
  } catch (const CLI::CallForHelp& help) {
    return app.exit(help);
  } catch (const CLI::CallForAllHelp& help) {
    return app.exit(help);
  } catch (const CLI::ParseError& error) {
    std::fprintf(stderr, "brikka-lab: %s (see --help)\n", error.what());
    return 2;
  } catch (const LabError& error) {
    // Under mpirun a rank other than the first says it is the one that could not go on.
    std::string rank = rankIndex() > 0 ? "rank " + std::to_string(rankIndex()) + ": " : "";
    if (!error.message.empty())
      std::fprintf(stderr, "brikka-lab: %s%s\n", rank.c_str(), error.message.c_str());
    leaveRanks(!error.everyRankStops);
    return 2;
  } catch (const std::exception& error) {
    // A backstop: every known fault has its own check and message before this.
    std::fprintf(stderr, "brikka-lab: stopped by an unexpected error: %s\n", error.what());
    leaveRanks(true);
    return 2;
  }
  leaveRanks(false);
  return 0;
}
