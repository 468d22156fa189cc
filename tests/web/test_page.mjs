// End-to-end test of the web build in the system's headless Chromium: the page
// served from 127.0.0.1, the title screen, GAME START with real key events, a
// game to the top-out, the bests read back after a reload, Q ending the game,
// no error on the console, and a phone's game by touch alone. Prints the page's
// figures at the end.
// Usage: node tests/web/test_page.mjs build/web
import { mkdtempSync, rmSync, statSync } from 'node:fs';
import { tmpdir } from 'node:os';
import { join } from 'node:path';
import puppeteer from 'puppeteer-core';
import { serveFolder } from './serve_static.mjs';

const kChromium = '/usr/bin/chromium';
// The flags a root user on a machine without a network or a GPU needs.
const kChromiumArgs = [
  '--no-sandbox', '--no-first-run', '--disable-background-networking',
  '--disable-component-update', '--disable-sync',
  '--use-angle=swiftshader', '--enable-unsafe-swiftshader', '--window-size=1000,800',
  // What browsers do by default for a page never visited: sound only after a gesture.
  '--autoplay-policy=document-user-activation-required',
];
const kViewport = { width: 1000, height: 800 };
// Long enough for raylib to see the key down in one frame and up in a later one.
const kKeyHoldMs = 100;
const kGameWaitMs = 90000;
// The working directory, kept in IndexedDB under its own name.
const kSaveFolder = '/kolvex';
// The save's trace line: the game's score, then the best stored before it.
const kScoreTrace = /^(\d+) \| (\d+)$/;
// What a page may weigh, all its files together.
const kMaxPageBytes = 10e6;

const folder = process.argv[2];
if (!folder) {
  console.error('usage: node test_page.mjs <folder with kolvex.html>');
  process.exit(2);
}

const sleep = (ms) => new Promise((resolve) => setTimeout(resolve, ms));

async function waitFor(what, check, timeoutMs) {
  const end = Date.now() + timeoutMs;
  for (;;) {
    const value = await check();
    if (value) return value;
    if (Date.now() > end) throw new Error(`timed out waiting for ${what}`);
    await sleep(50);
  }
}

// Runs in the page before its own script: records every frame's start and
// length through emscripten's hooks around the main-loop function, and reads
// a few pixels of the frame just drawn, before the browser shows and clears it.
function recordFrames() {
  window.kolvexFrames = [];
  let module;
  Object.defineProperty(window, 'Module', {
    configurable: true,
    get: () => module,
    set: (value) => {
      module = value;
      let start = 0;
      value.preMainLoop = () => { start = performance.now(); };
      value.postMainLoop = () => {
        const frame = { start, ms: performance.now() - start, colours: 0 };
        // Reading pixels waits for the graphics process, so only the first frame is read.
        if (window.kolvexFrames.length === 0) {
          const gl = module.ctx;
          const colours = new Set();
          const pixel = new Uint8Array(4);
          for (let y = 50; y < 700; y += 100) {
            for (let x = 50; x < 900; x += 100) {
              gl.readPixels(x, y, 1, 1, gl.RGBA, gl.UNSIGNED_BYTE, pixel);
              colours.add(pixel.join());
            }
          }
          frame.colours = colours.size;
        }
        window.kolvexFrames.push(frame);
      };
    },
  });
}

class Page {
  constructor(page, session) {
    this.page = page;
    // Puppeteer's own evaluate counts as a user gesture, which would let the
    // page start its audio; the DevTools call below does not.
    this.session = session;
    this.errors = [];
    this.logs = [];
    page.on('console', (message) => {
      if (message.type() === 'error') this.errors.push(message.text());
      this.logs.push(message.text());
    });
    page.on('pageerror', (error) => this.errors.push(String(error)));
  }

  async evaluate(expression) {
    const { result, exceptionDetails } = await this.session.send('Runtime.evaluate',
      { expression, returnByValue: true, awaitPromise: true, userGesture: false });
    if (exceptionDetails) throw new Error(`${expression}: ${exceptionDetails.text}`);
    return result.value;
  }

