#include "directorydata.h"

#include "dataio/tablewriter.h"

#include <cstdint>

namespace datagen {

namespace {

// splitmix64: small, fast and the same on every machine.
class Random {
public:
    std::uint64_t next()
    {
        std::uint64_t z = (state_ += 0x9E3779B97F4A7C15ull);
        z = (z ^ (z >> 30)) * 0xBF58476D1CE4E5B9ull;
        z = (z ^ (z >> 27)) * 0x94D049BB133111EBull;
        return z ^ (z >> 31);
    }
    int below(int bound) { return int(next() % std::uint64_t(bound)); }
    bool percent(int chance) { return below(100) < chance; }
    template <typename List> const auto &pick(const List &list) { return list[below(int(std::size(list)))]; }

private:
    std::uint64_t state_ = 20260101;
};

const char *const kStreets[] = {"ЛЕНИНА",     "ОСТРОВСКОГО",     "ДЗЕРЖИНСКОГО", "НАБЕРЕЖНАЯ",    "ПЛ.40 Л. ОКТЯБРЯ",
                                "СОВЕТСКАЯ",  "ПУШКИНА",         "ГАГАРИНА",     "КИРОВА",        "МИРА",
                                "ШКОЛЬНАЯ",   "САДОВАЯ",         "ЛЕСНАЯ",       "МОЛОДЕЖНАЯ",    "ПОЛЕВАЯ",
                                "ЗАВОДСКАЯ",  "ЖЕЛЕЗНОДОРОЖНАЯ", "ПЕРВОМАЙСКАЯ", "КОМСОМОЛЬСКАЯ", "ЧКАЛОВА",
                                "ФРУНЗЕ",     "МАЯКОВСКОГО",     "ЛЕРМОНТОВА",   "ЯНКИ КУПАЛЫ",   "ЯКУБА КОЛАСА",
                                "ЮБИЛЕЙНАЯ",  "ВОКЗАЛЬНАЯ",      "ПОБЕДЫ",       "СОЛНЕЧНАЯ",     "ЗЕЛЕНАЯ",
                                "ПЕР. ТИХИЙ", "ПЕР. ВЕРЕСКОВЫЙ"};

const char *const kSurnames[] = {
    "ИВАНОВ",     "ПЕТРОВ",    "СИДОРОВ",   "КОВАЛЕВ",  "НОВИК",      "КОЗЛОВ",     "МЕЛЬНИК",    "ШЕВЧЕНКО",
    "БОНДАРЕНКО", "КРАВЧЕНКО", "ВОЛКОВ",    "МОРОЗОВ",  "ЛЕБЕДЕВ",    "СОКОЛОВ",    "ПОПОВ",      "КУЗНЕЦОВ",
    "СМИРНОВ",    "ВАСИЛЬЕВ",  "ПАВЛОВ",    "СЕМЕНОВ",  "ГОЛУБЕВ",    "БОГДАНОВ",   "ВОРОБЬЕВ",   "ФЕДОРОВ",
    "МИХАЙЛОВ",   "БЕЛЯЕВ",    "ТАРАСОВ",   "БЕЛОВ",    "КОМАРОВ",    "ОРЛОВ",      "КИСЕЛЕВ",    "МАКАРОВ",
    "АНДРЕЕВ",    "КОВАЛЬЧУК", "ЖУК",       "КЛИМОВИЧ", "ЯКИМОВИЧ",   "ЛУКАШЕВИЧ",  "ГРИНЕВИЧ",   "СТАСЕВИЧ",
    "КАРПОВИЧ",   "ЛИТВИНОВ",  "ЗАЙЦЕВ",    "ЕЛИСЕЕВ",  "ДУБРОВСКИЙ", "ЯНОВСКИЙ",   "ВИШНЕВСКИЙ", "КОВАЛЕВСКИЙ",
    "ЖУКОВСКИЙ",  "ЩЕРБАКОВ",  "ЮРЧЕНКО",   "ЭРДМАН",   "ЦЫБУЛЬСКИЙ", "ЧЕРНЯВСКИЙ", "ХОМИЧ",      "ШАПОВАЛОВ",
    "ФИЛИПЕНКО",  "УСОВ",      "РОМАНОВИЧ", "ПАШКЕВИЧ", "ОСИПОВ",     "НИКИТИН",    "МАРКОВ",     "ЛАПИН",
    "КУРИЛОВИЧ",  "ЗУБОВ",     "ЁЛКИН",     "ГУРИН",    "ВЕРЕСОВ",    "БУРАК"};

const char kInitials[] = "АБВГДЕЗИКЛМНОПРСТФЮЯ";

struct Organisation {
    const char *name;
    const char *address;
};

// The services of the emergency list among them, at their addresses.
const Organisation kOrganisations[] = {{"РАЙОННЫЙ ОТДЕЛ ПО ЧРЕЗВЫЧАЙНЫМ СИТУАЦИЯМ", "ЛЕНИНА 89"},
                                       {"ОВД ВЕРЕСКИНСКОГО РИК", "ЛЕНИНА 35А"},
                                       {"БОЛЬНИЦА РАЙОННАЯ ВЕРЕСКИНСКАЯ", "ОСТРОВСКОГО 37"},
                                       {"ВЕРЕСКИНРАЙГАЗ", "ДЗЕРЖИНСКОГО 100"},
                                       {"СВЯЗЬ РУЭС", "ПЛ.40 Л. ОКТЯБРЯ 7"},
                                       {"ВОДОКАНАЛ", "НАБЕРЕЖНАЯ 2"},
                                       {"ВЕРЕСКИНСКИЙ РАЙИСПОЛКОМ", "ЛЕНИНА 50"},
                                       {"СРЕДНЯЯ ШКОЛА №1", "ШКОЛЬНАЯ 5"},
                                       {"СРЕДНЯЯ ШКОЛА №2", "ГАГАРИНА 14"},
                                       {"ГИМНАЗИЯ Г.ВЕРЕСКИНА", "СОВЕТСКАЯ 21"},
                                       {"ДЕТСКИЙ САД №3 \"ВЕРАСОК\"", "САДОВАЯ 9"},
                                       {"ОАО \"ВЕРЕСКИНСКИЙ МОЛОЧНЫЙ ЗАВОД\"", "ЗАВОДСКАЯ 12"},
                                       {"ВЕРЕСКИНСКИЙ ХЛЕБОЗАВОД", "ЗАВОДСКАЯ 3"},
                                       {"УКП \"ЖИЛКОМХОЗ\"", "КИРОВА 18"},
                                       {"РАЙПО ВЕРЕСКИНСКОЕ", "ПЕРВОМАЙСКАЯ 4"},
                                       {"ЖЕЛЕЗНОДОРОЖНАЯ СТАНЦИЯ ВЕРЕСКИН", "ВОКЗАЛЬНАЯ 1"},
                                       {"АПТЕКА №12", "ЛЕНИНА 41"},
                                       {"ПОЧТОВОЕ ОТДЕЛЕНИЕ ВЕРЕСКИН-1", "ЛЕНИНА 60"},
                                       {"РАЙОННЫЙ ДОМ КУЛЬТУРЫ", "ПОБЕДЫ 2"},
                                       {"ГОСТИНИЦА \"ВЕРЕСК\"", "МИРА 10"},
                                       {"РАЙОННАЯ БИБЛИОТЕКА", "ПУШКИНА 6"},
                                       {"СТАДИОН \"УРОЖАЙ\"", "ЮБИЛЕЙНАЯ 1"},
                                       {"РАЙОННЫЙ СУД", "КОМСОМОЛЬСКАЯ 8"},
                                       {"НАЛОГОВАЯ ИНСПЕКЦИЯ", "ЛЕНИНА 52"},
                                       {"БАНК \"БЕЛАРУСБАНК\" ФИЛИАЛ", "СОВЕТСКАЯ 3"}};

const char *const kDepartments[] = {
    "ПРИЕМНАЯ",       "БУХГАЛТЕРИЯ",  "ОТДЕЛ КАДРОВ", "ДИРЕКТОР", "ГЛАВНЫЙ ИНЖЕНЕР", "ДИСПЕТЧЕРСКАЯ", "ДЕЖУРНАЯ ЧАСТЬ",
    "ПЛАНОВЫЙ ОТДЕЛ", "ЮРИСКОНСУЛЬТ", "СКЛАД",        "ВАХТА",    "КАНЦЕЛЯРИЯ",      "ЛАБОРАТОРИЯ",   "ОТДЕЛ СНАБЖЕНИЯ",
    "ОТДЕЛ СБЫТА",    "ПРОФКОМ",      "МЕДПУНКТ",     "СТОЛОВАЯ", "ГАРАЖ",           "СПРАВОЧНАЯ"};

QString str(const char *utf8)
{
    return QString::fromUtf8(utf8);
}

QString femaleForm(const QString &surname)
{
    if (surname.endsWith(str("СКИЙ")))
        return surname.chopped(2) + str("АЯ");
    if (surname.endsWith(str("ОВ")) || surname.endsWith(str("ЕВ")) || surname.endsWith(str("ИН")))
        return surname + u'А';
    return surname;
}

QString personName(Random &random)
{
    const QString surname = str(random.pick(kSurnames));
    const QString initials = str(kInitials);
    const auto initial = [&] { return QString(initials[random.below(int(initials.size()))]) + u'.'; };
    return (random.percent(50) ? surname : femaleForm(surname)) + u' ' + initial() + initial();
}

QString homeAddress(Random &random)
{
    QString address = str(random.pick(kStreets)) + u' ' + QString::number(1 + random.below(120));
    if (random.percent(50))
        address += u'-' + QString::number(1 + random.below(90));
    return address;
}

// Every number up to 100,000 once: i * 7919 is a permutation modulo 100,000.
QString telephone(int record)
{
    return QStringLiteral("%1").arg((std::int64_t(record % 100000) * 7919 + 20000) % 100000, 5, 10, QChar(u'0'));
}

} // namespace

void generateDirectory(int records, const std::function<void(const QStringList &)> &sink)
{
    Random random;
    int record = 0;
    const auto add = [&](QString abon, const QString &otdel, QString adres) {
        // A few records lack a subscriber or an address.
        if (random.percent(1))
            abon.clear();
        if (random.percent(1))
            adres.clear();
        sink({telephone(record++), abon, otdel, adres});
    };
    while (record < records) {
        if (random.percent(85)) {
            add(personName(random), QString(), homeAddress(random));
            continue;
        }
        const Organisation &organisation = random.pick(kOrganisations);
        add(str(organisation.name), QString(), str(organisation.address));
        for (int departments = 2 + random.below(8); departments > 0 && record < records; --departments)
            add(str(organisation.name), str(random.pick(kDepartments)), str(organisation.address));
    }
}

void writeDirectory(const QString &path, int records)
{
    dataio::TableWriter writer(path, dataio::directoryLayout());
    generateDirectory(records, [&](const QStringList &row) { writer.add(row); });
    writer.finish();
}

void writePhoneBook(const QString &path)
{
    dataio::TableWriter(path, dataio::phoneBookLayout()).finish();
}

} // namespace datagen
