#pragma once
// The result log as the rename command prints it: one node a line, two spaces per level, each
// line starting with the node's kind in brackets.

#include "jobs/RenamePreflight.h"
#include "jobs/ResultLog.h"

#include <QString>

/// The bracketed word of a node kind: "[file]", "[file-info]", "[tag-info]", "[warnings]",
/// "[info]", "[tag]", "[warning]", "[error]", "[playlist]", "[cover]", "[html]".
[[nodiscard]] QString logKindWord(ResultLog::Kind kind);

/// The whole tree, one line per node in tree order, each line ended by "\n".
[[nodiscard]] QString logAsText(const ResultLog &log);

/// The pre-flight as a node of its own: "[preflight]" with the count of files and problems, then
/// (withPlan) one "[info]" line per file with its old and new path (and "(already in place)" or
/// "(finishes an interrupted move)" where that is the plan's verdict) and one per folder a moving
/// file makes,
/// then one "[error]" line per problem and one "[warning]" line per warning (the header then
/// adds the count of warnings: "no problem, 2 warnings").
[[nodiscard]] QString preflightAsText(const AlbumRenamePlan &plan, const QList<PreflightProblem> &problems,
                                      bool withPlan, const QList<PreflightProblem> &warnings = {});
