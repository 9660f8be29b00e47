#include "platform/Recordset.h"
#include "platform/VoucherDocument.h"

#include <QDate>
#include <QDateTime>
#include <QFile>
#include <QRandomGenerator>

#include <gtest/gtest.h>

#include <cmath>

namespace {

QByteArray fixture(const char *name)
{
    QFile file(QStringLiteral(ORVANE_TEST_DATA "/ado/") + QLatin1String(name));
    EXPECT_TRUE(file.open(QIODevice::ReadOnly)) << name;
    return file.readAll();
}

VoucherDocument loaded(const QString &text)
{
    VoucherDocument doc;
    const Result<void> r = doc.loadXML(text);
    EXPECT_TRUE(r.has_value()) << r.error().toStdString();
    return doc;
}

QStringList values(const QList<VoucherRow> &rows, const QString &field)
{
    QStringList out;
    for (const VoucherRow &row : rows)
        out << row.value(field);
    return out;
}

// A body as the card hands it over: one row per state the save and the checks distinguish.
const char *const kBody
    = R"(<xml xmlns:s='uuid:BDC6E3F0-6DA3-11d1-A2A3-00AA00C14882' xmlns:dt='uuid:C2F41010-65B3-11d1-A29F-00AA00C14882' xmlns:rs='urn:schemas-microsoft-com:rowset' xmlns:z='#RowsetSchema'>
	<s:Schema id='RowsetSchema'>
		<s:ElementType name='row' content='eltOnly'>
			<s:AttributeType name='isubid' rs:number='1'><s:datatype dt:type='int'/></s:AttributeType>
			<s:AttributeType name='cpscode' rs:number='2' rs:nullable='true'/>
			<s:extends type='rs:rowbase'/>
		</s:ElementType>
	</s:Schema>
	<rs:data>
		<z:row isubid='1' cpscode='P1' editprop=''/>
		<z:row isubid='2' cpscode='P2' editprop='D'/>
		<z:row isubid='3' cpscode='' editprop='M'/>
		<z:row isubid='4' cpscode='' editprop='A'/>
		<z:row isubid='5' cpscode='P5' editprop='A'/>
		<z:row isubid='6' editprop='M'/>
		<z:row isubid='7' cpscode='P7'/>
	</rs:data>
</xml>)";

} // namespace

// --- Interop with recordsets persisted elsewhere --------------------------------------------------

TEST(VoucherDocumentInterop, reads_every_row_of_a_persisted_recordset)
{
    VoucherDocument doc;
    ASSERT_TRUE(doc.loadXML(fixture("shippers.xml")).has_value());
    ASSERT_EQ(doc.rowCount(), 3);
    // The export keeps the columns' own case; lookups ignore it.
    EXPECT_EQ(values(doc.rows(), QStringLiteral("companyname")),
              QStringList({"Speedy Express", "United Package", "Federal Shipping"}));
    EXPECT_EQ(doc.row(2).value(QStringLiteral(" ShipperID ")), QStringLiteral("3"));
    EXPECT_EQ(doc.row(0).attributes().first(), (VoucherAttribute{"ShipperID", "1"}));
    EXPECT_TRUE(doc.row(3).isNull());
    EXPECT_TRUE(doc.pendingChanges().isEmpty());

    const QList<VoucherColumn> columns = doc.columns();
    ASSERT_EQ(columns.size(), 3);
    EXPECT_EQ(columns[0].name, QStringLiteral("ShipperID"));
    EXPECT_EQ(columns[0].type, QStringLiteral("int"));
    EXPECT_EQ(columns[0].maxLength, 4);
    EXPECT_TRUE(columns[0].keyColumn);
    EXPECT_FALSE(columns[0].nullable);
    EXPECT_EQ(columns[1].number, 2);
    EXPECT_TRUE(columns[1].nullable);
    EXPECT_EQ(columns[2].type, QStringLiteral("string"));
}

