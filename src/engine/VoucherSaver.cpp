#include "VoucherSaver.h"

#include "SaveReferenceCheck.h"
#include "SaveValueCheck.h"
#include "basVoucher.h"
#include "clsVoucherCo.h"

#include "common/basFunction.h"
#include "entry/clsVoucherGetInfo.h"
#include "platform/BulkInsert.h"
#include "platform/Connection.h"
#include "platform/VoucherDocument.h"

namespace {

const QString kLineBreak = QStringLiteral("\r\n");
const QString kSaveFailed = QStringLiteral("保存失败,");
const QString kChangedElsewhere = QStringLiteral("保存失败，可能该单据已被其它用户修改或删除!");
const QString kNumberTaken = QStringLiteral("保存失败,可能因为单号或ID重复,请重新保存或查看并修改当前流水号!");
const QString kFullyManual = QStringLiteral("完全手工编号");
const QString kAllRows = QStringLiteral("//z:row");
constexpr int kMaxRetries = 5;

// Rolls the save's transaction back unless it was committed, however the save ends (an early
// return, an exception out of a callback).
class OpenTransaction
{
public:
    explicit OpenTransaction(Connection &cnn)
        : m_cnn(cnn)
    {}
    ~OpenTransaction()
    {
        if (m_cnn.inTransaction())
            m_cnn.RollbackTrans();
    }
    OpenTransaction(const OpenTransaction &) = delete;
    OpenTransaction &operator=(const OpenTransaction &) = delete;

private:
    Connection &m_cnn;
};

// The numeric value of a maximum: the leading number of its text, 0 when there is none.
double numericValue(const QVariant &v)
{
    return basFunction::TextToNumber(v.toString());
}

VoucherBusiness &passThrough()
{
    static VoucherBusiness business; // stateless: every callback passes
    return business;
}

} // namespace

VoucherSaver::VoucherSaver(clsVoucherCo &engine)
    : m_engine(engine)
    , m_cnn(engine.connection())
    , m_statements(engine.statements())
    , m_info(engine.oGI())
    , m_business(engine.objVoucher())
    , m_head(engine.domHead())
    , m_body(engine.domBody())
{}

QString VoucherSaver::changedElsewhere()
{
    return kChangedElsewhere + kLineBreak;
}

VoucherBusiness &VoucherSaver::business() const
{
    return m_business ? *m_business : passThrough();
}

QString VoucherSaver::save(int iState, QVariant &varReturnID, qint32 &POvoucherID, QString &POvoucherTS)
{
    business().BodyDeleteEmptyRow(m_body);
    QString msg = business().HeadSaveCheck(m_head);
    msg += business().BodySaveCheck(m_body);
    if (!msg.isEmpty())
        return msg;
    business().DomSetDefault(m_head, m_body);

    auto refused = checkValues(iState);
    if (!refused)
        return refused.error();
    if (!refused->isEmpty())
        return *refused;

    auto written = write(iState, POvoucherID, POvoucherTS);
    if (!written)
        return written.error();
    varReturnID = m_headId;
    return {};
}

// The engine's own checks of what is about to be written, whatever the window let through: a typed
// voucher number loses its surrounding blanks; every value must fit its column and every reference
// must name master data the user may use. "" when the save may go on, else the messages.
Result<QString> VoucherSaver::checkValues(int iState)
{
    if (iState == 1 || iState == 2) {
        const QString codeField = m_info->cCodeName().toLower();
        VoucherRow head = m_head.headRow();
        if (const auto code = head.attribute(codeField); code && *code != code->trimmed())
            head.setValue(codeField, code->trimmed());
    }
    auto headTable = m_statements.structure(m_info->BTTblName());
    if (!headTable)
        return fail(headTable.error());
    auto bodyTable = m_statements.structure(m_info->BWTblName());
    if (!bodyTable)
        return fail(bodyTable.error());

    const SavedRows rows = SavedRows::of(iState, m_head, m_body);
    const SaveFieldCaptions captions
        = SaveFieldCaptions::read(m_cnn, basVoucher::GetHeadValue(m_head, m_info->iVTIDName()));
    const QSet<QString> engineKeys{m_info->IDName().toLower(), m_info->IDNameSub().toLower(),
                                   m_info->SubIDName().toLower()};
    QString msg = SaveValueCheck(captions, engineKeys).check(rows, **headTable, **bodyTable);
    auto references
        = SaveReferenceCheck(m_cnn, m_engine.dataPermission(), captions).check(rows, **headTable, **bodyTable);
    if (!references)
        return fail(references.error());
    return msg + *references;
}

