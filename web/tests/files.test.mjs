// Files, the save question and the other windows in headless chromium: Open through the file
// picker and Save As as a download in CP932 or UTF-8, the text that survives a reload, New with
// its save question, leaving the page with changes, the help pages, the version box and the
// example programs.
import assert from 'node:assert/strict';
import { readFile } from 'node:fs/promises';
import { after, afterEach, before, test } from 'node:test';
import { Site, answerBox, editorText, pasteProgram, traceSnapshot } from './site.mjs';

const site = new Site();
before(() => site.start());
after(() => site.stop());
afterEach(() => site.closePages());

const caption = 'RuzidOV & OzerAR Orozaraz';
/** "あ" and "①" in CP932. */
const cp932Program = Buffer.from(
  "P\tSTART\r\n\tRET\r\nS\tDC\t'\x82\xA0\x87\x40'\r\n\tEND\r\n",
  'latin1',
);

function windowCaption(page) {
  return page.locator('#Form1-caption').textContent();
}

/** Opens the file `name` holding `buffer`; with `saveAnswer`, the save question comes first. */
async function openFile(page, name, buffer, saveAnswer = null) {
  const chooser = page.waitForEvent('filechooser');
  await page.locator('#mnuFILE').click();
  await page.locator('#mnuOPEN').click();
  if (saveAnswer) {
    await page.locator('#messageBox').waitFor();
    const { box } = await traceSnapshot(page);
    assert.equal(box.text, 'ソースプログラムを保存しますか?');
    assert.equal(box.title, '保存しますか?');
    await answerBox(page, saveAnswer);
  }
  await (await chooser).setFiles({ name, mimeType: 'text/plain', buffer });
}

/** Chooses Save As, names the file and returns the bytes of the download. */
async function saveAs(page, name) {
  await page.locator('#mnuFILE').click();
  await page.locator('#mnuSAVE').click();
  await page.locator('#fileNameBox').waitFor();
  assert.equal(await page.locator('#fileNameBox-title').textContent(), 'Varnic II');
  const download = page.waitForEvent('download');
  await page.locator('#fileNameBox-name').fill(name);
  await page.locator('#fileNameBox-save').click();
  const file = await download;
  assert.equal(file.suggestedFilename(), name);
  return readFile(await file.path());
}

test('a CP932 file opens with its Japanese text and is saved back in CP932', async () => {
  const page = await site.open();
  await openFile(page, 'jp.cas', cp932Program);
  assert.equal(await editorText(page), "P\tSTART\n\tRET\nS\tDC\t'あ①'\n\tEND\n");
  assert.equal(await windowCaption(page), `${caption}   jp.cas`);
  assert.ok(await page.locator('#mnuUwagaki').isEnabled());
  assert.ok(await page.locator('#Trace').isDisabled());

  const saved = await saveAs(page, 'copy.cas');
  // The file and the one CR LF that every save adds.
  assert.deepEqual(saved, Buffer.concat([cp932Program, Buffer.from('\r\n')]));
  assert.equal(await windowCaption(page), `${caption}   copy.cas`);

  // 上書き保存 writes the same file again.
  const again = page.waitForEvent('download');
  await page.locator('#mnuUwagaki').click();
  assert.equal((await again).suggestedFilename(), 'copy.cas');
});

test('a UTF-8 file with LF line ends is saved back as UTF-8 with LF', async () => {
  const page = await site.open();
  const utf8 = Buffer.from("; 日本語\n\tDC\t'漢'\n", 'utf8');
  await openFile(page, 'u.cas', utf8);
  assert.equal(await editorText(page), "; 日本語\n\tDC\t'漢'\n");
  assert.deepEqual(await saveAs(page, 'u.cas'), Buffer.concat([utf8, Buffer.from('\n')]));
});

test('a file that is neither CP932 nor UTF-8 is refused with a message; the editor keeps its text', async () => {
  const page = await site.open();
  await pasteProgram(page, 'KEEP');
  // Open asks first whether to save the changed program, as New does.
  await openFile(page, 'bad.cas', Buffer.from('A\r\n\x82\xFF\r\n', 'latin1'), 'no');
  const shown = await page.locator('#messageBox').waitFor().then(() => traceSnapshot(page));
  assert.equal(shown.box.title, 'Varnic');
  assert.match(shown.box.text, /bad\.cas.*2行目に CP932 としても UTF-8 としても読めないバイトがあります/);
  await answerBox(page, 'ok');
  assert.equal(await editorText(page), 'KEEP');
});

test('a character CP932 cannot hold stops the save with a message and nothing is downloaded', async () => {
  const page = await site.open();
  await pasteProgram(page, 'P\tSTART\n; \u{1F600}\n');
  let downloads = 0;
  page.on('download', () => ++downloads);
  await page.locator('#mnuFILE').click();
  await page.locator('#mnuSAVE').click();
  await page.locator('#fileNameBox-name').fill('p.cas');
  await page.locator('#fileNameBox-save').click();
  await page.locator('#messageBox').waitFor();
  const { box } = await traceSnapshot(page);
  assert.equal(box.title, 'Varnic');
  assert.equal(box.text, 'ディスクに書き込めません\n\n2行目の文字「\u{1F600}」(U+1F600)は CP932 で保存できません');
  await answerBox(page, 'ok');
  assert.equal(downloads, 0);
  assert.equal(await windowCaption(page), caption);
});

