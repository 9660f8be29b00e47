#pragma once

#include "card/CardStructureTree.h"

#include <QTreeWidget>

// The pane beside the card that shows the nested samples of the voucher. Until the structure is
// read into it, a rebuild leaves it empty: nothing is chosen and no structure is a circle.
class StructureTreePane : public QTreeWidget, public CardStructureTree
{
    Q_OBJECT

public:
    explicit StructureTreePane(QWidget *parent = nullptr);

    void rebuild(const QString &voucherId) override;
    bool hasCycle() const override { return false; }
    QString cycleDescription() const override { return {}; }
    bool hasSelection() const override { return currentItem() != nullptr; }
    bool selectionHasChildren() const override;
    void selectParent() override;
    QString selectedTag() const override;
};
