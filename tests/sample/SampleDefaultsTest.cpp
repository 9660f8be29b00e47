#include "SampleDocuments.h"

#include "sample/SampleDefaults.h"

#include <gtest/gtest.h>

namespace {

QStringList column(const VoucherDocument &doc, const QString &name)
{
    QStringList values;
    for (const VoucherRow &row : doc.rows())
        values.append(row.attribute(name).value_or(QStringLiteral("<null>")));
    return values;
}

} // namespace

TEST(SampleDefaults, marks_cleared_stored_rows_for_deletion_and_drops_cleared_new_rows)
{
    VoucherDocument body = documentOf({
        {{"cpscode", ""}, {"editprop", "M"}},
        {{"cpscode", ""}, {"editprop", "A"}},
        {{"cpscode", ""}, {"editprop", "M"}},
        {{"cpscode", "C1"}, {"editprop", "A"}},
        {{"cpscode", ""}, {"editprop", "A"}},
        {{"cpscode", ""}, {"editprop", "M"}},
        {{"cpscode", ""}, {"editprop", ""}}, // stored, untouched: left as it is
        {{"editprop", "A"}},                 // no component column at all: left as it is
    });
    SampleDefaults::deleteEmptyRows(body);
    EXPECT_EQ(column(body, QStringLiteral("editprop")), QStringList({"D", "D", "A", "D", "", "A"}));
    EXPECT_EQ(column(body, QStringLiteral("cpscode")), QStringList({"", "", "C1", "", "", "<null>"}));
}

TEST(SampleDefaults, fills_template_expand_flag_and_divisor_and_clears_a_top_level_version)
{
    struct Case
    {
        const char *expand; // nullptr: absent
        const char *stored;
    };
    for (const Case c :
         {Case{"是", "1"}, Case{"1", "1"}, Case{"否", "0"}, Case{"0", "0"}, Case{"abc", "0"}, Case{nullptr, "0"}}) {
        VoucherDocument head = documentOf({{{"vt_id", ""}, {"ccode", "YP1"}, {"csocode", "V1"}}});
        if (c.expand)
            head.headRow().setValue(QStringLiteral("bexpand"), QString::fromUtf8(c.expand));
        VoucherDocument body;
        SampleDefaults::setDefaults(head, body, QStringLiteral("VT_ID"), 180101);
        EXPECT_EQ(head.headRow().value(QStringLiteral("bexpand")), QLatin1String(c.stored))
            << (c.expand ? c.expand : "absent");
        EXPECT_EQ(head.headRow().value(QStringLiteral("vt_id")), QStringLiteral("180101"));
        EXPECT_EQ(head.headRow().attribute(QStringLiteral("csocode")), QString());
    }

    VoucherDocument child = documentOf({{{"ccode", " "}, {"csocode", "V1"}}});
    VoucherDocument body = documentOf({{{"tdqtyd", " 0 "}, {"editprop", "A"}},
                                       {{"tdqtyd", "0.0"}, {"editprop", "M"}},
                                       {{"tdqtyd", ""}, {"editprop", ""}},
                                       {{"tdqtyd", "0"}, {"editprop", "D"}},
                                       {{"editprop", "A"}}});
    SampleDefaults::setDefaults(child, body, QStringLiteral("vt_id"), 180101);
    EXPECT_EQ(child.headRow().value(QStringLiteral("csocode")), QStringLiteral("V1")) << "a child keeps its version";
    EXPECT_FALSE(child.headRow().has(QStringLiteral("vt_id"))) << "an absent template stays absent";
    EXPECT_EQ(column(body, QStringLiteral("tdqtyd")), QStringList({"1", "0.0", "1", "0", "<null>"}));
}
