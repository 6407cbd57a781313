#pragma once

namespace platform {

// Whether the caller runs on the process's main thread, the one that entered main().
bool isMainThread();

} // namespace platform
