#include "panel/rules/Synchronisation.h"

#include <QLatin1String>
#include <array>

namespace {
struct SyncRow {
    const char* source;
    std::array<SyncCopy, 4> copies;
    int count;
};

const std::array<SyncRow, 8> kSyncRows{{
    {"txtModRate",
     {{{"txtSweepRate", "txtModRate"},
       {"txtTrgRate", "txtModRate"},
       {"txtBurstPeriod", "txtModRate"},
       {"txtGatePeriod", "txtModRate"}}},
     4},
    {"txtSweepRate",
     {{{"txtModRate", "txtSweepRate"},
       {"txtTrgRate", "txtSweepRate"},
       {"txtBurstPeriod", "txtModRate"},
       {"txtGatePeriod", "txtModRate"}}},
     4},
    {"txtTrgRate", {{{"txtSweepRate", "txtTrgRate"}, {"txtModRate", "txtTrgRate"}}}, 2},
    {"txtBurstPeriod",
     {{{"txtModRate", "txtBurstPeriod"},
       {"txtTrgRate", "txtBurstPeriod"},
       {"txtSweepRate", "txtBurstPeriod"},
       {"txtGatePeriod", "txtBurstPeriod"}}},
     4},
    {"txtGatePeriod",
     {{{"txtModRate", "txtGatePeriod"},
       {"txtTrgRate", "txtGatePeriod"},
       {"txtBurstPeriod", "txtGatePeriod"},
       {"txtSweepRate", "txtGatePeriod"}}},
     4},
    {"txtModSymmetry", {{{"txtSweepSymmetry", "txtModSymmetry"}, {"txtTrgSymmetry", "txtModSymmetry"}}}, 2},
    {"txtSweepSymmetry",
     {{{"txtModSymmetry", "txtSweepSymmetry"}, {"txtTrgSymmetry", "txtSweepSymmetry"}}},
     2},
    {"txtTrgSymmetry", {{{"txtModSymmetry", "txtTrgSymmetry"}, {"txtSweepSymmetry", "txtTrgSymmetry"}}}, 2},
}};
} // namespace

std::span<const SyncCopy> synchronisedCopies(QStringView source) {
    for (const SyncRow& row : kSyncRows)
        if (source == QLatin1String(row.source)) return {row.copies.data(), std::size_t(row.count)};
    return {};
}
