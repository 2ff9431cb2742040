// brikka-lab duel: one side of an online game played by the heuristic bot (or a network),
// against a game or another duel over the network. Prints each game's result as both sides
// agree on it, and a summary.
#include "lab/lab.h"

#include <CLI/CLI.hpp>

#include "game/game.h"
#include "net/net.h"

#include <cstdio>
#include <thread>

namespace {

struct DuelOptions {
  DataOptions data;
  int64_t hostPort = 0;    // listen here; 0 = join instead
  std::string joinAddress; // host[:port]
  std::string networkFile; // empty = the heuristic
  int64_t games = 1;
  int64_t maxPieces = 1000000;
  int64_t seed = 1;       // host: game k is dealt from seed + k - 1
  double pieceMs = -1.0;  // pause between pieces; negative = by the opponent, as below
  double timeout = 600.0; // seconds the whole duel may take
} options;

// Unless told otherwise, the bot plays a window at a person's pace and another bot flat out
// (the other side still refuses a flood).
constexpr double humanPieceMs = 500.0;
constexpr double botPieceMs = 1.0;

double pieceMs() {
  if (options.pieceMs >= 0.0) return options.pieceMs;
  return opponentIsLab ? botPieceMs : humanPieceMs;
}

// The bot's clock: ten pieces a second of game time, or as slow as it plays when slower, so that
// against a window both clocks run alike.
constexpr double fastestMsPerPiece = 100.0;
constexpr double lingerMs = 500.0; // after the last game: let the last packets through

const char* sideName(bool host) {
  return host ? "host" : "guest";
}

struct Tally {
  int64_t games = 0, hostWins = 0, guestWins = 0, draws = 0, noResults = 0, brokeRules = 0;
  uint64_t locksChecked = 0;
};

// One game's line, worked out from this side's game and its copy of the other: the same line on
// both sides.
void printResult(Tally& tally) {
  std::string result = resultName(onlineResult);
  ++tally.games;
  tally.hostWins += onlineResult == OnlineResult::host;
  tally.guestWins += onlineResult == OnlineResult::guest;
  tally.draws += onlineResult == OnlineResult::draw;
  tally.noResults += onlineResult == OnlineResult::noResult;
  tally.brokeRules +=
      onlineResult == OnlineResult::brokeRulesHost || onlineResult == OnlineResult::brokeRulesGuest;
  tally.locksChecked += remoteLocks;
  bool h = onlineIsHost;
  double seconds = std::max(localEndClock, remoteEndClock) / 1000.0;
  std::printf("game %u seed %u result %s host-lines %d host-sent %d host-pieces %u%s "
              "guest-lines %d guest-sent %d guest-pieces %u%s game-seconds %.1f\n",
              onlineGameNumber, onlineSeed, result.c_str(), h ? p1Lines : p2Lines,
              h ? p1GarbageSent : p2GarbageSent, h ? localLocks : remoteLocks,
              (h ? localToppedOut : remoteToppedOut) ? " host-topped-out" : "",
              h ? p2Lines : p1Lines, h ? p2GarbageSent : p1GarbageSent,
              h ? remoteLocks : localLocks,
              (h ? remoteToppedOut : localToppedOut) ? " guest-topped-out" : "", seconds);
  if (foulFound != Foul::none) std::printf("foul %s\n", foulText(foulFound));
  std::fflush(stdout);
}

// One piece of this side's game, as the bot plays it, and what the other side is told.
void playOnePiece(Network* network) {
  double msPerPiece = std::max(fastestMsPerPiece, pieceMs());
  frameDelta = msPerPiece / 10.0;
  for (DamageRecord& record : p1IncomingDamage) record.timer -= frameDelta;
  onlineClock += msPerPiece;
  if (network)
    placeNetwork(*network);
  else
    placeHeuristic();
  lineClearParticles.clear(); // nobody draws them here
  afterLocalStep();
  if (!localEnded && localLocks >= options.maxPieces) endLocalGame(false);
}

void runDuel() {
  loadLabData(options.data);
  Network network;
  if (!options.networkFile.empty()) network = loadLabNetwork(options.networkFile);
  Network* player = options.networkFile.empty() ? nullptr : &network;
  bool hosting = options.hostPort != 0;
  if (hosting ? !hostOnline(static_cast<uint16_t>(options.hostPort))
              : !joinOnline(options.joinAddress))
    throw LabError{onlineStatus};
  localIsLab = true;
  opponentIsLab = false;
  nextGameSeed = static_cast<uint32_t>(options.seed);

  auto start = std::chrono::steady_clock::now();
  Tally tally;
  double finishedAt = -1.0;
  bool printed = false;
  uint16_t seededGame = 0;
  while (secondsSince(start) < options.timeout) {
    pollOnline();
    if (finishedAt >= 0.0 && netClock() - finishedAt > lingerMs) break;
    if (onlinePhase == OnlinePhase::closed || onlinePhase == OnlinePhase::idle) {
      // A game the connection's end settled (left, thrown out, lost) still has its line.
      if (onlineResult != OnlineResult::undecided && !printed) printResult(tally);
      break;
    }
    if (onlinePhase == OnlinePhase::playing && countdownShown() == 0) {
      // The two sides' garbage holes differ, as two players' would.
      if (seededGame != onlineGameNumber) seedRandom(onlineSeed * 2 + (hosting ? 0 : 1));
      seededGame = onlineGameNumber;
      printed = false;
      playOnePiece(player);
      // The pause is spent answering the other side, so a ping measures the network only.
      double resume = netClock() + pieceMs();
      while (netClock() < resume && onlinePhase == OnlinePhase::playing) {
        std::this_thread::sleep_for(std::chrono::milliseconds(1));
        pollOnline();
      }
      continue;
    }
    if (onlinePhase == OnlinePhase::finished && onlineResult != OnlineResult::undecided &&
        !printed) {
      printed = true;
      printResult(tally);
      if (tally.games >= options.games) {
        finishedAt = netClock();
      } else {
        nextGameSeed = static_cast<uint32_t>(options.seed + tally.games);
        requestRematch();
      }
    }
    std::this_thread::sleep_for(std::chrono::milliseconds(1));
  }
  bool timedOut = secondsSince(start) >= options.timeout;
  std::string status = onlineStatus;
  double lastLatency = onlineLatency;
  closeOnline(CloseReason::none);
  restoreOwnPieces();
  std::printf("summary side %s games %lld host-wins %lld guest-wins %lld draws %lld "
              "no-results %lld broke-rules %lld "
              "locks-checked %llu checksum-mismatches %u bytes-sent %llu bytes-received %llu "
              "messages-sent %llu latency-ms %.0f seconds %.2f\n",
              sideName(hosting), static_cast<long long>(tally.games),
              static_cast<long long>(tally.hostWins), static_cast<long long>(tally.guestWins),
              static_cast<long long>(tally.draws), static_cast<long long>(tally.noResults),
              static_cast<long long>(tally.brokeRules),
              static_cast<unsigned long long>(tally.locksChecked), checksumMismatches,
              static_cast<unsigned long long>(bytesSent),
              static_cast<unsigned long long>(bytesReceived),
              static_cast<unsigned long long>(messagesSent), lastLatency, secondsSince(start));
  if (checksumMismatches > 0) throw LabError{"boards disagreed between the two sides"};
  if (tally.games == 0)
    throw LabError{timedOut ? "no game finished before the timeout"
                            : (status.empty() ? "no game was played" : status)};
  if (timedOut) throw LabError{"timed out after " + std::to_string(tally.games) + " games"};
}

} // namespace

