#pragma once

#include <QDateTime>
#include <QFlags>
#include <QIcon>
#include <QObject>
#include <QStringList>

// The archive component's settings for adding to, spanning and
// self-extracting archives. They are stored and read back, so declared
// values survive, but nothing here adds, spans or builds a self-extractor:
// listing and extraction never read them.
class TZipStoredSettings : public QObject {
    Q_OBJECT
public:
    enum AddOptsEnum : unsigned {
        AddDirNames = 1,
        AddRecurseDirs = 2,
        AddMove = 4,
        AddFreshen = 8,
        AddUpdate = 16,
        AddHiddenFiles = 32,
        AddEncrypt = 64,
    };
    Q_DECLARE_FLAGS(AddOpts, AddOptsEnum)
    Q_FLAG(AddOpts)
    // Suffixes of files that are stored, not compressed, when added.
    enum AddStoreExtsEnum : unsigned {
        assGIF = 1,
        assPNG = 2,
        assJPG = 4,
        assZ = 8,
        assZIP = 16,
        assARJ = 32,
        assLZH = 64,
        assRAR = 128,
        assCAB = 256,
        assGZ = 512,
        assTGZ = 1024,
        assJAR = 2048,
        assEXE = 4096,
        assEXT = 8192, // the suffixes of ExtAddStoreSuffixes
    };
    Q_DECLARE_FLAGS(AddStoreExts, AddStoreExtsEnum)
    Q_FLAG(AddStoreExts)
    enum DeleteOpts { htdFinal, htdAllowUndo };
    Q_ENUM(DeleteOpts)
    enum SpanOptsEnum : unsigned { spNoVolumeName = 1, spCompatName = 2, spWipeFiles = 4, spTryFormat = 8 };
    Q_DECLARE_FLAGS(SpanOpts, SpanOptsEnum)
    Q_FLAG(SpanOpts)
    enum SFXOptsEnum : unsigned {
        SFXAskCmdLine = 1,
        SFXAskFiles = 2,
        SFXAutoRun = 4,
        SFXCheckSize = 8,
        SFXNoSuccessMsg = 16,
    };
    Q_DECLARE_FLAGS(SFXOpts, SFXOptsEnum)
    Q_FLAG(SFXOpts)
    enum OvrOpts { OvrConfirm, OvrAlways, OvrNever };
    Q_ENUM(OvrOpts)

private:
    Q_PROPERTY(int AddCompLevel READ addCompLevel WRITE setAddCompLevel)
    Q_PROPERTY(AddOpts AddOptions READ addOptions WRITE setAddOptions)
    Q_PROPERTY(QDateTime AddFrom READ addFrom WRITE setAddFrom)
    Q_PROPERTY(AddStoreExts AddStoreSuffixes READ addStoreSuffixes WRITE setAddStoreSuffixes)
    Q_PROPERTY(QString ExtAddStoreSuffixes READ extAddStoreSuffixes WRITE setExtAddStoreSuffixes)
    Q_PROPERTY(QStringList FSpecArgsExcl READ fSpecArgsExcl WRITE setFSpecArgsExcl)
    Q_PROPERTY(DeleteOpts HowToDelete READ howToDelete WRITE setHowToDelete)
    Q_PROPERTY(QString RootDir READ rootDir WRITE setRootDir)
    Q_PROPERTY(SpanOpts SpanOptions READ spanOptions WRITE setSpanOptions)
    Q_PROPERTY(bool ConfirmErase READ confirmErase WRITE setConfirmErase)
    Q_PROPERTY(int KeepFreeOnDisk1 READ keepFreeOnDisk1 WRITE setKeepFreeOnDisk1)
    Q_PROPERTY(int KeepFreeOnAllDisks READ keepFreeOnAllDisks WRITE setKeepFreeOnAllDisks)
    Q_PROPERTY(qint64 MaxVolumeSize READ maxVolumeSize WRITE setMaxVolumeSize)
    Q_PROPERTY(int MinFreeVolumeSize READ minFreeVolumeSize WRITE setMinFreeVolumeSize)
    Q_PROPERTY(QString SFXSlave READ sfxSlave WRITE setSfxSlave)
    Q_PROPERTY(QString SFXCaption READ sfxCaption WRITE setSfxCaption)
    Q_PROPERTY(QString SFXCommandLine READ sfxCommandLine WRITE setSfxCommandLine)
    Q_PROPERTY(QString SFXDefaultDir READ sfxDefaultDir WRITE setSfxDefaultDir)
    Q_PROPERTY(QIcon SFXIcon READ sfxIcon WRITE setSfxIcon)
    Q_PROPERTY(QString SFXMessage READ sfxMessage WRITE setSfxMessage)
    Q_PROPERTY(SFXOpts SFXOptions READ sfxOptions WRITE setSfxOptions)
    Q_PROPERTY(OvrOpts SFXOverWriteMode READ sfxOverWriteMode WRITE setSfxOverWriteMode)
    Q_PROPERTY(QString SFXPath READ sfxPath WRITE setSfxPath)

public:
    using QObject::QObject;

