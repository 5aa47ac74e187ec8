# Undoes `cmake --install`: removes every file the install manifest lists,
# and takes the lines Tovuri joined to Enchant's ordering file out of it
# again, leaving what an administrator wrote there.
#   cmake -DMANIFEST=... [-DORDERING=FILE -DORDERING_LINES=FILE] -P uninstall.cmake
# DESTDIR, as at install time, comes from the environment.
if(NOT EXISTS "${MANIFEST}")
  message(FATAL_ERROR "Nothing to uninstall: no ${MANIFEST} (run cmake --install first)")
endif()
file(STRINGS "${MANIFEST}" installed)
foreach(listed ${installed})
  # The manifest names the files without DESTDIR.
  set(file "$ENV{DESTDIR}${listed}")
  if(EXISTS "${file}" OR IS_SYMLINK "${file}")
    message(STATUS "Removing: ${file}")
    file(REMOVE "${file}")
  endif()
endforeach()

if(ORDERING)
  set(ordering "$ENV{DESTDIR}${ORDERING}")
  if(EXISTS "${ordering}")
    file(READ "${ordering}" text)
    file(STRINGS "${ORDERING_LINES}" ours)
    foreach(line ${ours})
      string(REPLACE "\n${line}\n" "\n" text "\n${text}")
      string(REGEX REPLACE "^\n" "" text "${text}")
    endforeach()
    message(STATUS "Ordering: ${ordering}")
    if(text STREQUAL "")
      file(REMOVE "${ordering}")
    else()
      file(WRITE "${ordering}" "${text}")
    endif()
  endif()
endif()