Result<void> VoucherSaver::write(int iState, qint32 &POvoucherID, QString &POvoucherTS)
{
    auto begun = m_engine.BeginWriteTrans();
    if (!begun)
        return begun;
    OpenTransaction transaction(m_cnn);
    for (;;) {
        auto keys = assignKeys(iState);
        if (!keys)
            return keys;
        auto head = writeHeads(iState, POvoucherID, POvoucherTS);
        if (!head)
            return fail(head.error());
        if (*head == HeadWrite::Written)
            break;
        auto renumbered = renumber();
        if (!renumbered)
            return renumbered;
    }
    auto body = writeBody();
    if (!body)
        return body;
    auto checked = checkBody();
    if (!checked)
        return checked;
    takeNumber(iState, POvoucherID);
    return m_cnn.CommitTrans();
}

Result<void> VoucherSaver::assignKeys(int iState)
{
    if (iState == 2) {
        if (m_info->IDName().compare(m_info->cCodeName(), Qt::CaseInsensitive) == 0) {
            m_headId = basVoucher::GetHeadValue(m_head, m_info->cCodeName());
        } else {
            auto max = m_statements.GetMaxValue(m_info->BTTblName(), m_info->IDName());
            if (!max)
                return fail(max.error());
            m_headId = numericValue(*max) + 1;
        }
    } else if (iState != 1) {
        // Only the body is written: its new lines belong to the head the document names.
        m_headId = basVoucher::GetHeadValue(m_head, m_info->IDName());
    }
    auto maxLine = m_statements.GetMaxValue(m_info->BWTblName(), m_info->SubIDName());
    if (!maxLine)
        return fail(maxLine.error());
    m_nextLineKey = qint32(numericValue(*maxLine)) + 1;
    return {};
}

Result<VoucherSaver::HeadWrite> VoucherSaver::writeHeads(int iState, qint32 &POvoucherID, QString &POvoucherTS)
{
    if (iState != 1 && iState != 2)
        return HeadWrite::Written;
    const QString idAttribute = m_info->IDName().toLower();
    for (VoucherRow row : m_head.selectNodes(kAllRows)) {
        Result<VoucherStatement> statement = fail(QString());
        if (iState == 2) {
            row.setValue(idAttribute, VoucherDocument::valueText(m_headId));
            statement = m_statements.BuildInsertSql(row, m_info->BTTblName(), m_info->cCodeName(), true);
        } else {
            m_headId = row.value(idAttribute);
            statement = m_statements.SaveByUpdate(row, m_info->BTTblName(), m_info->IDName(), m_info->qvtsName(),
                                                  m_info->cCodeName(), true);
        }
        if (!statement)
            return fail(statement.error());
        auto affected = runHeadStatement(*statement);
        if (!affected)
            return fail(affected.error());
        QString why;
        if (!business().HeadSaveCheck2(m_cnn, row, POvoucherID, POvoucherTS, why))
            return fail(kSaveFailed + why + kLineBreak);
        const QString unlinked = business().SaveOther(m_cnn, row, POvoucherID);
        if (!unlinked.isEmpty())
            return fail(kSaveFailed + unlinked + kLineBreak);
        if (*affected == -1)
            return HeadWrite::NumberTaken;
        if (iState == 1 && *affected == 0)
            return fail(kChangedElsewhere + kLineBreak);
    }
    return HeadWrite::Written;
}

// -1 when the voucher's number (or key) is held by another row, else the rows written.
Result<qint64> VoucherSaver::runHeadStatement(const VoucherStatement &statement)
{
    if (!statement.guardSql.isEmpty()) {
        auto held = m_cnn.Scalar(statement.guardSql, statement.guardParams);
        if (!held)
            return fail(held.error());
        if (!held->isNull())
            return qint64(-1);
    }
    // A writer outside this program may take the number after the guard looked; the unique index
    // refuses the row then, and that is a clash like the guard's.
    bool duplicate = false;
    auto written = inSavepoint([&] { return m_cnn.Execute(statement.sql, statement.params); }, &duplicate);
    if (!written && duplicate)
        return qint64(-1);
    return written;
}

// Runs a step inside a savepoint. A failed step is taken back to the savepoint, so the transaction
// can go on: PostgreSQL refuses every statement after a failed one until then. duplicate, when
// given, tells whether the database refused the step for a duplicate key.
Result<qint64> VoucherSaver::inSavepoint(const std::function<Result<qint64>()> &step, bool *duplicate)
{
    const QString name = QStringLiteral("voucher_save_step");
    auto marked = m_cnn.Execute(QStringLiteral("SAVEPOINT ") + name, QVariantList());
    if (!marked)
        return marked;
    auto done = step();
    if (duplicate)
        *duplicate = !done && m_cnn.lastErrorIsUniqueViolation();
    auto ended
        = m_cnn.Execute((done ? QStringLiteral("RELEASE SAVEPOINT ") : QStringLiteral("ROLLBACK TO SAVEPOINT ")) + name,
                        QVariantList());
    if (!ended)
        return ended;
    return done;
}

