// Messages as bytes: a four-byte header (protocol version, type, body length) and a body whose
// every field is written in a fixed order, little-endian. The reader checks the length against
// what the type allows and every value against the range the game can use, before any of it
// reaches the game: a peer can send anything.
#include "net/net.h"

#include "game/bytes.h"

namespace {

// ---------------------------------------------------------------------------------------------
// Writing
// ---------------------------------------------------------------------------------------------

void putPlacement(std::string& out, const FieldView& field) {
  putU8(out, static_cast<uint32_t>(field.pieceId));
  putU8(out, static_cast<uint32_t>(field.rotation));
  putU8(out, static_cast<uint32_t>(field.position.x));
  putU8(out, static_cast<uint32_t>(field.position.y));
}

void putPiece(std::string& out, const FieldView& field) {
  putPlacement(out, field);
  putU8(out, static_cast<uint32_t>(field.heldPiece));
  putU32(out, static_cast<uint32_t>(field.pieceCount));
}

void putBody(std::string& out, const Message& m) {
  switch (m.type) {
  case MessageType::hello:
    putU8(out, static_cast<uint32_t>(m.gameVersion.size()));
    out += m.gameVersion;
    putU8(out, m.labBot ? 1 : 0);
    break;
  case MessageType::start:
    putU32(out, m.seed);
    putU16(out, m.gameNumber);
    putU8(out, static_cast<uint32_t>(m.selection.size()));
    for (bool chosen : m.selection) putU8(out, chosen ? 1 : 0);
    for (const Piece& piece : m.pieces)
      for (const PieceGrid& grid : piece.grids) {
        putU8(out, static_cast<uint32_t>(grid.size()));
        for (const std::vector<int32_t>& column : grid) {
          putU8(out, static_cast<uint32_t>(column.size()));
          for (int32_t cell : column) putU8(out, static_cast<uint32_t>(cell));
        }
      }
    break;
  case MessageType::lock:
    putU32(out, m.lockIndex);
    putPlacement(out, m.field);
    putU8(out, m.fromHold ? 1 : 0);
    putU32(out, m.acked);
    putU8(out, m.risen);
    putU8(out, m.hole);
    putU32(out, m.clock);
    putU32(out, m.checksum);
    break;
  case MessageType::move:
    putPiece(out, m.field);
    break;
  case MessageType::end:
    putU8(out, m.toppedOut ? 1 : 0);
    putU32(out, m.clock);
    putU32(out, m.piecesLocked);
    putU32(out, m.chain);
    break;
  case MessageType::foul:
    putU8(out, static_cast<uint32_t>(m.foul));
    break;
  case MessageType::ping:
  case MessageType::pong:
    putU32(out, m.stamp);
    break;
  case MessageType::rematch:
  case MessageType::leave:
    break;
  }
}

// ---------------------------------------------------------------------------------------------
// Reading: every get checks what is left; a short body marks the reader failed.
// ---------------------------------------------------------------------------------------------

using Reader = ByteReader;

bool inRange(int64_t value, int64_t low, int64_t high) {
  return value >= low && value <= high;
}

constexpr int32_t offBoardMargin = 10; // a turning piece may stick out this far
constexpr uint32_t maxPieceCount = 100000000;

// A piece's id, rotation and place, as a lock and a move both start.
bool getPlacement(Reader& in, FieldView& field, int32_t pieceTypes) {
  field.pieceId = static_cast<int32_t>(in.u8());
  field.rotation = static_cast<int32_t>(in.u8());
  field.position.x = in.s8();
  field.position.y = in.s8();
  if (!in.ok()) return false;
  if (!inRange(field.pieceId, 1, pieceTypes)) return in.fail("piece id out of range");
  if (!inRange(field.rotation, 0, 3)) return in.fail("rotation out of range");
  if (!inRange(field.position.x, -offBoardMargin, boardWidth + offBoardMargin) ||
      !inRange(field.position.y, -offBoardMargin, boardHeight + offBoardMargin))
    return in.fail("position off the board");
  return true;
}

bool getPiece(Reader& in, FieldView& field, int32_t pieceTypes) {
  if (!getPlacement(in, field, pieceTypes)) return false;
  field.heldPiece = static_cast<int32_t>(in.u8());
  uint32_t count = in.u32();
  if (!in.ok()) return false;
  if (!inRange(field.heldPiece, 0, pieceTypes)) return in.fail("held piece out of range");
  if (count > maxPieceCount) return in.fail("piece count out of range");
  field.pieceCount = static_cast<int32_t>(count);
  return true;
}

bool getGrid(Reader& in, PieceGrid& grid) {
  size_t columns = in.u8();
  if (!inRange(static_cast<int64_t>(columns), 1, boardWidth)) return in.fail("piece too wide");
  grid.assign(columns, {});
  for (std::vector<int32_t>& column : grid) {
    size_t cells = in.u8();
    if (cells > static_cast<size_t>(boardHeight)) return in.fail("piece too tall");
    for (size_t r = 0; r < cells && in.ok(); ++r) {
      int32_t cell = static_cast<int32_t>(in.u8());
      if (cell > 9) return in.fail("piece cell not a digit");
      column.push_back(cell);
    }
    if (!in.ok()) return false;
  }
  return true;
}

bool getStart(Reader& in, Message& m) {
  m.seed = in.u32();
  m.gameNumber = static_cast<uint16_t>(in.u16());
  size_t loaded = in.u8();
  if (!in.ok()) return false;
  if (loaded == 0) return in.fail("no pieces");
  m.selection.assign(loaded, false);
  size_t chosen = 0;
  for (size_t k = 0; k < loaded && in.ok(); ++k) {
    uint32_t flag = in.u8();
    if (flag > 1) return in.fail("selection flag not 0 or 1");
    m.selection[k] = flag == 1;
    chosen += flag;
  }
  if (!in.ok()) return false;
  if (chosen == 0 || chosen > maxOnlinePieces) return in.fail("number of pieces out of range");
  m.pieces.assign(chosen, {});
  for (Piece& piece : m.pieces)
    for (PieceGrid& grid : piece.grids)
      if (!getGrid(in, grid)) return false;
  return true;
}

bool getLock(Reader& in, Message& m, int32_t pieceTypes) {
  m.lockIndex = in.u32();
  if (!getPlacement(in, m.field, pieceTypes)) return false;
  uint32_t hold = in.u8();
  m.acked = in.u32();
  m.risen = in.u8();
  m.hole = in.u8();
  m.clock = in.u32();
  m.checksum = in.u32();
  if (!in.ok()) return false;
  if (hold > 1) return in.fail("hold flag not 0 or 1");
  m.fromHold = hold == 1;
  if (m.hole >= static_cast<uint32_t>(boardWidth)) return in.fail("garbage hole off the board");
  return true;
}

bool getEnd(Reader& in, Message& m) {
  uint32_t topped = in.u8();
  if (in.ok() && topped > 1) return in.fail("top-out flag not 0 or 1");
  m.toppedOut = topped == 1;
  m.clock = in.u32();
  m.piecesLocked = in.u32();
  m.chain = in.u32();
  return in.ok();
}

bool getFoul(Reader& in, Message& m) {
  uint32_t foul = in.u8();
  if (in.ok() && (foul == 0 || foul > static_cast<uint32_t>(Foul::last)))
    return in.fail("unknown foul");
  m.foul = static_cast<Foul>(foul);
  return in.ok();
}

bool getHello(Reader& in, Message& m) {
  size_t length = in.u8();
  if (length > maxVersionLength) return in.fail("version text too long");
  m.gameVersion.clear();
  for (size_t i = 0; i < length && in.ok(); ++i) {
    char c = static_cast<char>(in.u8());
    if (c < 0x20 || c > 0x7e) return in.fail("version text not printable");
    m.gameVersion.push_back(c);
  }
  uint32_t lab = in.u8();
  if (in.ok() && lab > 1) return in.fail("lab flag not 0 or 1");
  m.labBot = lab == 1;
  return in.ok();
}

bool getBody(Reader& in, Message& m, int32_t pieceTypes) {
  bool inGame = pieceTypes > 0;
  switch (m.type) {
  case MessageType::hello:
    return getHello(in, m);
  case MessageType::start:
    return getStart(in, m);
  case MessageType::lock:
    return inGame ? getLock(in, m, pieceTypes) : in.fail("lock outside a game");
  case MessageType::move:
    return inGame ? getPiece(in, m.field, pieceTypes) : in.fail("move outside a game");
  case MessageType::end:
    return inGame ? getEnd(in, m) : in.fail("end outside a game");
  case MessageType::foul:
    return inGame ? getFoul(in, m) : in.fail("foul outside a game");
  case MessageType::ping:
  case MessageType::pong:
    m.stamp = in.u32();
    return in.ok();
  case MessageType::rematch:
  case MessageType::leave:
    return true;
  }
  return in.fail("unknown message type");
}

} // namespace

