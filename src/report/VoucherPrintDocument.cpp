#include "VoucherPrintDocument.h"

#include "common/NumberText.h"
#include "host/TemplateService.h"
#include "platform/Connection.h"
#include "platform/Recordset.h"
#include "platform/VoucherDocument.h"

#include <QLoggingCategory>
#include <QRegularExpression>

#include <memory>

namespace {

// Flags print as the card shows them.
QString flagText(const QString &text)
{
    const QString t = text.trimmed().toLower();
    if (t == QLatin1String("1") || t == QLatin1String("true"))
        return QStringLiteral("是");
    if (t == QLatin1String("0") || t == QLatin1String("false"))
        return QStringLiteral("否");
    return text;
}

// A date at midnight prints as the date alone.
QString dateText(const QString &text)
{
    static const QRegularExpression midnight(QStringLiteral("^(\\d{4}-\\d{2}-\\d{2})[T ]00:00:00(\\.0+)?$"));
    const QRegularExpressionMatch m = midnight.match(text.trimmed());
    return m.hasMatch() ? m.captured(1) : text;
}

Q_LOGGING_CATEGORY(lcVoucherPrint, "orvane.report.voucher")

Unexpected<QString> readFailure(const QString &error)
{
    qCWarning(lcVoucherPrint) << error;
    return fail(QStringLiteral("读取单据失败，请检查数据库连接！"));
}

const QStringList kFlagFields{QStringLiteral("bexpand")};

QString shownText(const PrintItem &item, const QString &text)
{
    if (item.decimals >= 0)
        return NumberText::shown(text, item.decimals);
    if (kFlagFields.contains(item.field))
        return flagText(text);
    return dateText(text);
}

QList<PrintItem> shownItems(const QList<PrintItem> &items)
{
    QList<PrintItem> shown;
    for (const PrintItem &item : items) {
        if (item.shown)
            shown.append(item);
    }
    std::stable_sort(shown.begin(), shown.end(),
                     [](const PrintItem &a, const PrintItem &b) { return a.order < b.order; });
    return shown;
}

// The first shown item naming a field the voucher lacks; nullptr when every one is there.
const PrintItem *missing(const QList<PrintItem> &items, const QStringList &fields)
{
    for (const PrintItem &item : items) {
        if (!fields.contains(item.field))
            return &item;
    }
    return nullptr;
}

QStringList lowerNames(const QList<VoucherColumn> &columns)
{
    QStringList names;
    for (const VoucherColumn &c : columns)
        names << c.name.toLower();
    return names;
}

QStringList lowerNames(const QList<RecordsetField> &fields)
{
    QStringList names;
    for (const RecordsetField &f : fields)
        names << f.name.toLower();
    return names;
}

} // namespace

