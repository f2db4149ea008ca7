// The page's side of the browser build: the canvas fitted to the window, the game's folder
// kept in IndexedDB, its messages on the console, and what the page says when the game ends.
(function () {
  var GAME_WIDTH = 800, GAME_HEIGHT = 480;
  var canvas = document.getElementById('game');
  var errors = [];  // the game's "ERROR: " lines, shown if the game cannot go on
  var storage = {kept: false, lockName: 'quorvel-game-folder'};

  // The picture fitted into the window and centred, drawn at the screen's pixel density.
  function fit() {
    var scale = Math.min(window.innerWidth / GAME_WIDTH, window.innerHeight / GAME_HEIGHT);
    var ratio = window.devicePixelRatio || 1;
    var root = document.documentElement.style;
    root.setProperty('--game-width', GAME_WIDTH * scale + 'px');
    root.setProperty('--game-height', GAME_HEIGHT * scale + 'px');
    return [Math.round(GAME_WIDTH * scale * ratio), Math.round(GAME_HEIGHT * scale * ratio)];
  }

  function refit() {
    var size = fit();
    // Emscripten's SDL hands the new size to the game as a window resize.
    if (typeof Browser !== 'undefined') Browser.setCanvasSize(size[0], size[1]);
  }

  // A page moved to a screen of another density changes no size: watch the density itself.
  function watchDensity() {
    var query = '(resolution: ' + (window.devicePixelRatio || 1) + 'dppx)';
    window.matchMedia(query).addEventListener('change', function () {
      refit();
      watchDensity();
    }, {once: true});
  }

  function show(text, button) {
    var message = document.getElementById('message');
    message.textContent = text;
    if (button) {
      var again = document.createElement('button');
      again.textContent = 'Play again';
      again.onclick = function () { location.reload(); };
      message.appendChild(document.createElement('br'));
      message.appendChild(again);
    }
    canvas.hidden = true;
    message.hidden = false;
  }

  function fatal(text) {
    show(errors.length ? errors.join('\n') : 'ERROR: ' + text);
  }

  function sync(populate) {
    return new Promise(function (resolve, reject) {
      FS.syncfs(populate, function (error) { error ? reject(error) : resolve(); });
    });
  }

  // Runs `work` while holding the lock every tab of the game takes for its folder.
  function locked(work) {
    if (!navigator.locks) return work();  // as a file system without locks: no lock
    return navigator.locks.request(storage.lockName, work);
  }

  // The data files, copied in beside the kept table with one fixed time, so that storing
  // the folder stores them once and never again.
  function copyData() {
    FS.readdir('/data').forEach(function (name) {
      if (name === '.' || name === '..') return;
      FS.writeFile('/game/' + name, FS.readFile('/data/' + name));
      FS.utime('/game/' + name, 0, 0);
    });
  }

  // Mounts the game's folder from IndexedDB; without storage the game plays on in memory.
  // A folder that cannot be read is never stored over.
  async function openFolder() {
    FS.mkdir('/game');
    try {
      if (!window.indexedDB) throw new Error('no IndexedDB');
      FS.mount(IDBFS, {}, '/game');
      await locked(async function () {
        await sync(true);
        copyData();
        await sync(false);
      });
      storage.kept = true;
    } catch (error) {
      console.log('ERROR: the browser keeps no files for this page (' + error +
                  '): high scores will not be kept');
      copyData();  // again, whatever step failed: the game plays on from memory
    }
    FS.chdir('/game');
  }

  canvas.addEventListener('webglcontextlost', function (e) { e.preventDefault(); });
  window.addEventListener('resize', refit);
  watchDensity();
  window.addEventListener('error', function (e) {
    fatal('the game could not load: ' + e.message);
  });
  var size = fit();
  canvas.width = size[0];
  canvas.height = size[1];

  Object.assign(Module, {
    canvas: canvas,
    noInitialRun: true,
    print: function (line) {
      console.log(line);
      if (line.indexOf('ERROR: ') === 0) errors.push(line);
    },
    printErr: function (line) { console.error(line); },
    onRuntimeInitialized: function () { openFolder().then(function () { callMain([]); }); },
    onExit: function (status) {
      if (status === 0) show('The game has ended.', true);
      else fatal('the game could not start');
    },
    onAbort: function (what) { fatal('the game could not load: ' + what); },
    // Before a file of the folder is replaced: waits for the other tabs' replacing and
    // brings the folder up to date with what they stored.
    beginReplace: function () {
      if (!storage.kept) return Promise.resolve();
      return new Promise(function (acquired) {
        var held = new Promise(function (release) { storage.release = release; });
        locked(function () { acquired(); return held; });
      }).then(function () { return sync(true); }).catch(function (error) {
        storage.kept = false;  // a folder that could not be read is not stored over
        console.log('ERROR: could not read the kept game folder (' + error +
                    '): high scores will not be kept');
      });
    },
    // After the replace: stores the folder, the new file whole in one transaction.
    endReplace: function () {
      var stored = storage.kept ? sync(false) : Promise.resolve();
      return stored.catch(function (error) {
        console.log('ERROR: could not keep the high scores in the browser (' + error + ')');
      }).finally(function () {
        if (storage.release) storage.release();
        storage.release = null;
      });
    },
  });
})();
