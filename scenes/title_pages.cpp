// The text of the how-to-play and credits pages and where each line stands,
// placed around the middle of the game's picture.
#include "scenes/title_pages.h"

#include "app/application.h"
#include "render/menu_text.h"

#include <raylib.h>

namespace {

struct PageLine {
    const char* text;
    float offset; // below the page's first line
};

// The blanks inside the key lines line the key names up roughly under each other.
constexpr PageLine kHowToPlayLines[] = {
    {"MOVING:  LEFT/RIGHT/UP/DOWN OR WASD", 0.0f},
    {"CONFIRM: ENTER", 30.0f},
    {"PAUSE:    ESC", 60.0f},
    {"ROTATE:  SPACE", 90.0f},
    {"HOLD:      CTRL", 120.0f},
    {"PRESS ESC FOR RETURN TO THE TITLE SCREEN", 300.0f},
};
constexpr float kHowToPlayLeft = 120.0f;
constexpr float kHowToPlayTopAboveMiddle = 180.0f;

// Everything in the game was made inside this project: the code by hand, the
// pictures and every sound by the generators that live beside it.
constexpr PageLine kCreditsLines[] = {
    {"CODE/DESIGN/ART:", 0.0f},
    {"THE KOLVEX DEVELOPERS", 30.0f},
    {"MUSIC:", 90.0f},
    {"TITLE: KOLVEX SYNTHESIZER (tools/audio_gen)", 120.0f},
    {"GAME: KOLVEX SYNTHESIZER (tools/audio_gen)", 150.0f},
    {"GAME OVER: KOLVEX SYNTHESIZER (tools/audio_gen)", 180.0f},
    {"HAIKEI:", 240.0f},
    {"KOLVEX PICTURE GENERATOR", 270.0f},
    {"(tools/image_gen)", 300.0f},
    {"SFX:", 360.0f},
    {"KOLVEX SYNTHESIZER", 390.0f},
    {"(tools/audio_gen)", 420.0f},
    {"PRESS ESC FOR RETURN TO THE TITLE SCREEN", 480.0f},
};
constexpr float kCreditsTopAboveMiddle = 225.0f;

float screenWidth() {
    return static_cast<float>(kWindowWidth);
}
float screenHeight() {
    return static_cast<float>(kWindowHeight);
}

} // namespace

void drawHowToPlayPage() {
    const Font font = GetFontDefault();
    const float top = screenHeight() * 0.5f - kHowToPlayTopAboveMiddle;
    for (const PageLine& line : kHowToPlayLines) {
        drawLeftLabel(font, line.text, Vector2{kHowToPlayLeft, top + line.offset});
    }
}

void drawCreditsPage() {
    const Font font = GetFontDefault();
    const float centreX = screenWidth() * 0.5f;
    const float top = screenHeight() * 0.5f - kCreditsTopAboveMiddle;
    for (const PageLine& line : kCreditsLines) {
        drawCenteredLabel(font, line.text, Vector2{centreX, top + line.offset});
    }
}
