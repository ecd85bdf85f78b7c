#pragma once
// The result log as the rename command prints it: one node a line, two spaces per level, each
// line starting with the node's kind in brackets.

#include "jobs/ResultLog.h"

#include <QString>

/// The bracketed word of a node kind: "[file]", "[file-info]", "[tag-info]", "[warnings]",
/// "[info]", "[tag]", "[warning]", "[error]", "[playlist]", "[cover]".
[[nodiscard]] QString logKindWord(ResultLog::Kind kind);

/// The whole tree, one line per node in tree order, each line ended by "\n".
[[nodiscard]] QString logAsText(const ResultLog &log);
