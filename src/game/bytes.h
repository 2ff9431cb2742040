// Little-endian bytes with bounds: the one writer and the one reader of the game's binary
// formats (replays, online messages), and the one hash over bytes. Nothing here touches SDL.
#pragma once

#include <cstddef>
#include <cstdint>
#include <cstring>
#include <string>

// ---------------------------------------------------------------------------------------------
// Writing
// ---------------------------------------------------------------------------------------------

inline void putU8(std::string& out, uint32_t v) {
  out.push_back(static_cast<char>(v & 0xFF));
}
inline void putU16(std::string& out, uint32_t v) {
  putU8(out, v);
  putU8(out, v >> 8);
}
inline void putU32(std::string& out, uint32_t v) {
  putU16(out, v);
  putU16(out, v >> 16);
}
inline void putU64(std::string& out, uint64_t v) {
  putU32(out, static_cast<uint32_t>(v));
  putU32(out, static_cast<uint32_t>(v >> 32));
}
inline void putDouble(std::string& out, double v) {
  uint64_t bits;
  std::memcpy(&bits, &v, sizeof bits);
  putU64(out, bits);
}
// Seven bits a byte, low first; the top bit says another byte follows.
inline void putVarint(std::string& out, uint64_t v) {
  while (v >= 0x80) {
    putU8(out, static_cast<uint32_t>(v & 0x7F) | 0x80);
    v >>= 7;
  }
  putU8(out, static_cast<uint32_t>(v));
}

// ---------------------------------------------------------------------------------------------
// Reading: every get checks the bytes left, and the first failure sticks (later gets give 0)
// ---------------------------------------------------------------------------------------------

struct ByteReader {
  const char* data = nullptr;          // the bytes
  size_t size = 0;                     // bytes past this are not read
  size_t at = 0;                       // the next byte read
  std::string problem;                 // the first thing found wrong; empty while all is well
  const char* shortText = "cut short"; // the problem a read past size makes

  bool ok() const { return problem.empty(); }
  bool fail(const std::string& what) {
    if (problem.empty()) problem = what;
    return false;
  }
  bool take(void* out, size_t count) {
    if (!problem.empty()) return false;
    if (size - at < count) return fail(shortText);
    std::memcpy(out, data + at, count);
    at += count;
    return true;
  }
  uint32_t u8() {
    unsigned char v = 0;
    take(&v, 1);
    return v;
  }
  // Each part read in its own statement: the operands of | have no order of their own.
  uint32_t u16() {
    uint32_t low = u8();
    return low | u8() << 8;
  }
  uint32_t u32() {
    uint32_t low = u16();
    return low | u16() << 16;
  }
  uint64_t u64() {
    uint64_t low = u32();
    return low | static_cast<uint64_t>(u32()) << 32;
  }
  int32_t s8() { return static_cast<int8_t>(u8()); }
  int32_t s16() { return static_cast<int16_t>(u16()); }
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

inline ByteReader readerOf(const std::string& bytes, size_t at = 0,
                           size_t end = std::string::npos) {
  ByteReader in;
  in.data = bytes.data();
  in.size = end < bytes.size() ? end : bytes.size();
  in.at = at;
  return in;
}

// ---------------------------------------------------------------------------------------------
// Hashing: FNV-1a over bytes, continuing from hash (hashStart for a fresh one)
// ---------------------------------------------------------------------------------------------

constexpr uint64_t hashStart = 0xcbf29ce484222325ULL;
inline uint64_t hashBytes(uint64_t hash, const void* data, size_t size) {
  const unsigned char* p = static_cast<const unsigned char*>(data);
  for (size_t i = 0; i < size; ++i) hash = (hash ^ p[i]) * 0x100000001b3ULL;
  return hash;
}
