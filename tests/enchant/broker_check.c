// Checks words through a real Enchant broker, as a C program using Enchant
// would: "broker_check TAG WORD..." prints "WORD: yes" or "WORD: no: s1, s2";
// exit status 0, or 2 with "no dictionary for TAG".
#include <enchant.h>
#include <stdio.h>
#include <string.h>

int main(int argc, char **argv) {
  if (argc < 2) {
    fprintf(stderr, "usage: broker_check TAG WORD...\n");
    return 2;
  }
  EnchantBroker *broker = enchant_broker_init();
  EnchantDict *dict = enchant_broker_request_dict(broker, argv[1]);
  if (dict == NULL) {
    printf("no dictionary for %s\n", argv[1]);
    enchant_broker_free(broker);
    return 2;
  }
  for (int i = 2; i < argc; ++i) {
    if (enchant_dict_check(dict, argv[i], (ssize_t)strlen(argv[i])) == 0) {
      printf("%s: yes\n", argv[i]);
      continue;
    }
    size_t count = 0;
    char **suggestions = enchant_dict_suggest(dict, argv[i], (ssize_t)strlen(argv[i]), &count);
    printf("%s: no:", argv[i]);
    for (size_t s = 0; s < count; ++s) printf("%s %s", s == 0 ? "" : ",", suggestions[s]);
    printf("\n");
    enchant_dict_free_string_list(dict, suggestions);
  }
  enchant_broker_free_dict(broker, dict);
  enchant_broker_free(broker);
  return 0;
}
