// The class report of `casl2 check --format html`, opened in chromium from its file: it holds no
// script and asks for nothing more, and every number it shows is the JSON report's.
import assert from 'node:assert/strict';
import { execFileSync } from 'node:child_process';
import fs from 'node:fs';
import os from 'node:os';
import path from 'node:path';
import { after, before, test } from 'node:test';
import { fileURLToPath, pathToFileURL } from 'node:url';
import { launchChromium } from './browser.mjs';

const here = path.dirname(fileURLToPath(import.meta.url));
const root = path.join(here, '..', '..');
const casl2 = process.env.CASL2 ?? path.join(root, 'build', 'cli', 'casl2');
const work = fs.mkdtempSync(path.join(os.tmpdir(), 'casl2-html-report-'));

/** Runs `casl2 check` in FORMAT; a failing case (status 1) is a report like any other. */
function report(tests, programs, format) {
  const file = path.join(work, `${path.basename(path.dirname(tests))}.${format}`);
  try {
    execFileSync(casl2, ['check', tests, ...programs, '--format', format, '--output', file]);
  } catch (error) {
    assert.equal(error.status, 1, String(error.stderr));
  }
  return file;
}

/** A class with points, a hidden case, a program that does not assemble and markup in names. */
function classWithPoints() {
  const folder = path.join(work, 'points');
  fs.mkdirSync(path.join(folder, 'class'), { recursive: true });
  const reverse = path.join(root, 'examples', 'exercises', 'reverse');
  fs.copyFileSync(path.join(reverse, 'solution.cas'), path.join(folder, 'class', 'a <b>.cas'));
  fs.copyFileSync(path.join(reverse, 'wrong.cas'), path.join(folder, 'class', 'wrong.cas'));
  fs.writeFileSync(path.join(folder, 'class', 'broken.cas'), 'P START\r\n\r\n LD GR9,A\r\n');
  fs.writeFileSync(
    path.join(folder, 'tests.toml'),
    [
      'points = 2',
      '[[case]]', 'name = "three & <letters>"', 'inputs = ["ABC"]', 'expect.output = "CBA"',
      '[[case]]', 'name = "one"', 'points = 0.5', 'hidden = true', 'inputs = ["A"]',
      'expect.output = "A"',
      '[[case]]', 'name = "empty"', 'points = 3', 'inputs = [""]', 'expect.output = [""]',
      '',
    ].join('\n'),
  );
  return [path.join(folder, 'tests.toml'), [path.join(folder, 'class')]];
}

const classes = {
  reverse: [path.join(root, 'examples/exercises/reverse/tests.toml'),
    [path.join(root, 'examples/exercises/reverse')]],
  'count-digits': [path.join(root, 'examples/exercises/count-digits/tests.toml'),
    [path.join(root, 'examples/exercises/count-digits')]],
  'points and a hidden case': classWithPoints(),
};

let browser;
before(async () => {
  browser = await launchChromium();
});
after(async () => {
  await browser?.close();
  fs.rmSync(work, { recursive: true, force: true });
});

/** What the page shows, read as text from its tables and chart. */
async function readPage(file) {
  const context = await browser.newContext();
  const requests = [];
  context.on('request', (request) => requests.push(request.url()));
  const page = await context.newPage();
  await page.goto(pathToFileURL(file).href);
  assert.equal(await page.locator('script, [onload], [onclick]').count(), 0, 'no script');
  const cells = (row) => row.locator('th, td').allTextContents();
  const shown = {
    summary: await page.locator('#summary').textContent(),
    rates: await Promise.all((await page.locator('#case-rates tbody tr').all()).map(cells)),
    bars: await Promise.all((await page.locator('svg rect.bar').all()).map(
      (bar) => bar.getAttribute('width'))),
    trackWidth: await page.locator('svg rect.track').first().getAttribute('width'),
    programs: await Promise.all((await page.locator('#programs tbody tr').all()).map(cells)),
    failures: {},
  };
  for (const section of await page.locator('section.program').all()) {
    const name = (await section.locator('h3').textContent()).replace(/ \S+ of \S+ points$/, '');
    const rows = [];
    for (const row of await section.locator('table.failures tbody tr').all()) {
      rows.push({
        case: await row.getAttribute('data-case'),
        tds: (await row.locator('td').allTextContents()),
      });
    }
    shown.failures[name] = {
      problem: await section.locator('p.problem').allTextContents(),
      rows,
    };
  }
  if (process.env.CASL_REPORT_SCREENSHOT) {
    await page.screenshot({ path: `${process.env.CASL_REPORT_SCREENSHOT}-${path.basename(file)}.png`, fullPage: true });
  }
  await context.close();
  assert.deepEqual(requests, [pathToFileURL(file).href], 'the page asked for nothing else');
  return shown;
}

