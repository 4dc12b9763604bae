#include "system/path.h"

namespace tess {

QString decode_local(const QByteArray &bytes) { return QString::fromLocal8Bit(bytes.constData(), bytes.size()); }

QByteArray encode_local(const QString &text) { return text.toLocal8Bit(); }

}  // namespace tess
