#include "CardTyping.h"

#include "support/SampleFixture.h"

#include "host/TemplateService.h"
#include "platform/Connection.h"
#include "platform/Recordset.h"
#include "platform/SchemaSeed.h"
#include "ui/CardGrid.h"
#include "ui/VoucherCardWidget.h"

#include <QApplication>
#include <QLabel>
#include <QLineEdit>
#include <QSignalSpy>
#include <QTest>

namespace {

// The card widget on the display template of a real database, showing a voucher read straight from
// its tables, in a window of its own with the keyboard focus.
class CardWidget : public testing::TestWithParam<Backend>
{
protected:
    void SetUp() override
    {
        ORVANE_REQUIRE(db);
        samples.voucher(1, QStringLiteral("YP001"), QStringLiteral("张三"), 2);
        auto t = TemplateService(db.cnn()).displayTemplate(SchemaSeed::kDisplayTemplateId);
        ASSERT_TRUE(t) << t.error().toStdString();
        card.setTemplate(*t);
        card.loadDocuments(document(QStringLiteral("SELECT *, '' AS editprop FROM ManageSample WHERE iAutoID = 1")),
                           document(QStringLiteral("SELECT *, '' AS editprop FROM ManageSamples WHERE iAutoID = 1 "
                                                   "ORDER BY iSubID")),
                           0);
        card.resize(1000, 600);
        card.show();
        card.activateWindow();
        ASSERT_TRUE(QTest::qWaitForWindowActive(&card));
    }

    VoucherDocument document(const QString &sql)
    {
        auto rs = db.cnn().Query(sql);
        EXPECT_TRUE(rs) << rs.error().toStdString();
        return rs ? VoucherDocument::fromRecordset(*rs) : VoucherDocument();
    }

    // Every item editable, as the card leaves them when an edit begins.
    void beginEdit(int state = CardControl::EditingVoucher)
    {
        card.setEditState(state);
        for (int i = 1; i <= card.HeadInfoCount(); ++i)
            card.applyEditable(card.ItemState(i, CardControl::Head).sFieldName);
    }

    QLineEdit *head(const char *field) { return card.headEditor(QString::fromLatin1(field)); }
    void typeHead(const char *field, const QString &text) { ::typeHead(card, QString::fromLatin1(field), text); }
    void typeCell(int row, const char *field, const QString &text)
    {
        ::typeCell(card, row, QString::fromLatin1(field), text);
    }

    QList<VoucherRow> bodyRows(VoucherDocument &body)
    {
        VoucherDocument h;
        EXPECT_TRUE(card.getVoucherDataXML(h, body));
        return body.rows();
    }