    int addCompLevel() const { return addCompLevel_; }
    void setAddCompLevel(int level) // 0 (store) to 9; other values are ignored
    {
        if (level >= 0 && level <= 9)
            addCompLevel_ = level;
    }
    AddOpts addOptions() const { return addOptions_; }
    void setAddOptions(AddOpts options) { addOptions_ = options; }
    QDateTime addFrom() const { return addFrom_; }
    void setAddFrom(const QDateTime &from) { addFrom_ = from; }
    AddStoreExts addStoreSuffixes() const { return addStoreSuffixes_; }
    void setAddStoreSuffixes(AddStoreExts suffixes) { addStoreSuffixes_ = suffixes; }
    QString extAddStoreSuffixes() const { return extAddStoreSuffixes_; }
    void setExtAddStoreSuffixes(const QString &suffixes) { extAddStoreSuffixes_ = suffixes; }
    QStringList fSpecArgsExcl() const { return fSpecArgsExcl_; }
    void setFSpecArgsExcl(const QStringList &specs) { fSpecArgsExcl_ = specs; }
    DeleteOpts howToDelete() const { return howToDelete_; }
    void setHowToDelete(DeleteOpts how) { howToDelete_ = how; }
    QString rootDir() const { return rootDir_; }
    void setRootDir(const QString &directory) { rootDir_ = directory; }
    SpanOpts spanOptions() const { return spanOptions_; }
    void setSpanOptions(SpanOpts options) { spanOptions_ = options; }
    bool confirmErase() const { return confirmErase_; }
    void setConfirmErase(bool on) { confirmErase_ = on; }
    int keepFreeOnDisk1() const { return keepFreeOnDisk1_; }
    void setKeepFreeOnDisk1(int bytes) { keepFreeOnDisk1_ = bytes; }
    int keepFreeOnAllDisks() const { return keepFreeOnAllDisks_; }
    void setKeepFreeOnAllDisks(int bytes) { keepFreeOnAllDisks_ = bytes; }
    qint64 maxVolumeSize() const { return maxVolumeSize_; }
    void setMaxVolumeSize(qint64 bytes) { maxVolumeSize_ = bytes; }
    int minFreeVolumeSize() const { return minFreeVolumeSize_; }
    void setMinFreeVolumeSize(int bytes) { minFreeVolumeSize_ = bytes; }
    QString sfxSlave() const { return sfxSlave_; }
    void setSfxSlave(const QString &slave) { sfxSlave_ = slave; }
    QString sfxCaption() const { return sfxCaption_; }
    void setSfxCaption(const QString &caption) { sfxCaption_ = caption; }
    QString sfxCommandLine() const { return sfxCommandLine_; }
    void setSfxCommandLine(const QString &commandLine) { sfxCommandLine_ = commandLine; }
    QString sfxDefaultDir() const { return sfxDefaultDir_; }
    void setSfxDefaultDir(const QString &directory) { sfxDefaultDir_ = directory; }
    QIcon sfxIcon() const { return sfxIcon_; }
    void setSfxIcon(const QIcon &icon) { sfxIcon_ = icon; }
    QString sfxMessage() const { return sfxMessage_; }
    void setSfxMessage(const QString &message) { sfxMessage_ = message; }
    SFXOpts sfxOptions() const { return sfxOptions_; }
    void setSfxOptions(SFXOpts options) { sfxOptions_ = options; }
    OvrOpts sfxOverWriteMode() const { return sfxOverWriteMode_; }
    void setSfxOverWriteMode(OvrOpts mode) { sfxOverWriteMode_ = mode; }
    QString sfxPath() const { return sfxPath_; }
    void setSfxPath(const QString &path) { sfxPath_ = path; }

private:
    int addCompLevel_ = 9;
    AddOpts addOptions_;
    QDateTime addFrom_;
    AddStoreExts addStoreSuffixes_ = AddStoreExts(assEXE - 1); // every suffix but assEXE and assEXT
    QString extAddStoreSuffixes_;
    QStringList fSpecArgsExcl_;
    DeleteOpts howToDelete_ = htdAllowUndo;
    QString rootDir_;
    SpanOpts spanOptions_;
    bool confirmErase_ = true;
    int keepFreeOnDisk1_ = 0;
    int keepFreeOnAllDisks_ = 0;
    qint64 maxVolumeSize_ = 0;
    int minFreeVolumeSize_ = 65536;
    QString sfxSlave_;
    QString sfxCaption_ = QStringLiteral("Self-extracting Archive");
    QString sfxCommandLine_;
    QString sfxDefaultDir_;
    QIcon sfxIcon_;
    QString sfxMessage_;
    SFXOpts sfxOptions_ = SFXCheckSize;
    OvrOpts sfxOverWriteMode_ = OvrConfirm;
    QString sfxPath_;
};
Q_DECLARE_OPERATORS_FOR_FLAGS(TZipStoredSettings::AddOpts)
Q_DECLARE_OPERATORS_FOR_FLAGS(TZipStoredSettings::AddStoreExts)
Q_DECLARE_OPERATORS_FOR_FLAGS(TZipStoredSettings::SpanOpts)
Q_DECLARE_OPERATORS_FOR_FLAGS(TZipStoredSettings::SFXOpts)
