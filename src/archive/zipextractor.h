#pragma once

#include "archive/passworddlg.h"
#include "archive/zipdirectoryreader.h"
#include "archive/zipdirentry.h"
#include "archive/zipenums.h"
#include "archive/ziplibloader.h"
#include "archive/zipstoredsettings.h"

#include <QByteArray>
#include <QStringList>

#include <exception>
#include <functional>
#include <memory>
#include <vector>

class EZipExtractor;
struct CallbackRecord;
struct UnzipParams;

// What OnAfterCallback sees of the call-back just handled.
struct CallBackInfo {
    class TZipExtractor *component;
    int actionCode;
    int errorCode;
    QString text;
    int size;
};

// Lists a ZIP archive's central directory when its name is set and extracts
// members by driving the unzip library, answering its call-backs.
class TZipExtractor : public TZipStoredSettings {
    Q_OBJECT
    Q_PROPERTY(QString ZipFileName READ zipFileName WRITE setZipFileName)
    Q_PROPERTY(QStringList FSpecArgs READ fSpecArgs WRITE setFSpecArgs)
    Q_PROPERTY(ExtrOpts ExtrOptions READ extrOptions WRITE setExtrOptions)
    Q_PROPERTY(QString ExtrBaseDir READ extrBaseDir WRITE setExtrBaseDir)
    Q_PROPERTY(QString Password READ password WRITE setPassword)
    Q_PROPERTY(unsigned PasswordReqCount READ passwordReqCount WRITE setPasswordReqCount)
    Q_PROPERTY(bool Unattended READ isUnattended WRITE setUnattended)
    Q_PROPERTY(bool Verbose READ isVerbose WRITE setVerbose)
    Q_PROPERTY(bool Trace READ trace WRITE setTrace)
    Q_PROPERTY(QString LibDirectory READ libDirectory WRITE setLibDirectory)
    Q_PROPERTY(QString TempDir READ tempDir WRITE setTempDir)
    Q_PROPERTY(CodePageOpts CodePage READ codePage WRITE setCodePage)
    Q_PROPERTY(bool UseDirOnlyEntries READ useDirOnlyEntries WRITE setUseDirOnlyEntries)
    Q_PROPERTY(QString VersionInfo READ versionInfo CONSTANT)
    Q_PROPERTY(int Count READ count)
    Q_PROPERTY(int SkippedDirEntries READ skippedDirEntries)
    Q_PROPERTY(int ErrorCode READ errorCode)
    Q_PROPERTY(int FullErrorCode READ fullErrorCode)
    Q_PROPERTY(QString LastMessage READ lastMessage)
    Q_PROPERTY(int SuccessCount READ successCount)
    Q_PROPERTY(bool CancelRequested READ isCancelRequested WRITE setCancelRequested)
    Q_PROPERTY(QString EventErrorText READ eventErrorText)
    Q_PROPERTY(bool UnzipBusy READ isUnzipBusy)
    Q_PROPERTY(bool LibraryBusy READ isLibraryBusy)
    Q_PROPERTY(bool ZipBusy READ isZipBusy)
    Q_PROPERTY(int PasswordModalResult READ passwordModalResult)
    Q_PROPERTY(int Tag READ tag WRITE setTag)
    Q_PROPERTY(ComponentState State READ componentState WRITE setComponentState)
public:
    // While loading or designing, setting ZipFileName reads no directory.
    enum ComponentStateFlag : unsigned { csLoading = 1, csDesigning = 2 };
    Q_DECLARE_FLAGS(ComponentState, ComponentStateFlag)
    Q_FLAG(ComponentState)
    // Extract's answers that are no report id: refused while busy, and the
    // component destroyed during its own extraction.
    static constexpr int Busy = -255;
    static constexpr int Destroyed = -256;

    explicit TZipExtractor(QObject *owner = nullptr);
    ~TZipExtractor() override;

