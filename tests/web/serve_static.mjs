// A static file server for one folder on 127.0.0.1, on a port the system picks;
// with `gzip` it compresses every file as many servers do, so Content-Length
// counts the compressed bytes; the files named in `missing` are answered 404;
// `preload()`, when given, is a script put first in every page's head, for
// browsers whose driver cannot run one before the page's own.
import { createServer } from 'node:http';
import { readFile } from 'node:fs/promises';
import { extname, join, normalize } from 'node:path';
import { gzipSync } from 'node:zlib';

const kTypes = {
  '.html': 'text/html; charset=utf-8',
  '.js': 'text/javascript',
  '.wasm': 'application/wasm',
  '.png': 'image/png',
};

// Resolves to the running server and its base address.
export function serveFolder(folder, { gzip = false, missing = [], preload = null } = {}) {
  const server = createServer(async (request, response) => {
    const path = normalize(decodeURIComponent(new URL(request.url, 'http://x').pathname));
    try {
      if (missing.some((name) => path.endsWith('/' + name))) throw new Error('missing');
      let file = await readFile(join(folder, path));
      if (preload && extname(path) === '.html') {
        file = Buffer.from(file.toString().replace('<head>', `<head>\n<script>${preload()}</script>`));
      }
      const body = gzip ? gzipSync(file) : file;
      response.writeHead(200, {
        'Content-Type': kTypes[extname(path)] ?? 'application/octet-stream',
        'Content-Length': body.length,
        'Cache-Control': 'no-store',
        ...(gzip ? { 'Content-Encoding': 'gzip' } : {}),
      });
      response.end(body);
    } catch {
      response.writeHead(404).end();
    }
  });
  return new Promise((resolve) => {
    server.listen(0, '127.0.0.1', () => {
      resolve({ server, base: `http://127.0.0.1:${server.address().port}/` });
    });
  });
}
