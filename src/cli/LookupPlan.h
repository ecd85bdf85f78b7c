#pragma once
// "varnelt-cli rename DIR --lookup URL": the rename plan from a lookup, handed over as OK of the
// track list hands it over, with the cover downloaded into "Download" first.

#include "cli/RenamePlan.h"

/// Runs the lookup and builds the plan. coverFile gets the downloaded cover (empty when the
/// site gave none or it could not be fetched). Returns the exit status to stop with and sets
/// error (Cli::Success with an empty error means the plan is ready).
[[nodiscard]] int buildLookupPlan(const RenameCommandOptions &options, RenamePlan &plan, QString &coverFile,
                                  QString &error);
