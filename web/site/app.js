// The page: the editor with live underlines, the user's words in the
// browser's storage, the word count, copy and download.
import { Tovuri } from './tovuri.js';

const WORDS_KEY = 'tovuri.words';
const TEXT_KEY = 'tovuri.text';
const editor = document.getElementById('editor');
const status = document.getElementById('status');
const count = document.getElementById('count');

function storedWords() {
  try {
    return JSON.parse(localStorage.getItem(WORDS_KEY) || '[]');
  } catch {
    return [];
  }
}

// The data's cache is named for the build, so a new build fetches new data.
const ready = Tovuri.load(new URL('./', location.href), { cacheName: 'tovuri-data-@VERSION@' });
window.tovuriReady = ready;

if ('serviceWorker' in navigator) navigator.serviceWorker.register('sw.js').catch(() => {});

editor.value = localStorage.getItem(TEXT_KEY) || '';
const countWords = () => {
  const words = editor.value.match(/[\p{L}\p{M}\p{N}]+(?:['’-][\p{L}\p{M}\p{N}]+)*/gu) || [];
  count.textContent = `${words.length} ${words.length === 1 ? 'word' : 'words'}`;
};
countWords();
editor.addEventListener('input', () => {
  countWords();
  try {
    localStorage.setItem(TEXT_KEY, editor.value);
  } catch {
    // A full storage only loses the draft.
  }
});

document.getElementById('copy').addEventListener('click', async () => {
  try {
    await navigator.clipboard.writeText(editor.value);
  } catch {
    editor.select();
    document.execCommand('copy');
  }
  status.textContent = 'Copied.';
});
document.getElementById('download').addEventListener('click', () => {
  const link = document.createElement('a');
  link.href = URL.createObjectURL(new Blob([editor.value], { type: 'text/plain;charset=utf-8' }));
  link.download = 'tovuri.txt';
  link.click();
  setTimeout(() => URL.revokeObjectURL(link.href), 1000);
});

ready.then(async (t) => {
  for (const word of storedWords()) t.add(word);
  // At the first visit the word index is made away from the page (seconds);
  // checking waits for it rather than building it here and freezing the page.
  status.textContent = 'Preparing the Ndebele word index (first visit only)...';
  await t.indexReady;
  status.textContent = 'Ready.';
  const checker = {
    checkText: async (text) => t.checkText(text),
    suggest: async (word) => t.suggest(word),
    ignore: async (word) => t.ignore(word),
    add: async (word) => {
      t.add(word);
      const words = storedWords();
      if (!words.includes(word)) words.push(word);
      localStorage.setItem(WORDS_KEY, JSON.stringify(words));
    },
  };
  const underlines = new TovuriUnderlines(editor, checker);
  underlines.onChecked = (spans) => {
    status.textContent = spans.length === 0 ? 'No misspelt words.' : `${spans.length} to check.`;
  };
}, (error) => {
  status.textContent = `Tovuri could not start: ${error.message}`;
});
