// Programs shared by a link in headless chromium: 「リンクをコピー」 and opening the link, for every
// example and a program of 2,000 data words; the save question before a link replaces a changed
// program; fragments that carry no program; links to an exercise, bare and with the student's
// program; what a screen reader hears during a run.
import assert from 'node:assert/strict';
import { readFile } from 'node:fs/promises';
import path from 'node:path';
import { after, afterEach, before, test } from 'node:test';
import { deflateSync } from 'node:zlib';
import { Site, answerBox, editorText, pasteProgram, siteDir, traceSnapshot } from './site.mjs';

const site = new Site();
before(() => site.start());
after(() => site.stop());
afterEach(() => site.closePages());

const clipboard = { permissions: ['clipboard-read', 'clipboard-write'] };
const caption = 'RuzidOV & OzerAR Orozaraz';

/**
 * Chooses the File menu's `item`, then gives the link as the clipboard holds it. The status of an
 * earlier copy stays for seconds, so it is cleared first: only this copy's status may answer.
 */
async function copyThrough(page, item) {
  await page.evaluate(() => {
    document.getElementById('linkStatus').textContent = '';
  });
  await page.locator('#mnuFILE').click();
  await page.locator(item).click();
  await page.locator('#linkStatus', { hasText: 'リンクをコピーしました' }).waitFor();
  return page.evaluate(() => navigator.clipboard.readText());
}

/** 「リンクをコピー」, then the link as the clipboard holds it. */
function copyLink(page) {
  return copyThrough(page, '#mnuLink');
}

/** A page at `address` whose program is `text` (pasted, so modified). */
async function pageWith(text) {
  const page = await site.open(clipboard);
  await pasteProgram(page, text);
  return page;
}

/** Follows a link in the same page, as pasting it into the address bar does. */
async function follow(page, link) {
  await page.evaluate((address) => {
    location.href = address;
  }, link);
}

test('every example travels through a link and opens as a new unnamed program', async () => {
  const names = JSON.parse(await readFile(path.join(siteDir, 'examples', 'index.json'), 'utf8'));
  assert.ok(names.length > 0);
  const page = await site.open(clipboard);
  for (const [index, name] of names.entries()) {
    await page.locator('#examplesButton').click();
    await page.locator('#examplesMenu [role="menuitem"]').nth(index).click();
    // The example replaced the one before it, which was changed by its opening: answered No.
    if (index > 0) {
      await answerBox(page, 'no');
    }
    const text = await editorText(page);
    const link = await copyLink(page);
    assert.ok(link.startsWith(`${site.url}#p1.`), `${name}: ${link}`);
    const opened = await site.open({}, link);
    assert.equal(await editorText(opened), text, name);
    assert.equal(await opened.locator('#Form1-caption').textContent(), `${caption}   `);
    assert.equal(await opened.evaluate(() => location.hash), '', 'the link is dropped');
  }
});

test('a program of 2,000 data words travels through a link and assembles', async () => {
  const rows = [];
  for (let row = 0; row < 40; ++row) {
    const values = Array.from({ length: 50 }, (_, i) => String((row * 50 + i) * 7919 % 65536 - 32768));
    rows.push(`\tDC\t${values.join(',')}`);
  }
  const program = `BIG\tSTART\n\tRET\n${rows.join('\n')}\n\tEND\n`;
  const page = await pageWith(program);
  const link = await copyLink(page);
  const opened = await site.open({}, link);
  assert.equal(await editorText(opened), program);
  await opened.locator('#Assemble').click();
  assert.equal(await opened.locator('#Form2-Label1').textContent(), 'Assemble Error: 0');
});

test('a changed program is asked about before a link replaces it', async () => {
  const page = await pageWith('A\tSTART\n\tRET\n\tEND\n');
  const link = await copyLink(page);
  await pasteProgram(page, 'B\tSTART\n\tNOP\n\tRET\n\tEND\n');
  await follow(page, link);
  await page.locator('#messageBox').waitFor();
  const { box } = await traceSnapshot(page);
  assert.equal(box.text, 'ソースプログラムを保存しますか?');
  assert.equal(await editorText(page), 'B\tSTART\n\tNOP\n\tRET\n\tEND\n');
  await answerBox(page, 'no');
  await page.waitForFunction(() => document.querySelector('#source .cm-line')?.textContent === 'A\tSTART');
  assert.equal(await editorText(page), 'A\tSTART\n\tRET\n\tEND\n');
});

/** A fragment in base64url of `bytes`. */
function fragmentOf(bytes) {
  return `p1.${Buffer.from(bytes).toString('base64url')}`;
}

const unreadable = [
  {
    name: 'another page anchor',
    fragment: 'input',
    text: 'このリンクにはプログラムが入っていません。\n「リンクをコピー」で作ったリンクを、最後まで正しく貼り付けたか確かめてください。',
  },
  {
    name: 'a later version',
    fragment: 'p2.eJzz',
    text: 'このリンクは新しい版のワークベンチで作られたため、この版では開けません。',
  },
  {
    name: 'a link cut short',
    fragment: fragmentOf(deflateSync('P\tSTART\n\tRET\n\tEND\n')).slice(0, 12),
    text: 'リンクが途中で切れているか書き換えられているため、プログラムを取り出せません。\nリンクを最後まで正しくコピーしたか確かめてください。',
  },
  {
    name: 'text that is not UTF-8',
    fragment: fragmentOf(deflateSync(Buffer.from([0x82, 0xa0, 0x0a]))),
    text: 'リンクが途中で切れているか書き換えられているため、プログラムを取り出せません。\nリンクを最後まで正しくコピーしたか確かめてください。',
  },
  {
    name: 'a program that inflates beyond a source file',
    fragment: fragmentOf(deflateSync(Buffer.alloc(3 * 1024 * 1024, 'A'))),
    text: 'リンクのプログラムがソースファイルの大きさの上限を超えているため、開けません。',
  },
];

