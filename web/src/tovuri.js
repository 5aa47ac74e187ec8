// Tovuri in a browser or node: the C API compiled to WebAssembly, with the
// Ndebele data fetched once (Cache Storage keeps it in a browser).
//   const t = await Tovuri.load(baseUrl);
//   t.check('abantu') -> true; t.suggest('abntu') -> ['abantu', ...]
//   t.checkText(text) -> [{start, end, word}], offsets as String.prototype.slice takes them
import createTovuriCore from './tovuri_core.js';

// What the core reads, each served gzip-compressed (NAME.gz) and unpacked
// here, so any static server will do. The word check index is not among
// them: the core builds it from the lexicon, which is 190 times smaller.
export const DATA_FILES = ['dictionary.txt', 'passives.txt', 'Ndebele.oxm', 'English.oxm', 'letter_model.tsv'];
const WASM_FILE = 'tovuri_core.wasm';
const DATA_DIR = '/data';
const INDEX_FILE = 'Ndebele.idx';

const isNode = typeof process === 'object' && process.versions != null && process.versions.node != null;

async function unpack(bytes) {
  const stream = new Blob([bytes]).stream().pipeThrough(new DecompressionStream('gzip'));
  return new Uint8Array(await new Response(stream).arrayBuffer());
}

// The bytes at url, from the cache when it holds them; fetched and kept otherwise.
async function fetchPacked(url, cacheName) {
  if (url.protocol === 'file:') {
    const fs = await import('node:fs/promises');
    return new Uint8Array(await fs.readFile(url));
  }
  const cache = cacheName && typeof caches === 'object' ? await caches.open(cacheName) : null;
  let response = cache ? await cache.match(url.href) : undefined;
  if (!response) {
    response = await fetch(url.href);
    if (!response.ok) throw new Error(`Tovuri: cannot fetch ${url.href} (${response.status})`);
    if (cache) await cache.put(url.href, response.clone());
  }
  return new Uint8Array(await response.arrayBuffer());
}

// The word check index kept at an earlier load, or null.
async function keptIndex(key, cacheName) {
  const kept = await (await caches.open(cacheName)).match(key.href);
  return kept ? unpack(new Uint8Array(await kept.arrayBuffer())) : null;
}

// Makes the index file beside the lexicon and keeps it, compressed. Returns
// once the file is made (bytes: its bytes, null when it cannot be made) and
// the keeping has begun; kept resolves when it is kept.
function makeIndex(core, dir, key, cacheName) {
  if (core._tovuri_web_write_index(dir) !== 1) return { bytes: null, kept: Promise.resolve(false) };
  const bytes = core.FS.readFile(`${DATA_DIR}/${INDEX_FILE}`);
  const packed = new Blob([bytes]).stream().pipeThrough(new CompressionStream('gzip'));
  const kept = caches.open(cacheName).then((cache) => cache.put(key.href, new Response(packed))).then(() => true, () => false);
  return { bytes, kept };
}

// The module with the data in its file system, and the compressed bytes read.
async function loadCore(base, cacheName) {
  const names = [WASM_FILE, ...DATA_FILES];
  const packed = await Promise.all(names.map((name) => fetchPacked(new URL(name + '.gz', base), cacheName)));
  const [wasm, ...data] = await Promise.all(packed.map(unpack));
  const notices = [];
  const core = await createTovuriCore({
    wasmBinary: wasm,
    print: (line) => notices.push(line),
    printErr: (line) => notices.push(line),
  });
  core.FS.mkdirTree(DATA_DIR);
  DATA_FILES.forEach((name, i) => core.FS.writeFile(`${DATA_DIR}/${name}`, data[i]));
  const dir = core._malloc(DATA_DIR.length + 2);
  new TextEncoder().encodeInto(DATA_DIR + '/\0', core.HEAPU8.subarray(dir, dir + DATA_DIR.length + 2));
  return { core, dir, notices, bytes: packed.reduce((sum, b) => sum + b.length, 0) };
}

// Resolves to the index file's bytes once the worker has made it (null when
// it could not); the worker ends once it has kept them.
function startIndexWorker(base, cacheName, indexCacheName) {
  return new Promise((resolve) => {
    const worker = new Worker(new URL('./index_worker.js', import.meta.url), { type: 'module' });
    worker.onmessage = (e) => {
      if (e.data && 'bytes' in e.data) resolve(e.data.bytes);
      else worker.terminate();
    };
    worker.onerror = () => {
      worker.terminate();
      resolve(null);
    };
    worker.postMessage({ base: base.href, cacheName, indexCacheName });
  });
}

function baseOf(baseUrl) {
  if (baseUrl instanceof URL) return baseUrl;
  const text = String(baseUrl ?? '.');
  const withSlash = text.endsWith('/') ? text : text + '/';
  if (/^[a-z][a-z0-9+.-]*:/i.test(withSlash)) return new URL(withSlash);
  if (isNode) return new URL(withSlash, `file://${process.cwd()}/`);
  return new URL(withSlash, globalThis.location.href);
}

