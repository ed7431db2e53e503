#pragma once

#include <QLibrary>
#include <QPointer>
#include <QString>

#include <cstdint>
#include <memory>

class TZipExtractor;
struct UnzipParams;

// Finds, loads, checks and unloads one of the component's outside libraries.
// The library stays loaded while at least one use reason is held.
class TZipLibLoader {
public:
    enum UseReason { UseExecute = 1, UseOperation = 2, UseKeep = 4 };

    TZipLibLoader(TZipExtractor *owner, int kind);
    virtual ~TZipLibLoader();
    TZipLibLoader(const TZipLibLoader &) = delete;
    TZipLibLoader &operator=(const TZipLibLoader &) = delete;

    int Acquire(int reasons);
    int Release(int reasons);
    // Returns the private version; 0 when nothing acceptable was loaded.
    int LoadFromPath(const QString &path, bool mustLoad);
    // Loads for an operation; raises 10651 below the minimum version.
    int LoadForUse(int minimum, bool keep);
    std::int32_t Execute(UnzipParams *params);

    bool isLoaded() const { return library_ != nullptr; }
    QString libraryPath() const { return libraryPath_; }
    int version() const { return version_; }
    int privateVersion() const { return privateVersion_; }
    int useReasons() const { return useReasons_; }
    int kind() const { return kind_; }

private:
    void clear();
    void unload();
    QString resolvePath() const;

    std::shared_ptr<QLibrary> library_; // shared with every loader of the file
    using ExecFn = std::int32_t (*)(UnzipParams *);
    using VersionFn = std::int32_t (*)();
    ExecFn exec_ = nullptr;
    VersionFn versionEntry_ = nullptr;
    VersionFn privateVersionEntry_ = nullptr;
    int kind_;
    QString libraryPath_;
    QPointer<TZipExtractor> owner_; // null once the component is gone
    int useReasons_ = 0;
    int version_ = 0;
    int privateVersion_ = 0;
};

class TUnzLib : public TZipLibLoader {
public:
    explicit TUnzLib(TZipExtractor *owner) : TZipLibLoader(owner, 0) {}
};

class TZipLib : public TZipLibLoader {
public:
    explicit TZipLib(TZipExtractor *owner) : TZipLibLoader(owner, 1) {}
};

// Joins a folder and a file name with one separator between them; "/" and
// "\" both count as separators.
QString joinLibraryPath(const QString &directory, const QString &name);