for (const { name, fragment, text } of unreadable) {
  test(`${name} gives a clear message and keeps the program`, async () => {
    const kept = 'K\tSTART\n\tRET\n\tEND\n';
    const page = await pageWith(kept);
    await follow(page, `${site.url}#${fragment}`);
    await page.locator('#messageBox').waitFor();
    const { box } = await traceSnapshot(page);
    assert.deepEqual(box, { kind: 'message', title: 'リンクを開く', text, buttons: 'ok' });
    await answerBox(page, 'ok');
    assert.equal(await editorText(page), kept);
    assert.equal(await page.evaluate(() => location.hash), '');
  });
}

/** 「演習のリンクをコピー」, then the link as the clipboard holds it. */
function copyExerciseLink(page) {
  return copyThrough(page, '#mnuExerciseLink:enabled');
}

/** Waits until the exercise pane shows `title`. */
function exerciseShown(page, title) {
  return page.waitForFunction(
    (wanted) =>
      !document.getElementById('exercisePane').hidden &&
      document.getElementById('exerciseTitle').textContent === wanted,
    title,
  );
}

const countBits = '1 のビットを数える (シフトとマスク)';

test('an exercise travels through its link, bare and then with the student\'s program', async () => {
  const page = await site.open(clipboard);
  await page.locator('#mnuFILE').click();
  assert.equal(await page.locator('#mnuExerciseLink').isDisabled(), true, 'no exercise yet');
  await page.keyboard.press('Escape');
  await page.locator('#exercisesButton:enabled').click();
  await page.locator('#exercisesMenu button', { hasText: countBits }).click();
  await exerciseShown(page, countBits);
  const start = await editorText(page);
  assert.match(start, /START/);

  // Untouched, the exercise is linked without a program: its starting program comes with it.
  const bare = await copyExerciseLink(page);
  assert.equal(bare, `${site.url}#e1.count-bits`);
  const student = await site.open(clipboard, bare);
  await exerciseShown(student, countBits);
  assert.equal(await editorText(student), start);
  assert.equal(await student.evaluate(() => location.hash), '', 'the link is dropped');

  // The student's attempt goes back with the exercise.
  const attempt = start.replace('; Write the loop here.', '; My loop comes here.');
  assert.notEqual(attempt, start);
  await pasteProgram(student, attempt);
  const withProgram = await copyExerciseLink(student);
  assert.ok(withProgram.startsWith(`${site.url}#e1.count-bits.`), withProgram);
  const teacher = await site.open({}, withProgram);
  await exerciseShown(teacher, countBits);
  assert.equal(await editorText(teacher), attempt);
  assert.equal(await teacher.locator('#Form1-caption').textContent(), `${caption}   `);
  await teacher.locator('#exerciseCheck').click();
  await teacher.locator('#exerciseCases li:not([data-verdict="none"])').first().waitFor();
  if (process.env.CASL_SHARE_SCREENSHOT) {
    await teacher.screenshot({ path: process.env.CASL_SHARE_SCREENSHOT, fullPage: true });
  }
});

test('a link to an exercise the page does not have names it and keeps the program', async () => {
  const kept = 'K\tSTART\n\tRET\n\tEND\n';
  const page = await pageWith(kept);
  await follow(page, `${site.url}#e1.%E4%B9%9D%E4%B9%9D`);
  await page.locator('#messageBox').waitFor();
  const { box } = await traceSnapshot(page);
  assert.deepEqual(box, {
    kind: 'message',
    title: 'リンクを開く',
    text: 'リンクの演習「九九」は、このワークベンチにありません。\nリンクを作ったワークベンチと同じ版で開いてください。',
    buttons: 'ok',
  });
  await answerBox(page, 'ok');
  assert.equal(await editorText(page), kept);
  assert.equal(await page.locator('#exercisePane').isHidden(), true);
});

test('a screen reader hears the line and the changes of every step, and the end', async () => {
  const page = await pageWith('P\tSTART\n\tLAD\tGR1,3\nL\tSUBA\tGR1,=1\n\tJNZ\tL\n\tEND\n');
  const announcer = page.locator('#announcer');
  assert.equal(await announcer.getAttribute('role'), 'status');
  await page.locator('#Assemble').click();
  await page.locator('#Form2-Command2').click();
  await page.locator('#Trace').click();
  assert.equal(await announcer.textContent(), '1行目 P START。変化なし');
  await page.locator('#Command1').click();
  assert.equal(await announcer.textContent(), '2行目 LAD GR1,3。変化: GR1 0003 (3)、PR:0004');
  await page.locator('#Command1').click();
  assert.equal(await announcer.textContent(), '3行目 L SUBA GR1,=1。変化: GR1 0002 (2)、PR:0006');
  await page.locator('#Command2').click();
  assert.equal(await announcer.textContent(), 'トレースが終わりました');
});
