#include "VoucherLoader.h"

#include "host/DataPermission.h"
#include "platform/Connection.h"

namespace {

const QString kNotFound = QStringLiteral("找不到该单据(该单据可能已被删除)或者你没有查看该单据的权限，请检查！");
const QString kNothingNamed = QStringLiteral("没有指定任何操作，请检查！");
// Moves reach numbered vouchers only: a child sample has no number of its own.
const QString kNumbered = QStringLiteral(" COALESCE(cCode,'')<>'' ");

// A voucher identifier as the statements bind it; nothing when the text is not one.
std::optional<qlonglong> idOf(const QString &text)
{
    bool ok = false;
    const qlonglong id = text.trimmed().toLongLong(&ok);
    return ok ? std::optional<qlonglong>(id) : std::nullopt;
}

} // namespace

VoucherLoader::VoucherLoader(Connection &cnn, DataPermission &permission, QString headView, QString bodyView,
                             QString idField, QString templateField)
    : m_cnn(cnn)
    , m_permission(permission)
    , m_headView(std::move(headView))
    , m_bodyView(std::move(bodyView))
    , m_id(QLatin1Char(' ') + idField + QLatin1Char(' '))
    , m_templateField(std::move(templateField))
{}

QString VoucherLoader::BuildAuthCondition(const QString &kind)
{
    if (kind.compare(QLatin1String("t"), Qt::CaseInsensitive) == 0) {
        return QStringLiteral(" (") + m_permission.GetFieldCondition(QStringLiteral("CustomerIID"))
               + QStringLiteral(" or COALESCE(ccuscode,'') = '')") + QStringLiteral(" and (")
               + m_permission.GetFieldCondition(QStringLiteral("NewInvIID")) + QStringLiteral(" or NewInvIID = -1 )")
               + QStringLiteral(" and (") + m_permission.GetFieldCondition(QStringLiteral("cdepcode"))
               + QStringLiteral(" or COALESCE(cdepcode,'') = '')");
    }
    if (kind.compare(QLatin1String("v"), Qt::CaseInsensitive) == 0) {
        const QString items = m_permission.GetFieldCondition(QStringLiteral("InventoryIID"));
        // A restriction names the column: then a voucher is visible only when none of its lines
        // names an item outside the user's items (lines without an item count as item 0).
        if (!items.contains(QLatin1String("InventoryIID"), Qt::CaseInsensitive))
            return QStringLiteral(" (") + items + QLatin1Char(')');
        // Asked per voucher (the line view's rows of the same head) rather than as one list of
        // every voucher with such a line, which both databases would build over the whole view.
        const QString id = m_id.trimmed();
        return QStringLiteral(" (not exists(select 1 from ") + m_bodyView + QStringLiteral(" hidden where hidden.") + id
               + QStringLiteral(" = ") + m_bodyView + QLatin1Char('.') + id + QStringLiteral(" and ")
               + m_permission.GetFieldCondition(QStringLiteral("COALESCE(InventoryIID,0) not")) + QStringLiteral("))");
    }
    if (kind.compare(QLatin1String("UserR"), Qt::CaseInsensitive) == 0) {
        const QString makers = m_permission.GetKindCondition(QStringLiteral("r"));
        if (makers.contains(QLatin1String("1=2")) || makers.contains(QLatin1String("1=1")))
            return makers;
        return QStringLiteral(" (cmaker in(") + makers + QStringLiteral(") or COALESCE(cmaker,'')='')");
    }
    return {};
}

VoucherLoader::Conditions VoucherLoader::conditions()
{
    return {BuildAuthCondition(QStringLiteral("t")), BuildAuthCondition(QStringLiteral("v")),
            BuildAuthCondition(QStringLiteral("UserR"))};
}

QString VoucherLoader::visible(const Conditions &c) const
{
    // "Has a visible line" is asked per head row (EXISTS on the line view's head key) rather than
    // as an IN list, which SQLite would build from the whole line view for every statement.
    return c.head + QStringLiteral(" and ") + c.maker + QStringLiteral(" and exists(select 1 from ") + m_bodyView
           + QStringLiteral(" where ") + m_bodyView + QLatin1Char('.') + m_id.trimmed() + QStringLiteral(" = ")
           + m_headView + QLatin1Char('.') + m_id.trimmed() + QStringLiteral(" and ") + c.body + QLatin1Char(')');
}

