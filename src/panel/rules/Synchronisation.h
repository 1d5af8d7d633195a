#pragma once
// Rate and symmetry synchronisation: while it is on, a rate or symmetry accepted in one group is
// copied into the rate or symmetry boxes of the other special functions. One row per source box,
// its copies in order; a copy may take its text from a receiver filled earlier in the row.
#include <QStringView>
#include <span>

struct SyncCopy {
    const char* receiver;
    const char* from; // the box whose text is copied
};

// The copies made when the named box accepts a value; empty for a box that is no source.
std::span<const SyncCopy> synchronisedCopies(QStringView source);
