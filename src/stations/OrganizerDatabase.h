#pragma once

#include <cstddef>
#include <filesystem>

#include "platform/IniFile.h"
#include "platform/LocaleFormat.h"
#include "stations/OrganizerTree.h"

namespace ondivo {

struct OrganizerLoadReport {
  IniLoadResult File = IniLoadResult::Missing;
  size_t Loaded = 0;   // nodes put in the tree
  size_t Skipped = 0;  // damaged rows: unreadable fields, unknown kind, reused or bad id
  size_t Dropped = 0;  // rows whose parent was not loaded before them
};

// Reads section "Archive" of the database into a fresh tree (only the root when the file is
// missing), sorts it and sets the id counter above the largest id read. One parse of the file;
// parents are found through an id map, so the cost grows with the number of rows only.
OrganizerTree LoadOrganizerDatabase(const std::filesystem::path& path, const LocaleFormat& locale,
                                    OrganizerLoadReport* report = nullptr);

// Rewrites section "Archive": "Rows" and one "Row<i>" per node in tree order, then replaces
// the file atomically. Other sections of the file are kept. On failure ("Unable to write to
// <path>") the previous file is left as it was. A database that could not be read is kept as
// "Ondivo.db.bak" first; the result's Notice then says so.
tWriteResult SaveOrganizerDatabase(const std::filesystem::path& path, const OrganizerTree& tree,
                                   const LocaleFormat& locale);

}  // namespace ondivo
