#include "SampleDocuments.h"
#include "StructureData.h"

#include "support/EngineFixture.h"
#include "support/MasterDataRows.h"

#include "sample/clsManageSample.h"

namespace {

// A card of the test user saving through the engine with the sample's own business object.
class SampleSaveRules : public EngineTest
{
protected:
    void SetUp() override
    {
        EngineTest::SetUp();
        if (setUpFailed())
            return;
        initialEngine();
        business->Initial(login, engine.oGI());
        engine.setObjVoucher(business);
        ASSERT_TRUE(engine.connection().isOpen());
    }

    // New documents: a top-level sample for `item` with one new line per component.
    void newVoucher(const QString &item, const QStringList &components)
    {
        sp->ID = 0;
        engine.GetVoucherData();
        MasterDataRows::items(db.cnn(), QStringList(components) << item);
        MasterDataRows::units(db.cnn(), {QStringLiteral("PCS")});
        MasterDataRows::warehouses(db.cnn(), {QStringLiteral("01")});
        VoucherRow head = engine.domHead().appendRow();
        for (const auto &[name, value] : QList<QPair<QString, QString>>{{"ccode", "YP2026120001"},
                                                                        {"ddate", "2026-12-01"},
                                                                        {"cnewinvcode", item},
                                                                        {"cnewinvname", "新品"},
                                                                        {"cnewinvcomunitcode", "PCS"},
                                                                        {"ifinishexch", "1"},
                                                                        {"csocode", "V9"},
                                                                        {"vt_id", ""}})
            head.setValue(name, value);
        for (const QString &component : components) {
            VoucherRow line = engine.domBody().appendRow();
            for (const auto &[name, value] : QList<QPair<QString, QString>>{{"cpscode", component},
                                                                            {"ipsquantity", "2"},
                                                                            {"tdqtyd", " 0 "},
                                                                            {"cwhcode", "01"},
                                                                            {"editprop", "A"}})
                line.setValue(name, value);
        }
    }
    QString save()
    {
        QVariant id;
        qint32 parent = 0;
        QString version;
        return engine.VoucherSave(2, id, parent, version);
    }

    StructureData data{db};
    std::shared_ptr<clsManageSample> business = std::make_shared<clsManageSample>();
};

} // namespace

TEST_P(SampleSaveRules, a_valid_sample_is_saved_with_its_defaults_and_without_empty_lines)
{
    newVoucher(QStringLiteral("NEW"), {QStringLiteral("C1"), QString(), QStringLiteral("C2")});
    ASSERT_EQ(save(), QString());
    EXPECT_EQ(db.count(QStringLiteral("ManageSamples")), 2) << "the new line without a component is dropped";
    EXPECT_EQ(db.count(QStringLiteral("ManageSamples"), QStringLiteral("tdQtyD = 1")), 2);
    EXPECT_EQ(db.count(QStringLiteral("ManageSample"),
                       QStringLiteral("vt_id = 180101 AND bExpand = 0 AND COALESCE(csocode, '') = ''")),
              1);
}

TEST_P(SampleSaveRules, document_complaints_stop_the_save_before_anything_is_written)
{
    newVoucher(QStringLiteral("NEW"), {QStringLiteral("C1"), QStringLiteral("C1")});
    engine.domHead().headRow().setValue(QStringLiteral("cnewinvname"), QString());
    EXPECT_EQ(save(), QStringLiteral("表头 [cnewinvname] 不能为空,请检查!\r\n子件[C1()]重复，请检查！"));
    EXPECT_EQ(db.count(QStringLiteral("ManageSample")), 0);
}

TEST_P(SampleSaveRules, a_loop_found_inside_the_save_rolls_everything_back)
{
    data.sample(1, QStringLiteral("YP1"), QStringLiteral("A"), QString(), {QStringLiteral("B")});
    newVoucher(QStringLiteral("B"), {QStringLiteral("A")});
    EXPECT_EQ(save(), QStringLiteral("保存失败,子件[A]在样品单据中循环出现，请检查！\r\n"));
    EXPECT_EQ(db.count(QStringLiteral("ManageSample")), 1);
    EXPECT_EQ(db.count(QStringLiteral("ManageSamples")), 1);
    EXPECT_FALSE(engine.connection().inTransaction());
}

TEST_P(SampleSaveRules, a_structure_the_bill_of_materials_holds_is_refused_inside_the_save)
{
    data.bom(QStringLiteral("NEW"), QString(), {QStringLiteral("C1")});
    newVoucher(QStringLiteral("NEW"), {QStringLiteral("C1")});
    EXPECT_EQ(save(), QStringLiteral("保存失败,母件[NEW;;;;;;;;;;]在物料清单中已经存在版本号为()的结构\r\n"))
        << "the version of a top-level sample is cleared before the checks";
    EXPECT_EQ(db.count(QStringLiteral("ManageSample")), 0);
}

INSTANTIATE_TEST_SUITE_P(Db, SampleSaveRules, ORVANE_BOTH_BACKENDS);
