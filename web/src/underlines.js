// Live underlines over a text area, a text field or an editable element
// (contenteditable), and the correction menu, shared by the page and the
// extension. The underlines are drawn in an overlay (an open shadow root
// over the field) that takes no clicks, so the field's text, caret and undo
// stay the page's own; the text changes only when the user chooses a
// suggestion. A text area's overlay holds a copy of its text laid out as
// the field lays it out; an editable element's holds a box over each word,
// placed where the browser lays the word out. The checker is asynchronous:
//   checkText(text) -> [{start, end, word}], suggest(word) -> [string],
//   add(word), ignore(word)
(function (global) {
  'use strict';
  const DEBOUNCE_MS = 300;
  const LONG_PRESS_MS = 550;
  const MAX_SUGGESTIONS = 5;
  const MAX_REMEMBERED_PARAGRAPHS = 2000;
  // Styles the overlay copies from the field, so its text lies where the field's does.
  const COPIED = ['fontFamily', 'fontSize', 'fontWeight', 'fontStyle', 'fontVariant', 'fontStretch',
    'lineHeight', 'letterSpacing', 'wordSpacing', 'textTransform', 'textIndent', 'textAlign',
    'direction', 'tabSize', 'paddingTop', 'paddingRight', 'paddingBottom', 'paddingLeft',
    'borderTopWidth', 'borderRightWidth', 'borderBottomWidth', 'borderLeftWidth'];
  const CSS = `
    .mirror { position: absolute; overflow: hidden; pointer-events: none; color: transparent;
      border-style: solid; border-color: transparent; box-sizing: border-box; margin: 0; }
    .word { text-decoration: underline wavy #d1242f; text-decoration-skip-ink: none;
      text-underline-offset: 0.15em; text-decoration-thickness: 1.5px; }
    .box { position: absolute; pointer-events: none; border-bottom: 2px dotted #d1242f; }
    .menu { position: fixed; pointer-events: auto; min-width: 11em; max-width: 90vw; padding: 4px 0;
      background: #fff; color: #1f2328; border: 1px solid #8c959f; border-radius: 6px;
      box-shadow: 0 6px 18px rgba(0,0,0,.2); font: 15px/1.3 system-ui, sans-serif; z-index: 2147483647; }
    .menu[hidden] { display: none; }
    .menu button { display: block; width: 100%; padding: 8px 14px; border: 0; background: none;
      color: inherit; font: inherit; text-align: left; cursor: pointer; }
    .menu button.suggestion { font-weight: 600; }
    .menu button:hover, .menu button:focus { background: #0969da; color: #fff; outline: none; }
    .menu .none { padding: 8px 14px; color: #57606a; font-style: italic; }
    .menu hr { border: 0; border-top: 1px solid #d0d7de; margin: 4px 0; }`;

  class TovuriUnderlines {
    constructor(field, checker, labels = {}) {
      this.field = field;
      this.editable = !(field instanceof HTMLTextAreaElement || field instanceof HTMLInputElement);
      this.segments = [];  // an editable element's text nodes: {node, start, end} in its text
      this.checker = checker;
      this.labels = Object.assign({ ignore: 'Ignore All', add: 'Add to my words', none: 'No suggestions',
        menu: 'Spelling' }, labels);
      this.remembered = new Map();  // paragraph -> its misspelt words (offsets within it)
      this.spans = [];
      this.generation = 0;
      this.timer = 0;
      this.host = document.createElement('div');
      this.host.setAttribute('data-tovuri-overlay', '');
      this.host.style.cssText = 'position:absolute;top:0;left:0;width:0;height:0;pointer-events:none;z-index:2147483646';
      this.root = this.host.attachShadow({ mode: 'open' });
      const style = document.createElement('style');
      style.textContent = CSS;
      this.mirror = document.createElement('div');
      this.mirror.className = 'mirror';
      this.mirror.setAttribute('aria-hidden', 'true');
      this.menu = document.createElement('div');
      this.menu.className = 'menu';
      this.menu.setAttribute('role', 'menu');
      this.menu.setAttribute('aria-label', this.labels.menu);
      this.menu.hidden = true;
      this.root.append(style, this.mirror, this.menu);
      document.body.appendChild(this.host);
      this.listen();
      this.layout();
      this.schedule(0);
    }

    listen() {
      const f = this.field;
      this.handlers = [
        [f, 'input', () => { this.layout(); this.schedule(DEBOUNCE_MS); }],
        [f, 'scroll', () => this.syncScroll()],
        [f, 'contextmenu', (e) => this.onContextMenu(e)],
        [f, 'keydown', (e) => this.onKeyDown(e)],
        [f, 'touchstart', (e) => this.onTouchStart(e), { passive: true }],
        [f, 'touchmove', () => clearTimeout(this.pressTimer), { passive: true }],
        [f, 'touchend', (e) => this.onTouchEnd(e)],
        [window, 'resize', () => this.layout()],
        [document, 'scroll', () => { this.closeMenu(); this.layout(); }, { capture: true, passive: true }],
        [document, 'mousedown', (e) => { if (!e.composedPath().includes(this.menu)) this.closeMenu(); }, true],
        [this.menu, 'keydown', (e) => this.onMenuKey(e)],
      ];
      for (const [target, type, handler, options] of this.handlers) target.addEventListener(type, handler, options);
      if (global.ResizeObserver) {
        this.resizes = new ResizeObserver(() => this.layout());
        this.resizes.observe(f);
      }
    }

    detach() {
      for (const [target, type, handler, options] of this.handlers) target.removeEventListener(type, handler, options);
      if (this.resizes) this.resizes.disconnect();
      clearTimeout(this.timer);
      this.host.remove();
    }

    // The field's text; an editable element's blocks and line breaks are line ends.
    text() {
      if (!this.editable) return this.field.value;
      const BLOCKS = /^(DIV|P|LI|UL|OL|H[1-6]|BLOCKQUOTE|PRE|TR|TD|TH|SECTION|ARTICLE)$/;
      const walker = document.createTreeWalker(this.field, NodeFilter.SHOW_TEXT | NodeFilter.SHOW_ELEMENT);
      let text = '';
      this.segments = [];
      for (let node = walker.nextNode(); node; node = walker.nextNode()) {
        if (node.nodeType === Node.TEXT_NODE) {
          this.segments.push({ node, start: text.length, end: text.length + node.data.length });
          text += node.data;
        } else if ((node.tagName === 'BR' || BLOCKS.test(node.tagName)) && text !== '' && !text.endsWith('\n')) {
          text += '\n';
        }
      }
      return text;
    }

    // The text node and offset in it of an offset in an editable element's text.
    pointAt(offset, after) {
      for (const s of this.segments)
        if (offset < s.end || (offset === s.end && (after || s === this.segments[this.segments.length - 1])))
          if (offset >= s.start) return [s.node, offset - s.start];
      return null;
    }

    rangeOf(start, end) {
      const from = this.pointAt(start, false);
      const to = this.pointAt(end, true);
      if (!from || !to) return null;
      const range = document.createRange();
      range.setStart(...from);
      range.setEnd(...to);
      return range;
    }

    layout() {
      if (this.editable) {
        this.placeBoxes();
        return;
      }
      const f = this.field;
      const style = getComputedStyle(f);
      const rect = f.getBoundingClientRect();
      const m = this.mirror.style;
      for (const name of COPIED) m[name] = style[name];
      m.left = rect.left + window.scrollX + 'px';
      m.top = rect.top + window.scrollY + 'px';
      m.width = rect.width + 'px';
      m.height = rect.height + 'px';
      const single = f.tagName === 'INPUT';
      m.whiteSpace = single ? 'pre' : 'pre-wrap';
      m.overflowWrap = single ? 'normal' : 'break-word';
      // A scroll bar narrows the field's text; the overlay has none.
      const bar = f.offsetWidth - f.clientWidth - parseFloat(style.borderLeftWidth) - parseFloat(style.borderRightWidth);
      if (bar > 0) m.paddingRight = parseFloat(style.paddingRight) + bar + 'px';
      if (single) m.lineHeight = (f.clientHeight - parseFloat(style.paddingTop) - parseFloat(style.paddingBottom)) + 'px';
      this.host.hidden = rect.width === 0 && rect.height === 0;
      this.syncScroll();
    }

    syncScroll() {
      if (this.editable) return;
      this.mirror.scrollTop = this.field.scrollTop;
      this.mirror.scrollLeft = this.field.scrollLeft;
    }

    schedule(delay) {
      clearTimeout(this.timer);
      this.timer = setTimeout(() => this.check(), delay);
    }

    // Checks the paragraphs not checked before; the others' words are remembered.
    async check() {
      const generation = ++this.generation;
      const text = this.text();
      const spans = [];
      let offset = 0;
      for (const paragraph of text.split('\n')) {
        let found = this.remembered.get(paragraph);
        if (found === undefined) {
          found = paragraph.trim() === '' ? [] : await this.checker.checkText(paragraph);
          if (generation !== this.generation) return;
          if (this.remembered.size >= MAX_REMEMBERED_PARAGRAPHS) this.remembered.clear();
          this.remembered.set(paragraph, found);
        }
        for (const s of found) spans.push({ start: offset + s.start, end: offset + s.end, word: s.word });
        offset += paragraph.length + 1;
      }
      if (generation !== this.generation || text !== this.text()) return;
      this.spans = spans;
      this.render(text);
      if (this.onChecked) this.onChecked(spans);
    }

    // Checks everything again (the user's words changed).
    recheck() {
      this.remembered.clear();
      this.schedule(0);
    }

    render(text) {
      if (this.editable) {
        this.placeBoxes();
        return;
      }
      const fragment = document.createDocumentFragment();
      let at = 0;
      for (const s of this.spans) {
        if (s.start > at) fragment.append(text.slice(at, s.start));
        const mark = document.createElement('span');
        mark.className = 'word';
        mark.setAttribute('data-tovuri-word', s.word);
        mark.dataset.start = s.start;
        mark.dataset.end = s.end;
        mark.textContent = text.slice(s.start, s.end);
        fragment.append(mark);
        at = s.end;
      }
      // The zero-width space keeps a last empty line as tall as the field's.
      fragment.append(text.slice(at) + '\u200b');
      this.mirror.replaceChildren(fragment);
      this.layout();
    }

    // A box over each misspelt word of an editable element, a box a line.
    placeBoxes() {
      const boxes = document.createDocumentFragment();
      this.text();
      for (const s of this.spans) {
        const range = this.rangeOf(s.start, s.end);
        if (!range || range.toString() !== s.word) continue;
        for (const r of range.getClientRects()) {
          const box = document.createElement('div');
          box.className = 'box word';
          box.setAttribute('data-tovuri-word', s.word);
          box.dataset.start = s.start;
          box.dataset.end = s.end;
          box.style.cssText = `left:${r.left + window.scrollX}px;top:${r.top + window.scrollY}px;width:${r.width}px;height:${r.height}px`;
          boxes.append(box);
        }
      }
      this.mirror.style.cssText = 'position:absolute;left:0;top:0;width:0;height:0;overflow:visible;border:0;padding:0';
      this.mirror.replaceChildren(boxes);
    }

    // The caret's offset in the field's text.
    caret() {
      if (!this.editable) return this.field.selectionStart;
      const selection = document.getSelection();
      if (!selection || selection.rangeCount === 0) return -1;
      const { startContainer, startOffset } = selection.getRangeAt(0);
      const segment = this.segments.find((s) => s.node === startContainer);
      return segment ? segment.start + startOffset : -1;
    }

    markAt(x, y) {
      for (const mark of this.mirror.querySelectorAll('[data-tovuri-word]'))
        for (const r of mark.getClientRects())
          if (x >= r.left && x <= r.right && y >= r.top - 2 && y <= r.bottom + 2) return mark;
      return null;
    }

    markAtCaret() {
      this.text();
      const at = this.caret();
      for (const mark of this.mirror.querySelectorAll('[data-tovuri-word]'))
        if (at >= Number(mark.dataset.start) && at <= Number(mark.dataset.end)) return mark;
      return null;
    }

    onContextMenu(e) {
      const mark = this.markAt(e.clientX, e.clientY);
      if (!mark) return;
      e.preventDefault();
      this.openMenu(mark, e.clientX, e.clientY);
    }

    onKeyDown(e) {
      if (e.key !== 'ContextMenu' && !(e.shiftKey && e.key === 'F10')) return;
      const mark = this.markAtCaret();
      if (!mark) return;
      e.preventDefault();
      const r = mark.getBoundingClientRect();
      this.openMenu(mark, r.left, r.bottom);
    }

    onTouchStart(e) {
      clearTimeout(this.pressTimer);
      if (e.touches.length !== 1) return;
      const { clientX, clientY } = e.touches[0];
      this.pressTimer = setTimeout(() => {
        const mark = this.markAt(clientX, clientY);
        if (!mark) return;
        this.pressOpened = true;
        this.openMenu(mark, clientX, clientY);
      }, LONG_PRESS_MS);
    }

    // The touch that opened the menu ends without the mouse events a tap
    // makes, which would close it again.
    onTouchEnd(e) {
      clearTimeout(this.pressTimer);
      if (!this.pressOpened) return;
      this.pressOpened = false;
      e.preventDefault();
    }

    async openMenu(mark, x, y) {
      const word = mark.getAttribute('data-tovuri-word');
      const start = Number(mark.dataset.start);
      const end = Number(mark.dataset.end);
      if (!this.menu.hidden && this.menuWord === word && this.menuStart === start) return;
      this.menuWord = word;
      this.menuStart = start;
      const suggestions = (await this.checker.suggest(word)).slice(0, MAX_SUGGESTIONS);
      const items = [];
      const item = (label, className, action) => {
        const b = document.createElement('button');
        b.type = 'button';
        b.className = className;
        b.setAttribute('role', 'menuitem');
        b.textContent = label;
        b.addEventListener('click', () => { this.closeMenu(); action(); });
        items.push(b);
        return b;
      };
      for (const s of suggestions) item(s, 'suggestion', () => this.replace(start, end, word, s));
      const children = [...items];
      if (suggestions.length === 0) {
        const none = document.createElement('div');
        none.className = 'none';
        none.textContent = this.labels.none;
        children.push(none);
      }
      children.push(document.createElement('hr'));
      children.push(item(this.labels.ignore, 'ignore', async () => { await this.checker.ignore(word); this.recheck(); }));
      children.push(item(this.labels.add, 'add', async () => { await this.checker.add(word); this.recheck(); }));
      this.menu.replaceChildren(...children);
      this.menu.hidden = false;
      const w = this.menu.offsetWidth;
      const h = this.menu.offsetHeight;
      this.menu.style.left = Math.max(0, Math.min(x, window.innerWidth - w - 4)) + 'px';
      this.menu.style.top = Math.max(0, y + h + 4 > window.innerHeight ? y - h - 4 : y + 4) + 'px';
      items[0].focus();
    }

    closeMenu() {
      if (this.menu.hidden) return;
      const hadFocus = this.root.activeElement !== null;
      this.menu.hidden = true;
      this.menuWord = null;
      if (hadFocus) this.field.focus();
    }

    onMenuKey(e) {
      const items = [...this.menu.querySelectorAll('button')];
      const at = items.indexOf(this.root.activeElement);
      if (e.key === 'Escape') {
        e.preventDefault();
        this.closeMenu();
      } else if (e.key === 'ArrowDown' || e.key === 'ArrowUp') {
        e.preventDefault();
        const step = e.key === 'ArrowDown' ? 1 : items.length - 1;
        items[(at + step) % items.length].focus();
      } else if (e.key === 'Tab') {
        e.preventDefault();
        items[(at + (e.shiftKey ? items.length - 1 : 1)) % items.length].focus();
      }
    }

    // Puts the suggestion in place of the word, as typing it would (the
    // field's undo keeps it), if the word is still where it was.
    replace(start, end, word, suggestion) {
      const f = this.field;
      if (this.editable) {
        this.text();
        const range = this.rangeOf(start, end);
        if (!range || range.toString() !== word) return;
        f.focus();
        const selection = document.getSelection();
        selection.removeAllRanges();
        selection.addRange(range);
        if (!document.execCommand('insertText', false, suggestion)) {
          range.deleteContents();
          range.insertNode(document.createTextNode(suggestion));
          f.dispatchEvent(new Event('input', { bubbles: true }));
        }
        this.schedule(0);
        return;
      }
      if (f.value.slice(start, end) !== word) {
        const found = f.value.indexOf(word);
        if (found < 0) return;
        start = found;
        end = found + word.length;
      }
      f.focus();
      f.setSelectionRange(start, end);
      const typed = document.execCommand && document.execCommand('insertText', false, suggestion);
      if (!typed) {
        f.setRangeText(suggestion, start, end, 'end');
        f.dispatchEvent(new Event('input', { bubbles: true }));
      }
      this.schedule(0);
    }
  }

  global.TovuriUnderlines = TovuriUnderlines;
})(globalThis);
