#include "archive/ziplibloader.h"

#include "archive/ezipextractor.h"
#include "archive/zipextractor.h"
#include "archive/zipmessageids.h"
#include "unzlib/unzlib.h"

#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>

#include <map>
#include <memory>

#ifdef Q_OS_WIN
#include <windows.h>
#else
#include <dlfcn.h>
#endif

namespace {

constexpr int kAllReasons = TZipLibLoader::UseExecute | TZipLibLoader::UseOperation | TZipLibLoader::UseKeep;
constexpr int kLowestVersion = 153;
constexpr int kHighestVersion = 300;

struct KindNames {
    const char *library;
    const char *exec;
    const char *version;
    const char *privateVersion;
};

const KindNames kNames[2] = {
    {"unzlib", "UnzLibExec", "GetUnzLibVersion", "GetUnzLibPrivVersion"},
    {"ziplib", "ZipLibExec", "GetZipLibVersion", "GetZipLibPrivVersion"},
};

bool isSeparator(QChar c)
{
    return c == QLatin1Char('/') || c == QLatin1Char('\\');
}

// The platform's file name of a library: "unzlib" -> "libunzlib.so" or "unzlib.dll".
QString libraryFileName(const char *baseName)
{
#ifdef Q_OS_WIN
    return QString::fromLatin1(baseName) + QStringLiteral(".dll");
#else
    return QStringLiteral("lib") + QString::fromLatin1(baseName) + QStringLiteral(".so");
#endif
}

// The full path of the module that holds a symbol: a library loaded by its
// bare name through the system's search order reads as where it was found.
QString modulePathOf(void *symbol, const QString &fallback)
{
#ifdef Q_OS_WIN
    HMODULE module = nullptr;
    wchar_t path[4096];
    if (GetModuleHandleExW(GET_MODULE_HANDLE_EX_FLAG_FROM_ADDRESS | GET_MODULE_HANDLE_EX_FLAG_UNCHANGED_REFCOUNT,
                           static_cast<LPCWSTR>(symbol), &module)) {
        const DWORD length = GetModuleFileNameW(module, path, DWORD(std::size(path)));
        if (length > 0 && length < std::size(path))
            return QDir::fromNativeSeparators(QString::fromWCharArray(path, int(length)));
    }
#else
    Dl_info info{};
    if (dladdr(symbol, &info) && info.dli_fname)
        return QFileInfo(QFile::decodeName(info.dli_fname)).absoluteFilePath();
#endif
    return fallback;
}

// One QLibrary per library file for the whole process, shared by every
// loader that loads it and by every call into it that runs: QLibrary objects
// of one file share a handle that their first unload() unmaps, so a second
// component's unload would otherwise pull the code from under a running call.
std::shared_ptr<QLibrary> loadShared(const QString &path)
{
    static std::map<QString, std::weak_ptr<QLibrary>> loaded;
    const QFileInfo file(path);
    const QString key = file.isFile() ? file.canonicalFilePath() : path;
    if (std::shared_ptr<QLibrary> held = loaded[key].lock())
        return held;
    std::shared_ptr<QLibrary> library(new QLibrary(path), [](QLibrary *library) {
        library->unload();
        delete library;
    });
    library->setLoadHints(QLibrary::ResolveAllSymbolsHint);
    if (!library->load())
        return nullptr;
    std::erase_if(loaded, [](const auto &entry) { return entry.second.expired(); });
    loaded[key] = library;
    return library;
}

QString programDirectory()
{
    return QCoreApplication::instance() ? QCoreApplication::applicationDirPath() : QString();
}

} // namespace

QString joinLibraryPath(const QString &directory, const QString &name)
{
    QString joined = directory;
    if (!directory.isEmpty() && !directory.endsWith(QLatin1Char(':')) && !name.isEmpty()) {
        const bool dirHas = isSeparator(directory.back());
        const bool nameHas = isSeparator(name.front());
        if (dirHas && nameHas)
            joined.chop(1);
        else if (!dirHas && !nameHas)
            joined += QLatin1Char('/');
    }
    joined += name;
    return joined.replace(QLatin1Char('\\'), QLatin1Char('/'));
}

TZipLibLoader::TZipLibLoader(TZipExtractor *owner, int kind)
    : kind_(kind), libraryPath_(QString::fromLatin1(kNames[kind].library)), owner_(owner)
{}

