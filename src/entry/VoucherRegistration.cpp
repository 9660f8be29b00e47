#include "VoucherRegistration.h"

#include "platform/Connection.h"

Result<std::optional<VoucherRegistration>> VoucherRegistration::read(Connection &cnn, const QString &cardNumber)
{
    auto rs = cnn.Query(QStringLiteral("SELECT COALESCE(name, '') AS name, COALESCE(bttblname, '') AS bttblname, "
                                       "COALESCE(bwtblname, '') AS bwtblname, COALESCE(btqname, '') AS btqname, "
                                       "COALESCE(bwqname, '') AS bwqname, COALESCE(vchlistqname, '') AS vchlistqname, "
                                       "COALESCE(selfdef1, '') AS selfdef1, COALESCE(selfdef2, '') AS selfdef2, "
                                       "COALESCE(selfdef3, '') AS selfdef3, COALESCE(def_id, 0) AS def_id, "
                                       "COALESCE(def_id_prn, 0) AS def_id_prn "
                                       "FROM vouchers WHERE cardnumber = ? LIMIT 1"),
                        {cardNumber});
    if (!rs)
        return fail(rs.error());
    if (rs->isEmpty())
        return std::optional<VoucherRegistration>();

    VoucherRegistration r;
    r.name = rs->text(QStringLiteral("name"));
    r.btTblName = rs->text(QStringLiteral("bttblname"));
    r.bwTblName = rs->text(QStringLiteral("bwtblname"));
    r.btQName = rs->text(QStringLiteral("btqname"));
    r.bwQName = rs->text(QStringLiteral("bwqname"));
    r.vchListQName = rs->text(QStringLiteral("vchlistqname"));
    r.selfDef1 = rs->text(QStringLiteral("selfdef1"));
    r.selfDef2 = rs->text(QStringLiteral("selfdef2"));
    r.selfDef3 = rs->text(QStringLiteral("selfdef3"));
    r.defId = rs->value(QStringLiteral("def_id")).toInt();
    r.defIdPrn = rs->value(QStringLiteral("def_id_prn")).toInt();
    return std::optional<VoucherRegistration>(std::move(r));
}
