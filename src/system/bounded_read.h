#pragma once

#include "system/system.h"

namespace tess {

// Reads up to `limit` bytes, and one more to tell whether the file is larger.
template <typename Read> ReadResult read_bounded(qint64 limit, Read read)
{
    ReadResult result;
    result.bytes.resize(int(qMin<qint64>(limit + 1, 1 << 16)));
    qint64 have = 0;
    for (;;) {
        if (have == result.bytes.size()) {
            if (have > limit)
                break;
            result.bytes.resize(int(qMin<qint64>(limit + 1, have * 2)));
        }
        const qint64 n = read(result.bytes.data() + have, result.bytes.size() - have);
        if (n < 0) {
            result.fault = ReadResult::Fault::Unreadable;
            result.error = qt_error_string(-1);
            result.bytes.clear();
            return result;
        }
        if (n == 0)
            break;
        have += n;
    }
    result.bytes.resize(int(qMin(have, limit)));
    if (have > limit)
        result.fault = ReadResult::Fault::TooLarge;
    return result;
}

}  // namespace tess
