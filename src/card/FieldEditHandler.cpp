// FieldEditHandler: the head and body cell checks, the unit lookup and the free-item rule.
#include "FieldEditHandler.h"

#include "CardControl.h"
#include "CardView.h"
#include "UnitReference.h"
#include "frmManageSample.h"

#include "common/MessageService.h"
#include "common/basFunction.h"
#include "engine/FieldFamilies.h"
#include "platform/Connection.h"
#include "platform/Recordset.h"

#include <QLoggingCategory>
#include <QScopedValueRollback>

namespace {

Q_LOGGING_CATEGORY(lcFieldEdit, "orvane.card.fieldedit")

const QString kEditProp = QStringLiteral("editprop");
const QString kDuplicate = QStringLiteral("母件与子件重复！");

bool startsWith(const QString &field, const char *prefix)
{
    return field.startsWith(QLatin1String(prefix));
}

bool isOneOf(const QString &field, const char *a, const char *b)
{
    return field == QLatin1String(a) || field == QLatin1String(b);
}

// Ten flags of an item, in order: which free items it uses. Empty when the item is unknown.
QList<bool> freeItemFlags(Connection &cnn, const QString &item)
{
    QStringList columns;
    for (int n = 1; n <= 10; ++n)
        columns << QStringLiteral("COALESCE(bFree%1, 0) AS bfree%1").arg(n);
    auto rows
        = cnn.Query(QStringLiteral("SELECT %1 FROM Inventory WHERE cInvCode = ?").arg(columns.join(u',')), {item});
    if (!rows) {
        qCWarning(lcFieldEdit) << "free items of" << item << rows.error();
        return {};
    }
    QList<bool> flags;
    if (rows->isEmpty())
        return flags;
    for (int n = 0; n < 10; ++n)
        flags << (rows->value(0, n).toInt() != 0);
    return flags;
}

QString formatNumber(double value)
{
    return QString::number(value, 'g', 15);
}

} // namespace

FieldEditHandler::FieldEditHandler(frmManageSample &card)
    : m_card(card)
    , m_hooks(std::make_shared<FieldEditHooks>())
{}

FieldEditHandler::~FieldEditHandler() = default;

void FieldEditHandler::setHooks(std::shared_ptr<FieldEditHooks> hooks)
{
    m_hooks = hooks ? std::move(hooks) : std::make_shared<FieldEditHooks>();
}

CardControl &FieldEditHandler::control() const
{
    return m_card.view().cardControl();
}

void FieldEditHandler::show(const QString &text, int icon) const
{
    MessageService::current().show(text, m_card.state().strMsgTitle, MessageService::Icon(icon));
}

void FieldEditHandler::headCellCheck(const QString &field, QString &value, int &result)
{
    if (m_checking) {
        result = 0; // the check under way decides; this entry goes back quietly
        return;
    }
    const QScopedValueRollback checking(m_checking, true);
    const QString name = field.trimmed().toLower();
    // The cleaned value goes back to the control with the answer and is written only when
    // accepted: a refused entry leaves the item's previous content for the control to restore.
    const QString refused = control().BodyBadStr();
    QString cleaned;
    for (const QChar c : value) {
        if (!refused.contains(c))
            cleaned += c;
    }
    value = cleaned;

    VoucherDocument returned;
    const QString message = checkHeadValue(name, value, returned);
    if (!message.isEmpty()) {
        show(message, MessageService::Exclamation);
        result = 0;
        return;
    }
    copyReturnedRow(returned, name, value, 0);
    if (result == 2)
        m_hooks->rollUpCosts(VoucherCardControl::Head, name, 0);
}

