// Game core: what the rules offer, in the order a game uses them.
// State lives in state.h. Nothing here touches SDL.
#pragma once

#include "game/state.h"

#include <cstdlib>
#include <functional>
#include <string>

// ---------------------------------------------------------------------------------------------
// Random source and sound (one of each for the whole program)
// ---------------------------------------------------------------------------------------------

int32_t randomDraw();                            // next value of randomStream, as rand() gives
void seedRandom(uint32_t seed);                  // seeds randomStream, as srand does
void playSound(SoundEffect effect, int channel); // through soundHook; silent when it is null

// A private stream of rand()'s numbers: after seedStream(stream, s) it draws what rand() draws
// after srand(s), without touching or locking the shared state. For work split over processes.
// (RandomStream itself lives in state.h: the rules' own stream is one.)
void seedStream(RandomStream& stream, uint32_t seed); // as srand does the shared one
int32_t streamDraw(RandomStream& stream);             // its next value
// A stream's whole state as plain bytes, and back: a replay starts from it. Restoring refuses a
// state no stream of this size can be in.
RandomState saveRandomState(const RandomStream& stream);
bool restoreRandomState(RandomStream& stream, const RandomState& state);

// ---------------------------------------------------------------------------------------------
// Files
// ---------------------------------------------------------------------------------------------

// Largest files each kind may be: anything bigger is damaged or not what it claims to be.
constexpr size_t settingsFileLimit = size_t{1} << 20; // controls, sens, highscore, preferences
constexpr size_t pieceFileLimit = size_t{4} << 20;    // piece shapes and colours
constexpr size_t weightsFileLimit = size_t{1} << 20;  // the evaluation weights
// The largest network the training screen makes (five hidden layers of 257 over every piece's
// inputs) has under 400,000 weights; 24 bytes each is room for any weight training reaches.
constexpr size_t networkFileLimit = size_t{400000} * 24;
// Writers' temporary files start with this; ones older than staleTemporarySeconds were left by
// a write that was killed, and a start removes them.
constexpr const char* temporaryFilePrefix = ".brikka-partial-";
constexpr long staleTemporarySeconds = 3600;

// Reads the whole file into text (when given). Refuses, without blocking and before reading,
// anything that is not a regular file (folder, FIFO, device) and a file over maxBytes. On
// failure error (when given) reads "path: reason", one line, and errno is ENOENT exactly when
// the file is missing ("path: missing").
bool readFileLimited(const std::string& path, size_t maxBytes, std::string* text,
                     std::string* error = nullptr);
// Where a writer puts the file before renaming it to path: beside it, under the prefix.
std::string temporaryPathFor(const std::string& path);
// Removes this program's temporary files older than staleTemporarySeconds from folder; returns
// how many.
int removeStaleTemporaryFiles(const std::string& folder);
// Replaces the file with text through a unique temporary file, synced before and after the
// rename: a crash, a power cut or a second writer leaves one whole file. On failure the old
// file stays, and error (when given) reads "path: the system's reason".
bool writeFileAtomically(const std::string& path, const std::string& text,
                         std::string* error = nullptr);
std::string runtimeFolder(); // $BRIKKA_HOME, $XDG_DATA_HOME/brikka or ~/.local/share/brikka

// Runs a program's body; an exception that escapes it is one line on standard error,
// "program: stopped by an unexpected error: what", and exit status 2.
int runGuarded(const char* program, const std::function<int()>& body);

// ---------------------------------------------------------------------------------------------
// Piece files, catalogue and colours
// ---------------------------------------------------------------------------------------------

// Reads one piece file, appending to loadedPieces and pieceSelection. A file that cannot be
// read adds nothing and succeeds, with one line on standard error; when required it fails
// instead, as does a file without pieces. A cell that is not a digit fails: error =
// "path:line: what".
bool loadPieceFile(const std::string& path, bool selectedByDefault, std::string* error,
                   bool required = false);
// The five piece files in order, only the four-block pieces selected; no piece at all fails.
bool loadPieceFiles(std::string* error, const std::string& folder = "Storage",
                    bool required = false);
