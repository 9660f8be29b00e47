#include "BomStructureData.h"

#include "host/ReferenceListService.h"
#include "sample/BomFetch.h"

#include <gtest/gtest.h>

// What a sample takes from an existing bill of materials: the rows read, the typed search and the
// version list.
class BomFetchTest : public testing::TestWithParam<Backend>
{
protected:
    void SetUp() override
    {
        ORVANE_REQUIRE(db);
        bom = data.bom(QStringLiteral("FRAME"), QStringLiteral("V2"), 6, 4, QStringLiteral("红"));
        db.exec(QStringLiteral("UPDATE ProductStructure SET fbzgs = 2, fbzgzl = 3, fbzfyl = 2 WHERE iAutoId = ?"),
                {bom});
        data.bomLine(bom, QStringLiteral("TUBE"), 3, 1.5, 10);
        data.bomLine(bom, QStringLiteral("BOLT"), 8, 0.2, 0, 0, 0);
    }

    TestDatabase db{GetParam()};
    BomStructureData data{db};
    int bom = 0;
};

TEST_P(BomFetchTest, reads_a_structure_for_the_parent_item_fields)
{
    auto head = BomFetch::parentHead(db.cnn(), bom);
    ASSERT_TRUE(head) << head.error().toStdString();
    ASSERT_EQ(head->RecordCount(), 1);
    EXPECT_EQ(head->text(QStringLiteral("cpspinvcode")), QStringLiteral("FRAME"));
    EXPECT_EQ(head->text(QStringLiteral("cpspinvname")), QStringLiteral("品FRAME"));
    EXPECT_EQ(head->value(QStringLiteral("ibomautoid")).toInt(), bom);
    EXPECT_EQ(head->value(QStringLiteral("imanhrs")).toDouble(), 2);
    EXPECT_EQ(head->text(QStringLiteral("cfree1")), QStringLiteral("红"));
    EXPECT_EQ(head->text(QStringLiteral("cfree2")), QString(""));

    auto lines = BomFetch::parentLines(db.cnn(), bom);
    ASSERT_TRUE(lines) << lines.error().toStdString();
    ASSERT_EQ(lines->RecordCount(), 2);
    EXPECT_EQ(lines->text(QStringLiteral("editprop")), QStringLiteral("A"));
    EXPECT_EQ(lines->text(QStringLiteral("cpscode")), QStringLiteral("TUBE"));
    EXPECT_EQ(lines->value(QStringLiteral("imaterialcharge")).toDouble(), 1.5);
    EXPECT_EQ(lines->text(QStringLiteral("cpscomunitcode")), QStringLiteral("PCS"));
}

TEST_P(BomFetchTest, finds_a_typed_code_or_name_of_the_version_asked_for)
{
    EXPECT_EQ(*BomFetch::findTyped(db.cnn(), QStringLiteral("FRAME"), {}, {}), bom);
    EXPECT_EQ(*BomFetch::findTyped(db.cnn(), QStringLiteral("品FRAME"), QStringLiteral("V2"), {}), bom);
    EXPECT_EQ(*BomFetch::findTyped(db.cnn(), QStringLiteral("FRAME"), QStringLiteral("V9"), {}), 0);
    EXPECT_EQ(*BomFetch::findTyped(db.cnn(), QStringLiteral("frame"), {}, {}), 0);
}

TEST_P(BomFetchTest, makes_a_new_sample_without_dividing_by_a_zero_divisor)
{
    auto head = BomFetch::newSampleHead(db.cnn(), bom);
    ASSERT_TRUE(head) << head.error().toStdString();
    ASSERT_EQ(head->RecordCount(), 1);
    EXPECT_EQ(head->text(QStringLiteral("cnewinvcode")), QStringLiteral("FRAME"));
    EXPECT_EQ(head->text(QStringLiteral("csocode")), QStringLiteral("V2"));
    EXPECT_EQ(head->text(QStringLiteral("cinvdefine16")), QString(""));

    auto lines = BomFetch::newSampleLines(db.cnn(), bom);
    ASSERT_TRUE(lines) << lines.error().toStdString();
    ASSERT_EQ(lines->RecordCount(), 2);
    EXPECT_EQ(lines->value(0, lines->fieldIndex(QStringLiteral("icaaquantity"))).toDouble(), 3);
    EXPECT_TRUE(lines->value(1, lines->fieldIndex(QStringLiteral("icaaquantity"))).isNull());

    auto none = BomFetch::newSampleHead(db.cnn(), bom + 100);
    ASSERT_TRUE(none);
    EXPECT_TRUE(none->isEmpty());
}

TEST_P(BomFetchTest, lists_the_versions_of_an_item_and_none_for_an_item_without)
{
    data.bom(QStringLiteral("FRAME"), QStringLiteral("V1"));
    data.bom(QStringLiteral("FRAME"), QString(""));
    data.bom(QStringLiteral("FRAME"), QStringLiteral("V1"));
    ReferenceListService service(db.cnn());
    auto page = service.page(BomFetch::versionList(QStringLiteral("FRAME")));
    ASSERT_TRUE(page) << page.error().toStdString();
    QStringList versions;
    for (int r = 0; r < page->rows.RecordCount(); ++r)
        versions << page->rows.value(r, 0).toString();
    EXPECT_EQ(versions, (QStringList{"V1", "V2"}));
    auto empty = service.page(BomFetch::versionList(QStringLiteral("TUBE")));
    ASSERT_TRUE(empty);
    EXPECT_TRUE(empty->rows.isEmpty());

    auto list = service.page(BomFetch::parentItemList(QString()));
    ASSERT_TRUE(list) << list.error().toStdString();
    EXPECT_EQ(list->rows.RecordCount(), 4);
}

INSTANTIATE_TEST_SUITE_P(Db, BomFetchTest, ORVANE_BOTH_BACKENDS);
