#include "associations/StoreFailures.h"

namespace orvanel {
namespace {

using platform::registry::Status;

std::optional<Status>& StoredFailure() {
  static std::optional<Status> failure;
  return failure;
}

}  // namespace

bool IsStoreFailure(Status status) {
  return status == Status::AccessDenied || status == Status::Failed;
}

Status NoteStoreStatus(Status status) {
  if (IsStoreFailure(status) && !StoredFailure()) StoredFailure() = status;
  return status;
}

std::optional<Status> FirstStoreFailure() { return StoredFailure(); }

}  // namespace orvanel
