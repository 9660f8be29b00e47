#include "clsVoucherCo.h"

#include "VoucherStateActions.h"
#include "VoucherStatementBuilder.h"
#include "basVoucher.h"

#include "common/modPublic.h"
#include "entry/clsVoucherGetInfo.h"
#include "entry/clsVoucherShowParameter.h"
#include "host/VoucherNumberService.h"
#include "host/clsLogin.h"

#include <QDate>

namespace {

QString g_salesStartDate = QStringLiteral("1900-01-01");

const QString kFullyAutomatic = QStringLiteral("完全自动编号");
const QString kSemiAutomatic = QStringLiteral("半自动编号");
const QString kFullyManual = QStringLiteral("完全手工编号");

// Identifiers arrive as numbers or as text; both name the same voucher.
qlonglong idValue(const QVariant &v)
{
    return v.toLongLong();
}

bool isNoVoucher(const QVariant &id)
{
    const qlonglong n = idValue(id);
    return n == -1 || n == 0;
}

} // namespace

clsVoucherCo::clsVoucherCo()
{
    InitialNewDOM();
}

clsVoucherCo::~clsVoucherCo()
{
    TerminateDOM();
    m_statements.reset();
    m_info.reset();
    m_sp.reset();
    m_cnn.Close();
    m_login.reset();
}

void clsVoucherCo::InitialNewDOM(const VoucherDocument *head, const VoucherDocument *body)
{
    m_domHead = head ? *head : VoucherDocument();
    m_domBody = body ? *body : VoucherDocument();
    if (!m_hasDocuments)
        m_domFormat = VoucherDocument();
    m_hasDocuments = true;
}

void clsVoucherCo::TerminateDOM()
{
    m_domHead = VoucherDocument();
    m_domBody = VoucherDocument();
    m_domFormat = VoucherDocument();
    m_hasDocuments = false;
}

std::shared_ptr<clsVoucherGetInfo> clsVoucherCo::oGI()
{
    if (!m_info)
        m_info = std::make_shared<clsVoucherGetInfo>();
    return m_info;
}

QString clsVoucherCo::CardNumber() const
{
    return m_sp ? m_sp->CardNumber : QString();
}

void clsVoucherCo::setCardNumber(const QString &cardNumber)
{
    if (!m_sp)
        m_sp = std::make_shared<clsVoucherShowParameter>();
    m_sp->CardNumber = cardNumber;
}

QString clsVoucherCo::SalesStartDate()
{
    return g_salesStartDate;
}

void clsVoucherCo::Initial(std::shared_ptr<clsLogin> login, const QString &sCardNumber,
                           std::shared_ptr<clsVoucherShowParameter> objSP1)
{
    m_login = std::move(login);
    m_sp = objSP1 ? std::move(objSP1) : std::make_shared<clsVoucherShowParameter>();
    setCardNumber(sCardNumber);
    if (!m_login) {
        modPublic::ShowErrMsg(modPublic::DatabaseErrorNumber, QStringLiteral("没有登录对象"),
                              QStringLiteral("clsVoucherCo:Initial"));
        return;
    }
    auto opened = m_cnn.Open(m_login->ConnectionString());
    if (!opened) {
        modPublic::ShowErrMsg(modPublic::DatabaseErrorNumber, opened.error(), QStringLiteral("clsVoucherCo:Initial"));
        return;
    }
    oGI()->loadVoucherInfo(CardNumber(), m_login->ConnectionString());
    readSalesStartDate();
    if (CardNumber().toLower() == QLatin1String("1801")) {
        m_business = ObjectRegistry::createAs<VoucherBusiness>(ObjectRegistry::progId(QStringLiteral("clsManageSample")));
        if (m_business)
            m_business->Initial(m_login, m_info);
    }
}

void clsVoucherCo::readSalesStartDate()
{
    auto rs = m_cnn.Query(QStringLiteral("SELECT cvalue, cdefault FROM accinformation WHERE csysid = ? AND cname = ?"),
                          {QStringLiteral("SA"), QStringLiteral("domstartdate")});
    if (!rs) {
        modPublic::ShowErrMsg(modPublic::DatabaseErrorNumber, rs.error(), QStringLiteral("clsVoucherCo:Initial"));
        return;
    }
    if (rs->isEmpty())
        return;
    const QVariant v = rs->isNull(QStringLiteral("cvalue")) ? rs->value(QStringLiteral("cdefault"))
                                                             : rs->value(QStringLiteral("cvalue"));
    const QDate d = QDate::fromString(v.toString().left(10), Qt::ISODate);
    if (d.isValid())
        g_salesStartDate = d.toString(Qt::ISODate);
}

