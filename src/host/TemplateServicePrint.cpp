// TemplateService: print templates - reading and storing a print layout, and the layout, fixed
// items and printer settings the voucher engine asks for.
#include "TemplateService.h"

#include "platform/Connection.h"
#include "platform/Recordset.h"

#include <QLoggingCategory>
#include <QScopeGuard>

namespace {

Q_LOGGING_CATEGORY(lcPrintTemplates, "orvane.host.printtemplates")

// A database failure as the user is told it; the database's own text goes to the log.
Unexpected<QString> readFailure(const QString &error)
{
    qCWarning(lcPrintTemplates) << error;
    return fail(QStringLiteral("读取模板失败，请检查数据库连接！"));
}

Unexpected<QString> writeFailure(const QString &error)
{
    qCWarning(lcPrintTemplates) << error;
    return fail(QStringLiteral("保存打印格式失败，请检查数据库连接！"));
}

// A query's rows, or the user's message of its failure.
Result<Recordset> rowsOf(Result<Recordset> rs)
{
    if (!rs)
        return readFailure(rs.error());
    return rs;
}

// A template identifier as the card holds it ("180102"); 0 when it is not one.
int templateNumber(const QString &templateId)
{
    bool ok = false;
    const int id = templateId.trimmed().toInt(&ok);
    return ok && id > 0 ? id : 0;
}

QString badIdMessage(const QString &templateId)
{
    return QStringLiteral("模板号[%1]无效，请检查！").arg(templateId.trimmed());
}

const QString kTemplateColumns
    = QStringLiteral("SELECT VT_ID, VT_Name, VT_Title, VT_TemplateMode, VT_PrintSetting FROM vouchertemplates "
                     "WHERE VT_ID = ?");

// A column of a row by name; null when the rows have no such column.
QVariant cell(const Recordset &rs, int row, const char *name)
{
    const int column = rs.fieldIndex(QLatin1String(name));
    return column < 0 ? QVariant() : rs.value(row, column);
}

} // namespace

Result<PrintTemplate> TemplateService::printTemplate(int templateId) const
{
    auto fixed = rowsOf(m_cnn.Query(kTemplateColumns + QStringLiteral(" AND VT_TemplateMode = 1"), {templateId}));
    if (!fixed)
        return fail(fixed.error());
    if (fixed->isEmpty())
        return fail(QStringLiteral("打印模板[%1]不存在，请检查！").arg(templateId));
    auto layout = format(QString(), QString::number(templateId));
    if (!layout)
        return fail(layout.error());
    return printTemplateOf(*fixed, *layout);
}

PrintTemplate TemplateService::printTemplateOf(const Recordset &fixed, const Recordset &layout)
{
    PrintTemplate t;
    if (!fixed.isEmpty()) {
        t.id = cell(fixed, 0, "VT_ID").toInt();
        t.name = cell(fixed, 0, "VT_Name").toString().trimmed();
        t.title = cell(fixed, 0, "VT_Title").toString().trimmed();
        t.setting = PrintSetting::fromText(cell(fixed, 0, "VT_PrintSetting").toString());
    }
    for (int r = 0; r < layout.RecordCount(); ++r) {
        auto value = [&](const char *name) {
            return cell(layout, r, name);
        };
        PrintItem item;
        item.field = value("FieldName").toString().trimmed().toLower();
        item.caption = value("CardFormula1").toString().trimmed();
        item.order = value("CardItemNum").toInt();
        item.width = value("ColumnWidth").toInt();
        const QVariant decimals = value("NumPoint");
        item.decimals = decimals.isNull() ? -1 : decimals.toInt();
        item.shown = value("bShow").toInt() != 0;
        if (value("CardSection").toString().trimmed().compare(QLatin1String("t"), Qt::CaseInsensitive) == 0)
            t.head.append(item);
        else
            t.body.append(item);
    }
    return t;
}

