// The Qt card window as a first user meets it: reference lists opened on a typed prefix, message
// boxes and their safe answers, numbers, the keys of the grid and of the parent-item fields, and
// what the window says after a command. Real modal windows are closed by a timer.
#include "CardTyping.h"
#include "QtCardFixture.h"

#include "support/MasterDataRows.h"

#include "card/frmManageSample.h"
#include "common/NumberText.h"
#include "entry/WindowManager.h"
#include "host/clsLogin.h"
#include "platform/SchemaSeed.h"
#include "ui/InterfaceLanguage.h"
#include "ui/QtMessageService.h"
#include "ui/QtWindows.h"
#include "ui/SampleCardWindow.h"

#include <QAction>
#include <QComboBox>
#include <QDialog>
#include <QLabel>
#include <QMessageBox>
#include <QPushButton>
#include <QStatusBar>
#include <QTimer>
#include <QToolTip>

#include <functional>

namespace {

// Runs `inspect` on the first modal window that opens, then closes it with `key`.
void onNextModal(std::function<void(QWidget *)> inspect, Qt::Key key = Qt::Key_Escape)
{
    whenModalOpens([inspect, key](QWidget *modal) {
        inspect(modal);
        QTest::keyClick(modal, key);
    });
}

// The Qt card window over the reference master data, on voucher YP001 (shown by a move).
class CardDailyUseWidget : public QtCardWindowTest
{
protected:
    VoucherCardWidget &control() { return *window->card(); }
    void trigger(const char *key) { window->command(QString::fromLatin1(key))->trigger(); }
    void edit()
    {
        trigger("tlbEdit");
        ASSERT_EQ(control().EditState(), CardControl::EditingVoucher) << messages.texts().join(u'|').toStdString();
        QCoreApplication::processEvents();
    }
};

TEST_P(CardDailyUseWidget, f2_on_a_typed_prefix_opens_the_list_and_checks_nothing_meanwhile)
{
    edit();
    {
        SCOPED_TRACE("a head item");
        QLineEdit *item = control().headEditor(QStringLiteral("cdepcode"));
        ASSERT_TRUE(item);
        const QString before = item->text();
        item->setFocus();
        item->selectAll();
        typeText(item, QStringLiteral("zz"));
        bool listed = false;
        onNextModal([&](QWidget *list) {
            listed = qobject_cast<QDialog *>(list) && !qobject_cast<QMessageBox *>(list);
            EXPECT_TRUE(messages.shown.isEmpty()) << "checked while the list is open: "
                                                  << messages.texts().join(u'|').toStdString();
        });
        QTest::keyClick(item, Qt::Key_F2);
        EXPECT_TRUE(listed) << "a real list opened";
        EXPECT_TRUE(messages.shown.isEmpty()) << messages.texts().join(u'|').toStdString();
        EXPECT_EQ(item->text(), before) << "the prefix the list did not take goes back";
    }
    {
        SCOPED_TRACE("a body cell with its editor open");
        CardGrid *grid = control().bodyGrid();
        const int column = control().columnOf(QStringLiteral("cwhcode"));
        ASSERT_GE(column, 0);
        ASSERT_TRUE(grid->isCellEditable(0, column));
        window->activateWindow();
        ASSERT_TRUE(QTest::qWaitForWindowActive(window));
        grid->setFocus();
        grid->setCurrentCell(0, column);
        const QString before = control().bodyText(1, QStringLiteral("cwhcode"));
        QTest::keyClicks(grid, QStringLiteral("z"));
        QWidget *editor = QApplication::focusWidget();
        ASSERT_TRUE(qobject_cast<QLineEdit *>(editor));
        bool listed = false;
        onNextModal([&](QWidget *list) {
            listed = !qobject_cast<QMessageBox *>(list);
            EXPECT_TRUE(messages.shown.isEmpty()) << messages.texts().join(u'|').toStdString();
        });
        QTest::keyClick(editor, Qt::Key_F2);
        EXPECT_TRUE(listed);
        EXPECT_TRUE(messages.shown.isEmpty()) << messages.texts().join(u'|').toStdString();
        EXPECT_EQ(control().bodyText(1, QStringLiteral("cwhcode")), before);
    }
}

TEST_P(CardDailyUseWidget, questions_speak_chinese_and_enter_takes_the_safe_answer)
{
    ASSERT_TRUE(InterfaceLanguage::install(*qApp)) << "Qt's translations (qt6-translations-l10n)";
    QtMessageService boxes;
    MessageService::install(&boxes);
    const auto restore = qScopeGuard([this] { MessageService::install(&messages); });
    const qint64 vouchers = db.count(QStringLiteral("ManageSample"));
    QStringList buttons;
    QMessageBox::Icon icon = QMessageBox::NoIcon;
    onNextModal(
        [&](QWidget *modal) {
            auto *box = qobject_cast<QMessageBox *>(modal);
            ASSERT_TRUE(box);
            icon = box->icon();
            for (QAbstractButton *b : box->buttons())
                buttons << b->text().remove(u'&');
            ASSERT_TRUE(box->defaultButton());
            EXPECT_EQ(box->standardButton(box->defaultButton()), QMessageBox::Cancel);
        },
        Qt::Key_Return);
    trigger("tlbDel");
    buttons.sort();
    EXPECT_EQ(buttons.join(u' '), QStringLiteral("取消 确定"));
    EXPECT_EQ(icon, QMessageBox::Warning);
    EXPECT_EQ(db.count(QStringLiteral("ManageSample")), vouchers) << "a stray Enter deletes nothing";

    // Giving up an edit: 是/否, and Enter says no.
    edit();
    onNextModal(
        [&](QWidget *modal) {
            auto *box = qobject_cast<QMessageBox *>(modal);
            ASSERT_TRUE(box);
            EXPECT_EQ(box->button(QMessageBox::Yes)->text().remove(u'&').left(1), QStringLiteral("是"));
            EXPECT_EQ(box->defaultButton(), box->button(QMessageBox::No));
        },
        Qt::Key_Return);
    QTest::keyClick(window, Qt::Key_Escape);
    EXPECT_EQ(control().EditState(), CardControl::EditingVoucher);
}

TEST_P(CardDailyUseWidget, esc_while_viewing_keeps_the_card_open)
{
    QTest::keyClick(window, Qt::Key_Escape);
    QCoreApplication::processEvents();
    EXPECT_TRUE(window->isVisible());
    EXPECT_TRUE(messages.shown.isEmpty());
}

TEST_P(CardDailyUseWidget, numbers_take_digits_only_and_show_with_their_decimals)
{
    edit();
    const int quantity = control().columnOf(QStringLiteral("ipsquantity"));
    ASSERT_GE(quantity, 0);
    const QString before = control().bodyText(1, QStringLiteral("ipsquantity"));
    typeCell(control(), 1, QStringLiteral("ipsquantity"), QStringLiteral("1abc"));
    EXPECT_EQ(control().bodyText(1, QStringLiteral("ipsquantity")), QStringLiteral("1")) << "letters are refused";
    EXPECT_TRUE(messages.shown.isEmpty()) << messages.texts().join(u'|').toStdString();
    const QString caption = control().bodyGrid()->model()->headerData(quantity, Qt::Horizontal).toString();
    const QString hint = QToolTip::text();
    EXPECT_TRUE(hint.startsWith(u'[') && hint.contains(QStringLiteral("]不是数字"))) << hint.toStdString();
    EXPECT_TRUE(caption.contains(hint.mid(1, hint.indexOf(u']') - 1))) << "the hint names the column";
    typeCell(control(), 1, QStringLiteral("ipsquantity"), QStringLiteral("100000000000000000000"));
    EXPECT_LT(control().bodyText(1, QStringLiteral("ipsquantity")).size(), 16) << "a huge value is refused";
    EXPECT_FALSE(control().bodyText(1, QStringLiteral("ipsquantity")).contains(u'e'));

    control().setBodyText(1, QStringLiteral("ipsquantity"), QStringLiteral("2.5"));
    EXPECT_EQ(control().bodyGrid()->cellText(0, quantity), QStringLiteral("2.50")) << "quantity decimals (2)";
    EXPECT_EQ(NumberText::shown(QStringLiteral("1e+20")), QStringLiteral("100000000000000000000"));
    Q_UNUSED(before)

    // A head number item names itself too; an emptied 成品率 is refused by the item's own check
    // (it reads as 0) although a saved voucher may hold it empty.
    typeHead(control(), QStringLiteral("ifinishexch"), QStringLiteral("x"));
    EXPECT_TRUE(QToolTip::text().contains(QStringLiteral("[成品率]不是数字"))) << QToolTip::text().toStdString();
}

TEST_P(CardDailyUseWidget, expand_flag_reads_as_words_and_parent_item_takes_no_typing)
{
    control().setHeaderText(QStringLiteral("bexpand"), QStringLiteral("1"));
    if (QLineEdit *expand = control().headEditor(QStringLiteral("bexpand"))) {
        EXPECT_EQ(expand->text(), QStringLiteral("是"));
        EXPECT_EQ(control().headerText(QStringLiteral("bexpand")), QStringLiteral("1")) << "the value stays";
    }
    edit();
    QLineEdit *parent = control().headEditor(QStringLiteral("cpspinvcode"));
    if (!parent || parent->isReadOnly())
        GTEST_SKIP() << "the template does not let the parent item be changed";
    const QString before = parent->text();
    parent->setFocus();
    parent->end(false);
    typeText(parent, QStringLiteral("AB"));
    EXPECT_EQ(parent->text(), before) << "filled by its list only";
}

TEST_P(CardDailyUseWidget, enter_in_the_last_cell_adds_a_line_and_a_refused_save_points_at_its_item)
{
    edit();
    CardGrid *grid = control().bodyGrid();
    const int rows = control().BodyRows();
    int last = grid->columnCount() - 1;
    while (last >= 0 && !grid->isCellEditable(rows - 1, last))
        --last;
    ASSERT_GE(last, 0);
    grid->setFocus();
    grid->setCurrentCell(rows - 1, last);
    QTest::keyClick(grid, Qt::Key_Return);
    EXPECT_EQ(control().BodyRows(), rows + 1) << "a new line to go on with";
    EXPECT_TRUE(grid->isCellEditable(grid->currentRow(), grid->currentColumn()));

    // A required head item left empty: the save names it and the focus goes there.
    control().setHeaderText(QStringLiteral("cnewinvname"), QString());
    trigger("tlbSave");
    ASSERT_FALSE(messages.shown.isEmpty());
    EXPECT_EQ(QApplication::focusWidget(), control().headEditor(QStringLiteral("cnewinvname")))
        << messages.texts().join(u'|').toStdString();
}

TEST_P(CardDailyUseWidget, the_status_bar_names_the_user_and_says_what_was_done)
{
    EXPECT_TRUE(window->sessionText().contains(login->UserName()));
    EXPECT_FALSE(window->sessionText().contains(QStringLiteral("password")));
    MasterDataRows::forStoredVouchers(db.cnn());
    edit();
    trigger("tlbSave");
    ASSERT_TRUE(messages.shown.isEmpty()) << messages.texts().join(u'|').toStdString();
    EXPECT_EQ(window->statusBarText(), QStringLiteral("保存成功：YP001"));
}

// Writes the picture of the card the README shows when ORVANE_CARD_SCREENSHOT names a file
// (docs/card.png): the card in edit on the demo voucher, with its status bar.
TEST_P(CardDailyUseWidget, sqlite_screenshot_for_the_readme)
{
    const QString path = qEnvironmentVariable("ORVANE_CARD_SCREENSHOT");
    if (path.isEmpty() || GetParam() != Backend::Sqlite)
        GTEST_SKIP() << "ORVANE_CARD_SCREENSHOT names no file";
    ASSERT_TRUE(InterfaceLanguage::install(*qApp));
    window->resize(1280, 720);
    MasterDataRows::forStoredVouchers(db.cnn());
    edit();
    trigger("tlbSave");
    QCoreApplication::processEvents();
    EXPECT_TRUE(window->grab().save(path));
}

INSTANTIATE_TEST_SUITE_P(Db, CardDailyUseWidget, ORVANE_BOTH_BACKENDS);

// A second display template (备注 under another caption, no 版本号): choosing it while editing
// re-lays the real card from it, and what was typed stays.
class CardTemplateSwitchWidget : public CardDailyUseWidget
{
protected:
    static constexpr int kSecondTemplate = 180199;
    void prepareDatabase() override
    {
        db.exec(QStringLiteral("INSERT INTO vouchertemplates (VT_ID, VT_Name, VT_CardNumber, VT_TemplateMode, VT_Title) "
                               "VALUES (%1, '简化显示模版', '1801', 0, '样品接单管理')")
                    .arg(kSecondTemplate));
        db.exec(QStringLiteral("INSERT INTO voucheritems (VT_ID, CardSection, FieldName, CardItemNum, CardFormula1, "
                               "CardFormula2, DataType, NumPoint, bIsNull, bCanModify, bShow, BuildArchives, RefKind, "
                               "ColumnWidth) SELECT %1, CardSection, FieldName, CardItemNum, CardFormula1, CardFormula2, "
                               "DataType, NumPoint, bIsNull, bCanModify, bShow, BuildArchives, RefKind, ColumnWidth "
                               "FROM voucheritems WHERE VT_ID = %2 AND NOT (CardSection = 't' AND FieldName = 'csocode')")
                    .arg(kSecondTemplate)
                    .arg(SchemaSeed::kDisplayTemplateId));
        db.exec(QStringLiteral("UPDATE voucheritems SET CardFormula1 = '备注说明' WHERE VT_ID = %1 AND FieldName = 'cmemo'")
                    .arg(kSecondTemplate));
    }
};

TEST_P(CardTemplateSwitchWidget, choosing_another_display_template_re_lays_the_card_and_keeps_the_typing)
{
    edit();
    typeHead(control(), QStringLiteral("cmemo"), QStringLiteral("已输入的备注"));
    ASSERT_TRUE(control().headEditor(QStringLiteral("csocode")));
    QComboBox *chooser = nullptr;
    int index = -1;
    for (QComboBox *combo : window->findChildren<QComboBox *>()) {
        for (int i = 0; i < combo->count(); ++i) {
            if (combo->itemText(i).startsWith(QString::number(kSecondTemplate) + u' '))
                chooser = combo, index = i;
        }
    }
    ASSERT_TRUE(chooser) << "the card lists the second display template";
    chooser->setCurrentIndex(index);
    emit chooser->activated(index);
    QCoreApplication::processEvents();

    EXPECT_EQ(control().EditState(), CardControl::EditingVoucher);
    ASSERT_TRUE(control().headLabel(QStringLiteral("cmemo")));
    EXPECT_TRUE(control().headLabel(QStringLiteral("cmemo"))->text().contains(QStringLiteral("备注说明")));
    EXPECT_EQ(control().headerText(QStringLiteral("cmemo")), QStringLiteral("已输入的备注"));
    EXPECT_FALSE(control().headEditor(QStringLiteral("csocode"))) << "an item the template lacks is gone";
    EXPECT_TRUE(messages.shown.isEmpty()) << messages.texts().join(u'|').toStdString();
}

INSTANTIATE_TEST_SUITE_P(Db, CardTemplateSwitchWidget, ORVANE_BOTH_BACKENDS);


} // namespace
