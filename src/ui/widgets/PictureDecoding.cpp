#include "ui/widgets/PictureDecoding.h"

#include "jobs/TagEditing.h"

#include <QImage>

namespace PictureDecoding {

void install()
{
    setPictureDecodeCheck([](const QByteArray &bytes) { return !QImage::fromData(bytes).isNull(); });
}

} // namespace PictureDecoding
