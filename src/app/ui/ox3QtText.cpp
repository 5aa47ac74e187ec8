#include "app/ui/ox3QtText.h"

#include <algorithm>
#include <deque>
#include <mutex>
#include <optional>
#include <utility>

#include "spell/ox3Encoding.h"

namespace tovuri {

namespace {

bool IsStandIn(char c) { return c == kForeignLetter || c == kForeignMark; }

// The runs of text (between spaces) that held a character the code page
// lacks, as the framework saw them and as they were written, most recent
// first. The framework only ever hands back words and pieces of such runs.
class ForeignRuns {
 public:
  void Record(std::string_view ansi, const QString& original) {
    const std::lock_guard lock(mutex_);
    for (size_t start = 0; start < ansi.size();) {
      size_t end = ansi.find(' ', start);
      if (end == std::string_view::npos) end = ansi.size();
      const std::string_view run = ansi.substr(start, end - start);
      if (std::any_of(run.begin(), run.end(), IsStandIn)) {
        std::erase_if(runs_, [&](const auto& known) { return known.first == run; });
        runs_.emplace_front(std::string(run), original.mid(static_cast<qsizetype>(start),
                                                           static_cast<qsizetype>(run.size())));
        if (runs_.size() > kMaxRuns) runs_.pop_back();
      }
      start = end + 1;
    }
  }

  // The characters a piece of a recorded run stood for.
  std::optional<QString> Restore(std::string_view piece) const {
    const std::lock_guard lock(mutex_);
    for (const auto& [ansi, original] : runs_) {
      const size_t at = ansi.find(piece);
      if (at != std::string::npos)
        return original.mid(static_cast<qsizetype>(at), static_cast<qsizetype>(piece.size()));
    }
    return std::nullopt;
  }

 private:
  static constexpr size_t kMaxRuns = 1024;
  mutable std::mutex mutex_;
  std::deque<std::pair<std::string, QString>> runs_;
};

ForeignRuns& Remembered() {
  static ForeignRuns runs;
  return runs;
}

}  // namespace

std::string ToAnsi(const QString& text) {
  std::string out;
  out.resize(static_cast<size_t>(text.size()));
  bool foreign = false;
  for (qsizetype i = 0; i < text.size(); ++i) {
    const QChar unit = text[i];
    char32_t c = unit.unicode();
    // Both halves of a pair stand for the character the pair makes.
    if (unit.isHighSurrogate() && i + 1 < text.size() && text[i + 1].isLowSurrogate())
      c = QChar::surrogateToUcs4(unit, text[i + 1]);
    else if (unit.isLowSurrogate() && i > 0 && text[i - 1].isHighSurrogate())
      c = QChar::surrogateToUcs4(text[i - 1], unit);
    // Line and paragraph separators and other spaces still part words.
    char b = c > 0xFF && unit.isSpace() ? ' ' : ToFrameworkChar(c);
    out[static_cast<size_t>(i)] = b;
    foreign = foreign || IsStandIn(b);
  }
  if (foreign) Remembered().Record(out, text);
  return out;
}

QString FromAnsi(std::string_view text) {
  const std::u16string units = Windows1252ToUtf16(text);
  QString out = QString::fromUtf16(units.data(), static_cast<qsizetype>(units.size()));
  if (!HasForeignChar(text)) return out;
  for (size_t start = 0; start < text.size();) {
    size_t end = text.find(' ', start);
    if (end == std::string_view::npos) end = text.size();
    const std::string_view run = text.substr(start, end - start);
    if (std::any_of(run.begin(), run.end(), IsStandIn)) {
      const std::optional<QString> original = Remembered().Restore(run);
      for (size_t i = 0; i < run.size(); ++i) {
        const auto at = static_cast<qsizetype>(start + i);
        if (original)
          out[at] = (*original)[static_cast<qsizetype>(i)];
        else if (IsStandIn(run[i]))
          out[at] = QChar(0xFFFD);
      }
    }
    start = end + 1;
  }
  return out;
}

}  // namespace tovuri
