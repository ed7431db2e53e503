// The component's side of the library's call-backs and the password request.
#include "archive/zipextractor.h"

#include "archive/ezipextractor.h"
#include "archive/passworddlg.h"
#include "archive/zipmessageids.h"
#include "platform/eventcall.h"
#include "unzlib/unzlib.h"
#include "zipformat/zipformat.h"

#include <QCoreApplication>
#include <QPointer>

#include <cstring>
#include <new>

using platform::callEvent;

namespace {

constexpr int kNoHandlerAnswer = 2;
constexpr int kMaxCommentBytes = UNZ_TEXT_SIZE - 1;
constexpr int kFirstExtraItemName = 11400;

QString recordText(const CallbackRecord &record)
{
    QString text = QString::fromUtf8(record.text, qsizetype(strnlen(record.text, sizeof record.text)));
    qsizetype end = text.size();
    while (end > 0 && text[end - 1] <= QLatin1Char(' '))
        --end;
    text.truncate(end);
    return text.replace(QLatin1Char('/'), QLatin1Char('\\'));
}

// At most maxBytes of the text's UTF-8, never cutting a character.
void writeText(CallbackRecord &record, const QByteArray &utf8, int maxBytes)
{
    const std::string_view fitting =
        zipformat::fittingPrefix(std::string_view(utf8.constData(), std::size_t(utf8.size())),
                                 std::size_t(std::min<qsizetype>(maxBytes, sizeof record.text - 1)));
    std::memset(record.text, 0, sizeof record.text);
    if (!fitting.empty())
        std::memcpy(record.text, fitting.data(), fitting.size());
}

void writeText(CallbackRecord &record, const QString &text, int maxBytes)
{
    writeText(record, text.toUtf8(), maxBytes);
}

// The password as the library takes it: UTF-8, cut by its character rule.
QByteArray passwordText(const QString &password)
{
    const QByteArray utf8 = password.toUtf8();
    return QByteArray::fromStdString(zipformat::firstCharacters(
        std::string_view(utf8.constData(), std::size_t(utf8.size())), UNZ_MAX_PASSWORD_LENGTH));
}

// A member's comment in the second half of the text area (zip operations).
QString recordComment(const CallbackRecord &record)
{
    const char *comment = record.text + UNZ_COMMENT_OFFSET;
    return QString::fromUtf8(comment, qsizetype(strnlen(comment, UNZ_TEXT_SIZE - UNZ_COMMENT_OFFSET)));
}

void *recordAddress(const CallbackRecord &record)
{
    void *address = nullptr;
    std::memcpy(&address, record.text + UNZ_ADDRESS_OFFSET, sizeof address);
    return address;
}

void setRecordAddress(CallbackRecord &record, const void *address)
{
    std::memcpy(record.text + UNZ_ADDRESS_OFFSET, &address, sizeof address);
}

// The library's skip reason; one it does not define reads as a general error.
UnZipSkipTypes skipTypeOf(int reasonPlusOne)
{
    const int reason = (reasonPlusOne & 0xFF) - 1;
    return reason >= stOnFreshen && reason <= stGeneralExtractError ? UnZipSkipTypes(reason) : stGeneralExtractError;
}

// The dialog's modal result as the password answer.
TPasswordButton answerOf(int modalResult)
{
    switch (modalResult) {
    case TPasswordDlg::mrOk: return pwbOk;
    case TPasswordDlg::mrCancel: return pwbCancel;
    case TPasswordDlg::mrCancelAll: return pwbCancelAll;
    default: return pwbAbort;
    }
}

} // namespace

int TZipExtractor::ProgressPercent(unsigned total, unsigned done)
{
    if (total == 0 || done == 0)
        return 0;
    if (total < 214748)
        return int(done * 100 / total);
    return int(done / (total / 100));
}

