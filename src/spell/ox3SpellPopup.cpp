// The checker component's correction menu for the live spelling editor.
#include <algorithm>

#include "spell/ox3SpellBase.h"

namespace tovuri {

namespace {

// The menu offers at most this many suggestions.
constexpr size_t kMaxMenuSuggestions = 5;

// String numbers of the menu's entries.
constexpr TSpellLanguageString kStrNoSuggestions = 60;
constexpr TSpellLanguageString kStrMenuIgnore = 61;
constexpr TSpellLanguageString kStrMenuIgnoreAll = 62;
constexpr TSpellLanguageString kStrMenuAdd = 63;
constexpr TSpellLanguageString kStrMenuChangeAll = 64;
constexpr TSpellLanguageString kStrMenuAutoCorrect = 65;
constexpr TSpellLanguageString kStrMenuSpelling = 66;

int Code(TSpellPopupOption option) { return static_cast<int>(option); }

TPopupMenuItem Separator() { return {}; }

std::vector<TPopupMenuItem> SuggestionItems(const std::vector<std::string>& suggestions, TSpellPopupOption result) {
  std::vector<TPopupMenuItem> items;
  for (const std::string& s : suggestions) items.push_back({s, Code(result), true, s, {}});
  return items;
}

}  // namespace

TSpellPopupOption TOrthexSpell3Base::ShowWordPopup(TTextControl& /*control*/, TSpellPopupOptions options,
                                                   std::string& word, TScreenPoint at) {
  using enum TSpellPopupOption;
  if (popup_showing_ || ui_ == nullptr) return spCancel;
  configuration_->EnsureLoaded();
  std::vector<std::string> suggestions;
  if (options.Has(spReplace) || options.Has(spChangeAll) || options.Has(spAutoCorrect)) {
    GetSuggestions(word, suggestions);
    if (suggestions.size() > kMaxMenuSuggestions) suggestions.resize(kMaxMenuSuggestions);
  }
  const bool has_custom = active_custom_ != nullptr;

  std::vector<TPopupMenuItem> items;
  if (options.Has(spReplace)) {
    if (suggestions.empty())
      items.push_back({GetUIString(kStrNoSuggestions), Code(spCancel), false, {}, {}});
    else
      items = SuggestionItems(suggestions, spReplace);
    items.push_back(Separator());
  }
  if (options.Has(spIgnore)) items.push_back({GetUIString(kStrMenuIgnore), Code(spIgnore), true, {}, {}});
  if (options.Has(spIgnoreAll)) items.push_back({GetUIString(kStrMenuIgnoreAll), Code(spIgnoreAll), true, {}, {}});
  if (options.Has(spAdd)) items.push_back({GetUIString(kStrMenuAdd), Code(spAdd), has_custom, {}, {}});
  items.push_back(Separator());
  if (options.Has(spChangeAll) && !suggestions.empty())
    items.push_back({GetUIString(kStrMenuChangeAll), Code(spChangeAll), true, {}, SuggestionItems(suggestions, spChangeAll)});
  if (options.Has(spAutoCorrect) && !suggestions.empty() && has_custom)
    items.push_back({GetUIString(kStrMenuAutoCorrect), Code(spAutoCorrect), true, {},
                     SuggestionItems(suggestions, spAutoCorrect)});
  if (options.Has(spDialog)) items.push_back({GetUIString(kStrMenuSpelling), Code(spDialog), true, {}, {}});
  // No separator closes the menu.
  while (!items.empty() && items.back().Caption.empty() && items.back().Items.empty()) items.pop_back();
  if (OnPopupCreateMenu) OnPopupCreateMenu(*this, items);

  popup_showing_ = true;
  const TPopupMenuItem* chosen = ui_->ShowPopupMenu(items, at);
  popup_showing_ = false;
  if (chosen == nullptr) return spCancel;
  popup_tag_ = chosen->Result;
  popup_caption_ = chosen->Caption;
  if (chosen->Result < Code(spCancel) || chosen->Result > Code(spReplace)) return spCancel;
  TSpellPopupOption result = static_cast<TSpellPopupOption>(chosen->Result);
  std::string replacement = chosen->Word;

  switch (result) {
    case spAutoCorrect:
      if (active_custom_) active_custom_->AddAutoCorrect(word, replacement);
      LearnReplacement(word, replacement);
      break;
    case spChangeAll:
      internal_dictionary_->AddAutoCorrect(word, replacement);
      LearnReplacement(word, replacement);
      break;
    case spAdd:
      if (active_custom_) active_custom_->AddWord(word);
      break;
    case spIgnoreAll:
      IgnoreAllForms(word);
      break;
    case spReplace:
      LearnReplacement(word, replacement);
      break;
    default:
      break;
  }
  const std::string original = word;
  if (result == spAutoCorrect || result == spChangeAll || result == spReplace) word = replacement;
  if (OnPopupResult) {
    OnPopupResult(*this, result, replacement);
    if (result == spAutoCorrect || result == spChangeAll || result == spReplace) word = replacement;
  }
  popup_result_listeners_.Notify(*this, result, original, replacement);
  return result;
}

}  // namespace tovuri
