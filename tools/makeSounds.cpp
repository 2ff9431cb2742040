// Synthesizes the game's sounds into the folder given as the only argument: five short effects
// (placeBlock, clearLine, takeDamage, clickButton, gameOver) and mainMusic.wav, a 32-second
// loop in A minor that the build encodes to MP3. Everything is made from oscillators and
// noise here; no recording goes in. 44.1 kHz, 16-bit.
#include "game/game.h"

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <cstdio>
#include <string>
#include <vector>

namespace {

constexpr int sampleRate = 44100;
constexpr double pi = 3.14159265358979323846;

// A mono or interleaved stereo buffer of samples in -1..1.
struct Track {
  int channels = 1;
  std::vector<double> samples;
};

double midiFrequency(double note) {
  return 440.0 * std::pow(2.0, (note - 69.0) / 12.0);
}

// Attack, decay to a sustain level while the gate is open, then a straight release to silence.
struct Envelope {
  double attack = 0.005, decay = 0.1, sustain = 0.7, release = 0.1;
  double at(double t, double gate) const {
    if (t < 0.0) return 0.0;
    auto level = [&](double u) {
      if (u < attack) return u / attack;
      if (u < attack + decay) return 1.0 - (1.0 - sustain) * (u - attack) / decay;
      return sustain;
    };
    if (t < gate) return level(t);
    return std::max(0.0, level(gate) * (1.0 - (t - gate) / release));
  }
};

// Deterministic white noise, so every build makes the same files.
double noise() {
  static uint32_t state = 0x12345678u;
  state = state * 1664525u + 1013904223u;
  return static_cast<double>(state >> 8) / 8388608.0 - 1.0;
}

bool writeWav(const std::string& path, const Track& track, double peak) {
  double loudest = 1e-9;
  for (double s : track.samples) loudest = std::max(loudest, std::fabs(s));
  std::vector<int16_t> pcm;
  pcm.reserve(track.samples.size());
  for (double s : track.samples) {
    pcm.push_back(static_cast<int16_t>(std::lround(s / loudest * peak * 32767.0)));
  }
  std::FILE* file = std::fopen(path.c_str(), "wb");
  if (!file) return false;
  auto put32 = [&](uint32_t v) {
    uint8_t b[4] = {uint8_t(v), uint8_t(v >> 8), uint8_t(v >> 16), uint8_t(v >> 24)};
    std::fwrite(b, 1, 4, file);
  };
  auto put16 = [&](uint16_t v) {
    uint8_t b[2] = {uint8_t(v), uint8_t(v >> 8)};
    std::fwrite(b, 1, 2, file);
  };
  uint32_t dataBytes = static_cast<uint32_t>(pcm.size() * 2);
  uint16_t channels = static_cast<uint16_t>(track.channels);
  std::fwrite("RIFF", 1, 4, file);
  put32(36 + dataBytes);
  std::fwrite("WAVEfmt ", 1, 8, file);
  put32(16);
  put16(1); // PCM
  put16(channels);
  put32(sampleRate);
  put32(sampleRate * channels * 2);
  put16(static_cast<uint16_t>(channels * 2));
  put16(16);
  std::fwrite("data", 1, 4, file);
  put32(dataBytes);
  for (int16_t s : pcm) put16(static_cast<uint16_t>(s));
  return std::fclose(file) == 0;
}

// Builds a mono effect of the given length from a function of time, with a short fade at both
// ends so it starts and stops without a click.
template <typename Voice> Track effect(double seconds, Voice voice) {
  Track track;
  size_t count = static_cast<size_t>(seconds * sampleRate);
  double fade = 0.003 * sampleRate;
  for (size_t i = 0; i < count; ++i) {
    double edge = std::min({1.0, i / fade, (count - 1 - i) / fade});
    track.samples.push_back(voice(static_cast<double>(i) / sampleRate) * edge);
  }
  return track;
}

// A dull thump: a falling low tone with a little click of noise on top.
Track placeBlock() {
  double phase = 0.0;
  return effect(0.14, [&](double t) {
    phase += (65.0 + 170.0 * std::exp(-t / 0.025)) / sampleRate;
    double body = std::sin(2 * pi * phase) * std::exp(-t / 0.04);
    double click = noise() * std::exp(-t / 0.004) * 0.4;
    return body + click;
  });
}

// A bright rising arpeggio of bells: C, E, G, C.
Track clearLine() {
  const double notes[] = {72, 76, 79, 84};
  return effect(0.6, [&](double t) {
    double sum = 0.0;
    for (int k = 0; k < 4; ++k) {
      double u = t - 0.06 * k;
      if (u < 0.0) continue;
      double f = midiFrequency(notes[k]);
      double bell = std::sin(2 * pi * f * u) + 0.35 * std::sin(2 * pi * 2 * f * u) +
                    0.12 * std::sin(2 * pi * 3.01 * f * u);
      sum += bell * std::min(1.0, u / 0.003) * std::exp(-u / 0.16);
    }
    return sum;
  });
}

// A harsh falling buzz with a wobble: something went wrong.
Track takeDamage() {
  double phase = 0.0;
  return effect(0.4, [&](double t) {
    double f = 95.0 - 40.0 * t / 0.4 + 6.0 * std::sin(2 * pi * 13.0 * t);
    phase += f / sampleRate;
    double saw = 2.0 * (phase - std::floor(phase)) - 1.0;
    double grit = 0.3 * noise() * std::exp(-t / 0.05);
    return std::tanh(3.0 * (saw + grit)) * std::min(1.0, t / 0.004) * std::exp(-t / 0.16);
  });
}

// A short high tick.
Track clickButton() {
  return effect(0.05, [](double t) {
    double tone = std::sin(2 * pi * 1800.0 * t) + 0.3 * std::sin(2 * pi * 3600.0 * t);
    return tone * std::min(1.0, t / 0.001) * std::exp(-t / 0.008);
  });
}

// A slow falling minor line ending on a long low note with vibrato.
Track gameOver() {
  const double notes[] = {67, 63, 60, 55};
  const double starts[] = {0.0, 0.3, 0.6, 0.9};
  double phase = 0.0;
  return effect(1.8, [&](double t) {
    int k = 3;
    while (k > 0 && t < starts[k]) --k;
    double u = t - starts[k];
    double vibrato = k == 3 ? 0.15 * std::sin(2 * pi * 5.0 * u) * std::min(1.0, u / 0.3) : 0.0;
    phase += midiFrequency(notes[k] + vibrato) / sampleRate;
    double x = phase - std::floor(phase);
    double triangle = 4.0 * std::fabs(x - 0.5) - 1.0;
    double tone = triangle + 0.3 * std::sin(2 * pi * phase * 2.0);
    double gate = k == 3 ? 0.55 : 0.26;
    Envelope shape{0.01, 0.1, 0.8, k == 3 ? 0.3 : 0.04};
    return tone * shape.at(u, gate);
  });
}

// ---------------------------------------------------------------------------------------------
// The music: four parts over a sixteen-bar chord progression.
// ---------------------------------------------------------------------------------------------

constexpr double beatSeconds = 0.5; // 120 beats a minute
constexpr double eighth = beatSeconds / 2;
constexpr int bars = 16;
constexpr double barSeconds = 4 * beatSeconds;

struct Chord {
  int bass;     // the root, low
  int tones[3]; // the pad's voicing
};

// Am F C G | Am F C E | F G Em Am | Dm G C E  (the last E leads back to the first Am)
const Chord progression[bars] = {
    {45, {57, 60, 64}}, {41, {57, 60, 65}}, {48, {55, 60, 64}}, {43, {55, 59, 62}},
    {45, {57, 60, 64}}, {41, {57, 60, 65}}, {48, {55, 60, 64}}, {40, {56, 59, 64}},
    {41, {57, 60, 65}}, {43, {55, 59, 62}}, {40, {55, 59, 64}}, {45, {57, 60, 64}},
    {38, {57, 62, 65}}, {43, {55, 59, 62}}, {48, {55, 60, 64}}, {40, {56, 59, 64}}};

struct MelodyNote {
  int note;    // 0 = rest
  int eighths; // length
};

// Eight eighths per bar.
const std::vector<std::vector<MelodyNote>> melody = {
    {{76, 2}, {81, 1}, {79, 1}, {76, 2}, {72, 2}},
    {{77, 3}, {76, 1}, {72, 2}, {69, 2}},
    {{67, 1}, {72, 1}, {76, 1}, {79, 1}, {76, 2}, {72, 2}},
    {{74, 6}, {0, 2}},
    {{76, 2}, {81, 1}, {83, 1}, {84, 2}, {83, 1}, {81, 1}},
    {{81, 2}, {77, 2}, {72, 2}, {77, 2}},
    {{76, 1}, {79, 1}, {84, 2}, {79, 2}, {76, 2}},
    {{80, 4}, {83, 2}, {76, 2}},
    {{81, 2}, {84, 2}, {81, 1}, {79, 1}, {77, 2}},
    {{79, 2}, {83, 2}, {86, 2}, {83, 2}},
    {{76, 3}, {79, 1}, {83, 2}, {79, 2}},
    {{81, 4}, {76, 2}, {72, 2}},
    {{74, 1}, {77, 1}, {81, 1}, {86, 1}, {84, 2}, {81, 2}},
    {{83, 2}, {79, 2}, {74, 2}, {79, 2}},
    {{84, 3}, {83, 1}, {79, 2}, {76, 2}},
    {{83, 2}, {80, 2}, {76, 4}}};

struct Song {
  Track track;
  size_t length; // frames in one loop
};

// Adds a voice into the stereo mix. Its tail is cut short where it would cross the loop's end,
// so the loop ends in silence and starts again without a click.
template <typename Wave>
void addNote(Song& song, double start, double gate, const Envelope& shape, double gain, double pan,
             Wave wave) {
  double loopSeconds = static_cast<double>(song.length) / sampleRate;
  gate = std::min(gate, loopSeconds - shape.release - start - 0.002);
  if (gate <= 0.0) return;
  size_t first = static_cast<size_t>(start * sampleRate);
  size_t last =
      std::min(song.length, static_cast<size_t>((start + gate + shape.release) * sampleRate));
  double left = gain * std::cos(pan * pi / 2), right = gain * std::sin(pan * pi / 2);
  for (size_t i = first; i < last; ++i) {
    double t = static_cast<double>(i - first) / sampleRate;
    double value = wave(t) * shape.at(t, gate);
    song.track.samples[2 * i] += value * left;
    song.track.samples[2 * i + 1] += value * right;
  }
}

double partials(double f, double t, double second, double third) {
  return std::sin(2 * pi * f * t) + second * std::sin(4 * pi * f * t) +
         third * std::sin(6 * pi * f * t);
}

void addPads(Song& song) {
  for (int bar = 0; bar < bars; ++bar) {
    for (int k = 0; k < 3; ++k) {
      double f = midiFrequency(progression[bar].tones[k]);
      // Two slightly detuned voices beat slowly against each other, which makes the pad breathe.
      addNote(song, bar * barSeconds, barSeconds - 0.1, {0.35, 0.5, 0.8, 0.6}, 0.09,
              0.25 + 0.25 * k, [f](double t) {
                return partials(f * 1.0015, t, 0.4, 0.15) + partials(f * 0.9985, t, 0.4, 0.15);
              });
    }
  }
}

void addBass(Song& song) {
  // Root, root, octave, fifth, octave: one bar in eighths.
  const int steps[][2] = {{0, 2}, {0, 1}, {12, 1}, {7, 2}, {12, 2}};
  for (int bar = 0; bar < bars; ++bar) {
    double time = bar * barSeconds;
    for (const auto& step : steps) {
      double f = midiFrequency(progression[bar].bass + step[0]);
      addNote(song, time, step[1] * eighth * 0.8, {0.005, 0.12, 0.6, 0.05}, 0.34, 0.5,
              [f](double t) { return std::tanh(1.6 * partials(f, t, 0.35, 0.1)); });
      time += step[1] * eighth;
    }
  }
}

void addArpeggio(Song& song) {
  const int order[] = {0, 1, 2, 1, 0, 1, 2, 1};
  for (int bar = 0; bar < bars; ++bar) {
    for (int step = 0; step < 8; ++step) {
      double f = midiFrequency(progression[bar].tones[order[step]] + 12);
      addNote(song, bar * barSeconds + step * eighth, 0.03, {0.002, 0.02, 0.5, 0.18}, 0.07, 0.8,
              [f](double t) { return partials(f, t, 0.2, 0.05) * std::exp(-t / 0.12); });
    }
  }
}

void addMelody(Song& song) {
  double time = 0.0;
  for (const auto& bar : melody) {
    for (const MelodyNote& note : bar) {
      double length = note.eighths * eighth;
      if (note.note != 0) {
        double f = midiFrequency(note.note);
        addNote(song, time, length * 0.9 - 0.06, {0.01, 0.2, 0.65, 0.08}, 0.2, 0.42, [f](double t) {
          double vibrato = 0.004 * std::sin(2 * pi * 5.5 * t) * std::min(1.0, t / 0.3);
          double g = f * (1.0 + vibrato);
          // Odd partials give a soft, hollow reed.
          return std::sin(2 * pi * g * t) + 0.3 * std::sin(6 * pi * g * t) +
                 0.12 * std::sin(10 * pi * g * t);
        });
      }
      time += length;
    }
  }
}

void addDrums(Song& song) {
  for (int beat = 0; beat < bars * 4; ++beat) {
    double time = beat * beatSeconds;
    if (beat % 2 == 0) {
      double phase = 0.0;
      addNote(song, time, 0.05, {0.001, 0.05, 0.5, 0.12}, 0.5, 0.5, [phase](double t) mutable {
        phase += (50.0 + 100.0 * std::exp(-t / 0.03)) / sampleRate;
        return std::sin(2 * pi * phase);
      });
    } else {
      double low = 0.0;
      addNote(song, time, 0.03, {0.001, 0.03, 0.4, 0.12}, 0.22, 0.55, [low](double t) mutable {
        double n = noise();
        low += 0.25 * (n - low);
        return (n - low) * 0.8 + 0.5 * std::sin(2 * pi * 190.0 * t) * std::exp(-t / 0.04);
      });
    }
    // Closed hi-hat on the off-beat eighths.
    addNote(song, time + eighth, 0.01, {0.001, 0.01, 0.3, 0.03}, 0.06, 0.7, [](double) {
      static double previous = 0.0;
      double n = noise(), high = n - previous;
      previous = n;
      return high;
    });
  }
}

Track mainMusic() {
  Song song;
  song.length = static_cast<size_t>(bars * barSeconds * sampleRate);
  song.track.channels = 2;
  song.track.samples.assign(2 * song.length, 0.0);
  addPads(song);
  addBass(song);
  addArpeggio(song);
  addMelody(song);
  addDrums(song);
  return song.track;
}

} // namespace