TZipLibLoader::~TZipLibLoader()
{
    unload();
}

void TZipLibLoader::unload()
{
    library_.reset();
}

void TZipLibLoader::clear()
{
    unload();
    exec_ = nullptr;
    versionEntry_ = nullptr;
    privateVersionEntry_ = nullptr;
    version_ = 0;
    privateVersion_ = 0;
}

// LibDirectory first; then the program's own folder; then the system's
// search order for the bare name.
QString TZipLibLoader::resolvePath() const
{
    const QString file = libraryFileName(kNames[kind_].library);
    const QString directory = owner_ ? owner_->libDirectory() : QString();
    if (!directory.isEmpty()) {
        QString path = joinLibraryPath(directory, file);
        if (directory.startsWith(QLatin1Char('.')))
            path = joinLibraryPath(programDirectory(), path);
        if (QFileInfo::exists(path))
            return path;
    }
    const QString beside = joinLibraryPath(programDirectory(), file);
    if (!programDirectory().isEmpty() && QFileInfo::exists(beside))
        return beside;
    return file;
}

int TZipLibLoader::Acquire(int reasons)
{
    useReasons_ = (useReasons_ | reasons) & kAllReasons;
    if (isLoaded())
        return version_;
    version_ = 0;
    // The program carries no library of its own, so a failed load raises.
    LoadFromPath(resolvePath(), true);
    if (owner_ && owner_->isVerbose())
        owner_->DispatchCallback(UNZ_CB_MESSAGE, 0, 0,
                                 owner_->tableTextOr(reportids::LibraryLoaded, QStringLiteral("loaded ")) +
                                     libraryPath_);
    return version_;
}

int TZipLibLoader::LoadFromPath(const QString &path, bool mustLoad)
{
    clear();
    // QLibrary also keeps Windows from showing its own error boxes meanwhile.
    library_ = loadShared(path);
    if (!library_) {
        useReasons_ = 0;
        if (mustLoad)
            throw EZipExtractor(reportids::LibraryNotLoadable, path);
        return 0;
    }
    const KindNames &names = kNames[kind_];
    exec_ = reinterpret_cast<ExecFn>(library_->resolve(names.exec));
    versionEntry_ = reinterpret_cast<VersionFn>(library_->resolve(names.version));
    privateVersionEntry_ = reinterpret_cast<VersionFn>(library_->resolve(names.privateVersion));
    libraryPath_ = exec_ ? modulePathOf(reinterpret_cast<void *>(exec_), library_->fileName()) : library_->fileName();
    if (exec_ && versionEntry_) {
        version_ = versionEntry_();
        if (privateVersionEntry_)
            privateVersion_ = privateVersionEntry_();
    }
    if (version_ < kLowestVersion || version_ > kHighestVersion) {
        clear();
        useReasons_ = 0;
        if (mustLoad)
            throw EZipExtractor(reportids::LibraryVersionRefused, libraryPath_);
        return 0;
    }
    return privateVersion_;
}

int TZipLibLoader::LoadForUse(int minimum, bool keep)
{
    Acquire(keep ? UseKeep : UseOperation);
    const int result = isLoaded() ? version_ : 0;
    if (version_ < minimum) {
        Release(kAllReasons);
        throw EZipExtractor(reportids::LibraryVersionRefused, libraryPath_);
    }
    return result;
}

std::int32_t TZipLibLoader::Execute(UnzipParams *params)
{
    Acquire(UseExecute);
    const std::shared_ptr<QLibrary> running = library_; // loaded until the call returns
    const std::int32_t result = exec_(params);
    Release(UseExecute);
    return result;
}

int TZipLibLoader::Release(int reasons)
{
    useReasons_ = useReasons_ & ~reasons & kAllReasons;
    const bool unloading = useReasons_ == 0 && isLoaded();
    if (!isLoaded() || unloading) {
        // Unloaded before the report, so a handler that throws cannot keep it.
        clear();
        useReasons_ = 0;
    }
    if (unloading && owner_ && owner_->isVerbose())
        owner_->DispatchCallback(UNZ_CB_MESSAGE, 0, 0,
                                 owner_->tableTextOr(reportids::LibraryUnloaded, QStringLiteral("unloaded ")) +
                                     libraryPath_);
    return version_;
}
