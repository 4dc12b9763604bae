#pragma once

#include <QByteArray>
#include <QString>

namespace tess {

struct [[nodiscard]] ReadResult {
    enum class Fault {
        None,
        Missing,     // nothing by that name
        NotRegular,  // a FIFO, device, socket or folder: never opened for reading
        TooLarge,    // more than the bound: `bytes` holds the bound's worth
        Unreadable,  // the system refused: `error` says why
    };
    QByteArray bytes;
    Fault fault = Fault::None;
    QString error;  // the system's own text, for Unreadable
};

// Reads the regular file at `path`, at most `limit` bytes, without ever
// waiting: nothing that is not a regular file is read. The path is given to
// the system by the name's own bytes (a listed name that is not UTF-8 opens).
ReadResult read_regular_file(const QString &path, qint64 limit);

}  // namespace tess
