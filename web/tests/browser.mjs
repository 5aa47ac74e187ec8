// Headless Chromium for the page and extension tests, and a small static
// server that can be stopped (the network gone) mid-test.
import fs from 'node:fs';
import http from 'node:http';
import path from 'node:path';
import puppeteer from 'puppeteer-core';

const TYPES = { '.html': 'text/html; charset=utf-8', '.js': 'text/javascript', '.css': 'text/css',
  '.json': 'application/json', '.gz': 'application/octet-stream', '.png': 'image/png' };

// Serves dir on 127.0.0.1; resolves to {url, close, bytes} (bytes: the body bytes sent).
export function serve(dir, extraFiles = {}) {
  const state = { bytes: 0 };
  const server = http.createServer((request, response) => {
    const name = decodeURIComponent(new URL(request.url, 'http://x').pathname);
    if (extraFiles[name] !== undefined) {
      response.writeHead(200, { 'Content-Type': TYPES['.html'] });
      response.end(extraFiles[name]);
      return;
    }
    const file = path.join(dir, name.endsWith('/') ? name + 'index.html' : name);
    if (!file.startsWith(dir) || !fs.existsSync(file) || !fs.statSync(file).isFile()) {
      response.writeHead(404);
      response.end();
      return;
    }
    const body = fs.readFileSync(file);
    state.bytes += body.length;
    response.writeHead(200, { 'Content-Type': TYPES[path.extname(file)] || 'application/octet-stream' });
    response.end(body);
  });
  return new Promise((resolve) => server.listen(0, '127.0.0.1', () => {
    state.url = `http://127.0.0.1:${server.address().port}/`;
    state.close = () => new Promise((done) => { server.closeAllConnections(); server.close(done); });
    resolve(state);
  }));
}

export function launch(extraArgs = []) {
  return puppeteer.launch({
    executablePath: process.env.TOVURI_CHROMIUM || '/usr/bin/chromium',
    headless: true,
    args: ['--no-sandbox', '--disable-gpu', '--no-first-run', ...extraArgs],
  });
}

// Every underlined word's element, in the document and its open shadow roots.
export function underlinedWords(page) {
  return page.evaluate(() => {
    const found = [];
    const visit = (root) => {
      for (const el of root.querySelectorAll('*')) {
        if (el.hasAttribute('data-tovuri-word')) {
          const r = el.getBoundingClientRect();
          found.push({ word: el.getAttribute('data-tovuri-word'), x: r.left + r.width / 2, y: r.top + r.height / 2 });
        }
        if (el.shadowRoot) visit(el.shadowRoot);
      }
    };
    visit(document);
    return found;
  });
}

export async function waitForWords(page, expected, timeout = 60000) {
  const until = Date.now() + timeout;
  let words = [];
  while (Date.now() < until) {
    words = await underlinedWords(page);
    if (JSON.stringify(words.map((w) => w.word)) === JSON.stringify(expected)) return words;
    await new Promise((r) => setTimeout(r, 100));
  }
  throw new Error(`underlined ${JSON.stringify(words.map((w) => w.word))}, expected ${JSON.stringify(expected)}`);
}

// The correction menu's buttons, by their text, in the open shadow roots.
export function menuItems(page) {
  return page.evaluate(() => {
    const found = [];
    const visit = (root) => {
      for (const el of root.querySelectorAll('*')) {
        if (el.matches('[role=menu]:not([hidden]) button')) found.push(el.textContent);
        if (el.shadowRoot) visit(el.shadowRoot);
      }
    };
    visit(document);
    return found;
  });
}

export function clickMenuItem(page, label) {
  return page.evaluate((label) => {
    const visit = (root) => {
      for (const el of root.querySelectorAll('*')) {
        if (el.matches('[role=menu]:not([hidden]) button') && el.textContent === label) return el;
        if (el.shadowRoot) {
          const hit = visit(el.shadowRoot);
          if (hit) return hit;
        }
      }
      return null;
    };
    const button = visit(document);
    if (!button) throw new Error(`no menu item ${label}`);
    button.click();
  }, label);
}

export async function waitFor(condition, timeout = 10000) {
  const until = Date.now() + timeout;
  while (Date.now() < until) {
    if (await condition()) return;
    await new Promise((r) => setTimeout(r, 100));
  }
  throw new Error('timed out');
}
