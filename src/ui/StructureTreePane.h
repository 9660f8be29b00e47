#pragma once

#include "card/CardStructureTree.h"

#include <QTreeWidget>

#include <functional>

class Connection;

// The pane beside the card that shows the structure of the voucher on the card (see
// SampleStructureTree): the new item, its components and theirs down to the leaves, expanded and
// collapsed nodes with their own images. Choosing a node - a click, or Enter on the current node -
// reports its tag through nodeChosen; a click on the root moves to the node below it instead.
//
// The structure is read through the connection the source hands out when a rebuild asks for it;
// without one (or when the read fails) the pane shows the root alone.
class StructureTreePane : public QTreeWidget, public CardStructureTree
{
    Q_OBJECT

public:
    explicit StructureTreePane(QWidget *parent = nullptr);

    void setConnectionSource(std::function<Connection *()> source) { m_connection = std::move(source); }

    void rebuild(const QString &voucherId) override;
    bool hasCycle() const override { return m_cycle; }
    QString cycleDescription() const override { return m_cycleText; }
    bool hasSelection() const override { return currentItem() != nullptr; }
    bool selectionHasChildren() const override;
    void selectParent() override;
    QString selectedTag() const override;

    // The node with key `key`, or nullptr.
    QTreeWidgetItem *itemByKey(const QString &key) const;
    static QString keyOf(const QTreeWidgetItem *item);

signals:
    void nodeChosen(const QString &tag);

protected:
    void keyPressEvent(QKeyEvent *event) override;

private:
    void choose(QTreeWidgetItem *item);
    void updateIcon(QTreeWidgetItem *item);

    std::function<Connection *()> m_connection;
    bool m_cycle = false;
    QString m_cycleText;
};