QString clsVoucherCo::whereClause(const QString &keyword) const
{
    const QString where = m_sp ? m_sp->Where : QString();
    if (where.trimmed().isEmpty())
        return {};
    // The condition is wrapped so that an OR inside it cannot escape the clause it is joined to.
    return QLatin1Char(' ') + keyword + QStringLiteral(" (") + where + QLatin1Char(')');
}

Result<QVariant> clsVoucherCo::loadInto(VoucherDocument &doc, const QString &sql, const QVariantList &params)
{
    auto text = m_cnn.QueryXml(sql, params);
    if (!text)
        return fail(text.error());
    const QString id = VoucherDocument::firstRowValue(*text, m_info->IDName().toLower());
    doc = VoucherDocument::fromPersistedText(std::move(*text));
    return id.isNull() ? QVariant() : QVariant(id);
}

Result<void> clsVoucherCo::loadBody(VoucherDocument &doc, const QVariant &headId)
{
    auto text = m_cnn.QueryXml(bodySql(), {headId});
    if (!text)
        return fail(text.error());
    doc = VoucherDocument::fromPersistedText(std::move(*text));
    return {};
}

Result<QVariant> clsVoucherCo::boundId(bool largest)
{
    return m_cnn.Scalar(boundIdSql(largest));
}

QString clsVoucherCo::bodySql() const
{
    return QStringLiteral("SELECT *, '' AS editprop FROM ") + m_info->BWQName() + QStringLiteral(" WHERE ")
           + m_info->IDNameSub() + QStringLiteral(" = ? ORDER BY ") + m_info->SubIDName();
}

QString clsVoucherCo::boundIdSql(bool largest) const
{
    // ORDER BY ... LIMIT 1 rather than MAX/MIN: both backends walk the key index of the head table
    // through the view, where an aggregate over a joined view may read every row.
    const QString id = m_info->IDName();
    return QStringLiteral("SELECT ") + id + QStringLiteral(" FROM ") + m_info->BTQName()
           + whereClause(QStringLiteral("WHERE")) + QStringLiteral(" ORDER BY ") + id
           + (largest ? QStringLiteral(" DESC") : QStringLiteral(" ASC")) + QStringLiteral(" LIMIT 1");
}

QString clsVoucherCo::boundsSql() const
{
    // Whether the voucher belongs to the shown set, and whether the set has vouchers before and
    // after it: probes that stop at the first row found. Without a condition on the shown set they
    // read the head table's key index only; a condition may name the view's columns.
    const QString id = m_info->IDName();
    const QString condition = whereClause(QStringLiteral("AND"));
    const QString source = condition.isEmpty() ? m_info->BTTblName() : m_info->BTQName();
    const auto probe = [&](const QString &comparison, const QString &name) {
        return QStringLiteral("CASE WHEN EXISTS (SELECT 1 FROM ") + source + QStringLiteral(" WHERE ") + id + comparison
               + QStringLiteral(" ?") + condition + QStringLiteral(") THEN 1 ELSE 0 END AS ") + name;
    };
    return QStringLiteral("SELECT ") + probe(QStringLiteral(" ="), QStringLiteral("in_set")) + QStringLiteral(", ")
           + probe(QStringLiteral(" <"), QStringLiteral("has_before")) + QStringLiteral(", ")
           + probe(QStringLiteral(" >"), QStringLiteral("has_after"));
}

QString clsVoucherCo::moveSql(enumVoucherMoveStyle eMoveStyle) const
{
    const QString id = m_info->IDName();
    QString sql = QStringLiteral("SELECT *, '' AS editprop FROM ") + m_info->BTQName();
    switch (eMoveStyle) {
    case evmsMoveFirst:
    case evmsMoveLast:
        sql += whereClause(QStringLiteral("WHERE")) + QStringLiteral(" ORDER BY ") + id
               + (eMoveStyle == evmsMoveFirst ? QStringLiteral(" ASC") : QStringLiteral(" DESC"));
        break;
    case evmsMovePrevious:
    case evmsMoveNext:
        sql += QStringLiteral(" WHERE (") + id + (eMoveStyle == evmsMovePrevious ? QStringLiteral(" < ?)") : QStringLiteral(" > ?)"))
               + whereClause(QStringLiteral("AND")) + QStringLiteral(" ORDER BY ") + id
               + (eMoveStyle == evmsMovePrevious ? QStringLiteral(" DESC") : QStringLiteral(" ASC"));
        break;
    }
    return sql + QStringLiteral(" LIMIT 1");
}

