// Storage/preferences.txt: every setting added after the original settings files, one
// "name = value" line each. One table says what each name is; one reader and one writer walk it.
// A change rewrites only its own line of the file as it is on disk now, so two games sharing a
// folder keep each other's changes, and names this version does not know survive.
#include "app/settings.h"
#include "game/game.h"
#include "net/state.h"

#include <cerrno>
#include <climits>
#include <cstdio>
#include <cstdlib>
#include <sstream>

namespace {

enum class Kind { integer, flag, text, choice };

struct Preference {
  const char* name;        // as written in the file
  Kind kind;               // how the value is written and checked
  int32_t* integer;        // Kind::integer and Kind::choice (the chosen word's index)
  bool* flag;              // Kind::flag
  std::string* text;       // Kind::text
  int32_t minimum;         // Kind::integer: smallest value accepted
  int32_t maximum;         // Kind::integer: largest value accepted
  int32_t defaultInteger;  // Kind::integer and Kind::flag (0 or 1)
  const char* defaultText; // Kind::text; Kind::choice: its words, "first|second"
};

Preference integerRow(const char* name, int32_t* variable, int32_t fallback, int32_t minimum,
                      int32_t maximum) {
  return {name, Kind::integer, variable, nullptr, nullptr, minimum, maximum, fallback, ""};
}
Preference flagRow(const char* name, bool* variable, bool fallback) {
  return {name, Kind::flag, nullptr, variable, nullptr, 0, 1, fallback ? 1 : 0, ""};
}
Preference padRow(const char* name, int32_t* variable, int32_t fallback) {
  return integerRow(name, variable, fallback, 0, SDL_CONTROLLER_BUTTON_MAX - 1);
}
Preference textRow(const char* name, std::string* variable, const char* fallback) {
  return {name, Kind::text, nullptr, nullptr, variable, 0, 0, 0, fallback};
}
Preference choiceRow(const char* name, int32_t* variable, const char* words, int32_t fallback) {
  return {name, Kind::choice, variable, nullptr, nullptr, 0, 0, fallback, words};
}

// Word index of a choice row ("classic|custom": 0 classic, 1 custom).
std::string choiceWord(const Preference& row, int32_t index) {
  std::istringstream words(row.defaultText);
  std::string word;
  for (int32_t i = 0; std::getline(words, word, '|'); ++i)
    if (i == index) return word;
  return "";
}

// Every preference: name, variable, default and range. A new setting is one new row.
const std::vector<Preference>& preferenceTable() {
  static const std::vector<Preference> table = {
      flagRow("pause_on_focus_loss", &pauseOnFocusLoss, true),
      // Pad buttons (SDL game-controller button numbers), in the order of the keys.
      padRow("pad_p1_right", &p1PadButtons[0], SDL_CONTROLLER_BUTTON_DPAD_RIGHT),
      padRow("pad_p1_left", &p1PadButtons[1], SDL_CONTROLLER_BUTTON_DPAD_LEFT),
      padRow("pad_p1_rotate_cw", &p1PadButtons[2], SDL_CONTROLLER_BUTTON_A),
      padRow("pad_p1_rotate_ccw", &p1PadButtons[3], SDL_CONTROLLER_BUTTON_B),
      padRow("pad_p1_soft_drop", &p1PadButtons[4], SDL_CONTROLLER_BUTTON_DPAD_DOWN),
      padRow("pad_p1_hard_drop", &p1PadButtons[5], SDL_CONTROLLER_BUTTON_DPAD_UP),
      padRow("pad_p1_hold", &p1PadButtons[6], SDL_CONTROLLER_BUTTON_LEFTSHOULDER),
      padRow("pad_p2_right", &p2PadButtons[0], SDL_CONTROLLER_BUTTON_DPAD_RIGHT),
      padRow("pad_p2_left", &p2PadButtons[1], SDL_CONTROLLER_BUTTON_DPAD_LEFT),
      padRow("pad_p2_rotate_cw", &p2PadButtons[2], SDL_CONTROLLER_BUTTON_A),
      padRow("pad_p2_rotate_ccw", &p2PadButtons[3], SDL_CONTROLLER_BUTTON_B),
      padRow("pad_p2_soft_drop", &p2PadButtons[4], SDL_CONTROLLER_BUTTON_DPAD_DOWN),
      padRow("pad_p2_hard_drop", &p2PadButtons[5], SDL_CONTROLLER_BUTTON_DPAD_UP),
      padRow("pad_p2_hold", &p2PadButtons[6], SDL_CONTROLLER_BUTTON_LEFTSHOULDER),
      integerRow("key_pause", &pauseKey, SDL_SCANCODE_P, 0, scancodeLimit - 1),
      integerRow("key_restart", &restartKey, SDL_SCANCODE_R, 0, scancodeLimit - 1),
      integerRow("volume_music", &musicVolume, 100, 0, 100),
      integerRow("volume_effects", &effectsVolume, 100, 0, 100),
      flagRow("volume_muted", &soundMuted, false),
      flagRow("display_fullscreen", &fullscreenOn, false),
      integerRow("window_x", &windowPlace.x, 0, -100000, 100000),
      integerRow("window_y", &windowPlace.y, 0, -100000, 100000),
      integerRow("window_width", &windowPlace.w, 0, 0, 100000),
      integerRow("window_height", &windowPlace.h, 0, 0, 100000),
      textRow("pieces_selected", &piecesKept, ""),
      integerRow("online_port", &onlinePortSetting, defaultOnlinePort, 1, 65535),
      textRow("online_address", &onlineJoinText, ""),
      // Online hosting from home: ask the router to open the port.
      flagRow("online_port_mapping", &portMappingWanted, true),
      // Handling: each player's auto-repeat in milliseconds, beside the classic sensitivity.
      choiceRow("p1_handling", &p1Handling.kind, "classic|custom", classicHandling),
      integerRow("p1_das_ms", &p1Handling.dasMs, 167, 0, 500),
      integerRow("p1_arr_ms", &p1Handling.arrMs, 33, 0, 200),
      integerRow("p1_soft_drop_factor", &p1Handling.softDropFactor, 20, 0, 40),
      integerRow("p1_das_cut_ms", &p1Handling.dasCutMs, 0, 0, 100),
      choiceRow("p2_handling", &p2Handling.kind, "classic|custom", classicHandling),
      integerRow("p2_das_ms", &p2Handling.dasMs, 167, 0, 500),
      integerRow("p2_arr_ms", &p2Handling.arrMs, 33, 0, 200),
      integerRow("p2_soft_drop_factor", &p2Handling.softDropFactor, 20, 0, 40),
      integerRow("p2_das_cut_ms", &p2Handling.dasCutMs, 0, 0, 100),
      // Display: frames wait for the screen's refresh (off: as the renderer always was).
      flagRow("vsync", &vsyncOn, false),
      // Accessibility: pieces told apart without colours, and a calm screen.
      choiceRow("palette", &palette, "standard|okabe-ito|high-contrast", standardPalette),
      flagRow("piece_symbols", &pieceSymbolsOn, false),
      flagRow("reduce_motion", &reduceMotion, false),
      // UI scale: the menus' text and buttons at 100, 125 or 150 percent.
      choiceRow("ui_scale", &uiScaleStep, "100|125|150", 0),
      // Language: a language's code ("de", "pt_BR"); empty follows the system.
      textRow("language", &languageSetting, ""),
  };
  return table;
}

const Preference* findPreference(const std::string& name) {
  for (const Preference& row : preferenceTable())
    if (name == row.name) return &row;
  return nullptr;
}

std::string trimmed(const std::string& text) {
  size_t first = text.find_first_not_of(" \t\r");
  if (first == std::string::npos) return "";
  size_t last = text.find_last_not_of(" \t\r");
  return text.substr(first, last - first + 1);
}

// "name = value" split at the first '='; false for blank lines, comments and lines without one.
bool splitLine(const std::string& line, std::string& name, std::string& value) {
  size_t equals = line.find('=');
  std::string left = trimmed(line.substr(0, equals == std::string::npos ? 0 : equals));
  if (equals == std::string::npos || left.empty() || left[0] == '#') return false;
  name = left;
  value = trimmed(line.substr(equals + 1));
  return true;
}

void setDefault(const Preference& row) {
  if (row.kind == Kind::integer || row.kind == Kind::choice) *row.integer = row.defaultInteger;
  if (row.kind == Kind::flag) *row.flag = row.defaultInteger != 0;
  if (row.kind == Kind::text) *row.text = row.defaultText;
}

std::string defaultText(const Preference& row) {
  if (row.kind == Kind::integer) return std::to_string(row.defaultInteger);
  if (row.kind == Kind::choice) return choiceWord(row, row.defaultInteger);
  if (row.kind == Kind::flag) return row.defaultInteger ? "true" : "false";
  return row.defaultText;
}

// The value from the file into the row's variable; false (variable untouched) when it is bad.
bool parseValue(const Preference& row, const std::string& value) {
  if (row.kind == Kind::text) {
    *row.text = value;
    return true;
  }
  if (row.kind == Kind::choice) {
    for (int32_t i = 0; !choiceWord(row, i).empty(); ++i)
      if (value == choiceWord(row, i)) return *row.integer = i, true;
    return false;
  }
  if (row.kind == Kind::flag) {
    if (value != "true" && value != "false") return false;
    *row.flag = value == "true";
    return true;
  }
  if (value.empty()) return false;
  char* end = nullptr;
  errno = 0;
  long long number = std::strtoll(value.c_str(), &end, 10);
  if (*end != '\0' || errno == ERANGE || number < row.minimum || number > row.maximum) return false;
  *row.integer = static_cast<int32_t>(number);
  return true;
}

std::string valueText(const Preference& row) {
  if (row.kind == Kind::integer) return std::to_string(*row.integer);
  if (row.kind == Kind::choice) return choiceWord(row, *row.integer);
  if (row.kind == Kind::flag) return *row.flag ? "true" : "false";
  return *row.text;
}

std::string rangeText(const Preference& row) {
  if (row.kind == Kind::integer)
    return "a whole number from " + std::to_string(row.minimum) + " to " +
           std::to_string(row.maximum);
  if (row.kind == Kind::choice) {
    std::string words = choiceWord(row, 0);
    for (int32_t i = 1; !choiceWord(row, i).empty(); ++i)
      words += (choiceWord(row, i + 1).empty() ? " or " : ", ") + choiceWord(row, i);
    return words;
  }
  return "true or false";
}

constexpr size_t longestPreferenceLine = 4096; // bytes; a longer line is no file of ours

// The file's text, "" when it is missing. False when it is there but refused (not a regular file,
// too large, a line too long): then the game must not write over it, and says so once.
bool preferencesText(std::string& text) {
  std::string problem;
  text.clear();
  if (!readFileLimited(preferencesPath, settingsFileLimit, &text, &problem)) {
    if (errno == ENOENT) return true;
  } else {
    size_t start = 0, end;
    for (; (end = text.find('\n', start)) != std::string::npos; start = end + 1)
      if (end - start > longestPreferenceLine) break;
    if (end == std::string::npos && text.size() - start <= longestPreferenceLine) return true;
    problem = std::string(preferencesPath) + ": has a line longer than " +
              std::to_string(longestPreferenceLine) + " bytes";
  }
  text.clear();
  if (!preferencesRefused)
    std::fprintf(stderr, "%s; using the defaults and leaving the file as it is\n", problem.c_str());
  preferencesRefused = true;
  return false;
}

} // namespace

