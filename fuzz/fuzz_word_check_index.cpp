// The word check index reader on damaged files. The index of a small lexicon
// is laid out once; each input is a list of patches to it, each aimed at one
// of its arrays (most bytes of an index are string tables, so bytes changed at
// random would seldom reach the trie or the pass records). The header's
// identity fields and checksum are then made right for the patched bytes, so
// they reach the record reader instead of stopping at the checks before it,
// and whatever opens is asked for words.
//
// A patch: region (1 byte), offset (4), length (1), then that many bytes.
// Region 0xFF cuts the bytes short at offset, 0xFE sets the root offset.
#include <cstddef>
#include <cstdlib>
#include <cstring>
#include <vector>

#include "analyser/lexicon.h"
#include "analyser/word_check_index.h"
#include "analyser/word_check_layout.h"
#include "fuzz_support.h"

using namespace tovuri;

namespace {

struct Region {
  size_t offset = 0;
  size_t size = 0;
};

struct Base {
  Lexicon lexicon;
  std::string payload;
  uint32_t root = 0;
  std::vector<Region> regions;
};

Region Of(IndexRef ref, size_t element_size) { return {ref.offset, size_t{ref.count} * element_size}; }

const Base& SmallIndex() {
  static const Base base = [] {
    Base made;
    made.lexicon = LoadLexicon(TOVURI_FUZZ_INDEX_LEXICON_DIR, nullptr);
    made.payload = LayOutWordCheckIndex(made.lexicon, made.root);
    RootRecord root;
    std::memcpy(&root, made.payload.data() + made.root, sizeof root);
    made.regions = {{0, made.payload.size()},
                    {made.root, sizeof root},
                    Of(root.child_begin, sizeof(uint32_t)),
                    Of(root.child_bytes, 1),
                    Of(root.child_nodes, sizeof(uint32_t)),
                    Of(root.needle_begin, sizeof(uint32_t)),
                    Of(root.needles, sizeof(NeedleRecord)),
                    Of(root.closed_forms.slot_table, sizeof(uint32_t)),
                    Of(root.closed_forms.text, 1),
                    Of(root.table_caches, sizeof(TableCacheRecord)),
                    {root.templates.offset, 64},
                    Of(root.pass_begin, sizeof(uint32_t)),
                    Of(root.passes, sizeof(PassRecord))};
    // The records each table cache points at.
    for (size_t k = 0; k < root.table_caches.count; ++k) {
      TableCacheRecord cache;
      std::memcpy(&cache, made.payload.data() + root.table_caches.offset + k * sizeof cache, sizeof cache);
      made.regions.push_back({cache.cache, 64});
    }
    for (Region& region : made.regions) {
      region.offset = std::min(region.offset, made.payload.size());
      region.size = std::min(region.size, made.payload.size() - region.offset);
    }
    return made;
  }();
  return base;
}

}  // namespace

extern "C" int LLVMFuzzerInitialize(int*, char***) {
  SmallIndex();
  return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  const Base& base = SmallIndex();
  std::string payload = base.payload;
  uint64_t root = base.root;
  std::string_view input = fuzz::AsText(data, size);
  const bool patched = !input.empty();
  constexpr size_t kPatchHead = 6;
  while (input.size() >= kPatchHead) {
    const auto region_id = static_cast<unsigned char>(input[0]);
    uint32_t at = 0;
    std::memcpy(&at, input.data() + 1, sizeof at);
    const size_t length = static_cast<unsigned char>(input[5]);
    input.remove_prefix(kPatchHead);
    const std::string_view bytes = input.substr(0, length);
    input.remove_prefix(bytes.size());
    if (region_id == 0xFF) {
      payload.resize(at % (payload.size() + 1));
    } else if (region_id == 0xFE) {
      root = at;
    } else {
      const Region& region = base.regions[region_id % base.regions.size()];
      if (region.size == 0) continue;
      const size_t offset = region.offset + at % region.size;
      if (offset >= payload.size()) continue;
      payload.replace(offset, std::min(bytes.size(), payload.size() - offset), bytes.substr(0, payload.size() - offset));
    }
  }

  IndexFileHeader header;
  header.code_fingerprint = WordCheckCodeFingerprint();
  header.lexicon_checksum = base.lexicon.SourceChecksum;
  header.entries = base.lexicon.size();
  header.payload_size = payload.size();
  header.payload_checksum = IndexPayloadChecksum(payload, root);
  header.root = root;
  std::string file(reinterpret_cast<const char*>(&header), sizeof header);
  file += payload;
  std::string problem;
  const auto index = WordCheckIndex::Open(fuzz::WriteScratch("Ndebele.idx", file), base.lexicon, problem);
  // The index as laid out must open.
  if (!index) {
    if (!patched) abort();
    return 0;
  }
  for (const char* word : {"ukuhamba", "siyahamba", "bayazenza", "emlonyeni", "isikolo", "izikolo",
                           "ntambama", "abebi", "ezibanzi", "anduba", "abekho", "duze", "uAbednego",
                           "eAbuja", "Isikolo", "UKUHAMBA", "x"}) {
    index->IsWord(word);
    index->Candidates(word);
  }
  index->GetSizes();
  return 0;
}
