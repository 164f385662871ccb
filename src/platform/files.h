#pragma once
// Writing a whole file. Paths are the file system's own bytes (UTF-8), not GBK.

#include <string>
#include <string_view>

namespace platform {

// Makes bytes the whole content of the file at path: written to a temporary
// file in the same folder, flushed to the disk, then renamed over the target,
// so that the target holds its old content or the new one, never a mix. A new
// file gets the usual permissions; a replaced one keeps its own. Returns an
// empty text on success, else the system's reason; a failure leaves the
// target as it was and no temporary file behind. Any thread.
std::string replaceFile(const std::string& path, std::string_view bytes);

}  // namespace platform