TEST(VoucherDocumentInterop, reports_and_keeps_pending_change_sections)
{
    VoucherDocument doc;
    ASSERT_TRUE(doc.loadXML(fixture("shippers-pending.xml")).has_value());

    // Only the row of the data section proper is a row of the document.
    ASSERT_EQ(doc.rowCount(), 1);
    EXPECT_EQ(doc.row(0).value(QStringLiteral("shipperid")), QStringLiteral("2"));
    const VoucherPendingChanges pending = doc.pendingChanges();
    EXPECT_EQ(pending.updated, 1);
    EXPECT_EQ(pending.inserted, 3);
    EXPECT_EQ(pending.deleted, 1);

    // "//z:row" sees every z:row, the change sections' included; the updated row carries only the
    // changed column, the others are NULL.
    EXPECT_EQ(doc.selectNodes(QStringLiteral("//z:row")).size(), 7);
    const VoucherRow update = doc.nthRow(2);
    EXPECT_EQ(update.value(QStringLiteral("phone")), QStringLiteral("(503) 552-7134"));
    EXPECT_FALSE(update.attribute(QStringLiteral("shipperid")).has_value());

    // A new row goes before the sections, which survive writing and reading back.
    doc.appendRow().setValue(QStringLiteral("ShipperID"), QStringLiteral("20"));
    VoucherDocument again = loaded(doc.xml());
    EXPECT_EQ(values(again.rows(), QStringLiteral("shipperid")), QStringList({"2", "20"}));
    EXPECT_EQ(again.pendingChanges().total(), 5);
    EXPECT_EQ(again.nthRow(1).value(QStringLiteral("shipperid")), QStringLiteral("20"));
}

// appendRow() remembers where it put the last row; these cases change the tree in between and
// would write into a freed or foreign element if the remembered place were kept.
TEST(VoucherDocumentInterop, keeps_appending_rows_before_the_change_sections)
{
    VoucherDocument doc;
    ASSERT_TRUE(doc.loadXML(fixture("shippers-pending.xml")).has_value());
    for (int id = 20; id < 23; ++id)
        doc.appendRow().setValue(QStringLiteral("ShipperID"), QString::number(id));
    EXPECT_EQ(values(doc.rows(), QStringLiteral("shipperid")), QStringList({"2", "20", "21", "22"}));

    // Without its first change section the next row goes before the second one.
    ASSERT_TRUE(doc.removeRow(doc.selectSingleNode(QStringLiteral("//rs:data/*[not(self::z:row)]"))));
    doc.appendRow().setValue(QStringLiteral("ShipperID"), QStringLiteral("23"));
    const VoucherDocument again = loaded(doc.xml());
    EXPECT_EQ(values(again.rows(), QStringLiteral("shipperid")), QStringList({"2", "20", "21", "22", "23"}));
    EXPECT_EQ(again.nthRow(4).value(QStringLiteral("shipperid")), QStringLiteral("23"));
}

TEST(VoucherDocumentEdit, appends_into_its_own_tree_after_a_copy_a_move_or_a_reload)
{
    VoucherDocument doc;
    doc.appendRow().setValue(QStringLiteral("n"), QStringLiteral("1"));

    VoucherDocument copy = doc;
    copy.appendRow().setValue(QStringLiteral("n"), QStringLiteral("copy"));
    EXPECT_EQ(values(doc.rows(), QStringLiteral("n")), QStringList({"1"}));

    VoucherDocument moved = std::move(doc);
    moved.appendRow().setValue(QStringLiteral("n"), QStringLiteral("2"));
    doc.appendRow().setValue(QStringLiteral("n"), QStringLiteral("fresh")); // NOLINT: reused after move
    EXPECT_EQ(values(moved.rows(), QStringLiteral("n")), QStringList({"1", "2"}));
    EXPECT_EQ(values(doc.rows(), QStringLiteral("n")), QStringList({"fresh"}));

    ASSERT_TRUE(moved.loadXML(QString::fromUtf8(kBody)).has_value());
    moved.appendRow().setValue(QStringLiteral("isubid"), QStringLiteral("8"));
    EXPECT_EQ(moved.rowCount(), 8);
    moved.clear();
    moved.appendRow();
    EXPECT_EQ(moved.rowCount(), 1);
    EXPECT_EQ(values(copy.rows(), QStringLiteral("n")), QStringList({"1", "copy"}));
}

