#pragma once
// Picture decoding and scaling for the core's picture hooks, with Qt's image readers and
// writers (QtGui, no widgets). The window and the CLI install them at start-up.

#include "jobs/CoverEmbedding.h"

#include <QByteArray>
#include <optional>

namespace PictureFitting {

/// The picture within the limits, as the core's PictureFitter describes it.
[[nodiscard]] std::optional<QByteArray> fit(const QByteArray &bytes, const CoverFit &limits);

/// Installs the decode check of the tag editor's pictures and fit() as the core's scaler.
void install();

} // namespace PictureFitting
