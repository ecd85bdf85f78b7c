#pragma once
// Where an album output file goes: one rule for the plan and for the writers.

#include <QString>

/// The path of an album output in `folder` (with a trailing separator): `name` and `extension`,
/// shortened to the Joliet limit when `joliet` asks for it.
[[nodiscard]] QString albumOutputPath(const QString &folder, const QString &name, const QString &extension,
                                      bool joliet);