std::int32_t TZipExtractor::callbackEntry(CallbackRecord *record)
{
    auto *component = static_cast<TZipExtractor *>(record ? record->caller : nullptr);
    if (!isLive(component))
        return -1;
    try {
        return component->DispatchCallback(LibraryCallback, 0, 0, {}, record) ? -1 : 0;
    } catch (...) {
        // Nothing may unwind through the library: pass it on once it returned.
        if (!isLive(component))
            return -1;
        if (!component->pendingThrow_)
            component->pendingThrow_ = std::current_exception();
        component->setCancelRequested(true);
        return -1;
    }
}

bool TZipExtractor::DispatchCallback(int actionCode, int errorCode, int size, const QString &text,
                                     CallbackRecord *record)
{
    const bool libraryCall = actionCode == LibraryCallback && record;
    if (destroying_)
        return libraryCall;
    // Handlers, dialogs and pending events may destroy the component; from
    // then on nothing here touches it, and the library is told to abort.
    const QPointer<TZipExtractor> self(this);
    QString message = text;
    if (libraryCall) {
        actionCode = record->actionCode & 0xFF;
        errorCode = record->errorCode;
        size = record->size;
        message = recordText(*record);
    }
    if (libraryCall) {
        try {
            handleAction(actionCode, errorCode, size, message, record);
        } catch (const std::exception &e) {
            if (eventErrorText_.isEmpty())
                eventErrorText_ = QStringLiteral(" #%1 \"%2\"").arg(actionCode).arg(QString::fromLocal8Bit(e.what()));
            cancelRequested_ = true;
        }
    } else {
        handleAction(actionCode, errorCode, size, message, nullptr);
    }
    if (!self)
        return libraryCall;
    if (OnAfterCallback) {
        CallBackInfo info{this, actionCode, errorCode, message, size};
        bool abort = cancelRequested_;
        callEvent(OnAfterCallback, info, abort);
        if (self && abort)
            cancelRequested_ = true;
    } else {
        QCoreApplication::processEvents();
    }
    if (!self)
        return libraryCall;
    if (libraryCall)
        return cancelRequested_;
    if (cancelRequested_)
        throw EZipExtractor(reportids::AbortRequested, true);
    return false;
}

