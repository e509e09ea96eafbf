#include "Console.h"

#include <cstdio>
#include <iostream>

namespace orvanel::reg {

using platform::registry::Status;

void Say(const std::string& line) { std::fprintf(stdout, "%s\n", line.c_str()); }

int Error(const std::string& message) {
  std::fprintf(stderr, "ERROR: %s\n", message.c_str());
  return kFailure;
}

int InvalidSyntax(const std::string& detail) {
  std::fprintf(stderr, "ERROR: Invalid syntax. %s\nType \"orvanel-reg /?\" for usage.\n",
               detail.c_str());
  return kFailure;
}

int ErrorFor(Status status) {
  switch (status) {
    case Status::NotFound:
      return Error("The system was unable to find the specified registry key or value.");
    case Status::AccessDenied:
      return Error("Access is denied.");
    case Status::InvalidName:
      return Error("Invalid key name (each name is 1 to 255 characters long).");
    case Status::HasSubkeys:
      return Error("The key has sub-keys.");
    case Status::MoreData:
    case Status::Failed:
    case Status::Ok:
      break;
  }
  return Error("The registry store could not be read or written.");
}

bool Confirm(const std::string& question) {
  std::fprintf(stdout, "%s (Yes/No)? ", question.c_str());
  std::fflush(stdout);
  std::string answer;
  if (!std::getline(std::cin, answer)) answer.clear();
  std::fprintf(stdout, "\n");
  if (!answer.empty() && answer.back() == '\r') answer.pop_back();
  for (char& c : answer) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
  return answer == "y" || answer == "yes";
}

int Completed() {
  Say("The operation completed successfully.");
  return kSuccess;
}

int Cancelled() {
  Say("The operation was cancelled.");
  return kFailure;
}

}  // namespace orvanel::reg