Result<void> TemplateService::savePrintTemplate(const PrintTemplate &t) const
{
    if (auto begun = m_cnn.BeginTrans(); !begun)
        return writeFailure(begun.error());
    bool committed = false;
    auto rollback = qScopeGuard([&] {
        if (!committed)
            m_cnn.RollbackTrans();
    });
    auto setting = savePrintSetting(QString::number(t.id), t.setting.toText());
    if (!setting)
        return fail(setting.error());
    if (*setting == 0)
        return fail(QStringLiteral("打印模板[%1]不存在，请检查！").arg(t.id));
    const QString update = QStringLiteral("UPDATE voucheritems_prn SET CardItemNum = ?, CardFormula1 = ?, "
                                          "ColumnWidth = ?, bShow = ? WHERE VT_ID = ? AND CardSection = ? "
                                          "AND LOWER(fieldname) = ?");
    for (const auto &[section, items] :
         {std::pair{QStringLiteral("t"), &t.head}, std::pair{QStringLiteral("b"), &t.body}}) {
        for (const PrintItem &item : *items) {
            auto done = m_cnn.Execute(
                update, {item.order, item.caption, item.width, item.shown ? 1 : 0, t.id, section, item.field});
            if (!done)
                return writeFailure(done.error());
            if (*done != 1)
                return fail(QStringLiteral("打印模板[%1]中没有项目[%2]，请检查！").arg(t.id).arg(item.field));
        }
    }
    auto ended = m_cnn.CommitTrans();
    if (!ended)
        return writeFailure(ended.error());
    committed = true;
    return {};
}

Result<Recordset> TemplateService::format(const QString &cardNumber, const QString &templateId) const
{
    const int id = templateNumber(templateId);
    if (id == 0)
        return fail(badIdMessage(templateId));
    auto mode = m_cnn.Scalar(QStringLiteral("SELECT VT_TemplateMode FROM vouchertemplates WHERE VT_ID = ?"), {id});
    if (!mode)
        return readFailure(mode.error());
    // A card number, when given, must be the template's: a layout of another card would name
    // fields this voucher does not have.
    const QString cardFilter
        = cardNumber.isEmpty() ? QString()
                               : QStringLiteral(" AND EXISTS (SELECT 1 FROM vouchertemplates t WHERE t.VT_ID = i.VT_ID "
                                                "AND t.VT_CardNumber = ?)");
    QVariantList params{id};
    if (!cardNumber.isEmpty())
        params << cardNumber;
    // A print template's items are in voucheritems_prn, a display template's in voucheritems;
    // both tables name the columns alike.
    const QString table = mode->toInt() == 1 ? QStringLiteral("voucheritems_prn") : QStringLiteral("voucheritems");
    return rowsOf(m_cnn.Query(QStringLiteral("SELECT i.CardSection, i.FieldName, i.CardItemNum, i.CardFormula1, "
                                             "i.NumPoint, i.ColumnWidth, COALESCE(i.bShow, 0) AS bShow, "
                                             "i.MaxLength AS maxlength FROM %1 i WHERE i.VT_ID = ?")
                                      .arg(table)
                                  + cardFilter + QStringLiteral(" ORDER BY i.CardItemNum, i.FieldName"),
                              params));
}

Result<QPair<QString, QString>> TemplateService::voucherViews(const QString &cardNumber) const
{
    auto rs = m_cnn.Query(QStringLiteral("SELECT BTQName, BWQName FROM vouchers WHERE CardNumber = ?"), {cardNumber});
    if (!rs)
        return readFailure(rs.error());
    if (rs->isEmpty())
        return QPair<QString, QString>();
    return QPair<QString, QString>(rs->value(0, 0).toString().trimmed(), rs->value(0, 1).toString().trimmed());
}

Result<Recordset> TemplateService::fixedItems(const QString &connectionString, const QString &templateId)
{
    const int id = templateNumber(templateId);
    if (id == 0)
        return fail(badIdMessage(templateId));
    Connection cnn;
    if (auto opened = cnn.Open(connectionString); !opened)
        return readFailure(opened.error());
    return rowsOf(cnn.Query(kTemplateColumns, {id}));
}

Result<int> TemplateService::savePrintSetting(const QString &templateId, const QVariant &device) const
{
    const int id = templateNumber(templateId);
    if (id == 0)
        return fail(badIdMessage(templateId));
    const QString text = PrintSetting::fromText(device.toString()).toText();
    auto done
        = m_cnn.Execute(QStringLiteral("UPDATE vouchertemplates SET VT_PrintSetting = ? WHERE VT_ID = ?"), {text, id});
    if (!done)
        return writeFailure(done.error());
    return int(*done);
}
