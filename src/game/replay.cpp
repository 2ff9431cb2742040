// Replay files: the format, its writer and its careful reader, which refuses anything that is
// not a whole, sane replay before a single frame is played.
#include "game/replay.h"

#include "game/game.h"

#include <cmath>
#include <cstring>
#include <fstream>
#include <sys/stat.h>

namespace {

constexpr char replayMagic[8] = {'B', 'R', 'I', 'K', 'K', 'A', 'R', 'P'};
constexpr size_t maxPieces = 256;  // the catalogue of any piece files the game reads
constexpr size_t maxGridSide = 16; // columns of a grid, and cells of a column
constexpr size_t maxWeights = 64;  // evaluation weights
constexpr size_t maxVersionLength = 64;
constexpr double maxDelta = 1.0e6; // frameDelta units: a frame of almost three hours

// Frame tokens: below 0x80 a run of the previous frame (token + 1 frames); else a new frame,
// its low bits saying what follows.
constexpr uint8_t newFrame = 0x80;
constexpr uint8_t actionsFollow = 0x01;
constexpr uint8_t deltaFollows = 0x02;
constexpr uint8_t clickFollows = 0x04;
constexpr uint8_t notStepped = 0x08;
constexpr uint8_t ticksFollow = 0x10;     // the frame's length as counter ticks, from the last ones
constexpr uint8_t handlingFollows = 0x20; // format 2: cells moved and soft-drop factors changed
constexpr uint32_t longestRun = 128;

// --- writing ---

void putBytes(std::string& out, const void* data, size_t size) {
  out.append(static_cast<const char*>(data), size);
}
void putU8(std::string& out, uint32_t v) {
  out.push_back(static_cast<char>(v & 0xFF));
}
void putU64(std::string& out, uint64_t v) {
  for (int i = 0; i < 8; ++i) putU8(out, static_cast<uint32_t>(v >> (8 * i)));
}
void putU32(std::string& out, uint32_t v) {
  for (int i = 0; i < 4; ++i) putU8(out, v >> (8 * i));
}
void putDouble(std::string& out, double v) {
  uint64_t bits;
  std::memcpy(&bits, &v, sizeof bits);
  putU64(out, bits);
}
void putVarint(std::string& out, uint64_t v) {
  while (v >= 0x80) {
    putU8(out, static_cast<uint32_t>(v & 0x7F) | 0x80);
    v >>= 7;
  }
  putU8(out, static_cast<uint32_t>(v));
}

// --- reading: every get checks the bytes left, and a failure sticks ---

struct Reader {
  const std::string& bytes;
  size_t at = 0;
  std::string problem; // the first thing found wrong
  bool fail(const std::string& what) {
    if (problem.empty()) problem = what;
    return false;
  }
  bool take(void* out, size_t size) {
    if (!problem.empty()) return false;
    if (bytes.size() - at < size) return fail("cut short");
    std::memcpy(out, bytes.data() + at, size);
    at += size;
    return true;
  }
  uint32_t u8() {
    unsigned char v = 0;
    take(&v, 1);
    return v;
  }
  uint32_t u32() {
    uint32_t v = 0;
    for (int i = 0; i < 4; ++i) v |= u8() << (8 * i);
    return v;
  }
  uint64_t u64() {
    uint64_t v = 0;
    for (int i = 0; i < 8; ++i) v |= static_cast<uint64_t>(u8()) << (8 * i);
    return v;
  }
  double number(double low, double high, const char* what) {
    uint64_t bits = u64();
    double v;
    std::memcpy(&v, &bits, sizeof v);
    if (!std::isfinite(v) || v < low || v > high) fail(std::string("bad ") + what);
    return problem.empty() ? v : 0.0;
  }
  uint64_t varint() {
    uint64_t v = 0;
    for (int shift = 0; shift < 64; shift += 7) {
      uint32_t b = u8();
      v |= static_cast<uint64_t>(b & 0x7F) << shift;
      if (!(b & 0x80)) return v;
    }
    fail("bad number");
    return 0;
  }
};

uint64_t zigzag(int64_t v) {
  return (static_cast<uint64_t>(v) << 1) ^ static_cast<uint64_t>(v >> 63);
}
int64_t unzigzag(uint64_t v) {
  return static_cast<int64_t>(v >> 1) ^ -static_cast<int64_t>(v & 1);
}

void putGrid(std::string& out, const PieceGrid& grid) {
  putU8(out, static_cast<uint32_t>(grid.size()));
  for (const auto& column : grid) {
    putU8(out, static_cast<uint32_t>(column.size()));
    for (int32_t cell : column) putU8(out, cell == 1 ? 1 : 0);
  }
}

PieceGrid getGrid(Reader& in) {
  PieceGrid grid(std::min<size_t>(in.u8(), maxGridSide + 1));
  if (grid.size() > maxGridSide) in.fail("piece too large");
  for (auto& column : grid) {
    size_t length = in.u8();
    if (length > maxGridSide) in.fail("piece too large");
    if (!in.problem.empty()) return {};
    column.resize(length);
    for (int32_t& cell : column) cell = in.u8() == 1 ? 1 : 0;
  }
  return grid;
}

void putResult(std::string& out, const ReplayResult& r) {
  putU32(out, static_cast<uint32_t>(r.score));
  putU32(out, static_cast<uint32_t>(r.lines));
  putU32(out, static_cast<uint32_t>(r.pieces));
  putU32(out, static_cast<uint32_t>(r.garbageSent));
  putU32(out, r.frames);
  putDouble(out, r.clock);
  putU64(out, r.boardHash);
}

ReplayResult getResult(Reader& in) {
  ReplayResult r;
  r.score = static_cast<int32_t>(in.u32());
  r.lines = static_cast<int32_t>(in.u32());
  r.pieces = static_cast<int32_t>(in.u32());
  r.garbageSent = static_cast<int32_t>(in.u32());
  r.frames = in.u32();
  r.clock = in.number(0.0, 1.0e12, "game time");
  r.boardHash = in.u64();
  if (r.frames > replayFrameLimit) in.fail("too many frames");
  return r;
}

void putFrames(std::string& out, const std::vector<ReplayFrame>& frames, uint64_t frequency,
               uint32_t format) {
  ReplayFrame previous;
  uint64_t previousTicks = 0;
  bool first = true;
  for (const ReplayFrame& f : frames) {
    uint8_t token = newFrame;
    if (first || f.actions != previous.actions) token |= actionsFollow;
    if (first || f.delta != previous.delta) {
      bool exact = f.ticks != 0 && frameDeltaFromCounter(f.ticks, frequency) == f.delta;
      token |= exact ? ticksFollow : deltaFollows;
    }
    if (f.clicked) token |= clickFollows;
    if (!f.stepped) token |= notStepped;
    if (format >= 2 && !sameHandling(f, previous)) token |= handlingFollows;
    putU8(out, token);
    if (token & actionsFollow) putU8(out, f.actions & 0xFF), putU8(out, f.actions >> 8);
    if (token & deltaFollows) putDouble(out, f.delta);
    if (token & ticksFollow) {
      putVarint(out, zigzag(static_cast<int64_t>(f.ticks - previousTicks)));
      previousTicks = f.ticks;
    }
    if (token & clickFollows) putVarint(out, zigzag(f.clickSum));
    if (token & handlingFollows)
      for (int i = 0; i < 2; ++i) putU8(out, f.moveCells[i]), putU8(out, f.softDropFactor[i] + 1);
    for (uint32_t left = f.repeat - 1; left > 0;) {
      uint32_t run = std::min(left, longestRun);
      putU8(out, run - 1);
      left -= run;
    }
    previous = f;
    first = false;
  }
}

void getFrames(Reader& in, uint32_t expected, uint64_t frequency, uint32_t format,
               std::vector<ReplayFrame>& frames) {
  frames.clear();
  uint64_t total = 0;
  uint64_t previousTicks = 0;
  ReplayFrame previous;
  bool first = true;
  while (in.problem.empty() && in.at < in.bytes.size()) {
    uint32_t token = in.u8();
    if (!(token & newFrame)) {
      if (first) {
        in.fail("frames start with a repeat");
        return;
      }
      frames.back().repeat += token + 1;
      total += token + 1;
    } else {
      uint32_t unknown = format >= 2 ? 0x40 : 0x60;
      if (token & unknown || ((token & ticksFollow) && (token & deltaFollows || frequency == 0))) {
        in.fail("unknown frame token");
        return;
      }
      ReplayFrame f = previous;
      f.repeat = 1;
      if (first && (!(token & actionsFollow) || !(token & (deltaFollows | ticksFollow)))) {
        in.fail("first frame incomplete");
        return;
      }
      if (token & actionsFollow) {
        uint32_t low = in.u8();
        f.actions = static_cast<uint16_t>(low | in.u8() << 8);
      }
      if (f.actions >> 14) in.fail("unknown action flags");
      if (token & deltaFollows) f.delta = in.number(0.0, maxDelta, "frame time");
      f.ticks = 0;
      if (token & ticksFollow) {
        f.ticks = previousTicks + static_cast<uint64_t>(unzigzag(in.varint()));
        previousTicks = f.ticks;
        f.delta = frameDeltaFromCounter(f.ticks, frequency);
        if (f.ticks == 0 || !(f.delta <= maxDelta)) in.fail("bad frame time");
      }
      f.clicked = token & clickFollows;
      f.clickSum = 0;
      if (f.clicked) {
        int64_t sum = unzigzag(in.varint());
        if (sum < -1000000 || sum > 1000000) in.fail("bad click");
        f.clickSum = static_cast<int32_t>(sum);
      }
      f.stepped = !(token & notStepped);
      if (token & handlingFollows)
        for (int i = 0; i < 2; ++i) {
          f.moveCells[i] = static_cast<int32_t>(in.u8());
          f.softDropFactor[i] = static_cast<int32_t>(in.u8()) - 1;
          if (f.moveCells[i] < 1 || f.moveCells[i] > boardWidth || f.softDropFactor[i] > 40)
            in.fail("bad handling");
        }
      frames.push_back(f);
      previous = f;
      previous.clicked = false;
      first = false;
      ++total;
    }
    if (total > expected) in.fail("more frames than the result counts");
  }
  if (in.problem.empty() && total != expected) in.fail("cut short: fewer frames than counted");
}

bool fail(std::string* error, const std::string& what) {
  if (error) *error = what;
  return false;
}

} // namespace

