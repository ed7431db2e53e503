// The component's answers to single call-backs of the library.
#include "archive/ezipextractor.h"
#include "archive/zipmessageids.h"
#include "archivetest.h"
#include "unzlib/unzlib.h"

#include <QRegularExpression>

#include <cstring>

namespace {

class Callbacks : public ArchiveTest {
protected:
    // Dispatches a library call-back and returns its abort answer.
    bool dispatch(int action, int error = 0, int size = 0, const char *text = "")
    {
        record = CallbackRecord{};
        record.caller = &zip;
        record.actionCode = action;
        record.errorCode = error;
        record.size = size;
        std::strncpy(record.text, text, sizeof record.text - 1);
        return zip.DispatchCallback(TZipExtractor::LibraryCallback, 0, 0, {}, &record);
    }
    CallbackRecord record{};
};

} // namespace

TEST_F(Callbacks, ProgressPercentUsesTwoFormulas)
{
    EXPECT_EQ(TZipExtractor::ProgressPercent(0, 5), 0);
    EXPECT_EQ(TZipExtractor::ProgressPercent(5, 0), 0);
    EXPECT_EQ(TZipExtractor::ProgressPercent(1000, 500), 50);
    EXPECT_EQ(TZipExtractor::ProgressPercent(1000000, 500000), 50);
    EXPECT_EQ(TZipExtractor::ProgressPercent(214747, 214747), 100);
    // 4,000,000,000 * 100 would overflow 32 bits; the second formula does not.
    EXPECT_EQ(TZipExtractor::ProgressPercent(4000000000u, 3000000000u), 75);
    EXPECT_EQ(TZipExtractor::ProgressPercent(250, 1), 0);
}

TEST_F(Callbacks, MessagesStoreTheirCodesSilently)
{
    EXPECT_FALSE(dispatch(UNZ_CB_MESSAGE, 0x0105, 0, "disk full  \n"));
    EXPECT_EQ(zip.errorCode(), 5);
    EXPECT_EQ(zip.fullErrorCode(), 0x0105);
    EXPECT_EQ(zip.lastMessage(), "disk full");
    EXPECT_TRUE(boxes.isEmpty());

    dispatch(UNZ_CB_MESSAGE, 0, 0, "note");
    EXPECT_EQ(zip.errorCode(), 5) << "error code 0 keeps the last code";
    EXPECT_EQ(zip.lastMessage(), "note");
}

TEST_F(Callbacks, TextsAreTrimmedAndUseBackslashes)
{
    QString seen;
    zip.OnProgress = [&](TZipExtractor &, ProgressType, const QString &name, unsigned) { seen = name; };
    dispatch(UNZ_CB_NEW_FILE, 0, 10, "dir/sub/data.db \t ");
    EXPECT_EQ(seen, "dir\\sub\\data.db");
}

TEST_F(Callbacks, ProgressFeedsItemAndTotalPercentages)
{
    std::vector<int> item, total;
    zip.OnItemProgress = [&](TZipExtractor &, const QString &, unsigned, int p) { item.push_back(p); };
    zip.OnTotalProgress = [&](TZipExtractor &, unsigned, int p) { total.push_back(p); };
    dispatch(UNZ_CB_TOTAL_SIZE, 0, 400);
    dispatch(UNZ_CB_NEW_FILE, 0, 200, "a");
    dispatch(UNZ_CB_PROGRESS, 0, 100);
    dispatch(UNZ_CB_PROGRESS, 0, 100);
    dispatch(UNZ_CB_END_OF_BATCH);
    EXPECT_EQ(item, (std::vector<int>{0, 50, 100, -1}));
    EXPECT_EQ(total, (std::vector<int>{25, 50, -1}));
}

TEST_F(Callbacks, CrcMismatchAnswers)
{
    dispatch(UNZ_CB_CRC_ERROR, 1, 2, "data.db");
    EXPECT_EQ(record.errorCode, 2) << "no handler";
    zip.OnCRC32Error = [](TZipExtractor &, const QString &, unsigned, unsigned, bool &doExtract) { doExtract = false; };
    dispatch(UNZ_CB_CRC_ERROR, 1, 2, "data.db");
    EXPECT_EQ(record.errorCode, UNZ_ANSWER_NO);
}

