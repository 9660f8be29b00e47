// FieldEditHandler: the reference lists opened from head items and body cells, new rows, the
// change of the current row, the expand flag's choices and the parent-item keys.
#include "FieldEditHandler.h"

#include "CardControl.h"
#include "CardView.h"
#include "UnitReference.h"
#include "frmManageSample.h"

#include "common/MessageService.h"
#include "platform/Connection.h"
#include "platform/Recordset.h"

#include <QScopeGuard>

namespace {

bool isOneOf(const QString &field, std::initializer_list<const char *> names)
{
    for (const char *name : names) {
        if (field == QLatin1String(name))
            return true;
    }
    return false;
}

bool isFreeOrUserDefined(const QString &field)
{
    return field.startsWith(QLatin1String("cfree")) || field.startsWith(QLatin1String("cdefine"))
           || field.startsWith(QLatin1String("cinvdefine"));
}

// A new item may not be one that already heads a product structure.
const QString kWithoutStructure
    = QStringLiteral("NOT EXISTS (SELECT 1 FROM ProductStructure ps WHERE ps.cPSPCode = i.cInvCode)");

QString pickedText(const Recordset &rows, const char *column)
{
    const int c = rows.fieldIndex(QLatin1String(column));
    return c < 0 || rows.isEmpty() ? QString() : rows.value(0, c).toString();
}

} // namespace

void FieldEditHandler::headReference(const QString &field)
{
    const QString name = field.trimmed().toLower();
    CardState &state = m_card.state();
    state.bolReferring = true;
    const auto done = qScopeGuard([&state] { state.bolReferring = false; });

    QString value = control().headerText(name);
    if (isOneOf(name, {"cnewinvcomunitcode", "cnewinvcomunitname"})) {
        refField(0, false, value);
    } else if (isOneOf(name, {"cpspinvcode", "cpspinvname"})) {
        const QString failure = m_hooks->fetchParentItem(value, true);
        if (!failure.isEmpty())
            show(failure, MessageService::Information);
    } else if (name == QLatin1String("csocode")) {
        QString version;
        if (m_hooks->pickVersion(control().headerText(QStringLiteral("cpspinvcode")), version))
            control().setHeaderText(name, version);
    } else if (pickHeadValue(name, value)) {
        // The picked value is entered as if typed: checked, and the related items filled.
        runHeadCheckAndWrite(name, value);
    }
}

bool FieldEditHandler::pickHeadValue(const QString &field, QString &value)
{
    clsVoucherCo &engine = m_card.engine();
    QVariant picked = value;
    bool chosen = false;
    if (isOneOf(field, {"cnewinvcode", "cnewinvname"}))
        chosen = engine.ReferBase(field, picked, kWithoutStructure);
    else if (field.startsWith(QLatin1String("cdefine")) || field.startsWith(QLatin1String("cinvdefine")))
        chosen = engine.ReferDefine(field, picked, 0, QString());
    else if (isOneOf(field, {"cdepcode", "cdepname", "ccuscode", "ccusname", "ccusabbname"})
             || field.startsWith(QLatin1String("cfree")))
        chosen = engine.ReferBase(field, picked);
    if (chosen)
        value = picked.toString();
    return chosen;
}

void FieldEditHandler::runHeadCheckAndWrite(const QString &field, QString value)
{
    int result = 2;
    headCellCheck(field, value, result);
    if (result != 0)
        control().setHeaderText(field, value);
}