  // The bytes of kolvex.sav as the browser's IndexedDB holds them, as text.
  storedSave() {
    return this.evaluate(`new Promise((resolve) => {
      const open = indexedDB.open('${kSaveFolder}');
      open.onerror = () => resolve('');
      open.onsuccess = () => {
        const files = open.result.transaction('FILE_DATA').objectStore('FILE_DATA');
        const read = files.get('${kSaveFolder}/kolvex.sav');
        read.onsuccess = () => resolve(read.result ? new TextDecoder().decode(read.result.contents) : '');
        read.onerror = () => resolve('');
      };
    })`);
  }

  frames() {
    return this.evaluate('window.kolvexFrames');
  }

  async press(key) {
    await this.page.keyboard.down(key);
    await sleep(kKeyHoldMs);
    await this.page.keyboard.up(key);
  }

  audioStates() {
    return this.evaluate(`(window.miniaudio ? window.miniaudio.devices : [])
      .filter((device) => device && device.webaudio).map((device) => device.webaudio.state)`);
  }

  // Loads the page and waits for a drawn title frame; the milliseconds from
  // navigation to the end of that frame.
  async open(url, reload) {
    this.logs = [];
    await (reload ? this.page.reload() : this.page.goto(url));
    const frame = await waitFor('the first title frame', async () => {
      const frames = await this.frames();
      return frames.length > 0 && frames[0];
    }, 30000);
    if (frame.colours < 3) throw new Error('the title frame is blank');
    return frame.start + frame.ms;
  }

  // Enter on the title menu's first entry until the game scene starts loading
  // its pictures (the menu takes keys only once its opening has run).
  async startGame() {
    await waitFor('GAME START', async () => {
      const before = this.logs.length;
      await this.press('Enter');
      await sleep(400);
      return this.logs.slice(before).some((line) => line.includes('Texture loaded'));
    }, 20000);
  }

  // Hard-drops every piece where it appears until the stack tops out and the
  // game-over scene saves; the score and the best stored before this game.
  async playToTopOut() {
    const trace = await waitFor('the top-out', async () => {
      await this.press('ArrowUp');
      return this.logs.map((line) => kScoreTrace.exec(line)).find(Boolean);
    }, kGameWaitMs);
    return { score: Number(trace[1]), storedBest: Number(trace[2]) };
  }
}

function check(condition, what) {
  if (!condition) throw new Error(`failed: ${what}`);
  console.log(`ok: ${what}`);
}

// Runs in the page before its own script: storage refused, as in a private
// window or with the quota used up.
function refuseStorage() {
  Object.defineProperty(window, 'indexedDB', {
    value: { open: () => { throw new DOMException('refused by the test', 'QuotaExceededError'); } },
  });
}

function pageWeight() {
  return ['kolvex.html', 'kolvex.js', 'kolvex.wasm']
    .map((name) => statSync(join(folder, name)).size)
    .reduce((a, b) => a + b, 0);
}

async function openPage(browser, before) {
  const context = await browser.createBrowserContext();
  const tab = await context.newPage();
  for (const script of before) await tab.evaluateOnNewDocument(script);
  return new Page(tab, await tab.createCDPSession());
}

// The whole path of a player: two games with a reload between, then Q.
async function playAcrossReload(browser, url) {
  const page = await openPage(browser, [recordFrames]);
  const firstFrameMs = await page.open(url, false);
  console.log(`ok: title screen drawn ${firstFrameMs.toFixed(0)} ms after navigation`);
  check(await page.evaluate("document.getElementById('bar').style.width === '100%'"),
    'the progress bar filled by the download');
  check((await page.audioStates()).every((state) => state === 'suspended'),
    'audio held back until a key or click');
  await page.page.screenshot({ path: join(folder, 'title.png') });

  await page.startGame();
  check((await page.audioStates()).every((state) => state === 'running'),
    'audio running after the first key');
  check(await page.evaluate("document.activeElement.id === 'canvas'"),
    'the canvas has the keyboard');
  const first = await page.playToTopOut();
  check(first.score > 0 && first.storedBest === 0, `first game topped out with ${first.score}`);
  const frames = await page.frames();
  await waitFor('the save to reach IndexedDB', async () =>
    (await page.storedSave()).split('\n')[2] === String(first.score), 10000);

  await page.open(null, true);
  await page.startGame();
  const second = await page.playToTopOut();
  check(second.storedBest === first.score, 'the best of the game before the reload read back');
  await page.page.screenshot({ path: join(folder, 'game_over.png') });

  await page.press('KeyQ');
  await waitFor('the page to say the game has ended', () => page.evaluate(
    "!document.getElementById('overlay').hidden && " +
    "document.getElementById('message').textContent.includes('ended')"), 10000);
  await page.page.screenshot({ path: join(folder, 'ended.png') });
  const framesAtEnd = (await page.frames()).length;
  await sleep(500);
  check((await page.frames()).length === framesAtEnd, 'Q stopped the frame loop');
  check((await page.audioStates()).every((state) => state === 'closed'), 'Q closed the audio');
  check(page.errors.length === 0, `no error on the console${page.errors.length ? ': ' + page.errors.join(' | ') : ''}`);
  return { firstFrameMs, frames };
}