TEST(VoucherDocumentInterop, accepts_the_layout_and_value_spellings_of_real_exports)
{
    VoucherDocument doc
        = loaded(QStringLiteral("<xml xmlns:rs=\"urn:schemas-microsoft-com:rowset\" xmlns:z=\"#RowsetSchema\">\n"
                                "\t<rs:data>\n"
                                "\t\t<z:row a='True' b=\"false\" c='1' d='0' e='-1' f='yes' g=' 0a 0B\n ff '/>\n"
                                "\t</rs:data>\n</xml>"));
    const VoucherRow row = doc.headRow();
    EXPECT_TRUE(row.boolValue(QStringLiteral("a")));
    EXPECT_FALSE(row.boolValue(QStringLiteral("b"), true));
    EXPECT_TRUE(row.boolValue(QStringLiteral("c")));
    EXPECT_FALSE(row.boolValue(QStringLiteral("d"), true));
    EXPECT_TRUE(row.boolValue(QStringLiteral("e")));
    EXPECT_TRUE(row.boolValue(QStringLiteral("f"), true)); // not a boolean spelling: the default
    EXPECT_FALSE(row.boolValue(QStringLiteral("missing")));
    EXPECT_EQ(row.bytesValue(QStringLiteral("g")), QByteArray("\x0a\x0b\xff", 3));

    VoucherDocument empty = loaded(QStringLiteral("<xml><rs:data/></xml>"));
    EXPECT_FALSE(empty.isEmpty());
    EXPECT_EQ(empty.rowCount(), 0);
    EXPECT_TRUE(empty.headRow().isNull());
    EXPECT_EQ(empty.headRow().value(QStringLiteral("x")), QString());
}

// --- Loading -------------------------------------------------------------------------------------

TEST(VoucherDocumentLoad, keeps_a_missing_attribute_apart_from_empty_text)
{
    VoucherDocument doc = loaded(QStringLiteral("<xml><rs:data><z:row a='' b='x'/></rs:data></xml>"));
    const VoucherRow row = doc.headRow();
    EXPECT_EQ(row.attribute(QStringLiteral("a")), std::optional<QString>(QString()));
    EXPECT_EQ(row.attribute(QStringLiteral("c")), std::nullopt);
    EXPECT_TRUE(row.has(QStringLiteral("A")));
    EXPECT_FALSE(row.has(QStringLiteral("c")));
    EXPECT_EQ(row.value(QStringLiteral("c")), QString());
}

TEST(VoucherDocumentLoad, refuses_broken_text_and_keeps_what_it_held)
{
    VoucherDocument doc = loaded(QStringLiteral("<xml><rs:data><z:row a='1'/></rs:data></xml>"));
    const QString before = doc.xml();

    const Result<void> truncated = doc.loadXML(QStringLiteral("<xml><rs:data><z:row a='2'/></rs:da"));
    ASSERT_FALSE(truncated.has_value());
    EXPECT_TRUE(truncated.error().contains(QStringLiteral("offset"))) << truncated.error().toStdString();

    const Result<void> mismatched = doc.loadXML(QByteArray("<xml>\n<rs:data></z:row></xml>"));
    ASSERT_FALSE(mismatched.has_value());
    EXPECT_TRUE(mismatched.error().contains(QStringLiteral("mismatch"))) << mismatched.error().toStdString();
    EXPECT_TRUE(mismatched.error().contains(QStringLiteral("line 2"))) << mismatched.error().toStdString();

    EXPECT_FALSE(doc.loadXML(QString()).has_value());
    EXPECT_EQ(doc.xml(), before);
    EXPECT_EQ(doc.headRow().value(QStringLiteral("a")), QStringLiteral("1"));
}

// --- Selection -----------------------------------------------------------------------------------

struct Selection
{
    const char *pattern;
    QStringList isubids;
};

class VoucherDocumentSelect : public testing::TestWithParam<Selection>
{
};

TEST_P(VoucherDocumentSelect, selects_the_rows_the_pattern_names)
{
    const VoucherDocument doc = loaded(QString::fromUtf8(kBody));
    const QString pattern = QString::fromLatin1(GetParam().pattern);
    const QList<VoucherRow> rows = doc.selectNodes(pattern);
    EXPECT_EQ(values(rows, QStringLiteral("isubid")), GetParam().isubids);
    // The single selection is the first of the same set, in document order.
    const VoucherRow first = doc.selectSingleNode(pattern);
    EXPECT_EQ(first, rows.isEmpty() ? VoucherRow() : rows.first());
}

