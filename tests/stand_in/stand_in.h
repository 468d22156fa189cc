// The stand-in for raylib used by the headless unit tests.
//
// It defines, under raylib's own names and with raylib.h's declarations, every
// raylib function the game calls. The keyboard, the frame time, the clock and the
// random values are scripted frame by frame, and so are the gamepads in raylib's
// slots, the mouse and the fingers on a touch screen; draw, audio and image calls are
// recorded with their arguments, and TraceLog lines are kept. Decoding is faked
// from the real file headers (a PNG's IHDR, an Ogg's last granule position), and a
// test can make decodes fail. Nothing here needs a display or a sound card.
#pragma once

#include <raylib.h>

#include <string>
#include <vector>

namespace standin {

// One recorded call. `num` holds the call's numeric arguments in their order
// (rectangles and vectors flattened), `handle` the texture, sound or music id.
struct Call {
    std::string fn;
    std::string text;
    std::vector<float> num;
    Color color{};
    unsigned int handle = 0;
};

struct LogLine {
    int level;
    std::string text;
};

// Back to a fresh machine: frame 0, time 0, 1/60 s frames, 900 x 700, no keys, no pad,
// the mouse at (0, 0) with no button down, no finger,
// nothing recorded, every decode succeeding, the random generator reseeded.
void reset();

// --- scripting -----------------------------------------------------------------
int frame();                           // the frame now running, from 0
void nextFrame();                      // what EndDrawing does: the clock moves on
void runFrames(int n, void (*step)()); // step() then nextFrame(), n times

void press(int key, int atFrame);               // IsKeyPressed true in that frame
void pressNow(int key);                         // press(key, frame())
void repeat(int key, int atFrame);              // IsKeyPressedRepeat true in that frame
void hold(int key, int fromFrame, int toFrame); // IsKeyDown true in [from, to]
void closeWindowAt(int atFrame);                // WindowShouldClose true from that frame

// Gamepads in any slot, as raylib's platforms place them: a slot's pad is available
// from one frame until another, when it is unplugged; a button is down over the frames
// it is held; an axis keeps its value over frames and is 0 outside them.
constexpr int kNever = 1 << 30;
void plugGamepad(int slot, int fromFrame, int untilFrame = kNever);
void unplugGamepad(int slot, int atFrame);
void padHold(int slot, int button, int fromFrame, int toFrame);
void padPress(int slot, int button, int atFrame); // padHold(slot, button, atFrame, atFrame)
void padAxis(int slot, int axis, float value, int fromFrame, int toFrame);

// The mouse: at a point from a frame on, until the next move; a button held over frames.
void moveMouse(Vector2 to, int atFrame);
void mouseHold(int button, int fromFrame, int toFrame);
// One finger on the screen: at path[i] in frame fromFrame + i, lifted after the last.
void touchPath(const std::vector<Vector2>& path, int fromFrame);

void setFrameTime(float seconds);
void setTime(double seconds);
void setScreenSize(int width, int height);
void queueRandom(const std::vector<int>& values); // returned first, in order

struct RandomRequest {
    int min;
    int max;
    int value;
};
const std::vector<RandomRequest>& randomRequests();

// --- failures --------------------------------------------------------------------
void failImageDecodes(bool fail);   // LoadImageFromMemory yields no data
void failTextureUploads(bool fail); // LoadTextureFromImage yields id 0
void failMusicDecodes(int count);   // the next `count` music loads are invalid
void failWaveDecodes(bool fail);    // LoadWaveFromMemory yields no data
void failSoundUploads(bool fail);   // LoadSoundFromWave yields no buffer

// --- what happened -------------------------------------------------------------
const std::vector<Call>& calls();
std::vector<Call> callsNamed(const std::string& fn);
int countCalls(const std::string& fn);
void clearCalls();
const std::vector<LogLine>& logLines();

// Audio handles and the simulated streams behind them.
unsigned int soundId(Sound sound);
unsigned int musicId(Music music);
bool musicPlaying(Music music);
float musicPitch(Music music);
int liveMusicStreams(); // loaded and not yet unloaded
int liveSounds();
int liveImages();
bool audioDeviceOpen();

// The model of the default font the stand-in measures with: every glyph is
// half the font size wide, the measured height is the font size.
Vector2 measure(const char* text, float fontSize, float spacing);

} // namespace standin