// Storage refused: both the read at start-up and the write after the save are
// reported on the console, and the game goes on to its game-over screen.
async function playWithoutStorage(browser, url) {
  const page = await openPage(browser, [refuseStorage, recordFrames]);
  await page.open(url, false);
  check(page.errors.some((text) => text.includes('could not be read')), 'a refused read reported');
  await page.startGame();
  await page.playToTopOut();
  await waitFor('the refused write to be reported', () =>
    page.errors.some((text) => text.includes('could not be stored')), 10000);
  const framesAtSave = (await page.frames()).length;
  await sleep(500);
  check((await page.frames()).length > framesAtSave, 'a refused write reported and the game going on');
}

// A phone: touch only, on a 390 x 844 viewport. The taps and strokes go through
// the DevTools protocol's touch events, at points on the canvas's drawing (900 x
// 700) mapped to where the canvas stands on the page, and the strokes of play
// below the canvas when there is room, since the space around it counts too.
const kPhone = { width: 390, height: 844, hasTouch: true, isMobile: true };
const kWellCell = 29; // the well's cell on the 900 x 700 drawing
const kTapMs = 100;

class Finger {
  constructor(page) {
    this.page = page;
  }

  async findCanvas() {
    this.box = await this.page.evaluate(`(() => {
      const r = document.getElementById('canvas').getBoundingClientRect();
      return { left: r.left, top: r.top, width: r.width, height: r.height };
    })()`);
    this.cell = kWellCell * this.box.width / 900;
    const below = this.box.top + this.box.height;
    this.playAt = below + 4 * this.cell < kPhone.height
      ? { x: kPhone.width / 2, y: (below + kPhone.height) / 2 }
      : { x: kPhone.width / 2, y: kPhone.height / 2 };
  }

  onCanvas(x, y) {
    return { x: this.box.left + x * this.box.width / 900, y: this.box.top + y * this.box.height / 700 };
  }

  touch(type, points) {
    return this.page.session.send('Input.dispatchTouchEvent', { type, touchPoints: points });
  }

  // The events go out on time, not each after the page's answer to the last,
  // which comes only with a drawn frame: a stroke keeps its speed.
  async stroke(from, to, ms, steps) {
    const sent = [this.touch('touchStart', [from])];
    for (let i = 1; i <= steps; ++i) {
      await sleep(ms / steps);
      sent.push(this.touch('touchMove', [{ x: from.x + (to.x - from.x) * i / steps, y: from.y + (to.y - from.y) * i / steps }]));
    }
    sent.push(this.touch('touchEnd', []));
    await Promise.all(sent);
  }

  tap(point) {
    return this.stroke(point, point, kTapMs, 1);
  }

  // Cells of the well, from the play spot.
  flick(cellsAcross, cellsDown, ms) {
    const to = { x: this.playAt.x + cellsAcross * this.cell, y: this.playAt.y + cellsDown * this.cell };
    return this.stroke(this.playAt, to, ms, 6);
  }

