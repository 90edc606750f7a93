# SPDX-License-Identifier: GPL-3.0-or-later
# Checks that every source, build and script file says its licence in its
# first lines, so a new file cannot land without it.
# Run as: cmake -DTOP=<source dir> -P licence.cmake
file(GLOB_RECURSE files RELATIVE ${TOP}
  ${TOP}/src/* ${TOP}/tests/* ${TOP}/bench/* ${TOP}/scripts/* ${TOP}/packaging/*.cmake
  ${TOP}/packaging/*CMakeLists.txt)
list(APPEND files CMakeLists.txt)
list(FILTER files INCLUDE REGEX "(\\.(h|cpp|cmake|py|sh)|CMakeLists\\.txt)$")
set(missing "")
foreach(rel IN LISTS files)
  file(STRINGS ${TOP}/${rel} head LIMIT_COUNT 3)
  if(NOT head MATCHES "SPDX-License-Identifier: GPL-3.0-or-later")
    list(APPEND missing ${rel})
  endif()
endforeach()
if(missing)
  list(JOIN missing "\n" text)
  message(FATAL_ERROR "No SPDX-License-Identifier line in:\n${text}")
endif()
