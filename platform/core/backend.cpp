// The installed backend and the clocks it supplies.
#include "platform/core/backend.h"

#include "platform/base/clock.h"

namespace platform {
namespace {

std::unique_ptr<Backend> installed;

}  // namespace

void install_backend(std::unique_ptr<Backend> backend) { installed = std::move(backend); }

Backend& backend() { return *installed; }

bool has_backend() { return installed != nullptr; }

std::int64_t monotonic_ms() { return installed ? installed->monotonic_ms() : 0; }

std::int64_t calendar_seconds() { return installed ? installed->calendar_seconds() : 0; }

}  // namespace platform
