#pragma once

#include "host/CardTemplate.h"
#include "platform/Result.h"

#include <QList>
#include <QPair>
#include <QString>

class CardControl;
class Connection;
class DataPermission;
class TemplateComboControl;

// The card's own handling of its templates: which display and print templates the user may
// choose (the "DJMB" data permission), the default one, the views and voucher-exists checks, the
// two template choosers, and the decimal places of amounts and quantities on the card and in the
// print template. Works on the connection and permission service it is given (not owned). The
// checks answer the message the card shows; no database error text reaches the user unexplained.
class CardTemplates
{
public:
    enum Mode : qint16 { Display = 0, Print = 1 };

    CardTemplates(Connection &cnn, DataPermission &permission);

    // The templates of a card in a mode that the user's "DJMB" permission lets through, in
    // identifier order; "没有任何显示模板权限，请检查！" when there are none.
    Result<QList<TemplateChoice>> GetTemplateList(const QString &cardNumber, qint16 mode) const;
    // The template to use: `chosen` when it is listed, else the card's default from `vouchers`
    // (DEF_ID or DEF_ID_PRN), else the first listed one. An empty list gives
    // "没有可以显示的模板，请检查！" ("打印" for print templates).
    Result<int> GetDefaultTemplate(const QString &cardNumber, const QList<TemplateChoice> &list, int chosen,
                                   qint16 mode) const;
    // The head and body view names of the card; "没有可用的表头、表体视图，请检查！" without a row.
    Result<QPair<QString, QString>> GetVoucherViews(const QString &cardNumber) const;
    // "" when the voucher `id` is in `table` ("没有单据，请检查！" for an empty identifier,
    // "不存在该单据，请检查！" when it is not there). Table and column names come from the voucher's
    // meta-information, never from the user; the identifier is bound.
    QString CheckVoucherExists(const QString &table, const QString &keyColumn, const QString &id,
                               const QString &column) const;

    // Fills a chooser with "id name" entries in the list's order and selects `defaultId`.
    static void FillTemplateCombo(TemplateComboControl &combo, const QList<TemplateChoice> &list, int defaultId);
    // The identifier at the start of the print chooser's text; "当前没有可用的打印模板" when it
    // shows none.
    static Result<int> GetPrintTemplateID(const TemplateComboControl &combo);

    // Decimal places from the accounting options (every count 2 when unset) onto the card's head
    // and body fields, and into the card's print template (voucheritems_prn NumPoint, maxlength
    // 17). A failing update is answered; the card keeps its decimals either way.
    Result<void> ApplyDecimals(CardControl &card) const;

private:
    Connection &m_cnn;
    DataPermission &m_permission;
};
