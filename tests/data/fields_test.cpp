#include "data/query.h"
#include "support/tablefixture.h"

using namespace data;

namespace {

class FieldsTest : public WorkDirTest {
protected:
    void SetUp() override
    {
        WorkDirTest::SetUp();
        makeTable(QStringLiteral("kod.db"), QStringLiteral("Obl VARCHAR(15), Np VARCHAR(20), Kod VARCHAR(20)"),
                  {{"МИНСКАЯ", "МИНСК", "017"}, {"БРЕСТСКАЯ", "БРЕСТ", "0162"}});
        query.setSql({QStringLiteral("SELECT Obl, Np, Kod"), QStringLiteral("FROM \"kod.db\" Country")});
    }
    Query query;
};

TEST_F(FieldsTest, FieldsKeepTheirSettingsAcrossReopening)
{
    query.open();
    Field *np = query.findField(QStringLiteral("np"));
    ASSERT_NE(np, nullptr);
    np->setDisplayLabel(QStringLiteral("Населенный пункт"));
    EXPECT_EQ(np->displayWidth(), 20) << "the declared size by default";
    query.close();
    EXPECT_TRUE(np->isNull()) << "a closed dataset reads null";
    query.open();
    EXPECT_EQ(query.findField(QStringLiteral("Np")), np) << "the same field object";
    EXPECT_EQ(np->displayLabel(), "Населенный пункт");
    EXPECT_EQ(np->asString(), "МИНСК");
}

TEST_F(FieldsTest, DeclaredFieldsAreTheOnlyOnesExposed)
{
    Field &np = query.addField(QStringLiteral("Np"));
    query.addField(QStringLiteral("Kod")).setDisplayLabel(QStringLiteral("Код"));
    query.open();
    ASSERT_EQ(query.fieldCount(), 2);
    EXPECT_EQ(query.field(0), &np);
    EXPECT_EQ(np.size(), 20);
    EXPECT_EQ(query.field(1)->asString(), "017");
    EXPECT_EQ(query.field(1)->displayLabel(), "Код");
    EXPECT_EQ(query.findField(QStringLiteral("Obl")), nullptr);
    EXPECT_THROW(query.addField(QStringLiteral("Obl")), EDatabaseError) << "only while closed";

    query.close();
    query.setSql({QStringLiteral("SELECT Obl FROM \"kod.db\"")});
    try {
        query.open();
        FAIL();
    } catch (const EDatabaseError &error) {
        EXPECT_EQ(error.message(), "Поле 'Np' не найдено");
    }
    EXPECT_FALSE(query.active());
}

TEST_F(FieldsTest, LongTextsReadBackWhole)
{
    const QString longName = QString(150, QChar(u'Щ')); // 300 bytes of UTF-8
    const QString longCode = QString(1000, u'7');
    makeTable(QStringLiteral("long.db"), QStringLiteral("A TEXT, B TEXT, C TEXT"), {{longName, longCode, "конец"}});
    query.setSql({QStringLiteral("SELECT A, B, C FROM \"long.db\"")});
    query.open();
    EXPECT_EQ(query.fieldByName("A").asString(), longName);
    EXPECT_EQ(query.fieldByName("B").asString(), longCode);
    EXPECT_EQ(query.fieldByName("C").asString(), "конец");
    EXPECT_EQ(query.fieldByName("A").size(), 0) << "no declared size";
}

TEST_F(FieldsTest, NumericValues)
{
    query.open();
    EXPECT_EQ(query.fieldByName("Kod").asFloat(), 17.0);
    EXPECT_EQ(query.fieldByName("Np").asFloat(), 0.0) << "non-numeric text";
    EXPECT_THROW(query.fieldByName("Kod").setAsString("1"), EDatabaseError) << "only while editing";
}

} // namespace
