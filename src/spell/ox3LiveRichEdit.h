#pragma once
// Live spelling over an editing control: checks the visible lines, keeps
// the misspelt words' spans per line, draws the zig-zag under them, runs the
// correction menu and corrects a word when a delimiter is typed. The editor
// widget forwards its events here and paints through TLivePainter.
#include <cstdint>
#include <functional>
#include <map>
#include <memory>
#include <set>
#include <string>
#include <string_view>
#include <vector>

#include "spell/ox3ParseEngine.h"
#include "spell/ox3SpellBase.h"
#include "spell/ox3StringParser.h"
#include "spell/ox3TextControl.h"

namespace tovuri {

// Draws the underlines; colour is a Windows colour value (0x00BBGGRR).
class TLivePainter {
 public:
  virtual ~TLivePainter();
  virtual void Polyline(const std::vector<TScreenPoint>& points, std::uint32_t colour) = 0;
};

// One misspelt word of a line: character offsets in the line, end exclusive.
struct TSpellingError {
  int Start = 0;
  int End = 0;
  friend bool operator==(const TSpellingError&, const TSpellingError&) = default;
};

// What is known of one drawn line.
struct TLineCache {
  std::string Text;  // the line's text when it was last checked
  std::vector<TSpellingError> Errors;
  bool NeedsRecheck = true;
};

class TOrthexLiveRichEdit {
 public:
  // Lines are checked in at most this many characters.
  static constexpr int kMaxLineLength = 4096;
  // A replace-all shows the busy cursor after this many milliseconds.
  static constexpr int kBusyCursorDelayMs = 500;
  // Every popup option but spCancel.
  static constexpr TSpellPopupOptions kDefaultMenuOptions = TSpellPopupOptions::FromBits(254);
  // The characters whose typing triggers live correction.
  static constexpr std::string_view kDelimiters = " .,;:\t";

  TOrthexLiveRichEdit();
  ~TOrthexLiveRichEdit();
  TOrthexLiveRichEdit(const TOrthexLiveRichEdit&) = delete;
  TOrthexLiveRichEdit& operator=(const TOrthexLiveRichEdit&) = delete;

  // ---- Settings -------------------------------------------------------------

  TTextControl* Control() const { return control_; }
  void AttachControl(TTextControl* control);
  TOrthexSpell3Base* Spell() const { return spell_; }
  // Follows the component's four listener lists; null detaches.
  void SetSpell(TOrthexSpell3Base* spell);
  TMainParsingEngine& ParsingEngine() { return *engine_; }
  void SetParsingEngine(std::unique_ptr<TMainParsingEngine> engine);

  bool LiveSpellingWish() const { return live_spelling_wish_; }
  void SetLiveSpellingWish(bool wish);
  bool LiveCorrectWish() const { return live_correct_wish_; }
  void SetLiveCorrectWish(bool wish);
  std::uint32_t UnderlineColour() const { return colour_; }
  void SetUnderlineColour(std::uint32_t colour);
  bool DoubleBuffered() const { return double_buffered_; }
  void SetDoubleBuffered(bool on) { double_buffered_ = on; }
  bool OptionsFollowUser() const { return options_follow_user_; }
  void SetOptionsFollowUser(bool follow);
  TSpellPopupOptions MenuOptions() const { return menu_options_; }
  void SetMenuOptions(TSpellPopupOptions options) { menu_options_ = options; }
  bool ReadOnlyWish() const { return read_only_wish_; }
  void SetReadOnlyWish(bool wish);

  // Called with the control before the editor replaces text.
  std::function<void(TTextControl& control)> OnBeforeChange;

  // ---- State ------------------------------------------------------------------

  bool LiveSpellingActive() const { return live_spelling_active_; }
  bool LiveCorrectActive() const { return live_correct_active_; }
  // The cache of a line, null when the line was never drawn.
  const TLineCache* LineCache(int line) const;

  // ---- Operations -------------------------------------------------------------

  // Re-derives the active flags from the wishes and the user's options;
  // answers whether live correction is active.
  bool UpdateActiveFlags();
  void InvalidateAll();
  // The control holds another document now: what was ignored at places of
  // the old one (the menu's and the dialog's Ignore) is forgotten.
  void ForgetDocument();
  // A word is acceptable to the component, or was ignored here after the same preceding word.
  bool IsWordAcceptable(const std::string& word, const std::string& preceding);
  void ReplaceAll(const std::string& old_word, const std::string& new_word);
  // 10: ignore the word at the caret after its preceding word; 11, 12: recheck everything.
  void RunAction(int state);
  // An interactive check of the control.
  void CheckControl(TCheckMode mode);

  // ---- Events the widget forwards -------------------------------------------------

  // A character was typed (Windows-1252; 0 for none).
  void KeyPressed(char c) { pending_ = c; }
  void KeyReleased();
  void SelectionChanged();
  // Checks the visible lines that need it and draws their underlines.
  void Paint(TLivePainter& painter);
  // The correction menu at a client point ({-1, -1}: at the caret); false
  // when no misspelt word is there and the control's own menu should show.
  bool ContextMenu(TScreenPoint point);
  void ReadOnlyChanged() { UpdateActiveFlags(); }

 private:
  // A word of a line with its offsets, end exclusive.
  struct LineWord {
    std::string Text;
    int Start = 0;
    int End = 0;
  };

  void RulesRebuilt();
  void ConfigurationChanged();
  void WordIgnored();
  void PopupResult();
  void BeforeChange();
  void Unsubscribe();
  void WireEngine();
  std::vector<LineWord> LineWords(const std::string& line);
  void CheckLine(TLineCache& cache, const std::string& text, int line_start, int caret);
  void DrawErrors(TLivePainter& painter, const TLineCache& cache, int line_start);
  // Client rows of a line's band, from its top to the next line's top.
  void InvalidateLine(int line);
  void MarkLine(int line);

  TTextControl* control_ = nullptr;
  bool live_spelling_wish_ = true;
  bool live_correct_wish_ = true;
  TOrthexSpell3Base* spell_ = nullptr;
  std::uint32_t colour_ = 255;
  bool double_buffered_ = true;
  bool options_follow_user_ = true;
  TSpellPopupOptions menu_options_ = kDefaultMenuOptions;
  bool read_only_wish_ = false;
  char pending_ = 0;
  std::string line_text_;  // the line the string parser reads
  TStringParser string_parser_;
  std::unique_ptr<TMainParsingEngine> engine_;
  bool live_spelling_active_ = false;
  bool live_correct_active_ = false;
  bool busy_ = false;
  bool track_preceding_ = true;
  std::vector<std::unique_ptr<TLineCache>> caches_;
  // Words ignored with the menu's Ignore, each with the words it followed there.
  std::map<std::string, std::set<std::string>> ignored_after_;
};

}  // namespace tovuri
