#pragma once
// The records of a laid-out word check index, shared by the code that lays
// it out and the code that reads it.
#include <cstdint>

#include "analyser/index_format.h"

namespace tovuri {

// Bumped whenever the layout or the meaning of any record changes.
constexpr uint32_t kWordCheckIndexVersion = 2;

struct NeedleRecord {
  uint32_t entry = 0;
  uint8_t stem_length = 0;  // of the entry, which orders the candidates
  uint8_t locative = 0;     // counts only in words ending in "eni" or "ini"
  uint16_t unused = 0;
};

// The laid-out cache of one pattern table, found by the table's fingerprint.
struct TableCacheRecord {
  uint64_t fingerprint = 0;
  uint32_t cache = 0;  // offset of the cache's record
  uint32_t unused = 0;
};

// One generator pass: its five arguments and its template, or -1.
struct PassRecord {
  IndexRef tag, prefix, stem, final, attribute;
  int32_t template_id = -1;
  uint32_t unused = 0;
};

struct RootRecord {
  // The trie: node n's children are at [child_begin[n], child_begin[n + 1])
  // of child_bytes and child_nodes; its needles likewise through needle_begin.
  IndexRef child_begin, child_bytes, child_nodes;
  IndexRef needle_begin, needles;
  StringSetRecord closed_forms;  // case-folded
  IndexRef table_caches;
  IndexRef templates;
  // Entry i's passes are at [pass_begin[i], pass_begin[i + 1]) of passes.
  IndexRef pass_begin, passes;
  uint32_t entries = 0;
  uint32_t unused = 0;
};

// The word check index file: this header, then the laid-out bytes.
struct IndexFileHeader {
  char magic[8] = {'T', 'o', 'v', 'u', 'r', 'i', 'W', 'C'};
  uint32_t version = kWordCheckIndexVersion;
  uint32_t header_size = sizeof(IndexFileHeader);
  uint64_t code_fingerprint = 0;  // of the generators that made the forms
  uint64_t lexicon_checksum = 0;  // of the lexicon files it was built from
  uint64_t entries = 0;
  uint64_t payload_size = 0;
  uint64_t payload_checksum = 0;
  uint64_t root = 0;  // offset of the RootRecord within the payload
};

}  // namespace tovuri
