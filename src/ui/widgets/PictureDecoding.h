#pragma once
// The window's picture decoding for the core's picture check: installed at start-up.

namespace PictureDecoding {

/// Installs the decode check that refuses a picture file Qt's image readers cannot decode, and
/// the scaler of the covers embedded by the rename job.
void install();

} // namespace PictureDecoding
