// Exercises in headless chromium: the menu 演習 opens one beside the editor, 採点 lists the
// verdicts (those of `casl2 check`, which CASL2 names when the test's fixture built it), and a
// failing case runs as a Trace with its answers and its comparison at the end.
import assert from 'node:assert/strict';
import { execFile } from 'node:child_process';
import { readFile, readdir } from 'node:fs/promises';
import path from 'node:path';
import { after, afterEach, before, test } from 'node:test';
import { fileURLToPath } from 'node:url';
import { promisify } from 'node:util';
import { Site, pasteProgram } from './site.mjs';

const here = path.dirname(fileURLToPath(import.meta.url));
const exercisesDir = path.join(here, '..', '..', 'examples', 'exercises');
const casl2 = process.env.CASL2;

const site = new Site();
before(() => site.start());
after(() => site.stop());
afterEach(() => site.closePages());

/**
 * Opens the exercise titled `title` from the menu 演習; `answer` answers the save question that
 * an exercise with a starting program asks first when the editor's program was changed.
 */
async function openExercise(page, title, answer = 'no') {
  // The pane may show this title already (the exercise opened again): cleared, it tells only
  // when this opening has been shown.
  await page.evaluate(() => {
    document.getElementById('exerciseTitle').textContent = '';
  });
  await page.locator('#exercisesButton:enabled').click();
  await page.locator('#exercisesMenu button', { hasText: title }).click();
  const opened = () =>
    page.waitForFunction(
      (wanted) =>
        document.getElementById('messageBox').open ||
        (!document.getElementById('exercisePane').hidden &&
          document.getElementById('exerciseTitle').textContent === wanted),
      title,
    );
  await opened();
  if (await page.locator('#messageBox').isVisible()) {
    assert.equal(await page.locator('#messageBox-text').textContent(), 'ソースプログラムを保存しますか?');
    await page.locator(`#messageBox-${answer}`).click();
    await opened();
  }
}

async function program(exercise, file) {
  return readFile(path.join(exercisesDir, exercise, file), 'utf8');
}

/** The verdict of every case in the list: "passed", "failed" or "none". */
function listedVerdicts(page) {
  return page.locator('#exerciseCases li').evaluateAll((items) =>
    items.map((item) => item.dataset.verdict),
  );
}

/** Goes on to the run's end, taking every box as it stands (the case's answers). */
async function finishRun(page) {
  for (let guard = 0; guard < 2000; guard += 1) {
    const state = await page.evaluate(() => {
      const open = [...document.querySelectorAll('dialog.box')].find((d) => d.open);
      return { box: open?.id ?? '', tracing: !document.getElementById('Command1').hidden };
    });
    if (state.box === 'inputBox') {
      await page.locator('#inputBox-ok').click();
    } else if (state.box === 'messageBox') {
      await page.keyboard.press('Enter');
    } else if (state.tracing) {
      // A closed box is answered by its close event, a task later: the run may end between the
      // look above and a click, so Next is pressed only if it is still there.
      await page.evaluate(() => {
        const next = document.getElementById('Command1');
        if (!next.hidden) {
          next.click();
        }
      });
    } else {
      return;
    }
  }
  assert.fail('the run did not end');
}

test('a wrong program fails a case, whose run shows the comparison; the fixed one passes', async () => {
  const page = await site.open();
  assert.ok(await page.locator('#exercisePane').isHidden());
  await openExercise(page, '文字列を逆順に表示する');
  assert.equal(await page.locator('#exerciseTitle').textContent(), '文字列を逆順に表示する');
  // The statement's markup becomes elements; its text stays text.
  assert.equal(await page.locator('#exerciseStatement h3').first().textContent(), '文字列を逆順に表示する');
  assert.ok((await page.locator('#exerciseStatement strong').count()) > 0);
  assert.ok((await page.locator('#exerciseStatement li').count()) >= 3);

  await pasteProgram(page, await program('reverse', 'wrong.cas'));
  await page.locator('#exerciseCheck').click();
  assert.equal(await page.locator('#exerciseSummary').textContent(), '2 / 6 ケースに合格');
  assert.equal(
    await page.locator('#exerciseCases li[aria-selected="true"]').textContent(),
    '✘ 不合格  three letters',
  );
  assert.equal(
    await page.locator('#exerciseCaseDetails').textContent(),
    'output: expected "CBA", got "□CB"\ndata REV: expected "CBA", got "\\u0000CB"',
  );

  await page.locator('#exerciseRunCase').click();
  assert.ok(await page.locator('#Command1').isVisible());
  assert.ok(await page.locator('#exerciseCheck').isDisabled());
  assert.equal(
    await page.locator('#exerciseRunHeading').textContent(),
    'ケース「three letters」で実行中',
  );
  // The IN box shows the case's answer already typed.
  while (!(await page.locator('#inputBox').isVisible())) {
    await page.locator('#Command1').click();
  }
  assert.equal(await page.locator('#inputBox-text').inputValue(), 'ABC');
  await finishRun(page);
  assert.ok(await page.locator('#Command1').isHidden());
  assert.equal(
    await page.locator('#exerciseRunHeading').textContent(),
    'ケース「three letters」: 不合格 (ケースの期待と違います)',
  );
  assert.match(
    await page.locator('#exerciseRunDetails').textContent(),
    /output: expected "CBA", got "□CB"/,
  );

  await pasteProgram(page, await program('reverse', 'solution.cas'));
  assert.equal(
    await page.locator('#exerciseSummary').textContent(),
    'プログラムが変更されました。もう一度 採点 してください',
  );
  await page.locator('#exerciseCheck').click();
  assert.equal(await page.locator('#exerciseSummary').textContent(), 'すべてのケースに合格しました');
  assert.deepEqual(await listedVerdicts(page), Array(6).fill('passed'));
  await page.locator('#exerciseClose').click();
  assert.ok(await page.locator('#exercisePane').isHidden());
});

test('a starting program comes into the editor, after the save question', async () => {
  const page = await site.open();
  await pasteProgram(page, 'KEEP\tSTART\n\tRET\n\tEND\n');
  await openExercise(page, '1 から N までの和 (ループ)');
  assert.match(
    await page.locator('#source .cm-content').textContent(),
    /; Write the loop here\./,
  );
});

test('採点 gives the verdicts of casl2 check on every shipped exercise', { skip: !casl2 }, async () => {
  const run = promisify(execFile);
  const page = await site.open();
  const exercises = (await readdir(exercisesDir)).sort();
  assert.ok(exercises.length >= 8);
  for (const exercise of exercises) {
    const tests = path.join(exercisesDir, exercise, 'tests.toml');
    const title = /^title = "(.*)"$/m.exec(await readFile(tests, 'utf8'))[1];
    for (const file of ['solution.cas', 'wrong.cas']) {
      const graded = await run(casl2, [
        'check',
        tests,
        path.join(exercisesDir, exercise, file),
        '--format',
        'json',
      ]).catch((failure) => failure);
      const report = JSON.parse(graded.stdout);
      const expected = report.programs[0].cases.map((c) => (c.passed ? 'passed' : 'failed'));
      await openExercise(page, title);
      await pasteProgram(page, await program(exercise, file));
      await page.locator('#exerciseCheck').click();
      assert.deepEqual(await listedVerdicts(page), expected, `${exercise}/${file}`);
    }
  }
});
