#pragma once

#include <QString>

class CardControl;

// Keeps the cost fields of the card consistent while the user edits: labour and manufacturing
// charges from the hours and rates, the total and the sales cost on the head, and each line's
// material and outsourcing cost and auxiliary quantity. Values are read from the card's texts
// (thousands separators removed, blank = 0) and written back unrounded; the display formats round.
//
// Divisions are guarded where a zero would have no meaning: hours and conversion rates of 0 leave
// the dependent field alone (or give an auxiliary quantity of 0), and a line's divisor (tdqtyd) that
// is blank or 0 is set to 1 before any line formula. A child sample (no voucher number) never gets a
// sales cost.
class CostFieldRecalc
{
public:
    explicit CostFieldRecalc(CardControl &control)
        : m_control(control)
    {}

    // Recalculates after `field` changed (of body row `row` from 1; the head when `row` is 0 and the
    // field is a head field); `all` recalculates every head and line figure.
    void RecalcCostField(const QString &field, int row, bool all);

private:
    void head(const QString &field);
    void line(const QString &field, int row);
    void totals();
    double headValue(const QString &field) const;
    bool headBlank(const QString &field) const;
    void setHead(const QString &field, double value);
    double lineValue(int row, const QString &field) const;
    void setLine(int row, const QString &field, double value);

    CardControl &m_control;
};
