#include "associations/Associator.h"

#include <utility>

#include "associations/ExclusionList.h"

namespace orvanel {

Associator::Associator(Text modulePath, platform::InstanceHandle& instanceHandle, Text dataFolder)
    : modulePath(std::move(modulePath)),
      instanceHandle(instanceHandle),
      dataFolder(std::move(dataFolder)),
      exclusions(ExclusionList()) {}

bool Associator::IsExcluded(const Text& extension) const {
  for (const Text& entry : exclusions) {
    if (entry == extension) return true;
  }
  return false;
}

}  // namespace orvanel
