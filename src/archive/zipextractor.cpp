#include "archive/zipextractor.h"

#include "archive/archivedrive.h"
#include "archive/ezipextractor.h"
#include "archive/spannedarchive.h"
#include "archive/zipmessageids.h"
#include "archive/zipmessagetable.h"
#include "platform/eventcall.h"
#include "platform/heldfiles.h"
#include "platform/messagebox.h"
#include "unzlib/unzlib.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QGuiApplication>
#include <QPointer>
#include <QScopeGuard>
#include <QWidget>

#include <new>
#include <optional>
#include <unordered_set>

#ifdef Q_OS_WIN
#include <windows.h>
#endif

using platform::callEvent;

namespace {

constexpr int kMinimumExtractVersion = 172;
constexpr std::int32_t kTrue = -1;

// The hourglass while the directory is read, when the program has the
// foreground; nested uses keep the cursor saved by the outermost.
class BusyCursor {
public:
    BusyCursor()
    {
        auto *gui = qobject_cast<QGuiApplication *>(QCoreApplication::instance());
        active_ = gui && QGuiApplication::applicationState() == Qt::ApplicationActive;
        if (active_)
            QGuiApplication::setOverrideCursor(Qt::WaitCursor);
    }
    ~BusyCursor()
    {
        if (active_)
            QGuiApplication::restoreOverrideCursor();
    }
    BusyCursor(const BusyCursor &) = delete;
    BusyCursor &operator=(const BusyCursor &) = delete;

private:
    bool active_ = false;
};

std::unordered_set<const TZipExtractor *> &liveComponents()
{
    static std::unordered_set<const TZipExtractor *> live;
    return live;
}

std::int32_t boolean(bool value)
{
    return value ? kTrue : 0;
}

} // namespace

TZipExtractor::TZipExtractor(QObject *owner)
    : TZipStoredSettings(owner), unzLib_(std::make_shared<TUnzLib>(this)), zipLib_(std::make_unique<TZipLib>(this))
{
    if (auto *widget = qobject_cast<QWidget *>(owner))
        windowHandle_ = widget->window();
    liveComponents().insert(this);
}

TZipExtractor::~TZipExtractor()
{
    destroying_ = true;
    liveComponents().erase(this);
}

bool TZipExtractor::isLive(const TZipExtractor *component)
{
    return liveComponents().count(component) != 0;
}

QString TZipExtractor::fallbackPrefix()
{
    return QStringLiteral("Message table is probably not linked to the executable\nMissing String ID is: ");
}

QString TZipExtractor::tableText(int id)
{
    QString text = messageTableText(id);
    callEvent(OnZipStr, *this, id, text);
    return text;
}

QString TZipExtractor::tableTextOr(int id, const QString &fallback)
{
    const QString text = tableText(id);
    return text.isEmpty() ? fallback : text;
}

void TZipExtractor::show(const QString &text)
{
    if (!unattended_)
        platform::showPlainMessage(text);
}

void TZipExtractor::ReportMessage(int id, const QString &extra)
{
    const QString table = tableText(id);
    const QString text =
        table.isEmpty() ? fallbackPrefix() + QString::number(id) + QLatin1Char(' ') + extra : table + extra;
    lastMessage_ = text;
    errorCode_ = id;
    show(text);
    callEvent(OnMessage, *this, 0, text);
}

void TZipExtractor::ReportException(const EZipExtractor &e)
{
    errorCode_ = e.id();
    const QString table = tableText(e.id());
    const QString text = table.isEmpty() ? fallbackPrefix() + QString::number(e.id()) : e.formatted(table);
    if (e.display())
        show(text);
    lastMessage_ = text;
    callEvent(OnMessage, *this, errorCode_, text);
}

void TZipExtractor::setPasswordReqCount(unsigned count)
{
    passwordReqCount_ = std::min<unsigned>(count, UNZ_MAX_PASSWORD_REQUESTS);
}

