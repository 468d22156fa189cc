// The browser test's record of the page's frames, shared with the frame measurement.
// Runs in the page before its own script: records every frame's start and
// length through emscripten's hooks around the main-loop function, and reads
// a grid of pixels over the whole drawing buffer of the frame just drawn,
// before the browser shows and clears it: the distinct colours of the grid, and
// whether its quarter farthest from the buffer's origin (the top right) has
// any of the clear colour, black, which a drawing short of the buffer leaves.
export function recordFrames() {
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
        // Reading pixels waits for the graphics process, so only the first
        // frame is read, and any frame asked for with kolvexReadFrame.
        if (window.kolvexFrames.length === 0 || window.kolvexReadFrame) {
          window.kolvexReadFrame = false;
          const gl = module.ctx;
          const colours = new Set();
          const far = new Set();
          const pixel = new Uint8Array(4);
          for (let y = 0.5; y < 7; y += 1) {
            for (let x = 0.5; x < 9; x += 1) {
              gl.readPixels(Math.floor((x * gl.drawingBufferWidth) / 9), Math.floor((y * gl.drawingBufferHeight) / 7),
                1, 1, gl.RGBA, gl.UNSIGNED_BYTE, pixel);
              colours.add(pixel.join());
              if (x > 4.5 && y > 3.5) far.add(pixel.join());
            }
          }
          Object.assign(frame, { colours: colours.size, farBlack: far.has('0,0,0,255'),
            buffer: [gl.drawingBufferWidth, gl.drawingBufferHeight] });
        }
        window.kolvexFrames.push(frame);
        if (window.kolvexAfterFrame) window.kolvexAfterFrame(module.ctx);
      };
    },
  });
}
