#pragma once
// The album cover as each file's front-cover picture: the limits a target sets on it, the
// picture prepared once for a whole job, and the hook that scales pictures. The core knows
// pictures by their bytes only; the window and the CLI, which can decode and scale them,
// install the scaler at start-up.

#include "audio/ID3Edit.h"

#include <QByteArray>
#include <QString>
#include <functional>
#include <optional>

/// The limits on an embedded cover; 0 = no limit.
struct CoverFit
{
    /// The largest side in pixels.
    int maxSide = 0;
    /// The largest picture in bytes.
    qint64 maxBytes = 0;
    /// The picture must be a baseline JPEG (what car stereos and older players decode).
    bool baselineJpeg = false;

    /// True when the picture may have to be changed to meet the limits.
    [[nodiscard]] bool limits() const { return maxSide > 0 || maxBytes > 0 || baselineJpeg; }
    friend bool operator==(const CoverFit &, const CoverFit &) = default;
};

/// "Embed cover in the files": which picture file, and within which limits.
struct CoverEmbedding
{
    bool on = false;
    QString file;
    CoverFit fit;
};

/// Turns a decodable picture into one within the limits: the bytes themselves when they already
/// meet them, else the picture scaled (smoothly, aspect kept) to the largest side and saved as a
/// baseline JPEG within the byte budget. Nothing when that cannot be done.
using PictureFitter = std::function<std::optional<QByteArray>(const QByteArray &bytes, const CoverFit &fit)>;

/// Installs the scaler coverForTags uses; returns the one it replaces.
PictureFitter setPictureFitter(PictureFitter fitter);

/// The cover to embed from a picture file, or why it cannot be: refused as the tag editor
/// refuses a picture (missing, over 16 MiB, no picture, damaged), then fitted to the limits.
struct CoverForTags
{
    ID3Picture picture; ///< null when refused
    QString problem; ///< empty when the picture can be embedded
};
[[nodiscard]] CoverForTags coverForTags(const QString &file, const CoverFit &fit);

/// True when the bytes are a JPEG picture coded as a baseline (SOF0) frame; false for a
/// progressive or other JPEG and for anything that is no JPEG.
[[nodiscard]] bool isBaselineJpeg(const QByteArray &bytes);
