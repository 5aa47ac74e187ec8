// Makes the word check index file away from the page and keeps it in Cache
// Storage, so the page's later loads map it instead of building it.
import { Tovuri } from './tovuri.js';

self.onmessage = async ({ data }) => {
  let made = false;
  try {
    made = await Tovuri.keepIndex(data.base, data.cacheName, data.indexCacheName);
  } catch {
    // Without a kept index the core builds it in memory, as it did here.
  }
  self.postMessage(made);
};
