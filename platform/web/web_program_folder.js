// The program folder of a program on the web layer: /program, kept in the browser's
// IndexedDB for this page's origin. It is loaded before the program starts, and the program
// finds it as its own folder: /proc/self/exe names a file in it, as on Linux. The layer saves
// it when the program ends; the page may read a file of it (vaneProgramFile) to say what is
// stored.
Module.preRun = Module.preRun || [];
if (typeof Module.preRun === "function") Module.preRun = [Module.preRun];
Module.preRun.push(function () {
  FS.mkdir("/program");
  FS.mount(IDBFS, {}, "/program");
  FS.symlink("/program/" + (Module.vaneProgramName || "program"), "/proc/self/exe");
  addRunDependency("vane-program-folder");
  FS.syncfs(true, function (error) {
    // Without a store (a private window may refuse one) the program runs with an empty folder.
    if (error && Module.printErr) Module.printErr("program folder not loaded: " + error);
    if (Module.vaneProgramFolderLoaded) Module.vaneProgramFolderLoaded(!error);
    removeRunDependency("vane-program-folder");
  });
});

// Saves the folder; done(saved) follows.
Module.vaneSaveProgramFolder = function (done) {
  FS.syncfs(false, function (error) {
    if (error && Module.printErr) Module.printErr("program folder not saved: " + error);
    done(!error);
  });
};

// The bytes of a file in the program folder, or null.
Module.vaneProgramFile = function (name) {
  try {
    return FS.readFile("/program/" + name);
  } catch (e) {
    return null;
  }
};
