#include "gui/ui/look.h"

#include <QApplication>
#include <QFont>

#include <QDateTime>
#include <QFileInfo>
#include <QGraphicsDropShadowEffect>
#include <QImageReader>
#include <QPixmap>
#include <QPixmapCache>
#include <QWidget>

#include <system_error>

namespace tess::look {

namespace {

// Qt 5's hex form in QPixmap's cache keys: each byte from the lowest, low
// nibble first.
template <typename T> QString key_hex(T value)
{
    static const char digits[] = "0123456789abcdef";
    QString out;
    for (size_t i = 0; i < sizeof(T); ++i) {
        const auto byte = static_cast<unsigned>((value >> (8 * i)) & 0xff);
        out += QLatin1Char(digits[byte & 0xf]);
        out += QLatin1Char(digits[byte >> 4]);
    }
    return out;
}

// The key under which QPixmap(path) looks in the pixmap cache (Qt 5.15,
// QPixmap::load; the last part is the raster pixmap type, 0).
QString pixmap_cache_key(const QString &path)
{
    const QFileInfo info(path);
    return QStringLiteral("qt_pixmap") + info.absoluteFilePath()
        + key_hex<quint32>(quint32(info.lastModified().toSecsSinceEpoch())) + key_hex<quint64>(quint64(info.size()))
        + key_hex<quint32>(0);
}

}  // namespace

void set_application_look()
{
    QApplication::setStyle(QStringLiteral("Fusion"));
    QFont font = QApplication::font();
    font.setHintingPreference(QFont::PreferVerticalHinting);
    QApplication::setFont(font);
}

void add_drop_shadow(QWidget *widget, qreal blurRadius, QPointF offset, const QColor &color)
{
    auto *shadow = new QGraphicsDropShadowEffect(widget);
    shadow->setBlurRadius(blurRadius);
    shadow->setOffset(offset);
    shadow->setColor(color);
    widget->setGraphicsEffect(shadow);
}

ScaledPicture::ScaledPicture(const QString &path, const QSize &size) : path_(path)
{
    // A window built again in the same process finds it still cached.
    QPixmap cached;
    if (QPixmapCache::find(pixmap_cache_key(path), &cached) && cached.size() == size) {
        installed_ = true;
        return;
    }
    const auto decode = [path, size] {
        QImageReader reader(path);
        // The decoder scales while it decodes, which is much cheaper than
        // decoding the whole picture and scaling it afterwards.
        reader.setScaledSize(size);
        return reader.read();
    };
    try {
        image_ = std::async(std::launch::async, decode);
    } catch (const std::system_error &) {
        // No thread to be had: decode on the spot when installed.
        image_ = std::async(std::launch::deferred, decode);
    }
}

bool ScaledPicture::install()
{
    if (!image_.valid())
        return installed_;
    // QPixmap belongs to the GUI thread: only the QImage is made over there.
    const QImage image = image_.get();
    installed_ = !image.isNull() && QPixmapCache::insert(pixmap_cache_key(path_), QPixmap::fromImage(image));
    return installed_;
}

namespace {

Face face(bool cyrillic)
{
    return cyrillic ? Face{kCyrillicFamily, kCyrillicWeight} : Face{kLatinFamily, kLatinWeight};
}

}  // namespace

Face window_face(const QString &locale) { return face(locale.contains(QLatin1String("ru"))); }

Face row_face(const QString &locale)
{
    return face(locale.contains(QLatin1String("ru")) || locale.contains(QLatin1String("en")));
}

}  // namespace tess::look
