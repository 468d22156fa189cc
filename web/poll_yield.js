// raylib's web platform ends its event poll with emscripten_sleep(0), a yield
// to the browser that only ASYNCIFY builds can make. The game returns to the
// browser after every frame instead (emscripten_set_main_loop), so here the
// yield has nothing to do; without this it would throw on the first frame.
mergeInto(LibraryManager.library, {
  emscripten_sleep: function (ms) {},
});
