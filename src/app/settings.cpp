// The settings files: key bindings, auto-repeat sensitivities and the solo high score.
// Every write goes through a temporary file, so a crash or a full disk never leaves a
// half-written file behind.
#include "app/settings.h"
#include "app/input.h"
#include "game/game.h"

#include <algorithm>
#include <cerrno>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <sstream>

const int32_t defaultControls[controlCount] = {7,  4,  26, 27, 22, 8,   20,
                                               79, 80, 82, 44, 81, 229, 56};

namespace {

// The whole file as lines (without their line feeds), blank lines at its end left out; false
// when it cannot be read, with the reason in problem.
bool readLines(const char* path, std::vector<std::string>& lines, std::string& problem) {
  std::string text;
  if (!readFileLimited(path, settingsFileLimit, &text, &problem)) {
    problem = problem.substr(std::strlen(path) + 2);
    return false;
  }
  std::istringstream file(text);
  std::string line;
  while (std::getline(file, line)) lines.push_back(line);
  // An editor's extra line feed at the end is no reason to throw every binding away.
  while (!lines.empty() && lines.back().find_first_not_of(" \t\r") == std::string::npos)
    lines.pop_back();
  return true;
}

// Leading white space skipped, the longest numeric prefix converted, the rest ignored.
bool parseInteger(const std::string& text, int32_t& value) {
  const char* start = text.c_str();
  char* end = nullptr;
  errno = 0;
  long number = std::strtol(start, &end, 10);
  if (end == start || errno == ERANGE || number < INT32_MIN || number > INT32_MAX) return false;
  value = static_cast<int32_t>(number);
  return true;
}

bool parseFinite(const std::string& text, double& value) {
  const char* start = text.c_str();
  char* end = nullptr;
  errno = 0;
  double number = std::strtod(start, &end);
  if (end == start || errno == ERANGE || !std::isfinite(number)) return false;
  value = number;
  return true;
}

// The 14 bindings of the controls file; an empty text when they are all valid, else the problem.
std::string parseControls(std::vector<int32_t>& values) {
  std::vector<std::string> lines;
  std::string problem;
  if (!readLines(controlsPath, lines, problem)) return problem;
  if (lines.size() != controlCount) {
    return "holds " + std::to_string(lines.size()) + " lines instead of " +
           std::to_string(controlCount);
  }
  for (size_t i = 0; i < lines.size(); ++i) {
    int32_t scancode = 0;
    if (!parseInteger(lines[i], scancode) || scancode < 0 || scancode >= scancodeLimit) {
      return "line " + std::to_string(i + 1) + " is not a key code from 0 to " +
             std::to_string(scancodeLimit - 1);
    }
    values.push_back(scancode);
  }
  return "";
}

void reportFallback(const char* path, const std::string& problem, const char* replacement) {
  std::fprintf(stderr, "%s: %s; using %s\n", path, problem.c_str(), replacement);
}

// A failed write (read-only folder, full disk) is said once, with the system's reason; the value
// in memory stays as the player set it.
bool writeSettingsFile(const char* path, const std::string& text) {
  std::string error;
  if (writeFileAtomically(path, text, &error)) return true;
  std::fprintf(stderr, "Brikka: could not save %s\n", error.c_str());
  return false;
}

} // namespace

// Shows each binding on its control button of the settings screen, once the menus exist.
void labelControlButtons(const std::vector<int32_t>& values) {
  if (screenButtons.size() <= 3) return;
  std::vector<Button>& buttons = screenButtons[3];
  for (size_t i = 0; i < values.size() && i < buttons.size(); ++i) {
    buttons[i].valueText = keyDisplayName(values[i]);
  }
}

