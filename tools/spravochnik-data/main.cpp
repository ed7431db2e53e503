// spravochnik-data: the directory's tables in and out of CSV, the directory
// archive packed, and the personal phone book to and from vCard and CSV.
// Exit status: 0 on success, 1 when the work failed, 2 for a wrong command line.
#include "progress.h"

#include "dataio/archivepack.h"
#include "dataio/language.h"
#include "dataio/paradoxexport.h"
#include "dataio/phonebook.h"
#include "dataio/tableimport.h"

#include <QCoreApplication>
#include <QHash>
#include <QSet>
#include <cstdio>
#include <stdexcept>

using namespace dataio;

namespace {

enum Exit { Success = 0, Failed = 1, Usage = 2 };

const char kHelpRu[] = R"(Использование: spravochnik-data КОМАНДА ...

Справочник города:
  directory import ФАЙЛ.csv -o data.db   абоненты из CSV/TSV (Tel, Abon, Otdel, Adres
                                         или Телефон, Абонент, Отдел, Адрес в первой строке)
  directory export data.db -o ФАЙЛ.csv   обратно в CSV (или --format paradox)
  codes import ФАЙЛ.tsv -o kod.db        коды городов (Obl, Np, Kod или Область,
                                         Населенный пункт, Код)
  codes export kod.db -o ФАЙЛ.tsv        обратно в CSV/TSV (или --format paradox)
  pack basa.tel data.db kod.db           архив справочника для программы
                                         (--format paradox: таблицы в нём Paradox)

Любой импорт принимает и таблицу Paradox (версии 3.0–7.0); она узнаётся по
содержимому, а не по имени.

Личная телефонная книга:
  book export basamy.db --vcard ФАЙЛ.vcf | --csv ФАЙЛ.csv | --format paradox -o ФАЙЛ.db
  book import ФАЙЛ.vcf|ФАЙЛ.csv|ФАЙЛ.db basamy.db
                                         добавляет записи, которых ещё нет (по имени и номеру)

Параметры:
  --encoding utf-8|cp1251      кодировка CSV (по умолчанию UTF-8; windows-1251 = cp1251)
  --separator ,|;|tab          разделитель (по умолчанию определяется по первой строке;
                               при экспорте табуляция для .tsv, иначе запятая)
  --columns СПИСОК             столбцы файла без строки заголовка, через запятую;
                               пустое имя пропускает столбец
  --map ИХ=НАШЕ,...            названия столбцов файла или полей таблицы Paradox
                               как наши поля, например --map Tel=Номер,Abon=Наименование;
                               ИХ= без нашего имени пропускает столбец
  --format csv|paradox         формат экспорта и упаковки: таблица Paradox 7.0
                               в кодировке cp1251 с полями и размерами программы
  --skip-invalid               записать верные строки, неверные только перечислить
  --allow-duplicate-numbers    один номер у нескольких абонентов (directory import)
  --dry-run                    только сообщить, что было бы сделано (book import)
  -h, --help                   эта справка (по-английски: LC_ALL=C spravochnik-data --help)

При любой неверной строке ничего не записывается, а каждая ошибка выводится с
номером строки. Код возврата 0 только при успехе, 1 при ошибке, 2 при неверной
команде.
)";

const char kHelpEn[] = R"(Usage: spravochnik-data COMMAND ...

The town's directory:
  directory import FILE.csv -o data.db   subscribers from CSV/TSV (Tel, Abon, Otdel, Adres
                                         or their Russian titles on the first line)
  directory export data.db -o FILE.csv   back to CSV (or --format paradox)
  codes import FILE.tsv -o kod.db        dialing codes (Obl, Np, Kod or their Russian titles)
  codes export kod.db -o FILE.tsv        back to CSV/TSV (or --format paradox)
  pack basa.tel data.db kod.db           the directory archive the program unpacks
                                         (--format paradox: its tables are Paradox tables)

Every import also takes a Paradox table (versions 3.0 to 7.0), told by its
content, not by its name.

The personal phone book:
  book export basamy.db --vcard FILE.vcf | --csv FILE.csv | --format paradox -o FILE.db
  book import FILE.vcf|FILE.csv|FILE.db basamy.db
                                         adds the records not there yet (by name and number)

