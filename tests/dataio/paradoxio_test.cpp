// Paradox tables through the data tool: every import takes one, told by its
// content; --map names a source's own columns; exports and packs write
// tables that pxlib's reader and ours both read back.
#include "dataiotest.h"

#include "app/directoryarchive.h"
#include "archive/zipextractor.h"
#include "data/paradoxtable.h"
#include "data/query.h"
#include "dataio/cp1251.h"
#include "support/paradoxbuilder.h"

#include <QDir>

extern "C" {
#include <paradox.h>
}

namespace {

using PB = ParadoxBuilder;

class ParadoxToolTest : public DataToolTest {
protected:
    // A table with the given own field names (all Alpha 40), in code page 866.
    void writeTable(const QString &file, const QList<QByteArray> &names, const std::vector<QStringList> &rows)
    {
        PB builder;
        builder.codePage = 866;
        for (const QByteArray &name : names)
            builder.fields.append({PB::Alpha, 40, name});
        for (const QStringList &row : rows)
            builder.addTexts(row);
        writeFile(path(file), builder.build());
    }
};

// Rows of a Paradox table as pxlib reads them, decoded from code page 1251.
std::vector<QStringList> pxlibRows(const QString &file, QStringList &names)
{
    pxdoc_t *doc = PX_new();
    std::vector<QStringList> rows;
    if (PX_open_file(doc, QFile::encodeName(file).constData()) < 0) {
        PX_delete(doc);
        return rows;
    }
    for (int f = 0; f < PX_get_num_fields(doc); ++f)
        names.append(QString::fromLatin1(PX_get_field(doc, f)->px_fname) + ":" +
                     QString::number(PX_get_field(doc, f)->px_flen));
    for (int r = 0; r < PX_get_num_records(doc); ++r) {
        pxval_t **values = PX_retrieve_record(doc, r);
        QStringList row;
        for (int f = 0; f < PX_get_num_fields(doc); ++f) {
            row.append(values[f]->isnull ? QString() : dataio::fromCp1251(values[f]->value.str.val));
            if (!values[f]->isnull)
                doc->free(doc, values[f]->value.str.val);
            doc->free(doc, values[f]);
        }
        doc->free(doc, values);
        rows.push_back(row);
    }
    PX_close(doc);
    PX_delete(doc);
    return rows;
}

} // namespace

TEST_F(ParadoxToolTest, EveryImportTakesAParadoxTableUnderItsOwnColumnNames)
{
    writeTable("publisher.txt", {"Nomer", "Imya", "Ulica"},
               {{"21345", "Вересов А.Б.", "Ленина 1"}, {"21346", "Школа № 2", ""}});
    ASSERT_EQ(run({"directory", "import", "publisher.txt", "-o", "data.db"}), 1);
    EXPECT_TRUE(err.contains("unknown column \"Nomer\"")) << err.toStdString();
    ASSERT_EQ(
        run({"directory", "import", "publisher.txt", "-o", "data.db", "--map", "Nomer=Tel,Imya=Абонент,Ulica=Adres"}),
        0)
        << err.toStdString();
    EXPECT_EQ(rowsOf("data.db"), (std::vector<QStringList>{{"21345", "ВЕРЕСОВ А.Б.", "<null>", "ЛЕНИНА 1"},
                                                           {"21346", "ШКОЛА № 2", "<null>", "<null>"}}));

    std::vector<QStringList> codes;
    for (const char *region : {"БРЕСТСКАЯ", "ВИТЕБСКАЯ", "ГОМЕЛЬСКАЯ", "ГРОДНЕНСКАЯ", "МИНСКАЯ", "МОГИЛЕВСКАЯ"})
        codes.push_back({QString::fromUtf8(region), "Город", "0162", "лишнее"});
    writeTable("kody", {"Obl", "Np", "Kod", "Note"}, codes);
    ASSERT_EQ(run({"codes", "import", "kody", "-o", "kod.db", "--map", "Note="}), 0) << err.toStdString();
    EXPECT_EQ(rowsOf("kod.db").size(), 6u);
    EXPECT_EQ(rowsOf("kod.db")[4], (QStringList{"МИНСКАЯ", "ГОРОД", "0162"}));

    writeTable("old.db", {"FIO", "TEL"}, {{"Иванов Иван", "123"}, {"Петров", ""}});
    ASSERT_EQ(run({"book", "import", "old.db", "basamy.db"}), 0) << err.toStdString();
    EXPECT_EQ(rowsOf("basamy.db"), (std::vector<QStringList>{{"Иванов Иван", "<null>", "123", "<null>"},
                                                             {"Петров", "<null>", "<null>", "<null>"}}));

    writeFile(path("spreadsheet.csv"), utf8("Номер;Наименование\n555;Аптека\n"));
    ASSERT_EQ(run({"directory", "import", "spreadsheet.csv", "-o", "data.db", "--map", "Номер=Tel,Наименование=Abon"}),
              0)
        << "--map serves a delimited source too: " << err.toStdString();
    EXPECT_EQ(run({"directory", "import", "spreadsheet.csv", "-o", "data.db", "--map", "Номер"}), 2);
}

