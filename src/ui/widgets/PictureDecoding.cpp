#include "ui/widgets/PictureDecoding.h"

#include "pictures/PictureFitting.h"

namespace PictureDecoding {

void install()
{
    PictureFitting::install();
}

} // namespace PictureDecoding