TEST_F(Callbacks, OverwriteAndSkipCallbacks)
{
    dispatch(UNZ_CB_OVERWRITE, 0x10003, 1, "data.db");
    EXPECT_EQ(record.size, 1) << "no handler: untouched";

    bool older = false;
    int index = -1;
    zip.OnExtractOverwrite = [&](TZipExtractor &, const QString &, bool isOlder, bool &doOverwrite, int dirIndex) {
        older = isOlder;
        index = dirIndex;
        doOverwrite = !doOverwrite;
    };
    dispatch(UNZ_CB_OVERWRITE, 0x10003, 0, "data.db");
    EXPECT_TRUE(older);
    EXPECT_EQ(index, 3);
    EXPECT_EQ(record.size, 1);

    UnZipSkipTypes type = stOnFreshen;
    zip.OnExtractSkipped = [&](TZipExtractor &, const QString &, UnZipSkipTypes t, int) { type = t; };
    dispatch(UNZ_CB_SKIPPED, 0, stNoOverwrite + 1, "data.db");
    EXPECT_EQ(type, stNoOverwrite);
    EXPECT_EQ(zip.errorCode(), 0);
    dispatch(UNZ_CB_SKIPPED, 0x0206, stGeneralExtractError + 1, "data.db");
    EXPECT_EQ(zip.errorCode(), 6);
    EXPECT_EQ(zip.fullErrorCode(), 0x0206);
    for (int reasonPlusOne : {0, stGeneralExtractError + 2, 0xFF}) {
        dispatch(UNZ_CB_SKIPPED, 0, reasonPlusOne, "data.db");
        EXPECT_EQ(type, stGeneralExtractError) << "a reason the library does not define: " << reasonPlusOne;
    }
}

TEST_F(Callbacks, NewNameFromTheHandler)
{
    dispatch(UNZ_CB_NEW_NAME, 5, 0, "data.db");
    EXPECT_EQ(record.errorCode, UNZ_ANSWER_NO);
    zip.OnSetNewName = [](TZipExtractor &, QString &name, bool &changed) {
        name = "renamed.db";
        changed = true;
    };
    dispatch(UNZ_CB_NEW_NAME, 0, 0, "data.db");
    EXPECT_EQ(record.errorCode, UNZ_ANSWER_YES);
    EXPECT_STREQ(record.text, "renamed.db");
    // Too long for the record: cut before a character, never inside one.
    zip.OnSetNewName = [](TZipExtractor &, QString &name, bool &changed) {
        name = QString(300, QChar(0x0416));
        changed = true;
    };
    dispatch(UNZ_CB_NEW_NAME, 0, 0, "data.db");
    EXPECT_EQ(QString::fromUtf8(record.text), QString(255, QChar(0x0416)));
}

TEST_F(Callbacks, PasswordFromTheHandler)
{
    zip.OnPasswordError = [](TZipExtractor &, bool isZip, QString &password, const QString &file, unsigned &repeat,
                             TPasswordButton &) {
        EXPECT_FALSE(isZip);
        EXPECT_EQ(file, "data.db");
        EXPECT_EQ(repeat, 20u);
        password = "Veresk";
    };
    EXPECT_FALSE(dispatch(UNZ_CB_PASSWORD, 0, 20, "data.db"));
    EXPECT_EQ(record.errorCode, UNZ_ANSWER_YES);
    EXPECT_STREQ(record.text, "Veresk");
    EXPECT_EQ(record.size, 15);

    // 80 characters, counted as the library counts them: not UTF-16 units.
    const QString eightyCharacters = QString(79, QChar(0x0416)) + QString::fromUtf8("\xF0\x9F\x98\x80");
    zip.OnPasswordError = [&](TZipExtractor &, bool, QString &password, const QString &, unsigned &,
                              TPasswordButton &) { password = eightyCharacters + "tail"; };
    dispatch(UNZ_CB_PASSWORD, 0, 1, "data.db");
    EXPECT_EQ(QString::fromUtf8(record.text), eightyCharacters);

    zip.OnPasswordError = [](TZipExtractor &, bool, QString &password, const QString &, unsigned &,
                             TPasswordButton &a) {
        password = "ignored";
        a = pwbCancelAll;
    };
    dispatch(UNZ_CB_PASSWORD, 0, 3, "data.db");
    EXPECT_EQ(record.errorCode, UNZ_ANSWER_NO);
    EXPECT_EQ(record.size, 0);
    EXPECT_EQ(record.actionCode, UNZ_PASSWORD_CANCEL_ALL);

    zip.OnPasswordError = [](TZipExtractor &, bool, QString &, const QString &, unsigned &, TPasswordButton &a) {
        a = pwbAbort;
    };
    EXPECT_TRUE(dispatch(UNZ_CB_PASSWORD, 0, 3, "data.db"));
    EXPECT_TRUE(zip.isCancelRequested());
    EXPECT_TRUE(dispatch(UNZ_CB_TICK)) << "every later call-back aborts too";
}

