// Bundles the page into a folder of static files:
//   node build.mjs --core <casl_core.js built by emscripten> --out <site folder>
// The page's modules and CodeMirror become one minified main.js; the core's loader is bundled
// with them and fetches casl_core.wasm from beside main.js.
import * as esbuild from 'esbuild';
import { copyFile, mkdir, readFile, readdir } from 'node:fs/promises';
import path from 'node:path';
import { parseArgs } from 'node:util';
import { fileURLToPath } from 'node:url';
import { gzipSync } from 'node:zlib';

const here = path.dirname(fileURLToPath(import.meta.url));
const { values } = parseArgs({ options: { core: { type: 'string' }, out: { type: 'string' } } });
if (!values.core || !values.out) {
  console.error('usage: node build.mjs --core <casl_core.js> --out <folder>');
  process.exit(2);
}
const core = path.resolve(values.core);
const out = path.resolve(values.out);

await mkdir(out, { recursive: true });
await esbuild.build({
  entryPoints: [path.join(here, 'src', 'main.js')],
  outfile: path.join(out, 'main.js'),
  alias: { 'casl-core': core },
  bundle: true,
  format: 'esm',
  target: 'es2020',
  minify: true,
  sourcemap: true,
  logLevel: 'warning',
});
await copyFile(core.replace(/\.js$/, '.wasm'), path.join(out, 'casl_core.wasm'));
for (const name of ['index.html', 'style.css']) {
  await copyFile(path.join(here, name), path.join(out, name));
}

// What a browser downloads, as stored and as compressed on the wire (gzip, level 9).
let stored = 0;
let compressed = 0;
for (const name of (await readdir(out)).filter((n) => !n.endsWith('.map')).sort()) {
  const bytes = await readFile(path.join(out, name));
  stored += bytes.length;
  compressed += gzipSync(bytes, { level: 9 }).length;
}
console.log(`page: ${out}: ${stored} bytes, ${compressed} bytes gzip-compressed`);
