#pragma once

#include <QString>

// A library loaded at run time (dlopen here, LoadLibrary on Windows).
class RuntimeLibrary {
public:
    RuntimeLibrary() = default;
    ~RuntimeLibrary() { unload(); }
    RuntimeLibrary(const RuntimeLibrary &) = delete;
    RuntimeLibrary &operator=(const RuntimeLibrary &) = delete;

    // A bare file name is resolved by the system's search order.
    bool load(const QString &path);
    void unload();
    bool isLoaded() const { return handle_ != nullptr; }
    void *symbol(const char *name) const;
    // The full path of the loaded module as the system reports it.
    QString modulePath() const;

    // The platform's file name of a library: "unzlib" -> "libunzlib.so".
    static QString fileName(const QString &baseName);

private:
    void *handle_ = nullptr;
};
