// Cards as common address books write them.
#include "dataiotest.h"

#include "dataio/vcard.h"

using namespace dataio;

namespace {

struct CardCase {
    const char *writer;
    QByteArray bytes;
    QStringList values; // FIO, ADR, TEL, MAIL
    QStringList notes;  // "line: text"
};

QStringList notesOf(const BookEntry &entry)
{
    QStringList notes;
    for (const Problem &note : entry.notes)
        notes.append(QStringLiteral("%1: %2").arg(note.line).arg(note.text));
    return notes;
}

TEST(VCard, ReadsWhatAddressBooksWrite)
{
    const CardCase cases[] = {
        {"4.0 with a preferred second number and a structured address",
         utf8("BEGIN:VCARD\r\nVERSION:4.0\r\nFN:Иванов Иван Иванович\r\nN:Иванов;Иван;Иванович;;\r\n"
              "TEL;TYPE=cell:+375 29 111-11-11\r\nTEL;TYPE=work;PREF=1;VALUE=uri:tel:+375-1714-2-22-22\r\n"
              "ADR;TYPE=home:;;ул. Ленина\\, 5;Верескин;;225000;Беларусь\r\nEMAIL:ivanov@example.by\r\nEND:VCARD\r\n"),
         {"Иванов Иван Иванович", "ул. Ленина, 5, Верескин, 225000, Беларусь", "+375-1714-2-22-22",
          "ivanov@example.by"},
         {"1: 1 more numbers not taken"}},
        {"3.0 with a byte order mark, groups, type=pref and a line folded inside a letter",
         utf8("\xEF\xBB\xBF"
              "BEGIN:VCARD\nVERSION:3.0\nN:Петрова;Анна;;;\nFN:Петрова Ан\xD0\n \xBD"
              "а\n"
              "item1.EMAIL;type=INTERNET;type=pref:anna@example.by\nitem2.EMAIL;type=INTERNET:a2@example.by\n"
              "TEL;type=CELL;type=VOICE:8 029 222\nEND:VCARD\n"),
         {"Петрова Анна", "", "8 029 222", "anna@example.by"},
         {"1: 1 more e-mail addresses not taken"}},
        {"2.1 quoted-printable UTF-8 with a soft line break, bare PREF, no FN",
         utf8("BEGIN:VCARD\r\nVERSION:2.1\r\nN;CHARSET=UTF-8;ENCODING=QUOTED-PRINTABLE:=D0=A1=D0=B8=D0=B4=D0=BE=D1=80="
              "\r\n"
              "=D0=BE=D0=B2;=D0=9F=D1=91=D1=82=D1=80;;;\r\nTEL;CELL:+375291234567\r\nTEL;HOME;PREF:21345\r\nEND:"
              "VCARD\r\n"),
         {"Сидоров Пётр", "", "21345", ""},
         {"1: 1 more numbers not taken"}},
        {"2.1 in code page 1251, a company with no person's name",
         QByteArray("BEGIN:VCARD\r\nVERSION:2.1\r\nORG;CHARSET=windows-1251;ENCODING=QUOTED-PRINTABLE:=C2=EE=E4=EE=EA="
                    "E0=ED=E0=EB\r\n"
                    "TEL;WORK:2-11-00\r\nEND:VCARD\r\n"),
         {"Водоканал", "", "2-11-00", ""},
         {}},
        {"two addresses, work first: the home one is kept; an empty number does not count",
         utf8("BEGIN:VCARD\nVERSION:3.0\nFN:Ковалёв\nADR;TYPE=work:;;Заводская 1;;;;\nADR;TYPE=home:;;Садовая 2;;;;\n"
              "ADR;TYPE=home:;;;;;;\nTEL;HOME;FAX:\nTEL;CELL:+375 29 1112233\nEND:VCARD\n"),
         {"Ковалёв", "Садовая 2", "+375 29 1112233", ""},
         {"1: 1 more addresses not taken"}},
        {"a preferred address wins over the home one, the lowest PREF over a higher one",
         utf8("BEGIN:VCARD\nVERSION:4.0\nFN:Ковалёв\nADR;TYPE=home:;;Садовая 2;;;;\nADR;PREF=2:;;Дачная 3;;;;\n"
              "ADR;PREF=1:;;Лесная 4;;;;\nEND:VCARD\n"),
         {"Ковалёв", "Лесная 4", "", ""},
         {"1: 2 more addresses not taken"}},
        {"charsets named, plain and quoted-printable; an unknown one reported with its line",
         QByteArray("BEGIN:VCARD\r\nVERSION:2.1\r\nFN;CHARSET=ISO-8859-1:Hans-J\xfcrgen\r\n"
                    "ADR;CHARSET=KOI8-R:;;\xec\xc5\xce\xc9\xce\xc1 1;;;;\r\n"
                    "EMAIL;CHARSET=iso-8859-1;ENCODING=QUOTED-PRINTABLE:j=FCrgen@example.de\r\n"
                    "TEL;CHARSET=x-martian:2-11-00\r\nEND:VCARD\r\n"),
         {"Hans-Jürgen", "Ленина 1", "2-11-00", "jürgen@example.de"},
         {"6: unknown charset \"x-martian\": the text was read as UTF-8 or cp1251"}},
    };
    for (const CardCase &c : cases) {
        SCOPED_TRACE(c.writer);
        const QList<BookEntry> entries = readVCards(c.bytes);
        ASSERT_EQ(entries.size(), 1);
        EXPECT_EQ(entries[0].line, 1);
        EXPECT_EQ(entries[0].values, c.values);
        EXPECT_EQ(notesOf(entries[0]), c.notes);
        EXPECT_TRUE(entries[0].problem.isEmpty()) << entries[0].problem.toStdString();
    }
}

TEST(VCard, ReportsCardsItCannotTakeWithTheirLines)
{
    const QList<BookEntry> entries = readVCards(utf8("BEGIN:VCARD\nVERSION:4.0\nTEL:1\nEND:VCARD\n"
                                                     "BEGIN:VCARD\nVERSION:4.0\nFN:Ok\nEND:VCARD\n"
                                                     "BEGIN:VCARD\nFN:Cut short\n"));
    ASSERT_EQ(entries.size(), 3);
    EXPECT_EQ(entries[0].line, 1);
    EXPECT_EQ(entries[0].problem, "the card has no name");
    EXPECT_TRUE(entries[1].problem.isEmpty());
    EXPECT_EQ(entries[2].line, 9);
    EXPECT_EQ(entries[2].problem, "the card is not closed (no END:VCARD)");

    const std::pair<QByteArray, QStringList> misplaced[] = {
        {utf8("VERSION:4.0\nFN:No begin\nEND:VCARD\n"),
         {"1: not a valid vCard: \"VERSION:4.0\" stands outside a BEGIN:VCARD … END:VCARD card"}},
        {utf8("VERSION:3.0\nBEGIN:VCARD\nFN:Ok\nEND:VCARD\n\x1b[2J plain text\n"),
         {"1: not a valid vCard: \"VERSION:3.0\" stands outside a BEGIN:VCARD … END:VCARD card",
          "2: ", "5: not a valid vCard: \"?[2J plain text\" stands outside a BEGIN:VCARD … END:VCARD card"}},
    };
    for (const auto &[bytes, expected] : misplaced) {
        QStringList found;
        for (const BookEntry &entry : readVCards(bytes))
            found.append(QStringLiteral("%1: %2").arg(entry.line).arg(entry.problem));
        EXPECT_EQ(found, expected);
    }
}

TEST(VCard, WritesFourPointZeroFoldedAtSeventyFiveOctets)
{
    const QString longName = QString(40, u'Ж'); // 80 octets of UTF-8
    const QByteArray cards = vCardsOf({{longName, "Мира 1, кв. 2; подъезд 3", "+375 1714 5-55-55", ""}});
    for (const QByteArray &line : cards.split('\n'))
        EXPECT_LE(line.size(), 76); // 75 octets and the CR
    EXPECT_TRUE(cards.startsWith("BEGIN:VCARD\r\nVERSION:4.0\r\n"));
    EXPECT_TRUE(cards.contains("ADR:;;Мира 1\\, кв. 2\\; подъезд 3;;;;\r\n"));
    EXPECT_FALSE(cards.contains("EMAIL"));
    const QList<BookEntry> back = readVCards(cards);
    ASSERT_EQ(back.size(), 1);
    EXPECT_EQ(back[0].values, (QStringList{longName, "Мира 1, кв. 2; подъезд 3", "+375 1714 5-55-55", ""}));
}

// What an import takes, and the same after an export and a second import.
TEST(VCard, ExportKeepsWhatImportTook)
{
    const std::pair<QByteArray, QStringList> cases[] = {
        {"TEL;VALUE=uri:tel:\v375-22", {"Ok", "", "375-22", ""}},
        {"TEL;VALUE=text:tel:2-11-00", {"Ok", "", "tel:2-11-00", ""}},
        {"EMAIL;VALUE=text:mailto:a@b.by", {"Ok", "", "", "mailto:a@b.by"}},
        {"EMAIL:mailto:mailto:a@b.by", {"Ok", "", "", "mailto:a@b.by"}},
        {QByteArray("ADR;CHARSET=UTF-16LE:A\0\0\xd8", 25), {"Ok", "A\uFFFD", "", ""}},
        {"ADR;CHARSET=UTF-8:\xEF\xBB\xBF\xEF\xBB\xBFX", {"Ok", "X", "", ""}},
    };
    for (const auto &[property, expected] : cases) {
        SCOPED_TRACE(property.toStdString());
        const QList<BookEntry> read = readVCards("BEGIN:VCARD\nFN:Ok\n" + property + "\nEND:VCARD\n");
        ASSERT_EQ(read.size(), 1);
        EXPECT_EQ(read[0].values, expected);
        const QList<BookEntry> again = readVCards(vCardsOf({read[0].values}));
        ASSERT_EQ(again.size(), 1);
        EXPECT_EQ(again[0].values, expected);
    }
}

} // namespace
