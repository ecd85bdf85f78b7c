#include "jobs/CoverEmbedding.h"

#include "jobs/TagEditing.h"

#include <utility>

using namespace Qt::StringLiterals;

namespace {

PictureFitter &installedFitter()
{
    static PictureFitter fitter;
    return fitter;
}

} // namespace

PictureFitter setPictureFitter(PictureFitter fitter)
{
    return std::exchange(installedFitter(), std::move(fitter));
}

CoverForTags coverForTags(const QString &file, const CoverFit &fit)
{
    const PictureFile read = readPictureFile(file);
    if (!read.problem.isEmpty())
        return {{}, read.problem};
    if (!fit.limits())
        return {read.picture, {}};
    if (!installedFitter())
        return {{}, u"Pictures cannot be scaled here."_s};
    const std::optional<QByteArray> fitted = installedFitter()(read.picture.data, fit);
    if (!fitted || fitted->isEmpty())
        return {{}, u"The picture cannot be brought within the cover limits."_s};
    if (*fitted == read.picture.data)
        return {read.picture, {}};
    return {ID3Picture {*fitted, u"image/jpeg"_s}, {}};
}

bool isBaselineJpeg(const QByteArray &bytes)
{
    const auto byte = [&bytes](qsizetype i) { return quint8(bytes.at(i)); };
    if (bytes.size() < 4 || byte(0) != 0xFF || byte(1) != 0xD8)
        return false;
    // Markers follow the start of image: 0xFF, the marker byte (fill bytes 0xFF before it), then
    // for all but the stand-alone markers a two-byte big-endian length that counts itself.
    qsizetype at = 2;
    while (at + 1 < bytes.size()) {
        if (byte(at) != 0xFF)
            return false;
        while (at + 1 < bytes.size() && byte(at + 1) == 0xFF)
            ++at;
        if (at + 1 >= bytes.size())
            return false;
        const quint8 marker = byte(at + 1);
        at += 2;
        if (marker == 0xC0)
            return true;
        // Any other start of frame (extended, progressive, lossless, arithmetic), the start of
        // scan or the end of image before a frame: no baseline picture.
        if ((marker >= 0xC1 && marker <= 0xCF && marker != 0xC4 && marker != 0xC8 && marker != 0xCC)
            || marker == 0xDA || marker == 0xD9)
            return false;
        if (marker == 0x01 || (marker >= 0xD0 && marker <= 0xD7))
            continue;
        if (at + 1 >= bytes.size())
            return false;
        const int length = byte(at) << 8 | byte(at + 1);
        if (length < 2)
            return false;
        at += length;
    }
    return false;
}
