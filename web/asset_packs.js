// The game's side of the asset packs: its requests go to the page
// (Module.requestPack in kolvex.html), and a pack the page has whole is copied
// into the program's memory, where it stays for the rest of the run; the page
// lets its own copy go once the game has it.
mergeInto(LibraryManager.library, {
  kolvex_request_pack: function (index, name, length) {
    Module.requestPack(index, UTF8ToString(name), length);
  },
  kolvex_take_pack__deps: ['malloc'],
  kolvex_take_pack: function (index) {
    const bytes = Module.packBytes(index);
    if (!bytes) return 0;
    const at = _malloc(bytes.length);
    if (!at) return 0; // no memory now: asked again next frame
    HEAPU8.set(bytes, at);
    Module.packTaken(index);
    return at;
  },
});
