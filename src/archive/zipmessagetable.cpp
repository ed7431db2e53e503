#include "archive/zipmessagetable.h"

#include "archive/zipmessageids.h"

#include <algorithm>
#include <iterator>

namespace {

struct TableEntry {
    int id;
    const char *text; // UTF-8
};

// Sorted by id. Reports that get an extra text end with ": ".
constexpr TableEntry kTable[] = {
    {reportids::FatalDllError, "Библиотека распаковки завершилась с ошибкой: "},
    {reportids::NoArchiveName, "Не задано имя архива."},
    {reportids::OutOfMemory, "Недостаточно памяти, чтобы прочитать оглавление архива."},
    {reportids::PasswordsDiffer, "Введённые пароли не совпадают."},
    {reportids::NewPasswordUnattended, "Нужен новый пароль, но запрос пароля отключён."},
    {reportids::PasswordUnattended, "Нужен пароль, но запрос пароля отключён."},
    {reportids::PasswordOkCaption, "ОК"},
    {reportids::PasswordCancelCaption, "Отмена"},
    {reportids::PasswordTitle, "Пароль"},
    {reportids::PasswordPrompt, "Введите пароль:"},
    {reportids::PasswordConfirmPrompt, "Повторите пароль:"},
    {reportids::PasswordCancelAllCaption, "Отменить все"},
    {reportids::PasswordAbortCaption, "Прервать"},
    {reportids::DirectorySeekFailed, "Оглавление архива не читается: архив повреждён."},
    {reportids::DirectoryReadFailed, "Ошибка при чтении оглавления архива: "},
    {reportids::DirectoryOffsetDiffers, "Перед архивом записаны посторонние данные."},
    {reportids::StrayBytesAfterEnd, "После конца архива записаны посторонние данные."},
    {reportids::ExtractFailed, "Ошибка при распаковке архива."},
    {reportids::UnattendedWithoutPassword,
     "Пароль не задан, а запрос пароля отключён: зашифрованные файлы будут пропущены."},
    {reportids::NoExtractDirectory, "Папки для распаковки %s нет."},
    {reportids::LibraryNotLoadable, "Не удаётся загрузить библиотеку распаковки %s."},
    {reportids::LibraryVersionRefused, "Библиотека распаковки %s не подходит по версии."},
    {reportids::LibraryLoaded, "Загружена библиотека "},
    {reportids::LibraryUnloaded, "Выгружена библиотека "},
    {reportids::ArchiveNotFound, "Файл архива не найден или не открывается."},
    {reportids::EmptyArchive, "В архиве нет файлов."},
    {reportids::BadDriveLetter, "Архив лежит на диске %s, а такой буквы диска не бывает."},
    {reportids::DriveNotPresent, "Диска %s, на котором лежит архив, нет."},
    {reportids::AbortRequested, "Распаковка прервана."},
    {reportids::EndRecordSeekFailed, "Не удаётся прочитать конец архива."},
    {reportids::EndRecordReadFailed, "Не удаётся прочитать конец архива."},
    {reportids::DirectoryPastLastDisk, "Оглавление архива выходит за конец файла: архив повреждён."},
    {reportids::EntrySignatureMissing, "Оглавление архива повреждено."},
    {reportids::NameUnreadable, "Имя файла в оглавлении архива не читается: архив повреждён."},
    {reportids::CommentUnreadable, "Комментарий файла в оглавлении архива не читается: архив повреждён."},
    {reportids::NotAnArchive, "Файл %s повреждён или не является ZIP-архивом."},
    {reportids::SpannedPartWithoutEnd, "Файл %s — лишь часть многотомного архива."},
    {reportids::SpannedPartMissing, "Часть %d многотомного архива не найдена или повреждена."},
};

} // namespace

QString messageTableText(int id)
{
    const auto *end = std::end(kTable);
    const auto *at =
        std::lower_bound(std::begin(kTable), end, id, [](const TableEntry &e, int wanted) { return e.id < wanted; });
    return at != end && at->id == id ? QString::fromUtf8(at->text) : QString();
}