void TZipExtractor::setLibDirectory(const QString &directory)
{
    QString stored = directory;
    if (stored.endsWith(QLatin1Char('\\')) || stored.endsWith(QLatin1Char('/')))
        stored.chop(1);
    libDirectory_ = stored;
}

void TZipExtractor::setZipFileName(const QString &name)
{
    zipFileName_ = name;
    if (!componentState_.testFlag(csDesigning))
        ReadDirectory();
}

void TZipExtractor::ReadDirectory()
{
    if (componentState_ & (csLoading | csDesigning))
        return;
    entries_.clear();
    facts_ = {};
    skippedDirEntries_ = 0;
    errorCode_ = 0;
    listingFailure_ = {};
    const auto notify = [this] { callEvent(OnDirUpdate, *this); };
    if (zipFileName_.isEmpty() || !QFileInfo(zipFileName_).isFile()) {
        notify();
        return;
    }
    const ArchiveDrive drive = archiveDriveOf(zipFileName_);
#ifdef Q_OS_WIN
    checkDriveRoot(drive.root, std::uint32_t(GetLogicalDrives())); // not trapped: reaches the caller
#endif
    QFile file(zipFileName_);
    ZipDirectoryReader reader(file, QFileInfo(zipFileName_).fileName(), codePage_,
                              [this](int id) { ReportMessage(id); });
    const auto takeFacts = [&] {
        facts_ = reader.facts();
        facts_.openedName = zipFileName_;
        facts_.driveRoot = drive.root;
        facts_.driveFixed = drive.fixed;
    };
    try {
        reader.locateEndRecord();
    } catch (const EZipExtractor &e) {
        ReportException(e);
    }
    if (!file.isOpen()) {
        takeFacts();
        notify();
        return;
    }
    // A report box may let a nested read run meanwhile; the list is built
    // apart and put in place at the end, so reads never mix.
    std::vector<ZipDirEntry> listed;
    bool failed = true;
    {
        BusyCursor cursor;
        try {
            reader.readEntries([this, &listed](int sequence, ZipDirEntry &entry) {
                const qsizetype cut = std::max(entry.FileName.lastIndexOf(QLatin1Char('\\')),
                                               entry.FileName.lastIndexOf(QLatin1Char(':')));
                if (!useDirOnlyEntries_ && entry.FileName.mid(cut + 1).isEmpty()) {
                    ++skippedDirEntries_;
                    return;
                }
                listed.push_back(std::move(entry));
                callEvent(OnNewName, *this, sequence, listed.back());
            });
            failed = false;
        } catch (const EZipExtractor &e) {
            ReportException(e);
        } catch (const std::bad_alloc &) {
            ReportMessage(reportids::OutOfMemory);
        } catch (const std::exception &e) {
            ReportMessage(reportids::DirectoryReadFailed, QString::fromUtf8(e.what()));
        }
    }
    file.close();
    takeFacts();
    if (failed) {
        // The name goes, but its reason stays for the next Extract to report.
        listingFailure_ = {errorCode_, lastMessage_};
        entries_.clear();
        zipFileName_.clear();
        facts_.firstMemberOffset = 0;
    } else {
        facts_.firstMemberOffset += facts_.centralOffset - facts_.statedOffset;
        entries_ = std::move(listed);
    }
    notify();
}

void TZipExtractor::reportAgain(const ListingFailure &failure)
{
    errorCode_ = failure.id;
    lastMessage_ = failure.text;
    show(failure.text);
    callEvent(OnMessage, *this, failure.id, failure.text);
}

