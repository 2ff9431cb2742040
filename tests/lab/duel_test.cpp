// Two duel processes on 127.0.0.1 play whole online games against each other, directly and
// through a relay that delays, jitters and drops: both print the same results, and every board
// one side sent is the board the other side drew.
#include "folders.h"

#include <csignal>
#include <spawn.h>

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

// Plays games between a host and a guest that joins joinPort (the host's, or a relay's).
void duel(int hostPort, int joinPort, const std::string& options, int games) {
  std::string common = data + " --games " + std::to_string(games) + " --timeout 60 " + options;
  FILE* host = start(lab + " duel --host " + std::to_string(hostPort) + common);
  FILE* guest = start(lab + " duel --join 127.0.0.1:" + std::to_string(joinPort) + common);
  int hostStatus = 0, guestStatus = 0;
  std::string guestOut = finishCommand(guest, guestStatus);
  std::string hostOut = finishCommand(host, hostStatus);
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

TEST(Duel, BothSidesAgreeDirectlyAndThroughABadNetwork) {
  const int base = 30000 + static_cast<int>(getpid() % 5000) * 2;
  duel(base, base, "--max-pieces 120 --piece-ms 0.5 --seed 5", 3);

  // 100 ms each way, +-30 ms of jitter, 5 % of the unreliable packets lost.
  std::string listen = std::to_string(base + 1), target = std::to_string(base);
  const char* relayArguments[] = {
      BRIKKA_RELAY_PROGRAM, listen.c_str(), target.c_str(), "100", "30", "5", "60", nullptr};
  pid_t relay = 0;
  ASSERT_EQ(posix_spawn(&relay, BRIKKA_RELAY_PROGRAM, nullptr, nullptr,
                        const_cast<char* const*>(relayArguments), environ),
            0);
  duel(base, base + 1, "--max-pieces 80 --piece-ms 5 --seed 9", 2);
  kill(relay, SIGTERM);
  waitpid(relay, nullptr, 0);
}

} // namespace
