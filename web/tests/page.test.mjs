// The page in headless Chromium: underlines as the user types, the
// correction menu, the user's words, and checking offline after a reload.
import assert from 'node:assert/strict';
import fs from 'node:fs';
import path from 'node:path';
import { after, before, test } from 'node:test';
import { webOut } from './common.mjs';
import { clickMenuItem, launch, menuItems, serve, waitFor, waitForWords } from './browser.mjs';

const TEXT = 'Abantu abanengi bayakholwa ukuthi umntu ngamunye ulelungelo.\nSibona abntwana bedlala ngaphandle kakhlu.';
const shots = path.join(webOut, 'screenshots');
let browser;
let server;
let page;

before(async () => {
  fs.mkdirSync(shots, { recursive: true });
  server = await serve(path.join(webOut, 'site'));
  browser = await launch();
  page = await browser.newPage();
  await page.setViewport({ width: 1280, height: 800 });
  await page.goto(server.url, { waitUntil: 'load' });
  await page.evaluate(() => window.tovuriReady.then(() => true));
});

after(async () => {
  await browser?.close();
  await server?.close();
});

test('Page.UnderlinesTheTyposOfTypedText', async () => {
  await page.click('#editor');
  await page.keyboard.type(TEXT);
  await waitForWords(page, ['umntu', 'abntwana', 'kakhlu']);
  const count = await page.$eval('#count', (el) => el.textContent);
  assert.equal(count, '12 words');
  await page.screenshot({ path: path.join(shots, 'page-desktop.png') });
});

test('Page.ReplacesAWordWithTheSuggestionChosenInTheMenu', async () => {
  const [, word] = await waitForWords(page, ['umntu', 'abntwana', 'kakhlu']);
  await page.mouse.click(word.x, word.y, { button: 'right' });
  await waitFor(async () => (await menuItems(page)).length > 0);
  const items = await menuItems(page);
  assert.deepEqual(items.slice(0, 1), ['abantwana'], JSON.stringify(items));
  assert.ok(items.includes('Ignore All') && items.includes('Add to my words'), JSON.stringify(items));
  await page.screenshot({ path: path.join(shots, 'page-menu.png') });
  await clickMenuItem(page, 'abantwana');
  const value = await page.$eval('#editor', (el) => el.value);
  assert.equal(value, TEXT.replace('abntwana', 'abantwana'));
  await waitForWords(page, ['umntu', 'kakhlu']);
});

test('Page.KeepsAddedWordsInTheBrowser', async () => {
  const [word] = await waitForWords(page, ['umntu', 'kakhlu']);
  await page.mouse.click(word.x, word.y, { button: 'right' });
  await waitFor(async () => (await menuItems(page)).length > 0);
  await clickMenuItem(page, 'Add to my words');
  await waitForWords(page, ['kakhlu']);
  assert.deepEqual(await page.evaluate(() => JSON.parse(localStorage.getItem('tovuri.words'))), ['umntu']);
});

test('Page.OpensTheMenuFromTheKeyboard', async () => {
  const caret = TEXT.indexOf('kakhlu') + 2;
  await page.$eval('#editor', (el, at) => { el.focus(); el.setSelectionRange(at, at); }, caret);
  await page.keyboard.down('Shift');
  await page.keyboard.press('F10');
  await page.keyboard.up('Shift');
  await waitFor(async () => (await menuItems(page)).length > 0);
  assert.equal((await menuItems(page))[0], 'kakhulu');
  await page.keyboard.press('Escape');
  assert.deepEqual(await menuItems(page), []);
});

test('Page.FitsAPhonesScreenAndOpensTheMenuOnALongPress', async () => {
  await page.setViewport({ width: 390, height: 844, isMobile: true, hasTouch: true });
  await waitForWords(page, ['kakhlu']);
  const overflow = await page.evaluate(() => document.documentElement.scrollWidth - window.innerWidth);
  assert.ok(overflow <= 0, `the page is ${overflow} px wider than the screen`);
  await page.screenshot({ path: path.join(shots, 'page-phone.png') });
  // A long press on an underlined word opens the menu.
  const [word] = await waitForWords(page, ['kakhlu']);
  await page.touchscreen.touchStart(word.x, word.y);
  await waitFor(async () => (await menuItems(page)).length > 0);
  await page.touchscreen.touchEnd();
  assert.equal((await menuItems(page))[0], 'kakhulu');
  await page.screenshot({ path: path.join(shots, 'page-phone-menu.png') });
  await page.keyboard.press('Escape');
  await page.setViewport({ width: 1280, height: 800 });
});

test('Page.ChecksOfflineAfterAReload', async () => {
  await page.evaluate(() => navigator.serviceWorker.ready.then(() => true));
  await server.close();
  await page.setOfflineMode(true);
  await page.reload({ waitUntil: 'load' });
  await page.evaluate(() => window.tovuriReady.then(() => true));
  await page.$eval('#editor', (el) => { el.value = ''; });
  await page.click('#editor');
  await page.keyboard.type('Sibona abntwana. ');
  await waitForWords(page, ['abntwana']);
  await page.setOfflineMode(false);
});