int TZipExtractor::Extract()
{
    if (unzipBusy_ || libraryBusy_ || isZipBusy())
        return Busy;
    const QPointer<TZipExtractor> self(this);
    unzipBusy_ = true;
    const auto clearBusy = qScopeGuard([&] {
        if (self)
            unzipBusy_ = false;
    });

    successCount_ = 0;
    errorCode_ = 0;
    lastMessage_.clear();
    if (zipFileName_.isEmpty()) {
        if (listingFailure_.id != 0)
            reportAgain(listingFailure_);
        else
            ReportMessage(reportids::NoArchiveName);
        return errorCode_;
    }
    if (!QFileInfo(zipFileName_).isFile()) {
        ReportMessage(reportids::ArchiveNotFound);
        return errorCode_;
    }
    if (entries_.empty()) {
        ReadDirectory();
        if (entries_.empty()) {
            if (errorCode_ == 0)
                ReportMessage(reportids::EmptyArchive);
            return errorCode_;
        }
    }
    // A spanned set is joined into one temporary archive, removed at the end.
    std::optional<SpannedArchive> spanned;
    if (facts_.spanned) {
        spanned.emplace(zipFileName_, facts_.diskCount);
        int failedPart = 0;
        if (!spanned->join(tempDir_.isEmpty() ? QDir::tempPath() : tempDir_, failedPart)) {
            ReportException(EZipExtractor(reportids::SpannedPartMissing, failedPart));
            return errorCode_;
        }
    }
    runExtraction(spanned ? spanned->joinedPath() : zipFileName_);
    return self ? errorCode_ : Destroyed;
}

// The clean-up after loading runs whatever happened; an exception from a
// handler passes on only once the component is idle again.
void TZipExtractor::runExtraction(const QString &archive)
{
    const unsigned rememberedRequests = passwordReqCount_;
    const bool noPasswordAtHand = unattended_ && password_.isEmpty() && !OnPasswordError;
    if (noPasswordAtHand) {
        passwordReqCount_ = 0;
        // A notice, not a failure: a run with nothing encrypted succeeds,
        // and a skipped encrypted member brings the library's own code.
        ReportMessage(reportids::UnattendedWithoutPassword);
        errorCode_ = 0;
    }
    cancelRequested_ = false;
    libraryBusy_ = true;
    const std::shared_ptr<TUnzLib> library = unzLib_;
    const QPointer<TZipExtractor> self(this);
    std::exception_ptr escaped;
    try {
        try {
            library->LoadForUse(kMinimumExtractVersion, false);
        } catch (const EZipExtractor &e) {
            ReportException(e);
        }
        if (library->isLoaded())
            callLibrary(*library, archive);
    } catch (...) {
        escaped = std::current_exception();
    }
    if (!self)
        return; // destroyed meanwhile: `library` unloads as it goes
    if (library->isLoaded()) {
        fSpecArgs_.clear();
        if (noPasswordAtHand)
            passwordReqCount_ = rememberedRequests;
    }
    // Cleared before the release, whose report would otherwise raise 11007.
    cancelRequested_ = false;
    libraryBusy_ = false;
    try {
        try {
            library->Release(TZipLibLoader::UseOperation);
        } catch (const EZipExtractor &e) { // an abort asked for during its report
            ReportException(e);
        }
    } catch (...) {
        if (!escaped)
            escaped = std::current_exception();
    }
    if (!self)
        return;
    cancelRequested_ = false;
    if (std::exception_ptr pending = std::exchange(pendingThrow_, nullptr); pending && !escaped)
        escaped = pending;
    if (escaped)
        std::rethrow_exception(escaped);
}

void TZipExtractor::callLibrary(TUnzLib &library, const QString &archive)
{
    try {
        UnzipParams params{};
        std::vector<QByteArray> texts;
        std::vector<UnzipFileSpec> specs;
        fillParams(params, archive, texts, specs);
        eventErrorText_.clear();
        pendingThrow_ = nullptr;
        const QPointer<TZipExtractor> self(this);
        std::optional<platform::HeldFiles> replaced;
        if (!extrOptions_.testFlag(ExtrTest))
            replaced.emplace(extractionTargets(params));
        const std::int32_t result = library.Execute(&params);
        replaced.reset();
        if (!self)
            return;
        successCount_ = result;
        if (result < 0) {
            successCount_ = 0;
            ReportMessage(reportids::FatalDllError, QStringLiteral("fatal Dll error"));
        }
    } catch (const EZipExtractor &e) {
        ReportException(e);
    } catch (const std::exception &) {
        ReportMessage(reportids::ExtractFailed);
    }
}

