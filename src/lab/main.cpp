// brikka-lab: plays, measures and trains the game's artificial players without a window.
#include "lab/lab.h"

#include <cstdio>

int main(int argc, char** argv) {
  CLI::App app{"Brikka Lab: the headless laboratory for Brikka's artificial players"};
  app.require_subcommand(1);
  addPlayCommand(app);
  addAgreeCommand(app);
  addDistillCommand(app);
  addTrainCommand(app);
  addTuneCommand(app);
  addDuelCommand(app);
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
    std::fprintf(stderr, "brikka-lab: %s\n", error.message.c_str());
    leaveRanks(true);
    return 2;
  }
  leaveRanks(false);
  return 0;
}
