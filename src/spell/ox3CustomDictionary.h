#pragma once
// The user's own dictionary: added words, excluded words and auto-correct
// pairs in an open-addressing hash table over a byte heap, stored in a file
// (".oxu", ".oxl") that is that very structure.
#include <cstdint>
#include <memory>
#include <mutex>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "spell/ox3FileIO.h"

namespace tovuri {

// The fixed text at the start of every custom dictionary file (119 bytes,
// stored with a zero byte after it).
inline constexpr std::string_view kCustomDictionaryBanner =
    "Orthex User Dictionary, Version 4.0\r\n"
    "Tovuri custom dictionary: added, excluded and autocorrect words.\r\n"
    "Binary data.\r\n"
    "\r\n";
static_assert(kCustomDictionaryBanner.size() == 119);

// Bytes of a word plus its replacement that an entry may hold.
inline constexpr std::size_t kMaxCustomEntryBytes = 500;

// The slot where a word's probe sequence starts in a table of table_size
// slots (signed 32-bit arithmetic that wraps); the probe step is
// (hash rem 97) + 1.
int32_t CustomDictionaryHash(std::string_view word, int32_t table_size);

// The kind byte of an entry record; Any matches every kind in a search.
enum class EntryKind : char { Added = 'I', Excluded = 'E', AutoCorrect = 'A', Any = '*' };

// A custom dictionary, file-backed or in memory. The file is loaded on
// first use; queries may run from several threads (a lock serialises them).
class TCustomDictionary {
 public:
  TCustomDictionary();
  // Deactivates, which saves pending changes.
  virtual ~TCustomDictionary();
  TCustomDictionary(const TCustomDictionary&) = delete;
  TCustomDictionary& operator=(const TCustomDictionary&) = delete;

  // Names the backing file (empty: in memory only) when CanOpen agrees;
  // the contents are loaded by the first lookup or change.
  bool Open(const std::string& path);
  // Loads or unloads the contents. Unloading saves pending changes first and
  // keeps the dictionary loaded when that save fails. Loading refuses a file
  // whose banner, counts, table or heap do not hold together.
  bool SetActive(bool active);
  bool Active() const;
  bool Modified() const;
  const std::string& Filename() const { return filename_; }

  // True when path is empty, holds a custom dictionary file, or names a
  // place where a file can be created.
  static bool CanOpen(const std::string& path);

  // Entries of each kind; the ...At accessors list them in table order.
  int AddedWordCount() const;
  int ExcludedWordCount() const;
  int AutoCorrectPairCount() const;
  std::string AddedWordAt(int index) const;
  std::string ExcludedWordAt(int index) const;
  bool AutoCorrectPairAt(int index, std::string& word, std::string& replacement) const;

  bool Contains(std::string_view word) const;
  bool IsExcluded(std::string_view word) const;
  bool FindAutoCorrect(std::string_view word, std::string& replacement) const;

  // Each word has at most one entry of any kind; an add that would break
  // that, an empty word, or more than 500 bytes answers false.
  bool AddWord(std::string_view word);
  bool AddExcluded(std::string_view word);
  bool AddAutoCorrect(std::string_view word, std::string_view replacement);
  bool RemoveWord(std::string_view word);
  bool RemoveExcluded(std::string_view word);
  bool RemoveAutoCorrect(std::string_view word);

  // Writes pending changes to the file. When another process saved the
  // file since it was loaded, this object's changes are replayed onto that
  // version instead, so neither set of words is lost; a lock file beside the
  // dictionary (its name + ".lock") keeps two processes from doing so at
  // once. A save that fails keeps the changes for the next one.
  bool Save();
  // Why the last save failed; empty after a save that succeeded.
  std::string SaveError() const;
  // Takes over the unsaved changes of another object of the same file (one
  // whose save failed), so that this object's next save writes them too.
  // False, and nothing moves, when this dictionary cannot be loaded.
  bool TakePendingChanges(TCustomDictionary& from);
  // Writes the whole dictionary to path.
  bool SaveAs(const std::string& path);
  // Empties the dictionary (not marked as modified).
  void Clear();

  // A new, empty dictionary of the same kind; the save merge uses it.
  virtual std::unique_ptr<TCustomDictionary> CreateSibling() const;

  // The table's state, for tools and tests.
  uint32_t EntryCount() const;
  uint32_t TableSize() const;
  uint32_t HeapUsed() const;

 private:
  enum class ChangeOp : uint8_t { Add, Remove };
  struct Change {
    ChangeOp op;
    EntryKind kind;
    std::string word;
    std::string replacement;
  };
  // Everything that loading fills; mutable because lookups load on demand.
  struct Contents {
    bool active = false;
    bool modified = false;
    std::optional<FileVersion> loaded_version;  // nothing: the file did not exist
    uint32_t added_count = 0;
    uint32_t excluded_count = 0;
    uint32_t autocorrect_count = 0;
    uint32_t entry_count = 0;
    uint32_t dead_slots = 0;
    std::string heap;
    std::vector<int32_t> table;
    bool index_lists_valid = false;
    std::vector<int32_t> added_index, excluded_index, autocorrect_index;
    std::vector<Change> changes;  // in the order made, for the save merge
  };

  bool Activate() const;
  bool Load() const;
  void Unload() const;
  bool SaveLocked();
  bool SaveUnderFileLock();
  bool SaveFailed(std::string reason);
  bool WriteFile(const std::string& path) const;
  void BuildIndexLists() const;
  std::string_view EntryText(int32_t position) const;
  bool FindEntry(EntryKind kind, std::string_view word, int32_t* position, uint32_t* slot) const;
  void PlaceInTable(std::vector<int32_t>& table, std::string_view word, int32_t position) const;
  bool InsertEntry(std::string_view word, int32_t position);
  bool AddEntry(EntryKind kind, std::string_view word, std::string_view replacement);
  bool RemoveEntry(EntryKind kind, std::string_view word);
  bool Add(EntryKind kind, std::string_view word, std::string_view replacement);
  bool Remove(EntryKind kind, std::string_view word);
  bool Replay(const Change& change);

  std::string filename_;
  std::string save_error_;
  mutable std::recursive_mutex mutex_;
  mutable Contents c_;
};

}  // namespace tovuri
