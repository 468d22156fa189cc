// A static file server for one folder on 127.0.0.1, on a port the system picks;
// with `precompressed` it sends a file's .br or .gz sibling from the folder, as
// the browser accepts them, the way a production server serves the build, so
// Content-Length counts the compressed bytes (each name sent so is kept in
// `encoded`, with its encoding); the files named in `missing` are answered 404;
// `preload()`, when given, is a script put first in every page's head, for
// browsers whose driver cannot run one before the page's own. The answer's
// `folder` may be changed to serve another one from the same address.
import { createServer } from 'node:http';
import { readFile } from 'node:fs/promises';
import { extname, join, normalize } from 'node:path';

const kTypes = {
  '.html': 'text/html; charset=utf-8',
  '.js': 'text/javascript',
  '.wasm': 'application/wasm',
  '.png': 'image/png',
  '.txt': 'text/plain; charset=utf-8',
  '.webmanifest': 'application/manifest+json',
};

// Resolves to the running server and its base address.
export function serveFolder(folder, { precompressed = false, missing = [], preload = null } = {}) {
  const encoded = new Map();
  const site = { folder, encoded };
  const server = createServer(async (request, response) => {
    const path = normalize(decodeURIComponent(new URL(request.url, 'http://x').pathname));
    try {
      if (missing.some((name) => path.endsWith('/' + name))) throw new Error('missing');
      let file = await readFile(join(site.folder, path));
      if (preload && extname(path) === '.html') {
        file = Buffer.from(file.toString().replace('<head>', `<head>\n<script>${preload()}</script>`));
      }
      let body = file;
      let encoding = null;
      const accepted = request.headers['accept-encoding'] ?? '';
      for (const [name, sibling] of precompressed ? [['br', '.br'], ['gzip', '.gz']] : []) {
        const packed = accepted.includes(name) && (await readFile(join(site.folder, path + sibling)).catch(() => null));
        if (packed) {
          [body, encoding] = [packed, name];
          encoded.set(path.split('/').pop(), name);
          break;
        }
      }
      response.writeHead(200, {
        'Content-Type': kTypes[extname(path)] ?? 'application/octet-stream',
        'Content-Length': body.length,
        'Cache-Control': 'no-store',
        ...(encoding ? { 'Content-Encoding': encoding } : {}),
      });
      response.end(body);
    } catch {
      response.writeHead(404).end();
    }
  });
  return new Promise((resolve) => {
    server.listen(0, '127.0.0.1', () => {
      resolve(Object.assign(site, { server, base: `http://127.0.0.1:${server.address().port}/` }));
    });
  });
}
