#pragma once

// What a merge of order-of-battle files reports: the check findings the merge
// brought in, and the conflicts and changes as text or CSV.

#include "core/data/oobmerge.h"
#include "core/rules/filecheck.h"

#include <cstdint>
#include <optional>
#include <span>
#include <string>
#include <vector>

namespace tarnwick::core {

// The check's findings on merged that neither ours nor theirs has (a formation
// whose member the other side emptied, say). Nothing when merged is one of them.
std::vector<CheckFinding> MergeWarnings(std::span<const std::uint8_t> ours,
    std::span<const std::uint8_t> theirs, std::span<const std::uint8_t> merged, std::uint16_t nation);

// One line per conflict and warning, then a summary:
// "conflict: unit 12 Scamp Mk2: Cost 160 -> ours 180, theirs 170"
// "Merged 4 changes; 1 conflict, kept ours; 0 warnings". preferred: the side
// every conflict took, when the user chose one.
std::string MergeReportText(
    const MergeResult& result, const std::vector<CheckFinding>& warnings, std::optional<MergeSide> preferred);

// Header "kind,table,slot,name,field,base,ours,theirs,taken,message" and a CR LF row
// for every change taken, conflict and warning (kind merged, conflict or warning; a
// warning's field is the check's rule, its message the finding).
std::string MergeReportCsv(
    const MergeResult& result, const std::vector<CheckFinding>& warnings, std::optional<MergeSide> preferred);

} // namespace tarnwick::core
