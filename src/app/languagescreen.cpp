// The "Language" screen, reached from the main menu: the seven languages in their own names
// and "Automatic" (the system's); a click shows every text in it at once and keeps the choice.
// Also the measure of how every caption fits its box in the language shown.
#include "app/screens.h"
#include "app/settings.h"
#include "app/widgets.h"
#include "render/render.h"

#include <algorithm>
#include <filesystem>

namespace {

// TRANSLATORS: the main menu's button (200 pixels wide) and the title of its screen.
const char* const doorCaption = trLater("Language");
constexpr int automaticButton = 0; // then one per language, in the order of languages, then Back

int backButtonIndex() {
  return 1 + static_cast<int>(languages.size());
}

// The button of the choice in force: "Automatic" when the setting is empty.
int chosenButton() {
  for (size_t k = 0; k < languages.size(); ++k)
    if (languageSetting == languages[k].code) return 1 + static_cast<int>(k);
  return automaticButton;
}

void choose(const std::string& code) {
  languageSetting = code;
  savePreference("language");
  // Captions are translated as they are drawn, and the screens that keep a translated word
  // (On, Off, Custom…) write it again every frame they run; only the grown buttons are laid out
  // again, around the headings and labels as wide as the new language writes them.
  applyLanguageSetting();
  relayOutMenus();
}

} // namespace

std::string localeFolderOf(const std::string& dataFolder) {
  std::error_code ignored;
  std::filesystem::path data = std::filesystem::absolute(dataFolder, ignored);
  return (data / ".." / "locale").lexically_normal().string();
}

void buildLanguageScreen() {
  screenButtons[mainMenuScreen].push_back(makeButton(1270, 920, 200, 50, doorCaption, 1));
  std::vector<Button>& buttons = screenButtons[languageScreen];
  buttons.clear();
  // TRANSLATORS: the language the system asks for, whichever it is.
  buttons.push_back(makeButton(550, 170, 400, 60, "Automatic", 1));
  for (size_t k = 0; k < languages.size(); ++k)
    buttons.push_back(
        makeButton(550, 250 + 70 * static_cast<int32_t>(k), 400, 60, languages[k].ownName, 1));
  buttons.push_back(makeButton(675, 850, 150, 50, "Back", 1));
}

void openLanguageScreen() {
  if (!mouseClicked) return;
  for (const Button& button : screenButtons[mainMenuScreen])
    if (button.hovered && button.text == doorCaption) currentScreen = languageScreen;
}

void runLanguageScreen() {
  std::vector<Button>& buttons = screenButtons[languageScreen];
  if (mouseClicked) {
    if (buttons[automaticButton].hovered) choose("");
    for (size_t k = 0; k < languages.size(); ++k)
      if (buttons[1 + k].hovered) choose(languages[k].code);
    if (buttons[backButtonIndex()].hovered) currentScreen = mainMenuScreen;
  }
  // The choice in force stays lit.
  buttons[chosenButton()].hovered = true;
}

namespace {

// The last area drawn while recording: a widget's caption, which each widget draws last.
SDL_Rect lastDrawn(const std::function<void()>& draw) {
  recordDrawnAreas(true);
  draw();
  std::vector<SDL_Rect> areas = drawnAreas;
  recordDrawnAreas(false);
  return areas.empty() ? SDL_Rect{0, 0, 0, 0} : areas.back();
}

CaptionFit measured(TTF_Font* font, const std::string& caption, SDL_Rect room, SDL_Rect drawn) {
  int natural = 0;
  TTF_SizeUTF8(font, caption.c_str(), &natural, nullptr);
  double factor = natural > 0 ? std::min(1.0, static_cast<double>(drawn.w) / natural) : 1.0;
  return {caption, room, drawn, natural, factor};
}

} // namespace

std::vector<CaptionFit> captionFits(int32_t screen) {
  std::vector<CaptionFit> fits;
  if (screen < 0 || screen >= static_cast<int32_t>(screenButtons.size())) return fits;
  for (const Button& button : screenButtons[screen])
    if (button.size.x > 0 && buttonCaption(button).find_first_not_of(' ') != std::string::npos)
      fits.push_back(captionFit(button, menuFont(button.textSize)));
  for (const Slider& slider : screenSliders[screen]) {
    int room = sliderLabelRoom(slider);
    // Centred as drawSlider centres its label.
    SDL_Rect roomArea = {truncPixel(slider.position.x - room * 0.5), 0, room, windowHeight};
    SDL_Rect drawn = lastDrawn([&slider] { drawSlider(slider); });
    fits.push_back(measured(menuFont(2), sliderCaption(slider), roomArea, drawn));
  }
  return fits;
}
