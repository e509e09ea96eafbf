// Stands in for the default browser in the test prefix: Wine starts it for the
// "open" verb of http addresses. It appends the address it was given to the file
// named by ORVANEL_TEST_BROWSER_LOG and fetches the page, so that the loopback site
// sees the request as it would from a browser.
#include <windows.h>

#include <curl/curl.h>
#include <shellapi.h>

#include <cstdio>
#include <cstdlib>
#include <string>

namespace {

size_t Discard(char*, size_t size, size_t count, void*) { return size * count; }

}  // namespace

int wmain(int argc, wchar_t** argv) {
  if (argc < 2) return 1;
  const int size = WideCharToMultiByte(CP_UTF8, 0, argv[1], -1, nullptr, 0, nullptr, nullptr);
  std::string url(static_cast<size_t>(size > 0 ? size - 1 : 0), '\0');
  WideCharToMultiByte(CP_UTF8, 0, argv[1], -1, url.data(), size, nullptr, nullptr);
  if (const char* log = std::getenv("ORVANEL_TEST_BROWSER_LOG")) {
    if (std::FILE* file = std::fopen(log, "ab")) {
      std::fprintf(file, "%s\n", url.c_str());
      std::fclose(file);
    }
  }
  CURL* curl = curl_easy_init();
  if (!curl) return 1;
  curl_easy_setopt(curl, CURLOPT_URL, url.c_str());
  curl_easy_setopt(curl, CURLOPT_WRITEFUNCTION, Discard);
  const CURLcode result = curl_easy_perform(curl);
  curl_easy_cleanup(curl);
  return result == CURLE_OK ? 0 : 1;
}
