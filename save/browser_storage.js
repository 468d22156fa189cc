// Makes the working directory, where kolvex.sav lives, a folder kept in the
// browser's IndexedDB, and reads it back before the game's first frame.
Module['preRun'] = Module['preRun'] || [];
Module['preRun'].push(function () {
  var folder = '/kolvex';
  FS.mkdir(folder);
  FS.mount(IDBFS, {}, folder);
  FS.chdir(folder);
  // The game starts only once this dependency is gone, so it sees the bests.
  addRunDependency('kolvex-saves');
  FS.syncfs(true, function (error) {
    if (error) {
      console.error('Kolvex: the stored bests could not be read; starting without them', error);
    }
    removeRunDependency('kolvex-saves');
  });
});
