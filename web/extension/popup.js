// The extension's button: turns checking on or off for the current site.
(async () => {
  const box = document.getElementById('site');
  const [tab] = await chrome.tabs.query({ active: true, currentWindow: true });
  let origin = null;
  try {
    origin = new URL(tab.url).origin;
  } catch {
    // A tab without a web address (a browser page) cannot be checked.
  }
  if (!origin || origin === 'null') {
    box.disabled = true;
    return;
  }
  document.getElementById('origin').textContent = new URL(tab.url).host || origin;
  const { sites = [] } = await chrome.storage.local.get('sites');
  box.checked = sites.includes(origin);
  box.addEventListener('change', async () => {
    const { sites: now = [] } = await chrome.storage.local.get('sites');
    const next = box.checked ? [...new Set([...now, origin])] : now.filter((s) => s !== origin);
    await chrome.storage.local.set({ sites: next });
  });
})();