uint64_t hashBytes(uint64_t hash, const void* data, size_t size) {
  const unsigned char* p = static_cast<const unsigned char*>(data);
  for (size_t i = 0; i < size; ++i) hash = (hash ^ p[i]) * 0x100000001b3ULL;
  return hash;
}

std::string replayBytes(const Replay& replay) {
  std::string out;
  putBytes(out, replayMagic, sizeof replayMagic);
  putU32(out, replay.format);
  std::string version = replay.gameVersion.substr(0, maxVersionLength);
  putU8(out, static_cast<uint32_t>(version.size()));
  out += version;
  putU8(out, static_cast<uint32_t>(replay.mode));
  putU8(out, static_cast<uint32_t>(replay.variant));
  putU64(out, static_cast<uint64_t>(replay.date));
  putU32(out, static_cast<uint32_t>(replay.pieces.size()));
  for (size_t i = 0; i < replay.pieces.size(); ++i) {
    putU32(out, static_cast<uint32_t>(replay.pieceSource[i]));
    for (const PieceGrid& grid : replay.pieces[i].grids) putGrid(out, grid);
  }
  putU8(out, static_cast<uint32_t>(replay.weights.size()));
  for (double w : replay.weights) putDouble(out, w);
  putDouble(out, replay.botStepInterval);
  putDouble(out, replay.botMoveTimer);
  putU8(out, replay.botStepwise);
  putU8(out, replay.botUsesNetwork);
  putU64(out, replay.networkHash);
  putDouble(out, replay.p1Sensitivity);
  putDouble(out, replay.p2Sensitivity);
  putBytes(out, replay.random.table.data(), replay.random.table.size());
  putU8(out, static_cast<uint32_t>(replay.random.front));
  putU8(out, static_cast<uint32_t>(replay.random.rear));
  putU64(out, replay.counterFrequency);
  putResult(out, replay.result);
  putFrames(out, replay.frames, replay.counterFrequency, replay.format);
  putU64(out, replayCheckSum(out));
  return out;
}

