#include "entry/clsVL_JDYPGLParam.h"
#include "entry/clsVoucherShowParameter.h"

#include <gtest/gtest.h>

namespace {

// An engine given untouched parameters must open the last voucher: ID -1, compared by value
// whatever integer type holds it.
TEST(ShowParameter, starts_at_the_last_voucher)
{
    const clsVoucherShowParameter card;
    EXPECT_TRUE(card.ID == -1);
    EXPECT_EQ(card.ID.toInt(), -1);
    EXPECT_EQ(card.ID.metaType(), QMetaType::fromType<qint16>());
    EXPECT_EQ(card.CurID.toInt(), 0);
    EXPECT_FALSE(card.HelpContextID.isValid());

    const clsVL_JDYPGLParam list;
    EXPECT_TRUE(list.ID == -1);
    EXPECT_FALSE(list.SourceID.isValid());

    // Reinitialising a used bag opens the last voucher again.
    clsVoucherShowParameter used;
    used.ID = 42;
    used.Where = QStringLiteral("cmaker = 'x'");
    used.InitialNewParameter();
    EXPECT_TRUE(used.ID == -1);
    EXPECT_TRUE(used.Where.isEmpty());
}

} // namespace