test('the program and its file name survive a reload', async () => {
  const page = await site.open();
  await openFile(page, 'kept.cas', cp932Program);
  await page.locator('#source .cm-content').click();
  await page.keyboard.press('Control+End');
  await page.keyboard.type('; more');
  await page.reload();
  await page.locator('#Assemble:enabled').waitFor();
  assert.equal(await editorText(page), "P\tSTART\n\tRET\nS\tDC\t'あ①'\n\tEND\n; MORE");
  assert.equal(await windowCaption(page), `${caption}   kept.cas`);
  assert.ok(await page.locator('#mnuUwagaki').isEnabled());
  // The file is still saved as it was read.
  const download = page.waitForEvent('download');
  await page.locator('#mnuUwagaki').click();
  const bytes = await readFile(await (await download).path());
  assert.deepEqual(bytes, Buffer.concat([cp932Program, Buffer.from('; MORE\r\n')]));
});

test('New asks the save question after a change; No empties the editor', async () => {
  const page = await site.open();
  await page.locator('#source .cm-content').click();
  await page.keyboard.type('p\tstart');
  await page.locator('#mnuFILE').click();
  await page.locator('#mnuSinki').click();
  await page.locator('#messageBox').waitFor();
  const { box } = await traceSnapshot(page);
  assert.deepEqual(box, {
    kind: 'message',
    title: '保存しますか?',
    text: 'ソースプログラムを保存しますか?',
    buttons: 'yesNo',
  });
  await answerBox(page, 'no');
  assert.equal(await editorText(page), '');
  assert.equal(await windowCaption(page), `${caption}   `);
  assert.ok(await page.locator('#mnuUwagaki').isDisabled());
});

test('New with Yes saves through the save dialog first', async () => {
  const page = await site.open();
  await page.locator('#source .cm-content').click();
  await page.keyboard.type('; keep me');
  await page.locator('#mnuFILE').click();
  await page.locator('#mnuSinki').click();
  await page.locator('#messageBox-yes').click();
  await page.locator('#fileNameBox').waitFor();
  const download = page.waitForEvent('download');
  await page.locator('#fileNameBox-name').fill('kept.cas');
  await page.keyboard.press('Enter');
  assert.deepEqual(await readFile(await (await download).path()), Buffer.from('; KEEP ME\r\n'));
  // New goes on once the file is saved.
  await page.waitForFunction(() => document.querySelector('#source .cm-content').textContent === '');
  assert.equal(await editorText(page), '');
});

test('leaving the page with changes asks first; without changes it does not', async () => {
  const page = await site.open();
  let asked = [];
  page.on('dialog', (dialog) => {
    asked.push(dialog.type());
    dialog.dismiss();
  });
  await page.close({ runBeforeUnload: true });
  await new Promise((resolve) => setTimeout(resolve, 300));
  assert.deepEqual(asked, []);

  const changed = await site.open();
  changed.on('dialog', (dialog) => {
    asked.push(dialog.type());
    dialog.accept();
  });
  await changed.locator('#source .cm-content').click();
  await changed.keyboard.type('x');
  const closed = new Promise((resolve) => changed.once('close', resolve));
  await changed.close({ runBeforeUnload: true });
  await closed;
  assert.deepEqual(asked, ['beforeunload']);
});

test('目次 and F1 open the help pages; the version box has its texts', async () => {
  const page = await site.open();
  const help = page.waitForEvent('popup');
  await page.locator('#mnuHelp').click();
  await page.locator('#mnuMokuji').click();
  const contents = await help;
  await contents.waitForLoadState();
  assert.equal(await contents.title(), '目次 - CASL II ワークベンチ ヘルプ');
  // The help has one window of its own: F1 shows the contents there again.
  await contents.locator('a[href="errors.html"]').first().click();
  await contents.waitForURL(/errors\.html$/);
  await page.bringToFront();
  await page.keyboard.press('F1');
  await contents.waitForURL(/help\/index\.html$/);
  assert.equal(page.context().pages().length, 2);

  await page.locator('#mnuHelp').click();
  await page.locator('#mnuVer').click();
  const about = page.locator('#frmAbout');
  assert.ok(await about.isVisible());
  assert.equal(await page.locator('#frmAbout-caption').textContent(), 'Varnicのﾊﾞｰｼﾞｮﾝ情報');
  assert.equal(await page.locator('#lblTitle').textContent(), 'COMET II & CASL II Simulator');
  assert.equal(await page.locator('#lblVersion').textContent(), 'ver. 2.0.9  2003/03/24');
  // The box does not block the main window.
  await page.locator('#source .cm-content').click();
  await page.keyboard.type('a');
  assert.equal(await editorText(page), 'A');
  await page.locator('#cmdSysInfo').click();
  const { box } = await traceSnapshot(page);
  assert.deepEqual(box, {
    kind: 'message',
    title: 'Varnic',
    text: '現時点ではｼｽﾃﾑ情報を使用できません',
    buttons: 'ok',
  });
  await answerBox(page, 'ok');
  await page.locator('#cmdOK').click();
  assert.equal(await about.isVisible(), false);
});

test('an example opens as a new program without a file name', async () => {
  const page = await site.open();
  await openFile(page, 'mine.cas', cp932Program);
  await page.locator('#examplesButton').click();
  await page.locator('#examplesMenu button', { hasText: 'loop.cas' }).click();
  // The opened file counts as changed, so New asks first.
  await page.locator('#messageBox').waitFor();
  await answerBox(page, 'no');
  const expected = (await readFile(new URL('../../examples/loop.cas', import.meta.url), 'utf8'))
    .replace(/\r\n?/g, '\n');
  await page.waitForFunction(
    () => document.querySelector('#source .cm-line')?.textContent.startsWith('; loop.cas'),
  );
  assert.equal(await editorText(page), expected);
  assert.equal(await windowCaption(page), `${caption}   `);
  assert.ok(await page.locator('#mnuUwagaki').isDisabled());
});
