#include "analyser/word_check_index.h"

#include <fcntl.h>
#include <sys/mman.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cstdio>
#include <cstring>
#include <filesystem>
#include <fstream>

#include "analyser/analyser_fingerprint.h"
#include "analyser/closed_class.h"
#include "analyser/text_case.h"
#include "analyser/word_check.h"

namespace tovuri {
namespace {

// Longer stems are never tried.
constexpr size_t kMaxStem = 20;

bool EndsWith(std::string_view s, std::string_view end) {
  return s.size() >= end.size() && s.substr(s.size() - end.size()) == end;
}

bool IsAllCapitals(std::string_view word) {
  return std::all_of(word.begin(), word.end(), [](char c) { return c >= 'A' && c <= 'Z'; });
}

bool HasCapitals(std::string_view s) {
  return std::any_of(s.begin(), s.end(), [](char c) { return FoldCase(c) != c; });
}

// Tests forms as FindInForms would, but lets a pattern table decide from the
// word itself when the table's values are all it has met in this pass.
class FastSink final : public TableSink {
 public:
  FastSink(std::string_view word, std::string_view folded, const WordCheckIndex& index)
      : folded_(folded),
        index_(index),
        as_given_(word),
        first_lowered_(LowerFirst(word)),
        all_capitals_(IsAllCapitals(word)),
        rest_lower_(!HasCapitals(word.substr(1))) {}

  using FormSink::Add;
  void Add(std::initializer_list<std::string_view> pieces) override {
    seen_ = true;
    current_->Add(pieces);
    done_ = current_->Found();
  }

  bool TakeTable(const PatternTable& table, const PatternValues& values) override {
    if (seen_ || done_) return false;
    switch (table.MatchFolded(values, folded_, index_.CacheFor(table))) {
      case TableMatch::kNone:
        return true;
      case TableMatch::kLowerCase:
        // Every form is lower case, so the form met equals the folded word:
        // the word matches as it is, or with its first letter lowered, which
        // then stays lowered.
        seen_ = true;
        done_ = all_capitals_ || rest_lower_;
        if (!all_capitals_) current_ = &first_lowered_;
        return true;
      case TableMatch::kMixedCase:
        return false;
    }
    return false;
  }

  // Starts a new generator pass.
  void Reset() {
    as_given_.Reset();
    first_lowered_.Reset();
    current_ = &as_given_;
    seen_ = false;
    done_ = false;
  }
  bool Found() const { return done_; }

 private:
  static std::string LowerFirst(std::string_view word) {
    std::string lowered(word);
    if (!lowered.empty()) lowered[0] = FoldCase(lowered[0]);
    return lowered;
  }

  std::string_view folded_;
  const WordCheckIndex& index_;
  FormMatcher as_given_;
  FormMatcher first_lowered_;
  FormMatcher* current_ = &as_given_;
  bool all_capitals_;
  bool rest_lower_;
  bool seen_ = false;
};

// An open file descriptor, closed with the object.
class FileDescriptor {
 public:
  explicit FileDescriptor(int fd) : fd_(fd) {}
  ~FileDescriptor() {
    if (fd_ >= 0) ::close(fd_);
  }
  FileDescriptor(const FileDescriptor&) = delete;
  FileDescriptor& operator=(const FileDescriptor&) = delete;
  int get() const { return fd_; }

