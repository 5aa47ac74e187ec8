// The WebAssembly module in node: the API, and the native build's verdicts
// and suggestions on the development samples.
import assert from 'node:assert/strict';
import path from 'node:path';
import { test } from 'node:test';
import { pathToFileURL } from 'node:url';
import { webOut, native, sampleWords, slip } from './common.mjs';

const site = path.join(webOut, 'site');
const { Tovuri } = await import(pathToFileURL(path.join(site, 'tovuri.js')).href);
const t = await Tovuri.load(site);

test('Module.ChecksWordsAsWritten', () => {
  const table = [['abantu', true], ['Umuntu', true], ['ngizobahambela', true], ['kodwa-ke', true],
    ['abntu', false], ['qwxz', false], ['', false], ['two words', false], ['umuntuŋ', false]];
  for (const [word, expected] of table) assert.equal(t.check(word), expected, word);
});

test('Module.SuggestsInTheWordsCase', () => {
  assert.equal(t.suggest('abntu')[0], 'abantu', JSON.stringify(t.suggest('abntu')));
  assert.equal(t.suggest('Abntu')[0], 'Abantu', JSON.stringify(t.suggest('Abntu')));
  assert.deepEqual(t.suggest('abantu').length >= 0, true);
});

test('Module.FindsMisspeltWordsAtJavaScriptOffsets', () => {
  // The emoji is two UTF-16 units and the arrow one: the offsets are slice's.
  const text = 'abantu abntu\n😀 → umuntu qwxz\r\nkodwa-ke sdfg';
  const found = t.checkText(text);
  assert.deepEqual(found.map((w) => w.word), ['abntu', 'qwxz', 'sdfg'], JSON.stringify(found));
  for (const w of found) assert.equal(text.slice(w.start, w.end), w.word);
  assert.deepEqual(t.checkText('abantu njalo'), []);
  assert.deepEqual(t.checkText(''), []);
});

test('Module.AcceptsAddedAndIgnoredWords', () => {
  assert.equal(t.check('zzyzx'), false);
  t.add('zzyzx');
  assert.equal(t.check('zzyzx'), true);
  assert.equal(t.check('qqbrt'), false);
  t.ignore('qqbrt');
  assert.deepEqual(t.checkText('qqbrt zzyzx'), []);
});

test('Module.GivesTheNativeVerdictOnEverySampleWord', async () => {
  const fresh = await Tovuri.load(site);
  const words = sampleWords();
  const expected = new Map();
  for (let i = 0; i < words.length; i += 2000)
    for (const line of native(['--no-learn', '--words', ...words.slice(i, i + 2000)]).split('\n')) {
      const tab = line.lastIndexOf('\t');
      if (tab > 0) expected.set(line.slice(0, tab), line.slice(tab + 1) === 'yes');
    }
  const differ = words.filter((w) => fresh.check(w) !== expected.get(w));
  assert.equal(expected.size, words.length, 'the native build answered every word');
  assert.deepEqual(differ.slice(0, 20), [], `${differ.length} of ${words.length} verdicts differ`);
  fresh.close();
});

test('Module.GivesTheNativeFirstFiveSuggestionsForAThousandSlips', async () => {
  const fresh = await Tovuri.load(site);
  const slips = [];
  let i = 0;
  for (const word of sampleWords()) {
    if (slips.length === 1000) break;
    if (word.length < 4 || !/^[a-z]+$/.test(word) || !fresh.check(word)) continue;
    const typo = slip(word, i++);
    if (!fresh.check(typo) && !slips.includes(typo)) slips.push(typo);
  }
  const nativeLists = (words) => {
    const lists = new Map();
    for (const line of native(['--suggest', ...words]).split('\n')) {
      const colon = line.indexOf(': ');
      const rest = line.slice(colon + 2);
      if (colon > 0) lists.set(line.slice(0, colon), rest === '(no suggestions)' ? [] : rest.split(', ').slice(0, 5));
    }
    return lists;
  };
  const same = (a, b) => JSON.stringify(a) === JSON.stringify(b);
  const expected = nativeLists(slips);
  let differ = slips.filter((typo) => !same(fresh.suggest(typo).slice(0, 5), expected.get(typo)));
  // The search stops at a time budget (40 ms), which a loaded machine can
  // reach on one side only: a list that differs is asked again on both
  // sides (a word added forgets the module's remembered lists).
  for (let round = 0; round < 2 && differ.length > 0; ++round) {
    fresh.add(`qqretry${round}`);
    const again = nativeLists(differ);
    differ = differ.filter((typo) => !same(fresh.suggest(typo).slice(0, 5), again.get(typo)));
  }
  differ = differ.map((typo) => `${typo}: ${fresh.suggest(typo).slice(0, 5)} / ${expected.get(typo)}`);
  assert.equal(slips.length, 1000);
  assert.deepEqual(differ.slice(0, 10), [], `${differ.length} of ${slips.length} lists differ (module / native)`);
  fresh.close();
});
