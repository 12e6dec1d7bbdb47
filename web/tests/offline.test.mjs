// The page without the network in headless chromium: after the first visit its service worker
// serves every file, so a reload offline still types, assembles and traces; Chromium finds it
// installable; a new build's worker replaces the cache of the old one.
import assert from 'node:assert/strict';
import { cp, mkdtemp, readFile, rm, writeFile } from 'node:fs/promises';
import os from 'node:os';
import path from 'node:path';
import { after, afterEach, before, test } from 'node:test';
import { chromium } from 'playwright-core';
import { serveSite } from '../serve.mjs';
import { chromiumPath } from './browser.mjs';
import { Site, assembleResult, editorText, siteDir, traceSnapshot } from './site.mjs';

const site = new Site();
before(() => site.start());
after(() => site.stop());
afterEach(() => site.closePages());

/** Waits until `condition` (an async function run in the page) holds. */
async function until(page, condition) {
  while (!(await page.evaluate(condition))) {
    await page.waitForTimeout(100);
  }
}

/** Waits until the service worker controls the page with its cache filled. */
async function controlled(page) {
  await page.evaluate(() => navigator.serviceWorker.ready);
  await until(page, () => navigator.serviceWorker.controller !== null);
}

function cacheNames(page) {
  return page.evaluate(() => caches.keys());
}

test('after the first visit the page opens and works with the network off', async () => {
  const page = await site.open();
  await controlled(page);
  await page.context().setOffline(true);
  await page.reload();
  await page.locator('#Assemble:enabled').waitFor();
  await page.locator('#source .cm-content').click();
  await page.keyboard.type('p\tstart\n\tlad\tgr1,7\n\tret\n\tend\n');
  assert.equal(await editorText(page), 'P\tSTART\n\tLAD\tGR1,7\n\tRET\n\tEND\n');
  const result = await assembleResult(page);
  assert.equal(result.resultLine, 'Assemble Error: 0');
  await page.locator('#Form2-Command2').click();
  await page.locator('#Trace').click();
  await page.locator('#Command1').click();
  const snapshot = await traceSnapshot(page);
  assert.equal(snapshot.registers[1], '[0000 0000 0000 0111] 0007 (     7)');
  // The examples and the help pages came from the cache too.
  assert.ok((await page.locator('#examplesMenu [role="menuitem"]').count()) > 0);
  assert.equal(
    await page.evaluate(async () => (await fetch('help/index.html')).ok),
    true,
  );
});

test('Chromium can install the page', async () => {
  // Chromium installs nothing from an incognito context: this one keeps a profile.
  const profile = await mkdtemp(path.join(os.tmpdir(), 'casl-profile-'));
  const context = await chromium.launchPersistentContext(profile, {
    executablePath: chromiumPath,
    headless: true,
    args: ['--no-sandbox', '--disable-gpu', '--no-first-run', '--disable-background-networking'],
  });
  try {
    const page = await context.newPage();
    await page.goto(site.url);
    await page.locator('#Assemble:enabled').waitFor();
    await controlled(page);
    const session = await context.newCDPSession(page);
    const { installabilityErrors } = await session.send('Page.getInstallabilityErrors');
    assert.deepEqual(installabilityErrors, []);
    const { errors } = await session.send('Page.getAppManifest');
    assert.deepEqual(errors, []);
  } finally {
    await context.close();
    await rm(profile, { recursive: true, force: true });
  }
});

test('the cache holds this build alone, named by its version', async () => {
  const page = await site.open();
  await controlled(page);
  const worker = await readFile(path.join(siteDir, 'service_worker.js'), 'utf8');
  const version = /const version = '([0-9a-f]{16})'/.exec(worker)?.[1];
  assert.ok(version, 'the worker names its version');
  assert.deepEqual(await cacheNames(page), [`casl2-workbench-${version}`]);
});

test('a new build replaces the cache of the old one', async () => {
  // A copy of the site that is then "rebuilt": a changed style sheet and a new version.
  const folder = await mkdtemp(path.join(os.tmpdir(), 'casl-site-'));
  const server = await serveSite(folder, { port: 0 });
  try {
    await cp(siteDir, folder, { recursive: true });
    const address = `http://127.0.0.1:${server.address().port}/`;
    const context = await site.browser.newContext();
    site.contexts.push(context);
    const page = await context.newPage();
    await page.goto(address);
    await controlled(page);
    const [oldCache] = await cacheNames(page);

    const workerFile = path.join(folder, 'service_worker.js');
    const worker = await readFile(workerFile, 'utf8');
    await writeFile(workerFile, worker.replace(/const version = '[0-9a-f]+'/, "const version = 'rebuilt'"));
    const styleFile = path.join(folder, 'style.css');
    await writeFile(styleFile, `${await readFile(styleFile, 'utf8')}\n/* rebuilt */\n`);

    // The next visit finds the new worker; once it took over, the old cache is gone.
    await page.reload();
    await until(
      page,
      async () => JSON.stringify(await caches.keys()) === '["casl2-workbench-rebuilt"]',
    );
    assert.notEqual(oldCache, 'casl2-workbench-rebuilt');
    await context.setOffline(true);
    await page.reload();
    await page.locator('#Assemble:enabled').waitFor();
    const style = await page.evaluate(async () => (await fetch('style.css')).text());
    assert.ok(style.endsWith('/* rebuilt */\n'));
  } finally {
    server.close();
    await rm(folder, { recursive: true, force: true });
  }
});
