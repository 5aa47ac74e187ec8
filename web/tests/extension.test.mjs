// The extension in headless Chromium, on local pages with a text area:
// Ndebele pages are checked without asking, others once the site is turned
// on; the field's text changes only when a suggestion is chosen.
import assert from 'node:assert/strict';
import fs from 'node:fs';
import path from 'node:path';
import { after, before, test } from 'node:test';
import { webOut } from './common.mjs';
import { clickMenuItem, launch, menuItems, serve, underlinedWords, waitFor, waitForWords } from './browser.mjs';

const TYPED = 'Sibona abntwana bedlala ngaphandle kakhlu.';
const page = (lang) => `<!doctype html><html lang="${lang}"><head><meta charset="utf-8"><title>Form</title></head>
<body style="font: 16px sans-serif; padding: 20px"><h1>Form</h1><textarea id="field" rows="6" cols="60"></textarea>
<div id="editable" contenteditable="true" style="border: 1px solid #888; padding: 6px; width: 480px; min-height: 3em"></div></body></html>`;
let browser;
let server;
let worker;

before(async () => {
  server = await serve(path.join(webOut, 'site'), { '/nd.html': page('nd-ZW'), '/en.html': page('en') });
  const extension = path.join(webOut, 'extension');
  browser = await launch([`--disable-extensions-except=${extension}`, `--load-extension=${extension}`]);
  const target = await browser.waitForTarget((t) => t.type() === 'service_worker' && t.url().endsWith('background.js'));
  worker = await target.worker();
});

after(async () => {
  await browser?.close();
  await server?.close();
});

async function typeInto(tab) {
  await tab.click('#field');
  await tab.keyboard.type(TYPED);
}

test('Extension.UnderlinesNdebelePagesWithoutChangingTheirText', async () => {
  const tab = await browser.newPage();
  await tab.goto(server.url + 'nd.html');
  await typeInto(tab);
  // The extension's first start makes the word check index (seconds).
  const [word] = await waitForWords(tab, ['abntwana', 'kakhlu'], 120000);
  assert.equal(await tab.$eval('#field', (el) => el.value), TYPED);
  fs.mkdirSync(path.join(webOut, 'screenshots'), { recursive: true });
  await tab.mouse.click(word.x, word.y, { button: 'right' });
  await waitFor(async () => (await menuItems(tab)).length > 0);
  await tab.screenshot({ path: path.join(webOut, 'screenshots', 'extension.png') });
  assert.equal(await tab.$eval('#field', (el) => el.value), TYPED);
  await clickMenuItem(tab, 'abantwana');
  assert.equal(await tab.$eval('#field', (el) => el.value), TYPED.replace('abntwana', 'abantwana'));
  await waitForWords(tab, ['kakhlu']);
  await tab.close();
});

test('Extension.ChecksAnotherSiteOnlyOnceTurnedOnThere', async () => {
  const tab = await browser.newPage();
  await tab.goto(server.url + 'en.html');
  await typeInto(tab);
  await new Promise((r) => setTimeout(r, 1000));
  assert.deepEqual(await underlinedWords(tab), []);
  const origin = new URL(server.url).origin;
  await worker.evaluate((o) => chrome.storage.local.set({ sites: [o] }), origin);
  await waitForWords(tab, ['abntwana', 'kakhlu']);
  await tab.close();
});

test('Extension.SharesAddedWordsAcrossPages', async () => {
  const tab = await browser.newPage();
  await tab.goto(server.url + 'nd.html');
  await typeInto(tab);
  const [, word] = await waitForWords(tab, ['abntwana', 'kakhlu']);
  await tab.mouse.click(word.x, word.y, { button: 'right' });
  await waitFor(async () => (await menuItems(tab)).length > 0);
  await clickMenuItem(tab, 'Add to my words');
  await waitForWords(tab, ['abntwana']);
  assert.deepEqual(await worker.evaluate(() => chrome.storage.local.get('words')), { words: ['kakhlu'] });
  const other = await browser.newPage();
  await other.goto(server.url + 'nd.html');
  await typeInto(other);
  await waitForWords(other, ['abntwana']);
  await other.close();
  await tab.close();
});

test('Extension.UnderlinesEditableElementsWithoutChangingThem', async () => {
  const tab = await browser.newPage();
  await tab.goto(server.url + 'nd.html');
  await tab.click('#editable');
  await tab.keyboard.type(TYPED);
  // kakhlu is one of the user's words since the test before.
  const [word] = await waitForWords(tab, ['abntwana']);
  assert.equal(await tab.$eval('#editable', (el) => el.textContent), TYPED);
  await tab.mouse.click(word.x, word.y, { button: 'right' });
  await waitFor(async () => (await menuItems(tab)).length > 0);
  await tab.screenshot({ path: path.join(webOut, 'screenshots', 'extension-editable.png') });
  await clickMenuItem(tab, 'abantwana');
  assert.equal(await tab.$eval('#editable', (el) => el.textContent), TYPED.replace('abntwana', 'abantwana'));
  await waitForWords(tab, []);
  await tab.close();
});