  // Taps an entry of a menu until the log shows what it started.
  async choose(x, y, logged, what) {
    await waitFor(what, async () => {
      const before = this.page.logs.length;
      await this.tap(this.onCanvas(x, y));
      await sleep(400);
      return this.page.logs.slice(before).some((line) => line.includes(logged));
    }, 20000);
    console.log(`ok: ${what}`);
  }
}

// GAME START, play and the pause menu by touch alone; a page that goes to the
// background pauses the game; the bests stored.
async function playByTouch(browser, url) {
  const page = await openPage(browser, [recordFrames]);
  await page.page.setViewport(kPhone);
  await page.open(url, false);
  const finger = new Finger(page);
  await finger.findCanvas();
  await finger.choose(350, 370, 'Texture loaded', 'GAME START by a tap');
  await waitFor('the audio to run after a tap', async () =>
    (await page.audioStates()).every((state) => state === 'running'), 5000);

  // The countdown, then a turn and a hard drop, then the page to the background
  // and back: the game waits on its pause menu, whose QUIT a tap chooses (the
  // title's picture loads again).
  await sleep(3500);
  await finger.tap(finger.playAt);
  await finger.flick(0, 8, 120);
  const other = await page.page.browserContext().newPage();
  await other.bringToFront();
  await waitFor('the page in the background', () => page.evaluate("document.visibilityState === 'hidden'"), 5000);
  await sleep(300);
  await page.page.bringToFront();
  await other.close();
  await finger.choose(570, 370, 'Texture loaded', 'QUIT on the pause menu the background opened');

  await finger.choose(350, 370, 'Texture loaded', 'GAME START again');
  await sleep(3500);
  let pieces = 0;
  const trace = await waitFor('the top-out by touch', async () => {
    await finger.tap(finger.playAt);
    await finger.flick(-3, 0, 200);
    await finger.flick(0, 8, 120);
    if (++pieces === 4) await page.page.screenshot({ path: join(folder, 'phone.png') });
    return page.logs.map((line) => kScoreTrace.exec(line)).find(Boolean);
  }, kGameWaitMs);
  check(Number(trace[1]) > 0, `a game played by taps and flicks topped out with ${trace[1]}`);
  await waitFor('the touch game\'s save in IndexedDB', async () =>
    (await page.storedSave()).split('\n')[2] === trace[1], 10000);
  check(page.errors.length === 0, `no error on the console${page.errors.length ? ': ' + page.errors.join(' | ') : ''}`);
  await page.page.browserContext().close();
}

function printFigures({ firstFrameMs, frames }) {
  const lengths = frames.map((frame) => frame.ms).sort((a, b) => a - b);
  const gaps = frames.slice(1).map((frame, i) => frame.start - frames[i].start).sort((a, b) => a - b);
  const at = (sorted, share) => sorted[Math.min(sorted.length - 1, Math.floor(sorted.length * share))].toFixed(1);
  console.log(`page weight: ${(pageWeight() / 1e6).toFixed(2)} MB`);
  console.log(`navigation to first title frame: ${firstFrameMs.toFixed(0)} ms`);
  console.log(`frames of the first game: ${lengths.length}, main thread median ${at(lengths, 0.5)} ms, ` +
    `99th percentile ${at(lengths, 0.99)} ms, heaviest ${at(lengths, 1)} ms; ` +
    `median time between frames ${at(gaps, 0.5)} ms`);
}

const profile = mkdtempSync(join(tmpdir(), 'kolvex-chromium-'));
const { server, base } = await serveFolder(folder);
const browser = await puppeteer.launch({
  executablePath: kChromium, headless: true, userDataDir: profile,
  args: kChromiumArgs, defaultViewport: kViewport,
});
let failed = false;
try {
  check(pageWeight() <= kMaxPageBytes, 'the page within its weight');
  const figures = await playAcrossReload(browser, base + 'kolvex.html');
  await playWithoutStorage(browser, base + 'kolvex.html');
  // Last: its tab brought to the front would leave the others behind it.
  await playByTouch(browser, base + 'kolvex.html');
  printFigures(figures);
} catch (error) {
  failed = true;
  console.error(error.message);
} finally {
  await browser.close();
  server.close();
  rmSync(profile, { recursive: true, force: true });
}
process.exit(failed ? 1 : 0);
