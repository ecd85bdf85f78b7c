#include "cli/EngineModule.h"

#include <QFileInfo>
#include <QLibrary>
#include <QStringList>

using namespace Qt::StringLiterals;

namespace EngineModule {
namespace {

constexpr auto ModuleName = "libvarnelt-cli-engine.so";

// Found before the application exists, so not through QCoreApplication.
QString programFolder()
{
    return QFileInfo(u"/proc/self/exe"_s).canonicalPath();
}

QLibrary *module(QString *error)
{
    static QLibrary *loaded = nullptr;
    if (loaded)
        return loaded;
    QStringList tried;
    // Beside the program in the build folder; in the private library folder of an installed
    // tree, wherever that tree was put.
    const QString name = QLatin1StringView(ModuleName);
    const QStringList paths{programFolder() + u'/' + name,
        programFolder() + u'/' + QStringLiteral(VARNELT_CLI_ENGINE_RELATIVE_DIR) + u'/' + name};
    for (const QString &path : paths) {
        auto *library = new QLibrary(path);
        if (library->load()) {
            loaded = library;
            return loaded;
        }
        tried << library->errorString();
        delete library;
    }
    if (error)
        *error = u"the embedded engine could not be loaded: "_s + tried.join(u"; "_s);
    return nullptr;
}

} // namespace

QFunctionPointer resolve(const char *name, QString *error)
{
    QLibrary *library = module(error);
    if (!library)
        return nullptr;
    const QFunctionPointer function = library->resolve(name);
    if (!function && error)
        *error = u"the embedded engine's module lacks %1"_s.arg(QLatin1StringView(name));
    return function;
}

} // namespace EngineModule
