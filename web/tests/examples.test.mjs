// Every example program traced in the browser shows, at every wait, in every box and at the end,
// the texts that `casl2 run --trace` prints for it: the same core in WebAssembly and natively.
// CASL2 names the native casl2 (the test's fixture builds it); boxes are answered alike on both
// sides: the IN box with one text, OK, and Yes to every question.
import assert from 'node:assert/strict';
import { execFile } from 'node:child_process';
import { readFile, readdir } from 'node:fs/promises';
import path from 'node:path';
import { after, afterEach, before, test } from 'node:test';
import { fileURLToPath } from 'node:url';
import { promisify } from 'node:util';
import {
  Site,
  answerBox,
  displayBlock,
  pasteProgram,
  press,
  traceSnapshot,
} from './site.mjs';

const here = path.dirname(fileURLToPath(import.meta.url));
const examplesDir = path.join(here, '..', '..', 'examples');
const casl2 = process.env.CASL2;
const input = 'CASL II';
const stepQuestionTitle = '確認';

const site = new Site();
before(() => site.start());
after(() => site.stop());
afterEach(() => site.closePages());

/** What `casl2 run --trace` prints for the program in `file`. */
async function nativeTrace(file) {
  const run = promisify(execFile);
  try {
    const { stdout } = await run(casl2, ['run', file, '--trace', '--input', input]);
    return stdout;
  } catch (failure) {
    // A run that ends with a message other than "Program終了" exits with a status of its own.
    if (typeof failure.stdout === 'string' && failure.code !== 2) {
      return failure.stdout;
    }
    throw failure;
  }
}

/** The same transcript, read from the page while it traces the program. */
async function pageTrace(page, source) {
  await pasteProgram(page, source);
  await page.locator('#Assemble').click();
  await page.locator('#Form2-Command2').click();
  await page.locator('#Trace').click();
  let transcript = '';
  for (let steps = 0; steps < 100000; ++steps) {
    const shown = await traceSnapshot(page);
    if (shown.box) {
      const { box } = shown;
      if (box.kind === 'input') {
        transcript += `[${box.title}]\n${box.text}\n> ${input}\n`;
        await answerBox(page, 'ok', input);
      } else if (box.buttons === 'yesNo') {
        // casl2 answers the step question without printing it.
        if (box.title !== stepQuestionTitle) {
          transcript += `[${box.title}]\n${box.text}\n> yes\n`;
        }
        await answerBox(page, 'yes');
      } else {
        transcript += `[${box.title}]\n${box.text}\n`;
        await answerBox(page, 'ok');
      }
    } else if (shown.waiting) {
      if (shown.markedLine > 0) {
        transcript += `line ${shown.markedLine}: ${shown.markedText}\n`;
      }
      transcript += displayBlock(shown);
      await press(page, '#Command1');
    } else {
      assert.ok(shown.ended, 'the run neither waits, asks nor has ended');
      return transcript + displayBlock(shown);
    }
  }
  assert.fail('the run did not end');
}

const examples = (await readdir(examplesDir)).filter((name) => name.endsWith('.cas')).sort();

test('the examples are there', () => {
  assert.ok(examples.length >= 6, `examples: ${examples}`);
  assert.ok(casl2, 'CASL2 names the native casl2');
});

for (const name of examples) {
  test(`${name}: the browser shows what casl2 run --trace prints`, { skip: !casl2 }, async () => {
    const file = path.join(examplesDir, name);
    const expected = await nativeTrace(file);
    const source = (await readFile(file, 'utf8')).replace(/\r\n?/g, '\n');
    const page = await site.open();
    const shown = await pageTrace(page, source);
    assert.equal(shown, expected);
    assert.ok(expected.includes('line '), 'the run waited');
  });
}