    TestDatabase db{GetParam()};
    SampleWriter samples{db};
    VoucherCardWidget card;
};

TEST_P(CardWidget, lays_out_the_display_template_and_marks_required_items)
{
    EXPECT_EQ(card.ItemState(1, CardControl::Head).sFieldName, QStringLiteral("ccode"));
    EXPECT_EQ(card.ItemState(1, CardControl::Head).sCardItemName, QStringLiteral("单据号"));
    EXPECT_TRUE(card.ItemState(1, CardControl::Head).bIsNull);
    EXPECT_EQ(card.ItemState(card.HeadInfoCount() + 1, CardControl::Head).sFieldName, QString());

    ASSERT_TRUE(card.headLabel(QStringLiteral("cnewinvcode")));
    EXPECT_EQ(card.headLabel(QStringLiteral("cnewinvcode"))->text(), QStringLiteral("存货编码 *"));
    EXPECT_EQ(card.headLabel(QStringLiteral("cnewinvstd"))->text(), QStringLiteral("规格型号"));
    EXPECT_FALSE(card.headEditor(QStringLiteral("iautoid"))) << "a hidden item has no editor";
    EXPECT_EQ(card.headerText(QStringLiteral("iautoid")), QStringLiteral("1")) << "but its value is there";

    CardGrid *grid = card.bodyGrid();
    EXPECT_EQ(card.columnOf(QStringLiteral("cpscomunitcode")), -1);
    EXPECT_EQ(grid->model()->headerData(card.columnOf(QStringLiteral("cpscode")), Qt::Horizontal, Qt::DisplayRole).toString(),
              QStringLiteral("子件编码 *"));
    EXPECT_EQ(grid->model()->headerData(card.columnOf(QStringLiteral("cwhname")), Qt::Horizontal, Qt::DisplayRole).toString(), QStringLiteral("仓库"));
}

TEST_P(CardWidget, shows_the_voucher_read_only_while_viewing_and_keeps_null_apart_from_empty)
{
    EXPECT_EQ(card.headerText(QStringLiteral("ccode")), QStringLiteral("YP001"));
    EXPECT_EQ(card.headerText(1), QStringLiteral("YP001"));
    EXPECT_TRUE(head("ccode")->isReadOnly());
    ASSERT_EQ(card.BodyRows(), 2);
    EXPECT_EQ(card.bodyText(2, QStringLiteral("cpscode")), QStringLiteral("P1-2"));
    EXPECT_EQ(card.bodyText(2, 1), QStringLiteral("P1-2")) << "by the template's column number";
    EXPECT_EQ(card.bodyText(3, QStringLiteral("cpscode")), QString());
    EXPECT_FALSE(card.bodyGrid()->isCellEditable(0, 0));

    QTest::keyClicks(head("cmemo"), QStringLiteral("x"));
    EXPECT_EQ(head("cmemo")->text(), QString());

    VoucherDocument h;
    VoucherDocument b;
    ASSERT_TRUE(card.getVoucherDataXML(h, b));
    EXPECT_FALSE(h.headRow().attribute(QStringLiteral("cmemo"))) << "a NULL column stays without attribute";
    EXPECT_EQ(b.rowCount(), 2);
    EXPECT_EQ(b.row(0).value(QStringLiteral("editprop")), QString());
}

TEST_P(CardWidget, keyboard_edits_reach_the_documents_with_their_row_marks)
{
    beginEdit();
    QStringList checked;
    QObject::connect(&card, &VoucherCardWidget::headCellCheck, &card,
                     [&checked](const QString &field, QString &value, int &) { checked << field + '=' + value; });
    typeHead("cmemo", QStringLiteral("note 1"));
    EXPECT_EQ(checked, QStringList{QStringLiteral("cmemo=note 1")});
    // The next item the user may change (read-only ones are passed over), or the grid after the last.
    QWidget *next = QApplication::focusWidget();
    ASSERT_TRUE(next && next != head("cmemo")) << "Enter moves on";
    if (auto *edit = qobject_cast<QLineEdit *>(next))
        EXPECT_FALSE(edit->isReadOnly()) << edit->objectName().toStdString();
    else
        EXPECT_EQ(next, card.bodyGrid());

    typeCell(1, "ipsquantity", QStringLiteral("7.5"));
    EXPECT_EQ(card.bodyText(1, QStringLiteral("ipsquantity")), QStringLiteral("7.5"));
    EXPECT_GT(card.bodyGrid()->currentColumn(), card.columnOf(QStringLiteral("ipsquantity")))
        << "Enter moves on to the next cell";
    EXPECT_TRUE(card.bodyGrid()->isCellEditable(0, card.bodyGrid()->currentColumn()));

    card.addRow();
    EXPECT_EQ(card.BodyRows(), 3);
    EXPECT_EQ(card.row(), 3);
    typeCell(3, "cpscode", QStringLiteral("C9"));

    VoucherDocument h;
    VoucherDocument b;
    ASSERT_TRUE(card.getVoucherDataXML(h, b));
    EXPECT_EQ(h.headRow().value(QStringLiteral("cmemo")), QStringLiteral("note 1"));
    ASSERT_EQ(b.rowCount(), 3);
    EXPECT_EQ(b.row(0).value(QStringLiteral("editprop")), QStringLiteral("M"));
    EXPECT_EQ(b.row(0).value(QStringLiteral("ipsquantity")), QStringLiteral("7.5"));
    EXPECT_EQ(b.row(1).value(QStringLiteral("editprop")), QString()) << "an untouched line stays unmarked";
    EXPECT_EQ(b.row(2).value(QStringLiteral("editprop")), QStringLiteral("A"));
    EXPECT_EQ(b.row(2).value(QStringLiteral("cpscode")), QStringLiteral("C9"));

    // A changed added line stays an addition; a deleted stored line is kept for the save, a
    // deleted added one is simply gone.
    typeCell(3, "cwhcode", QStringLiteral("01"));
    card.deleteRow(1);
    EXPECT_EQ(card.BodyRows(), 2);
    EXPECT_EQ(card.bodyText(1, QStringLiteral("cpscode")), QStringLiteral("P1-2"));
    ASSERT_TRUE(card.getVoucherDataXML(h, b));
    ASSERT_EQ(b.rowCount(), 3);
    EXPECT_EQ(b.row(0).value(QStringLiteral("editprop")), QStringLiteral("D"));
    EXPECT_EQ(b.row(0).value(QStringLiteral("isubid")), QStringLiteral("1001"));
    EXPECT_EQ(b.row(2).value(QStringLiteral("editprop")), QStringLiteral("A"));
    card.deleteRow(2);
    ASSERT_TRUE(card.getVoucherDataXML(h, b));
    EXPECT_EQ(b.rowCount(), 2);
    EXPECT_EQ(b.selectNodes(QStringLiteral("//z:row [@editprop='A']")).size(), 0);
}

TEST_P(CardWidget, forbidden_characters_are_refused_as_they_are_typed)
{
    beginEdit();
    EXPECT_EQ(card.BodyBadStr(), QStringLiteral("'\""));
    typeHead("cmemo", QStringLiteral("a'b\"c"));
    EXPECT_EQ(card.headerText(QStringLiteral("cmemo")), QStringLiteral("abc"));

    int memo = 0;
    for (int i = 1; i <= card.HeadInfoCount(); ++i)
        memo = card.ItemState(i, CardControl::Head).sFieldName == QStringLiteral("cmemo") ? i : memo;
    card.setHeadBadStr(memo, QStringLiteral("#"));
    typeHead("cmemo", QStringLiteral("x'#y"));
    EXPECT_EQ(card.headerText(QStringLiteral("cmemo")), QStringLiteral("x'y"))
        << "the item's own set replaces the body's";
    typeHead("cnewinvstd", QStringLiteral("#'"));
    EXPECT_EQ(card.headerText(QStringLiteral("cnewinvstd")), QStringLiteral("#"));

    typeCell(1, "cpscode", QStringLiteral("Q'1"));
    EXPECT_EQ(card.bodyText(1, QStringLiteral("cpscode")), QStringLiteral("Q1"));
}

TEST_P(CardWidget, items_and_cells_take_no_more_characters_than_their_columns_hold)
{
    beginEdit();
    const QString tooLong = QStringLiteral("k") + QStringLiteral("客户").repeated(11); // 23 characters
    typeHead("ccuscode", tooLong);                                                     // VARCHAR(20)
    EXPECT_EQ(card.headerText(QStringLiteral("ccuscode")), tooLong.left(20));
    EXPECT_EQ(head("cmemo")->maxLength(), 255);
    // Not a column of the head table (the customer's short name comes from the customer): as typed.
    typeHead("ccusabbname", tooLong);
    EXPECT_EQ(card.headerText(QStringLiteral("ccusabbname")), tooLong);

    typeCell(1, "cwhcode", tooLong); // VARCHAR(20)
    EXPECT_EQ(card.bodyText(1, QStringLiteral("cwhcode")), tooLong.left(20));
    typeCell(1, "cpscode", tooLong); // VARCHAR(60)
    EXPECT_EQ(card.bodyText(1, QStringLiteral("cpscode")), tooLong);
    typeCell(1, "cwhname", tooLong); // the warehouse's name, not a line column
    EXPECT_EQ(card.bodyText(1, QStringLiteral("cwhname")), tooLong);
}

TEST_P(CardWidget, a_check_may_change_or_refuse_an_entry)
{
    beginEdit();
    QObject::connect(&card, &VoucherCardWidget::headCellCheck, &card, [](const QString &field, QString &value, int &) {
        if (field == QStringLiteral("cmemo"))
            value = value.toUpper();
    });
    QObject::connect(&card, &VoucherCardWidget::bodyCellCheck, &card,
                     [](const QString &field, QString &value, int row, int &result) {
                         if (field == QStringLiteral("cpscode") && row == 2 && value == QStringLiteral("BAD"))
                             result = 0;
                     });
    typeHead("cmemo", QStringLiteral("abc"));
    EXPECT_EQ(head("cmemo")->text(), QStringLiteral("ABC"));

    // An entry left unfinished (a command pressed inside it) is finished before the command runs.
    head("cmemo")->setFocus();
    QTest::keyClicks(head("cmemo"), QStringLiteral("d"));
    EXPECT_EQ(card.headerText(QStringLiteral("cmemo")), QStringLiteral("ABCd"));
    card.commitPendingEntry();
    EXPECT_EQ(head("cmemo")->text(), QStringLiteral("ABCD"));

    card.bodyGrid()->setCurrentCell(0, card.columnOf(QStringLiteral("cwhcode")));
    QTest::keyClicks(card.bodyGrid(), QStringLiteral("9"));
    card.commitPendingEntry();
    EXPECT_EQ(card.bodyText(1, QStringLiteral("cwhcode")), QStringLiteral("9"));

    typeCell(2, "cpscode", QStringLiteral("BAD"));
    EXPECT_EQ(card.bodyText(2, QStringLiteral("cpscode")), QStringLiteral("P1-2"));
    EXPECT_EQ(card.bodyGrid()->cellText(1, card.columnOf(QStringLiteral("cpscode"))), QStringLiteral("P1-2"));
    VoucherDocument b;
    EXPECT_EQ(bodyRows(b).at(1).value(QStringLiteral("editprop")), QString()) << "a refused entry changes nothing";
}

TEST_P(CardWidget, editable_flags_marks_and_references)
{
    beginEdit();
    card.setEditable(CardControl::Head, QStringLiteral("cmemo"), false);
    EXPECT_FALSE(head("cmemo")->isReadOnly()) << "the display follows only when applied";
    card.applyEditable(QStringLiteral("cmemo"));
    EXPECT_TRUE(head("cmemo")->isReadOnly());

    const int version = card.columnOf(QStringLiteral("csocode"));
    EXPECT_TRUE(card.bodyGrid()->isCellEditable(0, version));
    card.markCell(QStringLiteral("csocode"), 1);
    EXPECT_TRUE(card.isCellMarked(QStringLiteral("csocode"), 1));
    EXPECT_FALSE(card.bodyGrid()->isCellEditable(0, version));
    EXPECT_TRUE(card.bodyGrid()->isCellEditable(1, version));
    card.restoreCells();
    EXPECT_TRUE(card.bodyGrid()->isCellEditable(0, version));

    QSignalSpy headRefs(&card, &VoucherCardWidget::headReferenceRequested);
    QSignalSpy bodyRefs(&card, &VoucherCardWidget::bodyReferenceRequested);
    QTest::keyClick(head("ccuscode"), Qt::Key_F2);
    QTest::keyClick(head("cnewinvstd"), Qt::Key_F2); // no reference behind it
    ASSERT_EQ(headRefs.size(), 1);
    EXPECT_EQ(headRefs[0][0].toString(), QStringLiteral("ccuscode"));

    card.bodyGrid()->setFocus();
    card.bodyGrid()->setCurrentCell(1, card.columnOf(QStringLiteral("cwhcode")));
    QTest::keyClick(card.bodyGrid(), Qt::Key_F2);
    ASSERT_EQ(bodyRefs.size(), 1);
    EXPECT_EQ(bodyRefs[0][0].toString(), QStringLiteral("cwhcode"));
    EXPECT_EQ(bodyRefs[0][1].toInt(), 2);

    card.setEditState(CardControl::Viewing);
    QTest::keyClick(head("ccuscode"), Qt::Key_F2);
    EXPECT_EQ(headRefs.size(), 1) << "no reference while viewing";
}

TEST_P(CardWidget, a_new_voucher_asks_for_its_number_once_the_flow_has_shown_it)
{
    QSignalSpy numbering(&card, &VoucherCardWidget::numberingRequested);
    card.setNumberingRule(QStringLiteral("<rule/>"));
    beginEdit(CardControl::AddingVoucher);
    card.setNumberingRule(QStringLiteral("<rule/>"));
    EXPECT_EQ(numbering.size(), 0) << "not while the flow is still running";
    QCoreApplication::processEvents();
    EXPECT_EQ(numbering.size(), 1);
}

INSTANTIATE_TEST_SUITE_P(Db, CardWidget, ORVANE_BOTH_BACKENDS);

} // namespace
