// The word check index reader on damaged files. The index of a small lexicon
// is laid out once; each input is a list of patches to it, each aimed at one
// of its arrays (most bytes of an index are string tables, so bytes changed at
// random would seldom reach the trie or the pass records). The header's
// identity fields are then made right for the patched bytes, and a fuzzing
// build does not verify the payload's checksum, so they reach the record
// reader instead of stopping at the checks before it, and whatever opens is
// asked for words.
//
// A patch: region (1 byte), offset (4), length (1), then that many bytes.
// Region 0xFF cuts the bytes short at offset, 0xFE sets the root offset.
#include <fcntl.h>
#include <unistd.h>

#include <cstddef>
#include <cstdlib>
#include <cstring>
#include <iterator>
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

// The index file every input is tried on, and its payload in memory. Both
// hold the laid-out bytes between inputs: an input's patches are written over
// them and the bytes put back afterwards, rather than megabytes copied and
// written per input.
class ScratchIndex {
 public:
  explicit ScratchIndex(const std::string& laid_out) : laid_out_(laid_out), payload_(laid_out) {
    path_ = fuzz::WriteScratch("Ndebele.idx", std::string(sizeof(IndexFileHeader), '\0') + laid_out);
    fd_ = ::open(path_.c_str(), O_WRONLY | O_CLOEXEC);
    if (fd_ < 0) abort();
  }
  const std::string& path() const { return path_; }
  const std::string& payload() const { return payload_; }

  void Patch(size_t offset, std::string_view bytes) {
    payload_.replace(offset, bytes.size(), bytes);
    Write(sizeof(IndexFileHeader) + offset, bytes);
    changed_.push_back({offset, bytes.size()});
  }
  void Cut(size_t size) {
    changed_.push_back({size, payload_.size() - size});
    payload_.resize(size);
    if (::ftruncate(fd_, static_cast<off_t>(sizeof(IndexFileHeader) + size)) != 0) abort();
  }
  void WriteHeader(const IndexFileHeader& header) {
    Write(0, std::string_view(reinterpret_cast<const char*>(&header), sizeof header));
  }
  // Puts the laid-out bytes back where an input changed them.
  void Restore() {
    payload_.resize(laid_out_.size());
    for (const Region& region : changed_) {
      const std::string_view bytes = std::string_view(laid_out_).substr(region.offset, region.size);
      payload_.replace(region.offset, bytes.size(), bytes);
      Write(sizeof(IndexFileHeader) + region.offset, bytes);
    }
    changed_.clear();
  }

 private:
  void Write(size_t offset, std::string_view bytes) {
    if (::pwrite(fd_, bytes.data(), bytes.size(), static_cast<off_t>(offset)) != static_cast<ssize_t>(bytes.size()))
      abort();
  }

  const std::string& laid_out_;
  std::string payload_;
  std::string path_;
  int fd_ = -1;
  std::vector<Region> changed_;
};

// Opens the index file and asks it for the candidates of two words and the
// verdict on one, chosen by the input's size: a verdict regenerates forms,
// most of an input's cost, and the same records are read for the candidates.
void CheckWords(const std::string& path, const Lexicon& lexicon, bool patched, size_t choice) {
  std::string problem;
  const auto index = WordCheckIndex::Open(path, lexicon, problem);
  // The index as laid out must open.
  if (!index) {
    if (!patched) abort();
    return;
  }
  constexpr const char* kWords[] = {"ukuhamba", "siyahamba", "bayazenza", "emlonyeni", "izikolo", "ntambama",
                                    "ezibanzi", "abekho", "uAbednego", "UKUHAMBA", "x"};
  constexpr size_t kCount = std::size(kWords);
  index->IsWord(kWords[choice % kCount]);
  for (const char* word : {kWords[choice % kCount], kWords[choice / kCount % kCount]}) index->Candidates(word);
  index->GetSizes();
}

}  // namespace

extern "C" int LLVMFuzzerInitialize(int*, char***) {
  SmallIndex();
  return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  const Base& base = SmallIndex();
  static ScratchIndex scratch(base.payload);
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
    const size_t payload_size = scratch.payload().size();
    if (region_id == 0xFF) {
      scratch.Cut(at % (payload_size + 1));
    } else if (region_id == 0xFE) {
      root = at;
    } else {
      const Region& region = base.regions[region_id % base.regions.size()];
      if (region.size == 0) continue;
      const size_t offset = region.offset + at % region.size;
      if (offset < payload_size) scratch.Patch(offset, bytes.substr(0, payload_size - offset));
    }
  }

  IndexFileHeader header;
  header.code_fingerprint = WordCheckCodeFingerprint();
  header.lexicon_checksum = base.lexicon.SourceChecksum;
  header.entries = base.lexicon.size();
  header.payload_size = scratch.payload().size();
  header.root = root;
  scratch.WriteHeader(header);
  CheckWords(scratch.path(), base.lexicon, patched, size);
  // Only now: the index maps the file, and would see bytes put back under it.
  scratch.Restore();
  return 0;
}