INSTANTIATE_TEST_SUITE_P(Patterns, VoucherDocumentSelect,
                         testing::Values(Selection{"//z:row", {"1", "2", "3", "4", "5", "6", "7"}},
                                         // Row 7 has no editprop: comparing an absent attribute is false.
                                         Selection{"//z:row [@editprop!='D']", {"1", "3", "4", "5", "6"}},
                                         Selection{"//z:row [@editprop='D']", {"2"}},
                                         Selection{"//z:row [@editprop!='D' and @cpscode!='']", {"1", "5"}},
                                         Selection{"//z:row [@cpscode=''][@editprop='M']", {"3"}},
                                         Selection{"//z:row [@cpscode=''][@editprop='A']", {"4"}},
                                         Selection{"//rs:data/z:row", {"1", "2", "3", "4", "5", "6", "7"}},
                                         Selection{"//z:row[", {}},         // broken pattern: nothing, no crash
                                         Selection{"count(//z:row)", {}})); // no node set: nothing

TEST(VoucherDocumentSelectElements, selects_the_data_element_and_counts_rows_from_it)
{
    const VoucherDocument doc = loaded(QString::fromUtf8(kBody));
    const QList<VoucherRow> data = doc.selectNodes(QStringLiteral("//rs:data"));
    ASSERT_EQ(data.size(), 1);
    EXPECT_EQ(data.first().elementName(), QStringLiteral("rs:data"));
    EXPECT_EQ(doc.nthRow(1).value(QStringLiteral("editprop")), QStringLiteral("D"));
    EXPECT_TRUE(doc.nthRow(7).isNull());
    EXPECT_TRUE(doc.nthRow(-1).isNull());
    EXPECT_EQ(doc.row(0).next().next(), doc.row(2));
    EXPECT_TRUE(doc.row(6).next().isNull());
}

// --- Editing -------------------------------------------------------------------------------------

TEST(VoucherDocumentEdit, writes_lower_case_names_and_makes_columns_null)
{
    VoucherDocument doc = loaded(QStringLiteral("<xml><rs:data><z:row CCode='1'/></rs:data></xml>"));
    VoucherRow row = doc.headRow();
    row.setValue(QStringLiteral(" cMaker "), QStringLiteral("张三"));
    row.setValue(QStringLiteral("ccode"), QStringLiteral("2")); // the existing column, not a second one
    row.setValue(QStringLiteral("bad name"), QStringLiteral("x"));
    EXPECT_EQ(row.attributes(), (QList<VoucherAttribute>{{"CCode", "2"}, {"cmaker", QStringLiteral("张三")}}));
    row.removeValue(QStringLiteral("CMAKER"));
    EXPECT_FALSE(row.has(QStringLiteral("cmaker")));
    EXPECT_EQ(row.attributeCount(), 1);
}

TEST(VoucherDocumentEdit, builds_a_persisted_recordset_from_nothing)
{
    VoucherDocument doc;
    EXPECT_TRUE(doc.isEmpty());
    EXPECT_EQ(doc.xml(), QString());
    doc.appendRow().setValue(QStringLiteral("editprop"), QStringLiteral("A"));
    doc.appendRow();

    const VoucherDocument again = loaded(doc.xml());
    EXPECT_EQ(again.rowCount(), 2);
    EXPECT_EQ(again.selectNodes(QStringLiteral("//rs:data/z:row [@editprop='A']")).size(), 1);
    EXPECT_TRUE(doc.xml().startsWith(QStringLiteral("<xml xmlns:s='uuid:")));
}

TEST(VoucherDocumentEdit, moves_a_lone_row_into_a_data_section_keeping_its_handle)
{
    VoucherDocument doc = loaded(QStringLiteral("<z:row ddate='2009-11-19'/>"));
    VoucherRow head = doc.headRow();
    doc.appendRow();
    head.setValue(QStringLiteral("cmaker"), QStringLiteral("demo"));
    EXPECT_EQ(doc.selectNodes(QStringLiteral("//rs:data/z:row")).size(), 2);
    EXPECT_EQ(doc.headRow().value(QStringLiteral("cmaker")), QStringLiteral("demo"));
}

TEST(VoucherDocumentEdit, removes_only_its_own_rows)
{
    VoucherDocument doc = loaded(QString::fromUtf8(kBody));
    VoucherDocument other = doc; // deep copy
    EXPECT_FALSE(doc.removeRow(other.row(0)));
    EXPECT_FALSE(doc.removeRow(VoucherRow()));
    EXPECT_TRUE(doc.removeRow(doc.row(1)));
    EXPECT_EQ(values(doc.rows(), QStringLiteral("isubid")), QStringList({"1", "3", "4", "5", "6", "7"}));
    EXPECT_EQ(other.rowCount(), 7);
}