namespace VoucherPrintDocument {

Result<OutputDocument> build(const PrintTemplate &t, const VoucherValues &values)
{
    const QList<PrintItem> head = shownItems(t.head);
    const QList<PrintItem> body = shownItems(t.body);
    if (head.isEmpty() && body.isEmpty())
        return fail(QStringLiteral("打印模板没有可打印的项目，请检查！"));
    for (const auto &[items, fields] : {std::pair{&head, &values.headFields}, std::pair{&body, &values.bodyFields}}) {
        if (const PrintItem *item = missing(*items, *fields))
            return fail(QStringLiteral("打印模板中的项目[%1]在单据中不存在，请检查！")
                            .arg(item->caption.isEmpty() ? item->field : item->caption));
    }

    OutputDocument doc;
    doc.title = t.title.isEmpty() ? t.name : t.title;
    for (const PrintItem &item : head)
        doc.headItems.append({item.caption, shownText(item, values.head(item.field))});
    for (const PrintItem &item : body)
        doc.columns.append({item.caption, item.width, item.decimals});
    auto next = std::make_shared<int>(0);
    doc.nextRow = [values, body, next](QVariantList &row) {
        if (*next >= values.lines)
            return false;
        row.clear();
        for (const PrintItem &item : body) {
            const QString text = values.line(*next, item.field);
            if (item.decimals < 0) {
                row.append(shownText(item, text));
                continue;
            }
            const auto number = NumberText::parse(text);
            row.append(number ? QVariant(*number) : QVariant());
        }
        ++*next;
        return true;
    };
    return doc;
}

VoucherValues fromDocuments(const VoucherDocument &head, const VoucherDocument &body)
{
    auto heads = std::make_shared<VoucherDocument>(head);
    auto bodies = std::make_shared<VoucherDocument>(body);
    // Lines deleted on the card are not printed; the rest are found once, not walked to per cell.
    auto lines = std::make_shared<QList<VoucherRow>>();
    for (const VoucherRow &r : bodies->rows()) {
        if (r.value(QStringLiteral("editprop")) != QLatin1String("D"))
            lines->append(r);
    }
    VoucherValues v;
    v.headFields = lowerNames(heads->columns());
    v.bodyFields = lowerNames(bodies->columns());
    v.head = [heads](const QString &field) {
        return heads->headRow().value(field);
    };
    v.lines = int(lines->size());
    v.line = [bodies, lines](int line, const QString &field) {
        return lines->at(line).value(field);
    };
    return v;
}

Result<VoucherValues> read(Connection &cnn, const QString &cardNumber, const QString &voucherId)
{
    auto views = TemplateService(cnn).voucherViews(cardNumber);
    if (!views)
        return fail(views.error());
    if (views->first.isEmpty() || views->second.isEmpty())
        return fail(QStringLiteral("没有可用的表头、表体视图，请检查！"));
    bool isNumber = false;
    const qlonglong id = voucherId.trimmed().toLongLong(&isNumber);
    if (!isNumber)
        return fail(QStringLiteral("没有单据，请检查！"));
    // View names come from the voucher registration, never from the user.
    auto head = cnn.Query(QStringLiteral("SELECT * FROM %1 WHERE iautoid = ?").arg(views->first), {id});
    if (!head)
        return readFailure(head.error());
    if (head->isEmpty())
        return fail(QStringLiteral("不存在该单据，请检查！"));
    auto body
        = cnn.Query(QStringLiteral("SELECT * FROM %1 WHERE iautoid = ? ORDER BY isubid").arg(views->second), {id});
    if (!body)
        return readFailure(body.error());
    auto heads = std::make_shared<Recordset>(std::move(*head));
    auto bodies = std::make_shared<Recordset>(std::move(*body));
    VoucherValues v;
    v.headFields = lowerNames(heads->fields());
    v.bodyFields = lowerNames(bodies->fields());
    v.head = [heads](const QString &field) {
        const int c = heads->fieldIndex(field);
        return c < 0 ? QString() : VoucherDocument::valueText(heads->value(0, c));
    };
    v.lines = bodies->RecordCount();
    // Column positions are looked up once per field, not per cell.
    auto columns = std::make_shared<QHash<QString, int>>();
    for (int c = 0; c < bodies->fieldCount(); ++c)
        columns->insert(bodies->fields()[c].name.toLower(), c);
    v.line = [bodies, columns](int line, const QString &field) {
        const int c = columns->value(field, -1);
        return c < 0 ? QString() : VoucherDocument::valueText(bodies->value(line, c));
    };
    return v;
}

PageSetup pageOf(const PrintSetting &setting)
{
    PageSetup page;
    page.landscape = setting.landscape;
    if (setting.paper == QLatin1String("A3"))
        page.paper = PageSetup::Paper::A3;
    else if (setting.paper == QLatin1String("A5"))
        page.paper = PageSetup::Paper::A5;
    else if (setting.paper == QLatin1String("Letter"))
        page.paper = PageSetup::Paper::Letter;
    return page;
}

} // namespace VoucherPrintDocument
