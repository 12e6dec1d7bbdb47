import assert from 'node:assert/strict';
import { test } from 'node:test';
import { upperCasedTyping } from '../src/upper_case.js';

const cases = [
  { name: 'ASCII letters', typed: 'ld gr1,a', inserted: 'LD GR1,A' },
  { name: 'digits, blanks and punctuation', typed: "=#00ff ; 'x'\t", inserted: "=#00FF ; 'X'\t" },
  { name: 'full-width letters', typed: 'ａｂｃ', inserted: 'ＡＢＣ' },
  { name: 'letters with accents', typed: 'éñ', inserted: 'ÉÑ' },
  { name: 'kana and kanji have no case', typed: 'かな漢字', inserted: 'かな漢字' },
  { name: 'an upper case of two characters keeps the letter', typed: 'ßa', inserted: 'ßA' },
  { name: 'characters outside the BMP', typed: '𐐨😀', inserted: '𐐀😀' },
];

for (const { name, typed, inserted } of cases) {
  test(`typing upper-cases ${name}`, () => {
    assert.equal(upperCasedTyping(typed), inserted);
  });
}
