// The "Audio & Display" screen and what it sets: volumes, mute, full screen, vsync, auto-pause,
// the pause and restart keys and the accessibility choices.
#include "app/input.h"
#include "app/screens.h"
#include "app/settings.h"
#include "app/widgets.h"
#include "game/game.h"

#include <algorithm>
#include <cstdio>

namespace {

enum {
  fullscreenButton,
  autoPauseButton,
  soundButton,
  pauseKeyButton,
  restartKeyButton,
  backButtonIndex,
  vsyncButton,   // added after the others, in the free row above "Back"
  paletteButton, // the accessibility three, in the free places beside and below Vsync
  symbolsButton,
  motionButton,
  uiScaleButton // right of "Reduce motion" and "Back"
};
const char* const paletteNames[] = {trLater("Standard"), trLater("Okabe-Ito"),
                                    trLater("High contrast")};
enum { musicSlider, effectsSlider };
const char* const openingCaption = "Audio & Display"; // the settings screen's button

const char* onOff(bool on) {
  return on ? tr("On") : tr("Off");
}

bool hoveredHere(int button) {
  return screenButtons[audioDisplayScreen][button].hovered;
}

void labelButtons() {
  std::vector<Button>& buttons = screenButtons[audioDisplayScreen];
  buttons[fullscreenButton].valueText = onOff(fullscreenOn);
  buttons[autoPauseButton].valueText = onOff(pauseOnFocusLoss);
  buttons[soundButton].valueText = soundMuted ? tr("Muted") : tr("On");
  if (buttons.size() > vsyncButton) buttons[vsyncButton].valueText = onOff(vsyncOn);
  if (buttons.size() > motionButton) {
    buttons[paletteButton].valueText = tr(paletteNames[std::clamp(palette, 0, 2)]);
    buttons[symbolsButton].valueText = onOff(pieceSymbolsOn);
    buttons[motionButton].valueText = onOff(reduceMotion);
  }
  if (buttons.size() > uiScaleButton)
    buttons[uiScaleButton].valueText = std::to_string(uiScalePercent()) + "%";
  buttons[pauseKeyButton].valueText = keyDisplayName(pauseKey);
  buttons[restartKeyButton].valueText = keyDisplayName(restartKey);
  buttons[pauseKeyButton].warning = bindingClashes(pauseKeyIndex);
  buttons[restartKeyButton].warning = bindingClashes(restartKeyIndex);
}

void toggleAutoPause() {
  pauseOnFocusLoss = !pauseOnFocusLoss;
  savePreference("pause_on_focus_loss");
}

void toggleMute() {
  soundMuted = !soundMuted;
  applyVolumes();
  savePreference("volume_muted");
}

} // namespace

void applyVolumes() {
  Mix_VolumeMusic(soundMuted ? 0 : musicVolume * MIX_MAX_VOLUME / 100);
  Mix_Volume(-1, soundMuted ? 0 : effectsVolume * MIX_MAX_VOLUME / 100);
}

void setFullscreen(bool on) {
  if (window && SDL_SetWindowFullscreen(window, on ? SDL_WINDOW_FULLSCREEN_DESKTOP : 0) != 0) {
    std::fprintf(stderr, "Brikka: could not change full screen: %s\n", SDL_GetError());
    return;
  }
  fullscreenOn = on;
}

void toggleFullscreen() {
  setFullscreen(!fullscreenOn);
  savePreference("display_fullscreen");
}

void applyVsync() {
  if (renderer) SDL_RenderSetVSync(renderer, vsyncOn ? 1 : 0);
}

