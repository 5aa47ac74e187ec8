// The Enchant entry points. The provider runs inside other programs, so it
// prints nothing and no exception crosses into C: every entry point catches
// and answers as Enchant expects of a failure.
#include <enchant-provider.h>
#include <glib.h>

#include <cstring>
#include <string>
#include <string_view>
#include <vector>

#include "enchant/ndebele_dictionary.h"
#include "enchant/provider_data.h"

namespace {

using tovuri::TNdebeleDictionary;

constexpr const char* kLanguageTags[] = {"nd", "nd_ZW"};

TNdebeleDictionary& Of(EnchantDict* dict) { return *static_cast<TNdebeleDictionary*>(dict->user_data); }

std::string_view View(const char* text, size_t length) { return {text, length}; }

// A list Enchant frees with g_strfreev.
char** StringList(const std::vector<std::string>& strings) {
  char** list = g_new0(char*, strings.size() + 1);
  for (size_t i = 0; i < strings.size(); ++i) list[i] = g_strdup(strings[i].c_str());
  return list;
}

int Check(EnchantDict* dict, const char* const word, size_t length) {
  try {
    return Of(dict).Check(View(word, length)) ? 0 : 1;
  } catch (...) {
    return -1;
  }
}

char** Suggest(EnchantDict* dict, const char* const word, size_t length, size_t* count) {
  *count = 0;
  try {
    const std::vector<std::string> suggestions = Of(dict).Suggest(View(word, length));
    if (suggestions.empty()) return nullptr;
    *count = suggestions.size();
    return StringList(suggestions);
  } catch (...) {
    *count = 0;
    return nullptr;
  }
}

void AddToPersonal(EnchantDict* dict, const char* const word, size_t length) {
  try {
    Of(dict).AddToPersonal(View(word, length));
  } catch (...) {
  }
}

void AddToSession(EnchantDict* dict, const char* const word, size_t length) {
  try {
    Of(dict).AddToSession(View(word, length));
  } catch (...) {
  }
}

void AddToExclude(EnchantDict* dict, const char* const word, size_t length) {
  try {
    Of(dict).AddToExclude(View(word, length));
  } catch (...) {
  }
}

void StoreReplacement(EnchantDict* dict, const char* const misspelt, size_t misspelt_length,
                      const char* const replacement, size_t replacement_length) {
  try {
    Of(dict).StoreReplacement(View(misspelt, misspelt_length), View(replacement, replacement_length));
  } catch (...) {
  }
}

// Apostrophes and hyphens join the parts of a word, so they count only inside one.
const char* ExtraWordCharacters(EnchantDict*) { return "'\u2019-"; }

int IsWordCharacter(EnchantDict*, uint32_t character, size_t where) {
  constexpr size_t kInside = 1;
  if (g_unichar_isalnum(static_cast<gunichar>(character))) return 1;
  return where == kInside && (character == '\'' || character == 0x2019 || character == '-') ? 1 : 0;
}

EnchantDict* RequestDict(EnchantProvider* provider, const char* const tag) {
  try {
    if (!tovuri::IsNdebeleTag(tag)) return nullptr;
    std::unique_ptr<TNdebeleDictionary> dictionary = TNdebeleDictionary::Open(tovuri::ProviderDataDir());
    if (!dictionary) {
      enchant_provider_set_error(provider, "the Ndebele data cannot be read");
      return nullptr;
    }
    EnchantDict* dict = g_new0(EnchantDict, 1);
    dict->user_data = dictionary.release();
    dict->check = Check;
    dict->suggest = Suggest;
    dict->add_to_personal = AddToPersonal;
    dict->add_to_session = AddToSession;
    dict->add_to_exclude = AddToExclude;
    dict->store_replacement = StoreReplacement;
    dict->get_extra_word_characters = ExtraWordCharacters;
    dict->is_word_character = IsWordCharacter;
    return dict;
  } catch (...) {
    return nullptr;
  }
}

void DisposeDict(EnchantProvider*, EnchantDict* dict) {
  try {
    delete &Of(dict);  // writes the words learnt meanwhile
  } catch (...) {
  }
  g_free(dict);
}

int DictionaryExists(EnchantProvider*, const char* const tag) {
  try {
    return tovuri::IsNdebeleTag(tag) && tovuri::HasNdebeleData(tovuri::ProviderDataDir()) ? 1 : 0;
  } catch (...) {
    return 0;
  }
}

char** ListDicts(EnchantProvider*, size_t* count) {
  *count = 0;
  try {
    if (!tovuri::HasNdebeleData(tovuri::ProviderDataDir())) return nullptr;
    *count = std::size(kLanguageTags);
    return StringList({std::begin(kLanguageTags), std::end(kLanguageTags)});
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
