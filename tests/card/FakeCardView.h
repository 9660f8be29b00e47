#pragma once

#include "FakeCardControl.h"
#include "FakeCardParts.h"

#include "support/FakeBars.h"

#include "card/CardView.h"

// A card view that records what the card logic does to the window and hands out fake controls.
class FakeCardView final : public CardView
{
public:
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
    ToolbarControl &toolbar() override { return bar; }
    CommandBarControl &commandBar() override { return commands; }
    int innerWidth() const override { return 800; }
    void setDataSource(std::shared_ptr<CardDataSource> s) override { source = std::move(s); }
    CardControl &cardControl() override { return control; }
    CardStructureTree &structureTree() override { return tree; }
    TemplateComboControl &showTemplate() override { return showCombo; }
    TemplateComboControl &printTemplate() override { return printCombo; }
    void showStatus(const QString &text) override { statuses << text; }
    void beep() override { ++beeps; }
    void showHelp() override { ++helps; }

    QString shownCode() const { return control.head.value(QStringLiteral("ccode"), QStringLiteral("<none>")); }
    bool enabled(const QString &key) const { return bar.isButtonEnabled(key); }
    bool shown(const QString &key) const { return bar.visible.value(key.toLower(), true); }

    QStringList bars; // what the toolbar style did to the two bars
    FakeToolbar bar{bars};
    FakeCommandBar commands{bars};
    FakeCardControl control;
    FakeStructureTree tree;
    FakeTemplateCombo showCombo;
    FakeTemplateCombo printCombo;
    frmManageSample *card = nullptr;
    QString caption;
    bool visible = false;
    bool closed = false;
    QList<int> zOrders;
    std::shared_ptr<CardDataSource> source;
    int beeps = 0;
    QStringList statuses;
    int helps = 0;
};