void buildAudioDisplayScreen() {
  screenButtons[settingsScreen].push_back(makeButton(625, 640, 250, 50, openingCaption, 1));
  // TRANSLATORS: captions followed by their value ("On", "Off", a key's name): keep the colon
  // and the spaces after it. Each button is 380 or 400 pixels wide.
  screenButtons[audioDisplayScreen] = {makeButton(150, 550, 380, 75, "Full Screen: ", 1),
                                       makeButton(560, 550, 380, 75, "Auto-pause: ", 1),
                                       makeButton(970, 550, 380, 75, "Sound: ", 1),
                                       makeButton(300, 675, 400, 75, "Pause key:   ", 1),
                                       makeButton(800, 675, 400, 75, "Restart key:   ", 1),
                                       makeButton(675, 850, 150, 50, "Back", 1),
                                       makeButton(560, 765, 380, 65, "Vsync: ", 1),
                                       makeButton(150, 765, 380, 65, "Palette: ", 1),
                                       makeButton(970, 765, 380, 65, "Piece marks: ", 1),
                                       makeButton(150, 850, 380, 50, "Reduce motion: ", 1),
                                       makeButton(970, 850, 380, 50, "UI scale: ", 1)};
  screenSliders[audioDisplayScreen] = {
      makeSlider({750, 250}, 700, 0, 100, trLater("Music Volume"), musicVolume, true),
      makeSlider({750, 420}, 700, 0, 100, trLater("Effects Volume"), effectsVolume, true)};
  labelButtons();
}

void runSettingsExtras() {
  openDoor(openingCaption, audioDisplayScreen);
}

void runAudioDisplayScreen() {
  const std::vector<Slider>& sliders = screenSliders[audioDisplayScreen];
  int32_t music = static_cast<int32_t>(sliders[musicSlider].value);
  int32_t effects = static_cast<int32_t>(sliders[effectsSlider].value);
  if (music != musicVolume || effects != effectsVolume) {
    musicVolume = music;
    effectsVolume = effects;
    applyVolumes();
  }
  // Written at the end of a drag, like the sensitivities.
  if (mouseReleased) {
    savePreference("volume_music");
    savePreference("volume_effects");
  }
  if (mouseClicked) {
    awaitingKeyBinding = false;
    if (hoveredHere(fullscreenButton)) toggleFullscreen();
    if (hoveredHere(autoPauseButton)) toggleAutoPause();
    if (hoveredHere(soundButton)) toggleMute();
    if (hoveredHere(vsyncButton)) {
      vsyncOn = !vsyncOn;
      applyVsync();
      savePreference("vsync");
    }
    if (hoveredHere(paletteButton)) {
      palette = (palette + 1) % 3;
      savePreference("palette");
    }
    if (hoveredHere(symbolsButton)) {
      pieceSymbolsOn = !pieceSymbolsOn;
      savePreference("piece_symbols");
    }
    if (hoveredHere(motionButton)) {
      reduceMotion = !reduceMotion;
      savePreference("reduce_motion");
    }
    if (hoveredHere(uiScaleButton)) {
      uiScaleStep = (uiScaleStep + 1) % uiScaleSteps;
      savePreference("ui_scale");
      applyUiScale();
    }
    if (hoveredHere(pauseKeyButton) || hoveredHere(restartKeyButton)) {
      awaitingKeyBinding = true;
      bindingIndex = hoveredHere(pauseKeyButton) ? pauseKeyIndex : restartKeyIndex;
    }
    if (hoveredHere(backButtonIndex)) currentScreen = settingsScreen;
  }
  labelButtons();
  // The key button waiting for its key stays lit while the pointer wanders.
  if (awaitingKeyBinding && currentScreen == audioDisplayScreen)
    screenButtons[audioDisplayScreen]
                 [bindingIndex == pauseKeyIndex ? pauseKeyButton : restartKeyButton]
                     .hovered = true;
}

void warnRisingGarbage() {
  // Player 2 is a person only in the two-player game; a bot needs no warning.
  const std::vector<DamageRecord>* lists[] = {
      &p1IncomingDamage, gameMode == playerVersusMode ? &p2IncomingDamage : nullptr};
  for (int p = 0; p < 2; ++p) {
    int32_t rising = 0;
    if (lists[p])
      for (const DamageRecord& record : *lists[p])
        if (record.timer <= damageDelay / 3) ++rising;
    if (rising > risingRecordsHeard[p]) playSound(SoundEffect::clickButton, -1);
    risingRecordsHeard[p] = rising;
  }
}
