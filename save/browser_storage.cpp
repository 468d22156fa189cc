// Writing the save folder to the browser's IndexedDB (see browser_storage.js,
// which mounts it as the working directory and reads it back at start-up).
#include "save/browser_storage.h"

#include <emscripten/emscripten.h>

void syncBrowserStorage() {
    // The write happens after this returns; a save must never hold up a frame.
    EM_ASM({
        FS.syncfs(false, function(error) {
            if (error) {
                console.error('Kolvex: the bests could not be stored in this browser', error);
            }
        });
    });
}
