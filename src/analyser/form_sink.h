#pragma once
// Where a generator puts the forms it makes: a list that keeps them all, or a
// matcher that tests each form against one word as it is made.
#include <initializer_list>
#include <string>
#include <string_view>
#include <vector>

namespace tovuri {

class FormSink {
 public:
  virtual ~FormSink() = default;
  // One form, given as the pieces that are concatenated to make it.
  virtual void Add(std::initializer_list<std::string_view> pieces) = 0;
  void Add(std::string_view form) { Add({form}); }
  // True once the sink needs no more forms; generators stop early then.
  bool Done() const { return done_; }

 protected:
  bool done_ = false;
};

// Keeps every form in generation order, duplicates included.
class FormList final : public FormSink {
 public:
  using FormSink::Add;
  void Add(std::initializer_list<std::string_view> pieces) override;
  std::vector<std::string> forms;
};

// Decides, form by form, what FindInForms decides over the complete list:
// a capitals-only word matches any spelling; another word matches exactly or
// after its first letter is lowered, and that lowering sticks once made.
class FormMatcher final : public FormSink {
 public:
  explicit FormMatcher(std::string_view word);
  using FormSink::Add;
  void Add(std::initializer_list<std::string_view> pieces) override;
  bool Found() const { return done_; }
  // Starts a new generator pass: the word gets its original first letter back.
  void Reset();

 private:
  std::string word_;
  std::string original_;
  bool all_capitals_;
};

// The membership test over a finished form list. With consume set, every
// form examined is deleted from the list.
bool FindInForms(std::string_view word, std::vector<std::string>& forms, bool consume);

}  // namespace tovuri
