# Joins the English word list (when the build found one) and the maintained
# names into one list for tovuri-dict compile: possessives ('s) are left out,
# since the dictionaries accept a known word's possessive themselves.
# -DWORDS=<file or empty> -DNAMES=<file> -DOUTPUT=<file>
set(lines "")
if(WORDS AND EXISTS "${WORDS}")
  file(STRINGS "${WORDS}" words ENCODING UTF-8)
  list(FILTER words EXCLUDE REGEX "'")
  list(APPEND lines ${words})
endif()
file(STRINGS "${NAMES}" names ENCODING UTF-8)
list(FILTER names EXCLUDE REGEX "^#")
list(FILTER names EXCLUDE REGEX "^[ \t]*$")
list(APPEND lines ${names})
list(JOIN lines "\n" text)
file(WRITE "${OUTPUT}" "${text}\n")
