#include "system/native.h"

namespace tess {

QString decode_local(const QByteArray &bytes) { return QString::fromLocal8Bit(bytes.constData(), bytes.size()); }

QByteArray encode_local(const QString &text) { return text.toLocal8Bit(); }

QString decode_path(const char *bytes, int size) { return QString::fromUtf8(bytes, size); }

QByteArray encode_path(const QString &text) { return text.toUtf8(); }

// Names are UTF-16 in a QString and exact as they are.
NativeName native_name(const QString &path)
{
    return QString(path).replace(QLatin1Char('/'), QLatin1Char('\\')).toStdWString();
}

}  // namespace tess