const points = (n) => String(n);
const percent = (passed, total) => `${Math.round((100 * passed) / Math.max(total, 1))}%`;

for (const [name, [tests, programs]] of Object.entries(classes)) {
  test(`the class report of ${name} shows the JSON report's numbers`, async () => {
    const json = JSON.parse(fs.readFileSync(report(tests, programs, 'json'), 'utf8'));
    const shown = await readPage(report(tests, programs, 'html'));
    const { summary } = json;

    assert.equal(
      shown.summary,
      `${summary.programs_passed} of ${summary.programs} program${summary.programs === 1 ? '' : 's'}` +
        ` passed every case; ${summary.cases_passed} of ${summary.cases} cases passed; ` +
        `${points(summary.score)} of ${points(summary.max_score)} points`,
    );

    // Each case's pass rate across the class, in the table and as the chart's bar.
    const caseNames = json.programs[0].cases.map((c) => c.name);
    assert.equal(shown.rates.length, caseNames.length);
    caseNames.forEach((caseName, i) => {
      const results = json.programs.map((p) => p.cases[i]);
      const passed = results.filter((c) => c.passed).length;
      const [label, worth, count, rate] = shown.rates[i];
      assert.equal(label, caseName + (results[0].hidden ? ' hidden' : ''));
      assert.equal(worth, points(results[0].max_points));
      assert.equal(count, `${passed} of ${json.programs.length}`);
      assert.equal(rate, percent(passed, json.programs.length));
      const bar = Number(shown.bars[i]) / Number(shown.trackWidth);
      assert.ok(Math.abs(bar - passed / json.programs.length) < 0.01, `bar of ${caseName}`);
    });

    // The programs, the best score first, each with its score and cases.
    const byScore = [...json.programs].sort((a, b) => b.score - a.score || b.cases_passed - a.cases_passed);
    assert.deepEqual(
      shown.programs,
      byScore.map((p) => [p.name, `${points(p.score)} of ${points(p.max_score)}`,
        `${p.cases_passed} of ${p.cases_total}`, p.passed ? 'passed' : 'failed']),
    );

    // Each failing program's failing cases with the expected and actual values.
    const failing = byScore.filter((p) => !p.passed);
    assert.deepEqual(Object.keys(shown.failures), failing.map((p) => p.name));
    for (const p of failing) {
      const expectedRows = [];
      for (const c of p.cases) {
        if (c.passed || (p.problem !== null && c.problem === p.problem)) continue;
        if (c.mismatches.length === 0) expectedRows.push({ case: c.name, tds: ['problem', '', c.problem] });
        for (const m of c.mismatches) {
          const place = m.file_line === null ? m.what : `${m.what} (line ${m.file_line} of the file)`;
          const first = m.first_difference === null ? '' : `first differs at ${m.first_difference.at}`;
          expectedRows.push({ case: c.name, tds: [place + first, m.expected, m.actual] });
        }
      }
      assert.deepEqual(shown.failures[p.name].rows, expectedRows, p.name);
      assert.deepEqual(shown.failures[p.name].problem, p.problem === null ? [] : [p.problem]);
    }
  });
}