export class Tovuri {
  // Fetches the module and the data from baseUrl (a folder URL, or a path in
  // node), opens the checker and resolves to it. options.cacheName names the
  // Cache Storage cache (default 'tovuri-data'); null fetches every time.
  //
  // The word check index is made from the lexicon: the core builds it in
  // memory when it first needs it (seconds, and four times the memory of the
  // index file). Where Cache Storage is (options.indexCacheName, default
  // cacheName; null: nowhere), the index file is made once and kept,
  // compressed, and later loads map it: in a worker of its own in a page,
  // so the first load is not held up; at this load where no worker can be
  // started (an extension's service worker).
  static async load(baseUrl, options = {}) {
    const base = baseOf(baseUrl);
    const cacheName = options.cacheName === undefined ? 'tovuri-data' : options.cacheName;
    const indexCacheName = options.indexCacheName === undefined ? cacheName : options.indexCacheName;
    const { core, dir, notices, bytes } = await loadCore(base, cacheName);
    let indexReady = Promise.resolve();
    if (indexCacheName && typeof caches === 'object') {
      const key = new URL(INDEX_FILE, base);
      const kept = await keptIndex(key, indexCacheName);
      if (kept) {
        core.FS.writeFile(`${DATA_DIR}/${INDEX_FILE}`, kept);
      } else if (typeof Worker === 'function') {
        // The core opens the index when it first needs the analyser: a file
        // placed before then is mapped, and nothing is built here.
        indexReady = startIndexWorker(base, cacheName, indexCacheName).then((made) => {
          if (made) core.FS.writeFile(`${DATA_DIR}/${INDEX_FILE}`, made);
        });
      } else {
        makeIndex(core, dir, key, indexCacheName);
      }
    }
    const handle = core._tovuri_open(dir);
    core._free(dir);
    if (handle === 0) throw new Error('Tovuri: ' + core.UTF8ToString(core._tovuri_last_error()));
    const t = new Tovuri(core, handle, notices, bytes);
    t.indexReady = indexReady;
    return t;
  }

  // Makes the word check index file and keeps it for later loads (what the
  // index worker does): {bytes (null when it cannot be made), kept (a promise)}.
  static async makeIndex(baseUrl, cacheName, indexCacheName) {
    const base = baseOf(baseUrl);
    const { core, dir } = await loadCore(base, cacheName);
    return makeIndex(core, dir, new URL(INDEX_FILE, base), indexCacheName);
  }

  constructor(core, handle, notices, downloadedBytes) {
    // Resolves when the first verdict on a word the dictionaries lack will
    // not have to build the word check index in memory (at a page's first
    // load, once its worker has made the index file).
    this.indexReady = Promise.resolve();
    this.core = core;
    this.handle = handle;
    this.notices = notices;  // what the core said while loading (the index built in memory)
    this.downloadedBytes = downloadedBytes;  // compressed bytes of the module and data
    this.encoder = new TextEncoder();
  }

  // Calls body(pointer, byteLength) with text copied into the module's memory.
  withText(text, body) {
    const capacity = text.length * 3 + 1;
    const at = this.core._malloc(capacity);
    try {
      const { written } = this.encoder.encodeInto(text, this.core.HEAPU8.subarray(at, at + capacity));
      return body(at, written);
    } finally {
      this.core._free(at);
    }
  }

  // Whether the word is accepted as written.
  check(word) {
    return this.withText(word, (at, length) => this.core._tovuri_check(this.handle, at, length) === 1);
  }

  // Replacements for the word, best first.
  suggest(word) {
    const core = this.core;
    return this.withText(word, (at, length) => {
      const slot = core._malloc(4);
      try {
        const count = core._tovuri_suggest(this.handle, at, length, slot);
        const list = core.HEAPU32[slot >> 2];
        const words = [];
        for (let i = 0; i < count; ++i) words.push(core.UTF8ToString(core.HEAPU32[(list >> 2) + i]));
        core._tovuri_free_list(list, count);
        return words;
      } finally {
        core._free(slot);
      }
    });
  }

  // The words of text that are not accepted, in order: [{start, end, word}]
  // with start and end in UTF-16 code units, as JavaScript strings count.
  checkText(text) {
    const core = this.core;
    const bytes = this.withText(text, (at, length) => {
      const slots = core._malloc(8);
      try {
        if (core._tovuri_check_text(this.handle, at, length, slots, slots + 4) !== 1) return [];
        const spans = core.HEAPU32[slots >> 2];
        const count = core.HEAPU32[(slots >> 2) + 1];
        const offsets = Array.from(core.HEAPU32.subarray(spans >> 2, (spans >> 2) + 2 * count));
        core._tovuri_free_spans(spans);
        return offsets;
      } finally {
        core._free(slots);
      }
    });
    // Byte offsets (ascending) to UTF-16 offsets, in one walk over the text.
    const units = [];
    let byte = 0;
    let unit = 0;
    for (const target of bytes) {
      while (byte < target && unit < text.length) {
        const c = text.codePointAt(unit);
        byte += c < 0x80 ? 1 : c < 0x800 ? 2 : c < 0x10000 ? 3 : 4;
        unit += c < 0x10000 ? 1 : 2;
      }
      units.push(unit);
    }
    const words = [];
    for (let i = 0; i < units.length; i += 2)
      words.push({ start: units[i], end: units[i + 1], word: text.slice(units[i], units[i + 1]) });
    return words;
  }

  // Accepts the word from now on (the caller keeps the user's words: the
  // page in its storage, the extension in its own).
  add(word) {
    return this.withText(word, (at, length) => this.core._tovuri_add_to_session(this.handle, at, length) === 1);
  }

  // Ignore All: accepts the word until the checker is closed.
  ignore(word) {
    return this.add(word);
  }

  close() {
    if (this.handle) this.core._tovuri_close(this.handle);
    this.handle = 0;
  }
}

export default Tovuri;
