// A small static server for the built page, on the loopback address only:
//   node serve.mjs <site folder> [--port 8080]
// It serves GET and HEAD of the files inside the folder (index.html for "/"), with the content
// types a browser needs (application/wasm for the core), and nothing outside the folder.
import { createReadStream } from 'node:fs';
import { stat } from 'node:fs/promises';
import http from 'node:http';
import path from 'node:path';
import { fileURLToPath } from 'node:url';
import { parseArgs } from 'node:util';

const contentTypes = {
  '.html': 'text/html; charset=utf-8',
  '.js': 'text/javascript; charset=utf-8',
  '.css': 'text/css; charset=utf-8',
  '.wasm': 'application/wasm',
  '.map': 'application/json; charset=utf-8',
  '.json': 'application/json; charset=utf-8',
  '.png': 'image/png',
  '.svg': 'image/svg+xml',
  '.htm': 'text/html; charset=utf-8',
  '.webmanifest': 'application/manifest+json',
};

/** The file under `root` that a request path names, or null when it names none. */
async function fileFor(root, requestPath) {
  let decoded;
  try {
    decoded = decodeURIComponent(requestPath);
  } catch {
    return null;
  }
  if (decoded.includes('\0')) {
    return null;
  }
  let file = path.join(root, path.normalize(decoded));
  if (file !== root && !file.startsWith(root + path.sep)) {
    return null;
  }
  try {
    let info = await stat(file);
    if (info.isDirectory()) {
      file = path.join(file, 'index.html');
      info = await stat(file);
    }
    return info.isFile() ? { file, size: info.size } : null;
  } catch {
    return null;
  }
}

function reply(response, status, text) {
  response.writeHead(status, { 'Content-Type': 'text/plain; charset=utf-8' });
  response.end(text);
}

/**
 * Starts serving `root`; resolves with the listening server. Port 0 takes any free port
 * (`server.address().port` tells which).
 */
export function serveSite(root, { port = 8080, host = '127.0.0.1' } = {}) {
  const base = path.resolve(root);
  const server = http.createServer(async (request, response) => {
    if (request.method !== 'GET' && request.method !== 'HEAD') {
      reply(response, 405, 'Method not allowed\n');
      return;
    }
    const url = new URL(request.url ?? '/', 'http://localhost');
    const found = await fileFor(base, url.pathname);
    if (!found) {
      reply(response, 404, 'Not found\n');
      return;
    }
    response.writeHead(200, {
      'Content-Type': contentTypes[path.extname(found.file)] ?? 'application/octet-stream',
      'Content-Length': found.size,
      'Cache-Control': 'no-cache',
    });
    if (request.method === 'HEAD') {
      response.end();
      return;
    }
    createReadStream(found.file).pipe(response);
  });
  return new Promise((resolve, reject) => {
    server.once('error', reject);
    server.listen(port, host, () => resolve(server));
  });
}

if (process.argv[1] === fileURLToPath(import.meta.url)) {
  const { values, positionals } = parseArgs({
    allowPositionals: true,
    options: { port: { type: 'string', default: '8080' } },
  });
  if (positionals.length !== 1) {
    console.error('usage: node serve.mjs <site folder> [--port 8080]');
    process.exit(2);
  }
  const server = await serveSite(positionals[0], { port: Number(values.port) });
  const { port } = server.address();
  const folder = path.resolve(positionals[0]);
  console.log(`Serving ${folder} at http://127.0.0.1:${port}/ (Ctrl+C stops)`);
}