TEST_F(ParadoxToolTest, ExportsWriteTablesWithTheProgramsFieldsThatPxlibAndWeReadBack)
{
    writeFile(path("town.csv"), utf8("Tel,Abon,Otdel,Adres\n21345,ВЕРЕСОВ,ПРИЁМНАЯ,ЛЕНИНА 1\n7,Ω-КЛУБ,,\n"));
    ASSERT_EQ(run({"directory", "import", "town.csv", "-o", "data.db"}), 0) << err.toStdString();
    writeFile(path("book.csv"), utf8("FIO,TEL\nИванов,123\n"));
    ASSERT_EQ(run({"book", "import", "book.csv", "basamy.db"}), 0) << err.toStdString();
    struct Case {
        QStringList exportArgs;
        const char *table;
        QStringList fields;
        std::vector<QStringList> pxlibRows;
        QStringList readBackArgs;
        QByteArray readBack;
    };
    const Case cases[] = {
        {{"directory", "export", "data.db", "-o", "px-data.db", "--format", "paradox"},
         "px-data.db",
         {"Tel:5", "Abon:150", "Otdel:150", "Adres:60"},
         {{"21345", "ВЕРЕСОВ", "ПРИЁМНАЯ", "ЛЕНИНА 1"}, {"7", "?-КЛУБ", "", ""}},
         {"directory", "export", "px-data.db", "-o", "back.csv"},
         "Tel,Abon,Otdel,Adres\r\n21345,ВЕРЕСОВ,ПРИЁМНАЯ,ЛЕНИНА 1\r\n7,?-КЛУБ,,\r\n"},
        {{"book", "export", "basamy.db", "--format", "paradox", "-o", "px-book.db"},
         "px-book.db",
         {"FIO:30", "ADR:40", "TEL:15", "MAIL:50"},
         {{"Иванов", "", "123", ""}},
         {"book", "export", "px-book.db", "--csv", "back.csv"},
         "FIO,ADR,TEL,MAIL\r\nИванов,,123,\r\n"},
    };
    for (const Case &c : cases) {
        ASSERT_EQ(run(c.exportArgs), 0) << err.toStdString();
        QStringList fields;
        EXPECT_EQ(pxlibRows(path(c.table), fields), c.pxlibRows) << c.table;
        EXPECT_EQ(fields, c.fields) << c.table;
        ASSERT_EQ(run(c.readBackArgs), 0) << err.toStdString();
        EXPECT_EQ(readFile(path("back.csv")), c.readBack) << c.table;
    }
}

TEST_F(ParadoxToolTest, APackOfParadoxTablesIsSearchedThroughTheProgramsUnpackPath)
{
    writeTownFiles(utf8("Tel,Abon,Adres\n21345,ВЕРЕСОВ,ЛЕНИНА 1\n21346,ВЕРЕСОВА,МИРА 1\n"));
    QDir().mkdir("out");
    ASSERT_EQ(run({"directory", "import", "town.csv", "-o", "out/data.db"}), 0) << err.toStdString();
    ASSERT_EQ(run({"codes", "import", "codes.tsv", "-o", "out/kod.db"}), 0) << err.toStdString();
    ASSERT_EQ(run({"pack", "basa.tel", "out/data.db", "out/kod.db", "--format", "paradox"}), 0) << err.toStdString();

    TZipExtractor extractor;
    directoryarchive::unpack(extractor);
    ASSERT_EQ(extractor.successCount(), 2);
    EXPECT_TRUE(data::ParadoxTable::isParadoxFile(path("data.db")));
    data::Query query;
    query.setSql({"SELECT Tel, Abon, Otdel, Adres", "FROM \"data.db\" Country",
                  "WHERE   (Tel Like :Name_param and Abon Like :Name_param2 ", "and Adres Like :Name_param3)"});
    query.setParamByName("Name_param", "%");
    query.setParamByName("Name_param2", QString::fromUtf8("ВЕРЕСОВА%"));
    query.setParamByName("Name_param3", "%");
    query.open();
    EXPECT_EQ(query.recordCount(), 1);
    EXPECT_EQ(query.fieldByName("Tel").asString(), "21346");
    data::Query regions;
    regions.setSql({"SELECT Obl, Np, Kod", "FROM \"kod.db\" Country", "WHERE   (Obl Like :Name_param1)"});
    regions.setParamByName("Name_param1", QString::fromUtf8("МИНСКАЯ"));
    regions.open();
    EXPECT_EQ(regions.recordCount(), 1);
    EXPECT_EQ(regions.fieldByName("Kod").asString(), "01");
}