clsVoucherCo::MoveStatements clsVoucherCo::moveStatements(enumVoucherMoveStyle eMoveStyle) const
{
    return {moveSql(eMoveStyle), bodySql(), boundsSql(), headByIdSql()};
}

QString clsVoucherCo::headByIdSql() const
{
    return QStringLiteral("SELECT *, '' AS editprop FROM ") + m_info->BTQName() + QStringLiteral(" WHERE ")
           + m_info->IDName() + QStringLiteral(" = ?");
}

Result<void> clsVoucherCo::updatePosition(const QVariant &currentId)
{
    if (currentId.isNull()) {
        m_sp->CurID = 0;
        m_bof = m_eof = true;
        return {};
    }
    const qlonglong cur = idValue(currentId);
    m_sp->CurID = cur;
    auto bounds = m_cnn.QueryXml(boundsSql(), {cur, cur, cur});
    if (!bounds)
        return fail(bounds.error());
    const auto yes = [&](const QString &probe) { return VoucherDocument::firstRowValue(*bounds, probe) == QLatin1String("1"); };
    // First and last are the smallest and the largest identifier of the set: a voucher opened by
    // its identifier from outside the set is neither.
    const bool inSet = yes(QStringLiteral("in_set"));
    m_bof = inSet && !yes(QStringLiteral("has_before"));
    m_eof = inSet && !yes(QStringLiteral("has_after"));
    if (!isNoVoucher(m_sp->CurID))
        m_sp->PreID = m_sp->CurID;
    return {};
}

void clsVoucherCo::GetVoucherData()
{
    const QString where = QStringLiteral("clsVoucherCo:GetVoucherData");
    auto report = [&](const QString &error) { modPublic::ShowErrMsg(modPublic::DatabaseErrorNumber, error, where); };
    if (!m_cnn.isOpen()) {
        report(QStringLiteral("数据库连接已关闭"));
        return;
    }
    bool noVoucherWanted = false;
    if (idValue(m_sp->ID) == -1) {
        auto newest = boundId(true);
        if (!newest) {
            report(newest.error());
            return;
        }
        if (!newest->isNull())
            m_sp->CurID = *newest;
    } else {
        noVoucherWanted = idValue(m_sp->ID) == 0;
        m_sp->CurID = m_sp->ID;
    }
    if (!isNoVoucher(m_sp->CurID))
        m_sp->PreID = m_sp->CurID;

    const QVariantList key{idValue(m_sp->CurID)};
    VoucherDocument head;
    auto headRs = loadInto(head, headByIdSql(), key);
    if (!headRs) {
        report(headRs.error());
        return;
    }
    VoucherDocument body;
    const bool hasBody = !m_info->BWQName().isEmpty();
    if (hasBody) {
        auto loaded = loadBody(body, key.first());
        if (!loaded) {
            report(loaded.error());
            return;
        }
    }
    m_domHead = std::move(head);
    if (hasBody)
        m_domBody = std::move(body);
    if (!noVoucherWanted) {
        auto moved = updatePosition(*headRs);
        if (!moved)
            report(moved.error());
    }
}

Result<void> clsVoucherCo::Refresh()
{
    if (!m_cnn.isOpen())
        return fail(QStringLiteral("数据库连接已关闭"));
    const QString id = m_info->IDName();
    VoucherDocument head;
    auto headRs = loadInto(head, QStringLiteral("SELECT *, '' AS editprop FROM ") + m_info->BTQName()
                                     + whereClause(QStringLiteral("WHERE")) + QStringLiteral(" ORDER BY ") + id
                                     + QStringLiteral(" DESC LIMIT 1"),
                           {});
    if (!headRs)
        return fail(headRs.error());
    VoucherDocument body;
    if (!m_info->BWQName().isEmpty()) {
        // Without a head the body query still runs, for an empty body that carries the columns.
        const QVariant key = headRs->isNull() ? QVariant(qlonglong(0)) : QVariant(idValue(*headRs));
        auto loaded = loadBody(body, key);
        if (!loaded)
            return loaded;
    }
    auto moved = updatePosition(*headRs);
    if (!moved)
        return moved;
    m_domHead = std::move(head);
    if (!m_info->BWQName().isEmpty())
        m_domBody = std::move(body);
    return {};
}

