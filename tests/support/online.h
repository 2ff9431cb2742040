// Messages an honest opponent would send, for the online tests.
#pragma once

#include "net/net.h"

#include <arpa/inet.h>
#include <netinet/in.h>

// The address of port on 127.0.0.1, where every network test stays.
inline sockaddr_in loopback(uint16_t port) {
  sockaddr_in address{};
  address.sin_family = AF_INET;
  address.sin_port = htons(port);
  address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
  return address;
}

// Starts the game this side's catalogue makes, dealt from seed.
inline Message startOfGame(uint32_t seed) {
  Message start;
  start.type = MessageType::start;
  start.seed = seed;
  start.gameNumber = 1;
  start.selection = pieceSelection;
  start.pieces = pieceCatalogue;
  return start;
}

// The opponent's next lock as this side's copy expects it: the piece dealt, dropped straight
// down from where pieces appear, with the checksum of the board it leaves.
inline Message restingLock() {
  Message lock;
  lock.type = MessageType::lock;
  lock.lockIndex = remoteLocks + 1;
  lock.acked = remoteAcked;
  lock.clock = remoteClock;
  lock.field.pieceId = p2PieceId;
  lock.field.position = spawnPosition;
  const PieceGrid& grid = pieceGrid(p2PieceId, 0);
  while (pieceFits(2, grid, 0, 1, &lock.field.position)) ++lock.field.position.y;
  Board after = p2Board;
  for (size_t c = 0; c < grid.size(); ++c)
    for (size_t r = 0; r < grid[c].size(); ++r)
      if (grid[c][r] == 1) after[lock.field.position.x + c][lock.field.position.y + r] = p2PieceId;
  lock.checksum = boardChecksum(after);
  return lock;
}

// The opponent's game over: it stopped at `clock` with that many pieces locked, the chain of
// their checksums ending at chain.
inline Message endOfGame(uint32_t clock, uint32_t piecesLocked, uint32_t chain) {
  Message end;
  end.type = MessageType::end;
  end.clock = clock;
  end.piecesLocked = piecesLocked;
  end.chain = chain;
  return end;
}
