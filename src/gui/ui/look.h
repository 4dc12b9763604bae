#pragma once

#include <QColor>
#include <QImage>
#include <QPointF>
#include <QString>

#include <future>

class QSize;
class QWidget;

// The gold of the titles and button texts, as style sheets write it; a
// macro so that it joins the sheets' literals.
#define TESSARINE_GOLD "rgb(255, 199, 0)"

// Facts of the window's look that more than one part of the program uses.
namespace tess::look {

// The interface's font families: the face with Cyrillic letters and the
// Latin-only one.
inline const QString kCyrillicFamily = QStringLiteral("FrizQuadrataCTT");
inline const QString kLatinFamily = QStringLiteral("Friz Quadrata Std");

// The weights style sheets ask for, as the weights of the faces meant: the
// Cyrillic family has only its regular face, and the Latin texts are drawn
// in its bold one. A weight between faces is settled differently on each
// system (fontconfig takes the nearest face; Windows fakes bold above 550),
// so none is asked for.
inline const QString kCyrillicWeight = QStringLiteral("normal");
inline const QString kLatinWeight = QStringLiteral("bold");

// A family with the weight its sheets ask for.
struct Face {
    QString family;
    QString weight;
};
// The faces a language code picks, each part by its own rule: the window's
// buttons take the Cyrillic face for Russian only, the option rows for
// Russian and English alike; every other language takes the Latin face.
Face window_face(const QString &locale);
Face row_face(const QString &locale);

// The base every system draws the skin on: Qt's Fusion style (the native Windows one sizes parts
// the sheets leave open, such as the volume handle's height, otherwise) and glyphs hinted only
// vertically, as Linux desktops hint them, so that texts keep their designed advances. Called once
// the application object exists, before any widget.
void set_application_look();

// Gives `widget` a drop shadow of its own (owned by the widget).
void add_drop_shadow(QWidget *widget, qreal blurRadius, QPointF offset, const QColor &color);

// The picture at `path`, decoded at `size` on a thread of its own while the
// caller goes on building. install() puts it where QPixmap's loader looks
// first, so that a style sheet naming it gets the small picture without
// decoding the large one; it must run before anything draws the picture.
class ScaledPicture
{
public:
    ScaledPicture(const QString &path, const QSize &size);

    // Waits for the decoding the first time. False when the picture cannot
    // be read.
    bool install();

private:
    QString path_;
    std::future<QImage> image_;
    bool installed_ = false;
};

}  // namespace tess::look
