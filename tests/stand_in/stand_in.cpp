// The raylib functions the game calls, as the headless tests see them.
#include "stand_in.h"

#include <rlgl.h>

#include <algorithm>
#include <cmath>
#include <cstdarg>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <map>
#include <random>
#include <set>

namespace {

constexpr float kDefaultFrameTime = 1.0f / 60.0f;
constexpr int kDefaultWidth = 900;
constexpr int kDefaultHeight = 700;
constexpr unsigned kRandomSeed = 20261209u;
constexpr float kOggRate = 44100.0f;

struct HeldKey {
    int key;
    int from;
    int to;
};

struct PadSpan {
    int slot;
    int from;
    int until;
};

struct PadButton {
    int slot;
    int button;
    int from;
    int to;
};

struct AxisSpan {
    int slot;
    int axis;
    float value;
    int from;
    int to;
};

struct MouseMove {
    Vector2 to;
    int at;
};

struct TouchPath {
    std::vector<Vector2> points;
    int from;
};

struct MusicState {
    float length = 0.0f;
    float position = 0.0f;
    float pitch = 1.0f;
    float volume = 1.0f;
    bool playing = false;
    bool loaded = true;
};

struct State {
    int frame = 0;
    double time = 0.0;
    float frameTime = kDefaultFrameTime;
    int width = kDefaultWidth;
    int height = kDefaultHeight;
    int closeAt = -1;
    std::map<int, std::set<int>> pressed;
    std::map<int, std::set<int>> repeated;
    std::vector<HeldKey> held;
    std::vector<PadSpan> padsPlugged;
    std::vector<PadButton> padHeld;
    std::vector<AxisSpan> padAxes;
    std::vector<MouseMove> mouseMoves;
    std::vector<HeldKey> mouseHeld;
    std::vector<TouchPath> touches;
    std::vector<int> randomQueue;
    std::vector<standin::RandomRequest> randomRequests;
    std::mt19937 rng{kRandomSeed};

    bool failImages = false;
    bool failTextures = false;
    int failMusic = 0;
    bool failWaves = false;
    bool failSounds = false;

    std::vector<standin::Call> calls;
    std::vector<standin::LogLine> logs;

    unsigned nextTextureId = 1;
    unsigned nextAudioId = 1;
    std::map<unsigned, MusicState> musics;
    std::set<unsigned> sounds;
    int images = 0;
    bool audioOpen = false;
};

State& state() {
    static State s;
    return s;
}

void record(const char* fn, std::vector<float> num = {}, Color color = {}, const char* text = "",
            unsigned handle = 0) {
    state().calls.push_back({fn, text ? text : "", std::move(num), color, handle});
}

bool startsWith(const unsigned char* data, int size, const char* magic) {
    const int n = static_cast<int>(std::strlen(magic));
    return data != nullptr && size >= n && std::memcmp(data, magic, n) == 0;
}

std::uint32_t bigEndian32(const unsigned char* p) {
    return (std::uint32_t{p[0]} << 24) | (std::uint32_t{p[1]} << 16) | (std::uint32_t{p[2]} << 8) |
           std::uint32_t{p[3]};
}

// The granule position of the last Ogg page: the stream's length in frames.
std::uint64_t lastGranule(const unsigned char* data, int size) {
    for (int i = size - 27; i >= 0; --i) {
        if (std::memcmp(data + i, "OggS", 4) == 0) {
            std::uint64_t g = 0;
            for (int b = 7; b >= 0; --b) {
                g = (g << 8) | data[i + 6 + b];
            }
            return g;
        }
    }
    return 0;
}

void* fakePointer(unsigned id) {
    return reinterpret_cast<void*>(std::uintptr_t{id} * 16u);
}

unsigned idOf(const void* p) {
    return static_cast<unsigned>(reinterpret_cast<std::uintptr_t>(p) / 16u);
}

MusicState* musicState(Music music) {
    auto it = state().musics.find(idOf(music.ctxData));
    return it == state().musics.end() ? nullptr : &it->second;
}

// The fingers down in this frame, in the order they were scripted.
std::vector<Vector2> touchesNow() {
    std::vector<Vector2> out;
    for (const TouchPath& path : state().touches) {
        const int i = state().frame - path.from;
        if (i >= 0 && i < static_cast<int>(path.points.size())) {
            out.push_back(path.points[static_cast<std::size_t>(i)]);
        }
    }
    return out;
}

} // namespace

