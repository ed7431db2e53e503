#include "archive/runtimelibrary.h"

#include <QFile>

#include <dlfcn.h>
#include <link.h>

bool RuntimeLibrary::load(const QString &path)
{
    unload();
    handle_ = ::dlopen(QFile::encodeName(path).constData(), RTLD_NOW | RTLD_LOCAL);
    return handle_ != nullptr;
}

void RuntimeLibrary::unload()
{
    if (handle_)
        ::dlclose(handle_);
    handle_ = nullptr;
}

void *RuntimeLibrary::symbol(const char *name) const
{
    return handle_ ? ::dlsym(handle_, name) : nullptr;
}

QString RuntimeLibrary::modulePath() const
{
    link_map *map = nullptr;
    if (!handle_ || ::dlinfo(handle_, RTLD_DI_LINKMAP, &map) != 0 || !map || !map->l_name)
        return {};
    return QFile::decodeName(map->l_name);
}

QString RuntimeLibrary::fileName(const QString &baseName)
{
    return QStringLiteral("lib") + baseName + QStringLiteral(".so");
}
