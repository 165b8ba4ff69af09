#pragma once
// The parsed profile files of the process, each kept until the file changes on disk (size, write
// time to the nanosecond where the system has it, and file identity), and the one place where a
// file is edited, so that two edits from the same process never interleave.

#include <functional>
#include <memory>
#include <string>

#include "config/profile_document.h"

namespace gage::profile::detail {

// The document of path as it is on disk now; an empty document when the file cannot be read.
std::shared_ptr<const ProfileDocument> CurrentDocument(const std::string& path);

// Applies change to a copy of the current document and, when change reports a change, writes the
// whole file atomically. Returns false only when a needed write failed (the file is then as it
// was).
bool EditDocument(const std::string& path, const std::function<bool(ProfileDocument&)>& change,
                  bool keepBackup);

void ClearDocuments();

}  // namespace gage::profile::detail
