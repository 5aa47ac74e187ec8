#include "richtext/rtf_reader.h"

#include <algorithm>
#include <array>
#include <cstdint>
#include <map>
#include <string>
#include <utility>
#include <vector>

#include "spell/ox3Encoding.h"

namespace tovuri {
namespace {

// Longer control words are not RTF; they are read past and ignored.
constexpr size_t kMaxControlWordLetters = 32;
// Groups nested deeper than this are read past and their content dropped,
// so a hostile file cannot make the group stack grow without bound.
constexpr size_t kMaxDepth = 256;
// A parameter is clamped to this magnitude; its further digits are read past.
constexpr int64_t kMaxParameter = 1'000'000'000;
constexpr size_t kMaxFontNameBytes = 256;
constexpr int kMaxUnicodeFallback = 16;
constexpr int kDefaultHalfPoints = 24;  // RTF's default size, 12 points
// Spacing and positions beyond this (about 56 cm) are clamped.
constexpr int64_t kMaxTwips = 32'000;
constexpr size_t kMaxCells = 64;

enum class Action : std::uint8_t {
  aBold,
  aItalic,
  aUnderline,
  aUnderlineNone,
  aPlain,
  aFont,
  aDefaultFont,
  aFontSize,
  aColour,
  aRed,
  aGreen,
  aBlue,
  aUnicode,
  aUnicodeFallback,
  aParagraph,
  aLineBreak,
  aTab,
  aCell,
  aRow,
  aBinary,
  aSymbol,
  aFontTable,
  aColourTable,
  aSkipDestination,
  aParagraphDefaults,
  aSpaceBefore,
  aSpaceAfter,
  aTabStop,
  aInTable,
  aRowDefaults,
  aCellEdge,
  aListText,
};

struct ControlWord {
  std::string_view name;
  Action action;
  char32_t symbol = 0;  // for aSymbol
};

// Sorted by name for binary search. Destinations whose text is not part of
// the document body are skipped whole.
constexpr ControlWord kControlWords[] = {
    {"annotation", Action::aSkipDestination},
    {"author", Action::aSkipDestination},
    {"b", Action::aBold},
    {"bin", Action::aBinary},
    {"blue", Action::aBlue},
    {"bullet", Action::aSymbol, 0x2022},
    {"cell", Action::aCell},
    {"cellx", Action::aCellEdge},
    {"cf", Action::aColour},
    {"colortbl", Action::aColourTable},
    {"comment", Action::aSkipDestination},
    {"datastore", Action::aSkipDestination},
    {"deff", Action::aDefaultFont},
    {"doccomm", Action::aSkipDestination},
    {"emdash", Action::aSymbol, 0x2014},
    {"emspace", Action::aSymbol, 0x2003},
    {"endash", Action::aSymbol, 0x2013},
    {"enspace", Action::aSymbol, 0x2002},
    {"f", Action::aFont},
    {"fldinst", Action::aSkipDestination},
    {"fonttbl", Action::aFontTable},
    {"footer", Action::aSkipDestination},
    {"footerf", Action::aSkipDestination},
    {"footerl", Action::aSkipDestination},
    {"footerr", Action::aSkipDestination},
    {"footnote", Action::aSkipDestination},
    {"fs", Action::aFontSize},
    {"green", Action::aGreen},
    {"header", Action::aSkipDestination},
    {"headerf", Action::aSkipDestination},
    {"headerl", Action::aSkipDestination},
    {"headerr", Action::aSkipDestination},
    {"i", Action::aItalic},
    {"info", Action::aSkipDestination},
    {"intbl", Action::aInTable},
    {"keywords", Action::aSkipDestination},
    {"ldblquote", Action::aSymbol, 0x201C},
    {"line", Action::aLineBreak},
    {"listoverridetable", Action::aSkipDestination},
    {"listtable", Action::aSkipDestination},
    {"listtext", Action::aListText},
    {"lquote", Action::aSymbol, 0x2018},
    {"nestcell", Action::aCell},
    {"nestrow", Action::aRow},
    {"nonshppict", Action::aSkipDestination},
    {"object", Action::aSkipDestination},
    {"operator", Action::aSkipDestination},
    {"par", Action::aParagraph},
    {"pard", Action::aParagraphDefaults},
    {"pict", Action::aSkipDestination},
    {"plain", Action::aPlain},
    {"pntext", Action::aListText},
    {"rdblquote", Action::aSymbol, 0x201D},
    {"red", Action::aRed},
    {"revtbl", Action::aSkipDestination},
    {"row", Action::aRow},
    {"rquote", Action::aSymbol, 0x2019},
    {"rsidtbl", Action::aSkipDestination},
    {"sa", Action::aSpaceAfter},
    {"sb", Action::aSpaceBefore},
    {"shp", Action::aSkipDestination},
    {"stylesheet", Action::aSkipDestination},
    {"subject", Action::aSkipDestination},
    {"tab", Action::aTab},
    {"themedata", Action::aSkipDestination},
    {"title", Action::aSkipDestination},
    {"trowd", Action::aRowDefaults},
    {"tx", Action::aTabStop},
    {"u", Action::aUnicode},
    {"uc", Action::aUnicodeFallback},
    {"ul", Action::aUnderline},
    {"uld", Action::aUnderline},
    {"uldash", Action::aUnderline},
    {"uldashd", Action::aUnderline},
    {"uldashdd", Action::aUnderline},
    {"uldb", Action::aUnderline},
    {"ulhwave", Action::aUnderline},
    {"ulldash", Action::aUnderline},
    {"ulnone", Action::aUnderlineNone},
    {"ulth", Action::aUnderline},
    {"ulthd", Action::aUnderline},
    {"ulthdash", Action::aUnderline},
    {"ulthdashd", Action::aUnderline},
    {"ulthdashdd", Action::aUnderline},
    {"ulthldash", Action::aUnderline},
    {"ululdbwave", Action::aUnderline},
    {"ulw", Action::aUnderline},
    {"ulwave", Action::aUnderline},
    {"xmlnstbl", Action::aSkipDestination},
};
static_assert(std::ranges::is_sorted(kControlWords, {}, &ControlWord::name));

// What a skipped destination held that a document can lose, in the words
// the user is told; destinations not listed hold no content of the document.
struct SkippedKind {
  std::string_view destination;
  std::string_view content;
};
constexpr SkippedKind kSkippedKinds[] = {
    {"annotation", "comments"},
    {"comment", "comments"},
    {"fldinst", "fields such as hyperlinks"},
    {"footer", "headers and footers"},
    {"footerf", "headers and footers"},
    {"footerl", "headers and footers"},
    {"footerr", "headers and footers"},
    {"footnote", "footnotes"},
    {"header", "headers and footers"},
    {"headerf", "headers and footers"},
    {"headerl", "headers and footers"},
    {"headerr", "headers and footers"},
    {"nonshppict", "pictures"},
    {"object", "embedded objects"},
    {"pict", "pictures"},
    {"shp", "drawings"},
};

const ControlWord* FindControlWord(std::string_view name) {
  const auto* found = std::ranges::lower_bound(kControlWords, name, {}, &ControlWord::name);
  return found != std::end(kControlWords) && found->name == name ? found : nullptr;
}

enum class Destination : std::uint8_t { dText, dSkip, dFontTable, dColourTable, dListText };

// The paragraph properties that \pard resets.
struct ParagraphState {
  int space_before = 0;  // twips
  int space_after = 0;
  bool in_table = false;
  std::vector<int> tab_stops;
};

struct FormatState {
  bool bold = false;
  bool italic = false;
  bool underline = false;
  int font = -1;  // font number; -1 for the document's default font
  int half_points = kDefaultHalfPoints;
  int colour = 0;  // index into the colour table
};

struct Group {
  FormatState format;
  ParagraphState paragraph;
  int unicode_fallback = 1;  // characters that stand in for each \uN
  Destination destination = Destination::dText;
};

void AppendUtf8(std::string& out, char32_t cp) {
  if (cp < 0x80) {
    out += static_cast<char>(cp);
  } else if (cp < 0x800) {
    out += static_cast<char>(0xC0 | (cp >> 6));
    out += static_cast<char>(0x80 | (cp & 0x3F));
  } else if (cp < 0x10000) {
    out += static_cast<char>(0xE0 | (cp >> 12));
    out += static_cast<char>(0x80 | ((cp >> 6) & 0x3F));
    out += static_cast<char>(0x80 | (cp & 0x3F));
  } else {
    out += static_cast<char>(0xF0 | (cp >> 18));
    out += static_cast<char>(0x80 | ((cp >> 12) & 0x3F));
    out += static_cast<char>(0x80 | ((cp >> 6) & 0x3F));
    out += static_cast<char>(0x80 | (cp & 0x3F));
  }
}

bool IsLetter(char c) { return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z'); }
bool IsDigit(char c) { return c >= '0' && c <= '9'; }

int HexValue(char c) {
  if (IsDigit(c)) return c - '0';
  if (c >= 'a' && c <= 'f') return c - 'a' + 10;
  if (c >= 'A' && c <= 'F') return c - 'A' + 10;
  return -1;
}

class RtfParser {
 public:
  explicit RtfParser(std::string_view in) : in_(in) {}

  RichDocument Parse() {
    groups_.push_back(Group{});  // the document's own group, opened by the caller's "{"
    while (pos_ < in_.size()) {
      const char c = in_[pos_++];
      switch (c) {
        case '{': OpenGroup(); break;
        case '}':
          if (!CloseGroup()) return Finish();
          break;
        case '\\': ReadControl(); break;
        case '\r':
        case '\n': break;
        default:
          --pos_;
          ReadText();
      }
    }
    return Finish();
  }

 private:
  Group& Top() { return groups_.back(); }
  bool Dropping() const { return excess_depth_ > 0 || groups_.back().destination == Destination::dSkip; }

  // A unit of text that stands in for the last \uN is read past instead.
  bool SkipFallback() {
    if (fallback_left_ == 0) return false;
    --fallback_left_;
    return true;
  }

  void OpenGroup() {
    fallback_left_ = 0;
    if (groups_.size() >= kMaxDepth || excess_depth_ > 0) {
      ++excess_depth_;
      return;
    }
    groups_.push_back(groups_.back());
  }

  // False when the document's own group closed.
  bool CloseGroup() {
    fallback_left_ = 0;
    if (excess_depth_ > 0) {
      --excess_depth_;
      return true;
    }
    if (Top().destination == Destination::dFontTable) CommitFont();
    const bool list_text = Top().destination == Destination::dListText;
    groups_.pop_back();
    if (list_text && !groups_.empty()) CommitListText();
    return !groups_.empty();
  }

  void ReadControl() {
    if (pos_ == in_.size()) return;
    if (!IsLetter(in_[pos_])) {
      ReadControlSymbol(in_[pos_++]);
      return;
    }
    const size_t start = pos_;
    while (pos_ < in_.size() && IsLetter(in_[pos_])) ++pos_;
    const std::string_view name = in_.substr(start, pos_ - start);
    std::optional<int64_t> parameter;
    const bool negative = pos_ + 1 < in_.size() && in_[pos_] == '-' && IsDigit(in_[pos_ + 1]);
    if (negative) ++pos_;
    if (pos_ < in_.size() && IsDigit(in_[pos_])) {
      int64_t value = 0;
      for (; pos_ < in_.size() && IsDigit(in_[pos_]); ++pos_)
        value = std::min(kMaxParameter, value * 10 + (in_[pos_] - '0'));
      parameter = negative ? -value : value;
    }
    if (pos_ < in_.size() && in_[pos_] == ' ') ++pos_;
    if (name.size() > kMaxControlWordLetters) {
      SkipFallback();
      return;
    }
    const ControlWord* word = FindControlWord(name);
    // Binary data is read past wherever it stands, or its bytes would be taken for RTF.
    if (word != nullptr && word->action == Action::aBinary) {
      const auto length = static_cast<size_t>(std::max<int64_t>(0, parameter.value_or(0)));
      pos_ += std::min(length, in_.size() - pos_);
      return;
    }
    if (SkipFallback() || excess_depth_ > 0 || word == nullptr) return;
    Apply(*word, parameter);
  }

  void ReadControlSymbol(char c) {
    if (c == '\'') {
      const int high = pos_ < in_.size() ? HexValue(in_[pos_]) : -1;
      const int low = pos_ + 1 < in_.size() ? HexValue(in_[pos_ + 1]) : -1;
      if (high < 0 || low < 0) return;
      pos_ += 2;
      if (SkipFallback()) return;
      const char byte = static_cast<char>(high * 16 + low);
      TextBytes(std::string_view(&byte, 1));
      return;
    }
    if (SkipFallback()) return;
    switch (c) {
      case '\\':
      case '{':
      case '}': TextBytes(std::string_view(&c, 1)); break;
      case '~': EmitCodePoint(0x00A0); break;
      case '_': TextBytes("-"); break;
      case '*':
        if (groups_.size() > 1) Top().destination = Destination::dSkip;
        break;
      case '\r':
      case '\n': EndParagraph(); break;
      default: break;  // optional hyphens, index marks and the like show nothing
    }
  }

  void Apply(const ControlWord& word, std::optional<int64_t> parameter) {
    FormatState& format = Top().format;
    const auto value = static_cast<int>(parameter.value_or(1));
    switch (word.action) {
      case Action::aBold: format.bold = value != 0; break;
      case Action::aItalic: format.italic = value != 0; break;
      case Action::aUnderline: format.underline = value != 0; break;
      case Action::aUnderlineNone: format.underline = false; break;
      case Action::aPlain: format = FormatState{}; break;
      case Action::aFont:
        if (Top().destination == Destination::dFontTable) {
          CommitFont();
          defining_font_ = static_cast<int>(parameter.value_or(0));
        } else {
          format.font = static_cast<int>(parameter.value_or(0));
        }
        break;
      case Action::aDefaultFont: default_font_ = static_cast<int>(parameter.value_or(0)); break;
      case Action::aFontSize:
        format.half_points = parameter.value_or(0) > 0 ? static_cast<int>(std::min<int64_t>(*parameter, 3276))
                                                       : kDefaultHalfPoints;
        break;
      case Action::aColour: format.colour = static_cast<int>(parameter.value_or(0)); break;
      case Action::aRed: SetComponentValue(colour_.red, parameter); break;
      case Action::aGreen: SetComponentValue(colour_.green, parameter); break;
      case Action::aBlue: SetComponentValue(colour_.blue, parameter); break;
      case Action::aUnicode: {
        if (!parameter) break;
        int64_t cp = *parameter;
        if (cp < 0) cp += 0x10000;
        EmitUtf16Unit(static_cast<char32_t>(std::clamp<int64_t>(cp, 0, 0xFFFF)));
        fallback_left_ = Top().unicode_fallback;
        break;
      }
      case Action::aUnicodeFallback:
        Top().unicode_fallback = static_cast<int>(std::clamp<int64_t>(parameter.value_or(1), 0, kMaxUnicodeFallback));
        break;
      case Action::aParagraph:
        // Inside a table cell a paragraph mark only separates the cell's text.
        if (Top().paragraph.in_table || row_open_)
          cell_break_ = true;
        else
          EndParagraph();
        break;
      case Action::aParagraphDefaults: Top().paragraph = ParagraphState{}; break;
      case Action::aSpaceBefore: Top().paragraph.space_before = Twips(parameter); break;
      case Action::aSpaceAfter: Top().paragraph.space_after = Twips(parameter); break;
      case Action::aTabStop: Top().paragraph.tab_stops.push_back(Twips(parameter)); break;
      case Action::aInTable: Top().paragraph.in_table = true; break;
      case Action::aRowDefaults:
        if (Dropping()) break;
        row_open_ = true;
        cell_edges_.clear();
        break;
      case Action::aCellEdge:
        if (!Dropping() && cell_edges_.size() < kMaxCells) cell_edges_.push_back(Twips(parameter));
        break;
      case Action::aListText:
        if (groups_.size() > 1 && !Dropping()) {
          Top().destination = Destination::dListText;
          list_text_.clear();
        }
        break;
      case Action::aLineBreak: TextUtf8(kLineBreak); break;
      case Action::aTab: TextUtf8("\t"); break;
      case Action::aCell:
        cell_break_ = false;
        TextUtf8("\t");
        break;
      case Action::aRow: EndRow(); break;
      case Action::aSymbol: EmitCodePoint(word.symbol); break;
      case Action::aFontTable:
        if (groups_.size() > 1) Top().destination = Destination::dFontTable;
        break;
      case Action::aColourTable:
        if (groups_.size() > 1) {
          Top().destination = Destination::dColourTable;
          colour_ = Colour{};
          colour_set_ = false;
        }
        break;
      case Action::aSkipDestination:
        if (groups_.size() > 1) Top().destination = Destination::dSkip;
        NoteSkipped(word.name);
        break;
      case Action::aBinary: break;  // handled where it is read
    }
  }

  static int Twips(std::optional<int64_t> parameter) {
    return static_cast<int>(std::clamp<int64_t>(parameter.value_or(0), 0, kMaxTwips));
  }

  void NoteSkipped(std::string_view destination) {
    const auto* kind = std::ranges::find(kSkippedKinds, destination, &SkippedKind::destination);
    if (kind == std::end(kSkippedKinds)) return;
    const std::string content(kind->content);
    if (std::ranges::find(document_.skipped, content) == document_.skipped.end())
      document_.skipped.push_back(content);
  }

  void SetComponentValue(std::uint8_t& component, std::optional<int64_t> parameter) {
    if (Top().destination != Destination::dColourTable) return;
    component = static_cast<std::uint8_t>(std::clamp<int64_t>(parameter.value_or(0), 0, 255));
    colour_set_ = true;
  }

  // Runs of text bytes up to the next brace, backslash or line end.
  void ReadText() {
    const size_t start = pos_;
    while (pos_ < in_.size()) {
      const char c = in_[pos_];
      if (c == '\\' || c == '{' || c == '}' || c == '\r' || c == '\n') break;
      ++pos_;
    }
    std::string_view text = in_.substr(start, pos_ - start);
    while (fallback_left_ > 0 && !text.empty()) {
      --fallback_left_;
      text.remove_prefix(1);
    }
    TextBytes(text);
  }

  // Windows-1252 bytes of the document.
  void TextBytes(std::string_view bytes) {
    if (Dropping() || bytes.empty()) return;
    std::string utf8;
    for (char c : bytes) {
      const auto b = static_cast<unsigned char>(c);
      if (b < 0x20 && c != '\t') continue;
      if (b < 0x80)
        utf8 += c;
      else
        utf8 += Windows1252ToUtf8(std::string_view(&c, 1));
    }
    TextUtf8(utf8);
  }

  void EmitUtf16Unit(char32_t unit) {
    if (unit >= 0xD800 && unit <= 0xDBFF) {
      high_surrogate_ = unit;
      return;
    }
    char32_t cp = unit;
    if (unit >= 0xDC00 && unit <= 0xDFFF) {
      if (high_surrogate_ == 0) return;  // a lone half of a pair stands for nothing
      cp = 0x10000 + ((high_surrogate_ - 0xD800) << 10) + (unit - 0xDC00);
    }
    high_surrogate_ = 0;
    if (cp >= 0x20 || cp == '\t') EmitCodePoint(cp);
  }

  void EmitCodePoint(char32_t cp) {
    std::string utf8;
    AppendUtf8(utf8, cp);
    TextUtf8(utf8);
  }

  void TextUtf8(std::string_view text) {
    if (Dropping() || text.empty()) return;
    switch (Top().destination) {
      case Destination::dText:
        if (cell_break_) {
          cell_break_ = false;
          if (!paragraph_.runs.empty() && paragraph_.runs.back().text.back() != '\t')
            paragraph_.Append(" ", CurrentFormat());
        }
        paragraph_.Append(text, CurrentFormat());
        break;
      case Destination::dListText:
        if (list_text_.size() < kMaxFontNameBytes) list_text_ += text;
        break;
      case Destination::dFontTable:
        for (char c : text) {
          if (c == ';')
            CommitFont();
          else if (font_name_.size() < kMaxFontNameBytes)
            font_name_ += c;
        }
        break;
      case Destination::dColourTable:
        for (char c : text)
          if (c == ';') CommitColour();
        break;
      case Destination::dSkip: break;
    }
  }

  void CommitFont() {
    const size_t first = font_name_.find_first_not_of(' ');
    if (first != std::string::npos) {
      const size_t last = font_name_.find_last_not_of(' ');
      fonts_[defining_font_] = font_name_.substr(first, last - first + 1);
    }
    font_name_.clear();
  }

  // A list item's number or bullet and the tab after it; a numbering that
  // shows nothing (a heading's, say) leaves no tab at the paragraph's start.
  void CommitListText() {
    const std::string text = std::exchange(list_text_, {});
    if (text.find_first_not_of(" \t") == std::string::npos) return;
    TextUtf8(text);
  }

  void CommitColour() {
    colours_.push_back(colour_set_ ? std::optional<Colour>(colour_) : std::nullopt);
    colour_ = Colour{};
    colour_set_ = false;
  }

  CharFormat CurrentFormat() const {
    const FormatState& state = groups_.back().format;
    CharFormat format;
    format.bold = state.bold;
    format.italic = state.italic;
    format.underline = state.underline;
    const auto font = fonts_.find(state.font >= 0 ? state.font : default_font_);
    if (font != fonts_.end()) format.font = font->second;
    format.half_points = state.half_points;
    if (state.colour >= 0 && static_cast<size_t>(state.colour) < colours_.size())
      format.colour = colours_[static_cast<size_t>(state.colour)];
    return format;
  }

  void EndParagraph() {
    if (Dropping() || Top().destination != Destination::dText) return;
    const ParagraphState& state = Top().paragraph;
    paragraph_.space_before = state.space_before;
    paragraph_.space_after = state.space_after;
    if (paragraph_.tab_stops.empty()) paragraph_.tab_stops = state.tab_stops;
    cell_break_ = false;
    document_.paragraphs.push_back(std::move(paragraph_));
    paragraph_ = Paragraph{};
  }

  // A table row ends its paragraph; the tab its last cell left is dropped.
  void EndRow() {
    if (Dropping() || Top().destination != Destination::dText) return;
    if (!paragraph_.runs.empty()) {
      std::string& text = paragraph_.runs.back().text;
      if (!text.empty() && text.back() == '\t') text.pop_back();
      if (text.empty()) paragraph_.runs.pop_back();
    }
    // Each cell starts where the one before it ends, so the columns line up.
    if (cell_edges_.size() > 1) paragraph_.tab_stops.assign(cell_edges_.begin(), cell_edges_.end() - 1);
    row_open_ = false;
    EndParagraph();
    // The row's own paragraph properties were the cells'; the row has no space of its own.
    document_.paragraphs.back().space_before = 0;
    document_.paragraphs.back().space_after = 0;
  }

  RichDocument Finish() {
    if (!paragraph_.runs.empty()) document_.paragraphs.push_back(std::move(paragraph_));
    return std::move(document_);
  }

  std::string_view in_;
  size_t pos_ = 0;
  std::vector<Group> groups_;
  size_t excess_depth_ = 0;
  int fallback_left_ = 0;
  char32_t high_surrogate_ = 0;
  std::map<int, std::string> fonts_;
  int default_font_ = 0;
  int defining_font_ = 0;
  std::string font_name_;
  std::vector<std::optional<Colour>> colours_;
  Colour colour_;
  bool colour_set_ = false;
  RichDocument document_;
  Paragraph paragraph_;
  // Between a row's \trowd and its \row, and the cells' right edges in twips.
  bool row_open_ = false;
  std::vector<int> cell_edges_;
  // A paragraph mark inside a cell: a space goes before the cell's next text.
  bool cell_break_ = false;
  std::string list_text_;
};

}  // namespace

std::optional<RichDocument> ReadRtf(std::string_view bytes) {
  if (bytes.substr(0, 3) == "\xEF\xBB\xBF") bytes.remove_prefix(3);
  const size_t start = bytes.find_first_not_of(" \t\r\n");
  if (start == std::string_view::npos || bytes.substr(start, 5) != "{\\rtf") return std::nullopt;
  return RtfParser(bytes.substr(start + 1)).Parse();
}

}  // namespace tovuri
