#pragma once

#include "support/FakeBars.h"

#include "card/CardView.h"
#include "platform/VoucherDocument.h"
#include "platform/VoucherRow.h"

// A card view that records what the card logic shows.
class FakeCardView final : public CardView
{
public:
    void showVoucher(const VoucherDocument &head, const VoucherDocument &) override
    {
        const VoucherRow row = head.headRow();
        shownCode = row.isNull() ? QStringLiteral("<none>") : row.value(QStringLiteral("ccode"));
    }
    void setNavigation(bool canGoBack, bool canGoForward) override
    {
        back = canGoBack;
        forward = canGoForward;
    }
    void showError(const QString &text) override { errors << text; }
    void setCard(frmManageSample *c) override { card = c; }
    void setCaption(const QString &c) override { caption = c; }
    void showWindow() override { visible = true; }
    bool isWindowVisible() const override { return visible; }
    void setZOrder(int position) override { zOrders << position; }
    void closeWindow() override
    {
        visible = false;
        closed = true;
    }
    ToolbarControl &toolbar() override { return m_toolbar; }
    CommandBarControl &commandBar() override { return m_bar; }
    int innerWidth() const override { return 800; }
    void setDataSource(std::shared_ptr<CardDataSource> s) override { source = std::move(s); }

    QStringList bars; // what the toolbar style did to the two bars
    QString shownCode;
    bool back = false;
    bool forward = false;
    QStringList errors;
    frmManageSample *card = nullptr;
    QString caption;
    bool visible = false;
    bool closed = false;
    QList<int> zOrders;
    std::shared_ptr<CardDataSource> source;

private:
    FakeToolbar m_toolbar{bars};
    FakeCommandBar m_bar{bars};
};
