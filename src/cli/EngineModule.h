#pragma once
// The embedded engine's module of varnelt-cli (libvarnelt-cli-engine.so), loaded on first use:
// beside the program, else where the build put it.

#include <QFunctionPointer>
#include <QString>

class QCoreApplication;
struct LookupContext;

namespace EngineModule {

using MakeApplication = QCoreApplication *(*)(int &argc, char **argv);
using DriveLookup = bool (*)(LookupContext &lookup, const QString &url, int timeoutSeconds, QString &problem);
using CaptureTrackList = bool (*)(LookupContext &lookup, const QString &url, int timeoutSeconds, QString &problem);

/// The module's function of that name; nullptr, with the reason in *error, when the module
/// cannot be loaded or lacks it.
[[nodiscard]] QFunctionPointer resolve(const char *name, QString *error);

} // namespace EngineModule