TEST_F(Callbacks, PasswordWhileUnattended)
{
    zip.setUnattended(true);
    dispatch(UNZ_CB_PASSWORD, 0, 1, "data.db");
    EXPECT_EQ(record.errorCode, UNZ_ANSWER_NO);
    EXPECT_EQ(record.size, 0);
    EXPECT_EQ(zip.errorCode(), reportids::PasswordUnattended);
    EXPECT_EQ(zip.lastMessage(), reportText(reportids::PasswordUnattended));
    EXPECT_TRUE(boxes.isEmpty());
    dispatch(UNZ_CB_PASSWORD, 1, 1, "data.db");
    EXPECT_EQ(zip.errorCode(), reportids::NewPasswordUnattended);
}

TEST_F(Callbacks, PasswordDialogAnswers)
{
    PasswordAnswers answers;
    answers.add("Veresk", TPasswordDlg::pbOk);
    answers.add("typed", TPasswordDlg::pbCancel);
    dispatch(UNZ_CB_PASSWORD, 0, 1, "data.db");
    EXPECT_EQ(record.errorCode, UNZ_ANSWER_YES);
    EXPECT_STREQ(record.text, "Veresk");
    EXPECT_EQ(record.size, 1);
    dispatch(UNZ_CB_PASSWORD, 0, 1, "data.db");
    EXPECT_EQ(record.errorCode, UNZ_ANSWER_NO);
    EXPECT_EQ(record.size, 0);
    EXPECT_EQ(zip.passwordModalResult(), TPasswordDlg::mrCancel);
    ASSERT_EQ(answers.seen.size(), 2u);
    EXPECT_EQ(answers.seen[0].buttons, 3);
}

TEST_F(Callbacks, NewPasswordIsAskedTwiceAndMustMatch)
{
    PasswordAnswers answers;
    answers.add("one", TPasswordDlg::pbOk);
    answers.add("one", TPasswordDlg::pbOk);
    answers.add("one", TPasswordDlg::pbOk);
    answers.add("two", TPasswordDlg::pbOk);
    dispatch(UNZ_CB_PASSWORD, 1, 1, "data.db");
    EXPECT_EQ(record.errorCode, UNZ_ANSWER_YES);
    EXPECT_STREQ(record.text, "one");
    ASSERT_EQ(answers.seen.size(), 2u);
    EXPECT_EQ(answers.seen[0].buttons, 2);
    EXPECT_EQ(answers.seen[0].width, 2 * 124 + 35);

    dispatch(UNZ_CB_PASSWORD, 1, 1, "data.db");
    EXPECT_EQ(record.errorCode, UNZ_ANSWER_NO);
    EXPECT_EQ(boxes, QStringList{reportText(reportids::PasswordsDiffer)});
}

TEST_F(Callbacks, HandlerExceptionsBecomeAnAbort)
{
    zip.OnTick = [](TZipExtractor &) { throw std::runtime_error("tick failed"); };
    zip.OnProgress = [](TZipExtractor &, ProgressType, const QString &, unsigned) {
        throw std::runtime_error("second");
    };
    EXPECT_TRUE(dispatch(UNZ_CB_TICK));
    EXPECT_TRUE(dispatch(UNZ_CB_NEW_FILE, 0, 0, "a"));
    EXPECT_EQ(zip.eventErrorText(), " #0 \"tick failed\"") << "the first failure is kept";
    dispatch(UNZ_CB_MESSAGE, UNZ_ERR_ABORTED, 0, "aborted");
    EXPECT_EQ(zip.lastMessage(), "Exception in Event  #0 \"tick failed\"");
}

TEST_F(Callbacks, LocalCallsRaiseWhenCancelled)
{
    zip.DispatchCallback(UNZ_CB_MESSAGE, 0, 0, "loaded x");
    EXPECT_EQ(zip.lastMessage(), "loaded x");
    zip.setCancelRequested(true);
    try {
        zip.DispatchCallback(UNZ_CB_MESSAGE, 0, 0, "x");
        ADD_FAILURE() << "no exception";
    } catch (const EZipExtractor &e) {
        EXPECT_EQ(e.id(), reportids::AbortRequested);
        EXPECT_TRUE(e.display());
    }
}