void FieldEditHandler::bodyReference(const QString &field, int row)
{
    const QString name = field.trimmed().toLower();
    CardState &state = m_card.state();
    state.bolReferring = true;
    const auto done = qScopeGuard([&state] { state.bolReferring = false; });

    clsVoucherCo &engine = m_card.engine();
    QVariant picked = control().bodyText(row, name);
    Recordset rows;
    if (isOneOf(name, {"cpscode", "cpsname"})) {
        pickComponents(name, row);
    } else if (isOneOf(name, {"ccaacomunitcode", "ccaacomunitname"})) {
        refField(row, false, picked.toString());
    } else if (isOneOf(name, {"cwhcode", "cwhname"})) {
        if (engine.ReferBase(name, picked, {}, &rows)) {
            control().setBodyText(row, QStringLiteral("cwhcode"), pickedText(rows, "cwhcode"));
            control().setBodyText(row, QStringLiteral("cwhname"), pickedText(rows, "cwhname"));
        }
    } else if (isOneOf(name, {"cdepcode", "cdepname"})) {
        if (engine.ReferBase(name, picked, {}, &rows)) {
            control().setBodyText(row, QStringLiteral("cdepcode"), pickedText(rows, "cdepcode"));
            control().setBodyText(row, QStringLiteral("cdepname"), pickedText(rows, "cdepname"));
        }
    } else if (name == QLatin1String("cpersonname")) {
        if (engine.ReferBase(name, picked))
            control().setBodyText(row, name, picked.toString());
    } else if (name == QLatin1String("csocode")) {
        QString version;
        if (m_hooks->pickVersion(control().bodyText(row, QStringLiteral("cpscode")), version))
            control().setBodyText(row, name, version);
    } else if (isFreeOrUserDefined(name)) {
        const bool chosen = name.startsWith(QLatin1String("cfree")) ? engine.ReferBase(name, picked)
                                                                    : engine.ReferDefine(name, picked, 0, QString());
        if (chosen)
            control().setBodyText(row, name, picked.toString());
    }
}

void FieldEditHandler::pickComponents(const QString &field, int row)
{
    QVariant picked = control().bodyText(row, field);
    Recordset rows;
    if (!m_card.engine().ReferBase(field, picked, {}, &rows, true))
        return;
    const int codeColumn = rows.fieldIndex(QStringLiteral("cinvcode"));
    const QString cpscode = QStringLiteral("cpscode");
    int target = row;
    // Each item picked becomes a line: the first goes into the row the list was opened from, each
    // further one into a row added for it. A line whose check refuses its item goes again.
    for (int i = 0; i < rows.RecordCount(); ++i) {
        if (i > 0) {
            control().addRow();
            target = control().BodyRows();
        }
        QString code = rows.value(i, codeColumn).toString();
        int result = 2;
        bodyCellCheck(cpscode, code, target, result);
        if (result == 0)
            control().deleteRow(target);
        else
            control().setBodyText(target, cpscode, code);
    }
}

void FieldEditHandler::rowAdded(int row)
{
    control().setBodyText(row, QStringLiteral("editprop"), QStringLiteral("A"));
    control().setBodyText(row, QStringLiteral("tdqtyd"), QStringLiteral("1"));
}

void FieldEditHandler::rowChanged(int row)
{
    if (control().EditState() == CardControl::Viewing || row < 1 || row > control().BodyRows())
        return;
    const QString unit = control().bodyText(row, QStringLiteral("cpscomunitcode"));
    int groupType = 0;
    if (!unit.isEmpty()) {
        auto type = UnitReference(m_card.engine().connection()).groupTypeOf(unit);
        if (type && *type)
            groupType = **type;
    }
    markLineUnitCells(row, groupType);
    applyLineFreeItems(control().bodyText(row, QStringLiteral("cpscode")), row);
    markVersionCell(row);
}

void FieldEditHandler::markVersionCell(int row)
{
    if (row < 1 || row > control().BodyRows())
        return;
    if (!control().bodyText(row, QStringLiteral("childguid")).trimmed().isEmpty())
        control().markCell(QStringLiteral("csocode"), row);
    else
        control().clearCell(QStringLiteral("csocode"), row);
}

void FieldEditHandler::markLineUnitCells(int row, int groupType)
{
    // Floating rates may be typed; any conversion lets the auxiliary unit be chosen.
    auto set = [this, row](const char *field, bool editable) {
        if (editable)
            control().clearCell(QLatin1String(field), row);
        else
            control().markCell(QLatin1String(field), row);
    };
    set("iprodchangrate", groupType == 2);
    set("ccaacomunitcode", groupType == 1 || groupType == 2);
    set("ccaacomunitname", groupType == 1 || groupType == 2);
}

QStringList FieldEditHandler::choiceItems(const QString &field, const QStringList &items)
{
    const QString name = field.trimmed().toLower();
    if (items.isEmpty() && (name == QLatin1String("bexpand") || name == QLatin1String("bexpandend")))
        return {QStringLiteral("是"), QStringLiteral("否")};
    return items;
}

bool FieldEditHandler::acceptsHeadKey(const QString &field, int key)
{
    const QString name = field.trimmed().toLower();
    if (name != QLatin1String("cpspinvcode") && name != QLatin1String("cpspinvname"))
        return true;
    return key == 13 || key == 8;
}
