// Folders natively: the one way a folder and its missing parents are made.
#pragma once

#include <sys/types.h>

#include <functional>
#include <string>

namespace orvanel::platform::posix {

// The folder that holds `path` ("." for a bare name, "/" at the top).
std::string ParentFolder(const std::string& path);

// Creates the folder and the missing folders above it with `mode`, calling `made`
// for each folder this call created, parents first. 0 when the folder exists
// afterwards, else the error number (ENOTDIR when something else has its name).
int MakeFolders(const std::string& folder, mode_t mode,
                const std::function<void(const std::string&)>& made);

}  // namespace orvanel::platform::posix
