#pragma once

#include "archive/zipdirectoryreader.h"
#include "archive/zipdirentry.h"
#include "archive/zipenums.h"
#include "archive/ziplibloader.h"

#include <QObject>
#include <QStringList>

#include <exception>
#include <functional>
#include <memory>
#include <vector>

class EZipExtractor;
struct CallbackRecord;
struct UnzipParams;

// What OnAfterCallback sees of the call-back just handled.
struct CallBackInfo : QObject {
    CallBackInfo(class TZipExtractor *c, int action, int error, const QString &t, int s)
        : component(c), actionCode(action), errorCode(error), text(t), size(s)
    {}
    class TZipExtractor *component;
    int actionCode;
    int errorCode;
    QString text;
    int size;
};

// Lists a ZIP archive's central directory when its name is set and extracts
// members by driving the unzip library, answering its call-backs.
class TZipExtractor : public QObject {
    Q_OBJECT
public:
    explicit TZipExtractor(QObject *owner = nullptr);
    ~TZipExtractor() override;

    // --- settings ---
    QString ZipFileName() const { return zipFileName_; }
    void setZipFileName(const QString &name); // reads the directory
    QStringList FSpecArgs;
    ExtrOpts ExtrOptions = 0;
    QString ExtrBaseDir;
    QString Password;
    unsigned PasswordReqCount() const { return passwordReqCount_; }
    void setPasswordReqCount(unsigned count); // at most 15
    bool Unattended = false;
    bool Verbose = false;
    bool Trace = false;
    QString LibDirectory() const { return libDirectory_; }
    void setLibDirectory(const QString &directory);
    QString TempDir;
    CodePageOpts CodePage = cpAuto;
    bool UseDirOnlyEntries = false;
    static QString VersionInfo() { return QStringLiteral("1.73"); }

    // --- events ---
    std::function<void(QObject *sender)> OnDirUpdate;
    std::function<void(QObject *sender, ProgressType type, const QString &fileName, unsigned fileSize)> OnProgress;
    std::function<void(QObject *sender, int errCode, const QString &message)> OnMessage;
    std::function<void(QObject *sender, QString &oldFileName, bool &isChanged)> OnSetNewName;
    std::function<void(QObject *sender, int seqNo, const ZipDirEntry &zipEntry)> OnNewName;
    std::function<void(QObject *sender, bool isZipAction, QString &newPassword, const QString &forFile,
                       unsigned &repeatCount, TPasswordButton &action)>
        OnPasswordError;
    std::function<void(QObject *sender, const QString &forFile, unsigned foundCrc, unsigned expectedCrc,
                       bool &doExtract)>
        OnCRC32Error;
    std::function<void(QObject *sender, const QString &forFile, bool isOlder, bool &doOverwrite, int dirIndex)>
        OnExtractOverwrite;
    std::function<void(QObject *sender, const QString &forFile, UnZipSkipTypes skipType, int extError)>
        OnExtractSkipped;
    std::function<void(QObject *sender, bool &abort)> OnAfterCallback; // sender: a CallBackInfo
    std::function<void(QObject *sender)> OnTick;
    std::function<void(QObject *sender, unsigned totalSize, int perCent)> OnTotalProgress;
    std::function<void(QObject *sender, const QString &item, unsigned totalSize, int perCent)> OnItemProgress;
    std::function<void(QObject *sender, int id, QString &str)> OnZipStr;

    // --- state ---
    int Count() const { return int(entries_.size()); }
    const ZipDirEntry &DirEntry(int index) const { return entries_.at(std::size_t(index)); }
    int SkippedDirEntries() const { return skippedDirEntries_; }
    const ZipArchiveFacts &ArchiveFacts() const { return facts_; }
    int ErrorCode() const { return errorCode_; }
    int FullErrorCode() const { return fullErrorCode_; }
    QString LastMessage() const { return lastMessage_; }
    int SuccessCount() const { return successCount_; }
    bool CancelRequested = false;
    QString EventErrorText() const { return eventErrorText_; }
    bool UnzipBusy() const { return unzipBusy_; }
    bool LibraryBusy() const { return libraryBusy_; }
    bool ZipBusy() const { return false; } // this program never adds to an archive
    int PasswordModalResult() const { return passwordModalResult_; }
    const TZipLibLoader &UnzLib() const { return *unzLib_; }

    // --- operations ---
    void ReadDirectory();
    // -255 while busy; otherwise ErrorCode after the extraction.
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
    void fillParams(UnzipParams &params, const QString &archive, std::vector<QByteArray> &texts,
                    std::vector<struct UnzipFileSpec> &specs);
    void handleAction(int action, int error, int size, const QString &text, CallbackRecord *record);
    void handlePassword(const QString &forFile, int error, int size, CallbackRecord *record);
    QString askPassword(bool newPassword);
    int showPasswordDialog(int buttons, const QString &prompt, QString &entered);
    void show(const QString &text);
    // A record's caller is trusted only when it is a component alive now.
    static bool isLive(const TZipExtractor *component);

    QString zipFileName_;
    unsigned passwordReqCount_ = 1;
    QString libDirectory_;
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
    std::exception_ptr pendingThrow_; // raised in a handler, passed on after the library returns
    // Shared with a running extraction, which keeps it loaded until the
    // library's call returns even when the component is destroyed meanwhile.
    std::shared_ptr<TUnzLib> unzLib_;
    std::unique_ptr<TZipLib> zipLib_;
};
