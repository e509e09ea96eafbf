# What every MinGW-w64 target shares; the target's file sets CMAKE_SYSTEM_PROCESSOR
# and ORVANEL_TRIPLET first. Debian's compilers, POSIX threads flavour.
set(CMAKE_C_COMPILER ${ORVANEL_TRIPLET}-gcc-posix)
set(CMAKE_CXX_COMPILER ${ORVANEL_TRIPLET}-g++-posix)
set(CMAKE_RC_COMPILER ${ORVANEL_TRIPLET}-windres)
set(CMAKE_FIND_ROOT_PATH /usr/${ORVANEL_TRIPLET})
set(CMAKE_FIND_ROOT_PATH_MODE_PROGRAM NEVER)
set(CMAKE_FIND_ROOT_PATH_MODE_LIBRARY ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_INCLUDE ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_PACKAGE ONLY)

# libcurl for this target, built once from Debian's curl source package by
# scripts/build-windows-curl.sh into the user's cache, outside the work tree.
if(DEFINED ENV{XDG_CACHE_HOME} AND NOT "$ENV{XDG_CACHE_HOME}" STREQUAL "")
  set(ORVANEL_CACHE_HOME "$ENV{XDG_CACHE_HOME}")
else()
  set(ORVANEL_CACHE_HOME "$ENV{HOME}/.cache")
endif()
set(ORVANEL_CURL_PREFIX "${ORVANEL_CACHE_HOME}/orvanel/curl-${ORVANEL_TRIPLET}")
list(APPEND CMAKE_FIND_ROOT_PATH "${ORVANEL_CURL_PREFIX}")
