// Storage/preferences.txt: every setting added after the original settings files, one
// "name = value" line each. One table says what each name is; one reader and one writer walk it.
// A change rewrites only its own line of the file as it is on disk now, so two games sharing a
// folder keep each other's changes, and names this version does not know survive.
#include "app/app.h"
#include "game/game.h"

#include <cerrno>
#include <climits>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <sstream>

namespace {

enum class Kind { integer, flag, text };

struct Preference {
  const char* name;       // as written in the file
  Kind kind;              // how the value is written and checked
  int32_t* integer;       // Kind::integer
  bool* flag;             // Kind::flag
  std::string* text;      // Kind::text
  int32_t minimum;        // Kind::integer: smallest value accepted
  int32_t maximum;        // Kind::integer: largest value accepted
  int32_t defaultInteger; // Kind::integer and Kind::flag (0 or 1)
  const char* defaultText; // Kind::text
};

Preference integerRow(const char* name, int32_t* variable, int32_t fallback, int32_t minimum,
                      int32_t maximum) {
  return {name, Kind::integer, variable, nullptr, nullptr, minimum, maximum, fallback, ""};
}
Preference flagRow(const char* name, bool* variable, bool fallback) {
  return {name, Kind::flag, nullptr, variable, nullptr, 0, 1, fallback ? 1 : 0, ""};
}
Preference textRow(const char* name, std::string* variable, const char* fallback) {
  return {name, Kind::text, nullptr, nullptr, variable, 0, 0, 0, fallback};
}

// Every preference: name, variable, default and range. A new setting is one new row.
const std::vector<Preference>& preferenceTable() {
  static const std::vector<Preference> table = {
      flagRow("pause_on_focus_loss", &pauseOnFocusLoss, true),
      integerRow("online_port", &onlinePortSetting, 40440, 1, 65535),
      textRow("online_address", &onlineJoinText, ""),
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
  if (row.kind == Kind::integer) *row.integer = row.defaultInteger;
  if (row.kind == Kind::flag) *row.flag = row.defaultInteger != 0;
  if (row.kind == Kind::text) *row.text = row.defaultText;
}

std::string defaultText(const Preference& row) {
  if (row.kind == Kind::integer) return std::to_string(row.defaultInteger);
  if (row.kind == Kind::flag) return row.defaultInteger ? "true" : "false";
  return row.defaultText;
}

// The value from the file into the row's variable; false (variable untouched) when it is bad.
bool parseValue(const Preference& row, const std::string& value) {
  if (row.kind == Kind::text) {
    *row.text = value;
    return true;
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
  if (*end != '\0' || errno == ERANGE || number < row.minimum || number > row.maximum)
    return false;
  *row.integer = static_cast<int32_t>(number);
  return true;
}

std::string valueText(const Preference& row) {
  if (row.kind == Kind::integer) return std::to_string(*row.integer);
  if (row.kind == Kind::flag) return *row.flag ? "true" : "false";
  return *row.text;
}

std::string rangeText(const Preference& row) {
  if (row.kind == Kind::integer)
    return "a whole number from " + std::to_string(row.minimum) + " to " +
           std::to_string(row.maximum);
  return "true or false";
}

std::string fileText(const char* path) {
  std::ifstream file(path, std::ios::binary);
  std::ostringstream text;
  text << file.rdbuf();
  return text.str();
}

} // namespace

void readPreferences() {
  for (const Preference& row : preferenceTable()) setDefault(row);
  std::istringstream lines(fileText(preferencesPath));
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
  std::string text = preferencesWithValue(fileText(preferencesPath), name, valueText(*row));
  std::string error;
  if (writeFileAtomically(preferencesPath, text, &error)) return true;
  std::fprintf(stderr, "Brikka: could not save %s\n", error.c_str());
  return false;
}
