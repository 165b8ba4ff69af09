#pragma once
// Replaces a whole file so that readers see either the old or the new content, never a mixture:
// the new bytes go to a temporary file beside the target, reach the device, and are then renamed
// over the target. Any failure removes the temporary file and leaves the target as it was.

#include <optional>
#include <string>
#include <string_view>

namespace gage::profile::detail {

enum class WriteStep { OpenTemporary, Write, Flush, Backup, Replace };

// Writes bytes as the new content of path. With keepBackup the previous file (when there is one)
// is first copied to path + ".bak", itself replaced atomically. A refusedStep fails as if the
// system had refused it (how tests reach every failure path).
bool ReplaceFileContents(const std::string& path, std::string_view bytes, bool keepBackup,
                         std::optional<WriteStep> refusedStep = std::nullopt);

}  // namespace gage::profile::detail