 private:
  int fd_;
};

// Reads exactly size bytes at offset; false on a short read or an error.
bool ReadAt(int fd, char* out, size_t size, off_t offset) {
  while (size > 0) {
    const ssize_t got = ::pread(fd, out, size, offset);
    if (got < 0 && errno == EINTR) continue;
    if (got <= 0) return false;
    out += got;
    size -= static_cast<size_t>(got);
    offset += got;
  }
  return true;
}

constexpr size_t kChecksumBlock = size_t{1} << 20;

// The payload's checksum, read through a small buffer rather than the
// mapping, so that checking it leaves no pages of the file resident.
[[maybe_unused]] bool PayloadChecksum(int fd, size_t offset, size_t size, uint64_t root, uint64_t& checksum) {
  std::vector<char> block(std::min(size, kChecksumBlock));
  checksum = root;
  for (size_t done = 0; done < size; done += block.size()) {
    const size_t n = std::min(block.size(), size - done);
    if (!ReadAt(fd, block.data(), n, static_cast<off_t>(offset + done))) return false;
    checksum = ChecksumBytes({block.data(), n}, checksum);
  }
  return true;
}

}  // namespace

uint64_t IndexPayloadChecksum(std::string_view payload, uint64_t root) {
  uint64_t checksum = root;
  for (size_t done = 0; done < payload.size(); done += kChecksumBlock)
    checksum = ChecksumBytes(payload.substr(done, kChecksumBlock), checksum);
  return checksum;
}

uint64_t WordCheckCodeFingerprint() {
  return HashBytes("word check index", TOVURI_ANALYSER_FINGERPRINT ^ kWordCheckIndexVersion);
}

WordCheckIndex::WordCheckIndex(const Lexicon& lexicon) : lexicon_(lexicon) {
  uint32_t root = 0;
  auto buffer = std::make_shared<std::string>(LayOutWordCheckIndex(lexicon, root));
  bytes_ = IndexBytes(buffer->data(), buffer->size());
  storage_ = std::move(buffer);
  Attach(root);
}

WordCheckIndex::WordCheckIndex(const Lexicon& lexicon, std::shared_ptr<const void> storage,
                               IndexBytes bytes, uint32_t /*root*/)
    : lexicon_(lexicon), storage_(std::move(storage)), bytes_(bytes) {}

bool WordCheckIndex::Attach(uint32_t root_offset) {
  const RootRecord* root = bytes_.Record<RootRecord>(root_offset);
  if (!root || root->entries != lexicon_.size()) return false;
  child_begin_ = bytes_.Array<uint32_t>(root->child_begin);
  child_bytes_ = bytes_.Array<unsigned char>(root->child_bytes);
  child_nodes_ = bytes_.Array<uint32_t>(root->child_nodes);
  needle_begin_ = bytes_.Array<uint32_t>(root->needle_begin);
  needles_ = bytes_.Array<NeedleRecord>(root->needles);
  closed_forms_ = StringSetView(bytes_, root->closed_forms);
  for (const TableCacheRecord& cache : bytes_.Array<TableCacheRecord>(root->table_caches))
    caches_.emplace_back(cache.fingerprint, PatternMatchView(bytes_, cache.cache));
  templates_ = PassTemplatesView(bytes_, root->templates);
  pass_begin_ = bytes_.Array<uint32_t>(root->pass_begin);
  passes_ = bytes_.Array<PassRecord>(root->passes);
  // Every array must be there, and the parallel ones of the same length.
  return !child_begin_.empty() && child_begin_.size() == root->child_begin.count &&
         child_bytes_.size() == root->child_bytes.count &&
         child_nodes_.size() == child_bytes_.size() && child_nodes_.size() == root->child_nodes.count &&
         needle_begin_.size() == child_begin_.size() && needles_.size() == root->needles.count &&
         caches_.size() == root->table_caches.count &&
         templates_.size() == root->templates.count &&
         pass_begin_.size() == lexicon_.size() + 1 && passes_.size() == root->passes.count;
}

std::unique_ptr<WordCheckIndex> WordCheckIndex::Open(const std::string& path,
                                                     const Lexicon& lexicon,
                                                     std::string& problem) {
  const FileDescriptor file(::open(path.c_str(), O_RDONLY | O_CLOEXEC));
  if (file.get() < 0) {
    problem = errno == ENOENT ? "missing" : std::string("cannot be read: ") + std::strerror(errno);
    return nullptr;
  }
  struct stat status {};
  if (::fstat(file.get(), &status) != 0 || !S_ISREG(status.st_mode)) {
    problem = "not a regular file";
    return nullptr;
  }
  const auto size = static_cast<size_t>(status.st_size);
  IndexFileHeader header;
  if (size < sizeof header || !ReadAt(file.get(), reinterpret_cast<char*>(&header), sizeof header, 0)) {
    problem = "truncated (no complete header)";
    return nullptr;
  }
  const IndexFileHeader expected;
  if (std::memcmp(header.magic, expected.magic, sizeof header.magic) != 0) {
    problem = "not a word check index";
    return nullptr;
  }
  if (header.version != kWordCheckIndexVersion || header.header_size != sizeof header ||
      header.code_fingerprint != WordCheckCodeFingerprint()) {
    problem = "made by another version of Tovuri";
    return nullptr;
  }
  if (header.lexicon_checksum != lexicon.SourceChecksum || header.entries != lexicon.size()) {
    // A lexicon whose lines the loader found damaged explains the mismatch:
    // the index was most likely made from the sound file.
    problem = lexicon.DamagedLines > 0
                  ? "does not match " + lexicon.SourceDir + "dictionary.txt, which is damaged (as said above)"
                  : "stale (made from other lexicon files)";
    return nullptr;
  }
  if (header.payload_size != size - sizeof header) {
    problem = size - sizeof header < header.payload_size ? "truncated" : "damaged (wrong size)";
    return nullptr;
  }
#ifndef FUZZING_BUILD_MODE_UNSAFE_FOR_PRODUCTION
  // Fuzzing builds skip the checksum so damaged bytes reach the record reader.
  uint64_t checksum = 0;
  if (!PayloadChecksum(file.get(), sizeof header, header.payload_size, header.root, checksum)) {
    problem = "cannot be read";
    return nullptr;
  }
  if (checksum != header.payload_checksum) {
    problem = "damaged (checksum mismatch)";
    return nullptr;
  }
#endif
  if (header.root > header.payload_size) {
    problem = "damaged (root record outside the payload)";
    return nullptr;
  }
  void* mapped = ::mmap(nullptr, size, PROT_READ, MAP_PRIVATE, file.get(), 0);
  if (mapped == MAP_FAILED) {
    problem = std::string("cannot be mapped: ") + std::strerror(errno);
    return nullptr;
  }
  // A word reads a few scattered records: reading ahead around them would
  // only fill memory.
  ::madvise(mapped, size, MADV_RANDOM);
  std::shared_ptr<const void> mapping(mapped, [size](const void* at) {
    ::munmap(const_cast<void*>(at), size);
  });
  const IndexBytes bytes(static_cast<const char*>(mapped) + sizeof header, header.payload_size);
  std::unique_ptr<WordCheckIndex> index(
      new WordCheckIndex(lexicon, std::move(mapping), bytes, static_cast<uint32_t>(header.root)));
  if (!index->Attach(static_cast<uint32_t>(header.root))) {
    problem = "damaged (its records do not fit together)";
    return nullptr;
  }
  return index;
}

bool WriteWordCheckIndex(const Lexicon& lexicon, const std::string& path, std::string& problem) {
  uint32_t root = 0;
  const std::string payload = LayOutWordCheckIndex(lexicon, root);
  if (payload.empty()) {
    problem = "the index would exceed 4 GiB";
    return false;
  }
  IndexFileHeader header;
  header.code_fingerprint = WordCheckCodeFingerprint();
  header.lexicon_checksum = lexicon.SourceChecksum;
  header.entries = lexicon.size();
  header.payload_size = payload.size();
  header.payload_checksum = IndexPayloadChecksum(payload, root);
  header.root = root;
  const std::string temporary = path + ".tmp";
  {
    std::ofstream out(temporary, std::ios::binary | std::ios::trunc);
    out.write(reinterpret_cast<const char*>(&header), sizeof header);
    out.write(payload.data(), static_cast<std::streamsize>(payload.size()));
    out.close();
    if (!out) {
      std::remove(temporary.c_str());
      problem = "cannot write " + temporary;
      return false;
    }
  }
  std::error_code error;
  std::filesystem::rename(temporary, path, error);
  if (error) {
    std::remove(temporary.c_str());
    problem = "cannot replace " + path + ": " + error.message();
    return false;
  }
  return true;
}

uint32_t WordCheckIndex::Child(uint32_t node, unsigned char c) const {
  if (size_t{node} + 1 >= child_begin_.size()) return 0;
  const uint32_t end = std::min<uint32_t>(child_begin_[node + 1], static_cast<uint32_t>(child_bytes_.size()));
  for (uint32_t k = child_begin_[node]; k < end; ++k)
    if (child_bytes_[k] == c) return child_nodes_[k];
  return 0;
}

std::vector<size_t> WordCheckIndex::Candidates(std::string_view word) const {
  const std::string w = ToLower(word);
  const bool locative = EndsWith(w, "eni") || EndsWith(w, "ini");
  // Each found entry as a number that sorts longest stems first and in
  // lexicon order within one length.
  std::vector<uint64_t> found;
  for (size_t start = 0; start < w.size(); ++start) {
    uint32_t node = 0;
    for (size_t at = start; at < w.size(); ++at) {
      node = Child(node, static_cast<unsigned char>(w[at]));
      if (node == 0 || size_t{node} + 1 >= needle_begin_.size()) break;
      const uint32_t end = std::min<uint32_t>(needle_begin_[node + 1], static_cast<uint32_t>(needles_.size()));
      for (uint32_t k = needle_begin_[node]; k < end; ++k) {
        const NeedleRecord& needle = needles_[k];
        if ((locative || !needle.locative) && needle.entry < lexicon_.size() &&
            needle.stem_length <= kMaxStem)
          found.push_back(uint64_t{kMaxStem - needle.stem_length} << 32 | needle.entry);
      }
    }
  }
  std::sort(found.begin(), found.end());
  found.erase(std::unique(found.begin(), found.end()), found.end());
  std::vector<size_t> ordered(found.size());
  for (size_t k = 0; k < found.size(); ++k) ordered[k] = static_cast<size_t>(found[k] & 0xFFFFFFFFu);
  return ordered;
}

const PatternMatchView* WordCheckIndex::CacheFor(const PatternTable& table) const {
  for (const auto& [fingerprint, cache] : caches_)
    if (fingerprint == table.Fingerprint()) return &cache;
  return nullptr;
}

bool WordCheckIndex::IsClosedClass(std::string_view word, std::string_view folded) const {
  if (!closed_forms_.Contains(folded)) return false;
  return IsClosedClassWord(word);
}

namespace {

// No field of a pass is longer than a lexicon line's hundred characters and
// the few letters a derived pass adds; a longer one is damage, and forms
// generated from it would take minutes to match.
bool HoldsLexiconFields(const PassRecord& pass) {
  constexpr uint32_t kMaxField = 128;
  for (const IndexRef& field : {pass.tag, pass.prefix, pass.stem, pass.final, pass.attribute})
    if (field.count > kMaxField) return false;
  return true;
}

}  // namespace

bool WordCheckIndex::IsWord(std::string_view word) const {
  if (word.empty()) return true;
  const std::string folded = ToLower(word);
  if (IsClosedClass(word, folded)) return true;
  FastSink sink(word, folded, *this);
  const bool all_capitals = IsAllCapitals(word);
  const bool rest_lower = !HasCapitals(word.substr(1));
  for (size_t i : Candidates(folded)) {
    if (i + 1 >= pass_begin_.size()) continue;
    const uint32_t end = std::min<uint32_t>(pass_begin_[i + 1], static_cast<uint32_t>(passes_.size()));
    for (uint32_t k = pass_begin_[i]; k < end; ++k) {
      const PassRecord& pass = passes_[k];
      if (!HoldsLexiconFields(pass)) continue;
      const std::string_view stem = Text(pass.stem);
      if (pass.template_id >= 0) {
        const TableMatch match = templates_.Match(pass.template_id, stem, folded);
        if (match == TableMatch::kNone) continue;
        // Every form is lower case: the word matches as it is or with its first letter lowered.
        if (match == TableMatch::kLowerCase) {
          if (all_capitals || rest_lower) return true;
          continue;
        }
      }
      sink.Reset();
      GenerateFormsForTag(Text(pass.tag), Text(pass.prefix), stem, Text(pass.final),
                          Text(pass.attribute), sink);
      if (sink.Found()) return true;
    }
  }
  return false;
}

WordCheckIndex::Sizes WordCheckIndex::GetSizes() const {
  Sizes sizes;
  sizes.trie_nodes = child_begin_.empty() ? 0 : child_begin_.size() - 1;
  sizes.needles = needles_.size();
  sizes.closed_forms = closed_forms_.size();
  sizes.pass_templates = templates_.size();
  sizes.bytes = bytes_.size();
  return sizes;
}

}  // namespace tovuri
