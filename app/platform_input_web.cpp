// The web page's pointer. raylib's web layer hears touches on the canvas only and
// reports them as its mouse; a phone player's finger lands around the small canvas
// as often as on it. So the page's own listeners take every touch on the page and
// keep the first finger, as a share of the canvas as it stands on screen; while a
// finger is down, or just lifted, it is the pointer, else raylib's mouse is, whose
// button a finger on the canvas also holds down meanwhile. However slow the frames,
// a touch reads first where it began, then where it is, and last where it lifted,
// so a tap between two frames and the whole length of a fast stroke are kept.
#include "app/platform_input.h"

#include <emscripten/emscripten.h>

namespace {

// The JavaScript inside EM_JS is not C++ for the formatter.
// clang-format off

// Controls such as a page's buttons keep their own touches.
EM_JS(void, watchPage, (), {
    const page = { active: false, latched: false, ended: false, hidden: false, id: 0,
                   x: 0, y: 0, startX: 0, startY: 0 };
    Module.kolvexPage = page;
    const follow = (touch) => {
        const box = Module.canvas.getBoundingClientRect();
        page.x = (touch.clientX - box.left) / box.width;
        page.y = (touch.clientY - box.top) / box.height;
    };
    const onTouch = (event) => {
        if (event.target.closest && event.target.closest('button, a, input, select, textarea')) {
            return;
        }
        event.preventDefault();
        const touches = Array.from(event.changedTouches);
        if (event.type === 'touchstart') {
            if (!page.active) {
                page.id = touches[0].identifier;
                page.active = true;
                page.latched = true;
                page.ended = false;
                follow(touches[0]);
                page.startX = page.x;
                page.startY = page.y;
            }
            return;
        }
        const touch = touches.find((t) => t.identifier === page.id);
        if (!page.active || !touch) {
            return;
        }
        follow(touch);
        if (event.type !== 'touchmove') {
            page.active = false;
            page.ended = true;
        }
    };
    for (const type of ['touchstart', 'touchmove', 'touchend', 'touchcancel']) {
        window.addEventListener(type, onTouch, { capture: true, passive: false });
    }
    document.addEventListener('visibilitychange', () => {
        if (document.visibilityState === 'hidden') {
            page.hidden = true;
        }
    });
});

// What readPageTouch answers; otherwise (2) the finger has lifted since the last read.
constexpr int kNoTouch = 0;
constexpr int kTouchDown = 1;

EM_JS(int, readPageTouch, (float* share), {
    const page = Module.kolvexPage;
    HEAPF32[share >> 2] = page.latched ? page.startX : page.x;
    HEAPF32[(share >> 2) + 1] = page.latched ? page.startY : page.y;
    if (page.active || page.latched) {
        page.latched = false;
        return 1;
    }
    if (page.ended) {
        page.ended = false;
        return 2;
    }
    return 0;
});

EM_JS(int, takePageHidden, (), {
    const page = Module.kolvexPage;
    const hidden = page.hidden;
    page.hidden = false;
    return hidden ? 1 : 0;
});

// clang-format on

void watchPageOnce() {
    static bool watching = false;
    if (!watching) {
        watchPage();
        watching = true;
    }
}

} // namespace

PointerSample samplePointer() {
    watchPageOnce();
    float share[2] = {0.0f, 0.0f};
    const int touch = readPageTouch(share);
    if (touch != kNoTouch) {
        const Vector2 at{share[0] * static_cast<float>(GetScreenWidth()),
                         share[1] * static_cast<float>(GetScreenHeight())};
        return PointerSample{at, touch == kTouchDown, true};
    }
    return PointerSample{GetMousePosition(), IsMouseButtonDown(MOUSE_BUTTON_LEFT), false};
}

bool pageWentHidden() {
    watchPageOnce();
    return takePageHidden() != 0;
}
