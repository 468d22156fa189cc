// Measures the web build in headless Chromium on a display faster than any
// frame cap (the page's requestAnimationFrame answered at once): the main-loop
// function's time per frame (the game's work plus any wait of its own), the
// time between frames, and navigation to the first title frame. Then GAME START
// on a page the browser paces, as a player meets it: the key pressed once the
// title has been up for two seconds, and the heaviest frame of the four seconds
// after it (the countdown and the first fall).
// Usage: node tests/web/measure_frames.mjs build/web [precompressed]
import puppeteer from 'puppeteer-core';
import { recordFrames } from './record_frames.mjs';
import { serveFolder } from './serve_static.mjs';

const kFrames = 300;
const [folder, encoding] = process.argv.slice(2);

// Frames come as fast as the page takes them.
function answerFramesAtOnce() {
  const channel = new MessageChannel();
  const waiting = [];
  channel.port1.onmessage = () => waiting.shift()(performance.now());
  window.requestAnimationFrame = (callback) => { waiting.push(callback); channel.port2.postMessage(0); };
}

const sleep = (ms) => new Promise((resolve) => setTimeout(resolve, ms));
const median = (values) => values.slice().sort((a, b) => a - b)[Math.floor(values.length / 2)];
const { server, base } = await serveFolder(folder, { precompressed: encoding === 'precompressed' });
const browser = await puppeteer.launch({
  executablePath: '/usr/bin/chromium', headless: true,
  args: ['--no-sandbox', '--use-angle=swiftshader', '--enable-unsafe-swiftshader'],
});
try {
  const page = await browser.newPage();
  await page.evaluateOnNewDocument(answerFramesAtOnce);
  await page.evaluateOnNewDocument(recordFrames);
  await page.goto(base + 'kolvex.html');
  await page.waitForFunction(`window.kolvexFrames.length >= ${kFrames}`, { timeout: 60000 });
  const frames = await page.evaluate('window.kolvexFrames');
  const steady = frames.slice(frames.length - kFrames / 2);
  const gaps = steady.slice(1).map((frame, i) => frame.start - steady[i].start);
  console.log(`first title frame ${(frames[0].start + frames[0].ms).toFixed(0)} ms after navigation; ` +
    `title frames: main-loop function median ${median(steady.map((f) => f.ms)).toFixed(2)} ms, ` +
    `between frames median ${median(gaps).toFixed(2)} ms`);

  await page.close(); // its frames would take the machine
  const paced = await browser.newPage();
  const logs = [];
  paced.on('console', (message) => logs.push(message.text()));
  await paced.evaluateOnNewDocument(recordFrames);
  await paced.goto(base + 'kolvex.html');
  await paced.waitForFunction('window.kolvexFrames.length > 0', { timeout: 60000 });
  await sleep(2000);
  const before = await paced.evaluate('window.kolvexFrames.length');
  const logged = logs.length;
  // Held until a frame has seen it: a press and release between two frames is lost.
  await paced.keyboard.down('Enter');
  await paced.waitForFunction(`window.kolvexFrames.length > ${before + 1}`);
  await paced.keyboard.up('Enter');
  await sleep(4000);
  const game = (await paced.evaluate('window.kolvexFrames')).slice(before);
  const began = logs.slice(logged).filter((line) => line.includes('(1280x1280')).length >= 2;
  console.log(`GAME START ${began ? 'began' : 'did NOT begin'}: ${game.length} frames in the next 4 s, ` +
    `main thread median ${median(game.map((f) => f.ms)).toFixed(1)} ms, ` +
    `heaviest ${Math.max(...game.map((f) => f.ms)).toFixed(1)} ms`);
} finally {
  await browser.close();
  server.close();
}
