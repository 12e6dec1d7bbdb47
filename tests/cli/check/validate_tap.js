// Parses a casl2 check TAP report with tap-parser (strict: every line must be TAP) and checks
// its structure: TAP version 14, a subtest per program of the command-test class with a test
// point per case, YAML diagnostics on every failure.
// Usage: NODE_PATH=/usr/share/nodejs node validate_tap.js REPORT
'use strict';
const fs = require('fs');
const Parser = require('tap-parser');

const problems = [];
const expect = (what, got, wanted) => {
  if (JSON.stringify(got) !== JSON.stringify(wanted)) {
    problems.push(`${what}: got ${JSON.stringify(got)}, expected ${JSON.stringify(wanted)}`);
  }
};

const parser = new Parser({ strict: true });
let version = null;
const children = [];
const extra = [];
parser.on('version', (v) => { version = v; });
parser.on('extra', (line) => extra.push(line));
parser.on('bailout', (reason) => problems.push(`bail out: ${reason}`));
parser.on('child', (child) => {
  const points = [];
  child.on('assert', (point) => points.push(point));
  child.on('extra', (line) => extra.push(line));
  children.push(points);
});
parser.on('complete', (results) => {
  expect('version', version, 14);
  expect('plan', [results.plan.start, results.plan.end], [1, 6]);
  expect('programs passed', results.pass, 2);
  expect('programs failed', results.fail, 4);
  expect('parse errors', results.failures.filter((f) => f.tapError).map((f) => f.tapError), []);
  expect('lines that are not TAP', extra, []);
  expect('subtests', children.length, 6);
  expect('cases per program', children.map((c) => c.length), [2, 2, 2, 2, 2, 2]);
  const points = children.flat();
  expect('cases passed', points.filter((p) => p.ok).length, 5);
  expect('failures without diagnostics', points.filter((p) => !p.ok && !p.diag).length, 0);
  expect('a name with markup', children[0][1].name, 'empty <line> & "quotes" #1');
  const wrong = children[5].find((p) => !p.ok);
  expect('the mismatch of wrong.cas', wrong && wrong.diag.mismatches[0],
         { what: 'GR1', expected: '5 (#0005)', actual: '0 (#0000)' });
  if (problems.length > 0) {
    console.error(problems.join('\n'));
    process.exit(1);
  }
});
parser.end(fs.readFileSync(process.argv[2], 'utf8'));
