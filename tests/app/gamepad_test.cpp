// Pads and menu keys through SDL's own event queue: virtual pads plugged in and out, their
// buttons played, and the menus worked with keys alone.
#include "app/input.h"
#include "app/screens.h"
#include "app/settings.h"
#include "scenario.h"

namespace {

class Pads : public Scenario {
protected:
  void SetUp() override {
    Scenario::SetUp();
    ASSERT_EQ(SDL_InitSubSystem(SDL_INIT_GAMECONTROLLER), 0) << SDL_GetError();
    start({pieceFromPicture({"##", "#."})});
    readPreferences(); // the default pad buttons
  }
  void TearDown() override {
    closePads();
    playerPadKnown[0] = playerPadKnown[1] = false;
    focusVisible = gamePaused = awaitingPadBinding = false;
    Scenario::TearDown();
  }
  // A pad as SDL's virtual driver makes one, plugged in now; returns its joystick.
  SDL_Joystick* plug(uint16_t vendor = 0) {
    SDL_VirtualJoystickDesc pad{};
    pad.version = SDL_VIRTUAL_JOYSTICK_DESC_VERSION;
    pad.vendor_id = vendor; // another vendor: another kind of pad
    pad.product_id = 1;
    pad.type = SDL_JOYSTICK_TYPE_GAMECONTROLLER;
    pad.naxes = SDL_CONTROLLER_AXIS_MAX;
    pad.nbuttons = SDL_CONTROLLER_BUTTON_MAX;
    int index = SDL_JoystickAttachVirtualEx(&pad);
    SDL_Joystick* joystick = SDL_JoystickOpen(index);
    EXPECT_NE(joystick, nullptr) << SDL_GetError();
    playFrame({});
    return joystick;
  }
  void unplug(SDL_Joystick* joystick) {
    SDL_JoystickID id = SDL_JoystickInstanceID(joystick);
    SDL_JoystickClose(joystick);
    for (int i = 0; i < SDL_NumJoysticks(); ++i)
      if (SDL_JoystickGetDeviceInstanceID(i) == id) SDL_JoystickDetachVirtual(i);
    playFrame({});
  }
  // Holds a button for one frame, then lets it go for one.
  void tap(SDL_Joystick* joystick, int button) {
    SDL_JoystickSetVirtualButton(joystick, button, 1);
    playFrame({});
    SDL_JoystickSetVirtualButton(joystick, button, 0);
    playFrame({});
  }
};

TEST_F(Pads, PadsJoinAsPluggedMoveRotateDropAndHoldAndPauseWhenPulled) {
  clickOn(screenButtons[mainMenuScreen][0]); // "Solo Play"
  SDL_Joystick* first = plug();
  int32_t x = p1Position.x;
  tap(first, SDL_CONTROLLER_BUTTON_DPAD_RIGHT);
  EXPECT_EQ(p1Position.x, x + 1);
  // The stick, past its dead zone.
  SDL_JoystickSetVirtualAxis(first, SDL_CONTROLLER_AXIS_LEFTX, -30000);
  playFrame({});
  SDL_JoystickSetVirtualAxis(first, SDL_CONTROLLER_AXIS_LEFTX, 5000); // inside it: no move
  playFrame({});
  EXPECT_EQ(p1Position.x, x);
  int32_t rotation = p1Rotation;
  tap(first, SDL_CONTROLLER_BUTTON_A);
  EXPECT_EQ(p1Rotation, (rotation + 3) % 4);       // a quarter turn clockwise
  tap(first, SDL_CONTROLLER_BUTTON_RIGHTSHOULDER); // either shoulder holds
  EXPECT_NE(p1HeldPiece, 0);
  tap(first, SDL_CONTROLLER_BUTTON_DPAD_UP);
  std::string cells;
  for (const std::string& row : boardPicture(p1Board)) cells += row;
  EXPECT_EQ(200 - std::count(cells.begin(), cells.end(), '.'), 3); // gravity would take seconds

  // A second pad plays player 2 in "Player Versus"; pulling out player 1's pauses the game.
  gameMode = playerVersusMode;
  setUpGame();
  SDL_Joystick* second = plug();
  int32_t x2 = p2Position.x;
  tap(second, SDL_CONTROLLER_BUTTON_DPAD_LEFT);
  EXPECT_EQ(p2Position.x, x2 - 1);
  EXPECT_EQ(p1Position.x, x);
  unplug(first);
  EXPECT_TRUE(gamePaused);
  first = plug();
  tap(first, SDL_CONTROLLER_BUTTON_START);
  EXPECT_FALSE(gamePaused);
  tap(first, SDL_CONTROLLER_BUTTON_DPAD_RIGHT);
  EXPECT_EQ(p1Position.x, x + 1);
}

TEST_F(Pads, APadPluggedBackGoesToItsPlayerEvenAfterASwap) {
  clickOn(screenButtons[mainMenuScreen][1]); // "Player Versus"
  SDL_Joystick* first = plug(0x1111);
  SDL_Joystick* second = plug(0x2222);
  swapPads(); // the first pad now plays player 2
  unplug(first);
  EXPECT_TRUE(gamePaused);
  EXPECT_EQ(padLostPlayer, 2);
  unplug(second);
  first = plug(0x1111); // back first, yet still player 2's
  EXPECT_EQ(playerPads[0], nullptr);
  EXPECT_NE(playerPads[1], nullptr);
  tap(first, SDL_CONTROLLER_BUTTON_START);
  EXPECT_FALSE(gamePaused);
  EXPECT_EQ(padLostPlayer, 0);
  int32_t x2 = p2Position.x;
  tap(first, SDL_CONTROLLER_BUTTON_DPAD_LEFT);
  EXPECT_EQ(p2Position.x, x2 - 1);
  second = plug(0x2222);
  EXPECT_NE(playerPads[0], nullptr);
}

TEST_F(Pads, MenusByPadAndKeysAndAButtonRebound) {
  // A mapping from the runtime folder's gamecontrollerdb.txt is known before any pad opens.
  const char* guid = "030000000b0b00000d0e000001000000";
  writeFile("gamecontrollerdb.txt", std::string(guid) + ",Brikka Pad,a:b0,b:b1,platform:Linux,\n");
  startGamepads();
  char* mapping = SDL_GameControllerMappingForGUID(SDL_JoystickGetGUIDFromString(guid));
  EXPECT_NE(mapping, nullptr);
  SDL_free(mapping);
  // The first D-pad press shows the focus on "Solo Play"; four more reach "Settings".
  SDL_Joystick* pad = plug();
  for (int i = 0; i < 5; ++i) tap(pad, SDL_CONTROLLER_BUTTON_DPAD_DOWN);
  tap(pad, SDL_CONTROLLER_BUTTON_A);
  ASSERT_EQ(currentScreen, settingsScreen);
  tap(pad, SDL_CONTROLLER_BUTTON_RIGHTSHOULDER); // as Tab: from "More Settings" to "P2 | Right"
  pressKey(SDL_SCANCODE_RETURN);
  EXPECT_EQ(screenButtons[settingsScreen][0].valueText, "Press a key");
  uint8_t keys[SDL_NUM_SCANCODES] = {};
  keys[SDL_SCANCODE_LEFT] = 1; // player 1's Left too: both are marked
  captureKey(keys);
  playFrame({});
  EXPECT_TRUE(screenButtons[settingsScreen][0].warning);
  EXPECT_TRUE(screenButtons[settingsScreen][8].warning);
  // A slider steps by a round number and is stored at once.
  for (int i = 0; i < 9; ++i) pressKey(SDL_SCANCODE_DOWN);
  ASSERT_NE(focusedSlider(), nullptr);
  pressKey(SDL_SCANCODE_RIGHT);
  EXPECT_DOUBLE_EQ(p2Sensitivity, 0.12);
  EXPECT_EQ(readFile("Storage/sens.txt"), "0.100000\n0.120000\n");
  // The mouse takes over as soon as it moves.
  push({SDL_MOUSEMOTION});
  EXPECT_FALSE(focusVisible);

  clickOn(screenButtons[settingsScreen][17]); // "Gamepad"
  clickOn(screenButtons[gamepadScreen][9]);   // "P1 | Rotate CW"
  EXPECT_EQ(screenButtons[gamepadScreen][9].valueText, "Press a button");
  tap(pad, SDL_CONTROLLER_BUTTON_B);
  EXPECT_EQ(p1PadButtons[2], SDL_CONTROLLER_BUTTON_B);
  EXPECT_TRUE(screenButtons[gamepadScreen][9].warning);
  EXPECT_TRUE(screenButtons[gamepadScreen][10].warning);
  EXPECT_NE(readFile("Storage/preferences.txt").find("pad_p1_rotate_cw = 1\n"), std::string::npos);
}

} // namespace
