#include "pictures/PictureFitting.h"

#include "jobs/TagEditing.h"

#include <QBuffer>
#include <QImage>
#include <QImageWriter>
#include <QPainter>

#include <algorithm>

namespace PictureFitting {

namespace {

std::optional<QByteArray> baselineJpeg(const QImage &image, int quality)
{
    QByteArray out;
    QBuffer buffer(&out);
    if (!buffer.open(QIODevice::WriteOnly))
        return std::nullopt;
    QImageWriter writer(&buffer, "jpeg");
    writer.setQuality(quality);
    writer.setProgressiveScanWrite(false);
    if (!writer.write(image))
        return std::nullopt;
    return out;
}

// JPEG has no transparency: transparent parts show white, as on a page.
QImage opaque(const QImage &image)
{
    QImage flat(image.size(), QImage::Format_RGB32);
    flat.fill(Qt::white);
    QPainter painter(&flat);
    painter.drawImage(0, 0, image);
    return flat;
}

} // namespace

std::optional<QByteArray> fit(const QByteArray &bytes, const CoverFit &limits)
{
    const QImage image = QImage::fromData(bytes);
    if (image.isNull())
        return std::nullopt;
    const int side = std::max(image.width(), image.height());
    const bool sideFits = limits.maxSide <= 0 || side <= limits.maxSide;
    const bool sizeFits = limits.maxBytes <= 0 || bytes.size() <= limits.maxBytes;
    const bool kindFits = !limits.baselineJpeg || isBaselineJpeg(bytes);
    if (sideFits && sizeFits && kindFits)
        return bytes;

    QImage picture = opaque(sideFits ? image
                                     : image.scaled(limits.maxSide, limits.maxSide, Qt::KeepAspectRatio,
                                                    Qt::SmoothTransformation));
    // Lower qualities first, then smaller sides, until the budget is met; a bounded search.
    for (int round = 0; round < 8 && !picture.isNull(); ++round) {
        for (const int quality : {90, 80, 70, 60, 50, 40}) {
            const std::optional<QByteArray> jpeg = baselineJpeg(picture, quality);
            if (!jpeg)
                return std::nullopt;
            if (limits.maxBytes <= 0 || jpeg->size() <= limits.maxBytes)
                return jpeg;
        }
        const int width = picture.width() * 3 / 4;
        const int height = picture.height() * 3 / 4;
        if (width < 16 || height < 16)
            break;
        picture = picture.scaled(width, height, Qt::KeepAspectRatio, Qt::SmoothTransformation);
    }
    return std::nullopt;
}

void install()
{
    setPictureDecodeCheck([](const QByteArray &bytes) { return !QImage::fromData(bytes).isNull(); });
    setPictureFitter(fit);
}

} // namespace PictureFitting
