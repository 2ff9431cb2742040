// Every binding checked against every other: two things on one key (or one pad button) both
// fire, so a clash is marked amber wherever either binding is shown, and named when a game
// starts.
#include "app/input.h"

namespace {

const char* const actionNames[padActionCount] = {
    trLater("Right"),     trLater("Left"),      trLater("Rotate CW"), trLater("Rotate CCW"),
    trLater("Soft Drop"), trLater("Hard Drop"), trLater("Hold")};
constexpr int keyboard = 0; // a Binding's device: the keyboard, or 1 or 2 for that player's pad

struct Binding {
  std::string name;  // as the settings screens call it, in English: what clashes are found by
  std::string shown; // the same in the language shown
  int device;        // keyboard, or the pad's player
  int32_t code;      // scancode, or controller button
};

std::string controlName(int32_t index) {
  int player = index < padActionCount ? 2 : 1; // player 2's seven come first
  return "P" + std::to_string(player) + " " + actionNames[index % padActionCount];
}

std::string shownControlName(int32_t index) {
  int player = index < padActionCount ? 2 : 1;
  // TRANSLATORS: a player's key, "P1 Hold", in a notice of two bindings on one key.
  return trf("P%d %s", player, tr(actionNames[index % padActionCount]));
}

std::string shownPadName(int player, const char* action) {
  // TRANSLATORS: a player's pad button, "P1 pad Hold", in a notice of two bindings on one button.
  return trf("P%d pad %s", player, tr(action));
}

std::vector<Binding> everyBinding() {
  std::vector<Binding> all;
  for (int32_t i = 0; i < static_cast<int32_t>(controls.size()) && i < controlCount; ++i)
    all.push_back({controlName(i), shownControlName(i), keyboard, controls[i]});
  all.push_back({"Pause", tr("Pause"), keyboard, pauseKey});
  all.push_back({"Restart", tr("Restart"), keyboard, restartKey});
  all.push_back({"Mute", tr("Mute"), keyboard, SDL_SCANCODE_M});
  for (int player : {1, 2}) {
    std::string pad = "P" + std::to_string(player) + " pad ";
    for (int action = 0; action < padActionCount; ++action)
      all.push_back({pad + actionNames[action], shownPadName(player, actionNames[action]), player,
                     padButtons(player)[action]});
    all.push_back(
        {pad + "Pause", shownPadName(player, "Pause"), player, SDL_CONTROLLER_BUTTON_START});
    all.push_back({pad + "Back", shownPadName(player, "Back"), player, SDL_CONTROLLER_BUTTON_BACK});
  }
  return all;
}

// The first other binding on the same key or button as the named one; null when none.
const Binding* clashWith(const std::vector<Binding>& all, const std::string& name) {
  const Binding* mine = nullptr;
  for (const Binding& binding : all)
    if (binding.name == name) mine = &binding;
  if (!mine) return nullptr;
  for (const Binding& other : all)
    if (&other != mine && other.device == mine->device && other.code == mine->code) return &other;
  return nullptr;
}

std::string codeName(const Binding& binding) {
  return binding.device == keyboard ? keyDisplayName(binding.code) : padButtonName(binding.code);
}

} // namespace

bool bindingClashes(int32_t index) {
  bool control =
      index >= 0 && index < controlCount && index < static_cast<int32_t>(controls.size());
  if (!control && index != pauseKeyIndex && index != restartKeyIndex) return false;
  std::string name = index == pauseKeyIndex     ? "Pause"
                     : index == restartKeyIndex ? "Restart"
                                                : controlName(index);
  return clashWith(everyBinding(), name) != nullptr;
}

bool padButtonClashes(int player, int action) {
  std::string name = "P" + std::to_string(player) + " pad " + actionNames[action % padActionCount];
  return clashWith(everyBinding(), name) != nullptr;
}

std::string firstBindingClash() {
  std::vector<Binding> all = everyBinding();
  for (const Binding& binding : all)
    if (const Binding* other = clashWith(all, binding.name))
      // TRANSLATORS: two bindings on one key, "P1 Hold and Pause share C".
      return trf("%s and %s share %s", binding.shown.c_str(), other->shown.c_str(),
                 codeName(binding).c_str());
  return "";
}
