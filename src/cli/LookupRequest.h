#pragma once
// "varnelt-cli rename DIR --lookup URL": the rename request from a lookup, handed over as OK of the
// track list hands it over, with the cover downloaded into "Download" first.

#include "cli/RenameRequest.h"

/// Runs the lookup and builds the request. coverFile gets the downloaded cover (empty when the
/// site gave none or it could not be fetched). Returns the exit status to stop with and sets
/// error (Cli::Success with an empty error means the request is ready).
[[nodiscard]] int buildLookupRequest(const RenameCommandOptions &options, RenameRequest &request, QString &coverFile,
                                  QString &error);
