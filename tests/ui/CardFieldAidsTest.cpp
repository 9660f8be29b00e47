#include "ui/CardFieldAids.h"

#include <QCompleter>
#include <QLineEdit>
#include <QStringListModel>
#include <QTest>
#include <QWidget>

#include <gtest/gtest.h>

// The head editors' aids on real line editors: the parent-item fields take Enter and Backspace only,
// the expand flag offers its two choices, other fields are left alone.
TEST(CardFieldAids, parent_item_fields_take_no_typing_and_the_expand_flag_offers_its_choices)
{
    QWidget card;
    auto *parent = new QLineEdit(&card);
    parent->setObjectName(QStringLiteral("cpspinvcode"));
    parent->setText(QStringLiteral("BOM1"));
    auto *expand = new QLineEdit(&card);
    expand->setObjectName(QStringLiteral("bexpand"));
    auto *memo = new QLineEdit(&card);
    memo->setObjectName(QStringLiteral("cmemo"));
    CardFieldAids::apply(&card);
    CardFieldAids::apply(&card); // again, after a new template: still one filter

    QTest::keyClicks(parent, QStringLiteral("x9"));
    EXPECT_EQ(parent->text(), QStringLiteral("BOM1"));
    parent->end(false);
    QTest::keyClick(parent, Qt::Key_Backspace);
    EXPECT_EQ(parent->text(), QStringLiteral("BOM"));
    QTest::keyClicks(memo, QStringLiteral("x9"));
    EXPECT_EQ(memo->text(), QStringLiteral("x9"));

    ASSERT_TRUE(expand->completer());
    auto *choices = qobject_cast<QStringListModel *>(expand->completer()->model());
    ASSERT_TRUE(choices);
    EXPECT_EQ(choices->stringList(), (QStringList{QStringLiteral("是"), QStringLiteral("否")}));
    EXPECT_FALSE(memo->completer());
    EXPECT_EQ(card.findChildren<QObject *>(QStringLiteral("parentItemKeyFilter")).size(), 1);
}