TEST_F(Callbacks, AfterCallbackReplacesEventProcessingAndMayAbort)
{
    int seenAction = -1;
    bool timerRan = false;
    QTimer::singleShot(0, [&] { timerRan = true; });
    zip.OnAfterCallback = [&](CallBackInfo &info, bool &abort) {
        seenAction = info.actionCode;
        EXPECT_EQ(info.text, "data.db");
        abort = true;
    };
    EXPECT_TRUE(dispatch(UNZ_CB_NEW_FILE, 0, 0, "data.db"));
    EXPECT_EQ(seenAction, UNZ_CB_NEW_FILE);
    EXPECT_FALSE(timerRan);
}

TEST_F(Callbacks, EntryRefusesRecordsOfUnknownCallers)
{
    CallbackRecord r{};
    int notAComponent = 0;
    r.caller = &notAComponent;
    EXPECT_EQ(TZipExtractor::callbackEntry(&r), -1);
    EXPECT_EQ(TZipExtractor::callbackEntry(nullptr), -1);
    r.caller = &zip;
    r.actionCode = 0;
    EXPECT_EQ(TZipExtractor::callbackEntry(&r), 0);
}

TEST_F(Callbacks, SettingsThatValidate)
{
    zip.setPasswordReqCount(20);
    EXPECT_EQ(zip.passwordReqCount(), 15u);
    zip.setPasswordReqCount(3);
    EXPECT_EQ(zip.passwordReqCount(), 3u);
    EXPECT_EQ(TZipExtractor::versionInfo(), "1.73");
    EXPECT_EQ(TZipExtractor::fallbackPrefix().size(), 77);
    // An exception's own message: the table's text with its argument, else
    // the fallback form.
    EXPECT_EQ(QString::fromUtf8(EZipExtractor(11036, QString("basa.tel")).what()),
              "Файл basa.tel повреждён или не является ZIP-архивом.");
    EXPECT_EQ(QString::fromStdString(EZipExtractor(10999, true).what()), "ZipExtractor [ 10999 ]");
    EXPECT_EQ(QString::fromStdString(EZipExtractor(11045, 2).what()), "ZipExtractor [ 11045 ] ,2");
}

TEST_F(Callbacks, ReportsReadInRussianAndOnZipStrHasTheLastWord)
{
    using namespace reportids;
    for (int id : {FatalDllError,
                   NoArchiveName,
                   OutOfMemory,
                   PasswordsDiffer,
                   NewPasswordUnattended,
                   PasswordUnattended,
                   PasswordOkCaption,
                   PasswordCancelCaption,
                   PasswordTitle,
                   PasswordPrompt,
                   PasswordConfirmPrompt,
                   PasswordCancelAllCaption,
                   PasswordAbortCaption,
                   DirectorySeekFailed,
                   DirectoryReadFailed,
                   DirectoryOffsetDiffers,
                   StrayBytesAfterEnd,
                   ExtractFailed,
                   UnattendedWithoutPassword,
                   NoExtractDirectory,
                   LibraryNotLoadable,
                   LibraryVersionRefused,
                   LibraryLoaded,
                   LibraryUnloaded,
                   ArchiveNotFound,
                   EmptyArchive,
                   AbortRequested,
                   EndRecordSeekFailed,
                   EndRecordReadFailed,
                   DirectoryPastLastDisk,
                   EntrySignatureMissing,
                   NameUnreadable,
                   CommentUnreadable,
                   NotAnArchive,
                   SpannedPartWithoutEnd,
                   SpannedPartMissing,
                   BadDriveLetter,
                   DriveNotPresent})
        EXPECT_TRUE(zip.tableText(id).contains(QRegularExpression("[А-Яа-я]"))) << id;

    // A damaged archive, as a resident meets it.
    writeAll(archive, "not an archive");
    zip.setZipFileName(archive);
    EXPECT_EQ(boxes, QStringList{"Файл basa.tel повреждён или не является ZIP-архивом."});

    zip.ReportMessage(10999, "x");
    EXPECT_EQ(zip.lastMessage(), TZipExtractor::fallbackPrefix() + "10999 x") << "an id without a text";

    zip.OnZipStr = [](TZipExtractor &, int id, QString &text) {
        if (id == LibraryNotLoadable)
            text = "cannot load %s";
    };
    zip.ReportException(EZipExtractor(LibraryNotLoadable, QString("/lib/x.so")));
    EXPECT_EQ(zip.lastMessage(), "cannot load /lib/x.so");
}

