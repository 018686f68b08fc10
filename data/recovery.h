#pragma once
// The recovery copy: the tables with changes not yet written to their files,
// saved beside the data files while the program runs, so that a crash or a
// kill loses at most the last few seconds of work. The data files themselves
// are written only when the catalogue closes, as always.
#include <chrono>
#include <filesystem>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "data/catalogue_schema.h"

namespace tamboro {

class TDM1;

inline constexpr std::string_view kRecoveryFolderName = ".tamboro-recovery";
inline constexpr std::string_view kRecoveryMarkerName = "recovery.txt";
inline constexpr std::string_view kReplacedFolderName = "replaced";

std::filesystem::path recoveryFolderOf(const std::filesystem::path& dataFolder);

// What the marker says: when the copy was written and which tables it holds.
struct RecoveryMarker {
    std::string time;                   // local time, "2026/12/10 17:05:03"
    std::string stamp;                  // the same for a folder name, "20261210-170503"
    std::vector<CatalogueTable> tables; // in the order they were written
};

// The marker's text, and the marker read back from it. Parsing throws
// DataError for anything but a marker this program wrote, and refuses any
// file name that is not one of the seven data files.
std::string formatRecoveryMarker(const RecoveryMarker& marker);
RecoveryMarker parseRecoveryMarker(std::string_view text);

// Makes the recovery folder hold exactly the tables of dm that have changes
// not yet in their files: each written as close would write it, safely, then
// the marker. With no such table the copy is removed (the replaced files of
// an earlier recovery stay). Returns the number of tables written; throws
// DataError naming the file that failed.
int updateRecoveryCopy(TDM1& dm, std::chrono::system_clock::time_point now = std::chrono::system_clock::now());

// The recovery copy left in dataFolder by a run that did not end normally:
// nullopt when there is no recovery folder or it holds no marker (nothing
// was copied yet, or a recovery already took it). Throws DataError when the
// marker cannot be read.
std::optional<RecoveryMarker> findRecoveryCopy(const std::filesystem::path& dataFolder);

// Reads every file of the copy as a packet its table can open; throws
// DataError naming the first that cannot be used.
void checkRecoveryCopy(const std::filesystem::path& dataFolder, const RecoveryMarker& marker);

// Puts the copy in place of the data files: all its files are checked
// first, and nothing is replaced unless all of them read. The data files
// replaced are kept in the recovery folder's "replaced" folder; the marker
// and the copies go, so that the same copy is never offered twice.
void applyRecoveryCopy(const std::filesystem::path& dataFolder, const RecoveryMarker& marker);

// Renames the recovery folder after its time stamp (".tamboro-recovery-
// 20261210-170503", with "-2", "-3", ... when taken) so that it is kept
// and never removed by a later close. Returns the new path.
std::filesystem::path setRecoveryCopyAside(const std::filesystem::path& dataFolder, const std::string& stamp);

// Removes the recovery folder with everything in it; no error when absent.
void removeRecoveryFolder(const std::filesystem::path& dataFolder);

}  // namespace tamboro