QString FieldEditHandler::checkHeadValue(const QString &field, QString &value, VoucherDocument &returned)
{
    clsVoucherCo &engine = m_card.engine();
    engine.setDomHead(headDocument(field, value));
    if (startsWith(field, "cdefine"))
        return checkDefineLength(VoucherCardControl::Head, field, value);
    if (isOneOf(field, "cnewinvcomunitcode", "cnewinvcomunitname")) {
        if (!refField(0, true, value))
            return QStringLiteral("计量单位输入有误，请重新输入！");
        value = control().headerText(field);
        return {};
    }
    if (isOneOf(field, "cpspinvcode", "cpspinvname")) {
        return m_hooks->fetchParentItem(value, false).isEmpty() ? QString() : QStringLiteral("母件有误，请重新输入！");
    }
    const QString newItem = engine.domHead().headRow().value(QStringLiteral("cnewinvcode"));
    if (startsWith(field, "cfree")) {
        QString section = QStringLiteral("t");
        bool buildArchives = false;
        const QString message = engine.CheckFree2(
            field, value, newItem, &returned, QString::number(m_card.state().lngShowTemplate), section, buildArchives);
        // A new item that is not in the archive yet has no free-item settings to check against.
        if (!itemExists(newItem)) {
            returned.clear();
            return {};
        }
        return message;
    }
    if (isOneOf(field, "cnewinvcode", "cnewinvname")) {
        QString message;
        if (itemExists(newItem))
            message = engine.HeadCheckSingle(field, &returned);
        if (message.isEmpty()) {
            const QString item = returned.headRow().attribute(QStringLiteral("cnewinvcode")).value_or(newItem);
            message = checkNewItemAgainstLines(item);
            if (message.isEmpty())
                applyHeadFreeItems(item);
        }
        return message;
    }
    const QString message = engine.HeadCheckSingle(field, &returned);
    // A field of no master data and no rule of the engine (number, date, memo) is free text; the
    // engine answers it with its text for unknown fields, which refuses nothing here.
    if (fieldFamily(field) == FieldFamily::None && message == QStringLiteral("表头：录入错误,请检查")) {
        returned.clear();
        return {};
    }
    return message;
}

void FieldEditHandler::bodyCellCheck(const QString &field, QString &value, int row, int &result)
{
    if (m_checking) {
        result = 0;
        return;
    }
    const QScopedValueRollback checking(m_checking, true);
    result = 2;
    const QString name = field.trimmed().toLower();
    VoucherDocument returned;
    const QString message = checkBodyValue(name, value, row, returned);
    if (!message.isEmpty()) {
        show(message, MessageService::Exclamation);
        result = 0;
        return;
    }
    copyReturnedRow(returned, name, value, row);
    if (result == 2)
        m_hooks->rollUpCosts(VoucherCardControl::Body, name, row);
}

QString FieldEditHandler::checkBodyValue(const QString &field, QString &value, int row, VoucherDocument &returned)
{
    clsVoucherCo &engine = m_card.engine();
    engine.setDomBody(lineDocument(row, field, value));
    const QString item = engine.domBody().row(0).value(QStringLiteral("cpscode"));
    QString message;
    if (startsWith(field, "cdefine")) {
        return checkDefineLength(VoucherCardControl::Body, field, value);
    } else if (isOneOf(field, "ccaacomunitcode", "ccaacomunitname")) {
        if (!refField(row, true, value))
            message = QStringLiteral("辅助单位输入有误，请重新输入！");
        else
            value = control().bodyText(row, field);
    } else if (startsWith(field, "cfree")) {
        QString section = QStringLiteral("b");
        bool buildArchives = false;
        message = engine.CheckFree2(field, value, item, &returned, QString::number(m_card.state().lngShowTemplate),
                                    section, buildArchives);
    } else {
        message = engine.BodyCheckSingle(field, &returned, row);
    }
    if (field == QLatin1String("cpscode") && message.isEmpty()) {
        const QString component = returned.headRow().attribute(QStringLiteral("cpscode")).value_or(value);
        if (component.trimmed() == control().headerText(QStringLiteral("cnewinvcode")).trimmed())
            message = kDuplicate;
        else
            applyLineFreeItems(component, row);
    }
    return message;
}