    // --- settings ---
    QString zipFileName() const { return zipFileName_; }
    void setZipFileName(const QString &name); // reads the directory
    QStringList fSpecArgs() const { return fSpecArgs_; }
    void setFSpecArgs(const QStringList &specs) { fSpecArgs_ = specs; }
    ExtrOpts extrOptions() const { return extrOptions_; }
    void setExtrOptions(ExtrOpts options) { extrOptions_ = options; }
    QString extrBaseDir() const { return extrBaseDir_; }
    void setExtrBaseDir(const QString &directory) { extrBaseDir_ = directory; }
    QString password() const { return password_; }
    void setPassword(const QString &password) { password_ = password; }
    unsigned passwordReqCount() const { return passwordReqCount_; }
    void setPasswordReqCount(unsigned count); // at most 15
    bool isUnattended() const { return unattended_; }
    void setUnattended(bool on) { unattended_ = on; }
    bool isVerbose() const { return verbose_; }
    void setVerbose(bool on) { verbose_ = on; }
    bool trace() const { return trace_; }
    void setTrace(bool on) { trace_ = on; }
    QString libDirectory() const { return libDirectory_; }
    void setLibDirectory(const QString &directory);
    QString tempDir() const { return tempDir_; }
    void setTempDir(const QString &directory) { tempDir_ = directory; }
    CodePageOpts codePage() const { return codePage_; }
    void setCodePage(CodePageOpts codePage) { codePage_ = codePage; }
    bool useDirOnlyEntries() const { return useDirOnlyEntries_; }
    void setUseDirOnlyEntries(bool on) { useDirOnlyEntries_ = on; }
    static QString versionInfo() { return QStringLiteral("1.73"); }
    int tag() const { return tag_; }
    void setTag(int tag) { tag_ = tag; }
    ComponentState componentState() const { return componentState_; }
    void setComponentState(ComponentState state) { componentState_ = state; }

    // --- events ---
    std::function<void(TZipExtractor &sender)> OnDirUpdate;
    std::function<void(TZipExtractor &sender, ProgressType type, const QString &fileName, unsigned fileSize)>
        OnProgress;
    std::function<void(TZipExtractor &sender, int errCode, const QString &message)> OnMessage;
    std::function<void(TZipExtractor &sender, QString &oldFileName, bool &isChanged)> OnSetNewName;
    std::function<void(TZipExtractor &sender, int seqNo, const ZipDirEntry &zipEntry)> OnNewName;
    std::function<void(TZipExtractor &sender, bool isZipAction, QString &newPassword, const QString &forFile,
                       unsigned &repeatCount, TPasswordButton &action)>
        OnPasswordError;
    std::function<void(TZipExtractor &sender, const QString &forFile, unsigned foundCrc, unsigned expectedCrc,
                       bool &doExtract)>
        OnCRC32Error;
    std::function<void(TZipExtractor &sender, const QString &forFile, bool isOlder, bool &doOverwrite, int dirIndex)>
        OnExtractOverwrite;
    std::function<void(TZipExtractor &sender, const QString &forFile, UnZipSkipTypes skipType, int extError)>
        OnExtractSkipped;
    // Zip operations only; nothing here copies into an archive.
    std::function<void(TZipExtractor &sender, const QString &forFile, bool &doOverwrite)> OnCopyZipOverwrite;
    std::function<void(TZipExtractor &sender, const QString &forFile, QString &fileComment, bool &isChanged)>
        OnFileComment;
    std::function<void(CallBackInfo &sender, bool &abort)> OnAfterCallback;
    std::function<void(TZipExtractor &sender)> OnTick;
    std::function<void(TZipExtractor &sender, const QString &forFile, QByteArray &data, bool &isChanged)> OnFileExtra;
    std::function<void(TZipExtractor &sender, unsigned totalSize, int perCent)> OnTotalProgress;
    std::function<void(TZipExtractor &sender, const QString &item, unsigned totalSize, int perCent)> OnItemProgress;
    std::function<void(TZipExtractor &sender, int id, QString &str)> OnZipStr;

    // --- state ---
    int count() const { return int(entries_.size()); }
    const ZipDirEntry &dirEntry(int index) const { return entries_.at(std::size_t(index)); }
    int skippedDirEntries() const { return skippedDirEntries_; }
    const ZipArchiveFacts &archiveFacts() const { return facts_; }
    int errorCode() const { return errorCode_; }
    int fullErrorCode() const { return fullErrorCode_; }
    QString lastMessage() const { return lastMessage_; }
    int successCount() const { return successCount_; }
    bool isCancelRequested() const { return cancelRequested_; }
    void setCancelRequested(bool on) { cancelRequested_ = on; }
    QString eventErrorText() const { return eventErrorText_; }
    bool isUnzipBusy() const { return unzipBusy_; }
    bool isLibraryBusy() const { return libraryBusy_; }
    bool isZipBusy() const { return false; } // this program never adds to an archive
    int passwordModalResult() const { return passwordModalResult_; }
    const TZipLibLoader &unzLib() const { return *unzLib_; }

