// The component's side of the library's call-backs and the password request.
#include "archive/zipextractor.h"

#include "archive/ezipextractor.h"
#include "archive/passworddlg.h"
#include "archive/zipmessageids.h"
#include "unzlib/unzlib.h"

#include <QCoreApplication>
#include <QPointer>

#include <cstring>

namespace {

constexpr int kMaxPasswordLength = 80;
constexpr int kMaxRepeatCount = 15;
constexpr int kNoHandlerAnswer = 2;

QString recordText(const CallbackRecord &record)
{
    QString text = QString::fromUtf8(record.text, qsizetype(strnlen(record.text, sizeof record.text)));
    qsizetype end = text.size();
    while (end > 0 && text[end - 1] <= QLatin1Char(' '))
        --end;
    text.truncate(end);
    return text.replace(QLatin1Char('/'), QLatin1Char('\\'));
}

void writeText(CallbackRecord &record, const QString &text, int maxBytes)
{
    QByteArray bytes = text.toUtf8().left(std::min<qsizetype>(maxBytes, sizeof record.text - 1));
    std::memset(record.text, 0, sizeof record.text);
    std::memcpy(record.text, bytes.constData(), std::size_t(bytes.size()));
}

// Characters, not UTF-16 units, as the library counts them.
QString firstCharacters(const QString &text, qsizetype count)
{
    const QList<uint> characters = text.toUcs4();
    const auto *data = reinterpret_cast<const char32_t *>(characters.constData());
    return QString::fromUcs4(data, std::min(count, characters.size()));
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
        CallBackInfo info(this, actionCode, errorCode, message, size);
        bool abort = cancelRequested_;
        OnAfterCallback(info, abort);
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
    case UNZ_CB_TICK:
        if (OnTick)
            OnTick(*this);
        break;
    case UNZ_CB_NEW_FILE:
        if (OnProgress)
            OnProgress(*this, NewFile, text, usize);
        itemSize_ = usize;
        itemDone_ = 0;
        itemName_ = text;
        if (OnItemProgress)
            OnItemProgress(*this, text, usize, 0);
        break;
    case UNZ_CB_PROGRESS:
        if (OnProgress)
            OnProgress(*this, ProgressUpdate, QString(), usize);
        itemDone_ += usize;
        if (OnItemProgress)
            OnItemProgress(*this, itemName_, itemSize_, ProgressPercent(itemSize_, itemDone_));
        totalDone_ += usize;
        if (OnTotalProgress)
            OnTotalProgress(*this, totalSize_, ProgressPercent(totalSize_, totalDone_));
        break;
    case UNZ_CB_END_OF_BATCH:
        if (OnProgress)
            OnProgress(*this, EndOfBatch, QString(), 0);
        itemSize_ = itemDone_ = totalDone_ = 0;
        itemName_.clear();
        if (OnItemProgress)
            OnItemProgress(*this, QString(), 0, -1);
        if (OnTotalProgress)
            OnTotalProgress(*this, 0, -1);
        break;
    case UNZ_CB_MESSAGE:
        lastMessage_ = text;
        if (error != 0) {
            errorCode_ = error & 0xFF;
            if (errorCode_ == UNZ_ERR_ABORTED && !eventErrorText_.isEmpty())
                lastMessage_ = QStringLiteral("Exception in Event ") + eventErrorText_;
            fullErrorCode_ = error;
        }
        if (OnMessage)
            OnMessage(*this, error, lastMessage_);
        break;
    case UNZ_CB_TOTAL_FILES:
        if (OnProgress)
            OnProgress(*this, TotalFiles2Process, QString(), usize);
        break;
    case UNZ_CB_TOTAL_SIZE:
        totalSize_ = usize;
        totalDone_ = 0;
        itemName_.clear();
        itemSize_ = 0;
        if (OnProgress)
            OnProgress(*this, TotalSize2Process, QString(), usize);
        break;
    case UNZ_CB_NEW_NAME: {
        bool changed = false;
        QString name = text;
        if (OnSetNewName)
            OnSetNewName(*this, name, changed);
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
        if (OnCRC32Error)
            OnCRC32Error(*this, text, unsigned(error), usize, doExtract);
        if (record)
            record->errorCode = OnCRC32Error ? (doExtract ? UNZ_ANSWER_YES : UNZ_ANSWER_NO) : kNoHandlerAnswer;
        break;
    }
    case UNZ_CB_OVERWRITE:
        if (OnExtractOverwrite) {
            bool overwrite = (size & 0xFF) != 0;
            OnExtractOverwrite(*this, text, (error & 0x10000) != 0, overwrite, error & 0xFFFF);
            if (record)
                record->size = overwrite ? 1 : 0;
        }
        break;
    case UNZ_CB_SKIPPED:
        if (error != 0) {
            errorCode_ = error & 0xFF;
            fullErrorCode_ = error;
        }
        if (OnExtractSkipped)
            OnExtractSkipped(*this, text, UnZipSkipTypes((size & 0xFF) - 1), error);
        break;
    default:
        // Comments, memory and extra data serve zip operations and extraction
        // into memory, which nothing here starts; codes above 16 are unknown.
        break;
    }
}

void TZipExtractor::handlePassword(const QString &forFile, int error, int size, CallbackRecord *record)
{
    QString password;
    auto repeatCount = unsigned(size);
    TPasswordButton action = pwbOk;
    if (OnPasswordError) {
        OnPasswordError(*this, record && record->zipOperation != 0, password, forFile, repeatCount, action);
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
        writeText(*record, firstCharacters(password, kMaxPasswordLength), UNZ_TEXT_SIZE - 1);
        record->errorCode = UNZ_ANSWER_YES;
    }
    record->size = std::int32_t(std::min<unsigned>(repeatCount, kMaxRepeatCount));
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
