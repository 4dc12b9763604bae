#include "system/native.h"

namespace tess {

QString decode_local(const QByteArray &bytes) { return QString::fromLocal8Bit(bytes.constData(), bytes.size()); }

QByteArray encode_local(const QString &text) { return text.toLocal8Bit(); }

// Names are UTF-16 in a QString and exact as they are.
NativeName native_name(const QString &path)
{
    return QString(path).replace(QLatin1Char('/'), QLatin1Char('\\')).toStdWString();
}

}  // namespace tess
