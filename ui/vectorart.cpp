#include "ui/vectorart.h"

#include <QFile>
#include <QPixmap>
#include <cmath>

// librsvg draws the filters, masks and letter spacing of the pictures, which Qt's SVG module
// leaves out; it is also what the bitmaps were made with.
#include <cairo.h>
// GLib names a member "signals", which Qt defines as a keyword.
#pragma push_macro("signals")
#undef signals
#include <librsvg/rsvg.h>
#pragma pop_macro("signals")

namespace marlovin {

QImage RenderVector(const QString& resource, QSize size, qreal ratio, const QColor& background) {
    QImage image(static_cast<int>(std::ceil(size.width() * ratio)),
                 static_cast<int>(std::ceil(size.height() * ratio)),
                 QImage::Format_ARGB32_Premultiplied);
    image.setDevicePixelRatio(ratio);
    image.fill(background);
    QFile file(resource);
    if (!file.open(QIODevice::ReadOnly))
        return {};
    const QByteArray data = file.readAll();
    GError* error = nullptr;
    RsvgHandle* handle = rsvg_handle_new_from_data(
        reinterpret_cast<const guint8*>(data.constData()), static_cast<gsize>(data.size()), &error);
    if (handle == nullptr) {
        g_clear_error(&error);
        return {};
    }
    // Cairo's ARGB32 is premultiplied and native-endian, the layout of the image's pixels.
    cairo_surface_t* surface =
        cairo_image_surface_create_for_data(image.bits(), CAIRO_FORMAT_ARGB32, image.width(),
                                            image.height(), static_cast<int>(image.bytesPerLine()));
    cairo_t* cairo = cairo_create(surface);
    const RsvgRectangle viewport{0, 0, size.width() * ratio, size.height() * ratio};
    const bool drawn = rsvg_handle_render_document(handle, cairo, &viewport, &error);
    g_clear_error(&error);
    cairo_destroy(cairo);
    cairo_surface_finish(surface);
    cairo_surface_destroy(surface);
    g_object_unref(handle);
    return drawn ? image : QImage();
}

QIcon ProgramIcon() {
    QIcon icon(QStringLiteral(":/marlovin/icon.png"));
    // 32 pixels at ratios from 1.25 to 4; smaller sizes keep coming from the bitmap.
    for (const int side : {40, 48, 56, 64, 80, 96, 128}) {
        const QImage image = RenderVector(QStringLiteral(":/marlovin/icon.svg"), QSize(side, side),
                                          1, Qt::transparent);
        if (!image.isNull())
            icon.addPixmap(QPixmap::fromImage(image));
    }
    return icon;
}

}  // namespace marlovin
