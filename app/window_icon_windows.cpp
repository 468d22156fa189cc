// The window icon on Windows: raylib's RGFW platform keeps the first picture as
// the window's own small icon and the largest for the taskbar and Alt+Tab.
#include "app/window_icon.h"

void handWindowIcons(Image* icons, int count) {
    SetWindowIcons(icons, count);
}
