#pragma once

// Whether another program holds a file open so that it can't be replaced.

#include <QString>

namespace qm::platform {

// True on Windows when another program has `path` open without letting it
// be deleted or renamed (a sharing violation): a save can't replace it
// until that program lets go. Always false elsewhere, where an open file
// never stops a replace.
bool heldOpenElsewhere(const QString& path);

} // namespace qm::platform
