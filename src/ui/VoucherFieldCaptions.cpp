#include "VoucherFieldCaptions.h"

const QList<FieldCaption> &sampleHeadCaptions()
{
    static const QList<FieldCaption> captions{
        {"ccode", "单据号", false},
        {"ddate", "单据日期", false},
        {"cnewinvcode", "新品编码", false},
        {"cnewinvname", "新品名称", false},
        {"cnewinvstd", "规格型号", false},
        {"cnewinvcomunitcode", "计量单位", false},
        {"csocode", "版本号", false},
        {"ccusname", "客户", false},
        {"cdepname", "部门", false},
        {"ifinishexch", "成品率", true},
        {"imanhrs", "标准工时", true},
        {"ipercharge", "人工费用", true},
        {"imakecharge", "制造费用", true},
        {"itolmaterialcost", "材料成本合计", true},
        {"itoloutcost", "委外成本合计", true},
        {"itolcost", "总成本", true},
        {"isellcost", "销售成本", true},
        {"cmaker", "制单人", false},
        {"chandler", "审核人", false},
        {"dveridate", "审核日期", false},
        {"cmemo", "备注", false},
    };
    return captions;
}

const QList<FieldCaption> &sampleBodyCaptions()
{
    static const QList<FieldCaption> captions{
        {"cpscode", "子件编码", false},
        {"cpsname", "子件名称", false},
        {"cpsinvstd", "规格型号", false},
        {"cpscomunitname", "计量单位", false},
        {"csocode", "版本号", false},
        {"ipsquantity", "基本用量", true},
        {"tdqtyd", "基础数量", true},
        {"iwasterate", "损耗率%", true},
        {"cwhname", "仓库", false},
        {"imaterialcharge", "材料单价", true},
        {"imaterialcost", "材料成本", true},
        {"ioutunitprice", "委外单价", true},
        {"cdepname", "使用部门", false},
        {"cpersonname", "业务员", false},
    };
    return captions;
}
