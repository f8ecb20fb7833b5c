// The IP Helper of a Linux build: both queries answered from a snapshot of the live system.
#pragma once

#include <functional>
#include <memory>

#include "platform/ip_helper.h"
#include "platform/linux/snapshot.h"

namespace addrvue::linux_source {

// An IP Helper whose snapshots come from `takeSnapshot`. A sizing call (no buffer, or one too
// small) takes a snapshot and keeps it; the fill call that follows writes that same snapshot; a
// fill with no sizing before it takes one too. Both queries share a snapshot: the first call of
// either takes it and each query's first pair answers from it, so one press reads the system
// once and its two parts agree; a query asked a second time takes a fresh one. The records are
// written in `layout`, their texts as UTF-8. A snapshot whose kernel tables could not be read
// answers GetAdaptersInfo with its failure code.
std::unique_ptr<iphlp::IpHelper> SnapshotIpHelper(
    std::function<SystemSnapshot()> takeSnapshot,
    const iphlp::layout::RecordLayout& layout = iphlp::layout::k32Bit);

}  // namespace addrvue::linux_source