// Where the library puts each listed member: the folder of the call (or the
// current one) and the member's name, with its folders or without them.
// Names that climb out of the folder are left out.
QStringList TZipExtractor::extractionTargets(const UnzipParams &params) const
{
    const QString folder =
        params.extractDirectory ? QFile::decodeName(params.extractDirectory) + QLatin1Char('/') : QString();
    const bool keepFolders = extrOptions_.testFlag(ExtrDirNames);
    QStringList targets;
    for (const ZipDirEntry &entry : entries_) {
        QString name = entry.FileName;
        name.replace(QLatin1Char('\\'), QLatin1Char('/'));
        if (!keepFolders)
            name = name.section(QLatin1Char('/'), -1);
        if (name.isEmpty() || name.startsWith(QLatin1Char('/')) ||
            name.split(QLatin1Char('/')).contains(QStringLiteral("..")))
            continue;
        targets.append(folder + name);
    }
    return targets;
}

void TZipExtractor::fillParams(UnzipParams &params, const QString &archive, std::vector<QByteArray> &texts,
                               std::vector<UnzipFileSpec> &specs)
{
    // The record points into texts, so they are sized once and never move.
    texts.reserve(std::size_t(3 + fSpecArgs_.size()));
    auto keep = [&texts](const QByteArray &bytes) {
        texts.push_back(bytes);
        return texts.back().constData();
    };
    params.windowHandle = unattended_ ? nullptr : windowHandle_;
    params.caller = this;
    params.version = unzLib_->version();
    params.callback = &TZipExtractor::callbackEntry;
    params.traceFlag = boolean(trace_);
    params.password = keep(password_.toUtf8());
    params.testFlag = boolean(extrOptions_.testFlag(ExtrTest));
    params.reserved40 = kTrue;
    params.verboseFlag = boolean(verbose_ || trace_);
    params.updateFlag = boolean(extrOptions_.testFlag(ExtrUpdate));
    params.freshenFlag = boolean(extrOptions_.testFlag(ExtrFreshen) && !extrOptions_.testFlag(ExtrUpdate));
    params.directoryNamesFlag = boolean(extrOptions_.testFlag(ExtrDirNames));
    params.overwriteFlag = boolean(extrOptions_.testFlag(ExtrOverWrite));
    params.archiveName = keep(QFile::encodeName(archive));
    params.passwordRequestCount = std::int32_t(passwordReqCount_);
    if (!extrBaseDir_.isEmpty()) {
        QString directory = extrBaseDir_;
        directory.replace(QLatin1Char('\\'), QLatin1Char('/'));
        if (extrOptions_.testFlag(ExtrForceDirs))
            QDir().mkpath(directory);
        if (!QFileInfo(directory).isDir())
            throw EZipExtractor(reportids::NoExtractDirectory, extrBaseDir_);
        params.extractDirectory = keep(QFile::encodeName(directory));
    }
    // A first entry of exactly "*.*" means every member: the array stays zero.
    const bool everything = fSpecArgs_.isEmpty() || fSpecArgs_.first() == QLatin1String("*.*");
    specs.assign(std::size_t(fSpecArgs_.size()), UnzipFileSpec{});
    for (qsizetype i = 0; i < fSpecArgs_.size() && !everything; ++i)
        specs[std::size_t(i)].fileSpec = keep(fSpecArgs_[i].toUtf8());
    params.fileSpecs = specs.empty() ? nullptr : specs.data();
    params.fileSpecCount = everything ? 0 : std::int32_t(fSpecArgs_.size());
    params.endMarker = UNZ_END_MARKER;
}