QString FieldEditHandler::checkDefineLength(VoucherCardControl::Section section, const QString &field,
                                            const QString &value) const
{
    // The display template describes a user-defined item's length as "fixed,length".
    auto item = m_card.engine().connection().Query(
        QStringLiteral("SELECT DefineLength, CardFormula1 FROM voucheritems WHERE VT_ID = ? AND LOWER(FieldName) = ? "
                       "AND LOWER(CardSection) = ?"),
        {m_card.state().lngShowTemplate, field,
         section == VoucherCardControl::Head ? QStringLiteral("t") : QStringLiteral("b")});
    if (!item || item->isEmpty())
        return {};
    const QString caption = item->value(0, 1).toString();
    const QStringList parts = item->value(0, 0).toString().split(u',');
    if (parts.size() == 2) {
        const QString flag = parts[0].trimmed().toLower();
        const bool fixed = flag == QLatin1String("1") || flag == QLatin1String("-1") || flag == QLatin1String("true");
        if (fixed && value.size() > parts[1].trimmed().toInt()) {
            return QLatin1Char('[') + caption
                   + (section == VoucherCardControl::Head ? QStringLiteral("]超出了定长!")
                                                          : QStringLiteral("]超出了定长！"));
        }
    }
    return checkDefineArchive(field, value, caption);
}

QString FieldEditHandler::checkDefineArchive(const QString &field, const QString &value, const QString &caption) const
{
    // An item whose values are kept in the user-defined archive takes those values only.
    const QString itemId = basFunction::GetUserDefineID(field);
    if (value.trimmed().isEmpty() || itemId.isEmpty())
        return {};
    auto held = m_card.engine().connection().Query(
        QStringLiteral("SELECT COUNT(*), COALESCE(SUM(CASE WHEN cValue = ? THEN 1 ELSE 0 END), 0) FROM UserDefine "
                       "WHERE cID = ?"),
        {value.trimmed(), itemId});
    if (!held || held->isEmpty() || held->value(0, 0).toInt() == 0 || held->value(0, 1).toInt() > 0)
        return {};
    return caption + QStringLiteral("不合法,请重新录入！");
}

QString FieldEditHandler::checkNewItemAgainstLines(const QString &item) const
{
    const QString code = item.trimmed();
    for (int r = 1; r <= control().BodyRows(); ++r) {
        if (control().bodyText(r, QStringLiteral("cpscode")).trimmed() == code)
            return kDuplicate;
    }
    return {};
}

bool FieldEditHandler::itemExists(const QString &item) const
{
    auto found = m_card.engine().connection().Scalar(
        QStringLiteral("SELECT cInvCode FROM Inventory WHERE cInvCode = ?"), {item});
    return found && !found->isNull() && found->isValid();
}

void FieldEditHandler::copyReturnedRow(const VoucherDocument &returned, const QString &field, QString &value, int row)
{
    for (const VoucherRow &r : returned.rows()) {
        for (const VoucherAttribute &a : r.attributes()) {
            const QString name = a.name.toLower();
            if (name == field)
                value = a.value;
            else if (row == 0)
                control().setHeaderText(name, a.value);
            else
                control().setBodyText(row, name, a.value);
        }
    }
}

VoucherDocument FieldEditHandler::headDocument(const QString &field, const QString &value) const
{
    VoucherDocument head, body;
    control().getVoucherDataXML(head, body);
    VoucherRow row = head.headRow();
    if (row.isNull())
        row = head.appendRow();
    row.setValue(field, value);
    return head;
}

VoucherDocument FieldEditHandler::lineDocument(int row, const QString &field, const QString &value) const
{
    // The control's rows are the body's lines not marked deleted, in document order.
    VoucherDocument head, body;
    control().getVoucherDataXML(head, body);
    int shown = 0;
    VoucherRow line;
    for (const VoucherRow &r : body.rows()) {
        if (r.value(kEditProp).compare(QLatin1String("D"), Qt::CaseInsensitive) != 0 && ++shown == row)
            line = r;
        else
            body.removeRow(r);
    }
    if (line.isNull())
        line = body.appendRow();
    line.setValue(field, value);
    return body;
}

