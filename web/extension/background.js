// The checker of the extension: the core runs here, in the extension's own
// worker, and answers the content scripts. Nothing is sent anywhere else.
import { Tovuri } from './tovuri.js';

let ready = null;
// The worker may be stopped when idle; the checker is loaded again on demand.
function checker() {
  if (!ready) {
    // The data is in the package; the word check index made at the first
    // start is kept (named for the build) for the worker's next starts.
    ready = Tovuri.load(chrome.runtime.getURL('/'), { cacheName: null, indexCacheName: 'tovuri-index-@VERSION@' })
      .then(async (t) => {
        const { words = [] } = await chrome.storage.local.get('words');
        for (const word of words) t.add(word);
        return t;
      });
    ready.catch(() => { ready = null; });
  }
  return ready;
}

chrome.storage.onChanged.addListener((changes, area) => {
  if (area === 'local' && changes.words && ready)
    ready.then((t) => { for (const word of changes.words.newValue || []) t.add(word); });
});

const answers = {
  checkText: (t, m) => t.checkText(m.text),
  suggest: (t, m) => t.suggest(m.word),
  ignore: (t, m) => t.ignore(m.word),
  add: async (t, m) => {
    t.add(m.word);
    const { words = [] } = await chrome.storage.local.get('words');
    if (!words.includes(m.word)) await chrome.storage.local.set({ words: [...words, m.word] });
    return true;
  },
};

chrome.runtime.onMessage.addListener((message, sender, respond) => {
  const answer = answers[message && message.type];
  if (!answer) return false;
  checker().then((t) => answer(t, message)).then((result) => respond({ result }),
    (error) => respond({ error: String(error && error.message || error) }));
  return true;
});
