#pragma once

#include <QString>
#include <QVariant>

class Connection;

// The display formats of the list's columns: a fixed set of amount, price, quantity and date
// columns, the price and quantity decimals coming from the account's options (iStrsPriDecDgt,
// iStrsQuanDecDgt; 2 when an option is missing). Other columns show their value as it is.
class ListNumberFormats
{
public:
    struct Format
    {
        int decimals = -1; // a number with that many decimals, grouped by thousands; -1 none
        bool date = false; // a date shown as yyyy-MM-dd
    };

    // Reads the two options; a failed read counts as missing.
    static ListNumberFormats read(Connection &cnn);
    ListNumberFormats(int quantityDecimals = 2, int priceDecimals = 2);

    Format formatOf(const QString &field) const;
    // The pattern text the suite gives such a format: "#,##0", "#,##0.00", "YYYY-MM-DD"; empty for none.
    static QString pattern(const Format &format);
    // A value as the list shows it.
    static QString text(const QVariant &value, const Format &format);

private:
    int m_quantityDecimals;
    int m_priceDecimals;
};