// Each loaded piece's colour from its file (none: magenta); false (error set) for a bad value.
bool loadPieceColours(std::string* error, const std::string& path = "Storage/colorPieces.txt");
void rebuildCatalogue();             // pieceCatalogue = the selected pieces, in load order
void togglePieceSelected(int32_t k); // flip k, but always keep one piece selected
void selectAllPieces();              // every loaded piece in play
void resetPieceSelection();          // the default choice: the seven four-block pieces
// The player's own selection while an online game or a replay plays other pieces: the first
// set-aside keeps pieceSelection, a later one (a replay of an online game) keeps nothing more;
// the restore puts it back and forgets it.
void setAsideOwnSelection();
bool restoreOwnSelection(); // pieceSelection = the set-aside one; false when none was set aside
const std::vector<bool>& playersOwnSelection(); // the set-aside one, else pieceSelection
// R, G, B (0..255) of a catalogue id, or of loaded piece k; magenta when a piece has no colour.
std::array<int32_t, 3> pieceColour(int32_t pieceId);
std::array<int32_t, 3> loadedPieceColour(int32_t k);

// Grid of a catalogue id at a rotation (0..3, wrapped); a grid without cells for id 0.
const PieceGrid& pieceGrid(int32_t pieceId, int32_t rotation);
// Grid of a player's falling piece at its current rotation.
const PieceGrid& currentGrid(int player);

// ---------------------------------------------------------------------------------------------
// Movement: collision, one frame of a player's piece
// ---------------------------------------------------------------------------------------------

// True when every block of grid, moved by position + (dx, dy), lies on an empty cell of the
// player's board. position null = the player's own position.
bool pieceFits(int player, const PieceGrid& grid, int32_t dx, int32_t dy,
               const Point* position = nullptr);
void stepPlayer(int player); // gravity, lock timer, drops, moves, rotation, ghost, hold

// ---------------------------------------------------------------------------------------------
// Locking, line clears, the shared piece sequence, garbage
// ---------------------------------------------------------------------------------------------

// What a lock did, for those who score it otherwise (the training run).
struct LockOutcome {
  int32_t rowsCleared = 0; // full rows removed
  bool toppedOut = false;  // the next piece does not fit at the spawn
};
LockOutcome lockPiece(int player); // write the piece, next piece, top-out, clear, score, garbage
void takeNextPiece(int player);    // the player's next piece of the shared sequence
int32_t nextPieceId();             // a fresh id for the end of the sequence
void addGarbageRows(int player, int32_t rows, int32_t hole); // raise the board by rows
// Inside lockPiece: send, cancel or rise; the rows that rose into the player's board.
int32_t exchangeDamage(int player, int32_t cleared);
void playGameSound(SoundEffect effect, int channel); // playSound, silent in menus and training
// "Player Versus", "Versus Bot" or online versus: the only modes where each player waits for its
// own pieces of the sequence and garbage goes to the other.
bool versusMode();

// ---------------------------------------------------------------------------------------------
// Finesse
// ---------------------------------------------------------------------------------------------

// The fewest inputs (tap, held to the wall, turn either way) from where a piece appeared to
// where it locked, on an open well; placements covering the same cells count as one. -1 when
// no such inputs reach it (a piece tucked under an overhang).
int32_t fewestInputs(int32_t pieceId, int32_t fromRotation, int32_t fromX, int32_t toRotation,
                     int32_t toX);

// ---------------------------------------------------------------------------------------------
// Set-up
// ---------------------------------------------------------------------------------------------

void resetBoards(int32_t which); // 1 or 2 empties that board, anything else both
void setUpGame();                // a fresh game for both players, and the menu backdrop
// Every variable of a game (mode, keys, boards, pieces, timers, damage, effects) back to its
// value at program start: no game. The pieces loaded, the random stream and the sound hook stay.
void resetGameState();

// ---------------------------------------------------------------------------------------------
// One frame of play (the window's frame update and a replay's re-simulation)
// ---------------------------------------------------------------------------------------------

// The mode's step in "Solo Play" (and its sprint and ultra variants) and "Player Versus":
// players, top-outs, gravity, the game clock, the end of the game. "Versus Bot" is stepped by
// the artificial players' advanceBotPlay, which ends its frame with finishVersusBotFrame.
void advancePlay();
// The end of a versus-bot frame, once both players have moved: top-outs, waiting garbage, clock.
void finishVersusBotFrame();
void advanceEffects();         // every mode: line-clear particles, and the versus flashes' fade
bool isPlayMode(int32_t mode); // "Solo Play", "Player Versus" or "Versus Bot": a person plays