void addDuelCommand(CLI::App& app) {
  CLI::App* command =
      app.add_subcommand("duel", "play online games as the bot, against a game or another duel");
  addDataOptions(*command, options.data);
  CLI::Option* host =
      command->add_option("--host", options.hostPort, "listen on this port and deal the pieces")
          ->check(wholeBetween(1, 65535));
  command->add_option("--join", options.joinAddress, "join the game at HOST[:PORT]")
      ->excludes(host);
  command->add_option("--network", options.networkFile, "play this network instead of the search")
      ->check(CLI::ExistingFile);
  command->add_option("--games", options.games, "games to play")
      ->check(wholeBetween(1, 1000000000));
  command->add_option("--max-pieces", options.maxPieces, "a side stops after this many pieces")
      ->check(wholeBetween(1, 1000000000000));
  command->add_option("--seed", options.seed, "host: seed of the first game; the next add one")
      ->check(wholeBetween(1, largestSeed));
  command
      ->add_option("--piece-ms", options.pieceMs,
                   "milliseconds between the bot's pieces (default: 500 against a window, 1 "
                   "against another duel)")
      ->check(realBetween(0.0, 10000.0));
  command->add_option("--timeout", options.timeout, "seconds the whole duel may take")
      ->check(realBetween(0.0, 31536000.0, false));
  command->callback([] {
    if (options.hostPort == 0 && options.joinAddress.empty())
      throw LabError{"duel needs --host PORT or --join HOST[:PORT]"};
    runDuel();
  });
}
