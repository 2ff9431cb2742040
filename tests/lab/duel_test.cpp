// Two duel processes on 127.0.0.1 play whole online games against each other, directly and
// through a relay that delays, jitters and drops: both print the same results, and every board
// one side sent is the board the other side drew.
#include "folders.h"

#include <csignal>

namespace {

const std::string lab = BRIKKA_LAB_PROGRAM;
const std::string data = std::string(" --data ") + BRIKKA_SOURCE_DIR;

FILE* start(const std::string& command) {
  return popen((command + " 2>&1").c_str(), "r");
}

// The number after name in a summary line.
long long field(const std::string& line, const std::string& name) {
  size_t at = line.find(" " + name + " ");
  return at == std::string::npos ? -1 : std::stoll(line.substr(at + name.size() + 2));
}

// A host on hostPort and a guest joining joinPort (the host's, or a relay's), run to their end.
struct Sides {
  std::string hostOut, guestOut;
  int hostStatus = 0, guestStatus = 0;
};
Sides runDuel(int hostPort, int joinPort, const std::string& options) {
  std::string common = data + " --timeout 60 " + options;
  FILE* host = start(lab + " duel --host " + std::to_string(hostPort) + common);
  FILE* guest = start(lab + " duel --join 127.0.0.1:" + std::to_string(joinPort) + common);
  Sides sides;
  sides.guestOut = finishCommand(guest, sides.guestStatus);
  sides.hostOut = finishCommand(host, sides.hostStatus);
  return sides;
}

// Plays games between a host and a guest that joins joinPort.
void duel(int hostPort, int joinPort, const std::string& options, int games) {
  auto [hostOut, guestOut, hostStatus, guestStatus] =
      runDuel(hostPort, joinPort, "--games " + std::to_string(games) + " " + options);
  ASSERT_EQ(hostStatus, 0) << hostOut;
  ASSERT_EQ(guestStatus, 0) << guestOut;

  std::vector<std::string> hostGames = linesStarting(hostOut, "game ");
  EXPECT_EQ(hostGames.size(), static_cast<size_t>(games)) << hostOut;
  EXPECT_EQ(hostGames, linesStarting(guestOut, "game ")) << hostOut << guestOut;
  std::string hostSummary = linesStarting(hostOut, "summary ").at(0);
  std::string guestSummary = linesStarting(guestOut, "summary ").at(0);
  EXPECT_EQ(field(hostSummary, "checksum-mismatches"), 0);
  EXPECT_EQ(field(guestSummary, "checksum-mismatches"), 0);
  // Every lock of one side was checked on the other.
  long long guestPieces = 0, hostPieces = 0;
  for (const std::string& line : hostGames) {
    guestPieces += field(line, "guest-pieces");
    hostPieces += field(line, "host-pieces");
  }
  EXPECT_EQ(field(hostSummary, "locks-checked"), guestPieces);
  EXPECT_EQ(field(guestSummary, "locks-checked"), hostPieces);
}

void stopRelay(pid_t relay) {
  kill(relay, SIGTERM);
  finishProgram(relay);
}

// The word after "result" in a game line.
std::string resultOf(const std::string& line) {
  size_t at = line.find(" result ");
  return at == std::string::npos ? "" : line.substr(at + 8, line.find(' ', at + 8) - at - 8);
}

// Both sides of one game through a relay that cuts every packet for a while.
void outage(int hostPort, int relayPort, int seconds, std::vector<std::string> results[2]) {
  pid_t relay =
      startProgram({BRIKKA_RELAY_PROGRAM, std::to_string(relayPort), std::to_string(hostPort), "5",
                    "0", "0", "60", "1", std::to_string(seconds)});
  ASSERT_NE(relay, 0);
  Sides sides = runDuel(hostPort, relayPort, "--games 1 --max-pieces 300 --piece-ms 30 --seed 3");
  stopRelay(relay);
  results[0] = linesStarting(sides.hostOut, "game ");
  results[1] = linesStarting(sides.guestOut, "game ");
  EXPECT_EQ(results[0].size(), 1u) << sides.hostOut;
  EXPECT_EQ(results[1].size(), 1u) << sides.guestOut;
}

// A connection that goes silent for 5 s comes back with nothing lost: the game ends as both
// sides agree. One silent for 20 s ends with no result on both sides, never two winners.
TEST(Duel, AnOutageIsWaitedOutOrEndsWithNoResult) {
  const int base = 31000 + static_cast<int>(getpid() % 5000) * 2;
  std::vector<std::string> shortOutage[2], longOutage[2];
  outage(base, base + 1, 5, shortOutage);
  if (!shortOutage[0].empty() && !shortOutage[1].empty()) {
    EXPECT_EQ(shortOutage[0], shortOutage[1]);
    EXPECT_NE(resultOf(shortOutage[0][0]), "no-result");
  }
  outage(base, base + 1, 20, longOutage);
  if (!longOutage[0].empty() && !longOutage[1].empty()) {
    EXPECT_EQ(resultOf(longOutage[0][0]), "no-result");
    EXPECT_EQ(resultOf(longOutage[1][0]), "no-result");
  }
}

TEST(Duel, BothSidesAgreeDirectlyAndThroughABadNetwork) {
  const int base = 30000 + static_cast<int>(getpid() % 5000) * 2;
  duel(base, base, "--max-pieces 120 --piece-ms 0.5 --seed 5", 3);

  // 100 ms each way, +-30 ms of jitter, 5 % of the unreliable packets lost.
  pid_t relay = startProgram({BRIKKA_RELAY_PROGRAM, std::to_string(base + 1), std::to_string(base),
                              "100", "30", "5", "60"});
  ASSERT_NE(relay, 0);
  duel(base, base + 1, "--max-pieces 80 --piece-ms 5 --seed 9", 2);
  stopRelay(relay);
}

} // namespace