void readPreferences() {
  for (const Preference& row : preferenceTable()) setDefault(row);
  preferencesRefused = false;
  std::string text;
  if (!preferencesText(text)) return;
  std::istringstream lines(text);
  std::string line, name, value;
  while (std::getline(lines, line)) {
    if (!splitLine(line, name, value)) continue;
    const Preference* row = findPreference(name);
    if (!row || parseValue(*row, value)) continue;
    std::fprintf(stderr, "%s: %s = \"%s\" is not %s; using %s\n", preferencesPath, row->name,
                 value.c_str(), rangeText(*row).c_str(), defaultText(*row).c_str());
    setDefault(*row);
  }
}

std::string preferencesWithValue(const std::string& text, const std::string& name,
                                 const std::string& value) {
  std::istringstream lines(text);
  std::string result, line, lineName, lineValue;
  bool replaced = false;
  while (std::getline(lines, line)) {
    if (splitLine(line, lineName, lineValue) && lineName == name) {
      if (replaced) continue; // a duplicate would win on the next read
      line = name + " = " + value;
      replaced = true;
    }
    result += line + "\n";
  }
  if (!replaced) result += name + " = " + value + "\n";
  return result;
}

bool savePreference(const char* name) {
  const Preference* row = findPreference(name);
  if (!row) return false;
  // A refused file is the player's to mend: a write would keep only what this game knows.
  std::string text;
  if (preferencesRefused || !preferencesText(text)) return false;
  text = preferencesWithValue(text, name, valueText(*row));
  std::string error;
  if (writeFileAtomically(preferencesPath, text, &error)) return true;
  std::fprintf(stderr, "Brikka: could not save %s\n", error.c_str());
  return false;
}

bool restorePreference(const char* name) {
  const Preference* row = findPreference(name);
  if (!row) return false;
  setDefault(*row);
  return savePreference(name);
}