TEST_F(Callbacks, ZipOperationCallbacksAnswerAndReport)
{
    // Member comment: the comment lies half-way into the text area.
    QString seenComment;
    zip.OnFileComment = [&](TZipExtractor &, const QString &file, QString &comment, bool &changed) {
        EXPECT_EQ(file, "data.db");
        seenComment = comment;
        comment = "новый";
        changed = true;
    };
    record = CallbackRecord{};
    std::strcpy(record.text, "data.db");
    std::strcpy(record.text + UNZ_COMMENT_OFFSET, "old comment");
    record.caller = &zip;
    record.actionCode = UNZ_CB_FILE_COMMENT;
    zip.DispatchCallback(TZipExtractor::LibraryCallback, 0, 0, {}, &record);
    EXPECT_EQ(seenComment, "old comment");
    EXPECT_EQ(record.errorCode, UNZ_ANSWER_YES);
    EXPECT_EQ(QString::fromUtf8(record.text), "новый");
    EXPECT_EQ(record.size, 10);

    // Memory for extraction into memory: granted, or refused with 1 and 0.
    dispatch(UNZ_CB_MEMORY, 0, 4096);
    void *granted = nullptr;
    std::memcpy(&granted, record.text + UNZ_ADDRESS_OFFSET, sizeof granted);
    EXPECT_NE(granted, nullptr);
    EXPECT_EQ(record.size, 4096);
    dispatch(UNZ_CB_MEMORY, 0, -1);
    EXPECT_EQ(record.errorCode, 1);
    EXPECT_EQ(record.size, 0);

    // Extra data: read at the record's address; a changed short one comes back in the text.
    const QByteArray extra("\x55\x54\x01\x00\x07", 5);
    QByteArray seenExtra;
    zip.OnFileExtra = [&](TZipExtractor &, const QString &, QByteArray &data, bool &changed) {
        seenExtra = data;
        data = "AB";
        changed = true;
    };
    record = CallbackRecord{};
    record.caller = &zip;
    record.actionCode = UNZ_CB_FILE_EXTRA;
    record.size = int(extra.size());
    const char *address = extra.constData();
    std::memcpy(record.text + UNZ_ADDRESS_OFFSET, &address, sizeof address);
    zip.DispatchCallback(TZipExtractor::LibraryCallback, 0, 0, {}, &record);
    EXPECT_EQ(seenExtra, extra);
    EXPECT_EQ(record.errorCode, -1);
    EXPECT_EQ(record.size, 2);
    EXPECT_STREQ(record.text, "AB");

    // Extra-data items fire the progress events like members do.
    std::vector<std::pair<ProgressType, QString>> progress;
    std::vector<int> item;
    zip.OnProgress = [&](TZipExtractor &, ProgressType type, const QString &name, unsigned) {
        progress.emplace_back(type, name);
    };
    zip.OnItemProgress = [&](TZipExtractor &, const QString &, unsigned, int percent) { item.push_back(percent); };
    dispatch(UNZ_CB_NEW_EXTRA, 0, 200, "extra");
    dispatch(UNZ_CB_EXTRA_PROGRESS, 0, 100);
    EXPECT_EQ(progress, (std::vector<std::pair<ProgressType, QString>>{{NewExtra, "extra"}, {ExtraUpdate, "extra"}}));
    EXPECT_EQ(item, (std::vector<int>{0, 50}));
}

TEST_F(Callbacks, StoredSettingsAreReachedByTheirNames)
{
    using S = TZipStoredSettings;
    const std::vector<std::pair<const char *, QVariant>> rows = {
        {"AddCompLevel", 5},
        {"HowToDelete", QVariant::fromValue(S::htdFinal)},
        {"SpanOptions", QVariant::fromValue(S::SpanOpts(S::spWipeFiles))},
        {"KeepFreeOnDisk1", 100},
        {"SFXCaption", QString("Справочник")},
        {"SFXOverWriteMode", QVariant::fromValue(S::OvrAlways)},
        {"SFXPath", QString("/opt/sfx")},
        {"FSpecArgsExcl", QStringList{"*.tmp"}},
        {"Tag", 7},
    };
    for (const auto &[name, value] : rows) {
        EXPECT_TRUE(zip.setProperty(name, value)) << name;
        EXPECT_EQ(zip.property(name), value) << name;
    }
    zip.setAddCompLevel(10);
    EXPECT_EQ(zip.addCompLevel(), 5) << "a level above 9 is ignored";
}
