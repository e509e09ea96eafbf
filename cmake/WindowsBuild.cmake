# The Windows builds (MinGW-w64): Unicode Win32 API from Windows XP on, a static
# runtime so that the two executables are all there is to ship, and libcurl from
# the cache that scripts/build-windows-curl.sh fills.
enable_language(RC)

add_compile_definitions(UNICODE _UNICODE WINVER=0x0501 _WIN32_WINNT=0x0501 _WIN32_IE=0x0600
                        WIN32_LEAN_AND_MEAN NOMINMAX)
add_link_options(-static -static-libgcc -static-libstdc++)

find_package(Threads REQUIRED)
find_package(CURL CONFIG REQUIRED)