Options:
  --encoding utf-8|cp1251      CSV encoding (default UTF-8; windows-1251 = cp1251)
  --separator ,|;|tab          separator (default: detected on the first line;
                               on export a tab for .tsv, else a comma)
  --columns LIST               the columns of a file without a header line, comma-separated;
                               an empty name skips a column
  --map THEIRS=OURS,...        a file's column names or a Paradox table's field names
                               as our fields, e.g. --map Tel=Номер,Abon=Наименование;
                               THEIRS= with no name of ours skips the column
  --format csv|paradox         format of an export or a pack: a Paradox 7.0 table
                               in code page 1251 with the program's fields and sizes
  --skip-invalid               write the valid rows and only list the invalid ones
  --allow-duplicate-numbers    one number for several subscribers (directory import)
  --dry-run                    only report what would be done (book import)
  -h, --help                   this help (in Russian: LC_ALL=ru_RU.UTF-8 spravochnik-data --help)

Any invalid row means nothing is written, and every problem is listed with its
line number. Exit status 0 only on success, 1 on failure, 2 for a wrong command.
)";

void print(std::FILE *stream, const QString &text)
{
    std::fputs(text.toUtf8().constData(), stream);
}

struct UsageError : std::runtime_error {
    using std::runtime_error::runtime_error;
};

// The command line: words, options with values and flags.
class Arguments {
public:
    explicit Arguments(const QStringList &arguments)
    {
        static const QSet<QString> withValue = {"-o",    "--output", "--encoding", "--separator", "--columns",
                                                "--map", "--vcard",  "--csv",      "--format"};
        static const QSet<QString> flags = {"--skip-invalid", "--allow-duplicate-numbers", "--dry-run", "-h", "--help"};
        for (int i = 0; i < arguments.size(); ++i) {
            const QString &word = arguments[i];
            if (withValue.contains(word)) {
                if (i + 1 == arguments.size())
                    throw UsageError(say("после %1 нужно значение", "%1 needs a value").arg(word).toStdString());
                values_.insert(word == "--output" ? "-o" : word, arguments[++i]);
            } else if (flags.contains(word)) {
                flags_.insert(word == "-h" ? "--help" : word);
            } else if (word.startsWith(u'-') && word.size() > 1) {
                throw UsageError(say("неизвестный параметр %1", "unknown option %1").arg(word).toStdString());
            } else {
                words_.append(word);
            }
        }
    }

    const QStringList &words() const { return words_; }
    bool has(const QString &flag) const { return flags_.contains(flag); }
    QString value(const QString &option) const { return values_.value(option); }
    // Refuses options the command does not take.
    void allow(const QSet<QString> &options) const
    {
        for (const QString &option : values_.keys() + QStringList(flags_.values())) {
            if (!options.contains(option))
                throw UsageError(
                    say("параметр %1 не относится к этой команде", "option %1 does not apply to this command")
                        .arg(option)
                        .toStdString());
        }
    }
    QString required(const QString &option) const
    {
        if (!values_.contains(option))
            throw UsageError(say("нужен параметр %1", "option %1 is required").arg(option).toStdString());
        return values_.value(option);
    }

private:
    QStringList words_;
    QHash<QString, QString> values_;
    QSet<QString> flags_;
};

ReadOptions readOptions(const Arguments &args)
{
    ReadOptions options;
    if (const QString name = args.value("--encoding"); !name.isEmpty()) {
        const auto encoding = encodingNamed(name);
        if (!encoding)
            throw UsageError(say("неизвестная кодировка %1", "unknown encoding %1").arg(name).toStdString());
        options.encoding = *encoding;
    }
    if (const QString name = args.value("--separator"); !name.isEmpty()) {
        const auto separator = separatorNamed(name);
        if (!separator)
            throw UsageError(
                say("разделитель может быть , ; или tab", "the separator is one of , ; tab").toStdString());
        options.separator = *separator;
    }
    if (const QString columns = args.value("--columns"); !columns.isEmpty())
        options.columns = columns.split(u',');
    if (const QString map = args.value("--map"); !map.isEmpty()) {
        const auto renames = renamesNamed(map);
        if (!renames)
            throw UsageError(say("--map ждёт пары ИХ=НАШЕ через запятую, например Tel=Номер",
                                 "--map takes THEIRS=OURS pairs separated by commas, e.g. Tel=Номер")
                                 .toStdString());
        options.renames = *renames;
    }
    return options;
}