TEST(VoucherDocumentEdit, copies_deeply_and_moves_cheaply)
{
    VoucherDocument doc = loaded(QString::fromUtf8(kBody));
    VoucherDocument copy = doc;
    copy.row(0).setValue(QStringLiteral("cpscode"), QStringLiteral("changed"));
    EXPECT_EQ(doc.row(0).value(QStringLiteral("cpscode")), QStringLiteral("P1"));

    const VoucherRow kept = doc.row(0);
    VoucherDocument moved = std::move(doc);
    EXPECT_EQ(moved.row(0), kept); // the same elements, not copies
    EXPECT_TRUE(doc.isEmpty());    // NOLINT(bugprone-use-after-move): moved-from is empty by contract
    EXPECT_EQ(doc.rowCount(), 0);  // NOLINT(bugprone-use-after-move)
}

// --- Writing a recordset -------------------------------------------------------------------------

namespace {

Recordset sampleRecordset()
{
    Recordset rs;
    rs.setFields({{"iAutoID", QMetaType::Int},
                  {"cCode", QMetaType::QString},
                  {"fQty", QMetaType::Double},
                  {"bExpand", QMetaType::Bool},
                  {"dDate", QMetaType::QDate},
                  {"dVerifyTime", QMetaType::QDateTime},
                  {"bPic", QMetaType::QByteArray},
                  {"iBig", QMetaType::LongLong},
                  {"editprop", QMetaType::QString}});
    rs.appendRow({1, QStringLiteral("样品 'A' & \"B\"\r\nline <2>"), 0.1 + 0.2, true, QDate(2009, 11, 19),
                  QDateTime(QDate(2009, 11, 19), QTime(14, 30, 5)), QByteArray("\x01\xab", 2),
                  Q_INT64_C(9007199254740993), QString()});
    rs.appendRow(
        {2, QVariant(QMetaType(QMetaType::QString)), 1500.0, false, QVariant(), QVariant(), QVariant(), -3, QString()});
    return rs;
}

} // namespace

TEST(VoucherDocumentFromRecordset, round_trips_values_nulls_and_empty_text)
{
    const VoucherDocument written = VoucherDocument::fromRecordset(sampleRecordset());
    const VoucherDocument doc = loaded(written.xml());
    ASSERT_EQ(doc.rowCount(), 2);

    const VoucherRow first = doc.row(0);
    EXPECT_EQ(first.value(QStringLiteral("ccode")), QStringLiteral("样品 'A' & \"B\"\r\nline <2>"));
    EXPECT_EQ(first.value(QStringLiteral("fqty")), QStringLiteral("0.3"));
    EXPECT_EQ(first.value(QStringLiteral("bexpand")), QStringLiteral("True"));
    EXPECT_EQ(first.value(QStringLiteral("ddate")), QStringLiteral("2009-11-19"));
    EXPECT_EQ(first.value(QStringLiteral("dverifytime")), QStringLiteral("2009-11-19T14:30:05"));
    EXPECT_EQ(first.value(QStringLiteral("bpic")), QStringLiteral("01ab"));
    EXPECT_EQ(first.value(QStringLiteral("ibig")), QStringLiteral("9007199254740993"));
    EXPECT_EQ(first.attribute(QStringLiteral("editprop")), std::optional<QString>(QString()));

    const VoucherRow second = doc.row(1);
    EXPECT_EQ(second.value(QStringLiteral("fqty")), QStringLiteral("1500"));
    EXPECT_EQ(second.value(QStringLiteral("bexpand")), QStringLiteral("False"));
    EXPECT_EQ(second.value(QStringLiteral("ibig")), QStringLiteral("-3"));
    // NULL columns have no attribute at all.
    EXPECT_EQ(second.attributes().size(), 5);
    EXPECT_FALSE(second.has(QStringLiteral("ccode")));
    EXPECT_FALSE(second.has(QStringLiteral("ddate")));
    EXPECT_TRUE(second.attribute(QStringLiteral("editprop")).has_value());
    for (const VoucherAttribute &a : second.attributes())
        EXPECT_EQ(a.name, a.name.toLower());
}

