// Online messages: an input is a run of messages (each after a two-byte length) that a peer
// sends into a game just started. Whatever decodes writes back to the same bytes, whatever the
// protocol accepts leaves the game within its bounds, and nothing the host sends wins it a game
// this side did not lose by topping out.
#include "fuzz.h"

#include "../support/online.h"
#include "net/net.h"

#include <cstring>

namespace {

// A fresh game as a guest, from the host's start message.
void startGame() {
  Message start = startOfGame(99);
  onlineIsHost = false;
  onlinePhase = OnlinePhase::greeting;
  opponentGreeted = true;
  CloseReason reason;
  FUZZ_CHECK(handleMessage(start, reason));
  FUZZ_CHECK(onlinePhase == OnlinePhase::playing);
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  loadShippedPieces();
  resetBoards(0);
  startGame();
  const int32_t types = static_cast<int32_t>(pieceCatalogue.size());
  size_t at = 0, messages = 0;
  while (at + 2 <= size) {
    size_t length = data[at] | static_cast<size_t>(data[at + 1]) << 8;
    at += 2;
    if (length > size - at) length = size - at;
    Message message;
    std::string problem;
    bool decoded = decodeMessage(data + at, length, types, message, problem);
    FUZZ_CHECK(decoded == problem.empty());
    if (decoded) {
      std::string again = encodeMessage(message);
      FUZZ_CHECK(again.size() == length && std::memcmp(again.data(), data + at, length) == 0);
      CloseReason reason;
      if (!handleMessage(message, reason)) break; // the connection would close here
    }
    at += length;
    ++messages;
    // The copy takes two pieces a lock at most (a hold into the empty slot, and the next), and
    // garbage comes to this side only from rows the copy cleared, one record a lock; the lock
    // found broken may have been played before its fault showed, hence one more.
    FUZZ_CHECK(p2PieceCount <= static_cast<int32_t>(2 * (remoteLocks + 1)));
    FUZZ_CHECK(pieceQueue.size() <= 8 + 2 * messages + static_cast<size_t>(p1PieceCount));
    FUZZ_CHECK(p1IncomingDamage.size() <= remoteLocks + 1);
    FUZZ_CHECK(static_cast<uint32_t>(p2Lines) <= (remoteLocks + 1) * boardHeight);
    // This side locked nothing and never topped out: the host cannot have won.
    FUZZ_CHECK(onlineResult != OnlineResult::host);
    for (const auto& column : p2Board)
      for (int32_t cell : column)
        FUZZ_CHECK(cell == 0 || (cell >= 1 && cell <= types) || (cell >= 100 && cell <= 102));
  }
  restoreOwnPieces();
  return 0;
}
