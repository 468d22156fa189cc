// The pause control: a dark square with two white bars, out of the way of the
// well, the previews and the read-outs, which all stand left of it.
#include "render/pause_control.h"

#include "app/application.h"

namespace {

constexpr float kEdge = 64.0f;
constexpr float kInset = 16.0f;
constexpr float kTapMargin = 16.0f;
constexpr float kBackAlpha = 0.6f;
constexpr float kFrameThickness = 3.0f;
constexpr float kBarWidth = 12.0f;
constexpr float kBarHeight = 32.0f;
constexpr float kBarGap = 10.0f;

Rectangle drawnButton() {
    return Rectangle{static_cast<float>(kWindowWidth) - kInset - kEdge, kInset, kEdge, kEdge};
}

} // namespace

Rectangle pauseControlArea() {
    const Rectangle b = drawnButton();
    return Rectangle{b.x - kTapMargin, b.y - kTapMargin, b.width + 2.0f * kTapMargin,
                     b.height + 2.0f * kTapMargin};
}

void drawPauseControl() {
    const Rectangle b = drawnButton();
    DrawRectangleRec(b, Fade(BLACK, kBackAlpha));
    DrawRectangleLinesEx(b, kFrameThickness, WHITE);
    const float top = b.y + (b.height - kBarHeight) * 0.5f;
    const float left = b.x + (b.width - 2.0f * kBarWidth - kBarGap) * 0.5f;
    DrawRectangleRec(Rectangle{left, top, kBarWidth, kBarHeight}, WHITE);
    DrawRectangleRec(Rectangle{left + kBarWidth + kBarGap, top, kBarWidth, kBarHeight}, WHITE);
}
