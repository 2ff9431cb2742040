// The program: the command line, then everything happens in runGame.
#include "app/shell.h"
#include "game/game.h"
#include "net/state.h"

#include <CLI/CLI.hpp>
#include <filesystem>

int main(int argc, char* argv[]) {
  return runGuarded("brikka", [&] {
    CLI::App options{"Brikka: a falling-block puzzle game for one or two players.", "brikka"};
    options.set_version_flag("--version", std::string("brikka ") + gameVersion);
    bool fullscreen = false, windowed = false;
    CLI::Option* full = options.add_flag("--fullscreen", fullscreen, "start in full screen");
    options.add_flag("--windowed", windowed, "start in a window")->excludes(full);
    CLI::Option* play =
        options.add_option("--play", launchOptions.play, "start straight into a mode")
            ->check(CLI::IsMember({"sprint", "ultra", "solo"}));
    options.add_option("--replay", launchOptions.replay, "play back a replay file")->excludes(play);
    std::string hostPort;
    CLI::Option* host = options
                            .add_option("--host", hostPort,
                                        "host an online game on PORT (default " +
                                            std::to_string(defaultOnlinePort) + ")")
                            ->expected(0, 1)
                            ->check(CLI::Range(1, 65535));
    options.add_option("--join", launchOptions.joinAddress, "join the online game at HOST[:PORT]")
        ->excludes(host);
    CLI11_PARSE(options, argc, argv);
    // The game works inside its runtime folder: a path given from here must not depend on it.
    if (!launchOptions.replay.empty())
      launchOptions.replay = std::filesystem::absolute(launchOptions.replay).string();
    if (host->count() > 0)
      launchOptions.hostPort = hostPort.empty() ? defaultOnlinePort : std::stoi(hostPort);
    if (fullscreen) launchOptions.fullscreen = 1;
    if (windowed) launchOptions.fullscreen = 0;
    return runGame();
  });
}