void TZipExtractor::handleAction(int action, int error, int size, const QString &text, CallbackRecord *record)
{
    const auto usize = unsigned(size);
    switch (action) {
    case UNZ_CB_TICK: callEvent(OnTick, *this); break;
    case UNZ_CB_NEW_FILE:
        callEvent(OnProgress, *this, NewFile, text, usize);
        startItem(text, usize);
        break;
    case UNZ_CB_PROGRESS:
        callEvent(OnProgress, *this, ProgressUpdate, QString(), usize);
        advanceItem(usize);
        totalDone_ += usize;
        callEvent(OnTotalProgress, *this, totalSize_, ProgressPercent(totalSize_, totalDone_));
        break;
    case UNZ_CB_END_OF_BATCH:
        callEvent(OnProgress, *this, EndOfBatch, QString(), 0u);
        itemSize_ = itemDone_ = totalDone_ = 0;
        itemName_.clear();
        callEvent(OnItemProgress, *this, QString(), 0u, -1);
        callEvent(OnTotalProgress, *this, 0u, -1);
        break;
    case UNZ_CB_MESSAGE:
        lastMessage_ = text;
        if (error != 0) {
            errorCode_ = error & 0xFF;
            if (errorCode_ == UNZ_ERR_ABORTED && !eventErrorText_.isEmpty())
                lastMessage_ = QStringLiteral("Exception in Event ") + eventErrorText_;
            fullErrorCode_ = error;
        }
        callEvent(OnMessage, *this, error, lastMessage_);
        break;
    case UNZ_CB_TOTAL_FILES: callEvent(OnProgress, *this, TotalFiles2Process, QString(), usize); break;
    case UNZ_CB_TOTAL_SIZE:
        totalSize_ = usize;
        totalDone_ = 0;
        itemName_.clear();
        itemSize_ = 0;
        callEvent(OnProgress, *this, TotalSize2Process, QString(), usize);
        break;
    case UNZ_CB_NEW_NAME: {
        bool changed = false;
        QString name = text;
        callEvent(OnSetNewName, *this, name, changed);
        if (record) {
            record->errorCode = changed ? UNZ_ANSWER_YES : UNZ_ANSWER_NO;
            if (changed)
                writeText(*record, name, UNZ_TEXT_SIZE - 1);
        }
        break;
    }
    case UNZ_CB_PASSWORD: handlePassword(text, error, size, record); break;
    case UNZ_CB_CRC_ERROR: {
        bool doExtract = true;
        const bool handled = bool(OnCRC32Error);
        callEvent(OnCRC32Error, *this, text, unsigned(error), usize, doExtract);
        if (record)
            record->errorCode = handled ? (doExtract ? UNZ_ANSWER_YES : UNZ_ANSWER_NO) : kNoHandlerAnswer;
        break;
    }
    case UNZ_CB_OVERWRITE:
        if (OnExtractOverwrite) {
            bool overwrite = (size & 0xFF) != 0;
            callEvent(OnExtractOverwrite, *this, text, (error & 0x10000) != 0, overwrite, error & 0xFFFF);
            if (record)
                record->size = overwrite ? 1 : 0;
        }
        break;
    case UNZ_CB_SKIPPED:
        if (error != 0) {
            errorCode_ = error & 0xFF;
            fullErrorCode_ = error;
        }
        callEvent(OnExtractSkipped, *this, text, skipTypeOf(size), error);
        break;
    case UNZ_CB_FILE_COMMENT:
        if (OnFileComment && record)
            answerFileComment(text, *record);
        break;
    case UNZ_CB_MEMORY:
        if (record)
            answerMemoryRequest(size, *record);
        break;
    case UNZ_CB_FILE_EXTRA:
        if (OnFileExtra && record)
            answerFileExtra(text, size, *record);
        break;
    case UNZ_CB_NEW_EXTRA: {
        callEvent(OnProgress, *this, NewExtra, text, usize);
        startItem(tableTextOr(kFirstExtraItemName + error, text), usize);
        break;
    }
    case UNZ_CB_EXTRA_PROGRESS:
        callEvent(OnProgress, *this, ExtraUpdate, itemName_, usize);
        advanceItem(usize);
        break;
    default: break; // codes above 16 are unknown
    }
}

void TZipExtractor::startItem(const QString &name, unsigned size)
{
    itemSize_ = size;
    itemDone_ = 0;
    itemName_ = name;
    callEvent(OnItemProgress, *this, name, size, 0);
}

void TZipExtractor::advanceItem(unsigned done)
{
    itemDone_ += done;
    callEvent(OnItemProgress, *this, itemName_, itemSize_, ProgressPercent(itemSize_, itemDone_));
}

void TZipExtractor::answerFileComment(const QString &forFile, CallbackRecord &record)
{
    QString comment = recordComment(record);
    bool changed = false;
    callEvent(OnFileComment, *this, forFile, comment, changed);
    const QByteArray utf8 = comment.toUtf8();
    record.errorCode = changed ? UNZ_ANSWER_YES : UNZ_ANSWER_NO;
    record.size = std::int32_t(
        zipformat::fittingPrefix(std::string_view(utf8.constData(), std::size_t(utf8.size())), kMaxCommentBytes)
            .size());
    if (changed)
        writeText(record, utf8, kMaxCommentBytes);
}

// The memory of the stream for extraction into memory; a size below zero
// or one that cannot be had is refused with 1 and size 0. An address does
// not fit the 32-bit size on every system, so it goes where extra data's
// address goes.
void TZipExtractor::answerMemoryRequest(int size, CallbackRecord &record)
{
    try {
        if (size < 0)
            throw std::bad_alloc();
        memoryStream_.resize(size);
    } catch (const std::bad_alloc &) {
        memoryStream_.clear();
        record.errorCode = 1;
        record.size = 0;
        return;
    }
    if (record.errorCode != 1)
        setRecordAddress(record, memoryStream_.data());
}