void readSensitivities() {
  std::vector<std::string> lines;
  double first = 0.0, second = 0.0;
  std::string problem;
  if (readLines(sensitivityPath, lines, problem)) {
    if (lines.size() < 2)
      problem = "holds fewer than two lines";
    else if (!parseFinite(lines[0], first) || !parseFinite(lines[1], second))
      problem = "holds a value that is not a finite number";
  }
  if (problem.empty()) {
    // Held to what the sliders can set: a hand-edited 1e200 would not even fit the file again.
    p1Sensitivity = std::clamp(first, minSensitivity, maxSensitivity);
    p2Sensitivity = std::clamp(second, minSensitivity, maxSensitivity);
    // As the file holds them: a value held to the range counts as changed at the next save.
    savedSensitivities = {first, second};
    return;
  }
  reportFallback(sensitivityPath, problem, "the default sensitivities");
  p1Sensitivity = defaultSensitivity;
  p2Sensitivity = defaultSensitivity;
  writeSensitivities();
}

// "%f" of any value, however long: a fixed buffer would cut a large one.
static std::string fixedSixDecimals(double value) {
  int length = std::snprintf(nullptr, 0, "%f", value);
  std::string text(static_cast<size_t>(length), '\0');
  std::snprintf(text.data(), text.size() + 1, "%f", value);
  return text;
}

std::string sensitivityFileText(double p1, double p2) {
  return fixedSixDecimals(p1) + "\n" + fixedSixDecimals(p2) + "\n";
}

bool writeSensitivities() {
  // Another game on this folder may have moved the other slider since: only the values this
  // game changed since its last read or write replace what the file holds now.
  std::vector<std::string> lines;
  std::string problem;
  double onDisk[2] = {p1Sensitivity, p2Sensitivity}, first = 0.0, second = 0.0;
  if (readLines(sensitivityPath, lines, problem) && lines.size() >= 2 &&
      parseFinite(lines[0], first) && parseFinite(lines[1], second)) {
    if (p1Sensitivity == savedSensitivities[0]) onDisk[0] = first;
    if (p2Sensitivity == savedSensitivities[1]) onDisk[1] = second;
  }
  if (!writeSettingsFile(sensitivityPath, sensitivityFileText(onDisk[0], onDisk[1]))) return false;
  savedSensitivities = {p1Sensitivity, p2Sensitivity};
  return true;
}

void readControls(bool startUp) {
  std::vector<int32_t> values;
  std::string problem = parseControls(values);
  if (!problem.empty()) {
    // At start-up the defaults stand in; when relabelling, the bindings in memory are the truth.
    bool keepMemory = !startUp && controls.size() == controlCount;
    reportFallback(controlsPath, problem,
                   keepMemory ? "the current key bindings" : "the default key bindings");
    if (!keepMemory) controls.assign(defaultControls, defaultControls + controlCount);
    values = controls;
    writeControls();
  } else if (startUp) {
    controls = values;
  }
  labelControlButtons(values);
}

std::string controlsFileText(const std::vector<int32_t>& bindings) {
  std::string text;
  for (int32_t scancode : bindings) text += std::to_string(scancode) + "\n";
  return text;
}

bool writeControls() {
  return writeSettingsFile(controlsPath, controlsFileText(controls));
}

bool saveControl(int32_t index) {
  if (index < 0 || index >= static_cast<int32_t>(controls.size())) return false;
  // The file as it is now, so that another game's bindings on this folder survive; a broken
  // file is replaced by this game's bindings.
  std::vector<int32_t> onDisk;
  if (!parseControls(onDisk).empty()) return writeControls();
  onDisk[index] = controls[index];
  return writeSettingsFile(controlsPath, controlsFileText(onDisk));
}

void readHighscore() {
  std::string text, problem;
  if (!readFileLimited(highscorePath, settingsFileLimit, &text, &problem)) {
    if (errno != ENOENT) std::fprintf(stderr, "%s; starting from 0\n", problem.c_str());
    return;
  }
  std::istringstream file(text);
  std::string word;
  if (!(file >> word)) return;
  int32_t value = 0;
  if (!parseInteger(word, value)) {
    std::fprintf(stderr, "%s: \"%s\" is not a score; starting from 0\n", highscorePath,
                 word.c_str());
    return;
  }
  highscore = value;
}

bool writeHighscore() {
  return writeSettingsFile(highscorePath, std::to_string(highscore));
}
