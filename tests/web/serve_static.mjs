// A static file server for one folder on 127.0.0.1, on a port the system picks;
// with `gzip` it compresses every file as many servers do, so Content-Length
// counts the compressed bytes.
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
export function serveFolder(folder, { gzip = false } = {}) {
  const server = createServer(async (request, response) => {
    const path = normalize(decodeURIComponent(new URL(request.url, 'http://x').pathname));
    try {
      const file = await readFile(join(folder, path));
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