// The voucher's number is taken: under fully manual numbering the user must change it; otherwise a
// new number is taken for good (inside this transaction) and the head is written again.
Result<void> VoucherSaver::renumber()
{
    QString mode;
    m_engine.GetVoucherNOType(mode);
    if (mode == kFullyManual)
        return fail(kNumberTaken + kLineBreak);
    QString why;
    const QString number = m_engine.GetVoucherNO(why, true, false);
    if (number.isEmpty())
        return fail(why.isEmpty() ? kNumberTaken + kLineBreak : why);
    basVoucher::SetHeadValue(m_head, m_info->cCodeName().toLower(), number);
    if (++m_retries > kMaxRetries)
        return fail(kNumberTaken + kLineBreak);
    return {};
}

Result<void> VoucherSaver::writeBody()
{
    const QString table = m_info->BWTblName();
    const QString lineKey = m_info->SubIDName();
    const QString headId = VoucherDocument::valueText(m_headId);
    QList<VoucherStatement> statements;
    for (VoucherRow row : m_body.selectNodes(kAllRows)) {
        const QString mark = row.value(QStringLiteral("editprop")).toUpper();
        Result<VoucherStatement> statement = fail(QString());
        if (mark == QLatin1String("M")) {
            statement = m_statements.SaveByUpdate(row, table, lineKey, QString(), QString(), false);
        } else if (mark == QLatin1String("D")) {
            statement = m_statements.BuildDeleteSql(row, table, lineKey);
        } else if (mark == QLatin1String("A")) {
            row.setValue(m_info->IDNameSub().toLower(), headId);
            row.setValue(lineKey.toLower(), QString::number(m_nextLineKey++));
            // Not guarded: the key is new under the writer lock, and the primary key refuses a
            // duplicate (failing the save) where a guard would drop the line without a word.
            statement = m_statements.BuildInsertRow(row, table);
        } else {
            continue;
        }
        if (!statement)
            return fail(statement.error());
        statements << *statement;
        if (mark == QLatin1String("D")) {
            const QString kept = business().DelOther(m_cnn, row);
            if (!kept.isEmpty())
                return fail(kSaveFailed + kept + kLineBreak);
        }
    }
    if (statements.isEmpty())
        return {};
    auto affected = runBody(statements);
    if (!affected)
        return fail(affected.error());
    if (*affected == 0)
        return fail(kChangedElsewhere + kLineBreak);
    return {};
}

// Runs the body statements in document order. New lines that write the same columns go out as
// multi-row inserts, so a voucher of thousands of lines takes a few dozen statements.
Result<qint64> VoucherSaver::runBody(const QList<VoucherStatement> &statements)
{
    qint64 total = 0;
    std::unique_ptr<BulkInsert> lines;
    const VoucherStatement *group = nullptr;
    auto flush = [&]() -> Result<void> {
        if (!lines)
            return {};
        auto done = lines->finish();
        total += lines->rowsWritten();
        lines.reset();
        return done;
    };
    for (const VoucherStatement &statement : statements) {
        if (statement.isInsert()) {
            if (!group || group->table != statement.table || group->columns != statement.columns) {
                auto flushed = flush();
                if (!flushed)
                    return fail(flushed.error());
                lines = std::make_unique<BulkInsert>(m_cnn, statement.table, statement.columns);
                group = &statement;
            }
            auto added = lines->add(statement.params);
            if (!added)
                return fail(added.error());
            continue;
        }
        auto flushed = flush();
        if (!flushed)
            return fail(flushed.error());
        group = nullptr;
        auto affected = m_cnn.Execute(statement.sql, statement.params);
        if (!affected)
            return affected;
        total += *affected;
    }
    auto flushed = flush();
    if (!flushed)
        return fail(flushed.error());
    return total;
}

Result<void> VoucherSaver::checkBody()
{
    for (const VoucherRow &row : m_head.selectNodes(kAllRows)) {
        QString why;
        if (!business().BodySaveCheck2(m_cnn, row, why))
            return fail(kSaveFailed + why + kLineBreak);
    }
    return {};
}

// A new top-level voucher takes its number for good; a child voucher (saved for another voucher,
// POvoucherID) has none to take. After a clash the fetched number is taken already; asking again
// would only preview, so nothing is asked. A failure here is not the save's: the voucher stands, and
// the savepoint keeps a failed statement from spoiling the transaction.
void VoucherSaver::takeNumber(int iState, qint32 POvoucherID)
{
    if (iState != 2 || m_retries != 0)
        return;
    if (POvoucherID >= 1 && double(POvoucherID) != m_headId.toDouble())
        return;
    inSavepoint([&]() -> Result<qint64> {
        QString why;
        m_engine.GetVoucherNO(why, true, false);
        if (!why.isEmpty())
            return fail(why);
        return qint64(1);
    });
}
