#include "StructureTreePane.h"

StructureTreePane::StructureTreePane(QWidget *parent)
    : QTreeWidget(parent)
{
    setObjectName(QStringLiteral("TreeView1"));
    setHeaderLabel(QStringLiteral("样品结构"));
}

void StructureTreePane::rebuild(const QString &)
{
    clear();
}

bool StructureTreePane::selectionHasChildren() const
{
    return currentItem() && currentItem()->childCount() > 0;
}

void StructureTreePane::selectParent()
{
    if (currentItem() && currentItem()->parent())
        setCurrentItem(currentItem()->parent());
}

QString StructureTreePane::selectedTag() const
{
    return currentItem() ? currentItem()->data(0, Qt::UserRole).toString() : QString();
}
