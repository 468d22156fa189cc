// The window icon on Linux: raylib's SDL platform takes one picture, so the
// largest, which the window manager shrinks as it needs. In the browser raylib
// has no window icon and says so in its log.
#include "app/window_icon.h"

#include <algorithm>

void handWindowIcons(Image* icons, int count) {
    if (count == 0) {
        return;
    }
    // raylib hands SDL the channel masks of a big-endian machine, so on this
    // one it would read each pixel's bytes backwards: red as alpha. Reversed
    // here, they come out as they are.
    Image& largest = icons[count - 1];
    auto* bytes = static_cast<unsigned char*>(largest.data);
    const int length = largest.width * largest.height * 4;
    for (int i = 0; i + 4 <= length; i += 4) {
        std::reverse(bytes + i, bytes + i + 4);
    }
    SetWindowIcon(largest);
}
