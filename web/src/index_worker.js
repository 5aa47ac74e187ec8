// Makes the word check index file away from the page and keeps it in Cache
// Storage, so the page's later loads map it instead of building it.
import { Tovuri } from './tovuri.js';

self.onmessage = async ({ data }) => {
  let made = { bytes: null, kept: Promise.resolve(false) };
  try {
    made = await Tovuri.makeIndex(data.base, data.cacheName, data.indexCacheName);
  } catch {
    // Without the index file the page's core builds the index in memory.
  }
  // The page gets a copy at once; the worker's own bytes are compressed and kept.
  self.postMessage({ bytes: made.bytes });
  await made.kept;
  self.postMessage({ kept: true });
};
