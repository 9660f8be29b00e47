#include "SchemaColumns.h"

// The sample vouchers (heads and lines), their stored pictures and files, and the bills of materials
// that confirmed samples turn into and that new samples may start from.

using namespace SchemaColumns;

namespace {

// Sample voucher heads. iAutoID is written by the save (maximum + 1), not by the database. A
// top-level sample has a voucher number cCode and no version; a child sample, made for a body line,
// has an empty cCode and carries the version csocode. The structure key is cNewInvCode + csocode +
// cfree1..cfree10. cHandler/dVeriDate are set while the voucher is confirmed; iBOMAutoId names the
// bill of materials converted from it. Display names (customer, department, units, referenced
// structure item) come from the card view.
TableDef manageSample()
{
    TableDef t;
    t.name = QStringLiteral("ManageSample");
    t.columns = {integer(QStringLiteral("iAutoID"), true),
                 text(QStringLiteral("cCode"), 30),
                 date(QStringLiteral("dDate")),
                 text(QStringLiteral("csocode"), 60),
                 text(QStringLiteral("cNewInvCode"), 60),
                 text(QStringLiteral("cNewInvName"), 255),
                 text(QStringLiteral("cnewinvstd"), 255),
                 text(QStringLiteral("cnewinvcomunitcode"), 20)};
    t.columns << numbered(QStringLiteral("cfree"), 1, 10, 120);
    t.columns << QList<ColumnDef>{text(QStringLiteral("cCusCode"), 20),    text(QStringLiteral("cDepCode"), 20),
                                  text(QStringLiteral("cPersonCode"), 20), text(QStringLiteral("cCheckPersonCode"), 20),
                                  text(QStringLiteral("cVenCode"), 20),    text(QStringLiteral("cpspinvcode"), 60),
                                  text(QStringLiteral("cCheck"), 60),      text(QStringLiteral("cMemo"), 255),
                                  flag(QStringLiteral("bExpand")),         real(QStringLiteral("iFinishExch")),
                                  real(QStringLiteral("iManhrs")),         real(QStringLiteral("iBZGZexch")),
                                  real(QStringLiteral("iPerCharge")),      real(QStringLiteral("iBZFYexch")),
                                  real(QStringLiteral("iMakeCharge")),     real(QStringLiteral("iTolMaterialCost")),
                                  real(QStringLiteral("iTolOutCost")),     real(QStringLiteral("itolcost")),
                                  real(QStringLiteral("isellexch")),       real(QStringLiteral("isellcost")),
                                  integer(QStringLiteral("iBOMAutoId"))};
    t.columns << numbered(QStringLiteral("cdefine"), 1, 16, 120);
    t.columns << QList<ColumnDef>{text(QStringLiteral("cMaker"), 60), text(QStringLiteral("cHandler"), 60),
                                  date(QStringLiteral("dVeriDate")), integer(QStringLiteral("vt_id"))};
    t.primaryKey = {QStringLiteral("iAutoID")};
    t.indexes = {
        // Voucher numbers are unique among non-empty numbers without regard to letter case.
        index(QStringLiteral("ux_managesample_ccode"), {QStringLiteral("cCode")}, true, QStringLiteral("cCode <> ''"),
              true),
        index(QStringLiteral("ix_managesample_newinv"), {QStringLiteral("cNewInvCode")}),
        // The voucher list's data permissions restrict by customer, department and maker.
        index(QStringLiteral("ix_managesample_customer"), {QStringLiteral("cCusCode")}),
        index(QStringLiteral("ix_managesample_department"), {QStringLiteral("cDepCode")}),
        index(QStringLiteral("ix_managesample_maker"), {QStringLiteral("cMaker")}),
        // The list walks vouchers in order and tests those columns on each before reading it: with
        // them beside the identifier, the walk over skipped vouchers reads this index alone.
        index(QStringLiteral("ix_managesample_list"),
              {QStringLiteral("iAutoID"), QStringLiteral("cMaker"), QStringLiteral("cCusCode"),
               QStringLiteral("cDepCode"), QStringLiteral("cNewInvCode")})};
    t.rowVersion = true;
    return t;
}

// Sample voucher lines. iSubID is unique over the whole table (the save writes maximum + 1), so a
// child sample finds its parent line by iSubID alone. ChildGUID names the child sample head (NULL or
// 0 = none); csocode then repeats the child's version.
TableDef manageSamples()
{
    TableDef t;
    t.name = QStringLiteral("ManageSamples");
    t.columns = {integer(QStringLiteral("iAutoID"), true), integer(QStringLiteral("iSubID"), true),
                 text(QStringLiteral("cPSCode"), 60)};
    t.columns << numbered(QStringLiteral("cfree"), 1, 10, 120);
    t.columns << QList<ColumnDef>{text(QStringLiteral("csocode"), 60),     real(QStringLiteral("iPSQuantity")),
                                  real(QStringLiteral("tdQtyD")),          real(QStringLiteral("iWasteRate")),
                                  text(QStringLiteral("cWhCode"), 20),     text(QStringLiteral("cDepCode"), 20),
                                  text(QStringLiteral("cPersonName"), 60), text(QStringLiteral("cCAAComunitCode"), 20),
                                  real(QStringLiteral("iProdChangRate")),  real(QStringLiteral("iMaterialCharge")),
                                  real(QStringLiteral("iMaterialCost")),   real(QStringLiteral("iOutUnitPrice")),
                                  integer(QStringLiteral("ChildGUID"))};
    t.columns << numbered(QStringLiteral("cdefine"), 22, 37, 120);
    t.primaryKey = {QStringLiteral("iSubID")};
    t.indexes = {index(QStringLiteral("ix_managesamples_head"), {QStringLiteral("iAutoID")}),
                 index(QStringLiteral("ix_managesamples_component"), {QStringLiteral("cPSCode")}),
                 index(QStringLiteral("ix_managesamples_child"), {QStringLiteral("ChildGUID")})};
    return t;
}

// Pictures (fileType 1) and other files (2) of a sample voucher, with their bytes.
TableDef fileTable()
{
    TableDef t;
    t.name = QStringLiteral("OR_VN_fileTable");
    t.columns = {identity(QStringLiteral("fAutoID")),    integer(QStringLiteral("iAutoID"), true),
                 text(QStringLiteral("fileNames"), 255), smallint(QStringLiteral("fileType")),
                 text(QStringLiteral("fileSize"), 40),   text(QStringLiteral("fileExtension"), 20),
                 blob(QStringLiteral("fileStream"))};
    t.primaryKey = {QStringLiteral("fAutoID")};
    t.indexes = {
        index(QStringLiteral("ix_or_vn_filetable_voucher"), {QStringLiteral("iAutoID"), QStringLiteral("fileType")})};
    return t;
}

// Bill-of-materials heads: parent item cPSPCode with version csocode and free items; the standard
// hours, labour and overhead rates and costs (fbz...) carried over from a sample.
TableDef productStructure()
{
    TableDef t;
    t.name = QStringLiteral("ProductStructure");
    t.columns = {
        identity(QStringLiteral("iAutoId")), text(QStringLiteral("cPSPCode"), 60), text(QStringLiteral("cDepCode"), 20),
        flag(QStringLiteral("bExpand")),     real(QStringLiteral("iFinishExch")),  text(QStringLiteral("cMemo"), 255),
        text(QStringLiteral("csocode"), 60), text(QStringLiteral("cCheck"), 60),   real(QStringLiteral("fbzgs")),
        real(QStringLiteral("fbzgzl")),      real(QStringLiteral("fbzrgcb")),      real(QStringLiteral("fbzfyl")),
        real(QStringLiteral("fbzzfy")),      real(QStringLiteral("fbzcb"))};
    t.columns << numbered(QStringLiteral("cfree"), 1, 10, 120) << numbered(QStringLiteral("cdefine"), 1, 16, 120);
    t.primaryKey = {QStringLiteral("iAutoId")};
    t.indexes = {index(QStringLiteral("ix_productstructure_parent"), {QStringLiteral("cPSPCode")})};
    return t;
}

// Bill-of-materials lines of head iPId. ChildGUID names the component's own structure head;
// WIPType 1 = issued from a shop-floor store, 3 = otherwise; fbzdj/fbzwlcb are the standard unit
// price and material cost.
TableDef productStructures()
{
    TableDef t;
    t.name = QStringLiteral("ProductStructures");
    t.columns = {identity(QStringLiteral("AutoId")),       integer(QStringLiteral("iPId"), true),
                 text(QStringLiteral("cPSPCode"), 60),     text(QStringLiteral("cPSCode"), 60),
                 text(QStringLiteral("cWhCode"), 20),      smallint(QStringLiteral("WIPType")),
                 real(QStringLiteral("iPSQuantity")),      real(QStringLiteral("tdQtyD")),
                 text(QStringLiteral("cDepCode"), 20),     text(QStringLiteral("cPersonName"), 60),
                 real(QStringLiteral("iWasteRate")),       text(QStringLiteral("cCAAComunitCode"), 20),
                 integer(QStringLiteral("ChildGUID")),     real(QStringLiteral("iProdChangRate")),
                 text(QStringLiteral("csocode"), 60),      real(QStringLiteral("fbzdj")),
                 real(QStringLiteral("fbzwlcb")),          text(QStringLiteral("cProcedureName"), 60),
                 text(QStringLiteral("cInsertFirst"), 60), text(QStringLiteral("cInsertSecond"), 60),
                 text(QStringLiteral("cInsertThird"), 60), smallint(QStringLiteral("FVFlag")),
                 flag(QStringLiteral("ReplaceFlag"))};
    t.columns << numbered(QStringLiteral("cfree"), 1, 10, 120) << numbered(QStringLiteral("cdefine"), 22, 37, 120);
    t.primaryKey = {QStringLiteral("AutoId")};
    t.indexes = {index(QStringLiteral("ix_productstructures_head"), {QStringLiteral("iPId")}),
                 index(QStringLiteral("ix_productstructures_component"), {QStringLiteral("cPSCode")}),
                 index(QStringLiteral("ix_productstructures_child"), {QStringLiteral("ChildGUID")})};
    return t;
}

} // namespace

QList<TableDef> sampleTables()
{
    return {manageSample(), manageSamples(), fileTable(), productStructure(), productStructures()};
}
