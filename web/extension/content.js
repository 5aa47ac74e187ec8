// Underlines misspelt Ndebele words in the page's text areas, text fields
// and editable elements: on a page or field whose language is Ndebele (nd, nd-ZW) without
// asking, on any other site once the user has turned it on there. The text
// is checked by the extension's own worker; the page's text is changed only
// when the user chooses a suggestion.
(() => {
  'use strict';
  const NDEBELE = /^nd(-zw)?$/i;
  const attached = new Map();  // field -> its underlines
  let siteEnabled = false;

  const ask = (message) => new Promise((resolve, reject) => {
    chrome.runtime.sendMessage(message, (reply) => {
      if (chrome.runtime.lastError) reject(new Error(chrome.runtime.lastError.message));
      else if (!reply || reply.error) reject(new Error(reply ? reply.error : 'no answer'));
      else resolve(reply.result);
    });
  });
  const checker = {
    checkText: (text) => ask({ type: 'checkText', text }),
    suggest: (word) => ask({ type: 'suggest', word }),
    ignore: (word) => ask({ type: 'ignore', word }),
    add: (word) => ask({ type: 'add', word }),
  };

  const isTextField = (el) => el instanceof HTMLTextAreaElement ||
    (el instanceof HTMLInputElement && ['text', 'search', ''].includes(el.getAttribute('type') || '')) ||
    (el instanceof HTMLElement && el.isContentEditable && !(el.parentElement && el.parentElement.isContentEditable));
  // The editable element a node is in: the outermost one, which the user edits.
  const editingHost = (node) => {
    let el = node instanceof Element ? node : node && node.parentElement;
    while (el && el.parentElement && el.parentElement.isContentEditable) el = el.parentElement;
    return el;
  };
  const languageOf = (el) => {
    const owner = el.closest('[lang]');
    return owner ? owner.getAttribute('lang') : document.documentElement.getAttribute('lang') || '';
  };
  const wanted = (el) => isTextField(el) && !el.readOnly && !el.disabled &&
    el.getAttribute('spellcheck') !== 'false' && (siteEnabled || NDEBELE.test(languageOf(el)));

  function attach(el) {
    if (!el || attached.has(el) || !wanted(el)) return;
    attached.set(el, new TovuriUnderlines(el, checker));
  }

  function scan() {
    for (const el of document.querySelectorAll('textarea, input, [contenteditable]')) attach(editingHost(el));
    for (const [el, underlines] of attached)
      if (!el.isConnected || !wanted(el)) {
        underlines.detach();
        attached.delete(el);
      }
  }

  document.addEventListener('focusin', (e) => attach(editingHost(e.composedPath()[0])), true);
  chrome.storage.onChanged.addListener((changes, area) => {
    if (area !== 'local') return;
    if (changes.sites) {
      siteEnabled = (changes.sites.newValue || []).includes(location.origin);
      scan();
    }
    if (changes.words) for (const underlines of attached.values()) underlines.recheck();
  });
  chrome.storage.local.get('sites').then(({ sites = [] }) => {
    siteEnabled = sites.includes(location.origin);
    scan();
  });
})();
