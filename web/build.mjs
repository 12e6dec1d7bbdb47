// Bundles the page into a folder of static files:
//   node build.mjs --core <casl_core.js built by emscripten> --out <site folder>
// The page's modules and CodeMirror become one minified main.js; the core's loader is bundled
// with them and fetches casl_core.wasm from beside main.js. The desktop's help pages go to help/
// and the example programs, with a list of them, to examples/; the exercises' test files and
// starting programs to exercises/. Last come the web app manifest and the service worker, which
// caches every file of the site under a version of this build.
import * as esbuild from 'esbuild';
import { createHash } from 'node:crypto';
import { copyFile, mkdir, readFile, readdir, rm, writeFile } from 'node:fs/promises';
import path from 'node:path';
import { parseArgs } from 'node:util';
import { fileURLToPath } from 'node:url';
import { gzipSync } from 'node:zlib';

const here = path.dirname(fileURLToPath(import.meta.url));
const repository = path.join(here, '..');
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
for (const name of ['index.html', 'style.css', 'manifest.webmanifest']) {
  await copyFile(path.join(here, name), path.join(out, name));
}
await copyFile(path.join(repository, 'shell', 'varnic.png'), path.join(out, 'varnic.png'));

/** Copies the files of `from` whose names `wanted` accepts into `to`; returns their names. */
async function copyFolder(from, to, wanted) {
  await rm(to, { recursive: true, force: true });
  await mkdir(to, { recursive: true });
  const names = (await readdir(from)).filter(wanted).sort();
  for (const name of names) {
    await copyFile(path.join(from, name), path.join(to, name));
  }
  return names;
}

await copyFolder(path.join(repository, 'help'), path.join(out, 'help'), (name) =>
  /\.(html|css)$/.test(name),
);
const examples = await copyFolder(path.join(repository, 'examples'), path.join(out, 'examples'), (
  name,
) => name.endsWith('.cas'));
await writeFile(path.join(out, 'examples', 'index.json'), `${JSON.stringify(examples)}\n`);

// The exercises: each folder's test file and starting program, with a list of them.
const exercisesFrom = path.join(repository, 'examples', 'exercises');
const exercisesTo = path.join(out, 'exercises');
await rm(exercisesTo, { recursive: true, force: true });
const exercises = [];
for (const entry of (await readdir(exercisesFrom, { withFileTypes: true })).sort((a, b) =>
  a.name.localeCompare(b.name),
)) {
  const files = entry.isDirectory() ? await readdir(path.join(exercisesFrom, entry.name)) : [];
  if (!files.includes('tests.toml')) {
    continue;
  }
  const start = files.includes('start.cas');
  await copyFolder(path.join(exercisesFrom, entry.name), path.join(exercisesTo, entry.name), (
    name,
  ) => name === 'tests.toml' || name === 'start.cas');
  exercises.push({ name: entry.name, start });
}
await writeFile(path.join(exercisesTo, 'index.json'), `${JSON.stringify(exercises)}\n`);

/** The files under `folder` (names relative to it, '/' between folders), sorted. */
async function filesUnder(folder, prefix = '') {
  const names = [];
  for (const entry of await readdir(folder, { withFileTypes: true })) {
    if (entry.isDirectory()) {
      names.push(...(await filesUnder(path.join(folder, entry.name), `${prefix}${entry.name}/`)));
    } else if (entry.isFile()) {
      names.push(`${prefix}${entry.name}`);
    }
  }
  return names.sort();
}

// The service worker caches every file the page may ask for (the source maps only serve the
// browser's tools); its version is a digest of them all, so that any change makes a new one.
const workerName = 'service_worker.js';
const cached = (await filesUnder(out)).filter(
  (name) => !name.endsWith('.map') && name !== workerName,
);
const digest = createHash('sha256');
for (const name of cached) {
  digest.update(`${name}\0`);
  digest.update(await readFile(path.join(out, name)));
}
const worker = (await readFile(path.join(here, workerName), 'utf8'))
  .replace('__CASL_SITE_VERSION__', digest.digest('hex').slice(0, 16))
  .replace('__CASL_SITE_FILES__', JSON.stringify(['./', ...cached]));
await writeFile(path.join(out, workerName), worker);

// What a browser downloads to show the page, as stored and as compressed on the wire (gzip,
// level 9): the help pages and the examples come only when asked for.
let stored = 0;
let compressed = 0;
for (const entry of (await readdir(out, { withFileTypes: true })).sort()) {
  if (!entry.isFile() || entry.name.endsWith('.map')) {
    continue;
  }
  const bytes = await readFile(path.join(out, entry.name));
  stored += bytes.length;
  compressed += gzipSync(bytes, { level: 9 }).length;
}
console.log(`page: ${out}: ${stored} bytes, ${compressed} bytes gzip-compressed`);
