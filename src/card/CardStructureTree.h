#pragma once

#include <QString>

// The structure tree beside the card, as the card logic sees it: the nested samples of the voucher
// shown. The card rebuilds it after every load and reads the chosen node when an edit begins.
//
// A node's tag is "r" followed by tab-separated fields: version, child sample id, bill-of-materials
// id and body row id.
class CardStructureTree
{
public:
    virtual ~CardStructureTree() = default;

    // Rebuilds the tree for voucher `voucherId` ("" for a new voucher: an empty tree).
    virtual void rebuild(const QString &voucherId) = 0;
    // Whether the last rebuild found a structure that runs in a circle, and its description.
    virtual bool hasCycle() const = 0;
    virtual QString cycleDescription() const = 0;

    virtual bool hasSelection() const = 0;
    virtual bool selectionHasChildren() const = 0;
    // Moves the selection to the parent of the selected node.
    virtual void selectParent() = 0;
    virtual QString selectedTag() const = 0;
};

// The tree of a card that shows none: nothing is ever chosen and no structure is a circle.
class NoStructureTree final : public CardStructureTree
{
public:
    void rebuild(const QString &) override {}
    bool hasCycle() const override { return false; }
    QString cycleDescription() const override { return {}; }
    bool hasSelection() const override { return false; }
    bool selectionHasChildren() const override { return false; }
    void selectParent() override {}
    QString selectedTag() const override { return {}; }
};
