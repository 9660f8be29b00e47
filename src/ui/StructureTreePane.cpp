#include "StructureTreePane.h"

#include "common/MessageService.h"
#include "platform/Connection.h"
#include "sample/SampleStructureTree.h"

#include <QKeyEvent>
#include <QScopeGuard>
#include <QStyle>

namespace {

constexpr int kTagRole = Qt::UserRole;
constexpr int kKeyRole = Qt::UserRole + 1;

} // namespace

StructureTreePane::StructureTreePane(QWidget *parent)
    : QTreeWidget(parent)
{
    setObjectName(QStringLiteral("TreeView1"));
    setHeaderLabel(QStringLiteral("样品结构"));
    setAccessibleName(QStringLiteral("样品结构"));
    connect(this, &QTreeWidget::itemClicked, this, [this](QTreeWidgetItem *item) { choose(item); });
    connect(this, &QTreeWidget::itemExpanded, this, &StructureTreePane::updateIcon);
    connect(this, &QTreeWidget::itemCollapsed, this, &StructureTreePane::updateIcon);
}

void StructureTreePane::rebuild(const QString &voucherId)
{
    clear();
    m_cycle = false;
    m_cycleText.clear();
    Connection *cnn = m_connection ? m_connection() : nullptr;
    if (!cnn || !cnn->isOpen())
        return;
    SampleStructureTree tree(*cnn);
    if (!tree.build(voucherId))
        return;
    m_cycle = tree.hasCycle();
    m_cycleText = tree.cycleDescription();
    const auto tellLoops = qScopeGuard([this] {
        // A loop in the stored structure is told as soon as the tree shows it.
        if (!m_cycleText.isEmpty())
            MessageService::current().show(m_cycleText, QStringLiteral("销售管理"), MessageService::Information);
    });

    const auto &nodes = tree.nodes();
    QList<QTreeWidgetItem *> items;
    items.reserve(nodes.size());
    for (const SampleStructureTree::Node &node : nodes) {
        auto *item = node.parent < 0 ? new QTreeWidgetItem(this) : new QTreeWidgetItem(items[node.parent]);
        item->setText(0, node.text);
        item->setData(0, kTagRole, node.tag);
        item->setData(0, kKeyRole, node.key);
        items.append(item);
    }
    for (QTreeWidgetItem *item : std::as_const(items))
        updateIcon(item);
    if (items.isEmpty())
        return;
    items.first()->setExpanded(true);
    if (QTreeWidgetItem *top = items.first()->child(0)) {
        top->setExpanded(true);
        setCurrentItem(top);
    }
}

void StructureTreePane::updateIcon(QTreeWidgetItem *item)
{
    const QStyle::StandardPixmap pixmap = item->childCount() == 0 ? QStyle::SP_FileIcon
                                          : item->isExpanded()    ? QStyle::SP_DirOpenIcon
                                                                  : QStyle::SP_DirClosedIcon;
    item->setIcon(0, style()->standardIcon(pixmap));
}

void StructureTreePane::choose(QTreeWidgetItem *item)
{
    if (!item)
        return;
    if (!item->parent()) {
        if (QTreeWidgetItem *below = item->child(0))
            setCurrentItem(below);
        return;
    }
    emit nodeChosen(item->data(0, kTagRole).toString());
}

void StructureTreePane::keyPressEvent(QKeyEvent *event)
{
    if (event->key() == Qt::Key_Return || event->key() == Qt::Key_Enter) {
        choose(currentItem());
        event->accept();
        return;
    }
    QTreeWidget::keyPressEvent(event);
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
    return currentItem() ? currentItem()->data(0, kTagRole).toString() : QString();
}

QString StructureTreePane::keyOf(const QTreeWidgetItem *item)
{
    return item ? item->data(0, kKeyRole).toString() : QString();
}

QTreeWidgetItem *StructureTreePane::itemByKey(const QString &key) const
{
    for (QTreeWidgetItemIterator it(const_cast<StructureTreePane *>(this)); *it; ++it) {
        if (keyOf(*it) == key)
            return *it;
    }
    return nullptr;
}
