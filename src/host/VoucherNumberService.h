#pragma once

#include "platform/Result.h"

#include <QString>

#include <memory>

class Connection;

// The numbering service of the suite: hands out the numbering rule of a voucher type and composes
// voucher numbers from it.
//
// A rule is an XML text kept per card number in VoucherNumberRule:
//
//   <单据编号 重号自动重取="false" 允许手工修改="false" 流水号长度="4" 起始值="1">
//     <前缀 对象类型="5" 对象名称="常量" 源表字段名="" 种子="YP"/>
//     <前缀 对象类型="2" 对象名称="单据日期" 源表字段名="ddate" 格式="yyyyMM" 种子=""/>
//   </单据编号>
//
// The caller fills each part's 种子 (seed) from the voucher; the number is the parts in their order
// (a date part, 对象类型 2, is its seed formatted with 格式, default yyyyMMdd; every other part is
// its seed as it stands), followed by the serial, zero-padded to 流水号长度 digits (default 4).
// Serials count per card and composed prefix in VoucherNumberSeed, from 起始值 (default 1):
// YP2026120001, YP2026120002, ..., YP2027010001.
//
// Taking a number for good raises the counter with one UPDATE on the service's connection: inside
// the caller's transaction the counter row stays locked until commit, and a roll-back gives the
// number back. Without a transaction the number is taken at once. A number that is not taken (a
// preview) reads the counter and changes nothing, so two previews may show the same number; the
// save's guarded insert and retry settle that.
//
// Created anew for each use; not for use from two threads at once.
class VoucherNumberService
{
public:
    VoucherNumberService();
    ~VoucherNumberService();
    VoucherNumberService(const VoucherNumberService &) = delete;
    VoucherNumberService &operator=(const VoucherNumberService &) = delete;

    // Set-up for one card on a connection the caller keeps open (and may hold a transaction on).
    // False when the card has no rule or the rule cannot be read; lastError() says why.
    bool Init(Connection &cnn, const QString &cardNumber);
    // The same on a connection of the service's own, opened from the connection string.
    bool Init(const QString &connectionString, const QString &cardNumber);

    // The card's rule as stored; "" before a successful Init.
    QString GetFormatXml() const { return m_ruleXml; }

    // The number the filled rule gives; takeForGood raises the counter, otherwise the counter is
    // only read. Fails on a rule that does not parse, a date part whose seed is no date, or a
    // database error.
    Result<QString> GetNumber(const QString &filledRuleXml, bool takeForGood);

    QString lastError() const { return m_error; }

    // Stores the rule of a card, replacing the one it had.
    static Result<void> SetRule(Connection &cnn, const QString &cardNumber, const QString &ruleXml);

private:
    Result<int> nextSerial(const QString &prefix, int start, bool take);

    std::unique_ptr<Connection> m_own;
    Connection *m_cnn = nullptr;
    QString m_card;
    QString m_ruleXml;
    QString m_error;
};