std::string encodeMessage(const Message& message) {
  std::string body;
  putBody(body, message);
  std::string out;
  out.reserve(messageHeaderSize + body.size());
  putU8(out, protocolVersion);
  putU8(out, static_cast<uint32_t>(message.type));
  putU16(out, static_cast<uint32_t>(body.size()));
  return out + body;
}

bool decodeMessage(const uint8_t* data, size_t size, int32_t pieceTypes, Message& message,
                   std::string& problem, bool* versionMismatch) {
  if (versionMismatch) *versionMismatch = false;
  if (size < messageHeaderSize || size > maxMessageSize) {
    problem = size < messageHeaderSize ? "message too short" : "message too long";
    return false;
  }
  if (data[0] != protocolVersion) {
    if (versionMismatch) *versionMismatch = true;
    problem = "protocol version " + std::to_string(data[0]);
    return false;
  }
  uint32_t type = data[1];
  size_t length = data[2] | static_cast<size_t>(data[3]) << 8;
  if (type < static_cast<uint32_t>(MessageType::hello) ||
      type > static_cast<uint32_t>(MessageType::foul)) {
    problem = "unknown message type " + std::to_string(type);
    return false;
  }
  if (length != size - messageHeaderSize) {
    problem = "length does not match";
    return false;
  }
  message = Message{};
  message.type = static_cast<MessageType>(type);
  Reader in;
  in.data = reinterpret_cast<const char*>(data) + messageHeaderSize;
  in.size = length;
  in.shortText = "message too short";
  bool ok = getBody(in, message, pieceTypes);
  if (ok && in.at != length) in.fail("bytes left over");
  problem = in.problem;
  return problem.empty();
}

uint32_t boardChecksum(const Board& board) {
  uint32_t hash = 2166136261u;
  for (const auto& column : board)
    for (int32_t cell : column) {
      // Garbage is grey on its own board and red on the copy: one value for both.
      if (cell >= garbageGrey) cell = garbageGrey;
      hash ^= static_cast<uint32_t>(cell) & 0xff;
      hash *= 16777619u;
    }
  return hash;
}

uint32_t chainChecksum(uint32_t chain, uint32_t value) {
  for (int shift = 0; shift < 32; shift += 8) {
    chain ^= (value >> shift) & 0xff;
    chain *= 16777619u;
  }
  return chain;
}
