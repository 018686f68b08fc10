#pragma once
#include <filesystem>

namespace tamboro {

// At start-up, before any table opens: when the previous run left a
// recovery copy of unsaved changes, asks whether to restore it. Yes puts the
// copy in place of the data files; No renames the copy after its time and
// keeps it. A copy that cannot be read is reported, renamed and kept, and
// the data files are used as they are. Errors go to the default error box.
void offerRecovery(const std::filesystem::path& dataFolder);

}  // namespace tamboro