void TZipExtractor::answerFileExtra(const QString &forFile, int size, CallbackRecord &record)
{
    const auto *address = static_cast<const char *>(recordAddress(record));
    QByteArray data = address && size > 0 ? QByteArray(address, size) : QByteArray();
    bool changed = false;
    callEvent(OnFileExtra, *this, forFile, data, changed);
    if (!changed)
        return;
    record.size = std::int32_t(data.size());
    record.errorCode = -1;
    extraData_ = data;
    if (data.size() < UNZ_TEXT_SIZE) {
        std::memset(record.text, 0, sizeof record.text);
        std::memcpy(record.text, data.constData(), std::size_t(data.size()));
    } else {
        setRecordAddress(record, extraData_.constData());
    }
}

void TZipExtractor::handlePassword(const QString &forFile, int error, int size, CallbackRecord *record)
{
    QString password;
    auto repeatCount = unsigned(size);
    TPasswordButton action = pwbOk;
    if (OnPasswordError) {
        callEvent(OnPasswordError, *this, record && record->zipOperation != 0, password, forFile, repeatCount, action);
        if (action != pwbOk)
            password.clear();
    } else {
        const QPointer<TZipExtractor> self(this);
        password = askPassword(error & 1);
        if (!self)
            return;
        action = answerOf(passwordModalResult_);
    }
    if (!record)
        return;
    if (password.isEmpty()) {
        repeatCount = 0;
        record->errorCode = UNZ_ANSWER_NO;
    } else {
        writeText(*record, passwordText(password), UNZ_TEXT_SIZE - 1);
        record->errorCode = UNZ_ANSWER_YES;
    }
    record->size = std::int32_t(std::min<unsigned>(repeatCount, UNZ_MAX_PASSWORD_REQUESTS));
    if (action == pwbCancelAll)
        record->actionCode = UNZ_PASSWORD_CANCEL_ALL;
    else if (action == pwbAbort)
        cancelRequested_ = true;
}

QString TZipExtractor::askPassword(bool newPassword)
{
    passwordModalResult_ = TPasswordDlg::mrOk;
    if (unattended_) {
        ReportMessage(newPassword ? reportids::NewPasswordUnattended : reportids::PasswordUnattended);
        return {};
    }
    QString first;
    if (!newPassword) {
        showPasswordDialog(TPasswordDlg::pbOk | TPasswordDlg::pbCancel | TPasswordDlg::pbCancelAll,
                           tableText(reportids::PasswordPrompt), first);
        return first;
    }
    const TPasswordDlg::Buttons buttons = TPasswordDlg::pbOk | TPasswordDlg::pbCancel;
    if (showPasswordDialog(buttons, tableText(reportids::PasswordPrompt), first) != TPasswordDlg::mrOk ||
        first.isEmpty())
        return {};
    QString second;
    if (showPasswordDialog(buttons, tableText(reportids::PasswordConfirmPrompt), second) != TPasswordDlg::mrOk ||
        second.isEmpty())
        return {};
    if (first != second) {
        ReportMessage(reportids::PasswordsDiffer);
        return {};
    }
    return first;
}

// Shows the dialog; the entry counts only after OK.
int TZipExtractor::showPasswordDialog(TPasswordDlg::Buttons buttons, const QString &prompt, QString &entered)
{
    const QStringList captions = {tableText(reportids::PasswordOkCaption), tableText(reportids::PasswordCancelCaption),
                                  tableText(reportids::PasswordCancelAllCaption),
                                  tableText(reportids::PasswordAbortCaption)};
    TPasswordDlg dialog(buttons, tableTextOr(reportids::PasswordTitle, fallbackPrefix()), prompt, captions);
    const QPointer<TZipExtractor> self(this);
    const int result = dialog.Execute();
    if (!self)
        return TPasswordDlg::mrAbort;
    passwordModalResult_ = result;
    entered = result == TPasswordDlg::mrOk ? dialog.password() : QString();
    return result;
}