Result<void> clsVoucherCo::VoucherMove(enumVoucherMoveStyle eMoveStyle)
{
    if (!m_cnn.isOpen())
        return fail(QStringLiteral("数据库连接已关闭"));
    QVariantList params;
    if (eMoveStyle == evmsMovePrevious || eMoveStyle == evmsMoveNext)
        params << idValue(m_sp->CurID);
    VoucherDocument head;
    auto headRs = loadInto(head, moveSql(eMoveStyle), params);
    if (!headRs)
        return fail(headRs.error());
    VoucherDocument body;
    const bool withBody = !m_info->BWQName().isEmpty() && !headRs->isNull();
    if (withBody) {
        auto loaded = loadBody(body, idValue(*headRs));
        if (!loaded)
            return loaded;
    }
    auto moved = updatePosition(*headRs);
    if (!moved)
        return moved;
    m_domHead = std::move(head);
    if (withBody)
        m_domBody = std::move(body);
    return {};
}

bool clsVoucherCo::TimeStampChange()
{
    if (!m_cnn.isOpen() || !m_info)
        return true;
    const VoucherRow head = m_domHead.headRow();
    if (head.isNull())
        return true;
    const auto version = head.attribute(m_info->qvtsName());
    if (!version)
        return true;
    auto found = m_cnn.Scalar(QStringLiteral("SELECT 1 FROM ") + m_info->BTTblName() + QStringLiteral(" WHERE ")
                                  + basVoucher::RowVersionCondition(m_info->IDName(), m_info->qvtsName()),
                              {idValue(head.value(m_info->IDName())), version->trimmed()});
    return !found || found->isNull();
}

VoucherStatementBuilder &clsVoucherCo::statements()
{
    if (!m_statements)
        m_statements = std::make_unique<VoucherStatementBuilder>(m_cnn);
    return *m_statements;
}

QString clsVoucherCo::loadNumberingRule(VoucherNumberService &service, const QString &initFailed,
                                        const QString &loadFailed)
{
    // The service reads the rule on the engine's connection, so inside a save it sees the save's
    // transaction and takes its number there.
    if (!service.Init(m_cnn, CardNumber()))
        return initFailed;
    if (!m_domFormat.loadXML(service.GetFormatXml()))
        return loadFailed;
    return {};
}

QString clsVoucherCo::GetVoucherNOType(QString &strNoType)
{
    VoucherNumberService service;
    const QString failed
        = loadNumberingRule(service, QStringLiteral("初始化单据号码失败！"), QStringLiteral("获得单据前缀格式失败！"));
    if (!failed.isEmpty())
        return failed;
    const VoucherRow rule = m_domFormat.selectSingleNode(QStringLiteral("//单据编号"));
    const bool refetch = rule.boolValue(QStringLiteral("重号自动重取"));
    const bool manual = rule.boolValue(QStringLiteral("允许手工修改"));
    if (!refetch && !manual)
        strNoType = kFullyAutomatic;
    else if (refetch && !manual)
        strNoType = kSemiAutomatic;
    else if (!refetch && manual)
        strNoType = kFullyManual;
    return {};
}

QString clsVoucherCo::GetVoucherNO(QString &strErr, bool bGetRealNo, bool bSynchronization)
{
    Q_UNUSED(bSynchronization)
    strErr.clear();
    VoucherNumberService service;
    strErr = loadNumberingRule(service, QStringLiteral("初始化单据号码失败!"), QStringLiteral("获取单据前缀格式失败!"));
    if (!strErr.isEmpty())
        return {};
    QString mode;
    GetVoucherNOType(mode);
    if (mode == kFullyManual) {
        strErr = QStringLiteral("单据编号重复!");
        return {};
    }
    // Fill the seeds of the parts that take their value from the head; constants (type 5) and a
    // remote number keep theirs.
    for (VoucherRow part : m_domFormat.selectNodes(QStringLiteral("//单据编号/前缀[@对象类型!=5]"))) {
        if (part.value(QStringLiteral("对象名称")) == QStringLiteral("远程号"))
            continue;
        const QString field = part.value(QStringLiteral("源表字段名"));
        QString seed = basVoucher::GetHeadValue(m_domHead, field);
        const bool datePart = part.value(QStringLiteral("对象类型")) == QLatin1String("2")
                              || field.right(4).toLower() == QLatin1String("date");
        if (datePart && seed.contains(QLatin1Char('T')))
            seed = seed.section(QLatin1Char('T'), 0, 0);
        part.setValue(QStringLiteral("种子"), seed);
    }
    auto number = service.GetNumber(m_domFormat.xml(), bGetRealNo);
    if (!number) {
        strErr = number.error();
        return {};
    }
    return *number;
}