// --format paradox writes a Paradox table; csv (the default) a delimited file.
ExportFormat exportFormat(const Arguments &args)
{
    const QString name = args.value("--format").toLower();
    if (name.isEmpty() || name == u"csv")
        return ExportFormat::Delimited;
    if (name == u"paradox")
        return ExportFormat::Paradox;
    throw UsageError(say("формат может быть csv или paradox", "the format is csv or paradox").toStdString());
}

// Without --separator a ".tsv" file gets tabs, any other a comma.
ExportOptions exportOptions(const Arguments &args, const QString &output)
{
    const ReadOptions read = readOptions(args);
    const char fallback = output.endsWith(QStringLiteral(".tsv"), Qt::CaseInsensitive) ? '\t' : ',';
    return {read.encoding, read.separator ? read.separator : fallback, exportFormat(args)};
}

void expectWords(const Arguments &args, int count)
{
    if (args.words().size() != count)
        throw UsageError(
            say("неверное число аргументов; см. --help", "wrong number of arguments; see --help").toStdString());
}

ProblemSink problemPrinter(const QString &file)
{
    return [file](const Problem &problem) {
        const QString where = problem.line > 0 ? QStringLiteral("%1:%2").arg(file).arg(problem.line) : file;
        print(stderr, QStringLiteral("%1: %2\n").arg(where, problem.text));
    };
}

int tableImport(const Arguments &args, bool directory)
{
    QSet<QString> options{"-o", "--encoding", "--separator", "--columns", "--map", "--skip-invalid"};
    if (directory)
        options.insert("--allow-duplicate-numbers");
    args.allow(options);
    expectWords(args, 3);
    const QString input = args.words()[2];
    const QString output = args.required("-o");
    ImportOptions import;
    static_cast<ReadOptions &>(import) = readOptions(args);
    import.skipInvalid = args.has("--skip-invalid");
    import.allowDuplicateNumbers = args.has("--allow-duplicate-numbers");
    import.onProblem = problemPrinter(input);
    import.onWarning = problemPrinter(input);
    ImportResult result;
    {
        TerminalProgress progress;
        import.onProgress = [&progress](qint64 done, qint64 total) { progress(done, total);
    };
    result = directory ? importDirectory(input, output, import) : importDialingCodes(input, output, import);
}
if (!result.saved) {
    print(stderr, say("Неверных строк: %1. %2 не записан.\n", "%1 invalid rows. %2 was not written.\n")
                      .arg(result.invalid)
                      .arg(output));
    return Failed;
}
print(stdout, say("Записано строк в %2: %1", "%1 rows written to %2").arg(result.written).arg(output));
if (result.invalid > 0)
    print(stdout, say("; пропущено неверных: %1", "; %1 invalid rows skipped").arg(result.invalid));
print(stdout, QStringLiteral("\n"));
return Success;
}

void reportExport(const QString &output, const ExportResult &result)
{
    print(stdout, say("Записано строк в %2: %1\n", "%1 rows written to %2\n").arg(result.written).arg(output));
    if (result.unrepresentable > 0)
        print(stderr, say("Символов, которых нет в кодировке, заменено на \"?\": %1\n",
                          "%1 characters the encoding cannot hold were written as \"?\"\n")
                          .arg(result.unrepresentable));
}

int tableExport(const Arguments &args, const TableLayout &layout)
{
    args.allow({"-o", "--encoding", "--separator", "--format"});
    expectWords(args, 3);
    const QString output = args.required("-o");
    reportExport(output, exportTable(args.words()[2], layout, output, exportOptions(args, output)));
    return Success;
}

int pack(const Arguments &args)
{
    args.allow({"--format"});
    if (args.words().size() < 3)
        throw UsageError(say("укажите архив и файлы таблиц", "name the archive and the table files").toStdString());
    if (exportFormat(args) == ExportFormat::Paradox)
        packParadoxArchive(args.words()[1], args.words().mid(2));
    else
        packArchive(args.words()[1], args.words().mid(2));
    return Success;
}

