// Drawing the effects: the particles in their window positions, the white flashes
// over cleared rows and the hold comet with the dimming of the screen behind it.
#include "render/effects_drawing.h"

#include "app/application.h"
#include "game/game_scene.h"
#include "render/easing.h"
#include "render/effects.h"

#include <algorithm>
#include <vector>

namespace {

constexpr float kParticleFadeRate = 2.0f; // fades out over the last half second
constexpr float kFlashPeakAlpha = 0.85f;
constexpr float kFlashMargin = 4.0f;
constexpr float kLiftSettleDim = 0.75f;
constexpr float kFlyDim = 0.65f;
constexpr float kGlowWidth = 18.0f;
constexpr float kTrailWidth = 8.0f;
constexpr float kCoreWidth = 3.0f;
constexpr float kHeadRadius = 12.0f;
constexpr float kHaloRadius = 24.0f;

const std::vector<Texture2D>& framePool(const GameScene& game, std::int32_t frameSet) {
    return frameSet == kSmokeFrameSet ? game.smokeFrames : game.sparkleFrames;
}

Color particleColour(const Particle& particle) {
    const float opacity = std::clamp(kParticleFadeRate * particle.life, 0.0f, 1.0f);
    Color colour = particle.color;
    colour.a = static_cast<unsigned char>(opacity * static_cast<float>(particle.color.a));
    return colour;
}

void drawParticle(const GameScene& game, const Particle& particle) {
    const std::vector<Texture2D>& pool = framePool(game, particle.frameSet);
    if (particle.frame < 0 || particle.frame >= static_cast<int>(pool.size())) {
        return;
    }
    const Texture2D& texture = pool[static_cast<std::size_t>(particle.frame)];
    const Color colour = particleColour(particle);
    const float left = particle.position.x - particle.size / 2.0f;
    const float top = particle.position.y - particle.size / 2.0f;
    if (texture.id == 0) {
        // A picture that failed to load still shows the particle as a plain square.
        DrawRectangle(static_cast<int>(left), static_cast<int>(top),
                      static_cast<int>(particle.size), static_cast<int>(particle.size), colour);
        return;
    }
    const Rectangle source{0.0f, 0.0f, static_cast<float>(texture.width),
                           static_cast<float>(texture.height)};
    const Rectangle dest{left, top, particle.size, particle.size};
    DrawTexturePro(texture, source, dest, Vector2{0.0f, 0.0f}, 0.0f, colour);
}

float holdDimming(const HoldTransfer& transfer) {
    switch (transfer.state) {
    case HoldState::Lift:
        return transfer.timer / kHoldLiftTime * kLiftSettleDim;
    case HoldState::Fly:
        return kFlyDim;
    case HoldState::Settle:
        return (1.0f - transfer.timer / kHoldSettleTime) * kLiftSettleDim;
    case HoldState::Idle:
        break;
    }
    return 0.0f;
}

} // namespace

void drawParticles(const GameScene& game) {
    for (const Particle& particle : game.particles) {
        drawParticle(game, particle);
    }
}

void drawRowFlashes(const GameScene& game, Vector2 origin) {
    const float c = static_cast<float>(game.cellSize);
    const float width = static_cast<float>(game.boardWidth) * c;
    for (const RowFlash& flash : game.rowFlashes) {
        const Rectangle bar{origin.x - kFlashMargin,
                            static_cast<float>(flash.row) * c + origin.y - kFlashMargin,
                            width + 2.0f * kFlashMargin, c + 2.0f * kFlashMargin};
        DrawRectangleRec(bar, Fade(WHITE, flash.timeLeft / kRowFlashTime * kFlashPeakAlpha));
    }
}

void drawHoldTransfer(const GameScene& game) {
    const HoldTransfer& transfer = game.holdTransfer;
    if (transfer.state == HoldState::Idle) {
        return;
    }
    // Every state restarts its timer, so the head sets out from the piece each time.
    const float s = smoothstep(transfer.timer / kHoldFlyTime);
    const Vector2 head{transfer.start.x + (transfer.target.x - transfer.start.x) * s,
                       transfer.start.y + (transfer.target.y - transfer.start.y) * s};
    DrawLineEx(transfer.start, head, kGlowWidth, Fade(SKYBLUE, 0.2f));
    DrawLineEx(transfer.start, head, kTrailWidth, Fade(SKYBLUE, 0.8f));
    DrawLineEx(transfer.start, head, kCoreWidth, SKYBLUE);
    DrawCircleV(head, kHeadRadius, SKYBLUE);
    DrawCircleV(head, kHaloRadius, Fade(SKYBLUE, 0.25f));
    DrawRectangle(0, 0, kWindowWidth, kWindowHeight, Fade(BLACK, holdDimming(transfer)));
}
