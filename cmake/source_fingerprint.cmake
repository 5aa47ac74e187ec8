# Writes OUTPUT, a header defining NAME as a 64-bit hash of the files listed
# in SOURCES (separated by "|"); rewritten only when the hash changes, so that
# what includes it is rebuilt exactly when a source changed.
string(REPLACE "|" ";" source_list "${SOURCES}")
list(SORT source_list)
set(all "")
foreach(source ${source_list})
  file(SHA256 ${source} hash)
  string(APPEND all "${hash}")
endforeach()
string(SHA256 digest "${all}")
string(SUBSTRING "${digest}" 0 16 digest)
file(WRITE ${OUTPUT}.new "#pragma once\n#define ${NAME} 0x${digest}ull\n")
file(COPY_FILE ${OUTPUT}.new ${OUTPUT} ONLY_IF_DIFFERENT)
file(REMOVE ${OUTPUT}.new)
