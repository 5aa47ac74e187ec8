// What the web tests share: where the built front ends and the native
// programs are, and the development samples' words.
import fs from 'node:fs';
import os from 'node:os';
import path from 'node:path';
import { spawnSync } from 'node:child_process';
import { fileURLToPath } from 'node:url';

const here = path.dirname(fileURLToPath(import.meta.url));
export const root = path.resolve(here, '../..');
export const webOut = path.resolve(process.env.TOVURI_WEB_OUT || path.join(root, 'build-web'));
export const nativeBin = path.resolve(process.env.TOVURI_NATIVE_BIN || path.join(root, 'build/bin'));
export const samplesDir = process.env.TOVURI_SAMPLES || '/work/shared/eval';

// The development samples' distinct words; where the samples are not (a
// fresh machine), every tenth word of the main word list instead.
export function sampleWords() {
  const words = new Set();
  if (!fs.existsSync(samplesDir)) {
    const list = fs.readFileSync(path.join(root, 'data/wordlist.txt'), 'utf8').split('\n');
    return list.filter((w, i) => w && !w.startsWith('#') && i % 10 === 0);
  }
  for (const name of fs.readdirSync(samplesDir).filter((n) => n.endsWith('.tsv')).sort())
    for (const line of fs.readFileSync(path.join(samplesDir, name), 'utf8').split('\n')) {
      const word = line.split('\t')[0];
      if (word) words.add(word);
    }
  return [...words];
}

// Runs tovuri-check in a home of its own, so no user's words count; its
// output (status 1 only says that some word was rejected).
export function native(args) {
  const home = fs.mkdtempSync(path.join(os.tmpdir(), 'tovuri-web-'));
  try {
    const env = { ...process.env, HOME: home, XDG_DATA_HOME: `${home}/data`, XDG_CONFIG_HOME: `${home}/config` };
    const run = spawnSync(path.join(nativeBin, 'tovuri-check'), ['--data', nativeBin, ...args],
      { env, encoding: 'utf8', maxBuffer: 1 << 28 });
    if (run.status !== 0 && run.status !== 1) throw new Error(`tovuri-check ${args[0]}: status ${run.status}: ${run.stderr}`);
    return run.stdout;
  } finally {
    fs.rmSync(home, { recursive: true, force: true });
  }
}

// A reproducible single slip of a word: a letter left out, two neighbours
// swapped, or a letter replaced.
export function slip(word, i) {
  const at = (i * 7) % (word.length - 1);
  const letters = 'abcdefghijklmnopqrstuvwxyz';
  switch (i % 3) {
    case 0: return word.slice(0, at) + word.slice(at + 1);
    case 1: return word.slice(0, at) + word[at + 1] + word[at] + word.slice(at + 2);
    default: return word.slice(0, at) + letters[(i * 5) % 26] + word.slice(at + 1);
  }
}