static int run(int argc, char** argv) {
  if (argc != 2) {
    std::fprintf(stderr, "usage: %s <folder>\n", argv[0]);
    return 2;
  }
  for (const auto& bar : melody) {
    int eighths = 0;
    for (const MelodyNote& note : bar) eighths += note.eighths;
    if (eighths != 8) {
      std::fprintf(stderr, "makeSounds: a melody bar holds %d eighths\n", eighths);
      return 1;
    }
  }
  const std::string folder = argv[1];
  struct Output {
    const char* name;
    Track track;
    double peak;
  };
  const Output outputs[] = {
      {"placeBlock.wav", placeBlock(), 0.85}, {"clearLine.wav", clearLine(), 0.8},
      {"takeDamage.wav", takeDamage(), 0.8},  {"clickButton.wav", clickButton(), 0.7},
      {"gameOver.wav", gameOver(), 0.8},      {"mainMusic.wav", mainMusic(), 0.85}};
  for (const Output& output : outputs) {
    std::string path = folder + "/" + output.name;
    if (!writeWav(path, output.track, output.peak)) {
      std::fprintf(stderr, "makeSounds: cannot write %s\n", path.c_str());
      return 1;
    }
  }
  return 0;
}

int main(int argc, char** argv) {
  return runGuarded("makeSounds", [&] { return run(argc, argv); });
}