namespace standin {

void reset() {
    state() = State{};
}

int frame() {
    return state().frame;
}

void nextFrame() {
    state().frame += 1;
    state().time += state().frameTime;
}

void runFrames(int n, void (*step)()) {
    for (int i = 0; i < n; ++i) {
        step();
        nextFrame();
    }
}

void press(int key, int atFrame) {
    state().pressed[atFrame].insert(key);
}
void pressNow(int key) {
    press(key, state().frame);
}
void repeat(int key, int atFrame) {
    state().repeated[atFrame].insert(key);
}
void hold(int key, int fromFrame, int toFrame) {
    state().held.push_back({key, fromFrame, toFrame});
}
void closeWindowAt(int atFrame) {
    state().closeAt = atFrame;
}
void plugGamepad(int slot, int fromFrame, int untilFrame) {
    state().padsPlugged.push_back({slot, fromFrame, untilFrame});
}
void unplugGamepad(int slot, int atFrame) {
    for (PadSpan& span : state().padsPlugged) {
        if (span.slot == slot && span.until > atFrame) {
            span.until = atFrame;
        }
    }
}
void padHold(int slot, int button, int fromFrame, int toFrame) {
    state().padHeld.push_back({slot, button, fromFrame, toFrame});
}
void padPress(int slot, int button, int atFrame) {
    padHold(slot, button, atFrame, atFrame);
}
void padAxis(int slot, int axis, float value, int fromFrame, int toFrame) {
    state().padAxes.push_back({slot, axis, value, fromFrame, toFrame});
}
void moveMouse(Vector2 to, int atFrame) {
    state().mouseMoves.push_back({to, atFrame});
}
void mouseHold(int button, int fromFrame, int toFrame) {
    state().mouseHeld.push_back({button, fromFrame, toFrame});
}
void touchPath(const std::vector<Vector2>& path, int fromFrame) {
    state().touches.push_back({path, fromFrame});
}
void setFrameTime(float seconds) {
    state().frameTime = seconds;
}
void setTime(double seconds) {
    state().time = seconds;
}

void setScreenSize(int width, int height) {
    state().width = width;
    state().height = height;
}

void queueRandom(const std::vector<int>& values) {
    auto& q = state().randomQueue;
    q.insert(q.end(), values.begin(), values.end());
}

const std::vector<RandomRequest>& randomRequests() {
    return state().randomRequests;
}

void failImageDecodes(bool fail) {
    state().failImages = fail;
}
void failTextureUploads(bool fail) {
    state().failTextures = fail;
}
void failMusicDecodes(int count) {
    state().failMusic = count;
}
void failWaveDecodes(bool fail) {
    state().failWaves = fail;
}
void failSoundUploads(bool fail) {
    state().failSounds = fail;
}

const std::vector<Call>& calls() {
    return state().calls;
}

std::vector<Call> callsNamed(const std::string& fn) {
    std::vector<Call> out;
    std::copy_if(state().calls.begin(), state().calls.end(), std::back_inserter(out),
                 [&](const Call& c) { return c.fn == fn; });
    return out;
}

int countCalls(const std::string& fn) {
    return static_cast<int>(callsNamed(fn).size());
}
void clearCalls() {
    state().calls.clear();
}
const std::vector<LogLine>& logLines() {
    return state().logs;
}

unsigned int soundId(Sound sound) {
    return idOf(sound.stream.buffer);
}
unsigned int musicId(Music music) {
    return idOf(music.ctxData);
}

bool musicPlaying(Music music) {
    const MusicState* m = musicState(music);
    return m != nullptr && m->playing;
}

float musicPitch(Music music) {
    const MusicState* m = musicState(music);
    return m == nullptr ? 0.0f : m->pitch;
}

int liveMusicStreams() {
    return static_cast<int>(std::count_if(state().musics.begin(), state().musics.end(),
                                          [](const auto& kv) { return kv.second.loaded; }));
}

int liveSounds() {
    return static_cast<int>(state().sounds.size());
}
int liveImages() {
    return state().images;
}
bool audioDeviceOpen() {
    return state().audioOpen;
}

Vector2 measure(const char* text, float fontSize, float spacing) {
    const float n = static_cast<float>(std::strlen(text));
    if (n == 0.0f) {
        return {0.0f, fontSize};
    }
    return {n * fontSize * 0.5f + (n - 1.0f) * spacing, fontSize};
}

} // namespace standin