bool FieldEditHandler::refField(int row, bool checkMode, const QString &value)
{
    const QString item = row == 0 ? control().headerText(QStringLiteral("cnewinvcode"))
                                  : control().bodyText(row, QStringLiteral("cpscode"));
    if (item.isEmpty()) {
        show(QStringLiteral("必须先输入存货！"), MessageService::Critical);
        return false;
    }
    UnitReference units(m_card.engine().connection());
    std::optional<ItemUnit> unit;
    if (checkMode) {
        auto found = units.find(item, value);
        if (!found) {
            show(found.error(), MessageService::Exclamation);
            return false;
        }
        unit = *found;
    } else {
        unit = units.pick(item, value);
    }
    if (!unit) {
        if (checkMode && row != 0 && value.isEmpty())
            clearLineUnit(row);
        return false;
    }
    if (row == 0) {
        control().setHeaderText(QStringLiteral("cnewinvcomunitcode"), unit->code);
        control().setHeaderText(QStringLiteral("cnewinvcomunitname"), unit->name);
    } else {
        fillLineUnit(row, *unit);
    }
    return true;
}

void FieldEditHandler::fillLineUnit(int row, const ItemUnit &unit)
{
    control().setBodyText(row, QStringLiteral("ccaacomunitcode"), unit.code);
    control().setBodyText(row, QStringLiteral("ccaacomunitname"), unit.name);
    control().setBodyText(row, QStringLiteral("iprodchangrate"), formatNumber(unit.rate));
    // The auxiliary quantity is the line's quantity counted in the auxiliary unit; without a rate
    // (or a divisor) there is none.
    const double quantity = control().bodyText(row, QStringLiteral("ipsquantity")).toDouble();
    const double divisor = control().bodyText(row, QStringLiteral("tdqtyd")).toDouble();
    const QString auxiliary = unit.rate == 0 || divisor == 0 ? QString() : formatNumber(quantity / divisor / unit.rate);
    control().setBodyText(row, QStringLiteral("icaaquantity"), auxiliary);
    if (unit.groupType == 2)
        control().clearCell(QStringLiteral("iprodchangrate"), row);
    else
        control().markCell(QStringLiteral("iprodchangrate"), row);
}

void FieldEditHandler::clearLineUnit(int row)
{
    for (const char *field : {"ccaacomunitcode", "ccaacomunitname", "iprodchangrate", "icaaquantity"})
        control().setBodyText(row, QLatin1String(field), QString());
}

void FieldEditHandler::applyHeadFreeItems(const QString &item)
{
    auto lock = [this](const QString &field) {
        control().setEditable(VoucherCardControl::Head, field, false);
        control().applyEditable(field);
    };
    if (item.isEmpty()) {
        // Free items nobody has named are not in use.
        auto rows = m_card.engine().connection().Query(
            QStringLiteral("SELECT cItem FROM UserDef WHERE cClass = '存货' AND cItem LIKE '自由项%' "
                           "AND COALESCE(cItemName, '') = ''"));
        if (!rows)
            return;
        for (int r = 0; r < rows->RecordCount(); ++r) {
            // The number follows the item's prefix ("自由项10" is the tenth).
            const QString number = rows->value(r, 0).toString().mid(3);
            lock(QStringLiteral("cfree") + number);
        }
        return;
    }
    const QList<bool> flags = freeItemFlags(m_card.engine().connection(), item);
    for (int n = 0; n < flags.size(); ++n) {
        if (!flags[n])
            lock(QStringLiteral("cfree%1").arg(n + 1));
    }
}

void FieldEditHandler::applyLineFreeItems(const QString &item, int row)
{
    const QList<bool> flags = freeItemFlags(m_card.engine().connection(), item);
    for (int n = 0; n < flags.size(); ++n) {
        const QString field = QStringLiteral("cfree%1").arg(n + 1);
        if (flags[n])
            control().clearCell(field, row);
        else
            control().markCell(field, row);
    }
}