LoadedVoucher VoucherLoader::LoadVoucher(const QString &voucherId, int move, const QString &shownId)
{
    LoadedVoucher out;
    const Conditions c = conditions();
    const bool byId = !voucherId.isEmpty();
    if (!byId && move == ByIdentifier) {
        out.message = kNothingNamed;
        return out;
    }

    Result<QVariant> found = QVariant();
    if (byId) {
        // Text that is no identifier names no voucher.
        if (const auto id = idOf(voucherId)) {
            found = m_cnn.Scalar(QStringLiteral("SELECT") + m_id + QStringLiteral("FROM ") + m_headView
                                     + QStringLiteral(" WHERE") + m_id + QStringLiteral("= ? and ") + visible(c),
                                 {*id});
        }
    } else if (move != NewVoucher) {
        found = findMove(move, shownId, c);
    }
    if (!found) {
        out.message = found.error();
        return out;
    }

    if (!found->isNull())
        out.voucherId = QString::number(found->toLongLong());
    if (!readDocuments(found->isNull() ? QVariant(qlonglong(-1)) : *found, c, out))
        return out;

    if (!out.found() || out.head.rowCount() == 0 || out.body.rowCount() == 0) {
        out.message = kNotFound;
        out.success = !byId;
        return out;
    }

    QString error;
    out.previousId = neighbour(*found, true, c, error);
    out.nextId = neighbour(*found, false, c, error);
    if (!error.isEmpty()) {
        out.message = error;
        return out;
    }
    out.success = true;
    return out;
}

Result<QVariant> VoucherLoader::findMove(int move, const QString &shownId, const Conditions &c)
{
    const auto shown = idOf(shownId);
    const bool nothingShown = !shown || *shown == -1;
    if (nothingShown && move == Previous)
        move = First;
    else if (nothingShown && move == Next)
        move = Last;

    switch (move) {
    case First:
    case Last:
        return end(move == First, c);
    case Previous:
    case Next: {
        auto stepped = step(QVariant(*shown), move == Previous, c);
        // Beyond the ends a move stays at the end.
        if (stepped && stepped->isNull())
            return end(move == Previous, c);
        return stepped;
    }
    default:
        return fail(kNothingNamed);
    }
}

Result<QVariant> VoucherLoader::end(bool first, const Conditions &c)
{
    return m_cnn.Scalar(QStringLiteral("SELECT") + m_id + QStringLiteral("FROM ") + m_headView
                        + QStringLiteral(" WHERE ") + visible(c) + QStringLiteral(" and ") + kNumbered
                        + QStringLiteral(" ORDER BY") + m_id + (first ? QStringLiteral("ASC") : QStringLiteral("DESC"))
                        + QStringLiteral(" LIMIT 1"));
}

Result<QVariant> VoucherLoader::step(const QVariant &from, bool back, const Conditions &c)
{
    return m_cnn.Scalar(QStringLiteral("SELECT") + m_id + QStringLiteral("FROM ") + m_headView
                            + QStringLiteral(" WHERE") + m_id
                            + (back ? QStringLiteral("< ? and ") : QStringLiteral("> ? and ")) + visible(c)
                            + QStringLiteral(" and ") + kNumbered + QStringLiteral(" ORDER BY") + m_id
                            + (back ? QStringLiteral("DESC") : QStringLiteral("ASC")) + QStringLiteral(" LIMIT 1"),
                        {from});
}

bool VoucherLoader::readDocuments(const QVariant &id, const Conditions &c, LoadedVoucher &out)
{
    auto head = m_cnn.Query(
        QStringLiteral("SELECT * FROM ") + m_headView + QStringLiteral(" WHERE") + m_id + QStringLiteral("= ?"), {id});
    if (!head) {
        out.message = head.error();
        return false;
    }
    // Only the lines whose items the user may see; every line starts unchanged (editprop "").
    auto body = m_cnn.Query(QStringLiteral("SELECT *, '' AS editprop FROM ") + m_bodyView + QStringLiteral(" WHERE")
                                + m_id + QStringLiteral("= ? and ") + c.body + QStringLiteral(" ORDER BY isubid"),
                            {id});
    if (!body) {
        out.message = body.error();
        return false;
    }
    out.head = VoucherDocument::fromRecordset(*head);
    out.body = VoucherDocument::fromRecordset(*body);
    if (!head->isEmpty()) {
        out.timeStamp = head->text(QStringLiteral("qvts"));
        out.verifier = head->text(QStringLiteral("chandler"));
        out.templateId = head->text(m_templateField);
    }
    return true;
}

QString VoucherLoader::neighbour(const QVariant &id, bool before, const Conditions &c, QString &error)
{
    auto next = step(id, before, c);
    if (!next) {
        error = next.error();
        return {};
    }
    return next->isNull() ? QString() : QString::number(next->toLongLong());
}
