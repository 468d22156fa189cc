// The one scale between the game's picture and the window: the frame loop draws
// through it and the pointer reads through it.
#include "app/game_view.h"

#include "app/application.h"

#include <algorithm>
#include <cmath>

Rectangle fitGameView(int windowWidth, int windowHeight) {
    const float width = static_cast<float>(windowWidth);
    const float height = static_cast<float>(windowHeight);
    const float scale = std::min(width / kWindowWidth, height / kWindowHeight);
    const float viewWidth = std::max(1.0f, std::round(kWindowWidth * scale));
    const float viewHeight = std::max(1.0f, std::round(kWindowHeight * scale));
    return Rectangle{std::floor((width - viewWidth) * 0.5f),
                     std::floor((height - viewHeight) * 0.5f), viewWidth, viewHeight};
}

Rectangle windowGameView() {
    return fitGameView(GetRenderWidth(), GetRenderHeight());
}

Vector2 toGamePoint(Rectangle view, Vector2 windowPoint) {
    return Vector2{(windowPoint.x - view.x) * kWindowWidth / view.width,
                   (windowPoint.y - view.y) * kWindowHeight / view.height};
}
