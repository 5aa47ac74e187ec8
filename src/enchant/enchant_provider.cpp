// The Enchant entry points. The provider runs inside other programs, so it
// prints nothing and no exception crosses into C: every entry point catches
// and answers as Enchant expects of a failure.
#include <enchant-provider.h>
#include <glib.h>

#include <string>
#include <string_view>

#include "tovuri.h"

namespace {

constexpr const char* kLanguageTags[] = {"nd", "nd_ZW"};

bool IsNdebeleTag(std::string_view tag) { return tag == "nd" || tag == "nd_ZW"; }

tovuri* Of(EnchantDict* dict) { return static_cast<tovuri*>(dict->user_data); }

int Check(EnchantDict* dict, const char* const word, size_t length) {
  // Enchant's answer is the other way round: 0 for a correct word.
  switch (tovuri_check(Of(dict), word, length)) {
    case 1:
      return 0;
    case 0:
      return 1;
    default:
      enchant_dict_set_error(dict, tovuri_last_error());
      return -1;
  }
}

char** Suggest(EnchantDict* dict, const char* const word, size_t length, size_t* count) {
  *count = 0;
  char** suggestions = nullptr;
  const size_t found = tovuri_suggest(Of(dict), word, length, &suggestions);
  if (found == 0) return nullptr;
  // Enchant frees the list with g_strfreev.
  char** list = g_new0(char*, found + 1);
  for (size_t i = 0; i < found; ++i) list[i] = g_strdup(suggestions[i]);
  tovuri_free_list(suggestions, found);
  *count = found;
  return list;
}

// A word the user asked to keep that cannot be kept is said through Enchant.
void Said(EnchantDict* dict, int status) {
  if (status < 0) enchant_dict_set_error(dict, tovuri_last_error());
}

void AddToPersonal(EnchantDict* dict, const char* const word, size_t length) {
  Said(dict, tovuri_add(Of(dict), word, length));
}

void AddToSession(EnchantDict* dict, const char* const word, size_t length) {
  Said(dict, tovuri_add_to_session(Of(dict), word, length));
}

void AddToExclude(EnchantDict* dict, const char* const word, size_t length) {
  Said(dict, tovuri_exclude(Of(dict), word, length));
}

void StoreReplacement(EnchantDict* dict, const char* const misspelt, size_t misspelt_length,
                      const char* const replacement, size_t replacement_length) {
  Said(dict, tovuri_store_replacement(Of(dict), misspelt, misspelt_length, replacement, replacement_length));
}

// Apostrophes and hyphens join the parts of a word, so they count only inside one.
const char* ExtraWordCharacters(EnchantDict*) { return "'\u2019-"; }

int IsWordCharacter(EnchantDict*, uint32_t character, size_t where) {
  constexpr size_t kInside = 1;
  if (g_unichar_isalnum(static_cast<gunichar>(character))) return 1;
  return where == kInside && (character == '\'' || character == 0x2019 || character == '-') ? 1 : 0;
}

EnchantDict* RequestDict(EnchantProvider* provider, const char* const tag) {
  if (!IsNdebeleTag(tag)) return nullptr;
  tovuri* checker = tovuri_open(nullptr);
  if (checker == nullptr) {
    enchant_provider_set_error(provider, tovuri_last_error());
    return nullptr;
  }
  EnchantDict* dict = g_new0(EnchantDict, 1);
  dict->user_data = checker;
  dict->check = Check;
  dict->suggest = Suggest;
  dict->add_to_personal = AddToPersonal;
  dict->add_to_session = AddToSession;
  dict->add_to_exclude = AddToExclude;
  dict->store_replacement = StoreReplacement;
  dict->get_extra_word_characters = ExtraWordCharacters;
  dict->is_word_character = IsWordCharacter;
  return dict;
}

void DisposeDict(EnchantProvider*, EnchantDict* dict) {
  tovuri_close(Of(dict));
  g_free(dict);
}

int DictionaryExists(EnchantProvider*, const char* const tag) {
  try {
    return IsNdebeleTag(tag) && tovuri_has_data(nullptr) == 1 ? 1 : 0;
  } catch (...) {
    return 0;
  }
}

char** ListDicts(EnchantProvider*, size_t* count) {
  *count = 0;
  try {
    if (tovuri_has_data(nullptr) != 1) return nullptr;
    *count = std::size(kLanguageTags);
    char** list = g_new0(char*, std::size(kLanguageTags) + 1);
    for (size_t i = 0; i < std::size(kLanguageTags); ++i) list[i] = g_strdup(kLanguageTags[i]);
    return list;
  } catch (...) {
    *count = 0;
    return nullptr;
  }
}

const char* Identify(EnchantProvider*) { return "tovuri"; }
const char* Describe(EnchantProvider*) { return "Tovuri Ndebele Provider"; }
void Dispose(EnchantProvider* provider) { g_free(provider); }

}  // namespace

extern "C" __attribute__((visibility("default"))) EnchantProvider* init_enchant_provider(void) {
  EnchantProvider* provider = g_new0(EnchantProvider, 1);
  provider->dispose = Dispose;
  provider->request_dict = RequestDict;
  provider->dispose_dict = DisposeDict;
  provider->dictionary_exists = DictionaryExists;
  provider->identify = Identify;
  provider->describe = Describe;
  provider->list_dicts = ListDicts;
  return provider;
}
