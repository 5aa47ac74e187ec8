// Enchant 2.3 (Debian 12) loads providers only from the module folder it was
// built for, which it asks enchant_relocate for; no environment variable
// moves it. Defined in a test program (or preloaded into Enchant's own
// tools), this enchant_relocate answers TOVURI_ENCHANT_MODULE_DIR for that
// folder, so tests load the provider from the build tree without root.
#define _GNU_SOURCE
#include <dlfcn.h>
#include <stdlib.h>
#include <string.h>

char *enchant_relocate(const char *path) {
  const char *modules = getenv("TOVURI_ENCHANT_MODULE_DIR");
  if (modules != NULL && path != NULL && strcmp(path, ENCHANT_MODULE_DIR) == 0) return strdup(modules);
  char *(*next)(const char *) = (char *(*)(const char *))dlsym(RTLD_NEXT, "enchant_relocate");
  if (next != NULL) return next(path);
  return path != NULL ? strdup(path) : NULL;
}