int bookExport(const Arguments &args)
{
    args.allow({"--vcard", "--csv", "-o", "--format", "--encoding", "--separator"});
    expectWords(args, 3);
    const QString vcard = args.value("--vcard");
    const QString csv = args.value("--csv");
    const QString paradox = args.value("-o");
    if (int(!vcard.isEmpty()) + int(!csv.isEmpty()) + int(!paradox.isEmpty()) != 1 ||
        paradox.isEmpty() != (exportFormat(args) != ExportFormat::Paradox))
        throw UsageError(say("укажите одно из: --vcard ФАЙЛ, --csv ФАЙЛ, --format paradox -o ФАЙЛ",
                             "give one of: --vcard FILE, --csv FILE, --format paradox -o FILE")
                             .toStdString());
    if (!paradox.isEmpty()) {
        reportExport(paradox, exportTable(args.words()[2], phoneBookLayout(), paradox, exportOptions(args, paradox)));
    } else if (!vcard.isEmpty()) {
        const int count = exportBookVCards(args.words()[2], vcard);
        print(stdout, say("Записано карточек в %2: %1\n", "%1 cards written to %2\n").arg(count).arg(vcard));
    } else {
        reportExport(csv, exportTable(args.words()[2], phoneBookLayout(), csv, exportOptions(args, csv)));
    }
    return Success;
}

int bookImport(const Arguments &args)
{
    args.allow({"--dry-run", "--skip-invalid", "--encoding", "--separator", "--columns", "--map"});
    expectWords(args, 4);
    const QString input = args.words()[2];
    const QString book = args.words()[3];
    BookImportOptions options;
    options.dryRun = args.has("--dry-run");
    options.skipInvalid = args.has("--skip-invalid");
    options.onProblem = problemPrinter(input);
    options.onWarning = problemPrinter(input);
    if (options.dryRun) {
        options.onAdd = [](const BookEntry &entry) {
            print(stdout, say("добавить: %1\n", "add: %1\n").arg(entry.values.join(QStringLiteral(" | "))));
        };
    }
    const BookImportResult result = importBook(book, readBookFile(input, readOptions(args)), options);
    if (result.invalid > 0 && !options.skipInvalid) {
        print(stderr,
              say("Неверных записей: %1. Книга %2 не изменена.\n", "%1 invalid records. The book %2 is unchanged.\n")
                  .arg(result.invalid)
                  .arg(book));
        return Failed;
    }
    print(stdout, (options.dryRun ? say("Было бы добавлено записей: %1; уже есть в книге: %2; неверных: %3\n",
                                        "Would add %1 records; %2 already in the book; %3 invalid\n")
                                  : say("Добавлено записей: %1; уже были в книге: %2; неверных пропущено: %3\n",
                                        "Added %1 records; %2 already in the book; %3 invalid skipped\n"))
                      .arg(result.added)
                      .arg(result.alreadyThere)
                      .arg(result.invalid));
    return Success;
}

int run(const Arguments &args)
{
    const QStringList &words = args.words();
    const QString command = words.value(0) + u' ' + words.value(1);
    if (command == u"directory import")
        return tableImport(args, true);
    if (command == u"codes import")
        return tableImport(args, false);
    if (command == u"directory export")
        return tableExport(args, directoryLayout());
    if (command == u"codes export")
        return tableExport(args, dialingCodesLayout());
    if (words.value(0) == u"pack")
        return pack(args);
    if (command == u"book export")
        return bookExport(args);
    if (command == u"book import")
        return bookImport(args);
    throw UsageError(say("неизвестная команда; см. --help", "unknown command; see --help").toStdString());
}

} // namespace

int main(int argc, char **argv)
{
    QCoreApplication app(argc, argv);
    try {
        const Arguments args(app.arguments().mid(1));
        if (args.has("--help") || args.words().isEmpty()) {
            std::fputs(language() == Language::Russian ? kHelpRu : kHelpEn, args.has("--help") ? stdout : stderr);
            return args.has("--help") ? Success : Usage;
        }
        return run(args);
    } catch (const UsageError &error) {
        print(stderr, QStringLiteral("spravochnik-data: %1\n").arg(QString::fromUtf8(error.what())));
        return Usage;
    } catch (const std::exception &error) {
        print(stderr, QStringLiteral("spravochnik-data: %1\n").arg(QString::fromUtf8(error.what())));
        return Failed;
    }
}
