// The state of the game's short-lived effects: particles, row flashes and the
// hold transfer.
#pragma once

#include <raylib.h>

#include <cstdint>

struct Particle {
    Vector2 position{};
    Vector2 velocity{};
    Color color{};
    float life = 0.0f;
    float size = 0.0f;
    std::int8_t frame = -1; // index into its pool; -1 = nothing to draw
    std::int32_t frameSet = 0;
};

constexpr std::int32_t kSparkleFrameSet = 0;
constexpr std::int32_t kSmokeFrameSet = 1;

struct RowFlash {
    std::int8_t row = 0;
    float timeLeft = 0.0f;
};

enum class HoldState : std::int32_t { Idle = 0, Lift = 1, Fly = 2, Settle = 3 };

struct HoldTransfer {
    HoldState state = HoldState::Idle;
    float timer = 0.0f;
    Vector2 start{};
    Vector2 target{};
};