    // --- operations ---
    void ReadDirectory();
    // Busy, or Destroyed; otherwise errorCode() after the extraction.
    int Extract();
    // Action codes below LibraryCallback are local reports (UNZ_CB_*);
    // LibraryCallback carries the library's record, and then the answer is
    // true when the library must abort.
    static constexpr int LibraryCallback = 17;
    bool DispatchCallback(int actionCode, int errorCode, int size, const QString &text,
                          CallbackRecord *record = nullptr);
    static int ProgressPercent(unsigned total, unsigned done);
    void ReportMessage(int id, const QString &extra = {});
    void ReportException(const EZipExtractor &e);

    // The table text of a message id, as OnZipStr leaves it.
    QString tableText(int id);
    QString tableTextOr(int id, const QString &fallback);
    // "Message table is probably not linked..." with the line feed.
    static QString fallbackPrefix();

    // The call-back entry handed to the library.
    static std::int32_t callbackEntry(CallbackRecord *record);

private:
    void runExtraction(const QString &archive);
    void callLibrary(TUnzLib &library, const QString &archive);
    QStringList extractionTargets(const UnzipParams &params) const;
    void fillParams(UnzipParams &params, const QString &archive, std::vector<QByteArray> &texts,
                    std::vector<struct UnzipFileSpec> &specs);
    void handleAction(int action, int error, int size, const QString &text, CallbackRecord *record);
    void handlePassword(const QString &forFile, int error, int size, CallbackRecord *record);
    void startItem(const QString &name, unsigned size);
    void advanceItem(unsigned done);
    void answerFileComment(const QString &forFile, CallbackRecord &record);
    void answerMemoryRequest(int size, CallbackRecord &record);
    void answerFileExtra(const QString &forFile, int size, CallbackRecord &record);
    QString askPassword(bool newPassword);
    int showPasswordDialog(TPasswordDlg::Buttons buttons, const QString &prompt, QString &entered);
    void show(const QString &text);
    struct ListingFailure {
        int id = 0;
        QString text;
    };
    void reportAgain(const ListingFailure &failure);
    // A record's caller is trusted only when it is a component alive now.
    static bool isLive(const TZipExtractor *component);

    QString zipFileName_;
    QStringList fSpecArgs_;
    ExtrOpts extrOptions_;
    QString extrBaseDir_;
    QString password_;
    unsigned passwordReqCount_ = 1;
    bool unattended_ = false;
    bool verbose_ = false;
    bool trace_ = false;
    QString libDirectory_;
    QString tempDir_;
    CodePageOpts codePage_ = cpAuto;
    bool useDirOnlyEntries_ = false;
    bool cancelRequested_ = false;
    std::vector<ZipDirEntry> entries_;
    ZipArchiveFacts facts_;
    int skippedDirEntries_ = 0;
    int errorCode_ = 0;
    int fullErrorCode_ = 0;
    QString lastMessage_;
    int successCount_ = 0;
    QString eventErrorText_;
    bool unzipBusy_ = false;
    bool libraryBusy_ = false;
    bool destroying_ = false;
    int passwordModalResult_ = 0;
    void *windowHandle_ = nullptr;
    unsigned totalSize_ = 0, totalDone_ = 0, itemSize_ = 0, itemDone_ = 0;
    QString itemName_;
    QByteArray memoryStream_;       // extraction into memory
    QByteArray extraData_;          // a handler's extra data too long for the record
    ListingFailure listingFailure_; // of the last directory read that cleared the name
    int tag_ = 0;
    ComponentState componentState_;
    std::exception_ptr pendingThrow_; // raised in a handler, passed on after the library returns
    // Shared with a running extraction, which keeps it loaded until the
    // library's call returns even when the component is destroyed meanwhile.
    std::shared_ptr<TUnzLib> unzLib_;
    std::unique_ptr<TZipLib> zipLib_;
};
Q_DECLARE_OPERATORS_FOR_FLAGS(TZipExtractor::ComponentState)
