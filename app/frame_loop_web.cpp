// The frame loop in the browser: the browser calls one pass per displayed
// frame, and the canvas's drawing buffer follows its size on the page.
#include "app/frame_loop.h"

#include <emscripten/emscripten.h>
#include <emscripten/html5.h>
#include <raylib.h>
#include <rlgl.h>

#include <algorithm>
#include <cmath>
#include <cstdlib>

namespace {

constexpr const char* kCanvas = "#canvas";
// requestAnimationFrame: the display's refresh paces the frames.
constexpr int kBrowserPacesFrames = 0;
constexpr bool kNeverReturn = true;

int devicePixels(double cssPixels, double ratio) {
    return std::max(1, static_cast<int>(std::lround(cssPixels * ratio)));
}

// One drawing-buffer pixel per device pixel of the canvas as the page shows
// it, so the game is sharp at any scale. raylib keeps the window's size and
// its projection, so the game lays out and draws in window coordinates and
// the viewport spreads them over the whole buffer. Done before drawing, so a
// resize never shows a cleared canvas.
void fitDrawingBuffer() {
    double cssWidth = 0.0;
    double cssHeight = 0.0;
    emscripten_get_element_css_size(kCanvas, &cssWidth, &cssHeight);
    const double ratio = emscripten_get_device_pixel_ratio();
    const int width = devicePixels(cssWidth, ratio);
    const int height = devicePixels(cssHeight, ratio);
    int currentWidth = 0;
    int currentHeight = 0;
    emscripten_get_canvas_element_size(kCanvas, &currentWidth, &currentHeight);
    if (width != currentWidth || height != currentHeight) {
        emscripten_set_canvas_element_size(kCanvas, width, height);
    }
    rlViewport(0, 0, width, height);
}

// A page cannot block in a loop of its own. When the loop would have ended,
// the exit steps run here and the program exits, which tells the page that
// the game is over.
void runBrowserFrame(void* context) {
    SceneManager& scenes = *static_cast<SceneManager*>(context);
    fitDrawingBuffer();
    if (scenes.running && runFrame(scenes)) {
        return;
    }
    emscripten_cancel_main_loop();
    shutDown(scenes);
    std::exit(0);
}

} // namespace

// The drawing buffer follows devicePixelRatio here instead: raylib's web
// platform, asked for high DPI, reads a display scale of zero before its
// canvas exists and makes the canvas empty.
const unsigned int kPlatformWindowFlags = 0;

// The canvas keeps the window's size; the page sizes it.
void setUpWindow() {}

// No frame cap: the browser already paces frames, and a wait in a page
// without threads would be a busy loop on its only thread.
void paceFrames() {}

// The browser keeps F11 for itself, and the page has its own full-screen button.
void followWindowKeys() {}

// The page keeps the canvas in the game's shape, so the drawing buffer as a
// whole is the game's picture (fitDrawingBuffer).
void placeGameView() {}

// The browser's next frame comes when it comes; nothing here waits for it.
void endFrame(bool) {
    EndDrawing();
}

void runFrameLoop(SceneManager& scenes) {
    emscripten_set_main_loop_arg(runBrowserFrame, &scenes, kBrowserPacesFrames, kNeverReturn);
}
