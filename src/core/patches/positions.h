#pragma once

#include "core/config/langfile.h"

namespace tess {

struct GridCell {
    int row = 0;
    int column = 0;
    bool operator==(const GridCell &o) const { return row == o.row && column == o.column; }
};

// The cells for the patch rows, handed out once each: grid rows 2 to 14,
// two per row, the left column first. There are kCells of them; the
// language file's check refuses more named patches than that.
class PositionSequence
{
public:
    GridCell next()
    {
        const GridCell cell{2 + taken_ / 2, taken_ % 2};
        ++taken_;
        return cell;
    }

    static constexpr int kCells = kMaxNamedPatches;

private:
    int taken_ = 0;
};

}  // namespace tess