double frameDeltaFromCounter(uint64_t ticks, uint64_t frequency) {
  // The product in 64-bit integers, then the two divisions in double, as the frame clock has
  // always done it: the same bits for the same ticks.
  uint64_t scaled = ticks * 1000;
  return static_cast<double>(scaled) / static_cast<double>(frequency) / 10.0;
}

uint64_t replayCheckSum(const std::string& body) {
  return hashBytes(replayHashStart, body.data(), body.size());
}

bool readReplayBytes(const std::string& whole, Replay& replay, std::string* error) {
  // The last eight bytes are a hash of all the others: a file damaged anywhere is refused.
  // It is checked last, so that everything before it is read as carefully as if it matched.
  size_t body = whole.size() >= 8 ? whole.size() - 8 : 0;
  const std::string bytes = whole.substr(0, body);
  Reader in{bytes, 0, {}};
  char magic[sizeof replayMagic] = {};
  in.take(magic, sizeof magic);
  if (!in.problem.empty() || std::memcmp(magic, replayMagic, sizeof magic) != 0)
    return fail(error, "not a Brikka replay");
  uint32_t format = in.u32();
  if (format < 1 || format > replayFormatVersion)
    return fail(error, "replay format " + std::to_string(format) + " is not one this build reads");
  Replay r;
  r.format = format;
  r.gameVersion.resize(in.u8());
  in.take(r.gameVersion.data(), r.gameVersion.size());
  r.mode = static_cast<int32_t>(in.u8());
  r.variant = static_cast<int32_t>(in.u8());
  if (in.problem.empty() && !playMode(r.mode)) in.fail("unknown game mode");
  if (r.variant > ultraVariant || (r.mode != 1 && r.variant != 0)) in.fail("unknown variant");
  r.date = static_cast<int64_t>(in.u64());
  uint32_t count = in.u32();
  if (count == 0 || count > maxPieces) in.fail("bad piece count");
  for (uint32_t i = 0; i < count && in.problem.empty(); ++i) {
    uint32_t source = in.u32();
    if (source >= maxPieces) in.fail("bad piece number");
    r.pieceSource.push_back(static_cast<int32_t>(source));
    Piece piece;
    for (PieceGrid& grid : piece.grids) grid = getGrid(in);
    r.pieces.push_back(piece);
  }
  for (size_t i = 0; i < r.pieceSource.size(); ++i)
    for (size_t j = 0; j < i; ++j)
      if (r.pieceSource[i] <= r.pieceSource[j]) in.fail("pieces out of order");
  size_t weights = in.u8();
  if (weights > maxWeights) in.fail("too many weights");
  for (size_t i = 0; i < weights && in.problem.empty(); ++i)
    r.weights.push_back(in.number(-1.0e9, 1.0e9, "weight"));
  r.botStepInterval = in.number(0.0, 1.0e6, "bot interval");
  r.botMoveTimer = in.number(-1.0e9, 1.0e9, "bot timer");
  r.botStepwise = in.u8() != 0;
  r.botUsesNetwork = in.u8() != 0;
  r.networkHash = in.u64();
  r.p1Sensitivity = in.number(-1.0e6, 1.0e6, "sensitivity");
  r.p2Sensitivity = in.number(-1.0e6, 1.0e6, "sensitivity");
  in.take(r.random.table.data(), r.random.table.size());
  r.random.front = static_cast<int32_t>(in.u8());
  r.random.rear = static_cast<int32_t>(in.u8());
  RandomStream check;
  if (in.problem.empty() && !restoreRandomState(check, r.random)) in.fail("bad random state");
  r.counterFrequency = in.u64();
  r.result = getResult(in);
  getFrames(in, r.result.frames, r.counterFrequency, r.format, r.frames);
  if (!in.problem.empty()) return fail(error, in.problem);
  std::string trailer = whole.substr(body);
  Reader sum{trailer, 0, {}};
  if (sum.u64() != replayCheckSum(bytes))
    return fail(error, "damaged: its check sum does not match");
  // Only bytes this game would write are taken: others that decode (a cell of 2, a flag of 7, a
  // value repeated where it is unchanged) were not made here, and would not write back the same.
  if (replayBytes(r) != whole) return fail(error, "damaged: not written the way this game writes");
  replay = std::move(r);
  return true;
}

bool readReplayFile(const std::string& path, Replay& replay, std::string* error) {
  struct stat info;
  if (stat(path.c_str(), &info) != 0) return fail(error, path + ": cannot be read");
  if (!S_ISREG(info.st_mode)) return fail(error, path + ": not a regular file");
  if (static_cast<uint64_t>(info.st_size) > replayFileLimit)
    return fail(error, path + ": too large for a replay");
  std::ifstream file(path, std::ios::binary);
  std::string bytes(replayFileLimit + 1, '\0');
  file.read(bytes.data(), static_cast<std::streamsize>(bytes.size()));
  bytes.resize(static_cast<size_t>(file.gcount()));
  if (!file.eof() || bytes.size() > replayFileLimit)
    return fail(error, path + ": cannot be read whole");
  std::string problem;
  if (!readReplayBytes(bytes, replay, &problem)) return fail(error, path + ": " + problem);
  return true;
}