TEST(VoucherDocumentFromRecordset, writes_the_same_text_before_and_after_parsing_it)
{
    // The recordset is written straight to text; the tree is built from that text on first use.
    // Both must give the same text, escapes included, or a document would change by being read.
    const VoucherDocument doc = VoucherDocument::fromRecordset(sampleRecordset());
    const QByteArray written = doc.xmlUtf8();
    EXPECT_EQ(doc.rowCount(), 2); // parses
    EXPECT_EQ(doc.xmlUtf8(), written);
    EXPECT_TRUE(written.contains("ccode='样品 &apos;A&apos; &amp; \"B\"&#13;&#10;line &lt;2>'")) << written.constData();
}

TEST(VoucherDocumentFromRecordset, writes_numbers_as_they_read)
{
    Recordset rs;
    rs.setFields({{"f", QMetaType::Double}});
    const double numbers[] = {0.1 + 0.2, 1500,   -0.015,           12.87, 1e20, 0.00001234, 123456789.123456, 1.0 / 3,
                              -0.0,      2.5e-7, 999999999.9999999};
    QStringList expected;
    for (double v : numbers) {
        rs.appendRow({v});
        expected << QString::number(v, 'g', 15);
    }
    const VoucherDocument doc = VoucherDocument::fromRecordset(rs);
    EXPECT_EQ(values(doc.rows(), QStringLiteral("f")), expected);
    EXPECT_EQ(VoucherDocument::valueText(QVariant(float(0.1f))), QStringLiteral("0.1"));

    // Computed amounts (sums, rates, divisions) of every magnitude: the fast path for short
    // decimals must agree with general formatting to the last digit.
    QRandomGenerator random(1801);
    for (int i = 0; i < 20000; ++i) {
        const double cents = double(random.bounded(2000000)) - 1000000;
        const double candidates[] = {cents / 100, cents / 100 * 1.13, cents / 7, cents * 1e-9,
                                     random.generateDouble() * std::pow(10.0, random.bounded(-8, 12))};
        for (double v : candidates)
            ASSERT_EQ(VoucherDocument::valueText(v), QString::number(v, 'g', 15)) << v;
    }
    EXPECT_EQ(VoucherDocument::valueText(QVariant()), QString());
}

TEST(VoucherDocumentFromRecordset, describes_every_column_in_the_schema)
{
    const VoucherDocument doc = VoucherDocument::fromRecordset(sampleRecordset());
    QStringList names;
    QStringList types;
    for (const VoucherColumn &c : doc.columns()) {
        names << c.name;
        types << c.type;
    }
    EXPECT_EQ(names,
              QStringList({"iautoid", "ccode", "fqty", "bexpand", "ddate", "dverifytime", "bpic", "ibig", "editprop"}));
    EXPECT_EQ(types, QStringList({"int", "string", "float", "boolean", "date", "dateTime", "bin.hex", "i8", "string"}));
    EXPECT_EQ(doc.columns().last().number, 9);
}

TEST(VoucherDocumentFromRecordset, renames_columns_that_cannot_be_attribute_names)
{
    Recordset rs;
    rs.setFields({{"cCode", QMetaType::QString}, {"CCODE", QMetaType::QString}, {"count(*)", QMetaType::Int}});
    rs.appendRow({QStringLiteral("a"), QStringLiteral("b"), 3});
    const VoucherDocument doc = VoucherDocument::fromRecordset(rs);
    const QList<VoucherColumn> columns = doc.columns();
    ASSERT_EQ(columns.size(), 3);
    EXPECT_EQ(columns[1].name, QStringLiteral("c2"));
    EXPECT_EQ(columns[1].realName, QStringLiteral("CCODE"));
    EXPECT_EQ(columns[2].realName, QStringLiteral("count(*)"));
    EXPECT_EQ(doc.headRow().value(QStringLiteral("ccode")), QStringLiteral("a"));
    EXPECT_EQ(doc.headRow().value(columns[2].name), QStringLiteral("3"));
}

TEST(VoucherDocumentFromRecordset, writes_an_empty_recordset_with_schema_and_no_rows)
{
    Recordset rs;
    rs.setFields({{"ccode", QMetaType::QString}});
    const VoucherDocument doc = loaded(VoucherDocument::fromRecordset(rs).xml());
    EXPECT_FALSE(doc.isEmpty());
    EXPECT_EQ(doc.rowCount(), 0);
    EXPECT_EQ(doc.columns().size(), 1);
    EXPECT_EQ(doc.selectNodes(QStringLiteral("//rs:data")).size(), 1);
}