// ---------------------------------------------------------------------------------
// raylib, as declared by raylib.h
// ---------------------------------------------------------------------------------
extern "C" {

void SetConfigFlags(unsigned int flags) {
    record("SetConfigFlags", {static_cast<float>(flags)});
}

void InitWindow(int width, int height, const char* title) {
    state().width = width;
    state().height = height;
    record("InitWindow", {static_cast<float>(width), static_cast<float>(height)}, {}, title);
}

void CloseWindow(void) {
    record("CloseWindow");
}

bool WindowShouldClose(void) {
    record("WindowShouldClose");
    return state().closeAt >= 0 && state().frame >= state().closeAt;
}

void SetWindowIcon(Image image) {
    record("SetWindowIcon", {static_cast<float>(image.width), static_cast<float>(image.height),
                             static_cast<float>(image.format)});
}

void SetExitKey(int key) {
    record("SetExitKey", {static_cast<float>(key)});
}
void SetTargetFPS(int fps) {
    record("SetTargetFPS", {static_cast<float>(fps)});
}
int GetScreenWidth(void) {
    return state().width;
}
int GetScreenHeight(void) {
    return state().height;
}
// No scaled desktop here: the drawing buffer has the window's own size.
int GetRenderWidth(void) {
    return state().width;
}
int GetRenderHeight(void) {
    return state().height;
}
void SetWindowMinSize(int width, int height) {
    record("SetWindowMinSize", {static_cast<float>(width), static_cast<float>(height)});
}
void ToggleBorderlessWindowed(void) {
    record("ToggleBorderlessWindowed");
}
bool IsWindowFocused(void) {
    return true;
}
bool IsWindowMinimized(void) {
    return false;
}
// rlgl: the frame's view onto the game's picture.
void rlViewport(int x, int y, int width, int height) {
    record("rlViewport", {static_cast<float>(x), static_cast<float>(y), static_cast<float>(width),
                          static_cast<float>(height)});
}
void rlMatrixMode(int) {}
void rlLoadIdentity(void) {}
void rlOrtho(double left, double right, double bottom, double top, double, double) {
    record("rlOrtho", {static_cast<float>(left), static_cast<float>(right),
                       static_cast<float>(bottom), static_cast<float>(top)});
}
float GetFrameTime(void) {
    return state().frameTime;
}
double GetTime(void) {
    return state().time;
}

bool IsKeyPressed(int key) {
    auto it = state().pressed.find(state().frame);
    return it != state().pressed.end() && it->second.count(key) > 0;
}

bool IsKeyPressedRepeat(int key) {
    auto it = state().repeated.find(state().frame);
    return it != state().repeated.end() && it->second.count(key) > 0;
}

bool IsKeyDown(int key) {
    const int f = state().frame;
    return std::any_of(state().held.begin(), state().held.end(),
                       [&](const HeldKey& h) { return h.key == key && f >= h.from && f <= h.to; });
}

bool IsGamepadAvailable(int gamepad) {
    const int f = state().frame;
    return std::any_of(
        state().padsPlugged.begin(), state().padsPlugged.end(),
        [&](const PadSpan& p) { return p.slot == gamepad && f >= p.from && f < p.until; });
}

bool IsGamepadButtonDown(int gamepad, int button) {
    const int f = state().frame;
    return IsGamepadAvailable(gamepad) &&
           std::any_of(state().padHeld.begin(), state().padHeld.end(), [&](const PadButton& h) {
               return h.slot == gamepad && h.button == button && f >= h.from && f <= h.to;
           });
}

float GetGamepadAxisMovement(int gamepad, int axis) {
    const int f = state().frame;
    if (!IsGamepadAvailable(gamepad)) {
        return 0.0f;
    }
    for (const AxisSpan& span : state().padAxes) {
        if (span.slot == gamepad && span.axis == axis && f >= span.from && f <= span.to) {
            return span.value;
        }
    }
    return 0.0f;
}

Vector2 GetMousePosition(void) {
    Vector2 at{0.0f, 0.0f};
    int latest = -1;
    for (const MouseMove& move : state().mouseMoves) {
        if (move.at <= state().frame && move.at >= latest) {
            at = move.to;
            latest = move.at;
        }
    }
    return at;
}

bool IsMouseButtonDown(int button) {
    const int f = state().frame;
    return std::any_of(state().mouseHeld.begin(), state().mouseHeld.end(), [&](const HeldKey& h) {
        return h.key == button && f >= h.from && f <= h.to;
    });
}

bool CheckCollisionPointRec(Vector2 point, Rectangle rec) {
    return point.x >= rec.x && point.x < rec.x + rec.width && point.y >= rec.y &&
           point.y < rec.y + rec.height;
}

int GetTouchPointCount(void) {
    return static_cast<int>(touchesNow().size());
}

Vector2 GetTouchPosition(int index) {
    const std::vector<Vector2> points = touchesNow();
    if (index < 0 || index >= static_cast<int>(points.size())) {
        return Vector2{-1.0f, -1.0f};
    }
    return points[static_cast<std::size_t>(index)];
}

int GetRandomValue(int min, int max) {
    State& s = state();
    int value;
    if (!s.randomQueue.empty()) {
        value = s.randomQueue.front();
        s.randomQueue.erase(s.randomQueue.begin());
    } else {
        const int lo = std::min(min, max);
        const int hi = std::max(min, max);
        value = std::uniform_int_distribution<int>(lo, hi)(s.rng);
    }
    s.randomRequests.push_back({min, max, value});
    return value;
}

void TraceLog(int logLevel, const char* text, ...) {
    char buffer[1024];
    va_list args;
    va_start(args, text);
    std::vsnprintf(buffer, sizeof buffer, text, args);
    va_end(args);
    state().logs.push_back({logLevel, buffer});
}

void BeginDrawing(void) {
    record("BeginDrawing");
}

void EndDrawing(void) {
    record("EndDrawing");
    standin::nextFrame();
}

void ClearBackground(Color color) {
    record("ClearBackground", {}, color);
}

void DrawRectangle(int posX, int posY, int width, int height, Color color) {
    record("DrawRectangle",
           {static_cast<float>(posX), static_cast<float>(posY), static_cast<float>(width),
            static_cast<float>(height)},
           color);
}

void DrawRectangleRec(Rectangle rec, Color color) {
    record("DrawRectangleRec", {rec.x, rec.y, rec.width, rec.height}, color);
}

void DrawRectangleLines(int posX, int posY, int width, int height, Color color) {
    record("DrawRectangleLines",
           {static_cast<float>(posX), static_cast<float>(posY), static_cast<float>(width),
            static_cast<float>(height)},
           color);
}

void DrawRectangleLinesEx(Rectangle rec, float lineThick, Color color) {
    record("DrawRectangleLinesEx", {rec.x, rec.y, rec.width, rec.height, lineThick}, color);
}

void DrawLineEx(Vector2 startPos, Vector2 endPos, float thick, Color color) {
    record("DrawLineEx", {startPos.x, startPos.y, endPos.x, endPos.y, thick}, color);
}

void DrawCircleV(Vector2 center, float radius, Color color) {
    record("DrawCircleV", {center.x, center.y, radius}, color);
}

void DrawTexturePro(Texture2D texture, Rectangle source, Rectangle dest, Vector2 origin,
                    float rotation, Color tint) {
    record("DrawTexturePro",
           {source.x, source.y, source.width, source.height, dest.x, dest.y, dest.width,
            dest.height, origin.x, origin.y, rotation},
           tint, "", texture.id);
}

Color Fade(Color color, float alpha) {
    alpha = std::clamp(alpha, 0.0f, 1.0f);
    return Color{color.r, color.g, color.b, static_cast<unsigned char>(255.0f * alpha)};
}

Font GetFontDefault(void) {
    Font font{};
    font.baseSize = 10;
    font.glyphCount = 224;
    font.texture.id = 999;
    return font;
}

void DrawText(const char* text, int posX, int posY, int fontSize, Color color) {
    record("DrawText",
           {static_cast<float>(posX), static_cast<float>(posY), static_cast<float>(fontSize)},
           color, text);
}

void DrawTextPro(Font font, const char* text, Vector2 position, Vector2 origin, float rotation,
                 float fontSize, float spacing, Color tint) {
    record("DrawTextPro", {position.x, position.y, origin.x, origin.y, rotation, fontSize, spacing},
           tint, text, font.texture.id);
}

int MeasureText(const char* text, int fontSize) {
    const float spacing = static_cast<float>(std::max(fontSize / 10, 1));
    return static_cast<int>(standin::measure(text, static_cast<float>(fontSize), spacing).x);
}

Vector2 MeasureTextEx(Font, const char* text, float fontSize, float spacing) {
    const Vector2 m = standin::measure(text, fontSize, spacing);
    record("MeasureTextEx", {fontSize, spacing, m.x, m.y}, {}, text);
    return m;
}

const char* TextFormat(const char* text, ...) {
    static char buffers[4][1024];
    static int index = 0;
    char* out = buffers[index];
    index = (index + 1) % 4;
    va_list args;
    va_start(args, text);
    std::vsnprintf(out, 1024, text, args);
    va_end(args);
    return out;
}

Image LoadImageFromMemory(const char* fileType, const unsigned char* fileData, int dataSize) {
    record("LoadImageFromMemory", {static_cast<float>(dataSize)}, {}, fileType);
    Image image{};
    if (state().failImages || !startsWith(fileData, dataSize, "\x89PNG\r\n\x1a\n") ||
        dataSize < 24) {
        return image;
    }
    image.width = static_cast<int>(bigEndian32(fileData + 16));
    image.height = static_cast<int>(bigEndian32(fileData + 20));
    image.mipmaps = 1;
    image.format = PIXELFORMAT_UNCOMPRESSED_R8G8B8A8;
    // Room for every pixel, as raylib's, for code that touches them; never read.
    image.data = std::calloc(static_cast<std::size_t>(image.width) * image.height, 4);
    state().images += 1;
    return image;
}

void UnloadImage(Image image) {
    record("UnloadImage");
    if (image.data != nullptr) {
        std::free(image.data);
        state().images -= 1;
    }
}

Texture2D LoadTextureFromImage(Image image) {
    Texture2D texture{};
    if (!state().failTextures && image.data != nullptr) {
        texture.id = state().nextTextureId++;
        texture.width = image.width;
        texture.height = image.height;
        texture.mipmaps = 1;
        texture.format = image.format;
    }
    record("LoadTextureFromImage", {}, {}, "", texture.id);
    return texture;
}

void SetTextureFilter(Texture2D texture, int filter) {
    record("SetTextureFilter", {static_cast<float>(filter)}, {}, "", texture.id);
}

void UnloadTexture(Texture2D texture) {
    record("UnloadTexture", {}, {}, "", texture.id);
}

void InitAudioDevice(void) {
    state().audioOpen = true;
    record("InitAudioDevice");
}

void CloseAudioDevice(void) {
    state().audioOpen = false;
    record("CloseAudioDevice");
}

Wave LoadWaveFromMemory(const char* fileType, const unsigned char* fileData, int dataSize) {
    record("LoadWaveFromMemory", {static_cast<float>(dataSize)}, {}, fileType);
    Wave wave{};
    if (state().failWaves || !startsWith(fileData, dataSize, "OggS")) {
        return wave;
    }
    wave.frameCount = static_cast<unsigned>(lastGranule(fileData, dataSize));
    wave.sampleRate = 44100;
    wave.sampleSize = 16;
    wave.channels = 2;
    wave.data = std::malloc(1);
    return wave;
}

void UnloadWave(Wave wave) {
    record("UnloadWave");
    std::free(wave.data);
}

Sound LoadSoundFromWave(Wave wave) {
    Sound sound{};
    if (!state().failSounds && wave.data != nullptr) {
        const unsigned id = state().nextAudioId++;
        sound.stream.buffer = static_cast<rAudioBuffer*>(fakePointer(id));
        sound.stream.sampleRate = wave.sampleRate;
        sound.stream.sampleSize = wave.sampleSize;
        sound.stream.channels = wave.channels;
        sound.frameCount = wave.frameCount;
        state().sounds.insert(id);
    }
    record("LoadSoundFromWave", {}, {}, "", standin::soundId(sound));
    return sound;
}

void UnloadSound(Sound sound) {
    state().sounds.erase(standin::soundId(sound));
    record("UnloadSound", {}, {}, "", standin::soundId(sound));
}

void SetSoundVolume(Sound sound, float volume) {
    record("SetSoundVolume", {volume}, {}, "", standin::soundId(sound));
}

void PlaySound(Sound sound) {
    record("PlaySound", {}, {}, "", standin::soundId(sound));
}

Music LoadMusicStreamFromMemory(const char* fileType, const unsigned char* data, int dataSize) {
    Music music{};
    State& s = state();
    const bool fail = s.failMusic > 0 || !startsWith(data, dataSize, "OggS");
    if (s.failMusic > 0) {
        s.failMusic -= 1;
    }
    if (!fail) {
        const unsigned id = s.nextAudioId++;
        music.ctxData = fakePointer(id);
        music.stream.buffer = static_cast<rAudioBuffer*>(fakePointer(id));
        music.stream.sampleRate = 44100;
        music.stream.sampleSize = 16;
        music.stream.channels = 2;
        music.frameCount = static_cast<unsigned>(lastGranule(data, dataSize));
        music.looping = true;
        MusicState m;
        m.length = static_cast<float>(music.frameCount) / kOggRate;
        s.musics[id] = m;
    }
    record("LoadMusicStreamFromMemory", {static_cast<float>(dataSize)}, {}, fileType,
           standin::musicId(music));
    return music;
}

bool IsMusicValid(Music music) {
    const MusicState* m = musicState(music);
    return m != nullptr && m->loaded;
}

void UnloadMusicStream(Music music) {
    if (MusicState* m = musicState(music)) {
        m->loaded = false;
        m->playing = false;
    }
    record("UnloadMusicStream", {}, {}, "", standin::musicId(music));
}

void PlayMusicStream(Music music) {
    if (MusicState* m = musicState(music)) {
        m->playing = true;
    }
    record("PlayMusicStream", {}, {}, "", standin::musicId(music));
}

void StopMusicStream(Music music) {
    if (MusicState* m = musicState(music)) {
        m->playing = false;
        m->position = 0.0f;
    }
    record("StopMusicStream", {}, {}, "", standin::musicId(music));
}

// A stream that is not refilled does not advance: position moves by one frame of
// audio at each update, and a stream that does not loop stops at its end with its
// played time back at 0, as raylib's does.
void UpdateMusicStream(Music music) {
    record("UpdateMusicStream", {}, {}, "", standin::musicId(music));
    MusicState* m = musicState(music);
    if (m == nullptr || !m->playing) {
        return;
    }
    m->position += state().frameTime * m->pitch;
    if (m->position >= m->length) {
        if (music.looping && m->length > 0.0f) {
            m->position = std::fmod(m->position, m->length);
        } else {
            m->playing = false;
            m->position = 0.0f;
        }
    }
}

float GetMusicTimePlayed(Music music) {
    const MusicState* m = musicState(music);
    return m == nullptr ? 0.0f : m->position;
}

void SetMusicVolume(Music music, float volume) {
    if (MusicState* m = musicState(music)) {
        m->volume = volume;
    }
    record("SetMusicVolume", {volume}, {}, "", standin::musicId(music));
}

void SetMusicPitch(Music music, float pitch) {
    if (MusicState* m = musicState(music)) {
        m->pitch = pitch;
    }
    record("SetMusicPitch", {pitch}, {}, "", standin::musicId(music));
}

} // extern "C"
